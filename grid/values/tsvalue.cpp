#include "tsvalue.h"

#include <stdio.h>
#include <string.h>

#include "qfstring.h"
#include "tshost.h"
#include "tsnumber.h"

static_assert(offsetof(TsValue, length) == offsetof(QfString, length), "a value is a framework string");
static_assert(offsetof(TsValue, typeClass) == offsetof(QfString, sizeClass), "a value is a framework string");
static_assert(TS_VALUE_HEADER == QF_STRING_HEADER, "a value is a framework string");

namespace {

QfString* AsString(TsValue* v)
{
    return reinterpret_cast<QfString*>(v);
}

TsValue* AsValue(QfString* s)
{
    return reinterpret_cast<TsValue*>(s);
}

IQfTextMgr* Text()
{
    return TsGetHost()->text;
}

}  // namespace

TsValue* TsEmpty()
{
    return AsValue(Text()->AllocString(0));
}

TsValue* TsValueRef(TsValue* v)
{
    if (v)
        __atomic_fetch_add(&v->refs, 1, __ATOMIC_SEQ_CST);
    return v;
}

void TsValueRelease(TsValue* v)
{
    if (v)
        Text()->ReleaseString(AsString(v));
}

TsValue* TsMakeText(const char* text, int length)
{
    return AsValue(Text()->MakeString(text, length));
}

TsValue* TsMakeNumber(int32_t number)
{
    TsValue* v = AsValue(Text()->AllocString(5));
    if (TsValueCapacity(v) < 5)
        return v;
    char* c = TsValueChars(v);
    c[0] = '\0';
    memcpy(c + 1, &number, 4);
    TsSetLength(v, 5);
    return v;
}

TsValue* TsMakeMarker(int type)
{
    TsValue* v = AsValue(Text()->AllocString(1));
    if (TsValueCapacity(v) > 0)
        TsSetType(v, type);
    return v;
}

const TsValue* TsHeld(TsValue* const* holder)
{
    static const QfStaticString<0> kEmpty = {0, 0, 0, ""};
    const TsValue* v = holder ? *holder : nullptr;
    return v ? v : reinterpret_cast<const TsValue*>(&kEmpty);
}

void TsHolderSet(TsValue** holder, TsValue* v)
{
    TsHolderTake(holder, v ? TsValueRef(v) : TsEmpty());
}

void TsHolderTake(TsValue** holder, TsValue* v)
{
    TsValue* old = *holder;
    *holder = v;
    TsValueRelease(old);
}

void TsHolderRelease(TsValue** holder)
{
    TsValue* old = *holder;
    *holder = nullptr;
    TsValueRelease(old);
}

TsValue* TsMakeWritable(TsValue** holder, uint32_t capacity, bool keep)
{
    if (capacity > TS_VALUE_MAX)
        capacity = TS_VALUE_MAX;
    if (capacity == 0)
        capacity = 1;  // never hand out the shared empty value for writing
    TsValue* old = *holder ? *holder : TsEmpty();
    if (!*holder)
        *holder = old;
    int type = TsValueType(old);
    QfString* made = Text()->ResizeString(AsString(old), capacity, keep ? 1 : 0);
    *holder = AsValue(made);
    if (QfStringCapacity(made) < static_cast<int>(capacity))
        return nullptr;
    if (!keep)
        TsSetLength(*holder, 0);
    TsSetType(*holder, type);
    return *holder;
}

void TsSetType(TsValue* v, int type)
{
    v->typeClass = static_cast<uint8_t>((v->typeClass & 0x0F) | ((type & 0x0F) << 4));
}

void TsSetLength(TsValue* v, int length)
{
    int capacity = TsValueCapacity(v);
    if (length > capacity)
        length = capacity;
    if (length < 0)
        length = 0;
    v->length = static_cast<uint8_t>(length);
    if (capacity > 0)
        TsValueChars(v)[length] = '\0';
}

int TsValueCapacity(const TsValue* v)
{
    return QfStringClassCapacity(v->typeClass & 0x0F);
}

int32_t TsValueNumber(const TsValue* v)
{
    if (TsValueIsNumber(v)) {
        int32_t n;
        memcpy(&n, TsValueText(v) + 1, 4);
        return n;
    }
    return TsReadNumber(TsValueText(v));
}

const char* TsValueString(const TsValue* v, char* out, size_t size)
{
    if (!TsValueIsNumber(v))
        return TsValueText(v);
    snprintf(out, size, "%d", static_cast<int>(TsValueNumber(v)));
    return out;
}

bool TsValueEquals(const TsValue* a, const TsValue* b)
{
    if (a == b)
        return true;
    return TsValueType(a) == TsValueType(b) && a->length == b->length &&
           memcmp(TsValueText(a), TsValueText(b), a->length) == 0;
}

namespace {

int Fold(unsigned char c)
{
    return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
}

}  // namespace

int TsCompareText(const char* a, const char* b, bool ignoreCase)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(a ? a : "");
    const unsigned char* q = reinterpret_cast<const unsigned char*>(b ? b : "");
    for (;; ++p, ++q) {
        int x = ignoreCase ? Fold(*p) : *p;
        int y = ignoreCase ? Fold(*q) : *q;
        if (x != y)
            return x < y ? -1 : 1;
        if (!x)
            return 0;
    }
}

bool TsSameWord(const char* text, int length, const char* word)
{
    int i = 0;
    for (; i < length && word[i]; ++i) {
        if (Fold(static_cast<unsigned char>(text[i])) != Fold(static_cast<unsigned char>(word[i])))
            return false;
    }
    return i == length && !word[i];
}
