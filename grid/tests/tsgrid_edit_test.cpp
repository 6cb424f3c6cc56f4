// The in-place edit as the playlist drives it: an edit request for a
// character or F2, TSM_BEGINEDIT with a limit, caret and signed selection,
// the user ending the edit (notifications 18 and 19 while the editor's text
// and the old cell can be read), cancelling, ending from inside a
// notification, and edits over rows that go away or move.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tsgriddriver.h"
#include "tskeys.h"
#include "tsrecordinghost.h"
#include "tstesthost.h"

namespace {

const PropertyId kEditText = 0x3124;   // grid item 36 as a list
const PropertyId kEditTextSet = 0x3024;
const PropertyId kCaret = 0x3325;
const PropertyId kSelection = 0x3326;
const PropertyId kEditState = 0x3331;
const PropertyId kRefuse = 0x3338;

class TsGridEditing : public ::testing::Test {
protected:
    void SetUp() override
    {
        live_ = TsNativeLiveStrings();
        grid_ = new TsGrid(100, 8, &host_);
        host_.grid = grid_;
        g_ = new TsGridDriver(*grid_);
        g_->Release(g_->InsertCols(5));
        g_->Release(g_->InsertRows(4));
        for (int r = 0; r < 4; ++r)
            g_->SetCell(r, 4, ("Title " + std::to_string(r)).c_str());
        g_->Send(TSM_SETSTYLE, 1, 0xFD400);  // as the player enables 10, 12 and 14-19
        g_->FixSizes(20, 100);
        grid_->OnSize(500, 200);
        Focus(1, 4);
        host_.heard.clear();
    }
    void TearDown() override
    {
        delete g_;
        delete grid_;
        EXPECT_EQ(TsNativeLiveStrings(), live_) << "every value was released";
    }
    void Focus(int32_t row, int32_t col)
    {
        uint32_t cell = g_->Cell(row, col);
        g_->Send(TSM_SETFOCUSSEL, cell, 1);
        g_->Release(cell);
    }
    // The playlist's answer to notification 14: a title editor of `limit`
    // characters with the whole title selected and the caret at its end.
    void AnswerEditRequests(int32_t limit)
    {
        host_.parent = [this, limit](uint32_t code) {
            if (code != TSN_EDITREQUEST || g_->GetNumber(0, kRefuse) != 0)
                return;
            TsEditRequest request = {1, limit, {0, 0}};
            g_->Send(TSM_BEGINEDIT, 0, &request);
            int32_t length = static_cast<int32_t>(g_->GetList(0, kEditText).at(0).size());
            g_->SetNumber(0, kCaret, length);
            g_->SetNumber(0, kSelection, -length);
        };
    }
    std::string EditText() { return g_->GetList(0, kEditText).at(0); }

