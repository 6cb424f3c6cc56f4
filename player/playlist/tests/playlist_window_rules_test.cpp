// The playlist window's tables: popup-menu states, keyboard shortcuts, the
// status bar's part edges and the placement of the grid and buttons.
#include <gtest/gtest.h>

#include <map>

#include "playlist_window_rules.h"

namespace {

using namespace playlist;

std::map<int, MenuItemState> StatesOf(const PopupFacts& facts)
{
    std::map<int, MenuItemState> out;
    for (const MenuItemState& s : PopupItemStates(facts))
        out.emplace(s.id, s);
    return out;
}

TEST(PlaylistPopup, WithoutASelectionOnlyPasteSortAndTheOutlineCommandsCanBeUsed)
{
    PopupFacts facts;
    facts.clipboardHasFiles = true;
    facts.selectionIsSong = true;       // ignored without a selection
    facts.selectionHasVoiceMap = true;  // the same
    auto s = StatesOf(facts);
    EXPECT_TRUE(s.at(kCmdPasteFromClipboard).enabled);
    for (int id : {kCmdCopySongToA, kCmdDetachMap, kCmdAttachMap, kCmdCopyDiskToA, kCmdCopyToClipboard,
                   kCmdSaveSongTitles})
        EXPECT_FALSE(s.at(id).enabled) << id;
    EXPECT_TRUE(s.at(kCmdSortByDiskDir).enabled);
    EXPECT_FALSE(s.at(kCmdSortByDiskDir).checked);
}

TEST(PlaylistPopup, ASelectedFolderRowCanBeCopiedButNotAsASong)
{
    PopupFacts facts;
    facts.hasSelection = true;
    facts.titlesModified = true;
    facts.sortedByDiskDir = true;
    auto s = StatesOf(facts);
    EXPECT_FALSE(s.at(kCmdPasteFromClipboard).enabled) << "no file list on the clipboard";
    EXPECT_FALSE(s.at(kCmdCopySongToA).enabled);
    EXPECT_FALSE(s.at(kCmdDetachMap).enabled) << "no voice map attached";
    EXPECT_TRUE(s.at(kCmdAttachMap).enabled);
    EXPECT_TRUE(s.at(kCmdCopyDiskToA).enabled);
    EXPECT_TRUE(s.at(kCmdCopyToClipboard).enabled);
    EXPECT_TRUE(s.at(kCmdSaveSongTitles).enabled);
    EXPECT_TRUE(s.at(kCmdSortByDiskDir).checked);
    facts.selectionIsSong = true;
    facts.selectionHasVoiceMap = true;
    s = StatesOf(facts);
    EXPECT_TRUE(s.at(kCmdCopySongToA).enabled);
    EXPECT_TRUE(s.at(kCmdDetachMap).enabled);
}

TEST(PlaylistKeys, CopyAndPasteAreFileListsInTheDialogAndTextInTheEditor)
{
    const int C = 67, V = 86, Del = 46;
    struct Case {
        int key;
        bool control, focusInDialog, editor, forPlaylist;
        bool consumed;
        unsigned post;
    } cases[] = {
        {C, true, true, false, true, true, kMsgCopyFiles},
        {V, true, true, false, true, true, kMsgPasteFiles},
        {C, true, false, true, true, true, kMsgCopyText},
        {V, true, false, true, true, true, kMsgPasteText},
        {C, true, false, false, true, false, 0},  // nothing to copy from: the key goes on
        {C, false, true, false, true, false, 0},  // a plain C is typing
        {Del, false, true, false, true, true, kMsgDelete},
        {Del, false, false, true, true, false, 0},   // the editor's own Delete
        {Del, true, true, false, true, false, 0},    // Ctrl+Delete is not ours
        {Del, false, false, false, false, false, 0}, // Delete in another window
    };
    for (const Case& c : cases) {
        KeyDecision d = DecideKey(c.key, c.control, c.focusInDialog, c.editor, c.forPlaylist);
        EXPECT_EQ(d.consumed, c.consumed) << c.key << " " << c.control << c.focusInDialog << c.editor;
        EXPECT_EQ(d.post, c.post) << c.key << " " << c.control << c.focusInDialog << c.editor;
    }
}

TEST(PlaylistStatusBar, PartsLeaveEachSampleItsWidthAndEightPixels)
{
    StatusSampleWidths w;
    w.currentDisk = 70;
    w.time = 45;
    w.totals = 35;
    w.folders = 60;
    w.files = 50;
    w.total = 52;
    auto e = StatusPartEdges(800, w);
    EXPECT_EQ(e[6], 782);
    EXPECT_EQ(e[5], 800 - 52 - 26);
    EXPECT_EQ(e[6] - e[5], w.total + 8);
    EXPECT_EQ(e[5] - e[4], w.files + 8);
    EXPECT_EQ(e[4] - e[3], w.folders + 8);
    EXPECT_EQ(e[3] - e[2], w.totals + 8);
    EXPECT_EQ(e[2] - e[1], w.time + 8);
    EXPECT_EQ(e[0], 73);
}

TEST(PlaylistLayout, ButtonsNarrowBelow440PixelsAndCueStaysClearOfTheArrows)
{
    PlaylistLayout wide = LayOutPlaylist(700, 400, 60, 23);
    EXPECT_EQ(wide.grid.x, 2);
    // The grid and its scroll bars stay inside the window and clear of the buttons.
    EXPECT_EQ(wide.grid.x + wide.grid.width, 700 - 2);
    EXPECT_LT(wide.grid.y + wide.grid.height, wide.add.y);
    EXPECT_EQ(wide.add.x, 6);
    EXPECT_EQ(wide.add.y, 400 - 23 - 24);
    EXPECT_EQ(wide.remove.x, 72);
    EXPECT_EQ(wide.up.x, 138);
    EXPECT_EQ(wide.down.x, 158);
    EXPECT_EQ(wide.up.width, 15);
    EXPECT_EQ(wide.cue.x, 290);
    EXPECT_EQ(wide.close.x, 700 - 60 - 6);

    // A status bar of large fonts (28 pixels) keeps the buttons above it.
    PlaylistLayout tall = LayOutPlaylist(700, 400, 60, 23, 28);
    EXPECT_LE(tall.add.y + 23, 400 - 28);
    EXPECT_LT(tall.grid.y + tall.grid.height, tall.add.y);
    EXPECT_EQ(LayOutPlaylist(700, 400, 60, 23, 20).add.y, 400 - 23 - 24) << "the usual bar changes nothing";

    PlaylistLayout narrow = LayOutPlaylist(340, 300, 60, 23);
    EXPECT_EQ(narrow.add.width, 40) << "(440 - 340) / 5 narrower";
    EXPECT_EQ(narrow.cue.x, 2 * 40 + 58) << "right of the arrows";
}

}  // namespace
