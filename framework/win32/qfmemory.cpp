// IQfMemory: pool blocks and reservations, the tagged list, and QfHeap.
#include "qfinternal.h"
#include "qflock.h"
#include "qfpool.h"

namespace {

class VirtualSource : public QfSegmentSource {
public:
    void* ReserveSegment() override
    {
        return VirtualAlloc(nullptr, QF_SEGMENT_BYTES, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    }
    void ReleaseSegment(void* segment) override { VirtualFree(segment, 0, MEM_RELEASE); }
    // Committed as well as reserved: a block handed out must be usable, and
    // the system only backs the pages that are touched.
    void* ReserveLarge(size_t size) override
    {
        return VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    }
    void ReleaseLarge(void* block, size_t) override { VirtualFree(block, 0, MEM_RELEASE); }
};

// Tagged blocks: a 12-byte header linking each into a list.
struct TaggedHeader {
    TaggedHeader* next;
    TaggedHeader* prev;
    uint32_t tag;
};
static_assert(sizeof(TaggedHeader) == 12, "tagged header is 12 bytes");

// The record of QfHeap, allocated from the heap itself.
struct HeapRecord {
    HANDLE heap;
    uint32_t live;
    uintptr_t low;
    uintptr_t high;
};

class QfMemoryMgr : public QfServiceBase<IQfMemory> {
public:
    QfMemoryMgr() : QfServiceBase(&g_qfIds.memory, "IQfMemory"), pools_(source_) {}

    void* QFAPI AllocBlock(uint32_t size) override { return pools_.AllocBlock(size); }
    QfResult QFAPI FreeBlock(void* address, uint32_t size) override
    {
        if (size < QF_LARGE_BLOCK)
            return FreePoolBlock(address);
        pools_.FreeBlock(address, size);
        return QF_S_OK;
    }
    QfResult QFAPI FreePoolBlock(void* address) override
    {
        return pools_.FreePoolBlock(address) ? QF_S_OK : QF_E_FAIL;
    }
    QfResult QFAPI FindBlock(const void* address, void** owner) override
    {
        void* found = pools_.FindOwner(address);
        if (owner)
            *owner = found;
        return found ? QF_S_OK : QF_E_FAIL;
    }
    void* QFAPI AllocTagged(uint32_t size, uint32_t tag) override;
    void* QFAPI NextTagged(void* block, uint32_t tag) override;
    uint32_t QFAPI FreeTagged(void* block, uint32_t tag) override;
    void* QFAPI Alloc(uint32_t size) override;
    void* QFAPI ReAlloc(void* block, uint32_t size) override;
    int32_t QFAPI Free(void* block) override;

private:
    bool InHeap(const void* block) const;
    void Forget(void* block);

