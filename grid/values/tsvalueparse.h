// The value syntax: how a text becomes values (list parsing, TSM_SETPROP
// with a text). One value per line; "%TSNoOp" and "%TSReset" (any case) are
// the no-op and reset markers; a leading backslash quotes the rest of the
// line, so "\%TSNoOp" is that text.
#ifndef ZUB_GRID_VALUES_TSVALUEPARSE_H
#define ZUB_GRID_VALUES_TSVALUEPARSE_H

#include "tsvlistmgr.h"

// One value (with a reference) from length characters of text.
TsValue* TsParseValue(const char* text, int length);

// Calls take(value) for each line of the text, handing over one reference
// each; take returns false to stop. A null or empty text is one empty
// value; a final line break ends the last value. Returns the number taken.
template <class F>
int TsParseValues(const char* text, F take)
{
    if (!text || !*text)
        return take(TsParseValue("", 0)) ? 1 : 0;
    int taken = 0;
    const char* line = text;
    while (*line) {
        const char* end = line;
        while (*end && *end != '\n')
            ++end;
        int length = static_cast<int>(end - line);
        if (length > 0 && line[length - 1] == '\r')
            --length;
        if (!take(TsParseValue(line, length)))
            return taken;
        ++taken;
        line = *end ? end + 1 : end;
    }
    return taken;
}

#endif
