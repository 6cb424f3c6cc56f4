// The host of native programs and tests: framework strings from the heap
// with the framework's own string rules, and block memory from the heap, large
// blocks as mapped address space whose pages are opened as they are
// committed, so a touch past the committed size faults at once.
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>

#include "qfstring.h"
#include "tshost.h"

namespace {

QfStaticString<0> g_empty = {0, 0, 0, ""};
int g_live = 0;

QfString* Empty()
{
    return g_empty.AsString();
}

class HeapTextMgr final : public IQfTextMgr {
public:
    QfResult QueryInterface(const QfGuid&, void** out) override
    {
        if (out)
            *out = nullptr;
        return QF_E_NOINTERFACE;
    }
    uint32_t AddRef() override { return 1; }
    uint32_t Release() override { return 1; }
    QfString* AllocString(uint32_t capacity) override
    {
        capacity &= 0xFFFF;
        int sizeClass = capacity ? QfStringClassFor(capacity) : 0;
        if (sizeClass == 0)
            return AddRefString(Empty());
        void* block = malloc(QfStringClassBytes(sizeClass));
        if (!block)
            return AddRefString(Empty());
        __atomic_fetch_add(&g_live, 1, __ATOMIC_SEQ_CST);
        return QfStringInitBlock(block, sizeClass);
    }
    QfResult FreeString(QfString* string) override
    {
        if (!string || string == Empty())
            return QF_S_FALSE;
        free(string);
        __atomic_fetch_sub(&g_live, 1, __ATOMIC_SEQ_CST);
        return QF_S_OK;
    }
    QfString* ResizeString(QfString* string, uint32_t capacity, int32_t keepText) override
    {
        return QfStringResize(this, Empty(), string, capacity, keepText);
    }
    QfString* AddRefString(QfString* string) override
    {
        if (string)
            __atomic_fetch_add(&string->refs, 1, __ATOMIC_SEQ_CST);
        return string;
    }
    QfResult ReleaseString(QfString* string) override
    {
        if (!string)
            return QF_S_FALSE;
        if (__atomic_sub_fetch(&string->refs, 1, __ATOMIC_SEQ_CST) == -1) {
            if (string == Empty()) {
                __atomic_fetch_add(&string->refs, 1, __ATOMIC_SEQ_CST);
                return QF_S_FALSE;
            }
            return FreeString(string);
        }
        return QF_S_OK;
    }
    QfString* MakeString(const char* text, int32_t length) override
    {
        if (!text)
            return AddRefString(Empty());
        if (length < 0)
            length = static_cast<int32_t>(strnlen(text, QF_STRING_MAX + 1));
        if (length > QF_STRING_MAX)
            length = QF_STRING_MAX;
        if (length == 0)
            return AddRefString(Empty());
        QfString* s = AllocString(static_cast<uint32_t>(length));
        QfStringCopy(s, text, length);
        return s;
    }
};

class MappedMemory final : public TsMemory {
public:
    void* Reserve(uint32_t bytes) override
    {
        if (bytes < TS_LARGE_BLOCK)
            return calloc(1, bytes);
        void* p = mmap(nullptr, Round(bytes), PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
        return p == MAP_FAILED ? nullptr : p;
    }
    bool Commit(void* at, uint32_t bytes) override { return mprotect(at, bytes, PROT_READ | PROT_WRITE) == 0; }
    void Decommit(void* at, uint32_t bytes) override
    {
        // Fresh zero pages on the next commit, as the platform gives.
        madvise(at, bytes, MADV_DONTNEED);
        mprotect(at, bytes, PROT_NONE);
    }
    void Release(void* block, uint32_t bytes) override
    {
        if (bytes < TS_LARGE_BLOCK)
            free(block);
        else
            munmap(block, Round(bytes));
    }

private:
    static size_t Round(uint32_t bytes) { return (static_cast<size_t>(bytes) + TS_PAGE - 1) / TS_PAGE * TS_PAGE; }
};

}  // namespace

TsHost* TsNativeHost()
{
    static HeapTextMgr text;
    static MappedMemory memory;
    static TsHost host = [] {
        TsHost h;
        h.text = &text;
        h.memory = &memory;
        h.diagnostic = nullptr;
        h.trace = nullptr;
        return h;
    }();
    return &host;
}

int TsNativeLiveStrings()
{
    return __atomic_load_n(&g_live, __ATOMIC_SEQ_CST);
}
