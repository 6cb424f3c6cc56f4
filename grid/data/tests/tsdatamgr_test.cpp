// The data layer: capacities, identifiers, cells, selection slots, moves
// and the outline.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../../tests/tstesthost.h"
#include "tsdatamgr.h"
#include "tsvalue.h"

namespace {

class TsDataMgrTest : public ::testing::Test {
protected:
    void SetUp() override { live_ = TsNativeLiveStrings(); }
    void TearDown() override { EXPECT_EQ(TsNativeLiveStrings(), live_) << "every value was released"; }
    static std::string Text(TsDataMgr& d, uint32_t r, uint32_t c) { return TsValueText(d.Cell(r, c)->value); }
    static void SetText(TsDataMgr& d, uint32_t r, uint32_t c, const char* text)
    {
        TsValue* v = TsMakeText(text);
        d.SetCellValue(d.Cell(r, c), v);
        TsValueRelease(v);
    }
    // The grid takes slots 0-7 at construction, as the window layer does.
    static void ReserveGridSlots(TsDataMgr& d)
    {
        for (int i = 0; i < TS_RESERVED_SLOTS; ++i)
            d.AllocateSelection();
    }
    TsTestHost host_;
    int live_ = 0;
};

TEST_F(TsDataMgrTest, InsertionStopsAtTheMaximum)
{
    TsDataMgr d(2, 4);
    ASSERT_TRUE(d.Ready());
    d.InsertCols(0, 1, 0);
    ReserveGridSlots(d);
    uint32_t sel = d.AllocateSelection();
    EXPECT_EQ(sel, 8u);
    EXPECT_EQ(d.InsertRows(0, 5, sel), 2u) << "a grid of 2 rows at most takes 2 of 5";
    TsRect b;
    ASSERT_TRUE(d.Selection(sel)->Bounds(&b));
    EXPECT_EQ(b.top, 0);
    EXPECT_EQ(b.bottom, 1);
    EXPECT_EQ(d.InsertRows(0, 1, sel), 0u);
    EXPECT_TRUE(d.Selection(sel)->Empty()) << "nothing inserted, nothing selected";
    EXPECT_EQ(d.RowCount(), 2u);
}

TEST_F(TsDataMgrTest, IdentifiersFollowTheirRowsAcrossDeletions)
{
    TsDataMgr d(100, 4);
    d.InsertCols(0, 2, 0);
    d.InsertRows(0, 3, 0);
    uint32_t id1 = d.RowId(1);
    uint32_t id2 = d.RowId(2);
    EXPECT_GE(id1, 32768u);
    SetText(d, 1, 0, "one");
    d.DeleteRows(0, 1);
    EXPECT_EQ(d.MapRow(id1), 0u) << "after deleting row 0, the former row 1 is at 0";
    EXPECT_EQ(d.MapRow(id2), 1u);
    EXPECT_EQ(Text(d, 0, 0), "one");
    d.InsertRows(0, 1, 0);
    EXPECT_EQ(d.MapRow(id1), 1u) << "positions are refreshed lazily";
    EXPECT_EQ(d.MapRow(5), 5u) << "indexes stay indexes";
    EXPECT_EQ(d.MapRow(32768 + 90), 90u) << "an unknown identifier is itself without bit 15";
}

TEST_F(TsDataMgrTest, FreedRecordsAreReusedOnlyWhenThePoolIsFull)
{
    TsDataMgr d(3, 1);
    d.InsertCols(0, 1, 0);
    d.InsertRows(0, 2, 0);
    uint32_t gone = d.RowId(0);
    d.DeleteRows(0, 1);
    d.InsertRows(1, 1, 0);
    EXPECT_NE(d.RowId(1), gone) << "a fresh record first, so old identifiers stay unused longer";
    EXPECT_EQ(d.MapRow(gone), gone & ~0x8000u);
    d.DeleteRows(0, 1);
    d.InsertRows(2, 1, 0);
    EXPECT_EQ(d.RowCount(), 2u);
    EXPECT_EQ(Text(d, 1, 0), "") << "a reused record's cells start empty";
}

TEST_F(TsDataMgrTest, NewColumnsGetAnEmptyCellForEveryRow)
{
    TsDataMgr d(200, 4);
    d.InsertRows(0, 100, 0);
    EXPECT_EQ(d.InsertCols(0, 1, 0), 1u);
    for (uint32_t r = 0; r < 100; ++r)
        ASSERT_EQ(Text(d, r, 0), "") << r;
    SetText(d, 99, 0, "last");
    d.InsertCols(0, 1, 0);
    EXPECT_EQ(Text(d, 99, 1), "last") << "cells move with their column";
    d.DeleteCols(1, 1);
    EXPECT_EQ(Text(d, 99, 0), "");
}

TEST_F(TsDataMgrTest, SelectionSlotsRunOutWithADiagnostic)
{
    TsDataMgr d(10, 1);
    std::vector<uint32_t> got;
    for (int i = 0; i < 40; ++i)
        got.push_back(d.AllocateSelection());
    EXPECT_EQ(got.front(), 0u);
    EXPECT_EQ(got.back(), 39u);
    EXPECT_EQ(d.AllocateSelection(), 0u);
    EXPECT_EQ(TsTestHost::Diagnostics(), (std::vector<std::string>{"TS: (TsDataMgr) Selections exhausted."}));
    d.ReleaseSelection(20);
    EXPECT_EQ(d.AllocateSelection(), 20u) << "the lowest free slot";
    d.ReleaseSelection(3);
    EXPECT_EQ(d.SelectionRefs(3), 1) << "slots 0-7 belong to the grid";
    d.AddSelectionRef(20);
    d.ReleaseSelection(20);
    EXPECT_NE(d.Selection(20), nullptr) << "one reference is left";
    d.ReleaseSelection(20);
    EXPECT_EQ(d.Selection(20), nullptr);
    EXPECT_EQ(d.Selection(0), nullptr) << "handle 0 is no selection";
    EXPECT_EQ(d.Selection(200), nullptr);
    EXPECT_TRUE(d.SelectionOrEmpty(20).Empty());
}

TEST_F(TsDataMgrTest, SelectionsFollowInsertedAndDeletedRows)
{
    TsDataMgr d(50, 3);
    d.InsertCols(0, 3, 0);
    d.InsertRows(0, 10, 0);
    ReserveGridSlots(d);
    uint32_t focus = d.AllocateSelection();
    d.Selection(focus)->Set(TsRect{4, 1, 4, 1});
    d.InsertRows(2, 3, 0);
    EXPECT_TRUE(d.Selection(focus)->Contains(7, 1));
    d.DeleteRows(7, 1);
    EXPECT_TRUE(d.Selection(focus)->Empty()) << "the focus row went away";
}

TEST_F(TsDataMgrTest, MovesKeepTheMovedRowsTogether)
{
    TsDataMgr d(20, 1);
    d.InsertCols(0, 1, 0);
    d.InsertRows(0, 6, 0);
    const char* names[] = {"a", "b", "c", "d", "e", "f"};
    for (uint32_t r = 0; r < 6; ++r)
        SetText(d, r, 0, names[r]);
    auto order = [&d] {
        std::string s;
        for (uint32_t r = 0; r < d.RowCount(); ++r)
            s += Text(d, r, 0);
        return s;
    };
    EXPECT_EQ(d.MoveRows({2, 3}, -1), 1u);
    EXPECT_EQ(order(), "acdbef");
    EXPECT_EQ(d.MoveRows({1}, 100), 5u) << "clamped to the end";
    EXPECT_EQ(order(), "adbefc");
    uint32_t idOfC = d.RowId(5);
    EXPECT_EQ(d.MoveRows({0, 5}, 0), 0u) << "scattered rows gather at the first";
    EXPECT_EQ(order(), "acdbef");
    EXPECT_EQ(d.MapRow(idOfC), 1u);
}

TEST_F(TsDataMgrTest, GroupsComeFromOutlineLevels)
{
    TsDataMgr d(20, 1);
    d.InsertCols(0, 1, 0);
    d.InsertRows(0, 7, 0);
    uint8_t levels[] = {0, 1, 1, 0, 0, 1, 2};
    for (uint32_t r = 0; r < 7; ++r)
        d.Row(r)->level = levels[r];
    d.LevelsChanged();
    std::vector<uint32_t> sizes;
    for (uint32_t r = 0; r < 7; ++r)
        sizes.push_back(d.GroupSize(r));
    EXPECT_EQ(sizes, (std::vector<uint32_t>{3, 1, 1, 1, 3, 2, 1}));
    d.DeleteRows(1, 1);
    EXPECT_EQ(d.GroupSize(0), 2u) << "recomputed after a deletion";
}

TEST_F(TsDataMgrTest, ResetCellReturnsChosenPartsToTheirDefaults)
{
    TsDataMgr d(5, 1);
    d.InsertCols(0, 1, 0);
    d.InsertRows(0, 1, 0);
    TsCell* c = d.Cell(0, 0);
    SetText(d, 0, 0, "x");
    c->icon = 4;
    c->font = 2;
    d.ResetCell(c, TS_CELL_ICON);
    EXPECT_EQ(c->icon, 0);
    EXPECT_EQ(c->font, 2);
    EXPECT_EQ(Text(d, 0, 0), "x");
    d.ResetCell(c, TS_CELL_TEXT);
    EXPECT_EQ(Text(d, 0, 0), "");
}

TEST_F(TsDataMgrTest, AliasReferencesCountTheirUsesUntilTheirCellsGo)
{
    TsDataMgr d(10, 2);
    TsAliasTables& aliases = d.Aliases();
    EXPECT_EQ(aliases.Find(TS_ALIAS_COLORPAIR, "Default"), 0);
    EXPECT_EQ(aliases.Find(TS_ALIAS_COLORPAIR, "textdefault"), 1);
    EXPECT_TRUE(aliases.IsReplaceable(TS_ALIAS_FONT, 0));
    int red = aliases.DefineColorPair("Red", "Red", nullptr);
    ASSERT_GT(red, 1);
    d.InsertCols(0, 2, 0);
    d.InsertRows(0, 3, 0);
    d.SetRef(&d.Cell(0, 0)->colorPair[0], TS_ALIAS_COLORPAIR, red);
    d.SetRef(&d.Cell(1, 1)->colorPair[0], TS_ALIAS_COLORPAIR, red);
    d.SetRef(&d.Col(1)->colorPair[0], TS_ALIAS_COLORPAIR, red);
    EXPECT_EQ(aliases.Uses(TS_ALIAS_COLORPAIR, red), 3u);
    d.ResetCell(d.Cell(0, 0), TS_CELL_COLORS);
    EXPECT_EQ(aliases.Uses(TS_ALIAS_COLORPAIR, red), 2u);
    d.DeleteRows(1, 1);
    EXPECT_EQ(aliases.Uses(TS_ALIAS_COLORPAIR, red), 1u) << "a deleted row gives back its cells' uses";
    d.DeleteCols(1, 1);
    EXPECT_EQ(aliases.Uses(TS_ALIAS_COLORPAIR, red), 0u) << "and a deleted column its own";
}

TEST_F(TsDataMgrTest, EqualTemplatesShareOneEntryAndUnusedOnesAreTakenAgain)
{
    TsDataMgr d(10, 1);
    d.InsertRows(0, 3, 0);
    uint16_t twenty = d.Templates().Intern(TsParseTemplate("[20]", 96));
    for (uint32_t r = 0; r < 3; ++r)
        d.SetTemplate(&d.Row(r)->sizeRef, twenty);
    EXPECT_EQ(d.Templates().Intern(TsParseTemplate("[20]", 96)), twenty);
    EXPECT_EQ(d.Templates().Uses(twenty), 3u);
    d.DeleteRows(0, 3);
    EXPECT_EQ(d.Templates().Uses(twenty), 0u);
    uint16_t other = d.Templates().Intern(TsParseTemplate("[1R]", 96));
    EXPECT_EQ(other, twenty) << "the unused entry holds the new template";
    EXPECT_EQ(d.Templates().At(0).kinds, TsTemplateDefault().kinds) << "entry 0 is the default";
}

TEST_F(TsDataMgrTest, ALargeGridCommitsOnlyWhatItUses)
{
    TsDataMgr d(65535, 7);
    ASSERT_TRUE(d.Ready());
    d.InsertCols(0, 7, 0);
    EXPECT_EQ(d.InsertRows(0, 3, 0), 3u);
    EXPECT_LE(d.Col(0)->cells.Committed(), 4096u) << "one page of cells so far";
    d.InsertRows(3, 8189, 0);
    EXPECT_EQ(d.RowCount(), 8192u);
    SetText(d, 8191, 6, "end");
    EXPECT_EQ(Text(d, 8191, 6), "end");
}

}  // namespace
