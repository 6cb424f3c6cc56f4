// The playlist window's files: saving (edited titles first), saving and
// exporting as other formats, loading lists and catalogs into the window
// with their totals and problems, and scrolling the rows they fill.
#include <gtest/gtest.h>

#include "session_rig.h"

namespace {

using namespace playlist;
using pltest::SessionTest;

std::string Text(const MemoryPlaylistFiles& files, const std::string& path)
{
    const std::vector<uint8_t>& b = files.Bytes(path);
    return std::string(b.begin(), b.end());
}

// A second window's session over the same files, as after a restart.
struct OtherWindow {
    explicit OtherWindow(pltest::Rig& rig) : session(grid, rig.files, &rig.probe, player, view)
    {
        SetUpPlaylistGrid(grid);
    }
    std::vector<std::string> Names()
    {
        std::vector<std::string> out;
        for (int i = 0; i < session.Rows().Count(); ++i)
            out.push_back(session.Rows().Read(i).Name());
        return out;
    }
    pltest::NativeGrid port;
    PlaylistGrid grid{port, *TsVListManager()};
    pltest::FakePlayer player;
    pltest::FakeView view;
    PlaylistSession session;
};

using SessionFiles = SessionTest;

TEST_F(SessionFiles, SavingWritesEditedTitlesIntoTheSongsBeforeTheListAndClearsBothFlags)
{
    Build({{"A", {"a1", "a2"}}});
    ASSERT_TRUE(EditTitle(2, "Nocturne", true));
    session.flags.playlistModified = true;
    std::vector<std::string> problems;
    ASSERT_TRUE(session.Save("C:\\L\\evening.zub", &problems));
    EXPECT_TRUE(problems.empty());

    const std::string song = Text(files.files, "C:\\A\\a2.mid");
    EXPECT_NE(song.find("Nocturne"), std::string::npos) << "the title is in the song";
    EXPECT_EQ(Text(files.files, "C:\\A\\a1.mid").find("Nocturne"), std::string::npos) << "only the edited song";
    const std::string list = Text(files.files, "C:\\L\\evening.zub");
    EXPECT_NE(list.find("C:\\A\\a2.mid\t00:00:10\tNocturne\t"), std::string::npos) << list;
    EXPECT_EQ(list.find("C:\\A\r\n"), std::string::npos) << "folder rows are not written";
    EXPECT_FALSE(session.flags.titlesModified);
    EXPECT_FALSE(session.flags.playlistModified);
    EXPECT_EQ(Colour(2), kColourDarkBlue) << "written back: no longer marked";

    // Loaded again, the song keeps the title it now holds.
    OtherWindow other(files);
    other.session.LoadPlaylist("C:\\L\\evening.zub");
    EXPECT_EQ(other.Names(), (std::vector<std::string>{"A", "a1.mid", "a2.mid"}));
    EXPECT_EQ(other.session.Rows().Read(2).Title(), "Nocturne");
    EXPECT_FALSE(other.session.flags.playlistModified) << "a list just loaded is unchanged";
}

TEST_F(SessionFiles, SaveSongTitlesWritesTheTitlesButLeavesTheListChanged)
{
    Build({{"A", {"a1"}}});
    session.flags.playlistModified = true;
    session.SaveTitles(nullptr);
    EXPECT_EQ(Text(files.files, "C:\\A\\a1.mid").find("Nocturne"), std::string::npos);
    ASSERT_TRUE(EditTitle(1, "Nocturne", true));
    std::vector<std::string> problems;
    session.SaveTitles(&problems);
    EXPECT_NE(Text(files.files, "C:\\A\\a1.mid").find("Nocturne"), std::string::npos);
    EXPECT_FALSE(session.flags.titlesModified);
    EXPECT_TRUE(session.flags.playlistModified) << "the list itself is not saved";
    EXPECT_FALSE(files.files.Has("C:\\A\\a1.zub"));
}

TEST_F(SessionFiles, AListSavedAsM3u8OpensAgainWithItsSongsInOrder)
{
    Build({{"A", {"a1", "a2"}}, {"B", {"b1"}}});
    Select(1);
    session.Move(1);
    ASSERT_TRUE(session.Save("C:\\L\\evening.m3u8", nullptr));
    const std::string m3u = Text(files.files, "C:\\L\\evening.m3u8");
    EXPECT_EQ(m3u.rfind("#EXTM3U\r\n", 0), 0u) << m3u;
    EXPECT_NE(m3u.find("#EXTINF:10,a2\r\n"), std::string::npos) << m3u;
    EXPECT_FALSE(session.flags.playlistModified);

    OtherWindow other(files);
    other.session.LoadPlaylist("C:\\L\\evening.m3u8");
    EXPECT_EQ(other.Names(), (std::vector<std::string>{"A", "a2.mid", "a1.mid", "B", "b1.mid"}));
    EXPECT_EQ(other.view.status[kPartSongs], "\t3 Files");
    EXPECT_EQ(other.view.status[kPartFolders], "\t2 Dirs");
    EXPECT_EQ(other.view.status[kPartTotal], "\t00:00:30");
}

TEST_F(SessionFiles, ExportChoosesTheFormatByTheFileNameAndLeavesTheListAsItIs)
{
    Build({{"A", {"a1"}}});
    ASSERT_TRUE(EditTitle(1, "Say \"Hi\"", true));
    session.flags.playlistModified = true;
    ASSERT_TRUE(session.ExportTo("C:\\L\\out.csv"));
    const std::string csv = Text(files.files, "C:\\L\\out.csv");
    EXPECT_NE(csv.find("\"a1.mid\",\"Say \"\"Hi\"\"\",\"00:00:10\",\"C:\\A\\a1.mid\""), std::string::npos) << csv;
    EXPECT_EQ(csv.find("#EXTM3U"), std::string::npos);
    ASSERT_TRUE(session.ExportTo("C:\\L\\out.M3U"));
    EXPECT_EQ(Text(files.files, "C:\\L\\out.M3U").rfind("#EXTM3U", 0), 0u);
    EXPECT_TRUE(session.flags.playlistModified) << "an export is not a save";
    EXPECT_TRUE(session.flags.titlesModified);
    EXPECT_EQ(Text(files.files, "C:\\A\\a1.mid").find("Say"), std::string::npos) << "nor writes titles back";
}

TEST_F(SessionFiles, AListThatNamesItselfIsReportedAndItsOtherSongsAreListed)
{
    files.files.Add("C:\\A\\a1.mid", pltest::MidiSong("a1", 100));
    files.files.Add("C:\\L\\loop.zub", std::string("C:\\A\\a1.mid\r\nC:\\L\\loop.zub\r\n"));
    session.LoadPlaylist("C:\\L\\loop.zub");
    EXPECT_EQ(Names(), (std::vector<std::string>{"A", "a1.mid"}));
    const std::vector<std::string> problems = session.TakeProblems();
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("names itself"), std::string::npos) << problems[0];
    EXPECT_TRUE(session.TakeProblems().empty()) << "each problem is told once";
    EXPECT_EQ(view.status[kPartSongs], "\t1 File");
}

