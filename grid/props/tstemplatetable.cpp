#include "tstemplatetable.h"

#include <string.h>

bool TsSameTemplate(const TsSizeTemplate& a, const TsSizeTemplate& b)
{
    return a.kinds == b.kinds && a.weight == b.weight && a.percent == b.percent && a.absolute[0] == b.absolute[0] &&
           a.absolute[1] == b.absolute[1] && strcmp(a.text, b.text) == 0;
}

TsTemplateTable::TsTemplateTable()
{
    entries_.push_back(Entry{TsTemplateDefault(), 0});
}

uint16_t TsTemplateTable::Intern(const TsSizeTemplate& t)
{
    size_t unused = 0;
    for (size_t i = 0; i < entries_.size(); ++i) {
        if (TsSameTemplate(entries_[i].tmpl, t))
            return static_cast<uint16_t>(i);
        if (!unused && i > 0 && entries_[i].uses == 0)
            unused = i;
    }
    if (unused) {
        entries_[unused].tmpl = t;
        return static_cast<uint16_t>(unused);
    }
    if (entries_.size() >= kLimit)
        return kLimit;
    entries_.push_back(Entry{t, 0});
    return static_cast<uint16_t>(entries_.size() - 1);
}

void TsTemplateTable::AddUse(uint16_t number)
{
    if (number > 0 && number < entries_.size())
        ++entries_[number].uses;
}

void TsTemplateTable::ReleaseUse(uint16_t number)
{
    if (number > 0 && number < entries_.size() && entries_[number].uses > 0)
        --entries_[number].uses;
}

uint32_t TsTemplateTable::Uses(uint16_t number) const
{
    return number < entries_.size() ? entries_[number].uses : 0;
}

const TsSizeTemplate& TsTemplateTable::At(uint16_t number) const
{
    return number < entries_.size() ? entries_[number].tmpl : entries_[0].tmpl;
}
