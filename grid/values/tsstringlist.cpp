#include "tsstringlist.h"

#include <new>
#include <stdio.h>
#include <string.h>

#include "qfpattern.h"
#include "tshost.h"
#include "tsvalue.h"

QfStringList* QfStringList::Create(int32_t count)
{
    if (count < 0 || count > 0x00FFFFFF)
        return nullptr;
    QfStringList* list = new (std::nothrow) QfStringList();
    if (list && !list->Init(count)) {
        delete list;
        return nullptr;
    }
    return list;
}

bool QfStringList::Init(int32_t count)
{
    name_ = TsEmpty();
    return entries_.Create(static_cast<uint32_t>(count) * sizeof(TsValue*), this);
}

int32_t QfStringList::Destroy()
{
    Clear();
    TsHolderRelease(&name_);
    delete this;
    return 1;
}

int32_t QfStringList::Unused1()
{
    return 0;
}

int32_t QfStringList::Unused2()
{
    return 0;
}

TsValue** QfStringList::OutOfBounds()
{
    TsDiagnostic("TS: (QfStringList) Out of bounds StringList access.");
    TsHolderTake(&name_, TsMakeText("StringList bounds exceeded.\n"));
    return &name_;
}

int32_t QfStringList::DestroyToo()
{
    return Destroy();
}

int32_t QfStringList::Unused3()
{
    return 0;
}

bool QfStringList::Resize(int32_t count)
{
    int32_t size = Size();
    if (count < 0 || count > Capacity())
        return false;
    if (count < size) {
        for (int32_t i = count; i < size; ++i)
            TsHolderRelease(At(i));
        entries_.Resize(static_cast<uint32_t>(count) * sizeof(TsValue*));
        return true;
    }
    if (!entries_.Resize(static_cast<uint32_t>(count) * sizeof(TsValue*)))
        return false;
    for (int32_t i = size; i < count; ++i)
        *At(i) = TsEmpty();
    return true;
}

bool QfStringList::Append(TsValue* v)
{
    int32_t size = Size();
    if (!entries_.Resize(static_cast<uint32_t>(size + 1) * sizeof(TsValue*)))
        return false;
    *At(size) = v ? TsValueRef(v) : TsEmpty();
    return true;
}

void QfStringList::Erase(int32_t i)
{
    int32_t size = Size();
    if (i < 0 || i >= size)
        return;
    TsHolderRelease(At(i));
    memmove(At(i), At(i + 1), static_cast<size_t>(size - i - 1) * sizeof(TsValue*));
    entries_.Resize(static_cast<uint32_t>(size - 1) * sizeof(TsValue*));
}

int32_t TsResolveIndex(int32_t index, int32_t count)
{
    if (index < 0)
        index = index < -count ? 0 : count + index;
    if (index >= count)
        index = count - 1;
    return index;
}

TsListFilter::TsListFilter(const char* filter)
{
    if (!filter || !filter[0]) {
        kind_ = kAll;
    } else if (filter[0] == '@' && filter[1] == 't' && filter[2] >= '0' && filter[2] <= '7' && !filter[3]) {
        kind_ = kMarker;
        type_ = TS_VALUE_MARKER + (filter[2] - '0');
    } else if (strcmp(filter, "@tv") == 0) {
        kind_ = kOrdinary;
    } else if (QfCheckPattern(filter) >= 0) {
        kind_ = kPattern;
        pattern_ = filter;
    } else {
        kind_ = kNothing;
    }
}

bool TsListFilter::Passes(const TsValue* v) const
{
    switch (kind_) {
    case kAll:
        return true;
    case kMarker:
        return TsValueType(v) == type_;
    case kOrdinary:
        return TsValueType(v) < TS_VALUE_MARKER;
    case kPattern:
        return TsValueType(v) < TS_VALUE_MARKER && TsMatchValue(v, pattern_) >= 0;
    case kNothing:
        break;
    }
    return false;
}

int32_t TsMatchValue(const TsValue* v, const char* pattern)
{
    char number[16];
    return QfMatchPatternTable(TsValueString(v, number, sizeof number), pattern, nullptr);
}
