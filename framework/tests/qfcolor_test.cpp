#include "qfcolor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <stdlib.h>
#include <string>

namespace {

struct Parsed {
    uint32_t value;
    std::string canonical;
};

Parsed Parse(const char* text)
{
    char buf[QF_COLOR_TEXT_MAX];
    strcpy(buf, "<untouched>");
    uint32_t v = QfParseColor(text, buf);
    return {v, buf};
}

}  // namespace

TEST(QfColorNames, AnyCaseButNoTrailingSpace)
{
    struct Case {
        const char* text;
        uint32_t value;
        const char* canonical;
    } cases[] = {
        {"Pale Yellow", 0x02C0FFFF, "Pale Yellow"},
        {"pale yellow", 0x02C0FFFF, "pale yellow"},
        {"PALE YELLOW", 0x02C0FFFF, "PALE YELLOW"},
        {"   Pale Yellow", 0x02C0FFFF, "Pale Yellow"},
        {"Pale Yellow ", QF_COLOR_NULL, "<untouched>"},
        {"Pale  Yellow", QF_COLOR_NULL, "<untouched>"},
        {"Mauve", QF_COLOR_NULL, "<untouched>"},
        {"", QF_COLOR_NULL, "<untouched>"},
        {"White", 0x00FFFFFF, "White"},
        {"Black", 0x00000000, "Black"},
        {"Orange", 0x020080FF, "Orange"},
        {"Transparent", QF_COLOR_TRANSPARENT, "Transparent"},
        {"inverse", QF_COLOR_INVERSE, "inverse"},
        {"Color_3DFace", 0x2000000F, "Color_3DFace"},
        {"Color_Btnface", 0x2000000F, "Color_Btnface"},
        {"Color_BtnFace", 0x2000000F, "Color_BtnFace"},
        {"Color_BtnText", 0x20000012, "Color_BtnText"},
        {"Color_Desktop", 0x20000001, "Color_Desktop"},
        {"Color_3DHighlight", 0x20000014, "Color_3DHighlight"},
        {"Color_InfoBk", 0x20000018, "Color_InfoBk"},
    };
    for (const Case& c : cases) {
        Parsed p = Parse(c.text);
        EXPECT_EQ(p.value, c.value) << "'" << c.text << "'";
        EXPECT_EQ(p.canonical, c.canonical) << "'" << c.text << "'";
    }
    EXPECT_EQ(QfParseColor(nullptr, nullptr), QF_COLOR_NULL);
    EXPECT_EQ(QfParseColor("Red", nullptr), 0x000000FFu);
}

TEST(QfColorNames, EveryStockNameFindsItsOwnEntry)
{
    const QfStockColor* table = QfStockColorTable();
    std::set<std::string> names;
    int count = 0;
    for (; table[count].name; ++count) {
        EXPECT_EQ(QfParseColor(table[count].name, nullptr), table[count].value) << table[count].name;
        std::string lower = table[count].name;
        for (char& ch : lower)
            ch = static_cast<char>(tolower(ch));
        EXPECT_TRUE(names.insert(lower).second) << "duplicate " << lower;
        EXPECT_STREQ(QfStockColorNameAt(count), table[count].name);
    }
    EXPECT_EQ(count, QF_STOCK_COLORS);
    EXPECT_EQ(QfStockColorNameAt(QF_STOCK_COLORS), nullptr);
    EXPECT_STREQ(table[0].name, "White");
    EXPECT_STREQ(table[51].name, "Black");
    EXPECT_STREQ(table[84].name, "Color_3DHighlight");
}

TEST(QfColorNumeric, RgbForms)
{
    struct Case {
        const char* text;
        uint32_t value;
        const char* canonical;
    } cases[] = {
        {"rgb(255,0,0)", 0x020000FF, "rgb(255,0,0)"},
        {"RGB(256,1,2)", 0x02020100, "RGB(0,1,2)"},
        {"RGB( 1, 2 ,3 )", 0x02030201, "RGB(1,2,3)"},
        {"rgb(1 2 3)", 0x02030201, "rgb(1,2,3)"},
        {"  rGb(0x10,0X0a,-1)", 0x02FF0A10, "rGb(16,10,255)"},
        {"rgb(--5,,)", 0x02000005, "rgb(5,0,0)"},
        {"rgb()", 0x02000000, "rgb(0,0,0)"},
        {"rgb (1,2,3)", QF_COLOR_NULL, "<untouched>"},
        {"rgb(1,2,3", QF_COLOR_NULL, "<untouched>"},
        {"rgb(1,2,3,4)", QF_COLOR_NULL, "<untouched>"},
        {"rgb(1;2;3)", QF_COLOR_NULL, "<untouched>"},
    };
    for (const Case& c : cases) {
        Parsed p = Parse(c.text);
        EXPECT_EQ(p.value, c.value) << c.text;
        if (c.value != QF_COLOR_NULL) {
            EXPECT_EQ(p.value >> 24, 0x02u) << c.text;
        }
        EXPECT_EQ(p.canonical, c.canonical) << c.text;
    }
    EXPECT_EQ(Parse("rgb(1,2,3)").value, Parse("rgb(1 2 3)").value);
    // Overlong numbers wrap instead of overflowing; only the low 8 bits count.
    EXPECT_EQ(Parse("rgb(99999999999999999999,1,1)").value >> 8, 0x020101u);
}

