// The playlist window's behaviour without its window: advancing with and
// without loop and song gap, cueing, following the player, moving and
// deleting at folder boundaries, demoting catalog disks, title edits and
// the totals, against the grid's own message handlers.
#include <gtest/gtest.h>

#include <map>

#include "session_rig.h"

namespace {

using namespace playlist;
using pltest::SessionTest;

// ---------------------------------------------------------------------------
// Advancing

TEST_F(SessionTest, AnAutomaticStepSkipsFolderRowsAndMissingSongs)
{
    Build({{"A", {"a1", "a2"}}, {"B", {"!b1", "b2"}}});
    ASSERT_EQ(Names(), (std::vector<std::string>{"A", "a1.mid", "a2.mid", "B", "b1.mid", "b2.mid"}));
    Playing("C:\\A\\a2.mid");
    session.Step(0);
    EXPECT_EQ(LoadedName(), "b2.mid");
    EXPECT_EQ(player.commands.back(), kCmdOpenSong) << "Auto-Play on Open starts it";
    EXPECT_EQ(session.SelectedRow(), 5) << "the row loaded is the focus";
    EXPECT_EQ(player.waited, 0u);
}

TEST_F(SessionTest, WithoutAutoPlayTheAdvanceAsksForPlayAfterOpening)
{
    Build({{"A", {"a1", "a2"}}});
    player.options[PlayerOption::AutoPlay] = false;
    Playing("C:\\A\\a1.mid");
    session.Step(0);
    EXPECT_EQ(player.commands, (std::vector<int>{kCmdOpenSong, kCmdPlay}));
}

TEST_F(SessionTest, RunningOffEitherEndWithoutLoopLoadsNothing)
{
    Build({{"A", {"a1", "a2"}}, {"B", {"b1"}}});
    Playing("C:\\B\\b1.mid");
    session.Step(0);
    session.Step(1);
    EXPECT_TRUE(player.loaded.empty());
    Playing("C:\\A\\a1.mid");
    session.Step(-1);
    EXPECT_TRUE(player.loaded.empty()) << "the folder row above is no song";
}

TEST_F(SessionTest, WithLoopTheEndWrapsToTheFirstSongThatCanPlay)
{
    // The first folder is empty of playable songs: the wrap skips it
    // rather than loading a folder row.
    Build({{"A", {"!a1"}}, {"B", {"b1", "b2"}}});
    player.options[PlayerOption::Loop] = true;
    Playing("C:\\B\\b2.mid");
    session.Step(0);
    EXPECT_EQ(LoadedName(), "b1.mid");
    session.Step(-1);
    EXPECT_EQ(LoadedName(), "b2.mid") << "Previous from the first song wraps to the last";
}

TEST_F(SessionTest, TheSongGapWaitsTwoSecondsOnlyBeforeAnAutomaticStep)
{
    Build({{"A", {"a1", "a2", "a3"}}});
    player.options[PlayerOption::SongGap] = true;
    Playing("C:\\A\\a1.mid");
    session.Step(1);
    EXPECT_EQ(player.waited, 0u) << "Next never waits";
    session.Step(-1);
    EXPECT_EQ(player.waited, 0u) << "Previous never waits";
    session.Step(0);
    EXPECT_EQ(player.waited, 2000u);
}

TEST_F(SessionTest, WithNothingCuedTheSelectionOrTheEndsStartTheSearch)
{
    Build({{"A", {"a1", "a2"}}, {"B", {"b1"}}});
    Select(2);
    session.Step(1);
    EXPECT_EQ(LoadedName(), "a2.mid") << "a selected song is taken at once";

    session.flags.cuedRowId = 0;
    Select(3);
    session.Step(1);
    EXPECT_EQ(LoadedName(), "b1.mid") << "from a selected folder row, its first song";

    session.flags.cuedRowId = 0;
    grid.Send(TSM_SETFOCUSSEL, grid.Range(0, 40, 0, 40).Handle(), 0);  // nothing
    ASSERT_EQ(session.SelectedRow(), -1);
    session.Step(-1);
    EXPECT_EQ(LoadedName(), "b1.mid") << "Previous from nowhere takes the last song";
    session.flags.cuedRowId = 0;
    grid.Send(TSM_SETFOCUSSEL, grid.Range(0, 40, 0, 40).Handle(), 0);
    session.Step(1);
    EXPECT_EQ(LoadedName(), "a1.mid") << "Next from nowhere takes the first song";
}

TEST_F(SessionTest, AListWithNothingToPlayEndsTheSearchEvenWithLoop)
{
    Build({{"A", {"!a1", "!a2"}}});
    player.options[PlayerOption::Loop] = true;
    Select(1);
    session.Step(-1);
    session.Step(1);
    EXPECT_TRUE(player.loaded.empty());
}

// ---------------------------------------------------------------------------
// Cueing and the playing row

TEST_F(SessionTest, CueStopsThePlayingSongFirstAndLoadsTheSelection)
{
    Build({{"A", {"a1", "a2"}}});
    player.state = SequencerState::Playing;
    Select(0);
    session.Cue();
    EXPECT_EQ(player.commands, (std::vector<int>{-1, kCmdStop, kCmdOpenSong}));
    EXPECT_EQ(LoadedName(), "a1.mid") << "a folder row cues its first song";
    player.state = SequencerState::Opened;
    Select(2);
    session.Cue();
    EXPECT_EQ(LoadedName(), "a2.mid");
}

TEST_F(SessionTest, ASongOfACatalogDiskTakesTheDisksVoiceMap)
{
    Build({{"A", {"a1"}}});
    PlaylistRow folder = session.Rows().Read(0);
    folder.icon = kIconPiano;
    folder.text[ColVoiceMap] = "C:\\maps\\disk.map";
    session.Rows().Write(0, folder);
    PlaylistRow song = session.Rows().Read(1);
    song.text[ColVoiceMap] = "C:\\maps\\song.map";
    session.Rows().Write(1, song);
    Select(1);
    session.Cue();
    EXPECT_EQ(player.map, "C:\\maps\\disk.map");
}

TEST_F(SessionTest, ThePlayingRowShowsTheKeysUntilThePlayerStops)
{
    Build({{"A", {"a1", "a2"}}});
    Playing("C:\\A\\a2.mid");
    EXPECT_EQ(session.Rows().Icon(2), "Keys0");
    EXPECT_TRUE(view.animating);
    EXPECT_EQ(session.flags.playingRowId, session.Rows().IdAt(2));
    EXPECT_EQ(session.flags.cuedRowId, session.flags.playingRowId);
    EXPECT_EQ(view.status[kPartLabel], "\t\tCurrent Dir:");
    EXPECT_EQ(view.status[kPartFolder], "A");
    EXPECT_EQ(view.status[kPartFolderLength], "00:00:20");

    session.AnimationTick(3);
    EXPECT_EQ(session.Rows().Icon(2), "Keys3");
    player.state = SequencerState::Paused;
    session.FollowState();
    EXPECT_FALSE(view.animating) << "the animation freezes";
    player.state = SequencerState::Opened;
    session.FollowState();
    EXPECT_EQ(session.Rows().Icon(2), "") << "the row's own icon shows again";
    EXPECT_EQ(session.flags.playingRowId, 0u);
    EXPECT_EQ(view.status[kPartFolder], "");
}

TEST_F(SessionTest, NavigationBitsFollowThePlayingOrCuedRow)
{
    Build({{"A", {"a1", "a2"}}});
    EXPECT_EQ(session.NavigationBits(), 0u) << "nothing played or cued";
    Playing("C:\\A\\a1.mid");
    EXPECT_EQ(session.NavigationBits(), 0x10u) << "row 1: Next only";
    Playing("C:\\A\\a2.mid");
    player.state = SequencerState::Opened;
    session.FollowState();
    Playing("C:\\A\\a2.mid");
    EXPECT_EQ(session.NavigationBits(), 0x20u) << "the last row: Previous only";
    player.options[PlayerOption::Loop] = true;
    EXPECT_EQ(session.NavigationBits(), 0x30u);
}

// ---------------------------------------------------------------------------
// Moving, deleting, demoting

TEST_F(SessionTest, ASongMovesWithinItsFolderOnly)
{
    Build({{"A", {"a1", "a2"}}, {"B", {"b1"}}});
    session.flags.playlistModified = false;
    Select(1);
    session.Move(-1);
    EXPECT_EQ(NameAt(1), "a1.mid") << "not above its folder row";
    EXPECT_FALSE(session.flags.playlistModified);
    session.Move(1);
    EXPECT_EQ(Names(), (std::vector<std::string>{"A", "a2.mid", "a1.mid", "B", "b1.mid"}));
    EXPECT_EQ(session.SelectedRow(), 2) << "the selection moved with it";
    EXPECT_TRUE(session.flags.playlistModified);
    session.Move(1);
    EXPECT_EQ(NameAt(2), "a1.mid") << "not past the next folder";
}

TEST_F(SessionTest, AFolderMovesWithItsSongsPastTheWholeNeighbouringGroup)
{
    Build({{"A", {"a1", "a2"}}, {"B", {"b1"}}, {"C", {"c1", "c2", "c3"}}});
    Select(3);
    session.Move(1);
    EXPECT_EQ(Names(), (std::vector<std::string>{"A", "a1.mid", "a2.mid", "C", "c1.mid", "c2.mid", "c3.mid", "B",
                                                 "b1.mid"}));
    EXPECT_EQ(session.SelectedRow(), 7);
    Select(0);
    session.Move(-1);
    EXPECT_EQ(NameAt(0), "A") << "nothing above the first group";
    session.Move(1);
    EXPECT_EQ(Names(), (std::vector<std::string>{"C", "c1.mid", "c2.mid", "c3.mid", "A", "a1.mid", "a2.mid", "B",
                                                 "b1.mid"}));
}

TEST_F(SessionTest, MovingASongOfACatalogDiskMakesItAPlainFolder)
{
    AddDisk(2);
    ASSERT_EQ(session.Rows().Icon(0), kIconPiano);
    Select(1);
    session.Move(1);
    const PlaylistRow disk = session.Rows().Read(0);
    EXPECT_EQ(disk.icon, kIconFolder);
    EXPECT_EQ(disk.Path(), "C:\\D") << "13 characters shorter";
    EXPECT_EQ(disk.nameHint, "C:\\D");
    EXPECT_EQ(disk.Title(), "");
}

TEST_F(SessionTest, DeletingTheOnlySongDeletesItsFolderAndAFolderTakesItsSongs)
{
    Build({{"A", {"a1"}}, {"B", {"b1", "b2"}}, {"C", {"c1"}}});
    EXPECT_EQ(session.flags.totalSeconds, 40) << "10 seconds a song";
    Select(1);
    session.DeleteSelected();
    EXPECT_EQ(Names(), (std::vector<std::string>{"B", "b1.mid", "b2.mid", "C", "c1.mid"}));
    EXPECT_EQ(session.flags.totalSeconds, 30);
    EXPECT_EQ(session.SelectedRow(), 1) << "the row now at the deleted index";
    Select(0);
    session.DeleteSelected();
    EXPECT_EQ(Names(), (std::vector<std::string>{"C", "c1.mid"}));
    EXPECT_EQ(session.flags.totalSeconds, 10);
    EXPECT_EQ(view.status[kPartSongs], "\t1 File");
    EXPECT_EQ(view.status[kPartFolders], "\t1 Dir");
    EXPECT_EQ(view.status[kPartTotal], "\t00:00:10");
    EXPECT_TRUE(session.flags.playlistModified);
}

TEST_F(SessionTest, DeletingASongLowersItsFolderTotalAndForgetsTheCuedRow)
{
    Build({{"A", {"a1", "a2"}}});
    Select(2);
    session.Cue();
    ASSERT_NE(session.flags.cuedRowId, 0u);
    session.DeleteSelected();
    EXPECT_EQ(session.Rows().Read(0).text[ColLength], "00:00:10");
    EXPECT_EQ(session.flags.cuedRowId, 0u);
    EXPECT_EQ(session.SelectedRow(), 1) << "the last row when the deleted one was last";
}

// ---------------------------------------------------------------------------
// Showing, hiding, totals

TEST_F(SessionTest, HideAllAndDoubleClickOnAFolderHideAndShowItsSongs)
{
    Build({{"A", {"a1", "a2"}}, {"B", {"b1"}}});
    session.ShowAllSongs(false);
    EXPECT_EQ(grid.Rows(0, -1).Count(CountOf::Shown), 2) << "only the folder rows";
    session.ShowAllSongs(true);
    EXPECT_EQ(grid.Rows(0, -1).Count(CountOf::Shown), 5);
    Select(0);
    session.DoubleClick();
    EXPECT_EQ(grid.Rows(1, 2).Count(CountOf::Shown), 0);
    session.DoubleClick();
    EXPECT_EQ(grid.Rows(1, 2).Count(CountOf::Shown), 2);
}

TEST_F(SessionTest, FolderCountsSayDisksDirsOrBoth)
{
    EXPECT_EQ(FoldersText(0, 0), "\t0 Disk/Dirs");
    EXPECT_EQ(FoldersText(1, 1), "\t1 Dir");
    EXPECT_EQ(FoldersText(2, 0), "\t2 Disks");
    EXPECT_EQ(FoldersText(3, 1), "\t3 Disk/Dirs");
    EXPECT_EQ(SongsText(1), "\t1 File");
    EXPECT_EQ(SongsText(0), "\t0 Files");
    EXPECT_EQ(TotalText(3600 * 101 + 61), "\t101:01:01");
    EXPECT_EQ(WindowTitle(""), "Zub PlayList - [Untitled]");
    EXPECT_EQ(WindowTitle("PIANODIR.FIL"), "ESEQ PlayList - [Pianodir.fil]");
    EXPECT_EQ(WindowTitle("evening.zub"), "Zub PlayList - [evening.zub]");
}

// ---------------------------------------------------------------------------
// Title editing

class TitleEditTest : public SessionTest {};

TEST_F(TitleEditTest, TheLimitFollowsTheSongsKind)
{
    files.files.Add("C:\\A\\e.fil", pltest::EseqSong("Eseq"));
    Build({{"A", {"m"}}});
    session.AddFile("C:\\A\\e.fil");
    grid.Cell(1, ColTitle).MakeCurrent();
    ASSERT_TRUE(session.BeginTitleEdit());
    EXPECT_EQ(session.Edit().limit, 127u);
    EXPECT_EQ(grid.GridNumber(prop::kEditCaret), 1) << "the caret after the title \"m\"";
    EXPECT_EQ(grid.GridNumber(prop::kEditSelLength), -1) << "the whole title selected";
    grid.Send(TSM_ENDEDIT, 0, 0);
    session.EndTitleEdit();
    grid.Cell(2, ColTitle).MakeCurrent();
    ASSERT_TRUE(session.BeginTitleEdit());
    EXPECT_EQ(session.Edit().limit, 32u);
    grid.Send(TSM_ENDEDIT, 0, 0);
    session.EndTitleEdit();

    grid.Cell(2, ColName).MakeCurrent();
    EXPECT_FALSE(session.BeginTitleEdit()) << "only the title column";
    grid.Cell(0, ColTitle).MakeCurrent();
    EXPECT_FALSE(session.BeginTitleEdit()) << "only song rows";
}

TEST_F(TitleEditTest, AnAcceptedChangeIsMarkedAndACancelledOneIsNot)
{
    Build({{"A", {"a1", "a2"}}});
    ASSERT_TRUE(EditTitle(1, "Nocturne", false));
    EXPECT_EQ(session.Rows().Read(1).Title(), "a1");
    EXPECT_FALSE(session.flags.titlesModified) << "cancelled";
    ASSERT_TRUE(EditTitle(1, "a1", true));
    EXPECT_FALSE(session.flags.titlesModified) << "unchanged";
    ASSERT_TRUE(EditTitle(2, "Nocturne", true));
    EXPECT_EQ(session.Rows().Read(2).Title(), "Nocturne");
    EXPECT_EQ(Colour(2), kColourMagenta);
    EXPECT_TRUE(session.flags.titlesModified);
    EXPECT_NE(Colour(0), kColourMagenta) << "a directory needs no catalog rewrite";
}

TEST_F(TitleEditTest, EditingASongOfACatalogDiskMarksTheDiskToo)
{
    AddDisk(1);
    ASSERT_TRUE(EditTitle(1, "A title longer than thirty-two characters", true));
    EXPECT_EQ(session.Rows().Read(1).Title(), "A title longer than thirty-two c");
    EXPECT_EQ(Colour(0), kColourMagenta);
}

}  // namespace
