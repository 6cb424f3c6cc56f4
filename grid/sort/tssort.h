// Comparing and ordering lines (rows, or columns) by a key list. The sort
// works on a permutation of line references and never moves cell data; equal
// lines keep their relative order.
#ifndef ZUB_GRID_SORT_TSSORT_H
#define ZUB_GRID_SORT_TSSORT_H

#include <stddef.h>
#include <stdint.h>

#include "tssortspec.h"

// The system string comparison (lstrcmpA on Windows): <0, 0 or >0.
typedef int (*TsTextCompare)(const char* a, const char* b);

// Byte order of unsigned characters: the comparison of native builds.
int TsCompareTextOrdinal(const char* a, const char* b);

// Numbers in text: leading blanks and signs are skipped (each "-" flips the
// sign) and a differing sign decides; then the leading digit runs are
// compared as numbers of any length, the sign applied, and while equal the
// next digit runs after any other characters; a text whose numbers end
// first is the smaller. "-5" < "3", "9" < "10", "1.2" < "1.10",
// "12" < "12 3", "12 apples" = "12". Returns -1, 0 or 1.
int TsCompareNumericText(const char* a, const char* b);

// Where the keys come from (the grid's cells; a table in tests).
class TsSortSource {
public:
    // The text of `line`'s cell in key line `keyLine` ("" or null when
    // empty). The pointer stays valid until the sort call returns; two
    // cells sharing one value may return the same pointer (they compare equal).
    virtual const char* KeyText(uint32_t line, uintptr_t keyLine) = 0;
    // The line's 32-bit data word.
    virtual uint32_t LineData(uint32_t line) = 0;
    // True for a line marked to be placed again (a new line, or one whose
    // keys changed).
    virtual bool IsPending(uint32_t line) { return (void)line, false; }

protected:
    ~TsSortSource() = default;
};

struct TsSortContext {
    const TsSortKeys* keys;
    TsSortSource* source;
    TsTextCompare compareText;  // null: TsCompareTextOrdinal
};

// Walks the key list: the data word at its place (unsigned, reversed when
// descending), each key line by its flags; the first difference decides.
int TsCompareLines(const TsSortContext& context, uint32_t a, uint32_t b);

// Re-sorts lines[0..count): lines at positions sortedPrefix and after, and
// lines the source reports pending, are placed among the others (which keep
// their order), each after the lines it compares equal to and after the
// pending lines before it. With no keys nothing moves. A full sort is
// sortedPrefix = 0.
void TsResortLines(const TsSortContext& context, uint32_t* lines, size_t count, size_t sortedPrefix);

// The place for a new line among sorted lines: after every line that
// compares equal to it (binary search).
size_t TsSortedPosition(const TsSortContext& context, const uint32_t* lines, size_t count, uint32_t line);

// Inserts line into sorted lines[0..count) (room for count + 1) at its
// sorted place; returns the position.
size_t TsInsertSorted(const TsSortContext& context, uint32_t* lines, size_t count, uint32_t line);

#endif
