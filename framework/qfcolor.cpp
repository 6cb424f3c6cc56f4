#include "qfcolor.h"

#include <algorithm>
#include <ctype.h>
#include <stdio.h>
#include <string.h>

#include "qfpattern.h"

namespace {

constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b, bool paletteRelative)
{
    return r | (g << 8) | (b << 16) | (paletteRelative ? QF_COLOR_PALETTE_RELATIVE : 0u);
}
constexpr uint32_t Sys(uint32_t index)
{
    return QF_COLOR_SYSTEM + index;
}

const QfStockColor kStock[QF_STOCK_COLORS + 1] = {
    {"White", Rgb(255, 255, 255, false)},
    {"Pale Yellow", Rgb(255, 255, 192, true)},
    {"Light Yellow", Rgb(255, 255, 128, true)},
    {"Yellow", Rgb(255, 255, 0, false)},
    {"Lime", Rgb(192, 255, 128, true)},
    {"Pale Green", Rgb(192, 255, 192, true)},
    {"Green", Rgb(0, 255, 0, false)},
    {"Apple Green", Rgb(64, 192, 64, true)},
    {"Sea Green", Rgb(128, 192, 128, true)},
    {"Olive Green", Rgb(128, 128, 0, false)},
    {"Dark Green", Rgb(64, 128, 64, true)},
    {"Blue Green", Rgb(64, 255, 192, true)},
    {"Spring Green", Rgb(64, 192, 128, true)},
    {"Sky Blue", Rgb(192, 255, 255, true)},
    {"Aquamarine", Rgb(128, 255, 255, true)},
    {"Cyan", Rgb(0, 255, 255, false)},
    {"Teal", Rgb(0, 192, 192, true)},
    {"Blue Gray", Rgb(128, 192, 192, true)},
    {"Turquoise", Rgb(0, 128, 128, false)},
    {"Powder Blue", Rgb(64, 192, 255, true)},
    {"Slate Blue", Rgb(64, 128, 192, true)},
    {"Royal Blue", Rgb(0, 128, 255, true)},
    {"Blue", Rgb(0, 0, 255, false)},
    {"Dark Blue", Rgb(0, 0, 192, true)},
    {"Navy Blue", Rgb(0, 0, 128, false)},
    {"Periwinkle", Rgb(192, 192, 255, true)},
    {"Cornflower", Rgb(128, 128, 255, true)},
    {"Cadet Blue", Rgb(128, 128, 192, true)},
    {"Light Purple", Rgb(192, 128, 192, true)},
    {"Violet", Rgb(128, 64, 192, true)},
    {"Magenta", Rgb(255, 0, 255, false)},
    {"Wild Strawberry", Rgb(255, 64, 128, true)},
    {"Mulberry", Rgb(192, 64, 128, true)},
    {"Plum", Rgb(128, 0, 128, false)},
    {"Pink", Rgb(255, 192, 192, true)},
    {"Salmon", Rgb(255, 128, 128, true)},
    {"Burnt Sienna", Rgb(192, 128, 128, true)},
    {"Red", Rgb(255, 0, 0, false)},
    {"Brick Red", Rgb(192, 0, 0, true)},
    {"Burnt Orange", Rgb(192, 64, 64, true)},
    {"Indian Red", Rgb(128, 0, 0, false)},
    {"Apricot", Rgb(255, 192, 64, true)},
    {"Peach", Rgb(255, 192, 128, true)},
    {"Orange", Rgb(255, 128, 0, true)},
    {"Saddle", Rgb(192, 128, 64, true)},
    {"Sand", Rgb(192, 192, 128, true)},
    {"Brown", Rgb(128, 64, 0, true)},
    {"Bright Gray", Rgb(224, 224, 224, true)},
    {"Light Gray", Rgb(192, 192, 192, false)},
    {"Gray", Rgb(128, 128, 128, false)},
    {"Dark Gray", Rgb(64, 64, 64, true)},
    {"Black", Rgb(0, 0, 0, false)},
    {"Transparent", QF_COLOR_TRANSPARENT},
    {"Inverse", QF_COLOR_INVERSE},
    {"Color_ScrollBar", Sys(0)},
    {"Color_Background", Sys(1)},
    {"Color_ActiveCaption", Sys(2)},
    {"Color_InactiveCaption", Sys(3)},
    {"Color_Menu", Sys(4)},
    {"Color_Window", Sys(5)},
    {"Color_WindowFrame", Sys(6)},
    {"Color_MenuText", Sys(7)},
    {"Color_WindowText", Sys(8)},
    {"Color_CaptionText", Sys(9)},
    {"Color_ActiveBorder", Sys(10)},
    {"Color_InactiveBorder", Sys(11)},
    {"Color_AppWorkspace", Sys(12)},
    {"Color_Highlight", Sys(13)},
    {"Color_HighlightText", Sys(14)},
    {"Color_Btnface", Sys(15)},
    {"Color_BtnShadow", Sys(16)},
    {"Color_GrayText", Sys(17)},
    {"Color_Btntext", Sys(18)},
    {"Color_InactiveCaptionText", Sys(19)},
    {"Color_BtnHighlight", Sys(20)},
    {"Color_3DFace", Sys(15)},
    {"Color_3DHilight", Sys(20)},
    {"Color_3DShadow", Sys(16)},
    {"Color_3DDkShadow", Sys(21)},
    {"Color_3DLight", Sys(22)},
    {"Color_InfoText", Sys(23)},
    {"Color_InfoBk", Sys(24)},
    {"Color_Desktop", Sys(1)},
    {"Color_BtnHilight", Sys(20)},
    {"Color_3DHighlight", Sys(20)},
    {nullptr, 0},
};