TEST_F(SessionFiles, ACatalogTakesItsLengthsFromTheRecordsOnlyWhenTheOptionSaysSo)
{
    player.options[PlayerOption::UsePianodirLengths] = false;
    AddDisk(2);
    EXPECT_EQ(files.probe.measured, 2) << "each song measured";
    EXPECT_EQ(session.Rows().Read(0).icon, "Piano");
    EXPECT_EQ(view.status[kPartFolders], "\t1 Disk");
    EXPECT_EQ(view.status[kPartSongs], "\t2 Files");

    OtherWindow other(files);
    other.player.options[PlayerOption::UsePianodirLengths] = true;
    other.session.LoadCatalog("C:\\D\\Pianodir.fil");
    EXPECT_EQ(files.probe.measured, 2) << "nothing more measured";
    EXPECT_EQ(other.Names(), (std::vector<std::string>{"Disk Title", "s1.fil", "s2.fil"}));
}

// ---------------------------------------------------------------------------
// Scrolling over many rows, some hidden

class SessionScroll : public SessionTest {
protected:
    void SetUp() override
    {
        SessionTest::SetUp();
        std::vector<std::pair<std::string, std::vector<std::string>>> folders;
        for (char f = 'A'; f <= 'H'; ++f) {
            std::vector<std::string> songs;
            for (int i = 1; i <= 9; ++i)
                songs.push_back(std::string(1, static_cast<char>(f + 32)) + std::to_string(i));
            folders.push_back({std::string(1, f), songs});
        }
        Build(folders);  // 80 rows: folder rows at 0, 10, 20, ...
    }
    int First() { return grid.VisibleRows().FirstRow(); }
    int Last() { return grid.VisibleRows().LastRow(); }
};

