// The practice tools in the real player: the seek bar and the Lyrics window
// turned on from the View menu, seeks by the keys' commands and Go To Time,
// the A-B loop's marks, its refusal, its check mark and its status text;
// the capture afterwards holds no hanging note.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <map>

#include "command_ids.h"
#include "player_driver.h"
#include "practice_ids.h"
#include "songbuilder.h"
#include "test_songs.h"

namespace zubtest {
namespace {

std::vector<uint8_t> Text(const std::string& s)
{
    return std::vector<uint8_t>(s.begin(), s.end());
}

// Twelve seconds at 120 beats a minute (192 ticks a second): a note every
// quarter, and the words "Line one" at 1 s, "Line two" at 6 s and
// "Line three" at 9 s.
std::vector<uint8_t> KaraokeSong()
{
    Track head, words, notes;
    head.Meta(0, 0x01, Text("@KMIDI KARAOKE FILE")).End();
    words.Meta(192, 0x01, Text("\\Line ")).Meta(48, 0x01, Text("one"))
        .Meta(912, 0x01, Text("/Line ")).Meta(48, 0x01, Text("two"))
        .Meta(528, 0x01, Text("/Line ")).Meta(48, 0x01, Text("three")).End(528);
    for (int i = 0; i < 24; ++i)
        notes.NoteOn(i ? 48 : 0, 1, 60 + i % 12, 90).NoteOff(48, 1, 60 + i % 12);
    notes.End();
    return BuildSong(1, 96, {head, words, notes});
}

class PracticeUi : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearSettings();
        ASSERT_TRUE(probe_.Ready()) << "the probe library zub_ui_probe.dll must load and hook";
        capture_ = FullPath("PracticeUi.cap.mid");
        DeleteFileA(capture_.c_str());
    }
    void TearDown() override { ClearSettings(); }

    std::string Status(int part)
    {
        probe_.Query(player_.Main());
        return probe_.Status(part);
    }
    bool Checked(UINT id)
    {
        probe_.Query(player_.Main());
        const ProbeMenuItem* item = probe_.Item(id);
        return item && (item->state & MF_CHECKED);
    }
    std::string Lyrics()
    {
        HWND window = FindWindowA("ZubodeckLyrics", "Lyrics");
        return window ? WindowTextOf(GetDlgItem(window, IDC_LYRICS_TEXT)) : "<no Lyrics window>";
    }
    bool LyricsAre(const std::string& text)
    {
        return WaitUntil([&] { return Lyrics() == text; }, 5000);
    }
    // Answers a modal dialog the command opens; false when none came.
    bool GoToTime(const char* time)
    {
        PostMessageA(player_.Main(), WM_COMMAND, CMD_GOTO_TIME, 0);
        HWND dialog = nullptr;
        if (!WaitUntil([&] { return (dialog = FindDialog(player_.ProcessId(), "Go To Time")) != nullptr; }))
            return false;
        SetDlgItemTextA(dialog, IDC_ASK_EDIT, time);
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        return WaitUntil([&] { return FindDialog(player_.ProcessId(), "Go To Time") == nullptr; });
    }

    Probe probe_;
    PlayerProcess player_;
    std::string capture_;
};

