// The view geometry over stored extents: rectangles, hit tests, the visible
// range, page sizes, scroll positions in shown lines, and placements.
#include <gtest/gtest.h>

#include "tsdatamgr.h"
#include "tstesthost.h"
#include "tsviewstate.h"

namespace {

struct GeometryTest : ::testing::Test {
    TsTestHost host;
    TsDataMgr data{100, 10};
    TsViewState view;

    void SetUp() override
    {
        data.InsertRows(0, 10, 0);
        data.InsertCols(0, 4, 0);
        // Rows 20 px, except row 3 (35 px); columns 50, 60, 70, 80.
        for (uint32_t r = 0; r < 10; ++r)
            data.Row(r)->height[0] = data.Row(r)->height[1] = r == 3 ? 35 : 20;
        for (uint32_t c = 0; c < 4; ++c)
            data.Col(c)->width[0] = data.Col(c)->width[1] = static_cast<uint16_t>(50 + 10 * c);
        view.SetClientSize(150, 100);
        view.Invalidate();
    }
    void Hide(uint32_t row)
    {
        data.Row(row)->flags &= ~TS_ROW_SHOWN;
        view.Invalidate();
    }
};

}  // namespace

TEST_F(GeometryTest, CellRectanglesFollowTheExtentsInTableOrder)
{
    TsPixels px;
    ASSERT_TRUE(view.CellRect(data, 4, 2, &px));
    EXPECT_EQ(px.left, 110);
    EXPECT_EQ(px.right, 180);
    EXPECT_EQ(px.top, 95);  // 3 x 20 + 35
    EXPECT_EQ(px.bottom, 115);
    EXPECT_FALSE(view.CellRect(data, 10, 0, &px));
    EXPECT_FALSE(view.CellRect(data, 0, 4, &px));
}

TEST_F(GeometryTest, HitTestFindsTheCellUnderAPointAndNothingBeyond)
{
    TsHit hit = view.HitTest(data, 55, 62);
    EXPECT_EQ(hit.row, 3);
    EXPECT_EQ(hit.col, 1);
    hit = view.HitTest(data, 0, 0);
    EXPECT_EQ(hit.row, 0);
    EXPECT_EQ(hit.col, 0);
    // Past the client area or before it: no line.
    EXPECT_EQ(view.HitTest(data, 150, 10).col, -1);
    EXPECT_EQ(view.HitTest(data, -1, 10).col, -1);
    EXPECT_EQ(view.HitTest(data, 10, 100).row, -1);
}

TEST_F(GeometryTest, HiddenRowsTakeNoSpaceAndAreNeverHit)
{
    Hide(1);
    Hide(2);
    TsPixels px;
    ASSERT_TRUE(view.CellRect(data, 3, 0, &px));
    EXPECT_EQ(px.top, 20);
    ASSERT_TRUE(view.CellRect(data, 2, 0, &px));
    EXPECT_TRUE(px.Empty());
    EXPECT_EQ(view.HitTest(data, 5, 20).row, 3);
    EXPECT_EQ(view.HitTest(data, 5, 19).row, 0);
    EXPECT_EQ(view.ShownRows(data), 8u);
    EXPECT_EQ(view.RowAfter(data, 0, 1), 3u);
    EXPECT_EQ(view.RowAfter(data, 3, -1), 0u);
    EXPECT_EQ(view.RowOrdinal(data, 3), 1u);
    EXPECT_EQ(view.RowAtOrdinal(data, 1), 3u);
}

TEST_F(GeometryTest, VisibleRangeCountsPartlyShownLinesAndFullyVisibleDoesNot)
{
    TsRect seen;
    ASSERT_TRUE(view.Visible(data, &seen));
    // Rows 0-2 (60 px) and row 3 (to 95 px) and row 4 partly (to 115).
    EXPECT_EQ(seen.top, 0);
    EXPECT_EQ(seen.bottom, 4);
    EXPECT_EQ(seen.left, 0);
    EXPECT_EQ(seen.right, 2);  // 50 + 60 = 110, the third ends at 180
    ASSERT_TRUE(view.FullyVisible(data, &seen));
    EXPECT_EQ(seen.bottom, 3);
    EXPECT_EQ(seen.right, 1);
    EXPECT_EQ(view.RowsInPage(data, 0, true), 4u);
    EXPECT_EQ(view.RowsInPage(data, 9, false), 5u);  // rows 5-9
}

TEST_F(GeometryTest, TheOriginNeverScrollsPastTheLastPage)
{
    // The last five rows (100 px) fill the view exactly.
    EXPECT_EQ(view.LastFirstRow(data), 5u);
    EXPECT_TRUE(view.SetOrigin(data, 9, 3));
    EXPECT_EQ(view.FirstRow(), 5u);
    EXPECT_EQ(view.FirstCol(), 2u);  // columns 2 and 3 make 150
    EXPECT_FALSE(view.ScrollLines(data, 1, 1));
    EXPECT_TRUE(view.ScrollLines(data, -2, 0));
    EXPECT_EQ(view.FirstRow(), 3u);
    TsPixels px;
    view.CellRect(data, 3, 2, &px);
    EXPECT_EQ(px.top, 0);
    EXPECT_EQ(px.left, 0);
}

TEST_F(GeometryTest, PlacementsShowAlignFirstAlignLastAndStep)
{
    // Row starts: 0, 20, 40, 60, 95, 115, 135, 155, 175, 195 (end 215).
    TsRect row7{7, 0, 7, 0};
    EXPECT_TRUE(view.ScrollTo(data, row7, TS_PLACE_SHOW << 2));
    EXPECT_EQ(view.FirstRow(), 4u);  // the least movement: row 7 ends at 80
    EXPECT_FALSE(view.ScrollTo(data, row7, TS_PLACE_SHOW << 2));  // already in view
    EXPECT_TRUE(view.ScrollTo(data, TsRect{1, 0, 1, 0}, TS_PLACE_FIRST << 2));
    EXPECT_EQ(view.FirstRow(), 1u);
    EXPECT_TRUE(view.ScrollTo(data, TsRect{6, 0, 6, 0}, TS_PLACE_LAST << 2));
    EXPECT_EQ(view.FirstRow(), 3u);  // rows 3-6 make 95 px; with row 2 they would not fit
    // Columns align on their own axis; rows stay.
    EXPECT_TRUE(view.ScrollTo(data, TsRect{0, 3, 0, 3}, TS_PLACE_SHOW));
    EXPECT_EQ(view.FirstCol(), 2u);
    EXPECT_EQ(view.FirstRow(), 3u);
    // A step moves at most that many shown lines toward the place.
    view.SetOrigin(data, 0, 0);
    EXPECT_TRUE(view.ScrollTo(data, TsRect{9, 0, 9, 0}, TS_PLACE_FIRST << 2 | TS_PLACE_STEP, false, 2));
    EXPECT_EQ(view.FirstRow(), 2u);
    EXPECT_EQ(TsScrollStep(0), 0u);
    EXPECT_EQ(TsScrollStep(21), 0u);
    EXPECT_GT(TsScrollStep(20), TsScrollStep(10));
}
