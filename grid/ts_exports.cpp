#include "tsexports.h"

#include "qfpattern.h"

unsigned long TSAPI TsGetVersion(void)
{
    return TS_VERSION;
}

int TSAPI TsCheckPattern(const char* text, const char* pattern)
{
    // "$a!?": the caller's pattern, then the end of the text. The letters are
    // given as a table, so a pattern from outside that names other letters
    // finds nothing bound to them instead of arguments that were never passed.
    void* letters[26] = {const_cast<char*>(pattern)};
    return QfMatchPatternTable(text, "$a!?", letters) >= 0 ? 1 : 0;
}
