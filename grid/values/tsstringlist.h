// QfStringList, the value list: a packed array of value references in a
// block array of fixed capacity, and a name value that also receives the
// bounds error text. Ranges and filters walk it.
#ifndef ZUB_GRID_VALUES_TSSTRINGLIST_H
#define ZUB_GRID_VALUES_TSSTRINGLIST_H

#include <stdint.h>

#include "tsblockarray.h"
#include "tsvlistmgr.h"

class QfStringList final {
public:
    // A list with room for count entries, or null.
    static QfStringList* Create(int32_t count);

    // The class operations, in slot order.
    virtual int32_t Destroy();         // 0: releases the name and every entry
    virtual int32_t Unused1();         // 1
    virtual int32_t Unused2();         // 2
    virtual TsValue** OutOfBounds();   // 3: trace line, error text in the name, the name's holder
    virtual int32_t DestroyToo();      // 4: a second destroy entry
    virtual int32_t Unused3();         // 5

    int32_t Size() const { return static_cast<int32_t>(entries_.Used() / sizeof(TsValue*)); }
    int32_t Capacity() const { return static_cast<int32_t>(entries_.Capacity() / sizeof(TsValue*)); }
    // Entry i for 0 <= i < Size().
    TsValue** At(int32_t i) { return reinterpret_cast<TsValue**>(entries_.Data()) + i; }
    TsValue** Entries() { return reinterpret_cast<TsValue**>(entries_.Data()); }
    // Grows with empty values or shrinks releasing entries; false beyond the capacity.
    bool Resize(int32_t count);
    // Appends a reference to v (null: the empty value); false when full.
    bool Append(TsValue* v);
    void Clear() { Resize(0); }
    // Removes entry i, closing the gap.
    void Erase(int32_t i);
    TsValue** Name() { return &name_; }

private:
    QfStringList() = default;
    ~QfStringList() = default;
    bool Init(int32_t count);

    TsBlockArray entries_;
    TsValue* name_ = nullptr;
};

// Index rules: negative counts from the end; below minus the count is the
// first entry; at or past the count the last.
int32_t TsResolveIndex(int32_t index, int32_t count);

// A range filter, read once.
class TsListFilter {
public:
    explicit TsListFilter(const char* filter);
    bool Passes(const TsValue* v) const;

private:
    enum Kind { kAll, kMarker, kOrdinary, kPattern, kNothing } kind_;
    int type_ = 0;
    const char* pattern_ = nullptr;
};

// Matches a pattern from outside at the start of a value's text (numbers in
// decimal); -1 when it does not match. The pattern must have passed
// QfCheckPattern.
int32_t TsMatchValue(const TsValue* v, const char* pattern);

// Walks a range forwards, calling f(index, entry) for each entry that
// passes the filter; f returns false to stop. Returns the number visited.
template <class F>
int32_t TsWalkRange(const VlistRange* range, F f)
{
    if (!range || !range->list)
        return 0;
    QfStringList* list = range->list;
    int32_t count = list->Size();
    if (count == 0)
        return 0;
    int32_t a = TsResolveIndex(range->first, count);
    int32_t b = TsResolveIndex(range->last, count);
    if (a > b) {
        int32_t t = a;
        a = b;
        b = t;
    }
    TsListFilter filter(range->filter);
    int32_t visited = 0;
    for (int32_t i = a; i <= b && i < list->Size(); ++i) {
        if (!filter.Passes(*list->At(i)))
            continue;
        ++visited;
        if (!f(i, list->At(i)))
            break;
    }
    return visited;
}

#endif
