// UI tests of the playlist window in the real player: lists opened from the
// command line, played through (read back from the capture file), advanced
// with Next and Previous, cued, edited, saved and closed. Rows are read
// through the grid's text query protocol; what only the player's own
// process can ask of the grid goes through the probe.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "eseq_testdata.h"
#include "floppy_image.h"
#include "player_driver.h"
#include "playlist_fixture.h"
#include "test_songs.h"

namespace zubtest {
namespace {

enum {
    kPlay = 103, kStop = 105, kSaveAs = 111, kNext = 40003, kPrev = 40004, kExport = 40008,
    kSortByDiskDir = 40046, kUp = 1004, kCue = 1007, kDown = 1015, kSaveTitles = 40050,
    kEditRequest = 14,
};

// Options strings (the 13 switches in settings order): auto-play, song gap
// and loop are switches 3, 5 and 6.
const char kGapNoLoop[] = "1111100010010";
const char kLoopNoGap[] = "1110110010010";
const char kNoAutoPlay[] = "1101000010010";

// A song of `quarters` quarter notes (half a second each) that announces
// itself with its own program change.
std::vector<uint8_t> SongWithProgram(int quarters, uint8_t program)
{
    std::vector<uint8_t> song = MakeSong(quarters);
    const uint8_t change[] = {0x00, 0xC0, 0x00};
    auto at = std::search(song.begin(), song.end(), change, change + 3);
    if (at != song.end())
        at[2] = program;
    return song;
}

// What a capture says: the programs in the order the songs began, and the
// ticks at which each began and ended (division 96 at 120 beats a minute:
// 192 ticks a second).
struct Played {
    std::vector<int> programs;
    std::vector<uint32_t> starts, ends;
};

Played ReadCapture(const std::string& path)
{
    Played p;
    std::vector<uint8_t> bytes;
    std::vector<SentEvent> events;
    if (!ReadBytes(path, bytes) || !SentEventsOf(bytes, events))
        return p;
    for (const SentEvent& e : events) {
        if (e.bytes.size() == 2 && (e.bytes[0] & 0xF0) == 0xC0) {
            p.programs.push_back(e.bytes[1]);
            p.starts.push_back(e.tick);
            p.ends.push_back(e.tick);
        } else if (!p.ends.empty() && (e.bytes[0] & 0xF0) == 0x80) {
            p.ends.back() = e.tick;
        }
    }
    return p;
}

class PlaylistUi : public PlaylistFixture {
protected:
    void SetUp() override
    {
        PlaylistFixture::SetUp();
        if (HasFatalFailure())
            return;
        capture_ = FullPath(name_ + ".cap.mid");
        DeleteFileA(capture_.c_str());
    }

    // Songs in two folders: A with a1 (program 1) and a2 (2), B with a
    // song whose file is gone and b1 (3). Returns the list's path.
    std::string MakeList(int quarters)
    {
        const std::string a = FullPath(name_ + "_A"), b = FullPath(name_ + "_B");
        CreateDirectoryA(a.c_str(), nullptr);
        CreateDirectoryA(b.c_str(), nullptr);
        EXPECT_TRUE(WriteBytes(a + "\\a1.mid", SongWithProgram(quarters, 1)));
        EXPECT_TRUE(WriteBytes(a + "\\a2.mid", SongWithProgram(quarters, 2)));
        EXPECT_TRUE(WriteBytes(b + "\\b1.mid", SongWithProgram(quarters, 3)));
        DeleteFileA((b + "\\gone.mid").c_str());
        const std::string list = FullPath(name_ + ".zub");
        const std::string text = a + "\\a1.mid\r\n" + a + "\\a2.mid\r\n" + b + "\\gone.mid\t00:00:01\tGone\t\r\n" + b +
                                 "\\b1.mid\r\n";
        EXPECT_TRUE(WriteBytes(list, std::vector<uint8_t>(text.begin(), text.end())));
        return list;
    }
    // Starts the player on the list with these options; the playlist window
    // is then open.
    bool Start(const char* options, const std::string& list)
    {
        WriteSetting(HKEY_LOCAL_MACHINE, "Options", options);
        if (!player_.Start("/capture \"" + capture_ + "\" \"" + list + "\""))
            return false;
        const std::string title = "Zub PlayList - [" + list.substr(list.rfind('\\') + 1) + "]";
        return WaitUntil([&] { return (playlist_ = FindDialog(player_.ProcessId(), title.c_str())) != nullptr; });
    }

