// The keyboard, the mouse and the AutoSearch through the portable grid:
// where the focus goes, what the selection becomes, which notifications
// and events follow. Rows are made 20 pixels high and columns 100 wide.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tsgriddriver.h"
#include "tskeys.h"
#include "tsrecordinghost.h"
#include "tstesthost.h"

namespace {

class TsGridInput : public ::testing::Test {
protected:
    void SetUp() override { live_ = TsNativeLiveStrings(); }
    void TearDown() override
    {
        delete g_;
        delete grid_;
        EXPECT_EQ(TsNativeLiveStrings(), live_) << "every value was released";
    }
    // rows x cols cells "r,c"; the window 300 x 200 pixels (10 rows in view).
    void Make(int rows, int cols, RecordingHost* host = nullptr)
    {
        RecordingHost* h = host ? host : &host_;
        grid_ = new TsGrid(1024, 32, h);
        h->grid = grid_;
        g_ = new TsGridDriver(*grid_);
        g_->Release(g_->InsertCols(static_cast<uint32_t>(cols)));
        for (int r = 0; r < rows; ++r) {
            g_->Release(g_->InsertRows(1));
            for (int c = 0; c < cols; ++c)
                g_->SetCell(r, c, (std::to_string(r) + "," + std::to_string(c)).c_str());
        }
        g_->FixSizes(20, 100);
        grid_->OnSize(300, 200);
        grid_->FocusGained();
    }
    std::string Focus()
    {
        uint32_t row, col;
        return grid_->FocusCell(&row, &col) ? std::to_string(row) + "," + std::to_string(col) : "none";
    }
    // The selection's bounds and how many rectangles make it.
    std::string Selection()
    {
        uint32_t s = static_cast<uint32_t>(g_->Op(TS_SEL_CURRENT, 0));
        std::string out = "rows " + std::to_string(g_->Geometry(s, TS_ITEM_FIRSTROWSEL)) + "-" +
                          std::to_string(g_->Geometry(s, TS_ITEM_LASTROWSEL)) + " cols " +
                          std::to_string(g_->Geometry(s, TS_ITEM_FIRSTCOLSEL)) + "-" +
                          std::to_string(g_->Geometry(s, TS_ITEM_LASTCOLSEL)) + " in " +
                          std::to_string(g_->Op(TS_SEL_COUNTRECTS, s));
        g_->Release(s);
        return out;
    }
    void Key(uint32_t key, uint32_t mods = 0)
    {
        grid_->KeyDown(key, mods);
        grid_->KeyUp(key, mods);
        host_.EndOfMessage();
    }
    // A press and release at the centre of a cell.
    void Click(int row, int col, uint32_t mods = 0, uint32_t time = 5000)
    {
        grid_->MouseDown(TS_BUTTON_LEFT, col * 100 + 50, row * 20 + 10, mods, time);
        grid_->MouseUp(TS_BUTTON_LEFT, col * 100 + 50, row * 20 + 10, mods);
        host_.EndOfMessage();
    }
    void Hide(int row)
    {
        uint32_t h = g_->Row(row);
        g_->Send(TSM_HIDEROWS, h, 1);
        g_->Release(h);
    }