int CompareNoCase(const char* a, const char* b)
{
    for (;; ++a, ++b) {
        int ca = tolower(static_cast<unsigned char>(*a));
        int cb = tolower(static_cast<unsigned char>(*b));
        if (ca != cb || ca == 0)
            return ca - cb;
    }
}

// Positions of the table's entries in alphabetical order, ignoring case.
struct AlphabeticalIndex {
    uint8_t order[QF_STOCK_COLORS];
    AlphabeticalIndex()
    {
        for (int i = 0; i < QF_STOCK_COLORS; ++i)
            order[i] = static_cast<uint8_t>(i);
        std::sort(order, order + QF_STOCK_COLORS,
                  [](uint8_t a, uint8_t b) { return CompareNoCase(kStock[a].name, kStock[b].name) < 0; });
    }
};

const AlphabeticalIndex& Index()
{
    static const AlphabeticalIndex index;
    return index;
}

const QfStockColor* FindStock(const char* name)
{
    const AlphabeticalIndex& index = Index();
    int low = 0, high = QF_STOCK_COLORS - 1;
    while (low <= high) {
        int mid = (low + high) / 2;
        const QfStockColor& entry = kStock[index.order[mid]];
        int c = CompareNoCase(name, entry.name);
        if (c == 0)
            return &entry;
        if (c < 0)
            high = mid - 1;
        else
            low = mid + 1;
    }
    return nullptr;
}

uint32_t Clamp(int component)
{
    return static_cast<uint32_t>(component < 0 ? 0 : component > 255 ? 255 : component);
}

}  // namespace

const QfStockColor* QfStockColorTable()
{
    return kStock;
}

const char* QfStockColorNameAt(uint32_t index)
{
    return index < QF_STOCK_COLORS ? kStock[index].name : nullptr;
}

int32_t QfReadLenientInt(const char* text, const char** end)
{
    const char* p = text;
    while (*p == ' ')
        ++p;
    bool negative = false;
    while (*p == '-') {
        negative = !negative;
        ++p;
    }
    uint32_t value = 0;  // unsigned: overlong numbers wrap instead of overflowing
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
        p += 2;
        for (;; ++p) {
            int digit;
            if (*p >= '0' && *p <= '9')
                digit = *p - '0';
            else if (*p >= 'a' && *p <= 'f')
                digit = *p - 'a' + 10;
            else if (*p >= 'A' && *p <= 'F')
                digit = *p - 'A' + 10;
            else
                break;
            value = value * 16 + static_cast<uint32_t>(digit);
        }
    } else {
        for (; *p >= '0' && *p <= '9'; ++p)
            value = value * 10 + static_cast<uint32_t>(*p - '0');
    }
    if (end)
        *end = p;
    return static_cast<int32_t>(negative ? 0u - value : value);
}

uint32_t QfParseColor(const char* text, char* canonical)
{
    if (!text)
        return QF_COLOR_NULL;
    const char* p = text;
    while (*p == ' ')
        ++p;
    char word[4] = "";
    int matched = QfMatchPattern(p, "{a[Rr][Gg][Bb]|[Hh][Ll][Ss]}\\(", word);
    if (matched < 0) {
        const QfStockColor* entry = FindStock(p);
        if (!entry)
            return QF_COLOR_NULL;
        if (canonical) {
            strncpy(canonical, p, QF_COLOR_TEXT_MAX - 1);
            canonical[QF_COLOR_TEXT_MAX - 1] = '\0';
        }
        return entry->value;
    }
    p += matched;
    uint32_t n[3];
    for (int i = 0; i < 3; ++i) {
        n[i] = static_cast<uint32_t>(QfReadLenientInt(p, &p)) & 0xFF;
        while (*p == ' ')
            ++p;
        if (i < 2 && *p == ',')
            ++p;
    }
    if (*p != ')')
        return QF_COLOR_NULL;
    uint32_t value;
    if (word[0] == 'R' || word[0] == 'r')
        value = n[0] | (n[1] << 8) | (n[2] << 16);
    else
        value = QfHlsToColor(QfPackHls(n[0], n[1], n[2]));
    if (canonical)
        snprintf(canonical, QF_COLOR_TEXT_MAX, "%s(%d,%d,%d)", word, static_cast<int>(n[0]), static_cast<int>(n[1]),
                 static_cast<int>(n[2]));
    return value | QF_COLOR_PALETTE_RELATIVE;
}