TEST(QfColorNumeric, HlsCornersAndRanges)
{
    struct Case {
        const char* text;
        uint32_t value;
    } cases[] = {
        {"hls(0,120,240)", 0x020000FF},    {"hls(80,120,240)", 0x0200FF00},  {"hls(160,120,240)", 0x02FF0000},
        {"HLS(40,120,240)", 0x0200FFFF},   {"hls(240,120,240)", 0x020000FF},  // hue modulo 240
        {"hls(0,240,0)", 0x02FFFFFF},      {"hls(77,240,200)", 0x02FFFFFF},   {"hls(123,0,240)", 0x02000000},
        {"hls(5,0,17)", 0x02000000},       {"hls(0,120,0)", 0x02808080},
    };
    for (const Case& c : cases)
        EXPECT_EQ(QfParseColor(c.text, nullptr), c.value) << c.text;
    char canonical[QF_COLOR_TEXT_MAX];
    QfParseColor("Hls( 10 ,20, 30)", canonical);
    EXPECT_STREQ(canonical, "Hls(10,20,30)");
    // Saturation above 240 drives components out of range on both sides;
    // none may spill into a neighbour.
    uint32_t wild = QfParseColor("hls(0,120,255)", nullptr);
    EXPECT_EQ(wild & 0xFF, 0xFFu);
    EXPECT_EQ((wild >> 8) & 0xFF, 0u);
    EXPECT_EQ(wild >> 24, 0x02u);
}

TEST(QfColorHls, InverseRoundTripsEveryStockColour)
{
    for (const QfStockColor* e = QfStockColorTable(); e->name; ++e) {
        if (e->value >> 24 > 0x02)
            continue;  // specials and system colours
        uint32_t rgb = e->value & 0xFFFFFF;
        QfHls hls = QfColorToHls(rgb);
        EXPECT_GE(hls.hue, 0);
        EXPECT_LT(hls.hue, 240);
        EXPECT_LE(hls.lightness, 240);
        EXPECT_LE(hls.saturation, 240);
        uint32_t back = QfHlsToColor(QfPackHls(hls.hue, hls.lightness, hls.saturation));
        for (int shift = 0; shift < 24; shift += 8) {
            int a = (rgb >> shift) & 0xFF, b = (back >> shift) & 0xFF;
            EXPECT_LE(abs(a - b), 4) << e->name << " component " << shift / 8;
        }
    }
    QfHls red = QfColorToHls(0x0000FF);
    EXPECT_EQ(red.hue, 0);
    EXPECT_EQ(red.lightness, 120);
    EXPECT_EQ(red.saturation, 240);
    EXPECT_EQ(QfColorToHls(0xFF0000).hue, 160);
    EXPECT_EQ(QfColorToHls(0x00FF00).hue, 80);
    QfHls gray = QfColorToHls(0x808080);
    EXPECT_EQ(gray.saturation, 0);
    EXPECT_EQ(gray.lightness, 120);
}

TEST(QfLenientInt, Forms)
{
    struct Case {
        const char* text;
        int32_t value;
        int consumed;
    } cases[] = {{"12x", 12, 2},   {"  -7", -7, 4},    {"--7", 7, 3},  {"0x1F!", 31, 4},
                 {"0Xff", 255, 4}, {"abc", 0, 0},      {"", 0, 0},     {"- 3", 0, 1}};
    for (const Case& c : cases) {
        const char* end = nullptr;
        EXPECT_EQ(QfReadLenientInt(c.text, &end), c.value) << c.text;
        EXPECT_EQ(end - c.text, c.consumed) << c.text;
    }
}

TEST(QfDefaultPalette, FixedEntriesAndADistinctCube)
{
    QfPaletteEntry system[256] = {};
    const uint8_t statics[20][3] = {{0, 0, 0},       {128, 0, 0},     {0, 128, 0},     {128, 128, 0},
                                    {0, 0, 128},     {128, 0, 128},   {0, 128, 128},   {192, 192, 192},
                                    {192, 220, 192}, {166, 202, 240}, {255, 251, 240}, {160, 160, 164},
                                    {128, 128, 128}, {255, 0, 0},     {0, 255, 0},     {255, 255, 0},
                                    {0, 0, 255},     {255, 0, 255},   {0, 255, 255},   {255, 255, 255}};
    for (int i = 0; i < 20; ++i) {
        int slot = i < 10 ? i : 236 + i;
        system[slot] = {statics[i][0], statics[i][1], statics[i][2], 0};
    }
    QfPaletteEntry out[256];
    QfBuildDefaultPalette(system, out);
    EXPECT_EQ(out[1].red, 128);
    EXPECT_EQ(out[1].flags, 0);
    EXPECT_EQ(out[255].red, 255);
    EXPECT_EQ(out[255].flags, 0);
    EXPECT_EQ(out[10].red, 224);
    EXPECT_EQ(out[10].flags, QF_PALETTE_NOCOLLAPSE);
    EXPECT_EQ(out[245].green, 64);
    EXPECT_EQ(out[245].flags, QF_PALETTE_NOCOLLAPSE);
    std::set<uint32_t> colours;
    for (int i = 0; i < 256; ++i)
        EXPECT_TRUE(colours.insert(out[i].red | out[i].green << 8 | out[i].blue << 16).second)
            << "entry " << i << " repeats a colour";
    const int levels[] = {0x00, 0x33, 0x66, 0x99, 0xCC, 0xFF, 0x80};
    for (int i = 11; i < 245; ++i) {
        EXPECT_EQ(out[i].flags, QF_PALETTE_NOCOLLAPSE);
        for (int c : {out[i].red, out[i].green, out[i].blue})
            EXPECT_NE(std::find(levels, levels + 7, c), levels + 7) << "entry " << i;
    }
}
