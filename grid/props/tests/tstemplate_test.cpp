// Size templates: reading every item form, the errors, and formatting back.
#include "tstemplate.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tsdiag.h"

namespace {

struct Lines : TsDiagnostics {
    std::vector<std::string> diagnostics, traces;
    void Diagnostic(const char* line) override { diagnostics.push_back(line); }
    void Trace(const char* line) override { traces.push_back(line); }
};

TsSizeTemplate Parse(const char* text, int dpi = 96)
{
    return TsParseTemplate(text, dpi);
}

}  // namespace

TEST(TsSizeTemplates, KindsOfEachItemForm)
{
    struct Case {
        const char* text;
        uint16_t kinds;
    } cases[] = {
        {"[B]:[1R]", 0x0408}, {"[1R]", 0x0004}, {"[b]", 0x0008},     {"[20]", 0x0001},
        {"[10p]", 0x0001},    {"[12.5%]", 0x0010}, {"[.5%]", 0x0010}, {"MMMMMM", 0x0002},
        {"(3*M)", 0x0002},    {"[20]:M", 0x0201}, {"M:[2r]", 0x0402}, {"[50%]:[20]", 0x0110},
        {"[1R]:[B]", 0x0804}, {"[20+3p]", 0x0001},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Parse(c.text).kinds, c.kinds) << c.text;
}

TEST(TsSizeTemplates, NumbersOfEachItem)
{
    EXPECT_EQ(Parse("[20]").absolute[0], 20);
    EXPECT_EQ(Parse("[20]").absolute[1], TS_SIZE_UNSET);
    EXPECT_EQ(Parse("M:[20]").absolute[1], 20);
    EXPECT_EQ(Parse("[10p]", 96).absolute[0], 13);  // 96 x 1000 / 7200, rounded down
    EXPECT_EQ(Parse("[10p]", 144).absolute[0], 20);
    EXPECT_EQ(Parse("[7.5p]", 96).absolute[0], 10);
    EXPECT_EQ(Parse("[7.05P]", 7200).absolute[0], 705);
    EXPECT_EQ(Parse("[20+3p]", 96).absolute[0], 24);
    EXPECT_EQ(Parse("[+20]").absolute[0], 20);
    EXPECT_EQ(Parse("[99999]").absolute[0], 32767);  // capped
    EXPECT_EQ(Parse("[99999p+99999p]", 600).absolute[0], 32767);
    EXPECT_EQ(Parse("[12.5%]").percent, 12500u);
    EXPECT_EQ(Parse("[.5%]").percent, 500u);
    EXPECT_EQ(Parse("[100%]").percent, 100000u);
    EXPECT_EQ(Parse("[3.14159%]").kinds, 0);  // at most three decimals
    EXPECT_EQ(Parse("[7.%]").percent, 7000u);
    EXPECT_EQ(Parse("[999r]").weight, 999);
}

TEST(TsSizeTemplates, TextItemsAreUnescapedAndRepeated)
{
    struct Case {
        const char* text;
        const char* measured;
    } cases[] = {
        {"(3*M)", "MMM"},       {"(*Wi)", "Wi"},        {"ab(2*cd)e", "abcdcde"},
        {"a\\:b", "a:b"},       {"\\[x\\]", "[x]"},     {"(2*\\))", "))"},
        {"(0*M)x", "x"},        {"44:44:44", nullptr},  // a colon separates items: three is an error
        {"(0*M)", nullptr},     {"()[9]", nullptr},     // a text of nothing would read back as no template
    };
    for (const Case& c : cases) {
        const TsSizeTemplate t = Parse(c.text);
        if (!c.measured) {
            EXPECT_EQ(t.kinds, 0) << c.text;
            continue;
        }
        EXPECT_EQ(t.kinds, TS_SIZE_TEXT) << c.text;
        EXPECT_STREQ(t.text, c.measured) << c.text;
    }
    EXPECT_EQ(Parse("(127*M)").kinds, TS_SIZE_TEXT);
    EXPECT_EQ(Parse("(128*M)").kinds, 0);  // expands past 127 characters
    EXPECT_EQ(Parse("(999*MMMMMMMMMM)").kinds, 0);
}

