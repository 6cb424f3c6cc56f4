// The text query protocol, the creation text and the frame's properties.
#include <gtest/gtest.h>

#include <string.h>

#include "tscreatetext.h"
#include "tsframe.h"
#include "tsgriddriver.h"
#include "tstesthost.h"
#include "tsvalue.h"

namespace {

class TsQueryTest : public ::testing::Test {
protected:
    TsTestHost host_;
    TsGrid grid_{100, 10, nullptr};
    TsGridDriver g_{grid_};
};

TEST_F(TsQueryTest, RowCountAnswerEchoesTheArgumentAndValues)
{
    g_.Release(g_.InsertRows(12));
    TsGridDriver::Answer a = g_.Query(TSQ_ROWCOUNT);
    EXPECT_EQ(a.result, TSQ_RESULT);
    EXPECT_EQ(a.line, "12:0,0,0,0,0:");
    EXPECT_EQ(g_.Query(TSQ_COLCOUNT, 7, 1, 2, 3, 4).line, "0:7,1,2,3,4:");
}

TEST_F(TsQueryTest, ReadingWithoutAStoredCommandReturnsNothing)
{
    char buffer[64] = "untouched";
    EXPECT_EQ(grid_.GetQueryText(buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "untouched");
    EXPECT_EQ(grid_.SetQueryText("101:0,0,0,0,0:"), 1);
    EXPECT_EQ(grid_.GetQueryText(buffer, sizeof buffer), TSQ_RESULT);
    EXPECT_EQ(grid_.GetQueryText(buffer, sizeof buffer), 0) << "the record is used once";
    grid_.SetQueryText("117:0,0,0,0,0:");
    EXPECT_EQ(grid_.GetQueryText(buffer, sizeof buffer), 0) << "commands outside 101-116";
    EXPECT_EQ(grid_.GetQueryText(buffer, sizeof buffer), 0) << "and the record is gone";
}

TEST_F(TsQueryTest, CellTextByPositionOrIdentifier)
{
    g_.Release(g_.InsertCols(3));
    g_.Release(g_.InsertRows(6));
    g_.SetCell(5, 2, "Moonlight Sonata");
    EXPECT_EQ(g_.Query(TSQ_CELLTEXT, 0, 5, 2).line, "1:0,5,2,0,0:Moonlight Sonata");
    uint32_t row5 = g_.Row(5);
    int32_t id = g_.GetNumber(row5, 0x1313);
    EXPECT_EQ(g_.Query(TSQ_CELLTEXT, 0, static_cast<uint32_t>(id), 2).text, "Moonlight Sonata");
    EXPECT_EQ(g_.Query(TSQ_CELLTEXT, 0, 6, 0).line, "0:0,6,0,0,0:") << "outside the grid";
    EXPECT_EQ(g_.Query(TSQ_CELLTEXT, 0, 0, 3).line.substr(0, 2), "0:");
    g_.SetNumber(row5, TS_PROP(TS_GROUP_CELLS, TS_PART_NUMBER, TS_ITEM_VALUE), -7);
    EXPECT_EQ(g_.Query(TSQ_CELLTEXT, 0, 5, 1).text, "-7") << "numbers read in decimal";
}

TEST_F(TsQueryTest, SeparatorsAreAnyOneCharacterAndMissingDigitsReadZero)
{
    g_.Release(g_.InsertCols(2));
    g_.Release(g_.InsertRows(3));
    g_.SetCell(0, 0, "zero");
    g_.SetCell(2, 1, "two-one");
    char buffer[128];
    grid_.SetQueryText("103 0x2;1/0|0|");
    grid_.GetQueryText(buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "1:0,2,1,0,0:two-one");
    grid_.SetQueryText("103");
    grid_.GetQueryText(buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "1:0,0,0,0,0:zero") << "a text that ends early reads zeros";
    grid_.SetQueryText("101:0,0,0,0,0:a text that comes back");
    grid_.GetQueryText(buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "3:0,0,0,0,0:a text that comes back");
}

TEST_F(TsQueryTest, AnswersNeverWritePastTheCallersBuffer)
{
    g_.Release(g_.InsertCols(1));
    g_.Release(g_.InsertRows(1));
    std::string big(249, 'w');
    g_.SetCell(0, 0, big.c_str());
    char buffer[32];
    memset(buffer, '#', sizeof buffer);
    grid_.SetQueryText("103:0,0,0,0,0:");
    EXPECT_EQ(grid_.GetQueryText(buffer, 20), TSQ_RESULT);
    EXPECT_EQ(strlen(buffer), 19u);
    EXPECT_EQ(buffer[20], '#');
    grid_.SetQueryText("103:0,0,0,0,0:");
    char wide[300];
    grid_.GetQueryText(wide, sizeof wide);
    EXPECT_EQ(strlen(wide), strlen("1:0,0,0,0,0:") + 128) << "the record's text holds 128 characters";
}

TEST_F(TsQueryTest, AliasNamesSelectionAndGeometry)
{
    g_.Release(g_.InsertCols(3));
    g_.Release(g_.InsertRows(4));
    EXPECT_EQ(g_.Query(TSQ_COLORPAIR, 0, 1, 1).line, "1:0,1,1,0,0:Default");
    EXPECT_EQ(g_.Query(TSQ_COLORNAME, 0, 1, 1).text, "Light Gray");
    EXPECT_EQ(g_.Query(TSQ_FONT, 0, 1, 1).text, "Default");
    EXPECT_EQ(g_.Query(TSQ_ICON, 0, 9, 1).line, "0:0,9,1,0,0:");
    EXPECT_EQ(g_.Query(TSQ_SELECTION).line.substr(0, 2), "0:") << "slot 0 empty";
    g_.Send(TSM_SETFOCUSSEL, g_.Range(1, 2, 2, 3), 1);
    EXPECT_EQ(g_.Query(TSQ_SELECTION).line, "1:0,1,2,2,3:");
    // Rows of 20 pixels, columns of 100.
    g_.SetText(g_.Range(0, 0, -1, -1), TS_PROP(TS_GROUP_ROWS, TS_PART_STRING, TS_ITEM_TEMPLATE), "[20]");
    g_.SetText(g_.Range(0, 0, -1, -1), TS_PROP(TS_GROUP_COLS, TS_PART_STRING, TS_ITEM_TEMPLATE), "[100]");
    grid_.OnSize(250, 60);
    EXPECT_EQ(g_.Query(TSQ_CELLRECT, 0, 2, 1).line, "1:0,100,40,200,60:");
    EXPECT_EQ(g_.Query(TSQ_RECTVALID, 0, 0, 1, 2, 2).line, "1:0,0,20,300,60:");
    EXPECT_EQ(g_.Query(TSQ_RECTVALID, 0, 0, 1, 5, 2).line.substr(0, 2), "0:");
    EXPECT_EQ(g_.Query(TSQ_SHOWCELL, 0, 3, 0).line, "1:0,3,0,1,0:") << "row 3 comes into view";
    EXPECT_EQ(g_.Query(TSQ_FIRSTROW).line, "1:0,1,0,0,0:");
    EXPECT_EQ(g_.Query(TSQ_CELLRECT, 0, 0, 0).line, "1:0,0,4294967276,100,0:") << "above the view: negative";
    EXPECT_EQ(g_.Query(TSQ_CELLSCREENRECT, 0, 0, 0).line.substr(0, 2), "0:") << "no window, no screen";
    g_.SetNumber(0, TS_PROP(TS_GROUP_GRID, TS_PART_NUMBER, TS_ITEM_COLTABLE), 250);
    EXPECT_EQ(g_.Query(TSQ_COLTABLE).line, "250:0,0,0,0,0:");
    g_.SetNumber(0, TS_PROP(TS_GROUP_GRID, TS_PART_NUMBER, TS_ITEM_COLTABLE), 251);
    EXPECT_EQ(g_.Query(TSQ_COLTABLE).line, "250:0,0,0,0,0:") << "out of range is ignored";
}

TEST(TsCreationText, KeysInAnyCaseWithBlanksAroundTheEqualsSign)
{
    struct Case {
        const char* text;
        uint32_t rows, cols, flags;
    } cases[] = {
        {"MaxRows=8192 MaxCols=7", 8192, 7, 0x0800},
        {"maxrows = 8192   MAXCOLS=7", 8192, 7, 0x0800},
        {"  mAxRoWs =8192 maxCols= 7  ", 8192, 7, 0x0800},
        {"", 1024, 32, 0},
        {"Thread=shared", 1024, 32, 0x1800},
        {"thread=OWN MaxRows=0x10", 16, 32, 0x2800},
        {"thread=main", 1024, 32, 0x0800},
        {"Other=1 MaxCols=3", 1024, 3, 0x0800},
        {"MaxRows=5;", 5, 32, 0x0800},
        {"MaxRows=5 ;", 1024, 32, 0},
        {"MaxRows", 1024, 32, 0},
        {"MaxRows=-3", 0, 32, 0x0800},
        {"   ", 1024, 32, 0},
    };
    for (const Case& c : cases) {
        TsCreation got = TsParseCreationText(c.text);
        EXPECT_EQ(got.params.maxRows, c.rows) << '"' << c.text << '"';
        EXPECT_EQ(got.params.maxCols, c.cols) << '"' << c.text << '"';
        EXPECT_EQ(got.flags, c.flags) << '"' << c.text << '"';
    }
    EXPECT_EQ(TsParseCreationText(nullptr).flags, 0u);
}

TEST(TsFrame, BordersMarginAndInset)
{
    TsTestHost host;
    TsFrameState f;
    EXPECT_EQ(f.Inset(), 0) << "default borders have width 0";
    TsValue* v = TsMakeNumber(-2);
    EXPECT_TRUE(f.SetItem(41, v));
    EXPECT_EQ(f.outer, 2) << "negative: the width without the style bit";
    EXPECT_EQ(f.Inset(), 2);
    TsValueRelease(v);
    v = TsMakeNumber(3);
    f.SetItem(40, v);
    EXPECT_EQ(f.inner, 11) << "3 with the style bit";
    f.SetItem(42, v);
    EXPECT_EQ(f.Inset(), 2 + 3 + 3);
    TsValueRelease(v);
    v = TsMakeNumber(8);
    f.SetItem(40, v);
    f.SetItem(42, v);
    EXPECT_EQ(f.inner, 11) << "out of range is ignored";
    EXPECT_EQ(f.margin, 3);
    TsValueRelease(v);
    int32_t margin = 0;
    EXPECT_TRUE(f.GetItem(42, &margin));
    EXPECT_EQ(margin, 3);
    EXPECT_FALSE(f.GetItem(40, &margin));
    v = TsMakeText("");
    f.SetItem(43, v);
    EXPECT_STREQ(TsValueText(f.color[0]), "Color_3DFace");
    TsValueRelease(v);
    EXPECT_EQ(f.SetStyle(0, 0x100000), 0x100000u);
    EXPECT_EQ(f.SetStyle(1, 0x100000), 0u);
}

}  // namespace