TEST_F(PracticeUi, SeekBarLyricsSeeksAndTheLoopFromTheirMenuItems)
{
    const std::string song = FullPath("practice.kar");
    ASSERT_TRUE(WriteBytes(song, KaraokeSong()));
    ASSERT_TRUE(player_.Start("/capture \"" + capture_ + "\" \"" + song + "\""));
    ASSERT_TRUE(WaitUntil([&] { return Status(1) == "Playing"; }));
    player_.Command(CMD_PAUSE);
    ASSERT_TRUE(WaitUntil([&] { return Status(1) == "Paused"; }));

    // Off until turned on: the main window as it always was.
    ASSERT_TRUE(probe_.Query(player_.Main()));
    ASSERT_NE(probe_.Item(CMD_SEEK_BAR), nullptr);
    EXPECT_FALSE(Checked(CMD_SEEK_BAR));
    EXPECT_FALSE(Checked(CMD_LYRICS));
    EXPECT_STREQ(probe_.Item(CMD_SEEK_BACK)->text, "&Back 5 Seconds\tCtrl+Left");
    EXPECT_EQ(GetDlgItem(player_.Main(), IDC_SEEKBAR), nullptr);
    EXPECT_EQ(FindWindowA("ZubodeckLyrics", "Lyrics"), nullptr);

    // With the main window at the bottom of the screen, the Lyrics window
    // opens above it rather than off the screen.
    RECT work = {}, main = {}, lyrics = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(player_.Main(), &main);
    SetWindowPos(player_.Main(), nullptr, main.left, work.bottom - (main.bottom - main.top), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    player_.Command(CMD_SEEK_BAR);
    player_.Command(CMD_LYRICS);
    HWND bar = GetDlgItem(player_.Main(), IDC_SEEKBAR);
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(IsWindowVisible(bar));
    EXPECT_TRUE(Checked(CMD_SEEK_BAR));
    EXPECT_TRUE(Checked(CMD_LYRICS));
    ASSERT_TRUE(GetWindowRect(FindWindowA("ZubodeckLyrics", "Lyrics"), &lyrics));
    EXPECT_GE(lyrics.top, work.top);
    EXPECT_LE(lyrics.bottom, work.bottom) << "the Lyrics window is whole on the screen";

    // The position display (remaining time) follows every move.
    HWND display = FindWindowExA(player_.Main(), nullptr, "ZubodeckTWnd", nullptr);
    ASSERT_TRUE(GoToTime("0:02"));
    EXPECT_TRUE(LyricsAre("Line one\r\nLine two")) << Lyrics();
    EXPECT_TRUE(WaitUntil([&] { return WindowTextOf(display) == "00:00:10"; }, 5000)) << WindowTextOf(display);
    player_.Command(CMD_SEEK_FORWARD);  // 7 s
    EXPECT_TRUE(LyricsAre("Line two\r\nLine three")) << Lyrics();
    EXPECT_TRUE(WaitUntil([&] { return WindowTextOf(display) == "00:00:05"; }, 5000)) << WindowTextOf(display);
    EXPECT_TRUE(WaitUntil([&] {
        const LRESULT at = SendMessageA(bar, TBM_GETPOS, 0, 0);
        return at >= 570 && at <= 600;
    })) << "7 of 12 seconds: " << SendMessageA(bar, TBM_GETPOS, 0, 0);
    EXPECT_EQ(Status(1), "Paused") << "a paused song stays paused where it was moved to";
    player_.Command(CMD_SEEK_BACK);  // 2 s
    EXPECT_TRUE(LyricsAre("Line one\r\nLine two")) << Lyrics();
    Sleep(300);  // for the pictures only: the windows repaint
    EXPECT_TRUE(probe_.Picture(player_.Main(), player_.Main(), FullPath("practice_main.bmp")));
    EXPECT_TRUE(probe_.Picture(player_.Main(), FindWindowA("ZubodeckLyrics", "Lyrics"), FullPath("practice_lyrics.bmp")));

    // A loop needs both ends.
    player_.Command(CMD_LOOP_START);
    PostMessageA(player_.Main(), WM_COMMAND, CMD_LOOP_AB, 0);
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (box = FindDialog(player_.ProcessId(), "Zub Player")) != nullptr; }));
    EXPECT_EQ(DialogMessage(box), "Set the loop start and the loop end first.");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return FindDialog(player_.ProcessId(), "Zub Player") == nullptr; }));
    EXPECT_FALSE(Checked(CMD_LOOP_AB));

    // 2 s to 7 s; turning the loop on at 7 s goes back to its start.
    player_.Command(CMD_SEEK_FORWARD);
    player_.Command(CMD_LOOP_END);
    player_.Command(CMD_LOOP_AB);
    EXPECT_TRUE(Checked(CMD_LOOP_AB));
    EXPECT_TRUE(LyricsAre("Line one\r\nLine two")) << Lyrics();
    EXPECT_TRUE(WaitUntil([&] { return Status(0).find("Loop 0:02-0:07 (1)") != std::string::npos; })) << Status(0);
    player_.Command(CMD_PAUSE);  // plays on, and around
    EXPECT_TRUE(WaitUntil([&] { return Status(0).find("Loop 0:02-0:07 (2)") != std::string::npos; })) << Status(0);
    player_.Command(CMD_LOOP_AB);
    EXPECT_FALSE(Checked(CMD_LOOP_AB));
    EXPECT_TRUE(WaitUntil([&] { return Status(0).find("Loop") == std::string::npos; })) << Status(0);

    player_.Command(CMD_STOP);
    ASSERT_TRUE(WaitUntil([&] { return Status(1) == "Stopped"; }));
    EXPECT_EQ(player_.Close(), 0);

    // Every note that was turned on was turned off again, across the seeks
    // and the jumps.
    std::vector<uint8_t> captured;
    ASSERT_TRUE(ReadBytes(capture_, captured));
    std::vector<SentEvent> events;
    ASSERT_TRUE(SentEventsOf(captured, events));
    std::map<int, int> sounding;
    int notes = 0;
    for (const SentEvent& e : events) {
        if (e.bytes.size() != 3)
            continue;
        if ((e.bytes[0] & 0xF0) == 0x90 && e.bytes[2] > 0) {
            ++sounding[e.bytes[1]];
            ++notes;
        } else if ((e.bytes[0] & 0xF0) == 0x80 || (e.bytes[0] & 0xF0) == 0x90) {
            sounding[e.bytes[1]] = 0;
        }
    }
    EXPECT_GT(notes, 10);
    for (const auto& key : sounding)
        EXPECT_EQ(key.second, 0) << "key " << key.first << " left sounding";
    DeleteFileA(song.c_str());
    DeleteFileA(capture_.c_str());
}

