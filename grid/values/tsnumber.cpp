#include "tsnumber.h"

namespace {

int DigitValue(char c, bool hex)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (hex && c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (hex && c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

}  // namespace

int32_t TsReadNumber(const char* text, const char** end)
{
    if (!text) {
        if (end)
            *end = text;
        return 0;
    }
    const char* p = text;
    while (*p == ' ' || *p == '\t')
        ++p;
    bool negative = false;
    while (*p == '-') {
        negative = !negative;
        ++p;
    }
    bool hex = p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && DigitValue(p[2], true) >= 0;
    if (hex)
        p += 2;
    uint32_t value = 0;
    for (int d; (d = DigitValue(*p, hex)) >= 0; ++p)
        value = value * (hex ? 16u : 10u) + static_cast<uint32_t>(d);
    if (end)
        *end = p;
    return static_cast<int32_t>(negative ? 0u - value : value);
}
