#include "qfbank.h"

#include <string.h>

uint32_t QfBankTable::Alloc(uint32_t size, QfBankCleanup cleanup)
{
    uint32_t units = (size + QF_BANK_UNIT_BYTES - 1) / QF_BANK_UNIT_BYTES;
    if (units == 0)
        units = 1;
    if (units > QF_BANK_UNITS)
        return QF_BANK_FAILED;
    QfLockGuard guard(lock_);
    uint64_t mask = units == QF_BANK_UNITS ? ~0ull : (1ull << units) - 1;
    uint32_t offset = 0;
    // Slide the run up one unit at a time until it meets no unit in use;
    // a run shifted out of the 64 bits entirely means no room.
    while (mask != 0 && (mask & used_) != 0) {
        mask <<= 1;
        offset += 4;
    }
    if (mask == 0 || (mask >> (offset / 4)) != (units == QF_BANK_UNITS ? ~0ull : (1ull << units) - 1))
        return QF_BANK_FAILED;
    used_ |= mask;
    cleanup_[offset / 4] = cleanup;
    return (units << 16) + offset;
}

void QfBankTable::RunCleanups(uint8_t* bankSpace) const
{
    QfBankCleanup callbacks[QF_BANK_UNITS];
    {
        QfLockGuard guard(lock_);
        memcpy(callbacks, cleanup_, sizeof callbacks);
    }
    for (uint32_t unit = 0; unit < QF_BANK_UNITS; ++unit) {
        if (callbacks[unit])
            callbacks[unit](bankSpace + unit * QF_BANK_UNIT_BYTES);
    }
}

void* QfBankTable::Address(uint8_t* bankSpace, uint32_t handle)
{
    uint32_t first = QfBankFirstUnit(handle);
    uint32_t units = QfBankUnits(handle);
    if (!bankSpace || (handle & 3) != 0 || first + units > QF_BANK_UNITS)
        return nullptr;
    return bankSpace + first * QF_BANK_UNIT_BYTES;
}

QfBlockStore::~QfBlockStore()
{
    while (freeList_) {
        QfThreadBlock* next = freeList_->next;
        free_(freeList_, context_);
        freeList_ = next;
    }
}

QfThreadBlock* QfBlockStore::Acquire()
{
    QfThreadBlock* block = nullptr;
    {
        QfLockGuard guard(lock_);
        for (QfThreadBlock& candidate : builtIn_) {
            if (!candidate.inUse) {
                block = &candidate;
                break;
            }
        }
        if (!block && freeList_) {
            block = freeList_;
            freeList_ = block->next;
        }
        if (block)
            block->inUse = 1;
    }
    if (!block)
        block = static_cast<QfThreadBlock*>(alloc_(sizeof(QfThreadBlock), context_));
    if (!block)
        return nullptr;
    block->inUse = 1;
    block->next = nullptr;
    block->prev = nullptr;
    memset(block->bank, 0, sizeof block->bank);
    return block;
}

bool QfBlockStore::IsBuiltIn(const QfThreadBlock* block) const
{
    return block >= builtIn_ && block < builtIn_ + 4;
}

void QfBlockStore::Release(QfThreadBlock* block)
{
    if (!block)
        return;
    QfLockGuard guard(lock_);
    block->inUse = 0;
    if (IsBuiltIn(block))
        return;
    block->prev = nullptr;
    block->next = freeList_;
    freeList_ = block;
}