    VirtualSource source_;
    QfPoolSet pools_;
    QfRecursiveLock heapLock_;
    HeapRecord* heap_ = nullptr;
    TaggedHeader* tagged_ = nullptr;
};

bool QfMemoryMgr::InHeap(const void* block) const
{
    uintptr_t p = reinterpret_cast<uintptr_t>(block);
    return heap_ && block && p >= heap_->low && p < heap_->high;
}

void* QfMemoryMgr::Alloc(uint32_t size)
{
    void* block = nullptr;
    {
        QfLockGuard guard(heapLock_);
        if (!heap_) {
            HANDLE heap = HeapCreate(0, 4096, 0x100000);
            HeapRecord* record =
                heap ? static_cast<HeapRecord*>(HeapAlloc(heap, HEAP_ZERO_MEMORY, sizeof(HeapRecord))) : nullptr;
            if (record) {
                record->heap = heap;
                record->low = ~static_cast<uintptr_t>(0);
                heap_ = record;
            } else if (heap) {
                HeapDestroy(heap);
            }
        }
        if (heap_)
            block = HeapAlloc(heap_->heap, HEAP_ZERO_MEMORY, size ? size : 1);
        if (block) {
            ++heap_->live;
            uintptr_t p = reinterpret_cast<uintptr_t>(block);
            if (p < heap_->low)
                heap_->low = p;
            if (p + HeapSize(heap_->heap, 0, block) > heap_->high)
                heap_->high = p + HeapSize(heap_->heap, 0, block);
        }
    }
    if (!block)
        QfRoot()->DiagnosticPrintf(0, "TS: (QfHeap) Local or global heap exhausted.");
    return block;
}

void* QfMemoryMgr::ReAlloc(void* block, uint32_t size)
{
    QfLockGuard guard(heapLock_);
    if (!heap_)
        return nullptr;
    if (!block)
        return Alloc(size);
    if (!InHeap(block))
        return nullptr;
    void* grown = HeapReAlloc(heap_->heap, HEAP_ZERO_MEMORY, block, size ? size : 1);
    if (grown) {
        uintptr_t p = reinterpret_cast<uintptr_t>(grown);
        if (p < heap_->low)
            heap_->low = p;
        if (p + HeapSize(heap_->heap, 0, grown) > heap_->high)
            heap_->high = p + HeapSize(heap_->heap, 0, grown);
    }
    return grown;
}

// Frees a heap block; when the last one goes, the record goes with the
// whole heap, so an idle framework holds no heap memory.
void QfMemoryMgr::Forget(void* block)
{
    HeapFree(heap_->heap, 0, block);
    if (--heap_->live == 0) {
        HANDLE heap = heap_->heap;
        heap_ = nullptr;
        HeapDestroy(heap);
    }
}

int32_t QfMemoryMgr::Free(void* block)
{
    QfLockGuard guard(heapLock_);
    if (!InHeap(block))
        return 0;
    Forget(block);
    return 1;
}

void* QfMemoryMgr::AllocTagged(uint32_t size, uint32_t tag)
{
    if (size > 0xFFFFFFFFu - sizeof(TaggedHeader))
        return nullptr;
    QfLockGuard guard(heapLock_);
    TaggedHeader* header = static_cast<TaggedHeader*>(Alloc(size + sizeof(TaggedHeader)));
    if (!header)
        return nullptr;
    header->tag = tag;
    header->next = tagged_;
    if (tagged_)
        tagged_->prev = header;
    tagged_ = header;
    return header + 1;
}

void* QfMemoryMgr::NextTagged(void* block, uint32_t tag)
{
    QfLockGuard guard(heapLock_);
    TaggedHeader* h = tagged_;
    if (block) {
        // Only a block that is on the list may serve as a starting point.
        TaggedHeader* from = static_cast<TaggedHeader*>(block) - 1;
        for (h = tagged_; h && h != from; h = h->next) {
        }
        if (!h)
            return nullptr;
        h = h->next;
    }
    for (; h; h = h->next) {
        if (tag == 0 || h->tag == tag)
            return h + 1;
    }
    return nullptr;
}

uint32_t QfMemoryMgr::FreeTagged(void* block, uint32_t tag)
{
    QfLockGuard guard(heapLock_);
    TaggedHeader* target = block ? static_cast<TaggedHeader*>(block) - 1 : nullptr;
    uint32_t freed = 0;
    for (TaggedHeader* h = tagged_; h;) {
        TaggedHeader* next = h->next;
        bool match = target ? h == target && (tag == 0 || h->tag == tag) : (tag == 0 || h->tag == tag);
        if (match) {
            if (h->prev)
                h->prev->next = h->next;
            else
                tagged_ = h->next;
            if (h->next)
                h->next->prev = h->prev;
            Forget(h);
            ++freed;
        }
        h = next;
    }
    return freed;
}

}  // namespace

QfResult QfCreateMemoryMgr(const QfGuid& iid, void** out, ICafeObject* outer, uint32_t context)
{
    return QfLocalCreate<QfMemoryMgr>(iid, out, outer, context);
}
