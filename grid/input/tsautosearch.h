// AutoSearch matching: typing in a grid finds the row whose text in an
// AutoSearch column (column flag 0x04) begins with what was typed.
#ifndef ZUB_GRID_INPUT_TSAUTOSEARCH_H
#define ZUB_GRID_INPUT_TSAUTOSEARCH_H

#include <stdint.h>

#include <string>

#include "tsdatamgr.h"

bool TsHasSearchColumns(const TsDataMgr& d);

// The first shown row, from `start` on and wrapping round, with a cell in an
// AutoSearch column whose text begins with `typed` (letter case ignored,
// Latin-1 letters included). A single character looks from the row after
// `start`. When nothing matches a text of one character repeated ("bbb"),
// the next row after `start` that begins with that character: pressing a
// letter again walks through its rows. -1 when nothing matches.
int32_t TsSearchRows(const TsDataMgr& d, const std::string& typed, int32_t start);

// True when text begins with prefix, letter case ignored.
bool TsBeginsWithFolded(const char* text, const std::string& prefix);

#endif
