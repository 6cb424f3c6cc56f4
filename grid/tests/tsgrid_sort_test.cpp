// Sorting through the messages: specifications and key columns, the error
// lines, d0 = 3, new and changed rows placed once filled, and everything
// that follows rows (selections, the focus, identifiers) rather than
// positions.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "tsgriddriver.h"
#include "tsrecordinghost.h"
#include "tstesthost.h"
#include "tsvalue.h"

namespace {

const PropertyId kCellValue = TS_PROP(TS_GROUP_CELLS, TS_PART_STRING, TS_ITEM_VALUE);
const PropertyId kRowData = TS_PROP(TS_GROUP_ROWS, TS_PART_NUMBER, TS_ITEM_USER);

class TsGridSorting : public ::testing::Test {
protected:
    void SetUp() override { live_ = TsNativeLiveStrings(); }
    void TearDown() override
    {
        delete grid_;
        EXPECT_EQ(TsNativeLiveStrings(), live_) << "every value was released";
    }
    TsGridDriver Make(uint32_t cols, TsGridHost* host = nullptr)
    {
        grid_ = new TsGrid(1024, 32, host);
        TsGridDriver g(*grid_);
        g.Release(g.InsertCols(cols));
        return g;
    }
    // Appends a row whose cells take the texts left to right.
    void AddRow(TsGridDriver& g, std::vector<const char*> texts)
    {
        uint32_t h = g.InsertRows(1);
        for (size_t c = 0; c < texts.size(); ++c) {
            uint32_t cell = g.Range(static_cast<int32_t>(c), g.Geometry(h, TS_ITEM_FIRSTROWSEL),
                                    static_cast<int32_t>(c), g.Geometry(h, TS_ITEM_FIRSTROWSEL));
            g.SetText(cell, kCellValue, texts[c]);
            g.Release(cell);
        }
        g.Release(h);
    }
    std::string Column(TsGridDriver& g, int32_t col)
    {
        std::string out;
        for (uint32_t r = 0; r < g.RowCount(); ++r)
            out += (r ? " " : "") + g.CellText(static_cast<int32_t>(r), col);
        return out;
    }
    intptr_t Sort(TsGridDriver& g, const char* spec, std::vector<int32_t> keys, uint32_t d0 = 0, bool rows = true)
    {
        TsSortRequest request = {spec, {-1, -1, -1, -1, -1, -1, -1, -1}};
        for (size_t i = 0; i < keys.size() && i < 8; ++i)
            request.keys[i] = keys[i];
        return g.Send(rows ? TSM_SORTROWS : TSM_SORTCOLS, d0, &request);
    }
    TsTestHost host_;
    TsGrid* grid_ = nullptr;
    int live_ = 0;
};

TEST_F(TsGridSorting, PlusAWithKeyColumnTwoSortsByThatColumnAscending)
{
    TsGridDriver g = Make(3);
    for (const char* t : {"pear", "apple", "fig", "banana"})
        AddRow(g, {"x", "y", t});
    EXPECT_EQ(Sort(g, "+a", {2}), 1);
    EXPECT_EQ(Column(g, 2), "apple banana fig pear");
    EXPECT_EQ(Sort(g, "-a", {2}), 1);
    EXPECT_EQ(Column(g, 2), "pear fig banana apple");
    // The playlist's folder sort: one key, the further key columns unused.
    EXPECT_EQ(Sort(g, "+a", {2, 1, 2, 3, 4, 5, 6, 7}), 1);
    EXPECT_EQ(Column(g, 2), "apple banana fig pear");
    EXPECT_TRUE(TsTestHost::Diagnostics().empty());
}

TEST_F(TsGridSorting, NumbersDescendingThenRowDataAscending)
{
    TsGridDriver g = Make(2);
    const char* texts[] = {"9", "10", "-5", "10", "3"};
    const int32_t data[] = {1, 7, 2, 4, 3};
    for (int i = 0; i < 5; ++i) {
        AddRow(g, {texts[i], std::to_string(data[i]).c_str()});
        uint32_t row = g.Row(i);
        g.SetNumber(row, kRowData, data[i]);
        g.Release(row);
    }
    Sort(g, "-n,+r", {0});
    EXPECT_EQ(Column(g, 0), "10 10 9 3 -5") << "10 after 9 as numbers; -5 last";
    EXPECT_EQ(Column(g, 1), "4 7 1 3 2") << "equal numbers by row data";
    Sort(g, "+n", {0});
    EXPECT_EQ(Column(g, 0), "-5 3 9 10 10") << "-5 before 3";
    EXPECT_EQ(Column(g, 1), "2 3 1 4 7") << "the equal tens keep their order";
}

TEST_F(TsGridSorting, BadSpecificationsWriteTheirLines)
{
    TsGridDriver g = Make(3);
    for (const char* t : {"b", "c", "a"})
        AddRow(g, {t, t, t});
    Sort(g, "+a", {1});
    EXPECT_EQ(Column(g, 1), "a b c");

    Sort(g, "a,a,a,a,a,a,a,a,a", {0, 1, 2});
    EXPECT_EQ(TsTestHost::Diagnostics(), std::vector<std::string>{"TS: (TsWndMgr) Sort spec invalid."})
        << "nine keys fail the syntax";
    AddRow(g, {"0", "0", "0"});
    EXPECT_EQ(Column(g, 1), "0 a b c") << "the sort in force stays";

    TsTestHost::Diagnostics().clear();
    Sort(g, "r, r", {});
    EXPECT_EQ(TsTestHost::Diagnostics(),
              std::vector<std::string>{"TS: (TsWndMgr) Sort spec invalid; Row data specified twice, sorting disabled."});
    AddRow(g, {"z", "0", "z"});
    EXPECT_EQ(Column(g, 0), "0 a b c z") << "unsorted: new rows stay at the end";
    AddRow(g, {"y", "y", "y"});
    EXPECT_EQ(Column(g, 0), "0 a b c z y");
}

TEST_F(TsGridSorting, KeyColumnsByIdentifierAndMissingOnesSkipped)
{
    TsGridDriver g = Make(2);
    for (const char* t : {"b", "a", "c"})
        AddRow(g, {"1", t});
    std::vector<std::string> ids = g.GetList(g.Range(1, 0, 1, 0), TS_PROP(TS_GROUP_COLS, TS_PART_LIST, TS_ITEM_ID));
    int32_t column1 = std::stoi(ids.at(0));
    Sort(g, "+a,-a", {31, column1});
    EXPECT_EQ(Column(g, 1), "c b a") << "column 31 does not exist: its key is skipped";
    Sort(g, "+a", {column1});
    EXPECT_EQ(Column(g, 1), "a b c");
}

TEST_F(TsGridSorting, ModeThreeRemovesKeysAndReturnsToNaturalOrder)
{
    TsGridDriver g = Make(2);
    for (const char* t : {"b", "a", "c", "a"})
        AddRow(g, {t, std::to_string(g.RowCount()).c_str()});
    Sort(g, "+a,+a", {0, 1});
    EXPECT_EQ(Column(g, 1), "1 3 0 2");
    Sort(g, "", {0}, 3);
    EXPECT_EQ(Column(g, 1), "0 1 2 3") << "without column 0 the rows follow column 1";
    g.Send(TSM_SORTROWS, 3, static_cast<uintptr_t>(0));
    AddRow(g, {"0", "-"});
    EXPECT_EQ(Column(g, 1), "0 1 2 3 -") << "no keys: new rows are appended unsorted";
    uint32_t last = g.Row(4);
    g.Send(TSM_MOVEROWS, last, static_cast<uintptr_t>(-4));
    EXPECT_EQ(Column(g, 1), "- 0 1 2 3") << "rows move again";
    g.Release(last);
}

TEST_F(TsGridSorting, NewRowsArePlacedOnceTheClientHasFilledThem)
{
    RecordingHost host;
    TsGridDriver g = Make(1, &host);
    host.grid = grid_;
    host.defers = true;
    for (const char* t : {"a", "c", "e"})
        AddRow(g, {t});
    Sort(g, "+a", {0});
    uint32_t h = g.InsertRows(1, 0);
    EXPECT_EQ(g.Geometry(h, TS_ITEM_FIRSTROWSEL), 3) << "under a sort new rows go to the end";
    g.SetText(h, kCellValue, "d");
    EXPECT_EQ(Column(g, 0), "a c e d") << "not placed while the client is still filling";
    ASSERT_EQ(host.deferred, std::vector<uint32_t>{TS_DEFER_PLACE}) << "one request for the batch";
    host.RunDeferred();
    EXPECT_EQ(Column(g, 0), "a c d e");
    EXPECT_EQ(g.Geometry(h, TS_ITEM_FIRSTROWSEL), 2) << "the insertion's selection followed its row";
    g.SetText(h, kCellValue, "b");
    host.RunDeferred();
    EXPECT_EQ(Column(g, 0), "a b c e") << "a changed key places the row again";
    g.Release(h);
}

TEST_F(TsGridSorting, WithoutAHostThatDefersRowsArePlacedAfterEachMessage)
{
    TsGridDriver g = Make(2);
    Sort(g, "+a", {1});
    for (const char* t : {"c", "a", "b"})
        AddRow(g, {t, t});
    EXPECT_EQ(Column(g, 1), "a b c");
    g.SetCell(0, 0, "z");
    EXPECT_EQ(Column(g, 1), "a b c") << "a cell that is no key moves nothing";
    uint32_t all = g.Range(1, 0, 1, -1);
    g.Send(TSM_CLEARCELLS, all, TS_CELL_TEXT);
    g.Release(all);
    EXPECT_EQ(Column(g, 0), "z b c") << "cleared keys are equal: the rows keep their order";
}

TEST_F(TsGridSorting, SelectionsAndTheFocusFollowTheirRows)
{
    TsGridDriver g = Make(1);
    for (const char* t : {"d", "b", "c", "a"})
        AddRow(g, {t});
    std::vector<std::string> idsBefore = g.GetList(g.Range(0, 0, 0, -1), TS_PROP(TS_GROUP_ROWS, TS_PART_LIST, TS_ITEM_ID));
    uint32_t focus = g.Cell(2, 0);  // "c"
    g.Send(TSM_SETFOCUSSEL, focus, 1);
    uint32_t held = g.Range(0, 0, 0, 1);  // "d" and "b"
    Sort(g, "+a", {0});
    EXPECT_EQ(Column(g, 0), "a b c d");
    uint32_t f = static_cast<uint32_t>(g.Op(TS_SEL_FOCUS, 0));
    EXPECT_EQ(g.Geometry(f, TS_ITEM_FIRSTROWSEL), 2);
    EXPECT_EQ(g.CellText(g.Geometry(f, TS_ITEM_FIRSTROWSEL), 0), "c") << "the focus stayed on its row";
    EXPECT_EQ(g.Op(TS_SEL_COUNTROWS, held), 2);
    EXPECT_EQ(g.Geometry(held, TS_ITEM_FIRSTROWSEL), 1) << "b";
    EXPECT_EQ(g.Geometry(held, TS_ITEM_LASTROWSEL), 3) << "d";
    EXPECT_EQ(g.Op(TS_SEL_COUNTRECTS, held), 2) << "now two runs";
    std::vector<std::string> idsAfter = g.GetList(g.Range(0, 0, 0, -1), TS_PROP(TS_GROUP_ROWS, TS_PART_LIST, TS_ITEM_ID));
    std::sort(idsBefore.begin(), idsBefore.end());
    std::sort(idsAfter.begin(), idsAfter.end());
    EXPECT_EQ(idsBefore, idsAfter) << "rows keep their identifiers";
    for (uint32_t h : {focus, held, f})
        g.Release(h);
}

TEST_F(TsGridSorting, ColumnsSortByKeyRowsAndColumnData)
{
    TsGridDriver g = Make(4);
    AddRow(g, {"c", "a", "b", "a"});
    for (int c = 0; c < 4; ++c) {
        uint32_t col = g.Range(c, 0, c, -1);
        g.SetNumber(col, TS_PROP(TS_GROUP_COLS, TS_PART_NUMBER, TS_ITEM_USER), 10 - c);
        g.Release(col);
    }
    Sort(g, "+a,-c", {0}, 0, false);
    std::string order;
    for (int c = 0; c < 4; ++c)
        order += g.CellText(0, c);
    EXPECT_EQ(order, "aabc");
    std::vector<std::string> data = g.GetList(g.Range(0, 0, -1, 0), TS_PROP(TS_GROUP_COLS, TS_PART_LIST, TS_ITEM_USER));
    EXPECT_EQ(data, (std::vector<std::string>{"9", "7", "8", "10"})) << "equal keys by column data, descending";
    uint32_t h = g.InsertCols(1, 3);
    EXPECT_EQ(g.Geometry(h, TS_ITEM_FIRSTCOLSEL), 0) << "a new column is placed by its key (empty: first)";
    g.SetText(h, kCellValue, "b");
    EXPECT_EQ(g.Geometry(h, TS_ITEM_FIRSTCOLSEL), 3) << "after the other b, whose column data is larger";
    g.Release(h);
}

TEST_F(TsGridSorting, ADeletedKeyColumnLeavesTheKeyList)
{
    TsGridDriver g = Make(2);
    for (const char* t : {"b", "a"})
        AddRow(g, {"x", t});
    Sort(g, "+a", {1});
    uint32_t col = g.Range(1, 0, 1, -1);
    g.Send(TSM_DELETECOLS, col);
    g.Release(col);
    g.Release(g.InsertCols(1));  // may take the deleted column's record
    AddRow(g, {"y", "0"});
    EXPECT_EQ(grid_->SortKeys(true).count, 0);
    EXPECT_EQ(Column(g, 0), "x x y") << "no key remains: rows are appended";
    uint32_t last = g.Row(2);
    g.Send(TSM_MOVEROWS, last, static_cast<uintptr_t>(-2));
    EXPECT_EQ(Column(g, 0), "y x x") << "the grid is unsorted again";
    g.Release(last);
}

// Equal rows keep their relative order, ascending and descending, after a
// full sort and after rows are placed one by one; the order is the one
// std::stable_sort gives the same keys.
TEST_F(TsGridSorting, EqualRowsKeepTheirOrderInBothDirections)
{
    for (unsigned seed = 1; seed <= 6; ++seed) {
        for (const char* spec : {"+a", "-a", "+n", "-n"}) {
            std::mt19937 random(seed);
            TsGridDriver g = Make(2);
            bool numeric = spec[1] == 'n';
            bool descending = spec[0] == '-';
            std::vector<std::pair<std::string, int>> rows;
            int count = 40 + static_cast<int>(random() % 40);
            for (int i = 0; i < count; ++i) {
                std::string key = numeric ? std::to_string(static_cast<int>(random() % 7) - 3)
                                          : std::string(1, static_cast<char>('a' + random() % 4));
                rows.emplace_back(key, i);
                AddRow(g, {key.c_str(), std::to_string(i).c_str()});
                if (i == count / 2)
                    Sort(g, spec, {0});  // the rest are placed as they come
            }
            std::stable_sort(rows.begin(), rows.end(), [&](const auto& a, const auto& b) {
                int r = numeric ? TsCompareNumericText(a.first.c_str(), b.first.c_str())
                                : TsCompareTextOrdinal(a.first.c_str(), b.first.c_str());
                return descending ? r > 0 : r < 0;
            });
            std::string want;
            for (size_t i = 0; i < rows.size(); ++i)
                want += (i ? " " : "") + std::to_string(rows[i].second);
            EXPECT_EQ(Column(g, 1), want) << spec << " seed " << seed;
            delete grid_;
            grid_ = nullptr;
        }
    }
}

}  // namespace
