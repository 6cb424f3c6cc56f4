// Alias tables over a fake display service: definitions, the replaceable
// defaults, composed pairs, use counts, exhaustion and every failure line.
#include "tsalias.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tsaliasnames.h"
#include "tsdiag.h"

namespace {

// Objects by type and name, shared like the framework's table; a name that
// starts with "bad" does not resolve. Counts references to find leaks.
struct FakeDisplay : TsDisplayService {
    std::map<std::string, std::unique_ptr<QfGraphic>> objects;
    QfGraphic nulls[6] = {};
    int cursorRefreshes = 0;
    int live = 0;  // references handed out and not released

    QfGraphic* Get(uint32_t type, const std::string& spec)
    {
        ++live;
        if (spec.rfind("bad", 0) == 0 || spec.empty())
            return &nulls[type];
        std::unique_ptr<QfGraphic>& object = objects[std::to_string(type) + ":" + spec];
        if (!object) {
            object.reset(new QfGraphic{});
            object->type = type;
            object->value = objects.size();
        }
        ++object->refs;
        return object.get();
    }
    QfGraphic* GetColor(const char* spec) override { return Get(QF_GRAPHIC_COLOR, spec); }
    QfGraphic* GetFont(const char* spec) override { return Get(QF_GRAPHIC_FONT, spec); }
    QfGraphic* GetIcon(const char* spec, int, int) override { return Get(QF_GRAPHIC_ICON, spec); }
    QfGraphic* GetCursor(const char* spec) override { return Get(QF_GRAPHIC_CURSOR, spec); }
    QfGraphic* GetDefault(uint32_t type) override
    {
        return type == QF_GRAPHIC_ICON ? (++live, &nulls[type]) : Get(type, "(system)");
    }
    bool IsNull(const QfGraphic* object) override { return object >= nulls && object < nulls + 6; }
    QfGraphic* AddRef(QfGraphic* object) override
    {
        ++live;
        ++object->refs;
        return object;
    }
    void Release(QfGraphic* object) override
    {
        --live;
        --object->refs;
    }
    void RefreshCursor() override { ++cursorRefreshes; }
    QfGraphic* Named(uint32_t type, const char* spec) { return objects[std::to_string(type) + ":" + spec].get(); }
};

struct Lines : TsDiagnostics {
    std::vector<std::string> diagnostics, traces;
    void Diagnostic(const char* line) override { diagnostics.push_back(line); }
    void Trace(const char* line) override { traces.push_back(line); }
};

struct AliasTest : ::testing::Test {
    FakeDisplay display;
    Lines lines;
    TsAliasNames names;
    std::unique_ptr<TsAliasTables> tables{new TsAliasTables(display, lines, names)};

    QfGraphic* Colour(const char* name) { return display.Named(QF_GRAPHIC_COLOR, name); }
    std::string LastLine() const { return lines.diagnostics.empty() ? "" : lines.diagnostics.back(); }
};

}  // namespace

TEST_F(AliasTest, DefaultsExistAndAreReplaceableOnce)
{
    EXPECT_EQ(tables->Find(TS_ALIAS_COLORPAIR, "Default"), 0);
    EXPECT_EQ(tables->Find(TS_ALIAS_COLORPAIR, "textdefault"), 1);
    EXPECT_EQ(tables->Colors(0).background, Colour("Light Gray"));
    EXPECT_EQ(tables->Colors(0).text, Colour("Black"));
    EXPECT_EQ(tables->Colors(1).background, Colour("Transparent"));
    EXPECT_EQ(tables->Colors(1).text, Colour("Black"));  // the text of "Default"
    EXPECT_EQ(tables->IconMaxWidth(0), 128);

    // The client's first definition takes effect in place...
    EXPECT_EQ(tables->DefineColorPair("Default", "Bright Gray", "Black"), 0);
    EXPECT_EQ(tables->Colors(0).background, Colour("Bright Gray"));
    EXPECT_EQ(tables->Colors(1).text, Colour("Black"));
    EXPECT_EQ(tables->DefineFont("Default", "Arial : 10"), 0);
    EXPECT_EQ(tables->Object(TS_ALIAS_FONT, 0), display.Named(QF_GRAPHIC_FONT, "Arial : 10"));
    // ...and a second one is refused, keeping the first.
    EXPECT_EQ(tables->DefineColorPair("Default", "Red", "White"), -1);
    EXPECT_EQ(tables->Colors(0).background, Colour("Bright Gray"));
    EXPECT_EQ(tables->DefineFont("DEFAULT", "Courier:8"), -1);
    EXPECT_TRUE(lines.diagnostics.empty());
}

