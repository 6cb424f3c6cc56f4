// The grid's client messages through ParamBlocks, natively: insertion and
// its limits, dimensions, hiding, moving, properties, style and
// notifications, the edit session.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tsgriddriver.h"
#include "tstesthost.h"
#include "tsvalue.h"

namespace {

class TsGridMessages : public ::testing::Test {
protected:
    void SetUp() override { live_ = TsNativeLiveStrings(); }
    void TearDown() override
    {
        delete grid_;
        EXPECT_EQ(TsNativeLiveStrings(), live_) << "every value was released";
    }
    TsGridDriver Make(uint32_t rows = 1024, uint32_t cols = 32)
    {
        grid_ = new TsGrid(rows, cols, nullptr);
        return TsGridDriver(*grid_);
    }
    TsTestHost host_;
    TsGrid* grid_ = nullptr;
    int live_ = 0;
};

const PropertyId kCellValue = TS_PROP(TS_GROUP_CELLS, TS_PART_STRING, TS_ITEM_VALUE);
const PropertyId kCellList = TS_PROP(TS_GROUP_CELLS, TS_PART_LIST, TS_ITEM_VALUE);

TEST_F(TsGridMessages, InsertingIntoAnEmptyGridSelectsTheNewRows)
{
    TsGridDriver g = Make();
    uint32_t h = g.InsertRows(5);
    EXPECT_GE(h, 8u) << "slots 0-7 are the grid's";
    EXPECT_EQ(g.Geometry(h, TS_ITEM_FIRSTROWSEL), 0);
    EXPECT_EQ(g.Geometry(h, TS_ITEM_LASTROWSEL), 4);
    EXPECT_EQ(g.Geometry(h, TS_ITEM_FIRSTCOLSEL), TS_EMPTY_GEOMETRY) << "no columns yet";
    uint32_t c = g.InsertCols(2);
    EXPECT_EQ(g.Geometry(c, TS_ITEM_FIRSTCOLSEL), 0);
    EXPECT_EQ(g.Geometry(c, TS_ITEM_LASTCOLSEL), 1);
    EXPECT_EQ(g.Geometry(c, TS_ITEM_LASTROWSEL), 4) << "all rows by the new columns";
    EXPECT_EQ(g.Geometry(h, TS_ITEM_LASTCOLSEL), 1) << "the row block reaches the new columns";
}

TEST_F(TsGridMessages, HeldSelectionsExhaustTheSlotsAndInsertionThenDoesNothing)
{
    TsGridDriver g = Make();
    for (int i = 0; i < 32; ++i)
        ASSERT_NE(g.InsertRows(1), 0u) << i;
    EXPECT_EQ(g.RowCount(), 32u);
    EXPECT_EQ(g.InsertRows(1), 0u);
    EXPECT_EQ(g.RowCount(), 32u) << "nothing inserted";
    EXPECT_EQ(TsTestHost::Diagnostics(), (std::vector<std::string>{"TS: (TsDataMgr) Selections exhausted."}));
    g.Release(20);
    EXPECT_EQ(g.InsertRows(1), 20u);
}

TEST_F(TsGridMessages, TheRowLimitAcceptsTheLastRowAndRefusesTheNext)
{
    TsGridDriver g = Make(8192, 7);
    g.Release(g.InsertCols(7));
    for (int i = 0; i < 8192; ++i)
        g.Release(g.InsertRows(1));
    EXPECT_EQ(g.RowCount(), 8192u);
    uint32_t h = g.InsertRows(1);
    EXPECT_NE(h, 0u) << "the selection is still made";
    EXPECT_EQ(g.Geometry(h, TS_ITEM_FIRSTROWSEL), TS_EMPTY_GEOMETRY) << "and covers nothing";
    EXPECT_EQ(g.RowCount(), 8192u);
}

TEST_F(TsGridMessages, InsertPositionsCountFromTheEndBelowOneAndMapIdentifiers)
{
    TsGridDriver g = Make();
    g.Release(g.InsertCols(1));
    for (const char* t : {"a", "b", "c"}) {
        uint32_t h = g.InsertRows(1);
        g.SetText(h, kCellValue, t);
        g.Release(h);
    }
    auto order = [&g] {
        std::string s;
        for (int r = 0; r < static_cast<int>(g.RowCount()); ++r)
            s += g.CellText(r, 0);
        return s;
    };
    uint32_t h = g.InsertRows(1, -1);
    g.SetText(h, kCellValue, "x");
    g.Release(h);
    EXPECT_EQ(order(), "abxc") << "-1 inserts before the last row";
    h = g.InsertRows(1, 0);
    g.SetText(h, kCellValue, "y");
    g.Release(h);
    EXPECT_EQ(order(), "abxcy") << "0 counts from the end too";
    uint32_t first = g.Row(0);
    int32_t id = g.GetNumber(first, TS_PROP(TS_GROUP_ROWS, TS_PART_NUMBER, TS_ITEM_ID));
    g.Release(first);
    h = g.InsertRows(1, id);
    g.SetText(h, kCellValue, "z");
    g.Release(h);
    EXPECT_EQ(order(), "zabxcy") << "an identifier places the rows at its row";
}

TEST_F(TsGridMessages, SelectionRangesNormaliseAndReachTheEnd)
{
    TsGridDriver g = Make();
    g.Release(g.InsertCols(5));
    g.Release(g.InsertRows(20));
    uint32_t h = g.Range(3, 10, 1, 2);
    EXPECT_EQ(g.Geometry(h, TS_ITEM_FIRSTCOLSEL), 1);
    EXPECT_EQ(g.Geometry(h, TS_ITEM_LASTCOLSEL), 3);
    EXPECT_EQ(g.Geometry(h, TS_ITEM_FIRSTROWSEL), 2);
    EXPECT_EQ(g.Geometry(h, TS_ITEM_LASTROWSEL), 10);
    EXPECT_EQ(g.Range(2, 0, -1, 0, h), h) << "an existing handle is reused";
    EXPECT_EQ(g.Geometry(h, TS_ITEM_LASTCOLSEL), 4) << "-1 reaches the last column";
    g.Range(0, 5, 0, 0x7FFF, h);
    EXPECT_EQ(g.Geometry(h, TS_ITEM_LASTROWSEL), 19) << "an end past the last row reaches through it";
    g.Range(0, 0x7FFF, 0, 0x7FFF, h);
    EXPECT_EQ(g.Geometry(h, TS_ITEM_FIRSTROWSEL), TS_EMPTY_GEOMETRY) << "both past the end: wholly outside";
    g.Range(10, 0, 12, 3, h);
    EXPECT_EQ(g.Geometry(h, TS_ITEM_FIRSTROWSEL), TS_EMPTY_GEOMETRY) << "wholly outside: empty";
    EXPECT_EQ(g.Range(0, 0, 1, 1, 25), 0u) << "an unused handle changes nothing";
}

TEST_F(TsGridMessages, GettingTheRowCountWritesTheCallersVariable)
{
    TsGridDriver g = Make();
    g.Release(g.InsertRows(7));
    intptr_t result = 0;
    EXPECT_EQ(g.GetNumber(0, 0x331B, &result), 7);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(g.GetNumber(0, TS_PROP(TS_GROUP_GRID, TS_PART_NUMBER, TS_ITEM_COLCOUNT)), 0);
}

TEST_F(TsGridMessages, DimensionsAppendAndDeleteAtTheEnd)
{
    TsGridDriver g = Make(100, 10);
    EXPECT_EQ(g.Send(TSM_SETDIMENSIONS, 0, static_cast<uint32_t>(4 << 16 | 12)), 1);
    EXPECT_EQ(g.RowCount(), 12u);
    g.SetCell(11, 3, "last");
    g.Send(TSM_SETDIMENSIONS, 0, static_cast<uint32_t>(0xFFFF << 16 | 11));
    EXPECT_EQ(g.RowCount(), 11u);
    EXPECT_EQ(g.GetNumber(0, TS_PROP(TS_GROUP_GRID, TS_PART_NUMBER, TS_ITEM_COLCOUNT)), 4) << "-1 leaves it";
    g.SetNumber(0, TS_PROP(TS_GROUP_GRID, TS_PART_NUMBER, TS_ITEM_COLCOUNT), 2);
    EXPECT_EQ(g.GetNumber(0, TS_PROP(TS_GROUP_GRID, TS_PART_NUMBER, TS_ITEM_COLCOUNT)), 2);
    g.SetNumber(0, TS_PROP(TS_GROUP_GRID, TS_PART_NUMBER, TS_ITEM_ROWCOUNT), 500);
    EXPECT_EQ(g.RowCount(), 100u) << "never past the maximum";
}

TEST_F(TsGridMessages, NewColumnsComeWithEmptyCellsForEveryRow)
{
    TsGridDriver g = Make();
    g.Release(g.InsertRows(100));
    uint32_t c = g.InsertCols(1);
    EXPECT_EQ(g.GetList(c, kCellList, 200), std::vector<std::string>(100, ""));
}

TEST_F(TsGridMessages, RowValuesTravelInListsAndAddToNumbers)
{
    TsGridDriver g = Make(8192, 7);
    g.Release(g.InsertCols(7));
    uint32_t row = g.InsertRows(1);
    ITsVListMgr* m = TsVListManager();
    Vlist* values = m->Create(7);
    m->Grow(values, 7);
    m->ParseValue(m->Entry(values, 0), "C:\\Songs\\a.mid");
    m->ParseValue(m->Entry(values, 3), "a.mid");
    m->ParseValue(m->Entry(values, 4), "%TSNoOp");
    m->ParseValue(m->Entry(values, 5), "00:03:10");
    g.SetCell(0, 4, "kept");
    EXPECT_EQ(g.Send(TSM_SETPROP, row | kCellList << 16, values), 1);
    m->Destroy(values);
    EXPECT_EQ(g.GetList(row, kCellList),
              (std::vector<std::string>{"C:\\Songs\\a.mid", "", "", "a.mid", "kept", "00:03:10", ""}))
        << "a no-op marker leaves its cell";
    g.SetNumber(row, 0x1310, 1);
    g.SetNumber(row, 0x1314, 190);
    EXPECT_EQ(g.Send(TSM_SETPROP, row | 0x1414u << 16, static_cast<uintptr_t>(-10)), 1);
    EXPECT_EQ(g.GetNumber(row, 0x1314), 180) << "the add-to form";
    EXPECT_EQ(g.GetNumber(row, 0x1310), 1);
    int32_t id = g.GetNumber(row, 0x1313);
    EXPECT_GE(id, 32768);
    EXPECT_EQ(g.SetNumber(row, 0x1313, 5), 0) << "identifiers are read only";
    EXPECT_EQ(g.GetNumber(row, 0x1313), id);
    g.Release(row);
}

TEST_F(TsGridMessages, OneTextValueServesEveryTargetAndLinesGoInOrder)
{
    TsGridDriver g = Make();
    g.Release(g.InsertCols(3));
    g.Release(g.InsertRows(2));
    uint32_t all = g.Range(0, 0, -1, -1);
    g.SetText(all, kCellValue, "same");
    EXPECT_EQ(g.GetList(all, kCellList), std::vector<std::string>(6, "same"));
    g.SetText(all, kCellValue, "1\n2\n3");
    EXPECT_EQ(g.GetList(all, kCellList), (std::vector<std::string>{"1", "2", "3", "same", "same", "same"}))
        << "a shorter list stops early, row by row";
    g.SetText(all, kCellValue, "%TSReset");
    EXPECT_EQ(g.GetList(all, kCellList), std::vector<std::string>(6, ""));
    g.SetText(all, kCellValue, nullptr);
    g.SetNumber(all, TS_PROP(TS_GROUP_CELLS, TS_PART_NUMBER, TS_ITEM_VALUE), 42);
    EXPECT_EQ(g.CellText(1, 2), "42");
    g.Release(all);
}

TEST_F(TsGridMessages, RowOrderReadsAsAListOfIdentifiers)
{
    TsGridDriver g = Make();
    g.Release(g.InsertRows(4));
    EXPECT_EQ(g.Geometry(g.Range(0, 0, -1, -1), TS_ITEM_LASTROWSEL), 3)
        << "a range through the last column names its rows even before there are columns";
    EXPECT_EQ(g.Geometry(g.Range(0, 2, 0, 3), TS_ITEM_FIRSTROWSEL), TS_EMPTY_GEOMETRY)
        << "a range of one column that does not exist covers nothing";
    g.Release(g.InsertCols(1));
    uint32_t all = g.Range(0, 0, -1, -1);
    std::vector<std::string> ids = g.GetList(all, TS_PROP(TS_GROUP_ROWS, TS_PART_LIST, TS_ITEM_ID));
    ASSERT_EQ(ids.size(), 4u);
    EXPECT_EQ(ids[0], "32768");
    EXPECT_EQ(ids[3], "32771");
    g.Release(all);
}

TEST_F(TsGridMessages, HidingRespectsTheFixedMark)
{
    TsGridDriver g = Make();
    g.Release(g.InsertCols(1));
    g.Release(g.InsertRows(3));
    uint32_t row1 = g.Row(1);
    auto shown = [&g](uint32_t h) { return g.Op(TS_SEL_COUNTSHOWNROWS, h); };
    g.Send(TSM_HIDEROWS, row1 | 1u << 16, 1);  // hide and fix
    EXPECT_EQ(shown(row1), 0);
    g.Send(TSM_HIDEROWS, row1, 0);
    EXPECT_EQ(shown(row1), 0) << "a fixed row keeps its state";
    g.Send(TSM_HIDEROWS, row1 | 2u << 16, 0);
    EXPECT_EQ(shown(row1), 1) << "nonzero flags clear the mark first";
    uint32_t all = g.Range(0, 0, -1, -1);
    EXPECT_EQ(g.Send(TSM_GETROWSHEIGHT, all), 3 * TS_DEFAULT_ROW_HEIGHT);
    g.Send(TSM_HIDEROWS, row1, 1);
    EXPECT_EQ(g.Send(TSM_GETROWSHEIGHT, all), 2 * TS_DEFAULT_ROW_HEIGHT) << "hidden rows have no height";
    g.Send(TSM_HIDECOLS, all, 1);
    EXPECT_EQ(g.Send(TSM_GETCOLSWIDTH, all), 0);
    g.Release(all);
    g.Release(row1);
}

TEST_F(TsGridMessages, MovingRowsCarriesTheSelectionAndStopsUnderASort)
{
    TsGridDriver g = Make();
    g.Release(g.InsertCols(1));
    for (const char* t : {"a", "b", "c", "d"}) {
        uint32_t h = g.InsertRows(1);
        g.SetText(h, kCellValue, t);
        g.Release(h);
    }
    uint32_t h = g.Range(0, 2, -1, 3);
    EXPECT_EQ(g.Send(TSM_MOVEROWS, h, static_cast<uintptr_t>(-2)), 1);
    EXPECT_EQ(g.CellText(0, 0) + g.CellText(1, 0) + g.CellText(2, 0) + g.CellText(3, 0), "cdab");
    EXPECT_EQ(g.Geometry(h, TS_ITEM_FIRSTROWSEL), 0);
    EXPECT_EQ(g.Geometry(h, TS_ITEM_LASTROWSEL), 1);
    grid_->Data().Cols().sortState = 2;  // as the sort layer leaves it
    g.Send(TSM_MOVEROWS, h, 1);
    EXPECT_EQ(g.CellText(0, 0), "c") << "no moves while sorted";
    g.Send(TSM_SORTROWS, 3, static_cast<uintptr_t>(0));
    g.Send(TSM_MOVEROWS, h, 1);
    EXPECT_EQ(g.CellText(0, 0), "a") << "natural order again";
    g.Release(h);
}

TEST_F(TsGridMessages, DeletingCoveredRowsRunByRun)
{
    TsGridDriver g = Make();
    g.Release(g.InsertCols(1));
    for (const char* t : {"0", "1", "2", "3", "4", "5"}) {
        uint32_t h = g.InsertRows(1);
        g.SetText(h, kCellValue, t);
        g.Release(h);
    }
    uint32_t h = g.Row(1);
    uint32_t more = g.Range(0, 3, 0, 4);
    g.Op(TS_SEL_UNION, h, more);
    EXPECT_EQ(g.Send(TSM_DELETEROWS, h), 1);
    EXPECT_EQ(g.RowCount(), 3u);
    EXPECT_EQ(g.CellText(0, 0) + g.CellText(1, 0) + g.CellText(2, 0), "025");
    g.Release(h);
    g.Release(more);
}

TEST_F(TsGridMessages, StyleWordSuppressesNotificationsSentInAscendingOrder)
{
    TsGridDriver g = Make();
    g.Release(g.InsertCols(1));
    g.Release(g.InsertRows(1));
    for (uint32_t code : {19u, 8u, 12u, 10u, 4u})
        grid_->Notify(code);
    EXPECT_EQ(grid_->TakeNotifications(), (std::vector<uint32_t>{4, 8})) << "before the client enables more";
    intptr_t style = g.Send(TSM_SETSTYLE, 1, 0xFD400);
    EXPECT_EQ(style & 0xFD400, 0);
    for (uint32_t code : {19u, 8u, 12u, 10u, 15u, 6u})
        grid_->Notify(code);
    EXPECT_EQ(grid_->TakeNotifications(), (std::vector<uint32_t>{8, 10, 12, 15, 19}));
    EXPECT_TRUE(grid_->TakeNotifications().empty());
    g.Send(TSM_SETSTYLE, 0, 1u << 8);
    grid_->Notify(8);
    EXPECT_TRUE(grid_->TakeNotifications().empty()) << "set bits suppress again";
}

TEST_F(TsGridMessages, MessagesWithoutAMeaningReturnZero)
{
    TsGridDriver g = Make();
    for (uint32_t m : {1287u, 1288u, 1295u, 1314u, 1325u, 1300u})
        EXPECT_EQ(g.Send(m, 0x12345678, 99), 0) << m;
    EXPECT_EQ(grid_->ClientMessage(TSM_INSERTROWS, nullptr), 0) << "no block, nothing done";
    EXPECT_EQ(g.RowCount(), 0u);
    EXPECT_EQ(g.Send(1274, 1), 0);
    EXPECT_EQ(g.Send(1327, 1), 0);
}

TEST_F(TsGridMessages, OptionsMirrorIntoTheWindowFlags)
{
    TsGridDriver g = Make();
    EXPECT_EQ(g.Send(TSM_SETOPTIONS, 0x88300, 0x88300), 0x70000043 | 0x88300);
    EXPECT_EQ(grid_->WindowFlags() & 0x30u, 0u);
    g.Send(TSM_SETOPTIONS, 1u << 18 | 1u << 21, 1u << 18 | 1u << 21);
    EXPECT_EQ(grid_->WindowFlags() & 0x30u, 0x30u);
    EXPECT_EQ(g.Send(TSM_SETOPTIONS, 0, 0xFFFFFFFF), 0);
}

TEST_F(TsGridMessages, AnEditEndsAcceptedOrCancelledWithItsNotification)
{
    TsGridDriver g = Make();
    g.Release(g.InsertCols(5));
    g.Release(g.InsertRows(3));
    g.SetCell(1, 4, "Old Title");
    g.Send(TSM_SETSTYLE, 1, 0xFD400);
    TsEditRequest request = {1, 32, {0, 0}};
    EXPECT_EQ(g.Send(TSM_BEGINEDIT, 0, &request), 0) << "no focus cell, no edit";
    EXPECT_EQ(g.Send(TSM_ENDEDIT, 0, 1), 0) << "no edit to end";
    uint32_t cell = g.Cell(1, 4);
    g.Send(TSM_SETFOCUSSEL, cell, 1);
    EXPECT_EQ(g.Send(TSM_BEGINEDIT, 0, &request), 1);
    EXPECT_EQ(g.GetNumber(0, 0x3331), 1);
    EXPECT_EQ(g.GetList(0, 0x3124), std::vector<std::string>{"Old Title"});
    g.SetText(0, 0x3024, "A new title that is longer than thirty-two");
    EXPECT_EQ(g.GetList(0, 0x3124), std::vector<std::string>{"A new title that is longer than "}) << "the limit";
    g.SetNumber(0, 0x3325, 9);
    EXPECT_EQ(g.GetNumber(0, 0x3325), 9);
    grid_->TakeNotifications();
    EXPECT_EQ(g.Send(TSM_ENDEDIT, 0, 0), 1);
    EXPECT_EQ(grid_->TakeNotifications(), std::vector<uint32_t>{TSN_EDITCANCELLED});
    EXPECT_EQ(g.GetNumber(0, 0x3331), 16);
    EXPECT_EQ(g.CellText(1, 4), "Old Title") << "a cancelled edit changes nothing";
    g.Send(TSM_BEGINEDIT, 0, &request);
    g.SetText(0, 0x3024, "Accepted");
    g.Send(TSM_ENDEDIT, 0, 1);
    EXPECT_EQ(grid_->TakeNotifications(), std::vector<uint32_t>{TSN_EDITACCEPTED});
    EXPECT_EQ(g.CellText(1, 4), "Accepted");
    EXPECT_EQ(g.GetNumber(0, 0x3331), 0);
    g.Release(cell);
}

// A host with a clock and timers the test moves by hand.
class ManualHost final : public TsGridHost {
public:
    intptr_t SendToFrame(uint32_t message, ParamBlock* b) override
    {
        frameMessages.push_back(message);
        return b ? static_cast<intptr_t>(b->d1) : 0;
    }
    bool FillSlotFromGrid(uintptr_t, uint32_t, TsGrid*, uint32_t) override { return false; }
    uint32_t StartTimer(uint32_t ticks) override
    {
        lastTicks = ticks;
        return refuseTimers ? 0 : ++timers;
    }
    void StopTimer(uint32_t) override {}
    uint32_t Now() override { return now; }
    void ModeChanged(bool on) override { modes.push_back(on); }
    bool MapPixels(TsPixels*, int) override { return false; }
    uint32_t now = 1000, timers = 0, lastTicks = 0;
    bool refuseTimers = false;
    std::vector<bool> modes;
    std::vector<uint32_t> frameMessages;
};

TEST_F(TsGridMessages, HighlightLastsUntilItsDeadlineOrIsRefusedWithADiagnostic)
{
    ManualHost host;
    grid_ = new TsGrid(50, 5, &host);
    TsGridDriver g(*grid_);
    g.Release(g.InsertCols(5));
    g.Release(g.InsertRows(5));
    uint32_t row = g.Row(2);
    EXPECT_EQ(g.Send(TSM_SETHILITEMODE, row, 500), 1);
    EXPECT_EQ(host.lastTicks, 10u) << "500 ms in ticks of 50";
    TsCellFilter inSlot1 = {1u << 4, 0, 0, 0, 0, 0};
    uint32_t all = g.Range(0, 0, -1, -1);
    auto lit = [&] {
        uint32_t h = static_cast<uint32_t>(g.Op(TS_SEL_FILTER, 0, all, reinterpret_cast<uintptr_t>(&inSlot1)));
        intptr_t n = g.Op(TS_SEL_COUNTCELLS, h);
        g.Release(h);
        return n;
    };
    EXPECT_EQ(lit(), 5) << "the row's cells are highlighted";
    host.now += 300;
    grid_->HiliteStep();
    EXPECT_EQ(lit(), 5) << "an early tick waits out the rest";
    EXPECT_EQ(host.lastTicks, 4u);
    host.now += 250;
    grid_->HiliteStep();
    EXPECT_EQ(lit(), 0);
    host.refuseTimers = true;
    g.Send(TSM_SETHILITEMODE, row, 100);
    EXPECT_EQ(TsTestHost::Diagnostics().back(), "TS: (TsWndMgr) Unhighlight event request failed; cells will not highlight.");
    EXPECT_EQ(lit(), 0);
    g.Release(all);
    g.Release(row);
}

TEST_F(TsGridMessages, FramePropertiesAndModesGoToTheWindowSide)
{
    ManualHost host;
    grid_ = new TsGrid(10, 2, &host);
    TsGridDriver g(*grid_);
    EXPECT_EQ(g.SetNumber(0, 0x4329, 7), 7) << "group 4 is re-sent to the frame with the same block";
    EXPECT_EQ(g.GetNumber(0, 0x432A), -12345) << "the frame answers through the block";
    EXPECT_EQ(host.frameMessages, (std::vector<uint32_t>{TSM_SETPROP, TSM_GETPROP}));
    g.Send(TSM_SETSTYLE, 0, 0x100);
    EXPECT_EQ(host.frameMessages.size(), 2u) << "only the frame's bit goes to the frame";
    g.Send(TSM_SETSTYLE, 0, TS_STYLE_FRAMEMOUSE);
    EXPECT_EQ(host.frameMessages.back(), static_cast<uint32_t>(TSM_SETSTYLE));
    EXPECT_EQ(g.Send(TSM_MODEON, 0), 1);
    EXPECT_EQ(g.Send(TSM_MODEOFF, 0), 1);
    EXPECT_EQ(host.modes, (std::vector<bool>{true, false}));
    EXPECT_EQ(g.Send(TSM_CLEARPENDING, 0), 1);
    EXPECT_EQ(g.GetNumber(0, TS_PROP(TS_GROUP_GEOMETRY, TS_PART_NUMBER, 50)), -12345) << "geometry has items 51-54 only";
    EXPECT_EQ(g.SetNumber(0, 0x5333, 1), 0) << "geometry is read only";
}

TEST_F(TsGridMessages, AliasesAreFoundByNameAndDefaultsGiveWayOnce)
{
    TsGridDriver g = Make();
    g.Release(g.InsertCols(2));
    g.Release(g.InsertRows(2));
    TsAliasDef pair = {"Default", "Bright Gray", "Black"};
    EXPECT_EQ(g.Send(TSM_DEFINEALIAS, TS_ALIAS_COLORPAIR, &pair), 1) << "the default is replaced";
    EXPECT_EQ(g.Query(TSQ_COLORNAME, 0, 0, 0).text, "Bright Gray");
    EXPECT_EQ(g.Send(TSM_DEFINEALIAS, TS_ALIAS_COLORPAIR, &pair), 0) << "but only once";
    TsAliasDef keys = {"Keys0", "IDI_KEYS0(20,20)", nullptr};
    intptr_t n = g.Send(TSM_DEFINEALIAS, TS_ALIAS_ICON, &keys);
    EXPECT_GE(n, 2);
    EXPECT_EQ(g.Send(TSM_FINDALIAS, TS_ALIAS_ICON, "keys0"), n);
    EXPECT_EQ(g.Send(TSM_FINDALIAS, TS_ALIAS_FONT, "Keys0"), 0);
    EXPECT_EQ(g.Send(TSM_DEFINEALIAS, 5, &keys), 0) << "kinds run from 1 to 4";
    EXPECT_EQ(g.Send(TSM_DEFINEALIAS, TS_ALIAS_FONT, static_cast<uintptr_t>(0)), 0);
    for (int i = 0; i < 260; ++i) {
        std::string name = "font" + std::to_string(i);
        TsAliasDef font = {name.c_str(), "Arial : 10", nullptr};
        g.Send(TSM_DEFINEALIAS, TS_ALIAS_FONT, &font);
    }
    EXPECT_EQ(TsTestHost::Diagnostics().back(), "TS: (TsDataMgr) Font aliases exhausted; Font alias not defined.");
    // Row attributes: the outline level, and a colour reference by name.
    uint32_t row = g.Row(1);
    EXPECT_EQ(g.Send(TSM_SETROWATTR, row | 0x0003u << 16, "Default"), 1);
    EXPECT_EQ(g.GetNumber(row, 0x1310), 3);
    g.Send(TSM_SETROWATTR, row | 0x02FFu << 16, "Nothing");
    EXPECT_EQ(g.GetNumber(row, 0x1310), 3) << "255 leaves the attribute, an unknown name the reference";
    EXPECT_EQ(g.Query(TSQ_COLORPAIR, 0, 1, 0).text, "Default") << "the row's colour reference is the default";
    Vlist* names = TsVListManager()->Create(8);
    EXPECT_EQ(g.Send(TSM_GETALIASNAMES, row | 3u << 16, names), 1);
    EXPECT_EQ(TsVListManager()->Size(names), 2);
    EXPECT_STREQ(TsVListManager()->Text(TsVListManager()->Entry(names, 0)), "Default");
    TsVListManager()->Destroy(names);
    g.Release(row);
}

TEST_F(TsGridMessages, CellPartsClearResetAndFlagsTest)
{
    TsGridDriver g = Make();
    g.Release(g.InsertCols(3));
    g.Release(g.InsertRows(3));
    g.SetCell(1, 1, "text");
    TsCell* cell = grid_->Data().Cell(1, 1);
    cell->icon = 3;
    cell->font = 2;
    uint32_t h = g.Cell(1, 1);
    EXPECT_EQ(g.Send(TSM_RESETCELLS, h, TS_CELL_TEXT | TS_CELL_ICON), 1);
    EXPECT_EQ(cell->icon, 0);
    EXPECT_EQ(g.CellText(1, 1), "text") << "resetting attributes keeps the text";
    EXPECT_EQ(g.Send(TSM_CLEARCELLS, h, TS_CELL_TEXT), 1);
    EXPECT_EQ(g.CellText(1, 1), "");
    EXPECT_EQ(cell->font, 2) << "only what the mask names";
    EXPECT_EQ(g.Send(TSM_CELLOPERATION, h, 0x00FF00FFu), 1);
    EXPECT_EQ(g.Send(TSM_CELLTEST, 0, 1u | 1u << 16), 0xFF);
    EXPECT_EQ(g.Send(TSM_CELLOPERATION, h, 0x00000006u), 1);
    EXPECT_EQ(g.Send(TSM_CELLTEST, 0, 1u | 1u << 16), 0xF9);
    EXPECT_EQ(g.Send(TSM_CELLTEST, 0, 9u | 1u << 16), 0) << "outside the grid";
    EXPECT_EQ(g.Send(TSM_SETSELCELL, h, 2u | 0u << 16), 1);
    EXPECT_EQ(g.Geometry(h, TS_ITEM_FIRSTCOLSEL), 2);
    g.Send(TSM_SETSELCELL, h | 1u << 16, 0u | 2u << 16);
    EXPECT_EQ(g.Op(TS_SEL_COUNTCELLS, h), 2) << "hi(d0) bit 0 adds the cell";
    for (uint32_t m : {TSM_CELLCOMMAND, TSM_TABLECOMMAND, TSM_RANGECOMMAND})
        EXPECT_EQ(g.Send(m, h, 0), 1) << m;
    g.Send(TSM_SETCOLSEARCH, g.Range(2, 0, 2, -1), 1);
    EXPECT_TRUE(grid_->Data().Col(2)->flags & TS_COL_SEARCH);
    g.Send(TSM_SETCOLFLAGS, g.Range(0, 0, 0, -1) | TS_COL_SHOWN << 16, 0);
    EXPECT_EQ(g.Send(TSM_GETCOLSWIDTH, g.Range(0, 0, -1, -1)), 2 * TS_DEFAULT_COL_WIDTH);
    g.Release(h);
}

}  // namespace
