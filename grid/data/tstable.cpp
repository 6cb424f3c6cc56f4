#include "tstable.h"

bool TsTable::Init(uint32_t maxCount, uint32_t recordBytes)
{
    if (maxCount > 0xFFFF)
        maxCount = 0xFFFF;
    max_ = maxCount;
    recordBytes_ = recordBytes;
    return index_.Create(maxCount * sizeof(TsRecordHead*), this) && pool_.Create(maxCount * recordBytes, this);
}

uint32_t TsTable::Map(uint32_t value)
{
    if (value < TS_ID_BASE)
        return value;
    QfLockGuard guard(lock_);
    uint32_t number = value - TS_ID_BASE;
    if (number < HighWater()) {
        TsRecordHead* record = Record(number);
        if (record->position != TS_RECORD_FREE) {
            if (valid_ < count_)
                Refresh();
            return record->position;
        }
    }
    return value & ~0x8000u;
}

void TsTable::Refresh()
{
    TsRecordHead** entries = Entries();
    for (uint32_t i = valid_; i < count_; ++i)
        entries[i]->position = i;
    valid_ = count_;
}

TsRecordHead* TsTable::Take(bool* fresh)
{
    uint32_t high = HighWater();
    if (high < max_ && pool_.Resize((high + 1) * recordBytes_)) {
        *fresh = true;
        TsRecordHead* record = Record(high);
        record->link = TS_RECORD_FREE;
        return record;
    }
    if (freeHead_ == TS_RECORD_FREE)
        return nullptr;
    TsRecordHead* record = Record(freeHead_);
    freeHead_ = record->link;
    if (freeHead_ == TS_RECORD_FREE)
        freeTail_ = TS_RECORD_FREE;
    record->link = TS_RECORD_FREE;
    *fresh = false;
    return record;
}

void TsTable::Untake(TsRecordHead* record, bool fresh)
{
    if (fresh)
        pool_.Resize(Number(record) * recordBytes_);
    else
        Free(record);
}

void TsTable::Free(TsRecordHead* record)
{
    uint32_t number = Number(record);
    record->position = TS_RECORD_FREE;
    record->link = TS_RECORD_FREE;
    if (freeTail_ == TS_RECORD_FREE)
        freeHead_ = number;
    else
        Record(freeTail_)->link = number;
    freeTail_ = number;
}
