#include "qffont.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

struct Result {
    bool ok;
    QfFontSpec spec;
    std::string canonical;
};

Result Parse(const char* text)
{
    Result r;
    QfFontSpecInit(&r.spec);
    r.ok = QfParseFontSpec(&r.spec, text);
    char out[QF_FONT_TEXT_MAX];
    QfFormatFontSpec(&r.spec, out);
    r.canonical = out;
    return r;
}

}  // namespace

TEST(QfFontSpecs, TextsAndTheirCanonicalForms)
{
    struct Case {
        const char* text;
        bool ok;
        const char* face;
        int32_t size;
        uint8_t flags;
        const char* canonical;
    } cases[] = {
        {"MS Sans Serif: 8", true, "MS Sans Serif", -800, QF_FONT_POINTS, "MS Sans Serif:8"},
        {"Arial:48 hw", true, "Arial", -4800, QF_FONT_POINTS | QF_FONT_HALFWIDTH, "Arial:48 hw"},
        {"Arial : 48 hw", true, "Arial", -4800, QF_FONT_POINTS | QF_FONT_HALFWIDTH, "Arial:48 hw"},
        {"Arial:10.5", true, "Arial", -1050, QF_FONT_POINTS, "Arial:10.5"},
        {"Arial:10.25", true, "Arial", -1025, QF_FONT_POINTS, "Arial:10.25"},
        {"Arial:10.05", true, "Arial", -1005, QF_FONT_POINTS, "Arial:10.05"},
        {"Arial:12 pix", true, "Arial", -12, 0, "Arial:12 pix"},
        {"Arial:12pix cell", true, "Arial", 12, 0, "Arial:12 pix cell"},
        {"Arial:12 cell", true, "Arial", 1200, QF_FONT_POINTS, "Arial:12 cell"},
        {"Arial:10 b -b", true, "Arial", -1000, QF_FONT_POINTS, "Arial:10"},
        {"Arial:10 bo it", true, "Arial", -1000, QF_FONT_POINTS | QF_FONT_BOLD | QF_FONT_ITALIC, "Arial:10 b i"},
        {"Tahoma:10.5 bold italic", true, "Tahoma", -1050, QF_FONT_POINTS | QF_FONT_BOLD | QF_FONT_ITALIC,
         "Tahoma:10.5 b i"},
        {"Arial:9 UNDERLINE s dw", true, "Arial", -900,
         QF_FONT_POINTS | QF_FONT_UNDERLINE | QF_FONT_STRIKEOUT | QF_FONT_DOUBLEWIDTH, "Arial:9 u s dw"},
        {"Arial", true, "Arial", 1000, QF_FONT_POINTS, "Arial:10 cell"},
        {"", true, "Arial", 1000, QF_FONT_POINTS, "Arial:10 cell"},
        {"Courier New", true, "Courier New", 1000, QF_FONT_POINTS, "Courier New:10 cell"},
        // The face pattern does not match, and the colon is no word.
        {":14", false, "Arial", 1000, QF_FONT_POINTS | QF_FONT_INVALID, ""},
        {"Arial:10 bolder", false, "Arial", -1000, QF_FONT_POINTS | QF_FONT_INVALID, ""},
        {"Arial:10 Ansi", false, "Arial", -1000, QF_FONT_POINTS | QF_FONT_INVALID, ""},
        {"Arial:10.5 pix", false, "Arial", 1000, QF_FONT_POINTS | QF_FONT_INVALID, ""},
        {"Arial:12345", false, "Arial", 1000, QF_FONT_POINTS | QF_FONT_INVALID, ""},
    };
    for (const Case& c : cases) {
        Result r = Parse(c.text);
        EXPECT_EQ(r.ok, c.ok) << "'" << c.text << "'";
        EXPECT_STREQ(r.spec.face, c.face) << "'" << c.text << "'";
        EXPECT_EQ(r.spec.size, c.size) << "'" << c.text << "'";
        EXPECT_EQ(r.spec.flags, c.flags) << "'" << c.text << "'";
        EXPECT_EQ(r.canonical, c.canonical) << "'" << c.text << "'";
    }
}

TEST(QfFontSpecs, CharacterSetWordsOnlyInOneCase)
{
    struct Case {
        const char* text;
        bool ok;
        uint8_t charSet;
    } cases[] = {{"Arial:10 ANSI", true, 0}, {"Arial:10 ansi", true, 0}, {"Arial:10 OEM", true, 255},
                 {"Arial:10 oem DCS", true, 1}, {"Arial:10 Oem", false, 1}, {"Arial:10 Ansi", false, 1}};
    for (const Case& c : cases) {
        Result r = Parse(c.text);
        EXPECT_EQ(r.ok, c.ok) << c.text;
        EXPECT_EQ(r.spec.charSet, c.charSet) << c.text;
    }
}