TEST_F(AliasTest, ANameDefinedTwiceKeepsItsFirstDefinition)
{
    const int folder = tables->DefineIcon("Folder", "IDI_FOLDER(20,20)");
    ASSERT_GT(folder, 0);
    EXPECT_EQ(tables->DefineIcon("folder", "IDI_PIANO(20,20)"), -1);
    EXPECT_EQ(tables->Object(TS_ALIAS_ICON, folder), display.Named(QF_GRAPHIC_ICON, "IDI_FOLDER(20,20)"));
    EXPECT_STREQ(tables->Name(TS_ALIAS_ICON, folder), "Folder");
}

TEST_F(AliasTest, AnAbsentHalfInheritsFromDefault)
{
    const int row = tables->DefineColorPair("CurrentFocusRow", "Pale Yellow", nullptr);
    ASSERT_GT(row, 1);
    EXPECT_EQ(tables->OwnText(row), nullptr);
    EXPECT_EQ(tables->Colors(row).background, Colour("Pale Yellow"));
    EXPECT_EQ(tables->Colors(row).text, Colour("Black"));
    // It follows a later change of "Default".
    tables->DefineColorPair("Default", nullptr, "Navy");
    EXPECT_EQ(tables->Colors(row).text, Colour("Navy"));
    EXPECT_EQ(tables->Colors(0).background, Colour("Light Gray"));  // kept: nothing to inherit from
    const TsFocusColors focus = tables->FocusColors();
    EXPECT_EQ(focus.row.pair, row);
    EXPECT_TRUE(focus.row.background);
    EXPECT_FALSE(focus.row.text);
    EXPECT_EQ(focus.cell.pair, -1);
    EXPECT_EQ(TsAliasTables::FocusNameIndex("currentfocuscol"), 3);
    EXPECT_EQ(TsAliasTables::FocusNameIndex("AutoSearch"), 0);
}

TEST_F(AliasTest, InvalidSpecsWriteTheirLinesAndChangeNothing)
{
    const size_t pairs = tables->Count(TS_ALIAS_COLORPAIR);
    struct Case {
        int result;
        const char* line;
    } cases[] = {
        {tables->DefineColorPair("A", "bad colour", "Black"), "TS: (TsDataMgr) Bk Color 'bad colour' invalid or unavailable."},
        {tables->DefineColorPair("B", "Black", "bad ink"), "TS: (TsDataMgr) Fg Color 'bad ink' invalid or unavailable."},
        {tables->DefineFont("F", "bad font"), "TS: (TsDataMgr) Font 'bad font' invalid or unavailable."},
        {tables->DefineIcon("I", "bad icon"), "TS: (TsDataMgr) Icon 'bad icon' invalid or unavailable."},
        {tables->DefineCursor("C", "bad cursor"), "TS: (TsDataMgr) Cursor 'bad cursor' invalid or unavailable."},
        {tables->DefineCursor("C", nullptr), "TS: (TsDataMgr) Cursor '\?\?\?\?' invalid or unavailable."},
    };
    ASSERT_EQ(lines.diagnostics.size(), 6u);
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(cases[i].result, -1) << i;
        EXPECT_EQ(lines.diagnostics[i], cases[i].line) << i;
    }
    EXPECT_EQ(tables->Count(TS_ALIAS_COLORPAIR), pairs);
    EXPECT_EQ(tables->Find(TS_ALIAS_FONT, "F"), -1);
    EXPECT_EQ(display.cursorRefreshes, 0);
}

