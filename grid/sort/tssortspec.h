// Sort specifications ("+a", "-n,+r", " - Numeric , + ALPHA ") and the key
// list they make with the client's key columns. Rows are sorted by key
// columns and the row-data word; columns, symmetrically, by key rows and the
// column-data word. Below, "line" is a row or a column being sorted and a
// "key line" a column or row whose cells give the keys.
#ifndef ZUB_GRID_SORT_TSSORTSPEC_H
#define ZUB_GRID_SORT_TSSORTSPEC_H

#include <stddef.h>
#include <stdint.h>

enum : uint8_t {
    TS_SORT_ASCENDING = 0x01,  // key flags: bits 0-1 direction
    TS_SORT_DESCENDING = 0x02,
    TS_SORT_ALPHA = 0x04,
    TS_SORT_NUMERIC = 0x08,
    TS_SORT_DATA_DESCENDING = 0x80,  // in TsSortKeys::dataKey
};
enum { TS_SORT_KEYS_MAX = 8 };

enum TsSortAxis {
    TS_SORT_ROWS,     // the data word is R, Rowdata or ROWDATA
    TS_SORT_COLUMNS,  // the data word is C, Coldata or COLDATA
};

// One key as written, before the key lines are bound.
struct TsSortSpecKey {
    uint8_t flags;  // completed: a direction and alpha or numeric (none for a data key)
    bool data;      // the row-data (column-data) key
};

struct TsSortSpec {
    TsSortSpecKey keys[TS_SORT_KEYS_MAX];
    int count;
};

// Reads a specification: one to eight keys separated by commas, each
// optional blanks, "+" or "-", blanks, a type word (A/Alpha/ALPHA,
// N/Numeric/NUMERIC, or the data word; the first letter in either case) and
// blanks. Flags are completed: nothing gives ascending alphabetic, a
// direction alone alphabetic, a type alone ascending. False for a text that
// does not match; *out is then untouched.
bool TsParseSortSpec(const char* text, TsSortAxis axis, TsSortSpec* out);

// The key list in force: key lines in priority order with their flags, and
// the place of the data key among them.
struct TsSortKeys {
    uintptr_t lines[TS_SORT_KEYS_MAX];  // the key lines as the caller names them (stable references)
    uint8_t flags[TS_SORT_KEYS_MAX];
    int count;
    uint8_t dataKey;  // 1-8: compare line data before key `dataKey - 1`; bit 7 descending; 0: none

    bool Active() const { return count > 0 || dataKey != 0; }
};

TsSortKeys TsNoSortKeys();

enum TsSortStatus {
    TS_SORT_OK,
    TS_SORT_SYNTAX,       // the keys in force stay
    TS_SORT_DATA_TWICE,   // sorting disabled: the key list is cleared
    TS_SORT_LINE_TWICE,   // a key line given twice: sorting disabled
    TS_SORT_TOO_MANY,     // more than eight keys: sorting disabled
};

// Maps a key line argument (a position or an identifier as the client gave
// it) to a stable reference; false when no such line exists.
typedef bool (*TsSortLineResolver)(uint32_t argument, uintptr_t* line, void* context);

// Sets *keys from a specification text and the client's key line arguments:
// the data key takes the next key position, every other key the next
// argument; a key whose line does not exist is skipped. On TS_SORT_SYNTAX
// *keys is unchanged; on the other failures it is cleared.
TsSortStatus TsSetSortKeys(const char* text, TsSortAxis axis, const uint32_t* arguments, int argumentCount,
                           TsSortLineResolver resolve, void* context, TsSortKeys* keys);

// The line to write for a status; null for TS_SORT_OK.
const char* TsSortStatusMessage(TsSortStatus status, TsSortAxis axis);

// Takes a key line out of the list (TSM_SORTROWS with d0 = 3, or a deleted
// column); the data key keeps its place relative to the other keys.
void TsRemoveSortLine(TsSortKeys* keys, uintptr_t line);

#endif
