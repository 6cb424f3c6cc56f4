#include "qfguid.h"

#include <stdio.h>
#include <string.h>

namespace {

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Reads exactly `digits` hex digits; the caller has checked the length.
bool ReadHex(const char* text, int digits, uint32_t* out)
{
    uint32_t value = 0;
    for (int i = 0; i < digits; ++i) {
        int v = HexValue(text[i]);
        if (v < 0)
            return false;
        value = (value << 4) | static_cast<uint32_t>(v);
    }
    *out = value;
    return true;
}

}  // namespace

bool QfGuidFromText(const char* text, QfGuid* out)
{
    // Positions of the dashes and braces in the 38-character form.
    static const char kShape[] = "{........-....-....-....-............}";
    if (!text || strlen(text) != 38)
        return false;
    for (int i = 0; i < 38; ++i) {
        if (kShape[i] != '.' && text[i] != kShape[i])
            return false;
    }
    QfGuid g;
    uint32_t v = 0;
    if (!ReadHex(text + 1, 8, &v))
        return false;
    g.data1 = v;
    if (!ReadHex(text + 10, 4, &v))
        return false;
    g.data2 = static_cast<uint16_t>(v);
    if (!ReadHex(text + 15, 4, &v))
        return false;
    g.data3 = static_cast<uint16_t>(v);
    static const int kBytePos[8] = {20, 22, 25, 27, 29, 31, 33, 35};
    for (int i = 0; i < 8; ++i) {
        if (!ReadHex(text + kBytePos[i], 2, &v))
            return false;
        g.data4[i] = static_cast<uint8_t>(v);
    }
    *out = g;
    return true;
}

void QfGuidToText(const QfGuid& g, char* out)
{
    snprintf(out, 39, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", static_cast<unsigned>(g.data1),
             g.data2, g.data3, g.data4[0], g.data4[1], g.data4[2], g.data4[3], g.data4[4], g.data4[5],
             g.data4[6], g.data4[7]);
}

bool QfGuidEqual(const QfGuid& a, const QfGuid& b)
{
    return memcmp(&a, &b, sizeof(QfGuid)) == 0;
}
