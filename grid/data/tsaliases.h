// The per-grid alias tables: colour pairs, fonts, icons, cursors, font
// sizing templates and cell hints. Cells and columns refer to entries by a
// one-byte number; number 0 is "none" (the cell inherits), so real entries
// run from 1 to 255. Each entry has a name, the specifications it was made
// from, the drawing objects the display layer made from them, and a use
// count whose bit 31 marks an entry that a later definition may replace.
#ifndef ZUB_GRID_DATA_TSALIASES_H
#define ZUB_GRID_DATA_TSALIASES_H

#include <stdint.h>

#include <vector>

#include "tsvlistmgr.h"

enum TsAliasKind {
    TS_KIND_COLORPAIR,
    TS_KIND_FONT,
    TS_KIND_ICON,
    TS_KIND_CURSOR,
    TS_KIND_SIZING,
    TS_KIND_HINT,
    TS_ALIAS_KINDS
};
enum : uint32_t { TS_ALIAS_LIMIT = 256, TS_ALIAS_REPLACEABLE = 0x80000000u };

struct TsAliasEntry {
    TsValue* name;
    TsValue* spec[2];
    void* object[2];  // owned by the display layer
    uint32_t uses;
};

class TsAliasTable {
public:
    TsAliasTable();
    ~TsAliasTable();
    TsAliasTable(const TsAliasTable&) = delete;
    TsAliasTable& operator=(const TsAliasTable&) = delete;

    // The number of the entry named name (ASCII case ignored), or 0.
    uint32_t Find(const char* name) const;
    // A new entry; 0 when the table is full.
    uint32_t Add(const char* name, const char* spec1, const char* spec2, bool replaceable);
    // Entry number, or null for 0 and unknown numbers.
    TsAliasEntry* At(uint32_t number);
    const char* NameOf(uint32_t number) const;
    uint32_t Count() const { return static_cast<uint32_t>(entries_.size()); }

private:
    std::vector<TsAliasEntry> entries_;  // entry 0 is "none"
};

class TsAliasTables {
public:
    // Creates the default entries every grid starts with.
    TsAliasTables();
    TsAliasTable& Of(TsAliasKind kind) { return tables_[kind]; }
    const TsAliasTable& Of(TsAliasKind kind) const { return tables_[kind]; }

private:
    TsAliasTable tables_[TS_ALIAS_KINDS];
};

#endif
