// IQfTextMgr (framework strings from the memory pools) and IQfRgnMgr
// (pooled rectangle records).
#include "qfinternal.h"
#include "qfstring.h"

namespace {

// The shared empty string: class 0, capacity 0, never freed.
QfStaticString<0> g_empty = {0, 0, 0, ""};

QfString* Empty()
{
    return g_empty.AsString();
}

class QfTextMgr : public QfServiceBase<IQfTextMgr> {
public:
    QfTextMgr() : QfServiceBase(&g_qfIds.text, "IQfTextMgr") {}

    QfString* QFAPI AllocString(uint32_t capacity) override
    {
        capacity &= 0xFFFF;
        int sizeClass = capacity ? QfStringClassFor(capacity) : 0;
        if (sizeClass == 0)
            return AddRefString(Empty());
        void* block = QfMemory() ? QfMemory()->AllocBlock(QfStringClassBytes(sizeClass)) : nullptr;
        if (!block)
            return AddRefString(Empty());
        return QfStringInitBlock(block, sizeClass);
    }
    QfResult QFAPI FreeString(QfString* string) override
    {
        if (!string || string == Empty())
            return QF_S_FALSE;
        if (QfMemory()->FreePoolBlock(string) >= 0)
            return QF_S_OK;
        return QfMemory()->Free(string) ? QF_S_OK : QF_E_FAIL;
    }
    QfString* QFAPI ResizeString(QfString* string, uint32_t capacity, int32_t keepText) override
    {
        return QfStringResize(this, Empty(), string, capacity, keepText);
    }
    QfString* QFAPI AddRefString(QfString* string) override
    {
        if (string)
            InterlockedIncrement(reinterpret_cast<volatile LONG*>(&string->refs));
        return string;
    }
    QfResult QFAPI ReleaseString(QfString* string) override
    {
        if (!string)
            return QF_S_FALSE;
        // Holders minus one: the value before the decrement was 0 for the last holder.
        if (InterlockedDecrement(reinterpret_cast<volatile LONG*>(&string->refs)) == -1) {
            if (string == Empty()) {
                InterlockedIncrement(reinterpret_cast<volatile LONG*>(&string->refs));
                return QF_S_FALSE;
            }
            return FreeString(string);
        }
        return QF_S_OK;
    }
    QfString* QFAPI MakeString(const char* text, int32_t length) override
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

class QfRgnMgr : public QfServiceBase<IQfRgnMgr> {
public:
    QfRgnMgr() : QfServiceBase(&g_qfIds.region, "IQfRgnMgr") {}

    QfRectRecord* QFAPI AllocRect(const int32_t* rect) override
    {
        QfRectRecord* record =
            QfMemory() ? static_cast<QfRectRecord*>(QfMemory()->AllocBlock(sizeof(QfRectRecord))) : nullptr;
        if (!record)
            return nullptr;
        record->left = rect ? rect[0] : 0;
        record->top = rect ? rect[1] : 0;
        record->right = rect ? rect[2] : 0;
        record->bottom = rect ? rect[3] : 0;
        record->reserved[0] = record->reserved[1] = 0;
        return record;
    }
    QfResult QFAPI FreeRect(QfRectRecord* record) override
    {
        return record ? QfMemory()->FreePoolBlock(record) : QF_S_FALSE;
    }
};

}  // namespace

QfResult QfCreateTextMgr(const QfGuid& iid, void** out, ICafeObject* outer, uint32_t context)
{
    return QfLocalCreate<QfTextMgr>(iid, out, outer, context);
}

QfResult QfCreateRgnMgr(const QfGuid& iid, void** out, ICafeObject* outer, uint32_t context)
{
    return QfLocalCreate<QfRgnMgr>(iid, out, outer, context);
}