// The keys that the menu items name are the player's accelerators.
TEST(PracticeKeys, TheMenusKeysAreThePlayersAccelerators)
{
    HMODULE exe = LoadLibraryExA(FullPath("Zubodeck.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(exe, nullptr);
    HACCEL table = LoadAcceleratorsA(exe, "PRACTICEKEYS");
    ASSERT_NE(table, nullptr);
    ACCEL keys[16] = {};
    const int count = CopyAcceleratorTableA(table, keys, 16);
    std::map<int, std::pair<int, int>> byCommand;  // command: key, modifiers
    for (int i = 0; i < count; ++i)
        byCommand[keys[i].cmd] = {keys[i].key, keys[i].fVirt & ~FNOINVERT};
    const int ctrl = FVIRTKEY | FCONTROL;
    EXPECT_EQ(byCommand[CMD_SEEK_BACK], std::make_pair(int(VK_LEFT), ctrl));
    EXPECT_EQ(byCommand[CMD_SEEK_FORWARD], std::make_pair(int(VK_RIGHT), ctrl));
    EXPECT_EQ(byCommand[CMD_GOTO_TIME], std::make_pair(int('G'), ctrl));
    EXPECT_EQ(byCommand[CMD_LOOP_START], std::make_pair(int('1'), ctrl));
    EXPECT_EQ(byCommand[CMD_LOOP_END], std::make_pair(int('2'), ctrl));
    EXPECT_EQ(byCommand[CMD_LOOP_AB], std::make_pair(int('L'), ctrl));
    EXPECT_EQ(count, 6);
    DestroyAcceleratorTable(table);
    FreeLibrary(exe);
}

}  // namespace
}  // namespace zubtest
