// A row or column table: the index table (position i holds the record of
// row or column i) over a record pool with a free list. Capacities are fixed
// at creation. Identifiers are 32768 + the record number; positions are
// refreshed lazily when an identifier has to be mapped.
#ifndef ZUB_GRID_DATA_TSTABLE_H
#define ZUB_GRID_DATA_TSTABLE_H

#include <stdint.h>

#include "qflock.h"
#include "tsblockarray.h"
#include "tsrecords.h"

class TsTable {
public:
    TsTable() = default;
    TsTable(const TsTable&) = delete;
    TsTable& operator=(const TsTable&) = delete;

    // Reserves the index table and the pool. maxCount is at most 65535.
    bool Init(uint32_t maxCount, uint32_t recordBytes);

    uint32_t Count() const { return count_; }
    uint32_t Max() const { return max_; }
    // Records ever taken from the pool: record numbers run below this.
    uint32_t HighWater() const { return pool_.Used() / recordBytes_; }

    TsRecordHead* At(uint32_t position) const { return Entries()[position]; }
    TsRecordHead* Record(uint32_t number) const
    {
        return reinterpret_cast<TsRecordHead*>(const_cast<uint8_t*>(pool_.Data()) + number * recordBytes_);
    }
    uint32_t Number(const TsRecordHead* record) const
    {
        return static_cast<uint32_t>((reinterpret_cast<const uint8_t*>(record) - pool_.Data()) / recordBytes_);
    }
    uint32_t IdAt(uint32_t position) const { return TS_ID_BASE + Number(At(position)); }

    // The position of an index (below 32768, returned as it is) or of an
    // identifier; an identifier of no live record gives itself with bit 15
    // cleared.
    uint32_t Map(uint32_t value);

    // Takes up to count records (fresh pool records first, then the oldest
    // freed ones) and places them at position (clamped to the count).
    // prepare(record, fresh) readies each; fresh is true for a record
    // number never used before; returning false stops the insertion there.
    // Returns the number inserted.
    template <class F>
    uint32_t Insert(uint32_t position, uint32_t count, F prepare);

    // Removes count records from position; release(record) runs for each
    // before it returns to the free list.
    template <class F>
    void Remove(uint32_t position, uint32_t count, F release);

    // The raw index table, for reordering; call PositionsChanged after.
    TsRecordHead** Entries() const { return reinterpret_cast<TsRecordHead**>(const_cast<uint8_t*>(index_.Data())); }
    void PositionsChanged(uint32_t from)
    {
        if (from < valid_)
            valid_ = from;
    }

    // Sort state of the other dimension: 1 unsorted (the row-moving
    // messages act only then), and the number of sort keys.
    uint32_t sortState = 1;
    uint32_t sortKeys = 0;
    QfRecursiveLock& Lock() { return lock_; }

private:
    TsRecordHead* Take(bool* fresh);
    // Gives back a record that could not be readied: a fresh one to the
    // pool's unused end, so that record numbers below the high-water mark
    // always had their storage prepared once.
    void Untake(TsRecordHead* record, bool fresh);
    void Free(TsRecordHead* record);
    void Refresh();

    TsBlockArray index_;
    TsBlockArray pool_;
    uint32_t recordBytes_ = 0;
    uint32_t max_ = 0;
    uint32_t count_ = 0;
    uint32_t valid_ = 0;  // positions below this are current
    uint32_t freeHead_ = TS_RECORD_FREE;
    uint32_t freeTail_ = TS_RECORD_FREE;
    QfRecursiveLock lock_;
};

template <class F>
uint32_t TsTable::Insert(uint32_t position, uint32_t count, F prepare)
{
    QfLockGuard guard(lock_);
    if (position > count_)
        position = count_;
    if (count > max_ - count_)
        count = max_ - count_;
    if (count == 0 || !index_.Resize((count_ + count) * sizeof(TsRecordHead*)))
        return 0;
    TsRecordHead** entries = Entries();
    // Open the gap first; records fill it in order.
    for (uint32_t i = count_; i-- > position;)
        entries[i + count] = entries[i];
    uint32_t made = 0;
    while (made < count) {
        bool fresh = false;
        TsRecordHead* record = Take(&fresh);
        if (!record)
            break;
        if (!prepare(record, fresh)) {
            Untake(record, fresh);
            break;
        }
        record->position = position + made;
        entries[position + made] = record;
        ++made;
    }
    if (made < count) {
        for (uint32_t i = position; i < count_; ++i)
            entries[i + made] = entries[i + count];
        index_.Resize((count_ + made) * sizeof(TsRecordHead*));
    }
    bool appended = position == count_ && valid_ == count_;
    count_ += made;
    valid_ = appended ? count_ : (valid_ < position ? valid_ : position);
    return made;
}

template <class F>
void TsTable::Remove(uint32_t position, uint32_t count, F release)
{
    QfLockGuard guard(lock_);
    if (position >= count_)
        return;
    if (count > count_ - position)
        count = count_ - position;
    TsRecordHead** entries = Entries();
    for (uint32_t i = position; i < position + count; ++i) {
        release(entries[i]);
        Free(entries[i]);
    }
    for (uint32_t i = position + count; i < count_; ++i)
        entries[i - count] = entries[i];
    count_ -= count;
    index_.Resize(count_ * sizeof(TsRecordHead*));
    if (valid_ > position)
        valid_ = position;
}

#endif
