// Scroll-bar hint templates: validation, the stored form, reading back and
// filling the fields.
#include "tshint.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tsdiag.h"

namespace {

struct Lines : TsDiagnostics {
    std::vector<std::string> diagnostics;
    void Diagnostic(const char* line) override { diagnostics.push_back(line); }
    void Trace(const char*) override {}
};

}  // namespace

TEST(TsScrollHints, StoredFormOfFieldsAndEscapes)
{
    struct Case {
        const char* text;
        const char* stored;
        const char* readBack;
    } cases[] = {
        {"Row {TSVisible}", "Row $1", "Row {TSVisible}"},
        {"{tsvisible} of {TSDISPLACE}", "$1 of $0", "{TSVisible} of {TSDisplace}"},
        {"{TsDisplace}", "$0", "{TSDisplace}"},
        {"cost $5", "cost \\$5", "cost $5"},
        {"\\{x\\}", "\\{x\\}", "\\{x\\}"},
        {"a\\\\b", "a\\\\b", "a\\\\b"},
        {"\\q", "\\q", "q"},  // other escapes lose their backslash on reading
        {"", "", ""},
    };
    for (const Case& c : cases) {
        std::string stored = "old";
        ASSERT_TRUE(TsParseScrollHint(c.text, &stored)) << c.text;
        EXPECT_EQ(stored, c.stored) << c.text;
        EXPECT_EQ(TsFormatScrollHint(stored), c.readBack) << c.text;
    }
}

TEST(TsScrollHints, InvalidTextsAreRefused)
{
    const char* bad[] = {"{TSVisib}", "{Visible}", "open {", "close }", "trailing \\", "{TSVisible", "{}",
                         "{ TSVisible}"};
    for (const char* text : bad) {
        std::string stored = "kept";
        EXPECT_FALSE(TsParseScrollHint(text, &stored)) << text;
        EXPECT_EQ(stored, "kept") << text;
    }
}

TEST(TsScrollHints, ABadHintWritesTheLineOfItsBarAndKeepsTheOldOne)
{
    Lines lines;
    std::string vertical, horizontal;
    ASSERT_TRUE(TsApplyScrollHintText(&vertical, "Row {TSVisible}", true, &lines));
    ASSERT_TRUE(TsApplyScrollHintText(&horizontal, "Col {TSDisplace}", false, &lines));
    EXPECT_FALSE(TsApplyScrollHintText(&vertical, "{oops}", true, &lines));
    EXPECT_FALSE(TsApplyScrollHintText(&horizontal, "{", false, &lines));
    EXPECT_EQ(vertical, "Row $1");
    EXPECT_EQ(horizontal, "Col $0");
    ASSERT_EQ(lines.diagnostics.size(), 2u);
    EXPECT_EQ(lines.diagnostics[0], "TS: (TsViewMgr) V-Scrollbar hint invalid; Hint unchanged.");
    EXPECT_EQ(lines.diagnostics[1], "TS: (TsViewMgr) H-Scrollbar hint invalid; Hint unchanged.");
}

TEST(TsScrollHints, FillingReplacesFieldsAndDropsEscapes)
{
    std::string stored;
    ASSERT_TRUE(TsParseScrollHint("Rows {TSVisible} from {TSDisplace} \\{$\\}", &stored));
    EXPECT_EQ(TsFillScrollHint(stored, "1-40", "120"), "Rows 1-40 from 120 {$}");
    // A literal "$1" typed by the client is not a field.
    ASSERT_TRUE(TsParseScrollHint("$1 {TSVisible}", &stored));
    EXPECT_EQ(TsFillScrollHint(stored, "v", "d"), "$1 v");
    EXPECT_EQ(TsFormatScrollHint(stored), "$1 {TSVisible}");
}
