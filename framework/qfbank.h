// Per-thread storage banks: the first-fit allocator over 64 units of 16
// bytes, bank handles, and the store of per-thread blocks (four built in,
// then a free list that is refilled from an allocator).
#ifndef ZUB_FRAMEWORK_QFBANK_H
#define ZUB_FRAMEWORK_QFBANK_H

#include <stddef.h>
#include <stdint.h>

#include "qf.h"
#include "qflock.h"

enum : uint32_t { QF_BANK_UNITS = 64, QF_BANK_UNIT_BYTES = 16, QF_BANK_BYTES = 1024 };

// A handle is the size in units in the upper 16 bits and the offset (unit
// index times 4) in the lower 16 bits.
inline uint32_t QfBankUnits(uint32_t handle) { return handle >> 16; }
inline uint32_t QfBankFirstUnit(uint32_t handle) { return (handle & 0xFFFF) / 4; }

class QfBankTable {
public:
    // ceil(size / 16) units (at least one), first fit from unit 0; the
    // handle, or QF_BANK_FAILED when no run of free units is long enough.
    uint32_t Alloc(uint32_t size, QfBankCleanup cleanup);
    // Runs the clean-up callbacks of every bank in the thread's bank space.
    void RunCleanups(uint8_t* bankSpace) const;
    uint64_t UsedMap() const { return used_; }
    // The address of a bank within a thread's bank space, or null for a
    // handle that does not lie inside it.
    static void* Address(uint8_t* bankSpace, uint32_t handle);

private:
    mutable QfRecursiveLock lock_;
    uint64_t used_ = 0;
    QfBankCleanup cleanup_[QF_BANK_UNITS] = {};
};

struct QfThreadBlock {
    uint32_t inUse;
    QfThreadBlock* next;
    QfThreadBlock* prev;
    uint8_t bank[QF_BANK_BYTES];
};

// Gives each thread its block. Allocation beyond the four built-in blocks
// goes through the given functions; null from them means exhausted.
class QfBlockStore {
public:
    typedef void* (*AllocFn)(size_t size, void* context);
    typedef void (*FreeFn)(void* block, void* context);

    QfBlockStore(AllocFn alloc, FreeFn free, void* context) : alloc_(alloc), free_(free), context_(context) {}
    ~QfBlockStore();
    QfBlockStore(const QfBlockStore&) = delete;
    QfBlockStore& operator=(const QfBlockStore&) = delete;

    // A zero-filled block marked in use, or null when none can be had.
    QfThreadBlock* Acquire();
    void Release(QfThreadBlock* block);
    bool IsBuiltIn(const QfThreadBlock* block) const;

private:
    QfRecursiveLock lock_;
    QfThreadBlock builtIn_[4] = {};
    QfThreadBlock* freeList_ = nullptr;
    AllocFn alloc_;
    FreeFn free_;
    void* context_;
};

#endif
