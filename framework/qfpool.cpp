#include "qfpool.h"

#include <new>

QfSegmentMap::~QfSegmentMap()
{
    for (Node*& head : chains_) {
        while (head) {
            Node* next = head->next;
            delete head;
            head = next;
        }
    }
}

bool QfSegmentMap::Add(uintptr_t base, size_t size, void* owner)
{
    // One node per 64-kilobyte piece, but never more than one per entry:
    // beyond 256 pieces every entry already chains the range.
    uintptr_t end = base + size;
    uintptr_t first = base >> 16;
    uintptr_t last = (end - 1) >> 16;
    uintptr_t pieces = last - first + 1;
    if (pieces > 256)
        pieces = 256;
    for (uintptr_t i = 0; i < pieces; ++i) {
        Node* node = new (std::nothrow) Node{base, end, owner, nullptr};
        if (!node) {
            Remove(base);
            return false;
        }
        unsigned index = static_cast<unsigned>(first + i) & 0xFF;
        node->next = chains_[index];
        chains_[index] = node;
    }
    return true;
}

void QfSegmentMap::Remove(uintptr_t base)
{
    for (Node*& head : chains_) {
        for (Node** link = &head; *link;) {
            if ((*link)->base == base) {
                Node* dead = *link;
                *link = dead->next;
                delete dead;
            } else {
                link = &(*link)->next;
            }
        }
    }
}

void* QfSegmentMap::Find(uintptr_t address, uintptr_t* base) const
{
    for (const Node* n = chains_[Index(address)]; n; n = n->next) {
        if (address >= n->base && address < n->end) {
            if (base)
                *base = n->base;
            return n->owner;
        }
    }
    return nullptr;
}

bool QfBlockPool::Grow(QfSegmentSource& source, QfSegmentMap& map)
{
    Segment* record = new (std::nothrow) Segment{nullptr, segments_};
    if (!record)
        return false;
    void* base = source.ReserveSegment();
    if (!base || !map.Add(reinterpret_cast<uintptr_t>(base), QF_SEGMENT_BYTES, this)) {
        if (base)
            source.ReleaseSegment(base);
        delete record;
        return false;
    }
    record->base = base;
    segments_ = record;
    // Thread the new blocks onto the free list, lowest address first.
    char* bytes = static_cast<char*>(base);
    uint32_t count = QF_SEGMENT_BYTES / blockSize_;
    for (uint32_t i = count; i-- > 0;) {
        FreeNode* node = reinterpret_cast<FreeNode*>(bytes + static_cast<size_t>(i) * blockSize_);
        node->next = free_;
        free_ = node;
    }
    return true;
}

void* QfBlockPool::Alloc(QfSegmentSource& source, QfSegmentMap& map)
{
    if (!free_ && !Grow(source, map))
        return nullptr;
    FreeNode* node = free_;
    free_ = node->next;
    ++live_;
    return node;
}

void QfBlockPool::Free(void* block)
{
    FreeNode* node = static_cast<FreeNode*>(block);
    node->next = free_;
    free_ = node;
    --live_;
}

void QfBlockPool::ReleaseAll(QfSegmentSource& source, QfSegmentMap& map)
{
    while (segments_) {
        Segment* next = segments_->next;
        map.Remove(reinterpret_cast<uintptr_t>(segments_->base));
        source.ReleaseSegment(segments_->base);
        delete segments_;
        segments_ = next;
    }
    free_ = nullptr;
    live_ = 0;
}

QfPoolSet::QfPoolSet(QfSegmentSource& source) : source_(source)
{
    for (int i = 0; i < QF_POOL_COUNT; ++i)
        pools_[i].Init(16u << i);
}

QfPoolSet::~QfPoolSet()
{
    for (QfBlockPool& pool : pools_)
        pool.ReleaseAll(source_, map_);
}

int QfPoolSet::PoolIndex(uint32_t size)
{
    int index = 0;
    while (index < QF_POOL_COUNT - 1 && (16u << index) < size)
        ++index;
    return index;
}

void* QfPoolSet::AllocBlock(uint32_t size)
{
    QfLockGuard guard(lock_);
    if (size < QF_LARGE_BLOCK)
        return pools_[PoolIndex(size)].Alloc(source_, map_);
    void* block = source_.ReserveLarge(size);
    if (block && !map_.Add(reinterpret_cast<uintptr_t>(block), size, &largeOwner_)) {
        source_.ReleaseLarge(block, size);
        return nullptr;
    }
    return block;
}

bool QfPoolSet::FreeBlock(void* block, uint32_t size)
{
    if (size < QF_LARGE_BLOCK)
        return FreePoolBlock(block);
    QfLockGuard guard(lock_);
    uintptr_t base = 0;
    uintptr_t address = reinterpret_cast<uintptr_t>(block);
    if (map_.Find(address, &base) != &largeOwner_ || base != address)
        return false;
    map_.Remove(base);
    source_.ReleaseLarge(block, size);
    return true;
}

bool QfPoolSet::FreePoolBlock(void* block)
{
    QfLockGuard guard(lock_);
    uintptr_t base = 0;
    uintptr_t address = reinterpret_cast<uintptr_t>(block);
    void* owner = map_.Find(address, &base);
    for (QfBlockPool& pool : pools_) {
        if (owner != &pool)
            continue;
        // Only the start of a block may go back on the free list.
        if ((address - base) % pool.BlockSize() != 0)
            return false;
        pool.Free(block);
        return true;
    }
    return false;
}

void* QfPoolSet::FindOwner(const void* address) const
{
    QfLockGuard guard(lock_);
    return map_.Find(reinterpret_cast<uintptr_t>(address));
}