    std::vector<std::string> Names()
    {
        std::vector<std::string> names;
        for (int r = 0, n = Rows(); r < n; ++r)
            names.push_back(Cell(r, 3));
        return names;
    }
    std::vector<std::string> PlaylistStatus()
    {
        std::string text;
        probe_.Grid(playlist_, kProbeStatusTexts, 0, 0, "", &text);
        std::vector<std::string> parts;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);)
            parts.push_back(line);
        return parts;
    }
    void Button(int id) { SendMessageA(playlist_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
    std::string MainTitle() { return WindowTextOf(player_.Main()); }
    std::string Setting(const char* name)
    {
        std::string v = "<missing>";
        ReadSetting(HKEY_LOCAL_MACHINE, name, v);
        return v;
    }
    std::string State()
    {
        probe_.Query(player_.Main());
        return probe_.Status(1);
    }
    bool ButtonEnabled(int id) { return (ToolbarState(player_.Toolbar(), id) & TBSTATE_ENABLED) != 0; }

    // Ends one of the player's file dialogs: types the name (for OK) and
    // presses the button, again until the dialog has gone (a dialog still
    // setting itself up may miss the first press).
    bool FinishFileDialog(const char* title, const std::string& name, int button)
    {
        HWND dialog = nullptr;
        if (!WaitUntil([&] { return (dialog = FindDialog(player_.ProcessId(), title)) && GetDlgItem(dialog, 0x47C); }))
            return false;
        return WaitUntil([&] {
            if (!IsWindow(dialog))
                return true;
            if (button == IDOK)
                SendMessageA(GetDlgItem(dialog, 0x47C), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
            PostMessageA(dialog, WM_COMMAND, button, 0);
            Sleep(300);
            return !IsWindow(dialog);
        });
    }

    std::string capture_;
};

TEST_F(PlaylistUi, AListPlaysThroughSkippingTheMissingSongWithTwoSecondsBetweenSongs)
{
    ASSERT_TRUE(Start(kGapNoLoop, MakeList(2)));
    EXPECT_EQ(Names(), (std::vector<std::string>{name_ + "_A", "a1.mid", "a2.mid", name_ + "_B", "gone.mid", "b1.mid"}));
    std::vector<std::string> status = PlaylistStatus();
    ASSERT_EQ(status.size(), 7u);
    EXPECT_EQ(status[3], "\t\tTotals:");
    EXPECT_EQ(status[4], "\t2 Dirs");
    EXPECT_EQ(status[5], "\t4 Files");
    EXPECT_EQ(status[6], "\t00:00:04") << "three songs of a second, and the stored second of the missing one";

    player_.Command(kNext);
    ASSERT_TRUE(WaitUntil([&] { return PlaylistStatus().at(1) == name_ + "_A"; })) << "the playing song's folder";
    EXPECT_EQ(PlaylistStatus().at(0), "\t\tCurrent Dir:");
    ASSERT_TRUE(WaitUntil([&] { return ReadCapture(capture_).programs.size() == 3 && State() == "Stopped"; }, 60000));
    Sleep(500);  // time enough to see a fourth song start, which must not
    const Played played = ReadCapture(capture_);
    EXPECT_EQ(played.programs, (std::vector<int>{1, 2, 3})) << "in order, the missing song skipped, no wrap";
    for (size_t i = 1; i < played.starts.size(); ++i)
        EXPECT_GE(played.starts[i] - played.ends[i - 1], 384u) << "two seconds (384 ticks) before song " << i + 1;
    EXPECT_EQ(PlaylistStatus().at(1), "") << "nothing plays";
    EXPECT_EQ(player_.Close(), 0);
}

TEST_F(PlaylistUi, WithLoopTheListStartsAgainAfterItsLastSong)
{
    ASSERT_TRUE(Start(kLoopNoGap, MakeList(2)));
    Select(2);  // a2: the last two songs then a1 again
    player_.Command(kNext);
    ASSERT_TRUE(WaitUntil([&] { return ReadCapture(capture_).programs.size() >= 3; }, 60000));
    player_.Command(kStop);
    ASSERT_TRUE(WaitUntil([&] { return State() == "Stopped"; }));
    const Played played = ReadCapture(capture_);
    ASSERT_GE(played.programs.size(), 3u);
    EXPECT_EQ(std::vector<int>(played.programs.begin(), played.programs.begin() + 3), (std::vector<int>{2, 3, 1}));
    EXPECT_EQ(player_.Close(), 0);
}

TEST_F(PlaylistUi, NextAndPreviousMoveThroughTheListAndTheControlsFollow)
{
    ASSERT_TRUE(Start(kGapNoLoop, MakeList(8)));
    EXPECT_FALSE(ButtonEnabled(kNext)) << "nothing cued yet";
    player_.Command(kNext);
    ASSERT_TRUE(WaitUntil([&] { return MainTitle() == "Zub Player - [a1.mid]" && State() == "Playing"; }));
    EXPECT_TRUE(ButtonEnabled(kNext));
    EXPECT_FALSE(ButtonEnabled(kPrev)) << "the first song";
    player_.Command(kNext);
    ASSERT_TRUE(WaitUntil([&] { return MainTitle() == "Zub Player - [a2.mid]" && State() == "Playing"; }));
    EXPECT_TRUE(ButtonEnabled(kPrev));
    player_.Command(kNext);
    ASSERT_TRUE(WaitUntil([&] { return MainTitle() == "Zub Player - [b1.mid]" && State() == "Playing"; }))
        << "past the folder row and the missing song";
    EXPECT_FALSE(ButtonEnabled(kNext)) << "the last row";
    player_.Command(kPrev);
    ASSERT_TRUE(WaitUntil([&] { return MainTitle() == "Zub Player - [a2.mid]" && State() == "Playing"; }));
    player_.Command(kStop);
    ASSERT_TRUE(WaitUntil([&] { return State() == "Stopped"; }));
    Sleep(500);  // a stop by the user never advances
    EXPECT_EQ(MainTitle(), "Zub Player - [a2.mid]");
    EXPECT_EQ(ReadCapture(capture_).programs, (std::vector<int>{1, 2, 3, 2}));
    EXPECT_EQ(player_.Close(), 0);
}

TEST_F(PlaylistUi, CueMoveAndDeleteKeepToFolderBoundaries)
{
    ASSERT_TRUE(Start(kNoAutoPlay, MakeList(2)));
    Select(2);
    Button(kCue);
    ASSERT_TRUE(WaitUntil([&] { return MainTitle() == "Zub Player - [a2.mid]"; }));
    EXPECT_EQ(State(), "Stopped") << "cued, not played";

    Button(kUp);
    EXPECT_EQ(Cell(1, 3), "a2.mid");
    Button(kUp);
    EXPECT_EQ(Cell(1, 3), "a2.mid") << "a song stays below its folder row";
    Button(kDown);
    Button(kDown);
    EXPECT_EQ(Names(), (std::vector<std::string>{name_ + "_A", "a1.mid", "a2.mid", name_ + "_B", "gone.mid", "b1.mid"}))
        << "and above the next folder";

    // The main window's sort option reaches the list: no arrows while sorted.
    player_.Command(kSortByDiskDir);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(GetDlgItem(playlist_, kUp)); }));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(playlist_, kDown)));
    EXPECT_EQ(Names(), (std::vector<std::string>{name_ + "_A", "a1.mid", "a2.mid", name_ + "_B", "gone.mid", "b1.mid"}));
    player_.Command(kSortByDiskDir);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(GetDlgItem(playlist_, kUp)) != FALSE; }));

    // The Delete key goes through the player's message loop.
    Select(3);
    PostMessageA(Grid(), WM_KEYDOWN, VK_DELETE, 0);
    ASSERT_TRUE(WaitUntil([&] { return Rows() == 3; })) << "a folder row takes its songs";
    Select(1);
    PostMessageA(Grid(), WM_KEYDOWN, VK_DELETE, 0);
    ASSERT_TRUE(WaitUntil([&] { return Rows() == 2; }));
    Select(1);
    PostMessageA(Grid(), WM_KEYDOWN, VK_DELETE, 0);
    ASSERT_TRUE(WaitUntil([&] { return Rows() == 0; })) << "the only song's folder goes with it";
    const std::vector<std::string> status = PlaylistStatus();
    EXPECT_EQ(status.at(4), "\t0 Disk/Dirs");
    EXPECT_EQ(status.at(5), "\t0 Files");
    EXPECT_EQ(status.at(6), "\t00:00:00");

    // Changed: closing asks, Cancel keeps the window, No lets it go.
    PostMessageA(playlist_, WM_CLOSE, 0, 0);
    EXPECT_EQ(Answer("Confirm Close", IDCANCEL), "Playlist has been modified.\nSave your changes now?");
    EXPECT_TRUE(IsWindow(playlist_));
    PostMessageA(player_.Main(), WM_CLOSE, 0, 0);
    EXPECT_EQ(Answer("Confirm Open", IDNO), "Current playlist has been modified.\nSave your changes now?");
    EXPECT_EQ(player_.Close(), 0);
}

