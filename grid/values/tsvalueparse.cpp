#include "tsvalueparse.h"

#include "tsvalue.h"

TsValue* TsParseValue(const char* text, int length)
{
    if (!text || length <= 0)
        return TsEmpty();
    if (TsSameWord(text, length, "%TSNoOp"))
        return TsMakeMarker(TS_VALUE_NOOP);
    if (TsSameWord(text, length, "%TSReset"))
        return TsMakeMarker(TS_VALUE_RESET);
    if (text[0] == '\\')
        return TsMakeText(text + 1, length - 1);
    return TsMakeText(text, length);
}
