#include "tssystemcompare.h"

#include <windows.h>

int TsCompareTextSystem(const char* a, const char* b)
{
    return lstrcmpA(a ? a : "", b ? b : "");
}