TEST(QfFontSpecs, FieldsNotMentionedKeepTheirValues)
{
    QfFontSpec spec;
    QfFontSpecInit(&spec);
    ASSERT_TRUE(QfParseFontSpec(&spec, "Times:20 b"));
    ASSERT_TRUE(QfParseFontSpec(&spec, "Times:9"));
    EXPECT_STREQ(spec.face, "Times");
    EXPECT_EQ(spec.size, -900);
    EXPECT_TRUE(spec.flags & QF_FONT_BOLD);
    // A failed parse marks the record; a good one afterwards clears the mark.
    EXPECT_FALSE(QfParseFontSpec(&spec, "Times:9 wobbly"));
    EXPECT_TRUE(spec.flags & QF_FONT_INVALID);
    EXPECT_TRUE(QfParseFontSpec(&spec, "Times:9"));
    EXPECT_FALSE(spec.flags & QF_FONT_INVALID);
}

TEST(QfFontSpecs, LongFaceNamesAreCut)
{
    std::string face(40, 'F');
    Result r = Parse((face + ":8").c_str());
    EXPECT_FALSE(r.ok) << "the face pattern stops at 32 characters, leaving the rest";
    r = Parse((std::string(32, 'F') + ":8").c_str());
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(std::string(r.spec.face), std::string(31, 'F'));
}

// Fonts made from records are filed by name: the character set is part of
// the name, and a record that no text can spell gets a name no text asks for.
TEST(QfFontRecordNames, KeepTheCharacterSetAndMarkWhatNoTextCanSpell)
{
    struct Case {
        const char* face;
        int32_t size;
        uint8_t charSet;
        uint8_t flags;
        bool spelled;
        const char* name;
    } cases[] = {
        {"Tahoma", -1050, 1, QF_FONT_POINTS | QF_FONT_BOLD, true, "Tahoma:10.5 b"},
        {"Arial", -1000, 0, QF_FONT_POINTS, true, "Arial:10 ANSI"},
        {"Arial", -1000, 255, QF_FONT_POINTS, true, "Arial:10 OEM"},
        {"Courier New", 14, 1, QF_FONT_ITALIC, true, "Courier New:14 pix cell i"},
        {"", -1000, 1, QF_FONT_POINTS, false, "#:10"},
        {"", -1000, 255, QF_FONT_POINTS, false, "#:10 OEM"},
        {"Arial", -1000, 128, QF_FONT_POINTS, false, "#Arial:10 charset 128"},
        {" Arial", -1000, 1, QF_FONT_POINTS, false, "# Arial:10"},
        {"Arial", -1234500, 1, QF_FONT_POINTS, false, "#Arial:12345"},
    };
    for (const Case& c : cases) {
        QfFontSpec spec = {};
        snprintf(spec.face, sizeof spec.face, "%s", c.face);
        spec.size = c.size;
        spec.charSet = c.charSet;
        spec.flags = c.flags;
        char name[QF_FONT_NAME_MAX];
        EXPECT_EQ(QfFontRecordName(&spec, name), c.spelled) << "'" << c.face << "' set " << int(c.charSet);
        EXPECT_STREQ(name, c.name);
        if (c.spelled) {
            Result back = Parse(name);
            EXPECT_TRUE(back.ok) << name;
            EXPECT_EQ(back.spec.charSet, c.charSet) << name;
        }
    }
}

TEST(QfFontRecordNames, AFaceOfThirtyTwoCharactersIsCutLikeAParsedOne)
{
    QfFontSpec spec = {};
    memset(spec.face, 'F', sizeof spec.face);  // no terminating NUL
    spec.size = -1000;
    spec.charSet = 1;
    spec.flags = QF_FONT_POINTS;
    char name[QF_FONT_NAME_MAX];
    EXPECT_TRUE(QfFontRecordName(&spec, name));
    EXPECT_EQ(std::string(name), std::string(31, 'F') + ":10");
}

TEST(QfFontHeights, PointsAtTheScreenResolution)
{
    struct Case {
        const char* text;
        int dpi;
        int base;
        int scaled;
        bool needsWidth;
    } cases[] = {
        {"MS Sans Serif: 8", 96, -10, -10, false},
        {"Arial:10", 96, -13, -13, false},
        {"Arial:10 cell", 120, 16, 16, false},
        {"Arial:48 hw", 96, -64, -32, true},
        {"Arial:48 dw", 96, -64, -128, true},
        {"Arial:48 hw dw", 96, -64, -64, false},
        {"Arial:12 pix", 96, -12, -12, false},
        {"Arial:7 pix hw", 96, -7, -3, true},
    };
    for (const Case& c : cases) {
        Result r = Parse(c.text);
        ASSERT_TRUE(r.ok) << c.text;
        EXPECT_EQ(QfFontBaseHeight(&r.spec, c.dpi), c.base) << c.text;
        EXPECT_EQ(QfFontScaledHeight(&r.spec, c.dpi), c.scaled) << c.text;
        EXPECT_EQ(QfFontNeedsWidth(&r.spec), c.needsWidth) << c.text;
    }
}