// The visible rows include a row cut by the window's bottom edge, so a
// step down may move the view by that row and one more.
TEST_F(SessionScroll, AWheelStepShowsTheNextRowAndStopsAtEitherEnd)
{
    ASSERT_EQ(First(), 0);
    const int last = Last();
    ASSERT_GT(last, 5);
    ASSERT_LT(last, 70) << "the list is longer than the window";
    session.WheelStep(-1);
    EXPECT_EQ(First(), 0) << "already at the top";
    session.WheelStep(1);
    EXPECT_GE(Last(), last + 1);
    EXPECT_GE(First(), 1);
    EXPECT_LE(First(), 2);
    const int first = First();
    session.WheelStep(-1);
    EXPECT_EQ(First(), first - 1) << "one row up";
    for (int i = 0; i < 100; ++i)
        session.WheelStep(1);
    EXPECT_EQ(Last(), 79) << "the last row, no further";
    for (int i = 0; i < 100; ++i)
        session.WheelStep(-1);
    EXPECT_EQ(First(), 0);
}

TEST_F(SessionScroll, HiddenSongsAreSteppedOverAsTheirFolder)
{
    // The songs of the folder just below the window are hidden.
    const int folder = (Last() / 10 + 1) * 10;
    Select(folder);
    session.DoubleClick();
    ASSERT_EQ(grid.Rows(folder + 1, folder + 9).Count(CountOf::Shown), 0);
    auto hidden = [&](int row) { return row > folder && row <= folder + 9; };
    while (First() <= folder) {
        session.WheelStep(1);
        EXPECT_FALSE(hidden(First())) << "a hidden song is never the top row";
    }
    EXPECT_GE(First(), folder + 10) << "the row after the folder row is the next folder";
    while (First() > folder)
        session.WheelStep(-1);
    EXPECT_EQ(First(), folder) << "up past the hidden songs to their folder row";
    for (int i = 0; i < 100 && First() > 0; ++i) {
        session.WheelStep(-1);
        EXPECT_FALSE(hidden(First()));
    }
    EXPECT_EQ(First(), 0);
}

TEST_F(SessionScroll, HalfPagesMoveByHalfTheShownRows)
{
    const int last = Last();
    const int half = grid.VisibleRows().Count(CountOf::Shown) / 2;
    session.HalfPage(1);
    EXPECT_GE(Last(), last + half) << "half a page below the last visible row, at the bottom";
    EXPECT_LE(Last(), last + half + 1);
    const int first = First();
    session.HalfPage(-1);
    EXPECT_LT(First(), first);
    EXPECT_GE(First(), first - half - 1);
    for (int i = 0; i < 20; ++i)
        session.HalfPage(1);
    EXPECT_EQ(Last(), 79);
    for (int i = 0; i < 20; ++i)
        session.HalfPage(-1);
    EXPECT_LE(First(), 1) << "up to the top (from row 1 a page up does nothing)";
}

}  // namespace
