// The memory service's pools: fixed-size blocks carved from 64-kilobyte
// segments, separate reservations for blocks of 8192 bytes and more, and
// the 256-entry segment map that traces any address back to its owner.
#ifndef ZUB_FRAMEWORK_QFPOOL_H
#define ZUB_FRAMEWORK_QFPOOL_H

#include <stddef.h>
#include <stdint.h>

#include "qflock.h"

enum : uint32_t { QF_SEGMENT_BYTES = 0x10000, QF_LARGE_BLOCK = 8192 };
enum { QF_POOL_COUNT = 10 };

// Where segments come from: the platform's virtual memory on Windows.
class QfSegmentSource {
public:
    // 64 kilobytes, aligned to 64 kilobytes, readable and writable; null on failure.
    virtual void* ReserveSegment() = 0;
    virtual void ReleaseSegment(void* segment) = 0;
    virtual void* ReserveLarge(size_t size) = 0;
    virtual void ReleaseLarge(void* block, size_t size) = 0;

protected:
    ~QfSegmentSource() = default;
};

// Indexed by the upper 16 bits of an address modulo 256; each entry chains
// the address ranges whose 64-kilobyte pieces fall on it.
class QfSegmentMap {
public:
    QfSegmentMap() = default;
    ~QfSegmentMap();
    QfSegmentMap(const QfSegmentMap&) = delete;
    QfSegmentMap& operator=(const QfSegmentMap&) = delete;

    bool Add(uintptr_t base, size_t size, void* owner);
    void Remove(uintptr_t base);
    // The owner of the range holding address, or null; base receives the range's start.
    void* Find(uintptr_t address, uintptr_t* base = nullptr) const;

private:
    struct Node {
        uintptr_t base;
        uintptr_t end;
        void* owner;
        Node* next;
    };
    static unsigned Index(uintptr_t address) { return static_cast<unsigned>(address >> 16) & 0xFF; }
    Node* chains_[256] = {};
};

class QfBlockPool {
public:
    void Init(uint32_t blockSize) { blockSize_ = blockSize; }
    uint32_t BlockSize() const { return blockSize_; }
    uint32_t LiveBlocks() const { return live_; }
    void* Alloc(QfSegmentSource& source, QfSegmentMap& map);
    void Free(void* block);
    void ReleaseAll(QfSegmentSource& source, QfSegmentMap& map);

private:
    struct FreeNode {
        FreeNode* next;
    };
    struct Segment {
        void* base;
        Segment* next;
    };
    bool Grow(QfSegmentSource& source, QfSegmentMap& map);

    uint32_t blockSize_ = 16;
    uint32_t live_ = 0;
    FreeNode* free_ = nullptr;
    Segment* segments_ = nullptr;
};

class QfPoolSet {
public:
    explicit QfPoolSet(QfSegmentSource& source);
    ~QfPoolSet();
    QfPoolSet(const QfPoolSet&) = delete;
    QfPoolSet& operator=(const QfPoolSet&) = delete;

    // Below 8192 bytes a pool block, else a reservation; null on failure.
    void* AllocBlock(uint32_t size);
    // The size chooses the path as at allocation; false when the address is
    // not a block of that kind.
    bool FreeBlock(void* block, uint32_t size);
    // Returns a pool block to its pool; false for any other address.
    bool FreePoolBlock(void* block);
    // The owner (a pool, or the large-block owner) of an address, or null.
    void* FindOwner(const void* address) const;
    const void* LargeOwner() const { return &largeOwner_; }
    // Index of the pool serving a size below 8192.
    static int PoolIndex(uint32_t size);
    const QfBlockPool& Pool(int index) const { return pools_[index]; }

private:
    QfSegmentSource& source_;
    mutable QfRecursiveLock lock_;
    QfSegmentMap map_;
    QfBlockPool pools_[QF_POOL_COUNT];
    char largeOwner_ = 0;
};

#endif
