// Block arrays: the storage of value lists and of the grid's row, column and
// cell tables. The capacity is fixed at creation and reserved at once; the
// used size grows and shrinks within it. A buffer of 8192 bytes or more
// (capacity 8176 and up, with the 16-byte header) has its pages committed and
// decommitted as the used size changes.
#ifndef ZUB_GRID_VALUES_TSBLOCKARRAY_H
#define ZUB_GRID_VALUES_TSBLOCKARRAY_H

#include <stdint.h>

enum : uint32_t { TS_BLOCK_HEADER = 16 };

class TsBlockArray {
public:
    TsBlockArray() = default;
    ~TsBlockArray() { Destroy(); }
    TsBlockArray(const TsBlockArray&) = delete;
    TsBlockArray& operator=(const TsBlockArray&) = delete;

    // Reserves capacity bytes plus the header, whose first word refers back
    // to owner. False when no memory could be reserved.
    bool Create(uint32_t capacity, void* owner);
    void Destroy();
    // False (and nothing changed) beyond the capacity or when pages cannot
    // be committed.
    bool Resize(uint32_t used);

    bool IsLarge() const { return capacity_ + TS_BLOCK_HEADER >= 8192; }
    uint32_t Capacity() const { return capacity_; }
    uint32_t Used() const { return used_; }
    uint32_t Committed() const { return committed_; }
    uint8_t* Data() { return buffer_ + TS_BLOCK_HEADER; }
    const uint8_t* Data() const { return buffer_ + TS_BLOCK_HEADER; }
    bool Exists() const { return buffer_ != nullptr; }

private:
    static uint32_t PagesFor(uint32_t bytes);

    uint32_t capacity_ = 0;
    uint32_t used_ = 0;
    uint32_t committed_ = 0;  // bytes of the buffer that may be touched
    uint8_t* buffer_ = nullptr;
};

#endif