TEST_F(PlaylistUi, ATitleEditIsWrittenBackWhenAcceptedAndNotWhenCancelled)
{
    const std::string list = MakeList(2);
    ASSERT_TRUE(Start(kNoAutoPlay, list));
    EXPECT_EQ(Cell(1, 4), "Test Song");
    auto edit = [&](const char* text, int accept) {
        Select(1, 4);
        ASSERT_TRUE(probe_.Grid(playlist_, kProbeNotify, 0, kEditRequest));
        ASSERT_TRUE(probe_.Grid(playlist_, kProbeEditText, 0, 0, text));
        ASSERT_TRUE(probe_.Grid(playlist_, kProbeEndEdit, 0, accept));
    };
    edit("Never Kept", 0);
    EXPECT_EQ(Cell(1, 4), "Test Song") << "cancelled";
    edit("Evening Song", 1);
    EXPECT_EQ(Cell(1, 4), "Evening Song");

    Button(kSaveTitles);
    const std::string song = FullPath(name_ + "_A") + "\\a1.mid";
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(ReadBytes(song, bytes));
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_NE(text.find("Evening Song"), std::string::npos) << "the title is in the file";
    std::vector<SentEvent> events, before;
    EXPECT_TRUE(SentEventsOf(bytes, events));
    EXPECT_TRUE(SentEventsOf(SongWithProgram(2, 1), before));
    EXPECT_EQ(events, before) << "and the song plays as it did";

    // Titles saved and the list unchanged: closing asks nothing.
    PostMessageA(playlist_, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(playlist_); }));
    EXPECT_EQ(FindDialog(player_.ProcessId(), "Confirm Close"), nullptr);
    EXPECT_EQ(player_.Close(), 0);
}

