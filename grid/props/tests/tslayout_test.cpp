// Layout arithmetic: item sizes, the two items together, and how weights
// share the space left.
#include "tslayout.h"

#include <gtest/gtest.h>

#include <string.h>

#include <vector>

namespace {

// Every character is 10 pixels wide; B reports a content size per line.
struct FakeMeasure : TsMeasure {
    std::vector<int> best;
    int TextExtent(size_t, const char* text) override { return 10 * static_cast<int>(strlen(text)); }
    int BestExtent(size_t index) override { return index < best.size() ? best[index] : 0; }
};

std::vector<int> Layout(const std::vector<const char*>& templates, int available, FakeMeasure& measure,
                        const std::vector<bool>& shown = {})
{
    std::vector<TsSizeTemplate> parsed;
    for (const char* t : templates)
        parsed.push_back(TsParseTemplate(t, 96));
    std::vector<TsLayoutLine> lines;
    for (size_t i = 0; i < parsed.size(); ++i)
        lines.push_back(TsLayoutLine{&parsed[i], shown.empty() || shown[i]});
    std::vector<TsLineSize> out(lines.size());
    TsLayoutLines(lines.data(), lines.size(), available, measure, out.data());
    std::vector<int> sizes;
    for (const TsLineSize& s : out)
        sizes.push_back(s.Size());
    return sizes;
}

}  // namespace

TEST(TsLayout, FixedItemsGiveTheirSizes)
{
    FakeMeasure m;
    m.best = {0, 0, 0, 55};
    EXPECT_EQ(Layout({"[20]", "(3*M)", "[25%]", "[B]"}, 400, m), (std::vector<int>{20, 30, 100, 55}));
    EXPECT_EQ(Layout({"[12.5%]"}, 1000, m), (std::vector<int>{125}));
}

TEST(TsLayout, TheLargerOfTheTwoItemsWins)
{
    FakeMeasure m;
    m.best = {15, 60};
    EXPECT_EQ(Layout({"[B]:M", "[B]:M"}, 0, m), (std::vector<int>{15, 60}));
    EXPECT_EQ(Layout({"[40]:[10%]"}, 1000, m), (std::vector<int>{100}));
}

TEST(TsLayout, WeightsShareWhatIsLeftAndFillTheExtentExactly)
{
    FakeMeasure m;
    m.best = {30, 50, 0};
    // Base 30 + 50 + 20 = 100; 200 left, shared 1:1 by the first two lines.
    EXPECT_EQ(Layout({"[B]:[1R]", "[B]:[1R]", "[20]"}, 300, m), (std::vector<int>{130, 150, 20}));
    // 101 left over three equal weights: 34, 34, 33.
    m.best = {0, 0, 0};
    const std::vector<int> sizes = Layout({"[B]:[1R]", "[B]:[1R]", "[B]:[1R]"}, 101, m);
    EXPECT_EQ(sizes, (std::vector<int>{34, 34, 33}));
    // Weights 1 and 3.
    EXPECT_EQ(Layout({"[0]:[1r]", "[0]:[3r]"}, 400, m), (std::vector<int>{100, 300}));
}

TEST(TsLayout, AWeightAloneNeverVanishes)
{
    FakeMeasure m;
    // No space left: the weight-only line keeps the extent of "M".
    EXPECT_EQ(Layout({"[500]", "[1R]"}, 300, m), (std::vector<int>{500, 10}));
    EXPECT_EQ(Layout({"[100]", "[1R]"}, 300, m), (std::vector<int>{100, 200}));
}

TEST(TsLayout, HiddenLinesTakeNoSpaceAndNoShare)
{
    FakeMeasure m;
    EXPECT_EQ(Layout({"[100]", "[1R]", "[1R]"}, 300, m, {true, false, true}), (std::vector<int>{100, 0, 200}));
}

TEST(TsLayout, TheDefaultTemplateMeasuresSixM)
{
    FakeMeasure m;
    TsLayoutLine line{nullptr, true};
    TsLineSize size;
    TsLayoutLines(&line, 1, 1000, m, &size);
    EXPECT_EQ(size.Size(), 60);
}

TEST(TsLayout, BothItemSizesAreKeptForTheRecords)
{
    FakeMeasure m;
    m.best = {40};
    const TsSizeTemplate t = TsParseTemplate("[B]:[1R]", 96);
    TsLayoutLine line{&t, true};
    TsLineSize size;
    TsLayoutLines(&line, 1, 100, m, &size);
    EXPECT_EQ(size.first, 40);
    EXPECT_EQ(size.second, 100);
}