TEST_F(AliasTest, AnUnknownIconNameInACellWritesTheIconLine)
{
    EXPECT_EQ(tables->AssignIcon("badname"), -1);
    EXPECT_EQ(LastLine(), "TS: (TsDataMgr) Icon 'badname' invalid or unavailable.");
    const int missing = tables->DefineIcon("Missing", "IDI_EXCLEM2(20,20)");
    EXPECT_EQ(tables->AssignIcon("MISSING"), missing);
    // A spec that is no alias name becomes an alias named by it.
    const int keys = tables->AssignIcon("IDI_KEYS0(20,20)");
    ASSERT_GT(keys, missing);
    EXPECT_EQ(tables->Find(TS_ALIAS_ICON, "IDI_KEYS0(20,20)"), keys);
    EXPECT_EQ(tables->AssignIcon(""), 0);
}

TEST_F(AliasTest, ACursorDefinitionRefreshesTheCursor)
{
    EXPECT_GT(tables->DefineCursor("FocusEdit", "!QfItalicCursor"), 0);
    EXPECT_EQ(display.cursorRefreshes, 1);
}

TEST_F(AliasTest, The257thAliasOfEachKindFails)
{
    for (int i = 1; i < 256; ++i)
        ASSERT_EQ(tables->DefineFont(("F" + std::to_string(i)).c_str(), "Arial:8"), i);
    EXPECT_EQ(tables->DefineFont("F256", "Arial:8"), -1);
    EXPECT_EQ(LastLine(), "TS: (TsDataMgr) Font aliases exhausted; Font alias not defined.");
    EXPECT_EQ(tables->AssignFont("Tahoma:9"), -1);
    EXPECT_EQ(LastLine(), "TS: (TsDataMgr) Font aliases exhausted; Font not assigned.");
    EXPECT_EQ(tables->AssignFont("F200"), 200);  // existing names still assign

    for (int i = 2; i < 256; ++i)
        ASSERT_EQ(tables->DefineColorPair(("P" + std::to_string(i)).c_str(), "Red", nullptr), i);
    EXPECT_EQ(tables->DefineColorPair("P256", "Red", nullptr), -1);
    EXPECT_EQ(LastLine(), "TS: (TsDataMgr) ColorPair aliases exhausted; ColorPair not defined.");
    EXPECT_EQ(tables->ComposeColorPair("Green", nullptr, 0), -1);
    EXPECT_EQ(LastLine(), "TS: (TsDataMgr) ColorPair aliases exhausted; Colors not changed.");

    for (int i = 1; i < 256; ++i) {
        ASSERT_EQ(tables->DefineIcon(("I" + std::to_string(i)).c_str(), "IDI_X"), i);
        ASSERT_EQ(tables->DefineCursor(("C" + std::to_string(i)).c_str(), "IDC_X"), i);
    }
    EXPECT_EQ(tables->DefineIcon("I256", "IDI_X"), -1);
    EXPECT_EQ(LastLine(), "TS: (TsDataMgr) Icon aliases exhausted; Icon alias not defined.");
    EXPECT_EQ(tables->AssignIcon("IDI_Y"), -1);
    EXPECT_EQ(LastLine(), "TS: (TsDataMgr) Icon aliases exhausted; Icon alias not assigned.");
    EXPECT_EQ(tables->DefineCursor("C256", "IDC_X"), -1);
    EXPECT_EQ(LastLine(), "TS: (TsDataMgr) Cursor aliases exhausted; Cursor alias not defined.");
    EXPECT_EQ(tables->AssignCursor("IDC_Y"), -1);
    EXPECT_EQ(LastLine(), "TS: (TsDataMgr) Cursor aliases exhausted; Cursor not assigned.");
}