TEST_F(PlaylistUi, AListThatNamesItselfIsReportedAndItsSongsAreStillListed)
{
    const std::string a = FullPath(name_ + "_A");
    CreateDirectoryA(a.c_str(), nullptr);
    ASSERT_TRUE(WriteBytes(a + "\\a1.mid", SongWithProgram(2, 1)));
    const std::string list = FullPath(name_ + ".zub");
    const std::string text = a + "\\a1.mid\r\n" + list + "\r\n";
    ASSERT_TRUE(WriteBytes(list, std::vector<uint8_t>(text.begin(), text.end())));
    WriteSetting(HKEY_LOCAL_MACHINE, "Options", kNoAutoPlay);
    ASSERT_TRUE(player_.Start("/capture \"" + capture_ + "\" \"" + list + "\""));
    // The message box shares its caption with the playlist window as it is
    // created: the one with a message is the box.
    HWND box = nullptr;
    std::string message;
    ASSERT_TRUE(WaitUntil([&] {
        box = FindDialog(player_.ProcessId(), "Playlist");
        message = box ? DialogMessage(box) : "";
        return !message.empty();
    }));
    EXPECT_NE(message.find("names itself"), std::string::npos) << message;
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] {
        return (playlist_ = FindDialog(player_.ProcessId(), ("Zub PlayList - [" + name_ + ".zub]").c_str())) != nullptr;
    }));
    EXPECT_EQ(Names(), (std::vector<std::string>{name_ + "_A", "a1.mid"}));
    EXPECT_EQ(player_.Close(), 0) << "a list just opened is unchanged: no question";
}