    RecordingHost host_;
    TsTestHost textHost_;
    TsGrid* grid_ = nullptr;
    TsGridDriver* g_ = nullptr;
    int live_ = 0;
};

TEST_F(TsGridInput, KeysMoveTheFocusOverShownCells)
{
    Make(30, 3);
    Hide(2);
    Key(TS_KEY_DOWN);
    EXPECT_EQ(Focus(), "0,0") << "the first key finds the first cell";
    Key(TS_KEY_DOWN);
    Key(TS_KEY_DOWN);
    EXPECT_EQ(Focus(), "3,0") << "hidden row 2 is stepped over";
    Key(TS_KEY_RIGHT);
    Key(TS_KEY_RIGHT);
    Key(TS_KEY_RIGHT);
    EXPECT_EQ(Focus(), "3,2") << "stops at the last column";
    Key(TS_KEY_PAGEDOWN);
    EXPECT_EQ(Focus(), "12,2") << "a page is the rows in view less one";
    EXPECT_EQ(g_->GetNumber(0, TS_PROP(TS_GROUP_GRID, TS_PART_NUMBER, TS_ITEM_FIRSTROW)), 2)
        << "scrolled into view: rows 3-12 fill the window, hidden row 2 takes no room";
    Key(TS_KEY_HOME);
    EXPECT_EQ(Focus(), "12,0") << "Home: the row's first cell";
    Key(TS_KEY_END, TS_MOD_CONTROL);
    EXPECT_EQ(Focus(), "29,2") << "Control+End: the grid's last cell";
    Key(TS_KEY_PAGEUP);
    Key(TS_KEY_PAGEUP);
    Key(TS_KEY_PAGEUP);
    Key(TS_KEY_PAGEUP);
    EXPECT_EQ(Focus(), "0,2");
    EXPECT_EQ(Selection(), "rows 0-0 cols 2-2 in 1");
}

TEST_F(TsGridInput, ShiftExtendsFromTheAnchorAndEachChangeIsHeardOnce)
{
    Make(10, 3);
    Click(2, 1);
    host_.heard.clear();
    Key(TS_KEY_DOWN, TS_MOD_SHIFT);
    Key(TS_KEY_DOWN, TS_MOD_SHIFT);
    Key(TS_KEY_RIGHT, TS_MOD_SHIFT);
    EXPECT_EQ(Selection(), "rows 2-4 cols 1-2 in 1");
    EXPECT_EQ(Focus(), "4,2");
    EXPECT_EQ(host_.heard, (std::vector<uint32_t>{TSN_SELCHANGE, TSN_SELCHANGE, TSN_SELCHANGE}));
    Key(TS_KEY_UP, TS_MOD_SHIFT);
    Key(TS_KEY_UP, TS_MOD_SHIFT);
    Key(TS_KEY_UP, TS_MOD_SHIFT);
    EXPECT_EQ(Selection(), "rows 1-2 cols 1-2 in 1") << "back past the anchor";
    Key(TS_KEY_LEFT);
    EXPECT_EQ(Selection(), "rows 1-1 cols 1-1 in 1") << "without Shift the selection follows the focus";
}

TEST_F(TsGridInput, RowSelectionTakesWholeRowsAndHomeEndGoToTheEnds)
{
    Make(10, 3);
    g_->Send(TSM_SETOPTIONS, TS_OPT_ROWSELECT, TS_OPT_ROWSELECT);
    Click(3, 2);
    EXPECT_EQ(Selection(), "rows 3-3 cols 0-2 in 1");
    Key(TS_KEY_END);
    EXPECT_EQ(Focus(), "9,2") << "the last row, the focus column kept";
    Key(TS_KEY_HOME, TS_MOD_SHIFT);
    EXPECT_EQ(Selection(), "rows 0-9 cols 0-2 in 1");
    Key(TS_KEY_SPACE, TS_MOD_CONTROL);
    EXPECT_FALSE(grid_->Char(' ', TS_MOD_CONTROL) && false);
    EXPECT_EQ(Selection(), "rows 1-9 cols 0-2 in 1") << "Control+Space takes the focus row out";
}

TEST_F(TsGridInput, ClicksSelectShiftExtendsControlToggles)
{
    Make(10, 3);
    Click(1, 0);
    EXPECT_EQ(host_.heard, (std::vector<uint32_t>{TSN_CELLHIT, TSN_SELCHANGE}));
    Click(3, 1, TS_MOD_SHIFT);
    EXPECT_EQ(Selection(), "rows 1-3 cols 0-1 in 1");
    Click(5, 2, TS_MOD_CONTROL);
    EXPECT_EQ(Selection(), "rows 1-5 cols 0-2 in 2");
    Click(5, 2, TS_MOD_CONTROL, 9000);
    EXPECT_EQ(Selection(), "rows 1-3 cols 0-1 in 1") << "a second Control+click takes the cell out again";
    EXPECT_EQ(Focus(), "5,2");
    grid_->MouseDown(TS_BUTTON_LEFT, 250, 250, 0, 20000);  // below the last row: no cell
    grid_->MouseUp(TS_BUTTON_LEFT, 250, 250, 0);
    EXPECT_EQ(Focus(), "5,2") << "a press outside the cells changes nothing";
}

TEST_F(TsGridInput, ADoubleClickIsTwoPressesOnOneCellWithinTimeAndDistance)
{
    Make(10, 3);
    Click(4, 1, 0, 1000);
    host_.heard.clear();
    Click(4, 1, 0, 1400);
    EXPECT_EQ(host_.heard, (std::vector<uint32_t>{TSN_CELLHIT, TSN_DBLCLK}));
    host_.heard.clear();
    Click(4, 1, 0, 1600);
    EXPECT_EQ(host_.heard, std::vector<uint32_t>{TSN_CELLHIT}) << "a third press starts anew";
    host_.heard.clear();
    Click(4, 1, 0, 2400);
    EXPECT_EQ(host_.heard, std::vector<uint32_t>{TSN_CELLHIT}) << "too late";
    Click(5, 1, 0, 2500);
    host_.heard.clear();
    Click(4, 1, 0, 2600);
    EXPECT_EQ(host_.heard, (std::vector<uint32_t>{TSN_CELLHIT, TSN_SELCHANGE})) << "another cell";
}

TEST_F(TsGridInput, DraggingExtendsAndScrollsPastTheEdgeOnTheTimer)
{
    Make(40, 3);
    grid_->MouseDown(TS_BUTTON_LEFT, 150, 30, 0, 100);
    EXPECT_TRUE(host_.captured);
    grid_->MouseMove(250, 90, 0);
    EXPECT_EQ(Selection(), "rows 1-4 cols 1-2 in 1");
    grid_->MouseMove(250, 260, 0);  // below the window
    ASSERT_FALSE(host_.started.empty()) << "a timer steps the drag";
    EXPECT_EQ(Focus(), "9,2") << "the last row in view";
    for (int i = 0; i < 5; ++i)
        grid_->TimerStep(host_.started.back().first);
    EXPECT_EQ(Focus(), "14,2");
    EXPECT_EQ(Selection(), "rows 1-14 cols 1-2 in 1");
    grid_->MouseUp(TS_BUTTON_LEFT, 250, 260, 0);
    EXPECT_FALSE(host_.captured);
    uint32_t last = host_.started.back().first;
    grid_->TimerStep(last);
    EXPECT_EQ(Focus(), "14,2") << "the drag ended";
}

TEST_F(TsGridInput, ContextMenusComeFromTheRightButtonAndTheKeyboard)
{
    Make(10, 3);
    g_->Send(TSM_SETSTYLE, 1, 0xFD400);
    Click(2, 0);
    Click(4, 0, TS_MOD_SHIFT);
    host_.heard.clear();
    grid_->MouseDown(TS_BUTTON_RIGHT, 50, 70, 0, 100);  // row 3, inside the selection
    grid_->MouseUp(TS_BUTTON_RIGHT, 50, 70, 0);
    host_.EndOfMessage();
    EXPECT_EQ(host_.heard, std::vector<uint32_t>{TSN_CONTEXTMENU});
    EXPECT_EQ(Selection(), "rows 2-4 cols 0-0 in 1") << "the selection stays for the menu";
    EXPECT_EQ(Focus(), "3,0");
    grid_->MouseDown(TS_BUTTON_RIGHT, 150, 150, 0, 200);  // row 7, outside it
    grid_->MouseUp(TS_BUTTON_RIGHT, 150, 150, 0);
    host_.EndOfMessage();
    EXPECT_EQ(Selection(), "rows 7-7 cols 1-1 in 1");
    host_.heard.clear();
    EXPECT_TRUE(grid_->KeyDown(TS_KEY_APPS, 0));
    EXPECT_TRUE(grid_->KeyUp(TS_KEY_APPS, 0)) << "its release goes no further";
    EXPECT_TRUE(grid_->KeyDown(TS_KEY_F10, TS_MOD_SHIFT));
    EXPECT_TRUE(grid_->KeyUp(TS_KEY_F10, TS_MOD_SHIFT)) << "no menu bar after Shift+F10";
    EXPECT_FALSE(grid_->KeyDown(TS_KEY_F10, 0)) << "F10 alone is the menu bar's";
    EXPECT_FALSE(grid_->KeyUp(TS_KEY_F10, 0));
    host_.EndOfMessage();
    EXPECT_EQ(host_.heard, (std::vector<uint32_t>{TSN_CONTEXTMENU}))
        << "both requests in one message come as one notification";
}

TEST_F(TsGridInput, AssistiveTechnologyHearsOfFocusAndSelection)
{
    Make(10, 3);
    host_.events.clear();
    Click(6, 0);
    Key(TS_KEY_DOWN);
    Key(TS_KEY_RIGHT);
    EXPECT_EQ(host_.events, (std::vector<std::pair<uint32_t, uint32_t>>{
                                {TS_EVENT_SELECTION, 6}, {TS_EVENT_FOCUS, 6}, {TS_EVENT_SELECTION, 7},
                                {TS_EVENT_FOCUS, 7}, {TS_EVENT_SELECTION, 7}}))
        << "a move within the row changes the selection, not the focus row";
    host_.events.clear();
    grid_->FocusLost();
    uint32_t row = g_->Cell(2, 2);
    g_->Send(TSM_SETFOCUSSEL, row, 1);
    g_->Release(row);
    grid_->FocusGained();
    EXPECT_EQ(host_.events, (std::vector<std::pair<uint32_t, uint32_t>>{{TS_EVENT_FOCUS, 2}}))
        << "a focus set without the keyboard is announced when the grid gains it";
}

TEST_F(TsGridInput, ADisabledGridTakesNoInput)
{
    Make(5, 2);
    Click(1, 1);
    grid_->SetEnabled(false);
    EXPECT_FALSE(grid_->KeyDown(TS_KEY_DOWN, 0));
    Click(3, 0);
    EXPECT_FALSE(grid_->Char('a', 0));
    EXPECT_EQ(Focus(), "1,1");
    grid_->SetEnabled(true);
    Key(TS_KEY_DOWN);
    EXPECT_EQ(Focus(), "2,1");
}

TEST_F(TsGridInput, FocusColoursFollowTheReservedAliasesAndRepaintTheFocus)
{
    Make(2, 2);
    grid_->Painted();
    TsAliasDef row = {"currentfocusrow", "Pale Yellow", nullptr};
    ASSERT_NE(g_->Send(TSM_DEFINEALIAS, TS_ALIAS_COLORPAIR, &row), 0);
    TsFocusColors f = grid_->Data().Aliases().FocusColors();
    EXPECT_GE(f.row.pair, 0);
    EXPECT_TRUE(f.row.background) << "the focus row's background";
    EXPECT_FALSE(f.row.text) << "its text colour is left alone";
    EXPECT_NE(grid_->Validity() & TS_VALID_FOCUS, TS_VALID_FOCUS) << "the focus is painted again";
    TsAliasDef other = {"CurrentFocusColumn", "Red", "Red"};
    g_->Send(TSM_DEFINEALIAS, TS_ALIAS_COLORPAIR, &other);
    EXPECT_LT(grid_->Data().Aliases().FocusColors().column.pair, 0) << "only the three names count";
}

class TsGridSearch : public TsGridInput {
protected:
    void MakeList()
    {
        Make(0, 2);
        for (const char* t : {"Ballade", "bach", "Chopin", "Beethoven", "brahms", "Clementi", "\xc9tude"}) {
            g_->Release(g_->InsertRows(1));
            g_->SetCell(static_cast<int32_t>(g_->RowCount()) - 1, 1, t);
        }
        uint32_t col = g_->Range(1, 0, 1, -1);
        g_->Send(TSM_SETCOLSEARCH, col, 1);
        g_->Release(col);
        g_->FixSizes(20, 100);
        Click(0, 0);
    }
    void Type(const char* text)
    {
        for (; *text; ++text) {
            grid_->KeyDown(static_cast<unsigned char>(*text), 0);
            grid_->Char(static_cast<unsigned char>(*text), 0);
            host_.EndOfMessage();
        }
    }
};

TEST_F(TsGridSearch, TypingFindsTheRowThatBeginsWithTheText)
{
    MakeList();
    Type("be");
    EXPECT_EQ(Focus(), "3,0") << "Beethoven, letter case ignored; the focus column stays";
    EXPECT_TRUE(host_.fieldShown);
    EXPECT_EQ(host_.field, "be");
    EXPECT_EQ(g_->GetList(0, 0x3124), std::vector<std::string>{"be"});
    EXPECT_EQ(g_->GetNumber(0, 0x3338), 2);
    EXPECT_EQ(grid_->DialogCode(true, false), 4u) << "a searching grid takes every key";
    Type("x");
    EXPECT_EQ(Focus(), "3,0") << "no match: the focus stays, the text grows";
    EXPECT_EQ(host_.field, "bex");
    grid_->KeyDown(TS_KEY_BACK, 0);
    EXPECT_TRUE(grid_->Char(8, 0));
    EXPECT_EQ(host_.field, "be");
    Type("\xe9");
    EXPECT_EQ(Focus(), "3,0");
    grid_->KeyDown(TS_KEY_BACK, 0);
    grid_->KeyDown(TS_KEY_BACK, 0);
    grid_->KeyDown(TS_KEY_BACK, 0);
    EXPECT_FALSE(grid_->Searching()) << "backspace past the start ends the search";
    Type("\xc9");
    EXPECT_EQ(Focus(), "6,0") << "Latin-1 letters fold too";
    EXPECT_TRUE(grid_->KeyDown(TS_KEY_ESCAPE, 0));
    EXPECT_FALSE(grid_->Searching());
    EXPECT_FALSE(host_.fieldShown);
    EXPECT_FALSE(grid_->KeyDown(TS_KEY_ESCAPE, 0)) << "without a search Esc is the dialog's";
}

TEST_F(TsGridSearch, ALetterPressedAgainWalksThroughItsRows)
{
    MakeList();
    Type("b");
    EXPECT_EQ(Focus(), "1,0") << "from the row after the focus";
    Type("b");
    EXPECT_EQ(Focus(), "3,0");
    Type("b");
    EXPECT_EQ(Focus(), "4,0");
    Type("b");
    EXPECT_EQ(Focus(), "0,0") << "round again";
}

TEST_F(TsGridSearch, TheSearchEndsOnResizeOptionFocusLossMovesAndAPause)
{
    MakeList();
    auto searchAgain = [&] {
        grid_->EndSearch();
        Type("c");
        ASSERT_TRUE(grid_->Searching());
    };
    searchAgain();
    grid_->OnSize(300, 180);
    EXPECT_FALSE(grid_->Searching()) << "resize";
    searchAgain();
    g_->Send(TSM_SETOPTIONS, 0, TS_OPT_SEARCH);
    EXPECT_FALSE(grid_->Searching()) << "option bit 19";
    searchAgain();
    g_->Send(TSM_SETOPTIONS, 0, 1);
    EXPECT_TRUE(grid_->Searching()) << "other options leave it";
    grid_->FocusLost();
    EXPECT_FALSE(grid_->Searching()) << "focus loss";
    grid_->FocusGained();
    searchAgain();
    Key(TS_KEY_DOWN);
    EXPECT_FALSE(grid_->Searching()) << "a key that moves the focus";
    searchAgain();
    Click(5, 0);
    EXPECT_FALSE(grid_->Searching()) << "a click";
    searchAgain();
    ASSERT_FALSE(host_.started.empty());
    uint32_t timer = host_.started.back().first;
    host_.now += 2000;
    grid_->TimerStep(timer);
    EXPECT_TRUE(grid_->Searching()) << "still typing";
    host_.now += 1000;
    grid_->TimerStep(host_.started.back().first);
    EXPECT_FALSE(grid_->Searching()) << "a pause of three seconds";
    EXPECT_FALSE(host_.fieldShown);
}

TEST_F(TsGridSearch, OneGridOfTheProcessSearchesAtATime)
{
    MakeList();
    RecordingHost otherHost;
    TsGrid other(50, 2, &otherHost);
    otherHost.grid = &other;
    TsGridDriver o(other);
    o.Release(o.InsertCols(2));
    o.Release(o.InsertRows(2));
    o.SetCell(1, 0, "Chopin");
    uint32_t col = o.Range(0, 0, 0, -1);
    o.Send(TSM_SETCOLSEARCH, col, 1);
    o.Release(col);
    Type("ch");
    ASSERT_TRUE(grid_->Searching());
    other.Char('c', 0);
    EXPECT_TRUE(other.Searching());
    EXPECT_FALSE(grid_->Searching()) << "the first grid's search ended";
    EXPECT_EQ(host_.endSearchRequests, 1) << "asked to hide its field on its own thread";
    grid_->Deferred(TS_DEFER_END_SEARCH);
    EXPECT_FALSE(host_.fieldShown);
    EXPECT_TRUE(other.Searching());
    other.EndSearch();
}

TEST_F(TsGridSearch, AGridWithoutSearchColumnsDoesNotSearch)
{
    Make(3, 2);
    EXPECT_FALSE(grid_->Char('a', 0));
    EXPECT_FALSE(grid_->Searching());
    EXPECT_EQ(grid_->DialogCode(true, false), 0x81u);
}

}  // namespace
