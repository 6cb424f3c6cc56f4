#include "tsblockarray.h"

#include <string.h>

#include "tshost.h"

uint32_t TsBlockArray::PagesFor(uint32_t bytes)
{
    return (bytes + TS_PAGE - 1) / TS_PAGE * TS_PAGE;
}

bool TsBlockArray::Create(uint32_t capacity, void* owner)
{
    Destroy();
    if (capacity > 0x7FFFFFFFu - TS_BLOCK_HEADER - TS_PAGE)
        return false;
    TsMemory* memory = TsGetHost()->memory;
    uint32_t total = capacity + TS_BLOCK_HEADER;
    void* block = memory->Reserve(total);
    if (!block)
        return false;
    buffer_ = static_cast<uint8_t*>(block);
    capacity_ = capacity;
    used_ = 0;
    if (IsLarge()) {
        committed_ = 0;
        if (!memory->Commit(buffer_, TS_PAGE)) {
            memory->Release(buffer_, total);
            buffer_ = nullptr;
            capacity_ = 0;
            return false;
        }
        committed_ = TS_PAGE;
    } else {
        committed_ = total;
    }
    memset(buffer_, 0, TS_BLOCK_HEADER);
    static_assert(sizeof owner <= TS_BLOCK_HEADER, "the owner fits the header");
    memcpy(buffer_, &owner, sizeof owner);
    return true;
}

void TsBlockArray::Destroy()
{
    if (!buffer_)
        return;
    TsMemory* memory = TsGetHost()->memory;
    if (IsLarge() && committed_)
        memory->Decommit(buffer_, committed_);
    memory->Release(buffer_, capacity_ + TS_BLOCK_HEADER);
    buffer_ = nullptr;
    capacity_ = used_ = committed_ = 0;
}

bool TsBlockArray::Resize(uint32_t used)
{
    if (!buffer_ || used > capacity_)
        return false;
    if (IsLarge()) {
        TsMemory* memory = TsGetHost()->memory;
        uint32_t need = PagesFor(used + TS_BLOCK_HEADER);
        if (need > committed_) {
            if (!memory->Commit(buffer_ + committed_, need - committed_))
                return false;
        } else if (need < committed_) {
            memory->Decommit(buffer_ + need, committed_ - need);
        }
        committed_ = need;
    }
    used_ = used;
    return true;
}
