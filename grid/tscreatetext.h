// The creation text of a "Tessaline" window (its window text, as a dialog
// template gives it): "MaxRows=8192 MaxCols=7", keys in any case, blanks
// allowed around "=", and "thread" with "main", "shared" or "own".
#ifndef ZUB_GRID_TSCREATETEXT_H
#define ZUB_GRID_TSCREATETEXT_H

#include <stdint.h>

#include "ts.h"

struct TsCreation {
    GridCreateParams params = {TS_DEFAULT_MAXROWS, TS_DEFAULT_MAXCOLS};
    uint32_t flags = 0;  // style bits: 0x0800 with any key, plus the thread mode
};

// A text that does not match gives the defaults and no flags.
TsCreation TsParseCreationText(const char* text);

#endif