TEST_F(AliasTest, ComposedPairsTakeTheNamedHalfAndShareEqualCompositions)
{
    const int base = tables->DefineColorPair("Cells", "White", "Black");
    const int blue = tables->ComposeColorPair(nullptr, "Dark Blue", base);
    ASSERT_GT(blue, base);
    EXPECT_EQ(tables->Colors(blue).background, Colour("White"));
    EXPECT_EQ(tables->Colors(blue).text, Colour("Dark Blue"));
    EXPECT_STREQ(tables->Name(TS_ALIAS_COLORPAIR, blue), "");
    EXPECT_EQ(tables->ComposeColorPair(nullptr, "Dark Blue", base), blue);
    EXPECT_EQ(tables->ComposeColorPair("White", nullptr, blue), blue);  // nothing changes: the base itself
    // A colour pair alias name lends its half.
    const int hint = tables->DefineColorPair("Warn", "Red", "Yellow");
    const int warned = tables->ComposeColorPair("Warn", nullptr, base);
    EXPECT_EQ(tables->Colors(warned).background, Colour("Red"));
    EXPECT_EQ(tables->Colors(warned).text, Colour("Black"));
    EXPECT_NE(warned, hint);
    EXPECT_EQ(tables->ComposeColorPair("bad", nullptr, base), -1);
    EXPECT_EQ(LastLine(), "TS: (TsDataMgr) Bk Color 'bad' invalid or unavailable.");
    EXPECT_EQ(tables->Names(TS_ALIAS_COLORPAIR),
              (std::vector<std::string>{"Default", "TextDefault", "Cells", "Warn"}));
}

TEST_F(AliasTest, AFullTableRecyclesComposedPairsNobodyUses)
{
    for (int i = 2; i < 255; ++i)
        tables->DefineColorPair(("P" + std::to_string(i)).c_str(), "Red", nullptr);
    const int first = tables->ComposeColorPair("Green", nullptr, 0);
    ASSERT_EQ(first, 255);
    tables->AddUse(TS_ALIAS_COLORPAIR, first);
    EXPECT_EQ(tables->ComposeColorPair("Blue", nullptr, 0), -1);  // 255 is in use
    tables->ReleaseUse(TS_ALIAS_COLORPAIR, first);
    EXPECT_EQ(tables->ComposeColorPair("Blue", nullptr, 0), 255);
    EXPECT_EQ(tables->Colors(255).background, Colour("Blue"));
}

TEST_F(AliasTest, UseCountsKeepTheReplaceableMarkApart)
{
    EXPECT_TRUE(tables->IsReplaceable(TS_ALIAS_COLORPAIR, 0));
    tables->AddUse(TS_ALIAS_COLORPAIR, 0);
    tables->AddUse(TS_ALIAS_COLORPAIR, 0);
    EXPECT_EQ(tables->Uses(TS_ALIAS_COLORPAIR, 0), 2u);
    tables->DefineColorPair("Default", "Bright Gray", "Black");
    EXPECT_FALSE(tables->IsReplaceable(TS_ALIAS_COLORPAIR, 0));
    EXPECT_EQ(tables->Uses(TS_ALIAS_COLORPAIR, 0), 2u);
    tables->ReleaseUse(TS_ALIAS_COLORPAIR, 0);
    tables->ReleaseUse(TS_ALIAS_COLORPAIR, 0);
    tables->ReleaseUse(TS_ALIAS_COLORPAIR, 0);  // never below 0
    EXPECT_EQ(tables->Uses(TS_ALIAS_COLORPAIR, 0), 0u);
    tables->AddUse(TS_ALIAS_FONT, 999);  // out of range: ignored
    EXPECT_EQ(tables->Uses(TS_ALIAS_FONT, 999), 0u);
}