TEST_F(PlaylistUi, ADiskBecomesAFolderWhenChangedAndSaveAsWritesTheList)
{
    // A "Pianodir.fil" disk of two ESEQ songs.
    const std::string disk = FullPath(name_ + "_disk");
    CreateDirectoryA(disk.c_str(), nullptr);
    eseqtest::PianodirSpec catalog;
    catalog.diskTitle = "Evening Disk";
    for (const char* song : {"SONG1", "SONG2"}) {
        eseqtest::EseqSongSpec spec;
        spec.line1 = std::string("Title ") + song;
        spec.events.NoteOn(1, 60, 64).Wait(96).NoteOff(1, 60);
        ASSERT_TRUE(WriteBytes(disk + "\\" + song + ".FIL", eseqtest::BuildEseq(spec)));
        eseqtest::PianodirRecord record;
        record.name = song;
        record.ext = "FIL";
        record.title = spec.line1;
        catalog.records.push_back(record);
    }
    ASSERT_TRUE(WriteBytes(disk + "\\Pianodir.fil", eseqtest::BuildPianodir(catalog)));
    WriteSetting(HKEY_LOCAL_MACHINE, "Options", kNoAutoPlay);
    ASSERT_TRUE(player_.Start("/capture \"" + capture_ + "\" \"" + disk + "\\Pianodir.fil\""));
    ASSERT_TRUE(WaitUntil([&] {
        return (playlist_ = FindDialog(player_.ProcessId(), "ESEQ PlayList - [Pianodir.fil]")) != nullptr;
    }));
    EXPECT_EQ(Names(), (std::vector<std::string>{"Evening Disk", "SONG1.FIL", "SONG2.FIL"}));
    EXPECT_EQ(Cell(0, 4), "Pianodir.fil");
    EXPECT_EQ(PlaylistStatus().at(4), "\t1 Disk");

    // A song moved: the disk no longer matches its catalog.
    Select(2);
    Button(kUp);
    EXPECT_EQ(Cell(1, 3), "SONG2.FIL");
    EXPECT_EQ(Cell(0, 0), disk) << "the catalog's name is gone from the path";
    EXPECT_EQ(Cell(0, 4), "");
    EXPECT_EQ(PlaylistStatus().at(4), "\t1 Dir");

    // Yes to "Confirm Close", then cancelling the Save dialog keeps the list.
    PostMessageA(playlist_, WM_CLOSE, 0, 0);
    Answer("Confirm Close", IDYES);
    ASSERT_TRUE(FinishFileDialog("Save As", "", IDCANCEL));
    EXPECT_TRUE(IsWindow(playlist_)) << "nothing was saved, so nothing is closed";

    const std::string saved = FullPath(name_ + "_saved.zub");
    DeleteFileA(saved.c_str());
    PostMessageA(player_.Main(), WM_COMMAND, kSaveAs, 0);
    ASSERT_TRUE(FinishFileDialog("Save As", saved, IDOK));
    ASSERT_TRUE(WaitUntil([&] { return WindowTextOf(playlist_) == "Zub PlayList - [" + name_ + "_saved.zub]"; }));
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(ReadBytes(saved, bytes));
    const std::string zub(bytes.begin(), bytes.end());
    EXPECT_EQ(zub.find("Pianodir.fil"), std::string::npos) << "a plain folder now: its songs are listed";
    EXPECT_LT(zub.find("SONG2.FIL\t"), zub.find("SONG1.FIL\t")) << zub;
    EXPECT_EQ(Setting("File1"), saved) << "a saved list is a recent file";

    const std::string m3u = FullPath(name_ + ".m3u8");
    DeleteFileA(m3u.c_str());
    PostMessageA(player_.Main(), WM_COMMAND, kExport, 0);
    ASSERT_TRUE(FinishFileDialog("Save As", m3u, IDOK));
    ASSERT_TRUE(WaitUntil([&] { return ReadBytes(m3u, bytes) && !bytes.empty(); }));
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_EQ(text.rfind("#EXTM3U\r\n#EXTINF:", 0), 0u) << text;
    EXPECT_NE(text.find(",Title SONG2\r\n" + name_ + "_disk\\SONG2.FIL\r\n"), std::string::npos)
        << "paths relative to the list: " << text;

    // Saved: closing asks nothing.
    PostMessageA(playlist_, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(playlist_); }));
    EXPECT_EQ(player_.Close(), 0);
}

