#include "tsaliases.h"

#include "tsvalue.h"

TsAliasTable::TsAliasTable()
{
    entries_.push_back(TsAliasEntry{TsEmpty(), {TsEmpty(), TsEmpty()}, {nullptr, nullptr}, 0});
}

TsAliasTable::~TsAliasTable()
{
    for (TsAliasEntry& e : entries_) {
        TsValueRelease(e.name);
        TsValueRelease(e.spec[0]);
        TsValueRelease(e.spec[1]);
    }
}

uint32_t TsAliasTable::Find(const char* name) const
{
    if (!name)
        return 0;
    for (uint32_t i = 1; i < entries_.size(); ++i) {
        if (TsCompareText(TsValueText(entries_[i].name), name, true) == 0)
            return i;
    }
    return 0;
}

uint32_t TsAliasTable::Add(const char* name, const char* spec1, const char* spec2, bool replaceable)
{
    if (entries_.size() >= static_cast<size_t>(TS_ALIAS_LIMIT))
        return 0;
    entries_.push_back(TsAliasEntry{TsMakeText(name ? name : ""),
                                    {TsMakeText(spec1 ? spec1 : ""), TsMakeText(spec2 ? spec2 : "")},
                                    {nullptr, nullptr},
                                    replaceable ? uint32_t{TS_ALIAS_REPLACEABLE} : 0u});
    return static_cast<uint32_t>(entries_.size() - 1);
}

TsAliasEntry* TsAliasTable::At(uint32_t number)
{
    return number >= 1 && number < entries_.size() ? &entries_[number] : nullptr;
}

const char* TsAliasTable::NameOf(uint32_t number) const
{
    return number < entries_.size() ? TsValueText(entries_[number].name) : "";
}

TsAliasTables::TsAliasTables()
{
    // The client's first definition of a default replaces it.
    Of(TS_KIND_COLORPAIR).Add("Default", "Light Gray", "Black", true);
    Of(TS_KIND_COLORPAIR).Add("TextDefault", "Transparent", "Default", true);
    Of(TS_KIND_FONT).Add("Default", "", nullptr, true);
    Of(TS_KIND_CURSOR).Add("Default", "", nullptr, true);
    Of(TS_KIND_ICON).Add("Default", "", nullptr, true);
    Of(TS_KIND_HINT).Add("", "", nullptr, true);
    Of(TS_KIND_SIZING).Add("", "", nullptr, true);
}
