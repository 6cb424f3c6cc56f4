// Value-list manager, slots 0-27: making, sizing, reading, filling and
// erasing lists, and the dump.
#include <stdio.h>
#include <string.h>

#include <vector>

#include "tshost.h"
#include "tsstringlist.h"
#include "tsvalue.h"
#include "tsvalueparse.h"
#include "tsvlistmgr_impl.h"

namespace {

// References to the passing values of a range, taken before a change so
// that a range over the list being changed reads the old entries.
class HeldValues {
public:
    explicit HeldValues(const VlistRange* range)
    {
        TsWalkRange(range, [this](int32_t, TsValue** entry) {
            values_.push_back(TsValueRef(*entry));
            return true;
        });
    }
    ~HeldValues()
    {
        for (TsValue* v : values_)
            TsValueRelease(v);
    }
    HeldValues(const HeldValues&) = delete;
    HeldValues& operator=(const HeldValues&) = delete;
    const std::vector<TsValue*>& Values() const { return values_; }

private:
    std::vector<TsValue*> values_;
};

int32_t AppendAll(Vlist* list, const std::vector<TsValue*>& values)
{
    int32_t appended = 0;
    for (TsValue* v : values) {
        if (!list->Append(v))
            break;
        ++appended;
    }
    return appended;
}

void DumpEntry(int32_t index, const TsValue* v)
{
    char label[16];
    snprintf(label, sizeof label, "[%d]", static_cast<int>(index));
    if (TsValueIsNumber(v)) {
        int32_t n = TsValueNumber(v);
        TsTrace("    %6s 0x%08x (%d)\n", label, static_cast<unsigned>(n), static_cast<int>(n));
    } else {
        TsTrace("    %6s '%s'\n", label, TsValueText(v));
    }
}

}  // namespace

ITsVListMgr* TsVListManager()
{
    static TsVListMgr manager;
    return &manager;
}

Vlist* TsVListMgr::Create(int32_t count)
{
    return QfStringList::Create(count);
}

Vlist* TsVListMgr::Copy(Vlist* list, int32_t withEntries)
{
    if (!list)
        return nullptr;
    Vlist* copy = QfStringList::Create(list->Capacity());
    if (copy && withEntries) {
        for (int32_t i = 0; i < list->Size(); ++i)
            copy->Append(*list->At(i));
    }
    return copy;
}

int32_t TsVListMgr::Destroy(Vlist* list)
{
    return list ? list->Destroy() : 0;
}

int32_t TsVListMgr::Grow(Vlist* list, int32_t count)
{
    if (!list)
        return 0;
    if (count <= list->Size())
        return 1;
    return list->Resize(count) ? 1 : 0;
}

int32_t TsVListMgr::Clear(Vlist* list)
{
    if (!list)
        return 0;
    list->Clear();
    return 1;
}

int32_t TsVListMgr::Dump(Vlist* list, int32_t first, int32_t last, const char* filter)
{
    if (filter)
        TsTrace("Qf:  I - Dumping Vlist(%d, %d, '%.64s')\n", static_cast<int>(first), static_cast<int>(last), filter);
    else
        TsTrace("Qf:  I - Dumping Vlist(%d, %d)\n", static_cast<int>(first), static_cast<int>(last));
    VlistRange range = {list, first, last, filter};
    int32_t shown = TsWalkRange(&range, [](int32_t index, TsValue** entry) {
        DumpEntry(index, *entry);
        return true;
    });
    TsTrace("Qf:  I - Valuelist dump complete.\n");
    return shown;
}

int32_t TsVListMgr::ParseList(Vlist* list, const char* text)
{
    if (!list)
        return 0;
    return TsParseValues(text, [list](TsValue* v) {
        bool kept = list->Append(v);
        TsValueRelease(v);
        return kept;
    });
}

TsValue** TsVListMgr::EntryAddress(TsValue** base, int32_t index)
{
    return base ? base + index + 1 : nullptr;
}

const char* TsVListMgr::SetFilter(const char* name)
{
    static const struct {
        const char* name;
        const char* filter;
    } kSets[] = {{"%TSNoOpValues", "@t0"}, {"%TSResetValues", "@t1"}, {"%TSNamedValues", "@tv"}, {"%TSNormalValues", ""}};
    if (!name)
        return name;
    for (const auto& set : kSets) {
        if (TsCompareText(name, set.name, true) == 0)
            return set.filter;
    }
    return name;
}

int32_t TsVListMgr::Count(const VlistRange* range)
{
    return TsWalkRange(range, [](int32_t, TsValue**) { return true; });
}

