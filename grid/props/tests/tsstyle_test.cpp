// Style keywords: reading both codes from a value and writing them back.
#include "tsstyle.h"

#include <gtest/gtest.h>

TEST(TsStyleKeywords, ReadTextAndIconCodesFromAnywhereInTheValue)
{
    struct Case {
        const char* text;
        uint16_t textCode, iconCode;
    } cases[] = {
        {"TSLeftText TSVCenterIcon", 0x301, 0xC08},
        {"TSRightIcon", 0, 0x303},
        {"tsrighticon", 0, 0x303},
        {"TSRIGHTICON", 0, 0},              // only first letters may change case
        {"SLCenterText SLBottomText", 0x302 | 0xC0C, 0},
        {"xx TsTopIcon yy TsCenterIcon", 0, 0xC04 | 0x302},
        {"TSLeftTextTSTopText", 0x301 | 0xC04, 0},
        {"TsVCenterText", 0xC08, 0},
        {"TsLeft Text", 0, 0},               // the part and Text are joined
        {"", 0, 0},
        {"plain words", 0, 0},
    };
    for (const Case& c : cases) {
        const TsStyle style = TsParseStyle(c.text);
        EXPECT_EQ(style.text, c.textCode) << c.text;
        EXPECT_EQ(style.icon, c.iconCode) << c.text;
    }
    EXPECT_EQ(TsParseStyle(nullptr).text, 0);
}

TEST(TsStyleKeywords, GenerationNamesBothPartsAndDefaultsToLeftTop)
{
    EXPECT_EQ(TsFormatAlignment(TS_ALIGN_DEFAULT, false), "TsLeftText TsTopText");
    EXPECT_EQ(TsFormatAlignment(0x303 | 0xC0C, true), "TsRightIcon TsBottomIcon");
    EXPECT_EQ(TsFormatAlignment(0x302 | 0xC08, false), "TsCenterText TsVCenterText");
    EXPECT_EQ(TsFormatAlignment(0, false), "TsLeftText TsTopText");
    // Bits without their given marks read as not given.
    EXPECT_EQ(TsFormatAlignment(0x0003 | 0xC08, false), "TsLeftText TsVCenterText");
    EXPECT_EQ(TsFormatStyle(TsStyle{0x301, 0xC08}), "TsLeftText TsTopText TsLeftIcon TsVCenterIcon");
}

TEST(TsStyleKeywords, GeneratedTextReadsBackToTheSameCodes)
{
    for (uint16_t h : {0x301, 0x302, 0x303}) {
        for (uint16_t v : {0xC04, 0xC08, 0xC0C}) {
            const TsStyle style{static_cast<uint16_t>(h | v), static_cast<uint16_t>(h | v)};
            const TsStyle back = TsParseStyle(TsFormatStyle(style).c_str());
            EXPECT_EQ(back.text, style.text) << TsFormatStyle(style);
            EXPECT_EQ(back.icon, style.icon) << TsFormatStyle(style);
        }
    }
}

TEST(TsStyleKeywords, ResetTableHasTheEightCodes)
{
    const uint16_t expected[8] = {0x0000, 0x0301, 0x0302, 0x0303, 0x0C04, 0x0F05, 0x0F06, 0x0F07};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(TsResetAlignments[i], expected[i]) << i;
}