    RecordingHost host_;
    TsTestHost textHost_;
    TsGrid* grid_ = nullptr;
    TsGridDriver* g_ = nullptr;
    int live_ = 0;
};

TEST_F(TsGridEditing, ATypedCharacterAsksForAnEditAndReplacesTheSelectedTitle)
{
    AnswerEditRequests(32);
    EXPECT_TRUE(grid_->Char('X', 0));
    host_.EndOfMessage();
    EXPECT_EQ(host_.heard, std::vector<uint32_t>{TSN_EDITREQUEST});
    EXPECT_EQ(g_->GetNumber(0, kEditState), 1);
    EXPECT_EQ(EditText(), "X") << "the first character replaced the whole title";
    EXPECT_EQ(g_->GetNumber(0, kCaret), 1);
    EXPECT_EQ(g_->GetNumber(0, kSelection), 0);
    EXPECT_EQ(grid_->DialogCode(true, false), 4u) << "the grid wants every key while editing";
    EXPECT_FALSE(grid_->Char('Y', 0)) << "typing goes to the editor, not to the grid";
}

TEST_F(TsGridEditing, AcceptedByTheUserSends18And19WhileTheOldCellAndTheEditorsTextCanBeRead)
{
    AnswerEditRequests(32);
    grid_->KeyDown(TS_KEY_F2, 0);
    host_.EndOfMessage();
    EXPECT_EQ(EditText(), "Title 1") << "F2 keeps the title";
    g_->SetText(0, kEditTextSet, "A title edited by the user, longer than 32");
    std::vector<std::string> seen;
    host_.parent = [&](uint32_t code) {
        uint32_t focus = static_cast<uint32_t>(g_->Op(TS_SEL_FOCUS, 0));  // the playlist's "current edit cell"
        int32_t row = g_->Geometry(focus, TS_ITEM_FIRSTROWSEL);
        g_->Release(focus);
        seen.push_back(std::to_string(code) + ": state " + std::to_string(g_->GetNumber(0, kEditState)) + ", row " +
                       std::to_string(row) + " holds '" + g_->CellText(row, 4) + "', editor '" + EditText() + "'");
    };
    grid_->UserEndEdit(true);
    EXPECT_EQ(seen, (std::vector<std::string>{
                        "18: state 0, row 1 holds 'Title 1', editor 'A title edited by the user, long'",
                        "19: state 0, row 1 holds 'Title 1', editor 'A title edited by the user, long'"}));
    EXPECT_EQ(g_->CellText(1, 4), "A title edited by the user, long") << "the accepted text, cut at the limit";
    EXPECT_EQ(g_->GetNumber(0, kEditState), 0);
    EXPECT_EQ(EditText(), "") << "no editor, no text";
}

TEST_F(TsGridEditing, CancelledByTheUserSends19With16AndChangesNothing)
{
    AnswerEditRequests(127);
    grid_->Char('Q', 0);
    host_.EndOfMessage();
    std::vector<int32_t> states;
    host_.parent = [&](uint32_t) { states.push_back(g_->GetNumber(0, kEditState)); };
    host_.heard.clear();
    grid_->UserEndEdit(false);
    EXPECT_EQ(host_.heard, std::vector<uint32_t>{TSN_EDITCANCELLED});
    EXPECT_EQ(states, std::vector<int32_t>{16});
    EXPECT_EQ(g_->CellText(1, 4), "Title 1");
    EXPECT_EQ(g_->GetNumber(0, kEditState), 16);
}

TEST_F(TsGridEditing, EndingFromInsideTheNotificationNeitherRecursesNorRepeats)
{
    AnswerEditRequests(32);
    grid_->KeyDown(TS_KEY_F2, 0);
    host_.EndOfMessage();
    std::vector<intptr_t> answers;
    host_.parent = [&](uint32_t code) {
        // A parent that cancels "whatever edit is open" on every notification,
        // and one that tries to start the next edit at once.
        answers.push_back(g_->Send(TSM_ENDEDIT, 0, static_cast<uintptr_t>(0)));
        TsEditRequest request = {1, 10, {0, 0}};
        answers.push_back(g_->Send(TSM_BEGINEDIT, 0, &request));
        (void)code;
    };
    host_.heard.clear();
    grid_->UserEndEdit(true);
    host_.EndOfMessage();
    EXPECT_EQ(host_.heard, (std::vector<uint32_t>{TSN_EDITACCEPTED, TSN_EDITCANCELLED})) << "each once";
    EXPECT_EQ(answers, (std::vector<intptr_t>{0, 0, 0, 0})) << "no edit to end, none to start while ending";
    EXPECT_EQ(g_->GetNumber(0, kEditState), 0) << "accepted";
    EXPECT_EQ(g_->CellText(1, 4), "Title 1");
}

TEST_F(TsGridEditing, TheParentCancelsOnTwelveAsThePlaylistDoes)
{
    AnswerEditRequests(32);
    grid_->KeyDown(TS_KEY_F2, 0);
    host_.EndOfMessage();
    host_.parent = [&](uint32_t code) {
        if (code == TSN_EDITOPEN && g_->GetNumber(0, kEditState) == 1)
            g_->Send(TSM_ENDEDIT, 0, static_cast<uintptr_t>(0));
    };
    host_.heard.clear();
    grid_->Notify(TSN_EDITOPEN);
    host_.EndOfMessage();
    host_.EndOfMessage();
    EXPECT_EQ(host_.heard, (std::vector<uint32_t>{TSN_EDITOPEN, TSN_EDITCANCELLED}));
    EXPECT_EQ(g_->GetNumber(0, kEditState), 16);
}

TEST_F(TsGridEditing, RefusedRequestsLeaveTheCharacterToTheSearch)
{
    uint32_t col = g_->Range(4, 0, 4, -1);
    g_->Send(TSM_SETCOLSEARCH, col, 1);
    g_->Release(col);
    host_.parent = [&](uint32_t) {};  // a parent that never answers 14
    EXPECT_TRUE(grid_->Char('t', 0));
    host_.EndOfMessage();
    EXPECT_EQ(host_.heard, (std::vector<uint32_t>{TSN_EDITREQUEST, TSN_SELCHANGE})) << "the search moved on a row";
    EXPECT_TRUE(grid_->Searching());
    EXPECT_NE(g_->GetNumber(0, kRefuse), 0) << "while searching the playlist refuses edits";
    EXPECT_EQ(EditText(), "t") << "item 36 reads the search text outside an edit";
    grid_->EndSearch();
    g_->Send(TSM_SETSTYLE, 0, 1u << TSN_EDITREQUEST);
    host_.heard.clear();
    grid_->Char('t', 0);
    host_.EndOfMessage();
    EXPECT_EQ(host_.heard, std::vector<uint32_t>{TSN_SELCHANGE}) << "a suppressed request is not raised";
    EXPECT_TRUE(grid_->Searching());
    grid_->EndSearch();
}

TEST_F(TsGridEditing, TheEditorWindowFollowsTheSession)
{
    FakeEditor editor;
    host_.editor = &editor;
    AnswerEditRequests(32);
    grid_->Char('M', 0);
    host_.EndOfMessage();
    ASSERT_TRUE(editor.open);
    EXPECT_EQ(editor.limit, 32);
    EXPECT_EQ(editor.content, "M");
    EXPECT_EQ(editor.at.top, 20) << "over row 1 (rows 20 pixels high)";
    EXPECT_EQ(editor.at.left, 400) << "column 4 (columns 100 pixels wide)";
    editor.content = "My title";  // the user types
    editor.caret = 8, editor.selection = -2;
    EXPECT_EQ(EditText(), "My title");
    EXPECT_EQ(g_->GetNumber(0, kSelection), -2) << "read back from the editor";
    g_->Release(g_->InsertRows(1, -4));  // before row 0
    g_->FixSizes(20, 100);
    grid_->FollowEditedCell();
    EXPECT_EQ(editor.at.top, 40) << "a row inserted above moves the editor with its cell";
    grid_->UserEndEdit(true);
    EXPECT_FALSE(editor.open);
    EXPECT_EQ(g_->CellText(2, 4), "My title");
}

TEST_F(TsGridEditing, AnEditNeverStaysOverADeletedRow)
{
    AnswerEditRequests(32);
    grid_->KeyDown(TS_KEY_F2, 0);
    host_.EndOfMessage();
    int32_t rowsWhenHeard = -1;
    host_.parent = [&](uint32_t) { rowsWhenHeard = static_cast<int32_t>(g_->RowCount()); };
    host_.heard.clear();
    uint32_t row = g_->Row(1);
    g_->Send(TSM_DELETEROWS, row);
    g_->Release(row);
    EXPECT_EQ(host_.heard, std::vector<uint32_t>{TSN_EDITCANCELLED});
    EXPECT_EQ(rowsWhenHeard, 4) << "the parent hears of the end before the row goes";
    EXPECT_EQ(g_->GetNumber(0, kEditState), 16);
    EXPECT_FALSE(grid_->EditOpen());
}

TEST_F(TsGridEditing, AnEditNeverStaysOverAMovedRow)
{
    AnswerEditRequests(32);
    grid_->KeyDown(TS_KEY_F2, 0);
    host_.EndOfMessage();
    g_->SetText(0, kEditTextSet, "Kept");
    uint32_t row = g_->Row(1);
    g_->Send(TSM_MOVEROWS, row, 2);
    g_->Release(row);
    EXPECT_FALSE(grid_->EditOpen());
    EXPECT_EQ(g_->CellText(3, 4), "Kept") << "the text went with its row";
    EXPECT_EQ(g_->GetNumber(0, kEditState), 0);

    grid_->KeyDown(TS_KEY_F2, 0);  // the focus moved with the row: row 3
    host_.EndOfMessage();
    ASSERT_TRUE(grid_->EditOpen());
    TsSortRequest sort = {"+a", {4, -1, -1, -1, -1, -1, -1, -1}};
    g_->Send(TSM_SORTROWS, 0, &sort);
    EXPECT_FALSE(grid_->EditOpen()) << "a sort that moves the edited row ends the edit";
}

TEST_F(TsGridEditing, BeginningNeedsAFocusCellAndKeepsToTheLimit)
{
    g_->Send(TSM_SETFOCUSSEL, 0, 1);  // no focus
    TsEditRequest request = {1, 3, {0, 0}};
    EXPECT_EQ(g_->Send(TSM_BEGINEDIT, 0, &request), 0);
    Focus(2, 4);
    EXPECT_EQ(g_->Send(TSM_BEGINEDIT, 0, &request), 1);
    EXPECT_EQ(EditText(), "Tit") << "the cell's text within the limit";
    EXPECT_EQ(g_->GetNumber(0, kCaret), 3);
    EXPECT_EQ(g_->GetNumber(0, kSelection), -3) << "all selected, the caret at the end";
    g_->SetNumber(0, kCaret, 99);
    EXPECT_EQ(g_->GetNumber(0, kCaret), 3) << "the caret stays within the text";
    EXPECT_EQ(g_->Send(TSM_BEGINEDIT, 0, &request), 1) << "an open edit stays";
    EXPECT_EQ(g_->Send(TSM_ENDEDIT, 0, 1), 1);
    EXPECT_EQ(g_->CellText(2, 4), "Tit");
}

}  // namespace