int32_t TsVListMgr::Size(const Vlist* list)
{
    return list ? list->Size() : 0;
}

TsValue** TsVListMgr::Entry(Vlist* list, int32_t index)
{
    if (!list)
        return nullptr;
    int32_t size = list->Size();
    if (index < 0)
        index += size;
    if (index < 0 || index >= size)
        return list->OutOfBounds();
    return list->At(index);
}

int32_t TsVListMgr::First(TsValue** holder, const VlistRange* range)
{
    if (!holder)
        return 0;
    TsValue* found = nullptr;
    TsWalkRange(range, [&found](int32_t, TsValue** entry) {
        found = *entry;
        return false;
    });
    TsHolderSet(holder, found);
    return found ? 1 : 0;
}

int32_t TsVListMgr::Assign(TsValue** holder, TsValue* const* holder2)
{
    if (!holder)
        return 0;
    TsHolderSet(holder, holder2 ? *holder2 : nullptr);
    return 1;
}

int32_t TsVListMgr::ParseValue(TsValue** holder, const char* text)
{
    if (!holder)
        return 0;
    TsHolderTake(holder, TsParseValue(text, text ? static_cast<int>(strnlen(text, TS_VALUE_MAX)) : 0));
    return 1;
}

int32_t TsVListMgr::SetNumber(TsValue** holder, int32_t number)
{
    if (!holder)
        return 0;
    TsValue* v = TsMakeWritable(holder, 5, false);
    if (!v)
        return 0;
    TsSetType(v, TS_VALUE_TEXT);
    char* c = TsValueChars(v);
    c[0] = '\0';
    memcpy(c + 1, &number, 4);
    TsSetLength(v, 5);
    return 1;
}

int32_t TsVListMgr::CopyRange(const VlistRange* to, const VlistRange* from)
{
    HeldValues values(from);
    size_t next = 0;
    TsWalkRange(to, [&](int32_t, TsValue** entry) {
        if (next >= values.Values().size())
            return false;
        TsHolderSet(entry, values.Values()[next++]);
        return true;
    });
    return static_cast<int32_t>(next);
}

int32_t TsVListMgr::Fill(const VlistRange* range, TsValue* const* holder)
{
    TsValue* v = holder ? *holder : nullptr;
    TsValueRef(v);  // the holder may be an entry of the range
    int32_t filled = TsWalkRange(range, [v](int32_t, TsValue** entry) {
        TsHolderSet(entry, v);
        return true;
    });
    TsValueRelease(v);
    return filled;
}

int32_t TsVListMgr::AssignRange(Vlist* list, const VlistRange* range)
{
    if (!list)
        return 0;
    HeldValues values(range);
    list->Clear();
    return AppendAll(list, values.Values());
}

int32_t TsVListMgr::AppendRange(Vlist* list, const VlistRange* range)
{
    if (!list)
        return 0;
    HeldValues values(range);
    return AppendAll(list, values.Values());
}

int32_t TsVListMgr::AppendList(Vlist* list, const Vlist* list2)
{
    if (!list || !list2)
        return 0;
    VlistRange all = {const_cast<Vlist*>(list2), 0, -1, nullptr};
    return AppendRange(list, &all);
}

int32_t TsVListMgr::AppendValue(Vlist* list, TsValue* const* holder)
{
    if (!list)
        return 0;
    return list->Append(holder ? *holder : nullptr) ? 1 : 0;
}

int32_t TsVListMgr::Erase(const VlistRange* range)
{
    if (!range || !range->list)
        return 0;
    Vlist* list = range->list;
    std::vector<bool> gone(static_cast<size_t>(list->Size()), false);
    int32_t erased = TsWalkRange(range, [&gone](int32_t index, TsValue**) {
        gone[static_cast<size_t>(index)] = true;
        return true;
    });
    // One pass: kept entries move down over the removed ones.
    int32_t kept = 0;
    for (int32_t i = 0; i < list->Size(); ++i) {
        if (gone[static_cast<size_t>(i)])
            TsHolderRelease(list->At(i));
        else
            *list->At(kept++) = *list->At(i);
    }
    for (int32_t i = kept; i < list->Size(); ++i)
        *list->At(i) = nullptr;
    list->Resize(kept);
    return erased;
}

int32_t TsVListMgr::EraseEntry(Vlist* list, int32_t index)
{
    if (!list)
        return 0;
    int32_t size = list->Size();
    if (index < 0)
        index += size;
    if (index < 0 || index >= size)
        return 0;
    list->Erase(index);
    return 1;
}
