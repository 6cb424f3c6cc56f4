// Selection arithmetic on rectangle sets.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "tsrectset.h"

namespace {

TsRectSet Of(std::vector<TsRect> rects)
{
    TsRectSet s;
    for (const TsRect& r : rects)
        s.Add(r);
    return s;
}

std::vector<std::pair<int, int>> Cells(const TsRectSet& s, int rows = 20, int cols = 20)
{
    std::vector<std::pair<int, int>> out;
    s.ForEachCell(rows, cols, [&out](int32_t r, int32_t c) { out.emplace_back(r, c); });
    return out;
}

int CellCount(const TsRectSet& s, int rows = 50, int cols = 50)
{
    return static_cast<int>(Cells(s, rows, cols).size());
}

TEST(TsRectSetOperations, UnionIntersectionDifferenceAndXorCountCellsOnce)
{
    TsRectSet a = Of({{0, 0, 3, 3}});    // 16 cells
    TsRectSet b = Of({{2, 2, 5, 5}});    // 16 cells, 4 shared
    TsRectSet u = a;
    u.Union(b);
    EXPECT_EQ(CellCount(u), 28);
    TsRectSet i = a;
    i.Intersect(b);
    EXPECT_EQ(Cells(i), (std::vector<std::pair<int, int>>{{2, 2}, {2, 3}, {3, 2}, {3, 3}}));
    TsRectSet d = a;
    d.Subtract(b);
    EXPECT_EQ(CellCount(d), 12);
    EXPECT_FALSE(d.Contains(3, 3));
    TsRectSet x = a;
    x.Xor(b);
    EXPECT_EQ(CellCount(x), 24);
    TsRectSet self = a;
    self.Subtract(a);
    EXPECT_TRUE(self.Empty());
    self = a;
    self.Xor(a);
    EXPECT_TRUE(self.Empty());
}

TEST(TsRectSetOperations, WalksAreClippedAndOrderedRowsFirst)
{
    TsRectSet s = Of({{1, 3, 2, 4}, {0, 0, 1, 0}});
    EXPECT_EQ(Cells(s), (std::vector<std::pair<int, int>>{{0, 0}, {1, 0}, {1, 3}, {1, 4}, {2, 3}, {2, 4}}));
    std::vector<int> rows;
    s.ForEachRow(2, 20, [&rows](int32_t r) { rows.push_back(r); });
    EXPECT_EQ(rows, (std::vector<int>{0, 1})) << "clipped to two rows";
    rows.clear();
    s.ForEachRow(20, 2, [&rows](int32_t r) { rows.push_back(r); });
    EXPECT_EQ(rows, (std::vector<int>{0, 1})) << "row 2 is covered only in columns past the grid";
    TsRectSet one = Of({{3, 5, 4, 9}});
    rows.clear();
    one.ForEachRow(20, 5, [&rows](int32_t r) { rows.push_back(r); });
    EXPECT_TRUE(rows.empty()) << "one rectangle wholly right of the grid";
    TsRectSet whole;
    whole.Set(TsWholeGrid());
    EXPECT_EQ(CellCount(whole, 3, 2), 6);
    EXPECT_EQ(CellCount(whole, 0, 7), 0);
    TsRect bounds;
    ASSERT_TRUE(s.Bounds(&bounds));
    EXPECT_EQ(bounds, (TsRect{0, 0, 2, 4}));
    EXPECT_FALSE(TsRectSet().Bounds(&bounds));
}

TEST(TsRectSetOperations, ManySingleRowsMergeIntoOneRectangle)
{
    TsRectSet s;
    for (int r = 0; r < 5000; ++r)
        s.Add(TsRect{r, 2, r, 2});
    EXPECT_EQ(s.Rects().size(), 1u);
    EXPECT_EQ(s.Rects()[0], (TsRect{0, 2, 4999, 2}));
}

TEST(TsRectSetLines, InsertionMovesAndGrowsRectangles)
{
    TsRectSet s = Of({{5, 0, 5, 0}});  // the focus cell on row 5
    s.InsertRows(5, 2);
    EXPECT_EQ(s.Rects()[0], (TsRect{7, 0, 7, 0})) << "the cell's row moved down";
    s.InsertRows(8, 3);
    EXPECT_EQ(s.Rects()[0], (TsRect{7, 0, 7, 0})) << "rows below do not move it";
    TsRectSet block = Of({{2, 0, 6, 1}});
    block.InsertRows(4, 10);
    EXPECT_EQ(block.Rects()[0], (TsRect{2, 0, 16, 1})) << "a block spanning the place grows";
    TsRectSet allRows = Of({{0, 3, TS_ALL_ROWS - 1, 3}});
    allRows.InsertRows(0, 4);
    allRows.DeleteRows(0, 50);
    EXPECT_EQ(allRows.Rects()[0], (TsRect{0, 3, TS_ALL_ROWS - 1, 3})) << "all rows stay all rows";
}

TEST(TsRectSetLines, DeletionShrinksOrRemovesRectangles)
{
    TsRectSet s = Of({{2, 0, 8, 0}, {10, 1, 10, 1}});
    s.DeleteRows(4, 3);  // rows 4-6 go
    EXPECT_EQ(Cells(s), (std::vector<std::pair<int, int>>{{2, 0}, {3, 0}, {4, 0}, {5, 0}, {7, 1}}));
    s.DeleteRows(7, 1);
    EXPECT_EQ(CellCount(s), 4);
    s.DeleteRows(0, 100);
    EXPECT_TRUE(s.Empty());
    TsRectSet cols = Of({{0, 5, 0, 9}});
    cols.DeleteCols(3, 4);  // columns 3-6
    EXPECT_EQ(cols.Rects()[0], (TsRect{0, 3, 0, 5}));
}

TEST(TsRectSetLines, ReorderedLinesAreFollowedWhereverTheyGo)
{
    // Rows 0-5 reversed: row i is now row 5 - i.
    const std::vector<int32_t> reversed = {5, 4, 3, 2, 1, 0};
    TsRectSet s = Of({{1, 0, 2, 1}, {4, 2, 4, 2}});
    s.RemapRows(reversed);
    EXPECT_EQ(Cells(s), (std::vector<std::pair<int, int>>{{1, 2}, {3, 0}, {3, 1}, {4, 0}, {4, 1}}));
    TsRectSet scattered = Of({{0, 0, 2, 0}});
    scattered.RemapRows({0, 3, 5, 1, 2, 4});
    EXPECT_EQ(scattered.Rects().size(), 3u) << "rows 0, 3 and 5 apart";
    EXPECT_EQ(Cells(scattered), (std::vector<std::pair<int, int>>{{0, 0}, {3, 0}, {5, 0}}));
    TsRectSet whole = Of({TsWholeGrid()});
    whole.RemapRows(reversed);
    EXPECT_EQ(whole.Rects()[0], TsWholeGrid()) << "the whole grid stays the whole grid";
    TsRectSet tail = Of({{4, 0, 20, 0}});
    tail.RemapRows(reversed);
    EXPECT_EQ(CellCount(tail), 2 + 15);
    EXPECT_TRUE(tail.Contains(0, 0) && tail.Contains(1, 0) && tail.Contains(6, 0) && !tail.Contains(2, 0))
        << "rows 4 and 5 moved to 1 and 0; rows past the table stayed";
    TsRectSet cols = Of({{0, 0, 3, 0}});
    cols.RemapCols({2, 0, 1});
    EXPECT_EQ(cols.Rects()[0], (TsRect{0, 2, 3, 2}));
}

}  // namespace
