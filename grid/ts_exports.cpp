#include "tsexports.h"

#include "qfpattern.h"

unsigned long TSAPI TsGetVersion(void)
{
    return TS_VERSION;
}

int TSAPI TsCheckPattern(const char* text, const char* pattern)
{
    // "$a!?": the caller's pattern, then the end of the text.
    return QfMatchPattern(text, "$a!?", pattern) >= 0 ? 1 : 0;
}