uint32_t QfHlsToColor(uint32_t packed)
{
    int h = static_cast<int>(packed & 0xFF) % 240;
    int s = static_cast<int>((packed >> 8) & 0xFF);
    int l = static_cast<int>((packed >> 16) & 0xFF);
    int m2 = l <= 120 ? l * (240 + s) / 240 : s + l * (240 - s) / 240;
    int M2 = m2 * 256 / 240;
    int M1 = (2 * l - m2) * 256 / 240;
    int D = M2 - M1;
    int r, g, b;
    switch (h / 40) {
    case 0:
        r = M2, g = M1 + D * h / 40, b = M1;
        break;
    case 1:
        r = M1 + D * (80 - h) / 40, g = M2, b = M1;
        break;
    case 2:
        r = M1, g = M2, b = M1 + D * (h - 80) / 40;
        break;
    case 3:
        r = M1, g = M1 + D * (160 - h) / 40, b = M2;
        break;
    case 4:
        r = M1 + D * (h - 160) / 40, g = M1, b = M2;
        break;
    default:
        r = M2, g = M1, b = M1 + D * (240 - h) / 40;
        break;
    }
    // Saturation above 240 can drive a component below 0 as well as above
    // 255; both are clamped so that no component spills into another.
    return Clamp(r) | (Clamp(g) << 8) | (Clamp(b) << 16);
}

QfHls QfColorToHls(uint32_t colour)
{
    int r = static_cast<int>(colour & 0xFF), g = static_cast<int>((colour >> 8) & 0xFF);
    int b = static_cast<int>((colour >> 16) & 0xFF);
    int mx = std::max(r, std::max(g, b)), mn = std::min(r, std::min(g, b));
    QfHls out;
    out.lightness = ((mx + mn) * 240 + 255) / 510;
    if (mx == mn) {
        out.saturation = 0;
        out.hue = 0;
        return out;
    }
    int range = mx - mn;
    if (out.lightness <= 120)
        out.saturation = (range * 240 + (mx + mn) / 2) / (mx + mn);
    else
        out.saturation = (range * 240 + (510 - mx - mn) / 2) / (510 - mx - mn);
    int rd = ((mx - r) * 40 + range / 2) / range;
    int gd = ((mx - g) * 40 + range / 2) / range;
    int bd = ((mx - b) * 40 + range / 2) / range;
    int h;
    if (r == mx)
        h = bd - gd;
    else if (g == mx)
        h = 80 + rd - bd;
    else
        h = 160 + gd - rd;
    out.hue = (h % 240 + 240) % 240;
    return out;
}

void QfBuildDefaultPalette(const QfPaletteEntry* system, QfPaletteEntry* out)
{
    for (int i = 0; i < 256; ++i)
        out[i] = {0, 0, 0, QF_PALETTE_NOCOLLAPSE};
    for (int i = 0; i < 10; ++i) {
        out[i] = {system[i].red, system[i].green, system[i].blue, 0};
        out[246 + i] = {system[246 + i].red, system[246 + i].green, system[246 + i].blue, 0};
    }
    out[10] = {224, 224, 224, QF_PALETTE_NOCOLLAPSE};
    out[245] = {64, 64, 64, QF_PALETTE_NOCOLLAPSE};
    auto isStatic = [&](int r, int g, int b) {
        for (int i = 0; i < 256; i = i == 9 ? 246 : i + 1) {
            if (out[i].red == r && out[i].green == g && out[i].blue == b && out[i].flags == 0)
                return true;
        }
        return false;
    };
    static const int kLevels[7] = {0x00, 0x33, 0x66, 0x99, 0xCC, 0xFF, 0x80};
    int next = 11;
    // The six-level cube first, then the colours with 0x80 as green.
    for (int pass = 0; pass < 2 && next < 245; ++pass) {
        for (int r = 0; r < 6 && next < 245; ++r) {
            for (int gi = pass == 0 ? 0 : 6; gi < (pass == 0 ? 6 : 7) && next < 245; ++gi) {
                for (int b = 0; b < 6 && next < 245; ++b) {
                    int red = kLevels[r], green = kLevels[gi], blue = kLevels[b];
                    if (isStatic(red, green, blue))
                        continue;
                    out[next++] = {static_cast<uint8_t>(red), static_cast<uint8_t>(green), static_cast<uint8_t>(blue),
                                   QF_PALETTE_NOCOLLAPSE};
                }
            }
        }
    }
}
