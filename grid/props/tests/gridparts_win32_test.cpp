// Under Wine: the grid's alias tables over the framework's real display
// service (as Ts.dll will use them), and the system string comparison in
// the row sort. The framework is reached only through its root and slots.
#include <windows.h>

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "tsalias.h"
#include "tsaliasnames.h"
#include "tsdiag.h"
#include "tsf_harness.h"
#include "tsqfdisplay.h"
#include "tssort.h"
#include "tssystemcompare.h"

namespace {

struct Lines : TsDiagnostics {
    std::vector<std::string> diagnostics, traces;
    void Diagnostic(const char* line) override { diagnostics.push_back(line); }
    void Trace(const char* line) override { traces.push_back(line); }
};

void CountRefresh(void* context)
{
    ++*static_cast<int*>(context);
}

struct GridParts : ::testing::Test {
    IQfDispMgr* disp = tsf::Library::Get().display();
    int refreshes = 0;
    TsQfDisplay display{disp, CountRefresh, &refreshes};
    Lines lines;
    TsAliasNames names;

    void SetUp() override { ASSERT_NE(disp, nullptr) << "Tsf.dll did not load"; }
};

}  // namespace

TEST_F(GridParts, ThePlayersAliasesResolveToRealObjects)
{
    TsAliasTables tables(display, lines, names);
    EXPECT_EQ(GetObjectType(reinterpret_cast<HGDIOBJ>(tables.Object(TS_ALIAS_FONT, 0)->value)), OBJ_FONT);
    EXPECT_NE(tables.Object(TS_ALIAS_CURSOR, 0)->value, 0u);
    EXPECT_FALSE(display.IsNull(tables.Colors(0).background));

    EXPECT_EQ(tables.DefineColorPair("Default", "Bright Gray", "Black"), 0);
    const int row = tables.DefineColorPair("CurrentFocusRow", "Pale Yellow", nullptr);
    ASSERT_GT(row, 1);
    EXPECT_EQ(tables.Colors(row).text, tables.Colors(0).text);
    EXPECT_NE(tables.Colors(row).background, tables.Colors(0).background);
    EXPECT_EQ(tables.DefineFont("Default", "Arial : 10"), 0);
    EXPECT_EQ(GetObjectType(reinterpret_cast<HGDIOBJ>(tables.Object(TS_ALIAS_FONT, 0)->value)), OBJ_FONT);
    EXPECT_GT(tables.DefineCursor("FocusEdit", "!QfItalicCursor"), 0);
    EXPECT_EQ(refreshes, 1);
    EXPECT_GT(tables.ComposeColorPair(nullptr, "Dark Blue", 0), 1);
    EXPECT_TRUE(lines.diagnostics.empty()) << lines.diagnostics[0];
}

TEST_F(GridParts, WhatTheServiceCannotResolveFailsWithItsLine)
{
    TsAliasTables tables(display, lines, names);
    EXPECT_EQ(tables.DefineColorPair("X", "No Such Colour", nullptr), -1);
    EXPECT_EQ(tables.AssignIcon("IDI_NOSUCH(20,20)"), -1);
    EXPECT_EQ(tables.DefineFont("F", "Arial:10 bolder"), -1);
    ASSERT_EQ(lines.diagnostics.size(), 3u);
    EXPECT_EQ(lines.diagnostics[0], "TS: (TsDataMgr) Bk Color 'No Such Colour' invalid or unavailable.");
    EXPECT_EQ(lines.diagnostics[1], "TS: (TsDataMgr) Icon 'IDI_NOSUCH(20,20)' invalid or unavailable.");
    EXPECT_EQ(lines.diagnostics[2], "TS: (TsDataMgr) Font 'Arial:10 bolder' invalid or unavailable.");
}

TEST_F(GridParts, TablesGiveBackEveryReferenceTheyTook)
{
    QfGraphic* yellow = display.GetColor("Pale Yellow");
    QfGraphic* font = display.GetFont("Arial : 10");
    const int32_t yellowRefs = yellow->refs, fontRefs = font->refs;
    for (int round = 0; round < 50; ++round) {
        TsAliasTables tables(display, lines, names);
        tables.DefineColorPair("Default", "Bright Gray", "Black");
        const int pair = tables.DefineColorPair("AutoSearch", "Pale Yellow", nullptr);
        tables.ComposeColorPair("AutoSearch", "Red", pair);
        tables.DefineFont("Default", "Arial : 10");
        tables.AssignFont("Arial : 10");
    }
    EXPECT_EQ(yellow->refs, yellowRefs);
    EXPECT_EQ(font->refs, fontRefs);
    display.Release(yellow);
    display.Release(font);
}

namespace {

struct OneColumn : TsSortSource {
    std::vector<std::string> texts;
    const char* KeyText(uint32_t line, uintptr_t) override { return texts[line].c_str(); }
    uint32_t LineData(uint32_t) override { return 0; }
};

}  // namespace

TEST(GridSortOnWindows, AlphabeticKeysUseTheSystemComparison)
{
    OneColumn column;
    column.texts = {"b", "A", "a", "B"};
    TsSortKeys keys = TsNoSortKeys();
    keys.count = 1;
    keys.flags[0] = TS_SORT_ASCENDING | TS_SORT_ALPHA;
    TsSortContext context{&keys, &column, TsCompareTextSystem};
    std::vector<uint32_t> lines = {0, 1, 2, 3};
    TsResortLines(context, lines.data(), lines.size(), 0);
    // The system puts letters together whatever their case, unlike byte order.
    EXPECT_EQ(std::tolower(column.texts[lines[0]][0]), 'a');
    EXPECT_EQ(std::tolower(column.texts[lines[1]][0]), 'a');
    EXPECT_EQ(std::tolower(column.texts[lines[2]][0]), 'b');
    EXPECT_EQ(TsCompareTextSystem("abc", "abc"), 0);
    EXPECT_LT(TsCompareTextSystem("apple", "Banana"), 0);
}
