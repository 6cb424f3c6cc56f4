// A grid's size templates: rows and columns refer to them by a 16-bit
// number, so that the thousands of rows that share a template keep one copy
// and the layout can size them together. Number 0 is the default
// "MMMMMM", which every row and column starts with; equal templates share
// an entry, and an entry nobody uses is taken for the next new template.
#ifndef ZUB_GRID_PROPS_TSTEMPLATETABLE_H
#define ZUB_GRID_PROPS_TSTEMPLATETABLE_H

#include <stdint.h>

#include <vector>

#include "tstemplate.h"

class TsTemplateTable {
public:
    enum : uint16_t { kDefault = 0, kLimit = 0xFFFF };

    TsTemplateTable();

    // The number of a template equal to t, adding it when new. Returns
    // kLimit when the table is full of templates in use.
    uint16_t Intern(const TsSizeTemplate& t);
    // Uses of an entry by rows and columns; the default is never counted.
    void AddUse(uint16_t number);
    void ReleaseUse(uint16_t number);
    uint32_t Uses(uint16_t number) const;
    // The template (the default for numbers out of range).
    const TsSizeTemplate& At(uint16_t number) const;
    size_t Count() const { return entries_.size(); }

private:
    struct Entry {
        TsSizeTemplate tmpl;
        uint32_t uses;
    };
    std::vector<Entry> entries_;
};

// Same kinds and data, so that two texts that read the same share an entry.
bool TsSameTemplate(const TsSizeTemplate& a, const TsSizeTemplate& b);

#endif