TEST_F(AliasTest, SizingTemplatesAndHintsAreSharedByTextAndBounded)
{
    EXPECT_EQ(tables->DefineFontSizing(""), 0);
    const int c = tables->DefineFontSizing("C:MMMM");
    ASSERT_EQ(c, 1);
    EXPECT_EQ(tables->SizingLetter(c), 'c');
    EXPECT_STREQ(tables->SizingText(c), "MMMM");
    EXPECT_EQ(tables->DefineFontSizing("c:MMMM"), c);
    EXPECT_EQ(tables->DefineFontSizing("x:MMMM"), -1);
    EXPECT_EQ(tables->DefineFontSizing("w:"), -1);
    EXPECT_EQ(tables->DefineCellHint(""), 0);
    const int hint = tables->DefineCellHint("C:\\Songs");
    EXPECT_EQ(tables->DefineCellHint("C:\\Songs"), hint);
    EXPECT_STREQ(tables->HintText(hint), "C:\\Songs");

    for (int i = 2; i < 256; ++i)
        ASSERT_EQ(tables->DefineCellHint(("hint " + std::to_string(i)).c_str()), i);
    for (int i = 1; i < 256; ++i)
        tables->AddUse(TS_ALIAS_HINT, i);
    EXPECT_EQ(tables->DefineCellHint("one more"), -1);
    EXPECT_EQ(LastLine(), "TS: (TsDataMgr) CellHints exhausted.");
    tables->ReleaseUse(TS_ALIAS_HINT, 7);
    EXPECT_EQ(tables->DefineCellHint("one more"), 7);

    for (int i = 2; i < 256; ++i) {
        ASSERT_EQ(tables->DefineFontSizing(("h:" + std::to_string(i)).c_str()), i);
        tables->AddUse(TS_ALIAS_SIZING, i);
    }
    tables->AddUse(TS_ALIAS_SIZING, 1);
    EXPECT_EQ(tables->DefineFontSizing("w:wide"), -1);
    EXPECT_EQ(LastLine(), "TS: (TsDataMgr) Font sizing templates exhausted.");
}

TEST_F(AliasTest, AFullNameListRefusesNewNamesWithItsTraceLine)
{
    TsAliasNames small(8);
    Lines smallLines;
    TsAliasTables grid(display, smallLines, small);  // takes "Default" and "TextDefault"
    for (int i = 0; i < 6; ++i)
        ASSERT_GT(grid.DefineFont(("N" + std::to_string(i)).c_str(), "Arial:8"), 0);
    EXPECT_EQ(grid.DefineFont("N6", "Arial:8"), -1);
    ASSERT_EQ(smallLines.traces.size(), 1u);
    EXPECT_EQ(smallLines.traces[0], "Ts:  E - Could not add name to TsAliases. 9 names in list\n");
    EXPECT_EQ(grid.Count(TS_ALIAS_FONT), 7u);
    // A name the list has already is no new name, for this grid or another.
    EXPECT_GT(grid.DefineIcon("N3", "IDI_X"), 0);
    TsAliasTables other(display, smallLines, small);
    EXPECT_GT(other.DefineFont("n5", "Arial:9"), 0);
    EXPECT_STREQ(other.Name(TS_ALIAS_FONT, 1), "N5");
}

TEST_F(AliasTest, EveryReferenceTakenIsReleased)
{
    tables->DefineColorPair("Default", "Bright Gray", "Black");
    tables->DefineColorPair("A", "Red", "bad");
    const int base = tables->DefineColorPair("B", "Red", nullptr);
    tables->ComposeColorPair("B", "Green", base);
    tables->ComposeColorPair(nullptr, "Green", base);
    tables->ComposeColorPair("bad", "Green", base);
    tables->DefineFont("F", "Arial:8");
    tables->DefineFont("F", "Arial:9");
    tables->AssignCursor("bad");
    tables.reset();
    EXPECT_EQ(display.live, 0);
}