TEST_F(PlaylistUi, AFloppyImageOpensAsItsDiskAndItsSongsPlayFromInsideIt)
{
    eseqtest::PianodirSpec spec;
    spec.diskTitle = "Image Disk";
    spec.records.push_back({"SONG1", "MID", 120, 384 * 2, false, "First"});
    spec.records.push_back({"SONG2", "MID", 120, 384 * 2, false, "Second"});
    floppy::FloppyImage image = floppy::FloppyImage::Blank(floppy::kImage720, 11);
    auto put = [&](const char* name, const std::vector<uint8_t>& bytes) {
        ASSERT_EQ(floppy::ImageError::Ok, image.WriteFile(name, bytes.data(), bytes.size()));
    };
    put("PIANODIR.FIL", eseqtest::BuildPianodir(spec));
    put("SONG1.MID", SongWithProgram(2, 5));
    put("SONG2.MID", SongWithProgram(2, 6));
    const std::string path = FullPath(name_ + ".IMG");
    ASSERT_TRUE(WriteBytes(path, image.Bytes()));

    ASSERT_TRUE(Start(kGapNoLoop, path));
    EXPECT_EQ(Names(), (std::vector<std::string>{"Image Disk", "SONG1.MID", "SONG2.MID"}));
    player_.Command(kNext);
    ASSERT_TRUE(WaitUntil([&] { return MainTitle() == "Zub Player - [SONG1.MID]"; }));
    ASSERT_TRUE(WaitUntil([&] { return ReadCapture(capture_).programs.size() == 2 && State() == "Stopped"; }, 60000));
    EXPECT_EQ(ReadCapture(capture_).programs, (std::vector<int>{5, 6})) << "both songs, taken out of the image";
    EXPECT_EQ(PlaylistStatus().at(4), "\t1 Disk");

    // The copy commands' target becomes an image of 1.44 MB.
    PostMessageA(playlist_, WM_COMMAND, 40061, 0);
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (dialog = FindDialog(player_.ProcessId(), "Copy Target")) != nullptr; }));
    probe_.Picture(player_.Main(), dialog, FullPath(name_ + ".target.bmp"));
    const std::string target = FullPath(name_ + "_target.IMG");
    SendMessageA(GetDlgItem(dialog, 1101), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(target.c_str()));
    SendMessageA(GetDlgItem(dialog, 1104), BM_CLICK, 0, 0);
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return FindDialog(player_.ProcessId(), "Copy Target") == nullptr; }));
    EXPECT_EQ(Setting("CopyTarget"), target);
    DWORD size = 0;
    EXPECT_TRUE(ReadSettingNumber(HKEY_LOCAL_MACHINE, "CopyImageSize", size));
    EXPECT_EQ(size, 1440u);

    // "Copy Disk" writes the disk, listed from inside its image, into the
    // target just chosen, made blank at 1.44 MB.
    Select(0);
    PostMessageA(playlist_, WM_COMMAND, 40009, 0);
    floppy::FloppyImage copy;
    std::vector<uint8_t> song;
    ASSERT_TRUE(WaitUntil([&] {
        return copy.Open(target) == floppy::ImageError::Ok && copy.ReadFile("SONG2.MID", &song) == floppy::ImageError::Ok;
    }));
    EXPECT_EQ(copy.Bytes().size(), floppy::kImage1440);
    EXPECT_EQ(song, SongWithProgram(2, 6));
    EXPECT_EQ(player_.Close(), 0);
}

}  // namespace
}  // namespace zubtest