TEST(TsSizeTemplates, SyntaxErrorsLeaveNoKind)
{
    const char* bad[] = {
        "",         "[20",      "[20]:[1R]:[B]", "[1R]:[2R]", "M:W",       "[B]:[b]",   "[M]",
        "[1234r]",  "[123456]", "[20.5]",        "[20p+]",    "[%]",       "(3*M",      "(3*(M))",
        "a\\",      ":M",       "M:",            "[20] ",     "(1234*M)", "(3M)",
    };
    for (const char* text : bad)
        EXPECT_EQ(Parse(text).kinds, 0) << "'" << text << "'";
    EXPECT_EQ(TsParseTemplate(nullptr, 96).kinds, 0);
    EXPECT_EQ(Parse(std::string(128, 'M').c_str()).kinds, 0);
    EXPECT_EQ(Parse(std::string(127, 'M').c_str()).kinds, TS_SIZE_TEXT);
}

TEST(TsSizeTemplates, ApplyingABadTextWritesTheLineAndKeepsTheOldTemplate)
{
    Lines lines;
    TsSizeTemplate column = Parse("[B]:[1R]");
    EXPECT_FALSE(TsApplyTemplateText(&column, "[20", 96, true, &lines));
    EXPECT_EQ(column.kinds, 0x0408);
    TsSizeTemplate row = Parse("[20]");
    EXPECT_FALSE(TsApplyTemplateText(&row, "[1R]:[2R]:[3R]", 96, false, &lines));
    EXPECT_EQ(row.absolute[0], 20);
    EXPECT_TRUE(TsApplyTemplateText(&row, "[30]", 96, false, &lines));
    EXPECT_EQ(row.absolute[0], 30);
    ASSERT_EQ(lines.diagnostics.size(), 2u);
    EXPECT_EQ(lines.diagnostics[0], "TS: (TsPropertyMgr) Col template syntax error.");
    EXPECT_EQ(lines.diagnostics[1], "TS: (TsPropertyMgr) Row template syntax error.");
}

TEST(TsSizeTemplates, ABestItemSetsTheColumnFlag)
{
    EXPECT_EQ(TsTemplateColumnFlags(Parse("[B]:[1R]")), TS_COLUMN_FLAG_BEST);
    EXPECT_EQ(TsTemplateColumnFlags(Parse("[1R]:[b]")), TS_COLUMN_FLAG_BEST);
    EXPECT_EQ(TsTemplateColumnFlags(Parse("[1R]")), 0);
}

TEST(TsSizeTemplates, FormattingBackUsesTheFixedForms)
{
    struct Case {
        const char* text;
        const char* formatted;
    } cases[] = {
        {"[B]:[1R]", "[b]:[1r]"}, {"[20]", "[20]"},         {"[12.5%]", "[12.500%]"},
        {"[.5%]", "[0.500%]"},    {"[50%]", "[50%]"},       {"[10p]", "[13]"},
        {"(3*M)", "MMM"},         {"M:[20]", "M:[20]"},     {"[25%]:[3.25%]", "[25%]"},
        {"a\\:b", "a\\:b"},       {"\\[x\\]", "\\[x\\]"},   {"[1R]:(2*W)", "[1r]:WW"},
    };
    for (const Case& c : cases) {
        const TsSizeTemplate t = Parse(c.text);
        if (std::string(c.text) == "[25%]:[3.25%]") {
            EXPECT_EQ(t.kinds, 0) << "a kind twice";
            continue;
        }
        EXPECT_EQ(TsFormatTemplate(t), c.formatted) << c.text;
        // What is written reads back to the same template.
        const TsSizeTemplate back = Parse(TsFormatTemplate(t).c_str());
        EXPECT_EQ(back.kinds, t.kinds) << c.text;
        EXPECT_STREQ(back.text, t.text) << c.text;
    }
}

TEST(TsSizeTemplates, DefaultsMeasureRunsOfM)
{
    EXPECT_EQ(TsTemplateM().kinds, TS_SIZE_TEXT);
    EXPECT_STREQ(TsTemplateM().text, "M");
    EXPECT_STREQ(TsTemplateDefault().text, "MMMMMM");
    EXPECT_STREQ(TsTemplateAutoSearch().text, "MMMMMMMM");
    EXPECT_EQ(TsFormatTemplate(TsTemplateDefault()), "MMMMMM");
}
