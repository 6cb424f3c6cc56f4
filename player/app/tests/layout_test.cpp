#include "main_layout.h"
#include "time_display.h"

#include <gtest/gtest.h>

namespace zub {
namespace {

TEST(StatusParts, EdgesFromTheWidestTexts)
{
    EXPECT_EQ(StatusPartEdges(400, 80, 60), (std::array<int, 3>{226, 294, 382}));
    EXPECT_EQ(StatusPartEdges(1000, 100, 50), (std::array<int, 3>{816, 874, 982}));
}

TEST(StatusParts, BordersAndGripGrowWithTheDotsPerInch)
{
    EXPECT_EQ(StatusPartEdges(400, 80, 60, 96), StatusPartEdges(400, 80, 60));
    EXPECT_EQ(StatusPartEdges(1000, 100, 50, 192), (std::array<int, 3>{782, 848, 964}));
    EXPECT_EQ(StatusPartEdges(1000, 100, 50, 144), (std::array<int, 3>{799, 861, 973}));
}

TEST(MainWindowSize, GrowsWithTheDotsPerInch)
{
    EXPECT_EQ(380, DefaultMainSize(96).width);
    EXPECT_EQ(200, DefaultMainSize(96).height);
    EXPECT_EQ(475, DefaultMainSize(120).width);
    EXPECT_EQ(300, DefaultMainSize(144).height);
    EXPECT_EQ(380, DefaultMainSize(0).width) << "an unknown resolution counts as 96";
}

TEST(StatusParts, NarrowWindowsNeverGiveNegativeOrDecreasingEdges)
{
    EXPECT_EQ(StatusPartEdges(100, 80, 60), (std::array<int, 3>{0, 0, 82}));
    EXPECT_EQ(StatusPartEdges(10, 80, 60), (std::array<int, 3>{0, 0, 0}));
}

TEST(DisplayPlacementTest, FillsBetweenToolbarAndStatusBar)
{
    DisplayPlacement p = PlaceDisplay(160, 28, 20);
    EXPECT_EQ(p.top, 28);
    EXPECT_EQ(p.height, 112);
    EXPECT_EQ(p.growBy, 0);
    p = PlaceDisplay(160, 0, 0);
    EXPECT_EQ(p.height, 160);
}

TEST(DisplayPlacementTest, TooSmallWindowGrowsByTheShortfall)
{
    DisplayPlacement p = PlaceDisplay(30, 28, 20);
    EXPECT_EQ(p.height, 0);
    EXPECT_EQ(p.growBy, 18);
    EXPECT_EQ(PlaceDisplay(48, 28, 20).growBy, 0);
}

TEST(DisplayPlacementTest, MinimumTrackingHeightKeepsTheBars)
{
    EXPECT_EQ(MinTrackHeight(200, 112), 88);
    EXPECT_EQ(MinTrackHeight(200, 0), 200);
}

// A font whose characters are 3/5 of the character height wide and whose
// cell is 6/5 of it high; colons are half as wide as digits.
TextExtent FakeMeasure(int h)
{
    TextExtent e;
    int digit = 3 * h / 5;
    int colon = digit / 2;
    for (int i = 0; i < kTimeLayoutLength; ++i)
        e.prefix[i + 1] = e.prefix[i] + (kTimeLayoutText[i] == ':' ? colon : digit);
    e.cx = e.prefix[kTimeLayoutLength];
    e.cy = 6 * h / 5;
    return e;
}

TEST(SmallWindowPlacement, BelowTheOwnerAboveItWhenTheScreenEndsOrAsLowAsTheScreenAllows)
{
    const ScreenRect work{0, 0, 1024, 738};  // a taskbar below
    const WindowSize lyrics{460, 110};
    auto at = [&](ScreenRect owner) {
        const ScreenPoint p = PlaceBesideOwner(owner, lyrics, work);
        return std::make_pair(p.x, p.y);
    };
    EXPECT_EQ(std::make_pair(100, 400), at({100, 100, 500, 400})) << "under the owner's left edge";
    EXPECT_EQ(std::make_pair(100, 490), at({100, 600, 500, 738})) << "over the owner at the bottom";
    EXPECT_EQ(std::make_pair(100, 628), at({100, 50, 500, 700})) << "no room either side: at the bottom";
    EXPECT_EQ(std::make_pair(564, 400), at({900, 100, 1300, 400})) << "pulled left to be whole";
    EXPECT_EQ(std::make_pair(0, 400), at({-300, 100, 100, 400})) << "pulled right to be whole";
    const ScreenPoint huge = PlaceBesideOwner({0, 0, 100, 100}, {2000, 900}, work);
    EXPECT_EQ(std::make_pair(0, 0), std::make_pair(huge.x, huge.y)) << "larger than the screen: its top left";
    const ScreenPoint right = PlaceBesideOwner({1000, 50, 1400, 700}, lyrics, {1024, 0, 2048, 738});
    EXPECT_EQ(std::make_pair(1024, 628), std::make_pair(right.x, right.y)) << "a second screen's work area";
}

TEST(DisplayLayoutTest, WideWindowUsesThreeQuartersOfTheHeight)
{
    DisplayLayout l = ComputeDisplayLayout(600, 100, FakeMeasure);
    EXPECT_EQ(l.charHeight, 75);
    TextExtent e = FakeMeasure(75);
    EXPECT_EQ(l.y, (100 - e.cy) / 2);
    EXPECT_EQ(l.x[0], (600 - e.cx) / 2);
    EXPECT_EQ(l.x[2], l.x[0] + 2 * (3 * 75 / 5));
    EXPECT_EQ(l.x[7] - l.x[6], 3 * 75 / 5);
}

TEST(DisplayLayoutTest, NarrowWindowShrinksToThreeQuartersOfTheWidth)
{
    DisplayLayout l = ComputeDisplayLayout(200, 200, FakeMeasure);
    TextExtent first = FakeMeasure(150);
    EXPECT_EQ(l.charHeight, (3 * 200 / 4) * first.cy / first.cx);
    // Sized from the cell height, the text may pass three quarters of the
    // width a little but stays inside the window.
    EXPECT_LE(FakeMeasure(l.charHeight).cx, 200);
    EXPECT_GE(l.x[0], 0);
}

TEST(DisplayLayoutTest, ZeroSizedWindowStillGivesAFont)
{
    DisplayLayout l = ComputeDisplayLayout(0, 0, FakeMeasure);
    EXPECT_EQ(l.charHeight, 1);
}

TEST(SunkenFrame, LinesOfA100By50Window)
{
    auto lines = SunkenFrameLines(100, 50);
    struct Expect {
        int x, y, w, h;
        FrameColour c;
    } expected[] = {
        {0, 0, 1, 49, FrameColour::Grey},      {1, 0, 98, 1, FrameColour::Grey},
        {1, 1, 1, 47, FrameColour::Black},     {2, 1, 96, 1, FrameColour::Black},
        {99, 0, 1, 49, FrameColour::White},    {0, 49, 100, 1, FrameColour::White},
        {98, 1, 1, 48, FrameColour::LightGrey}, {1, 48, 98, 1, FrameColour::LightGrey},
    };
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(lines[i].x, expected[i].x) << i;
        EXPECT_EQ(lines[i].y, expected[i].y) << i;
        EXPECT_EQ(lines[i].width, expected[i].w) << i;
        EXPECT_EQ(lines[i].height, expected[i].h) << i;
        EXPECT_EQ(lines[i].colour, expected[i].c) << i;
    }
}

TEST(TimeShown, ElapsedAndRemaining)
{
    // A song of 3 minutes 25 seconds.
    EXPECT_EQ(DisplaySeconds(0, 205, true), 205u);
    EXPECT_EQ(HoursPiece(205) + MinutesPiece(205) + SecondsPiece(205), "00:03:25");
    EXPECT_EQ(DisplaySeconds(1999, 205, true), 204u);
    EXPECT_EQ(DisplaySeconds(1999, 205, false), 1u);
    EXPECT_EQ(DisplaySeconds(300000, 205, true), 0u) << "remaining time never goes below zero";
}

TEST(TimeShown, TensOfHours)
{
    uint32_t s = 12 * 3600 + 34 * 60 + 56;
    EXPECT_EQ(HoursPiece(s), "12");
    EXPECT_EQ(MinutesPiece(s), ":34");
    EXPECT_EQ(SecondsPiece(s), ":56");
    EXPECT_EQ(DisplaySeconds(1000u * 500 * 3600, 0, false), 99u * 3600 + 59 * 60 + 59);
    EXPECT_EQ(HoursPiece(DisplaySeconds(4000000000u, 0, false)), "99");
}

TEST(TimeRedrawTest, OnlyChangedGroups)
{
    TimeRedraw r;
    EXPECT_EQ(r.Plan(0), unsigned(kGroupHours | kGroupMinutes | kGroupSeconds));
    EXPECT_EQ(r.Plan(0), 0u);
    EXPECT_EQ(r.Plan(1), unsigned(kGroupSeconds));
    EXPECT_EQ(r.Plan(60), unsigned(kGroupMinutes | kGroupSeconds));
    EXPECT_EQ(r.Plan(3660), unsigned(kGroupHours));
    r.RequestFull();
    EXPECT_EQ(r.Plan(3660), unsigned(kGroupHours | kGroupMinutes | kGroupSeconds));
    EXPECT_EQ(r.Plan(3600 + 60 * 61), unsigned(kGroupHours));  // 2:01:00 after 1:01:00
}

}  // namespace
}  // namespace zub
