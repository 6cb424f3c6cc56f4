// UI tests of the real player: each starts Zubodeck.exe with fresh settings,
// drives it with the messages its menus and toolbar send, and checks what
// its windows show and what it leaves in the registry.
#include <windows.h>
#include <commctrl.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "command_ids.h"
#include "player_driver.h"
#include "test_songs.h"

namespace zubtest {
namespace {

const char kCaptureName[] = "Zubodeck Capture";
const char kDefaultOptions[] = "1111100010010";

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// One test's player: fresh settings, the probe's hooks, a capture file.
class PlayerUi : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearSettings();
        ASSERT_TRUE(probe_.Ready()) << "the probe library zub_ui_probe.dll must load and hook";
        capture_ = FullPath(std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".cap.mid");
        DeleteFileA(capture_.c_str());
    }
    void TearDown() override { ClearSettings(); }

    bool Start(const std::string& extra = std::string())
    {
        std::string args = "/capture \"" + capture_ + "\"";
        if (!extra.empty())
            args += " " + extra;
        return player_.Start(args);
    }
    bool Query() { return probe_.Query(player_.Main()); }
    std::string Status(int part)
    {
        Query();
        return probe_.Status(part);
    }
    bool WaitForState(const std::string& text)
    {
        return WaitUntil([&] { return Status(1) == text; });
    }
    bool Checked(UINT id) const
    {
        const ProbeMenuItem* item = probe_.Item(id);
        return item && (item->state & MF_CHECKED);
    }
    bool Grayed(UINT id) const
    {
        const ProbeMenuItem* item = probe_.Item(id);
        return item && (item->state & MF_GRAYED);
    }
    bool ButtonEnabled(int id) { return (ToolbarState(player_.Toolbar(), id) & TBSTATE_ENABLED) != 0; }
    std::string Setting(const char* name)
    {
        std::string v = "<missing>";
        ReadSetting(HKEY_LOCAL_MACHINE, name, v);
        return v;
    }
    std::string SongFile(const char* name, const std::vector<uint8_t>& bytes)
    {
        std::string path = FullPath(name);
        EXPECT_TRUE(WriteBytes(path, bytes));
        return path;
    }

    Probe probe_;
    PlayerProcess player_;
    std::string capture_;
};

TEST_F(PlayerUi, StartUpDefaults)
{
    ASSERT_TRUE(Start());
    EXPECT_EQ(WindowTextOf(player_.Main()), "Zub Player - [Untitled]");
    ASSERT_TRUE(Query());
    EXPECT_EQ(probe_.Status(0), "");
    EXPECT_EQ(probe_.Status(1), "") << "no song: no state text";
    EXPECT_EQ(probe_.Status(2), "Remaining Time");

    // The 13 option switches with their defaults.
    struct {
        UINT id;
        bool on;
    } options[] = {{CMD_TOOLBAR, true},        {CMD_STATUSBAR, true},      {CMD_AUTOPLAY, true},
                   {CMD_DISK_FIXUP, true},     {CMD_SONG_GAP, true},       {CMD_LOOP, false},
                   {CMD_CREATE_MID, false},    {CMD_ELAPSED, false},       {CMD_REMAINING, true},
                   {CMD_MAP_VOICES, false},    {CMD_ALWAYS_ON_TOP, false}, {CMD_USE_PIANODIR, true},
                   {CMD_SORT_DISK_DIR, false}};
    for (const auto& o : options) {
        ASSERT_NE(probe_.Item(o.id), nullptr) << o.id;
        EXPECT_EQ(Checked(o.id), o.on) << "option " << o.id << " " << probe_.Item(o.id)->text;
    }
    EXPECT_STREQ(probe_.Item(CMD_REMAINING)->text, "Remaining Time");
    EXPECT_STREQ(probe_.Item(CMD_EXIT)->text, "E&xit");

    // No song: Play, Pause, Stop, Next and Previous greyed; reset and volume not.
    for (UINT id : {UINT(CMD_PLAY), UINT(CMD_PAUSE), UINT(CMD_STOP), UINT(CMD_NEXT), UINT(CMD_PREV)})
        EXPECT_TRUE(Grayed(id)) << id;
    for (UINT id : {UINT(CMD_MIDI_RESET), UINT(CMD_MASTER_VOLUME)})
        EXPECT_FALSE(Grayed(id)) << id;
    for (int id : {int(CMD_PLAY), int(CMD_PAUSE), int(CMD_STOP), int(CMD_NEXT), int(CMD_PREV)})
        EXPECT_FALSE(ButtonEnabled(id)) << id;
    for (int id : {int(CMD_NEW), int(CMD_OPEN), int(CMD_SAVE), int(CMD_TOGGLE_TIME), int(CMD_MIDI_RESET),
                   int(CMD_MASTER_VOLUME)})
        EXPECT_TRUE(ButtonEnabled(id)) << id;

    // Play Thru: the mapper and the one (software) device, device 0 checked.
    ASSERT_NE(probe_.Item(CMD_DEVICE_FIRST), nullptr);
    EXPECT_STREQ(probe_.Item(CMD_DEVICE_FIRST)->text, kCaptureName);
    EXPECT_TRUE(Checked(CMD_DEVICE_FIRST));
    EXPECT_FALSE(Checked(CMD_MIDI_MAPPER));
    EXPECT_EQ(probe_.Item(CMD_RECENT_FIRST), nullptr) << "no recent files yet";

    RECT shown = {};
    GetWindowRect(player_.Main(), &shown);
    EXPECT_EQ(player_.Close(), 0);
    EXPECT_EQ(Setting("Options"), kDefaultOptions);
    EXPECT_EQ(Setting("Out"), kCaptureName);
    EXPECT_EQ(Setting("LastOpenDir"), "");
    DWORD volume = 0, lamps = 7;
    EXPECT_TRUE(ReadSettingNumber(HKEY_LOCAL_MACHINE, "MidiMasterVolume", volume));
    EXPECT_EQ(static_cast<int32_t>(volume), -128);
    EXPECT_TRUE(ReadSettingNumber(HKEY_LOCAL_MACHINE, "ClavinovaLEDs", lamps));
    EXPECT_EQ(lamps, 0u);
    std::string pos = Setting(PosValueName("Player").c_str());
    int l, t, w, h;
    ASSERT_EQ(sscanf(pos.c_str(), "%d %d %d %d", &l, &t, &w, &h), 4) << pos;
    // The default size, as the window really took it: fonts may make the
    // bars taller, and then the window grows to keep room for them.
    EXPECT_EQ(w, 380);
    EXPECT_GE(h, 200);
    EXPECT_EQ(w, shown.right - shown.left);
    EXPECT_EQ(h, shown.bottom - shown.top);
}

// Regression: a song that started playing before the display's first draw
// showed a remaining time of 00:00:00 throughout.
TEST_F(PlayerUi, RemainingTimeCountsDownFromTheSongLength)
{
    // Ten minutes long, so that however slowly this machine reaches the first
    // look at the display, most of the song still remains.
    std::string path = SongFile("ten.mid", MakeSong(1200));
    ASSERT_TRUE(Start("\"" + path + "\""));
    HWND display = FindWindowExA(player_.Main(), nullptr, "ZubodeckTWnd", nullptr);
    ASSERT_NE(display, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return Status(1) == "Playing"; }));
    std::string shown;
    EXPECT_TRUE(WaitUntil([&] {
        shown = WindowTextOf(display);
        return !shown.empty();
    }));
    int h = -1, m = -1, sec = -1;
    ASSERT_EQ(sscanf(shown.c_str(), "%d:%d:%d", &h, &m, &sec), 3) << shown;
    const int remaining = h * 3600 + m * 60 + sec;
    EXPECT_GT(remaining, 60) << shown;
    EXPECT_LE(remaining, 600) << shown;
    SendMessageA(player_.Main(), WM_COMMAND, CMD_STOP, 0);
    EXPECT_EQ(player_.Close(), 0);
}

TEST_F(PlayerUi, NewOnTheCommandLineOpensAnEmptyPlaylist)
{
    ASSERT_TRUE(Start("/new"));
    EXPECT_TRUE(WaitUntil([&] {
        for (int c : probe_.Commands()) {
            if (c == CMD_NEW)
                return true;
        }
        return false;
    }));
    HWND playlist = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        return (playlist = FindDialog(player_.ProcessId(), "Zub PlayList - [Untitled]")) != nullptr;
    }));
    EXPECT_TRUE(IsWindowVisible(playlist));
    // Unchanged: closing the player asks nothing.
    EXPECT_EQ(player_.Close(), 0);
}

TEST_F(PlayerUi, SongThatEndsOnItsOwnIsCapturedExactly)
{
    std::vector<uint8_t> song = MakeSong(3);  // 1.5 seconds
    std::string path = SongFile("ends.mid", song);
    ASSERT_TRUE(Start("\"" + path + "\""));
    EXPECT_EQ(WindowTextOf(player_.Main()), "Zub Player - [ends.mid]");
    EXPECT_EQ(Status(0), "Test Song") << "the song's own title, cleaned for display";
    // Auto-Play on Open starts it; it ends by itself and returns to Stopped.
    EXPECT_TRUE(WaitUntil([&] { return Status(1) == "Playing" || FileExists(capture_); }));
    ASSERT_TRUE(WaitForState("Stopped")) << Status(1);
    ASSERT_TRUE(Query());
    EXPECT_FALSE(Grayed(CMD_PLAY));
    EXPECT_TRUE(Grayed(CMD_STOP));
    EXPECT_TRUE(ButtonEnabled(CMD_PLAY));
    EXPECT_FALSE(ButtonEnabled(CMD_PAUSE));
    EXPECT_EQ(player_.Close(), 0);

    std::vector<uint8_t> captured;
    ASSERT_TRUE(ReadBytes(capture_, captured)) << "the capture file is written when the song ends";
    std::vector<SentEvent> want, got;
    uint16_t division = 0;
    ASSERT_TRUE(SentEventsOf(song, want));
    ASSERT_TRUE(SentEventsOf(captured, got, &division));
    EXPECT_EQ(division, 96);
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i)
        EXPECT_EQ(got[i], want[i]) << "event " << i << ": sent " << Describe(got[i]) << ", song " << Describe(want[i]);
}

TEST_F(PlayerUi, PlayPauseResumeStop)
{
    std::vector<uint8_t> song = MakeSong(120);  // a minute
    std::string path = SongFile("long.mid", song);
    WriteSetting(HKEY_LOCAL_MACHINE, "Options", "110");  // Auto-Play off
    ASSERT_TRUE(Start("\"" + path + "\""));
    ASSERT_TRUE(WaitForState("Stopped")) << "opened, not playing";
    ASSERT_TRUE(Query());
    EXPECT_FALSE(Checked(CMD_AUTOPLAY));
    EXPECT_TRUE(ButtonEnabled(CMD_PLAY));
    EXPECT_FALSE(ButtonEnabled(CMD_STOP));

    player_.Command(CMD_PLAY);
    ASSERT_TRUE(WaitForState("Playing"));
    ASSERT_TRUE(Query());
    EXPECT_TRUE(Grayed(CMD_PLAY));
    EXPECT_FALSE(Grayed(CMD_PAUSE));
    EXPECT_FALSE(Grayed(CMD_STOP));
    EXPECT_TRUE(Grayed(CMD_MIDI_RESET)) << "no reset while a stream plays";
    EXPECT_TRUE(Grayed(CMD_MASTER_VOLUME));
    const ProbeMenuItem* playThru = nullptr;
    for (const ProbeMenuItem& bar : probe_.Popup(-1)) {
        if (bar.position == 3)
            playThru = &bar;
    }
    ASSERT_NE(playThru, nullptr);
    EXPECT_TRUE(playThru->state & MF_GRAYED) << "Play Thru is closed while playing";
    EXPECT_FALSE(ButtonEnabled(CMD_PLAY));
    EXPECT_TRUE(ButtonEnabled(CMD_PAUSE));
    EXPECT_FALSE(ToolbarState(player_.Toolbar(), CMD_PAUSE) & TBSTATE_CHECKED);
    // A picture of the playing player, left in the build tree for people.
    Sleep(2500);
    EXPECT_TRUE(probe_.Picture(player_.Main(), player_.Main(), FullPath("player_playing.bmp")));

    player_.Command(CMD_PAUSE);
    ASSERT_TRUE(WaitForState("Paused"));
    EXPECT_TRUE(ToolbarState(player_.Toolbar(), CMD_PAUSE) & TBSTATE_CHECKED) << "Pause shows pressed while paused";

    player_.Command(CMD_PAUSE);
    ASSERT_TRUE(WaitForState("Playing"));
    EXPECT_FALSE(ToolbarState(player_.Toolbar(), CMD_PAUSE) & TBSTATE_CHECKED);

    player_.Command(CMD_STOP);
    ASSERT_TRUE(WaitForState("Stopped"));
    ASSERT_TRUE(Query());
    EXPECT_FALSE(Grayed(CMD_PLAY));
    EXPECT_FALSE(Grayed(CMD_MIDI_RESET));
    EXPECT_EQ(player_.Close(), 0);

    // What was sent before the stop is the start of the song, in order.
    std::vector<uint8_t> captured;
    ASSERT_TRUE(ReadBytes(capture_, captured));
    std::vector<SentEvent> want, got;
    ASSERT_TRUE(SentEventsOf(song, want));
    ASSERT_TRUE(SentEventsOf(captured, got));
    ASSERT_GE(got.size(), 2u) << "tempo and program change at least";
    size_t prefix = 0;
    while (prefix < got.size() && prefix < want.size() && got[prefix] == want[prefix])
        ++prefix;
    EXPECT_LT(prefix, want.size()) << "stopped before the end";
    // After the stop only the release of sounding notes may follow.
    for (size_t i = prefix; i < got.size(); ++i) {
        uint8_t kind = got[i].bytes[0] & 0xF0;
        EXPECT_TRUE(kind == 0x80 || kind == 0xB0 || (kind == 0x90 && got[i].bytes[2] == 0))
            << "unexpected " << Describe(got[i]);
    }
}

TEST_F(PlayerUi, ToolbarButton115SwitchesElapsedAndRemaining)
{
    ASSERT_TRUE(Start());
    EXPECT_EQ(Status(2), "Remaining Time");
    player_.Command(CMD_TOGGLE_TIME);
    ASSERT_TRUE(Query());
    EXPECT_EQ(probe_.Status(2), "Elapsed time");
    EXPECT_TRUE(Checked(CMD_ELAPSED));
    EXPECT_FALSE(Checked(CMD_REMAINING));
    player_.Command(CMD_TOGGLE_TIME);
    ASSERT_TRUE(Query());
    EXPECT_EQ(probe_.Status(2), "Remaining Time");
    EXPECT_FALSE(Checked(CMD_ELAPSED));
    EXPECT_TRUE(Checked(CMD_REMAINING));
    player_.Command(CMD_TOGGLE_TIME);
    EXPECT_EQ(player_.Close(), 0);
    EXPECT_EQ(Setting("Options"), "1111100100010") << "Elapsed on, Remaining off";
}

TEST_F(PlayerUi, SavedOutMatchingNoDeviceSelectsDevice0)
{
    WriteSetting(HKEY_LOCAL_MACHINE, "Out", "Some Synth That Is Gone");
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Query());
    EXPECT_TRUE(Checked(CMD_DEVICE_FIRST));
    EXPECT_FALSE(Checked(CMD_MIDI_MAPPER));
    EXPECT_EQ(player_.Close(), 0);
    EXPECT_EQ(Setting("Out"), kCaptureName);
}

TEST_F(PlayerUi, SavedMidiMapperSelectsTheMapper)
{
    WriteSetting(HKEY_LOCAL_MACHINE, "Out", "&Midi Mapper");
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Query());
    EXPECT_TRUE(Checked(CMD_MIDI_MAPPER));
    EXPECT_FALSE(Checked(CMD_DEVICE_FIRST));
    player_.Command(CMD_DEVICE_FIRST);
    ASSERT_TRUE(Query());
    EXPECT_TRUE(Checked(CMD_DEVICE_FIRST));
    EXPECT_FALSE(Checked(CMD_MIDI_MAPPER));
    EXPECT_EQ(player_.Close(), 0);
    EXPECT_EQ(Setting("Out"), kCaptureName);
}

TEST_F(PlayerUi, OpeningFromARecentEntry)
{
    // A folder name long enough that the menu shortens the path wherever
    // the build tree lies.
    const std::string folder = "recent songs in a folder with a long name";
    CreateDirectoryA(FullPath(folder).c_str(), nullptr);
    std::string a = SongFile((folder + "\\recent a.mid").c_str(), MakeSong(2));
    std::string b = SongFile((folder + "\\recent b.mid").c_str(), MakeSong(2));
    WriteSetting(HKEY_LOCAL_MACHINE, "File1", a);
    WriteSetting(HKEY_LOCAL_MACHINE, "File2", b);
    WriteSetting(HKEY_LOCAL_MACHINE, "Options", "110");  // Auto-Play off
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Query());
    ASSERT_NE(probe_.Item(CMD_RECENT_FIRST + 1), nullptr);
    EXPECT_EQ(probe_.Item(CMD_RECENT_FIRST + 1)->text, "&2 " + b.substr(0, 3) + "..." + b.substr(b.size() - 30));

    player_.Command(CMD_RECENT_FIRST + 1);
    EXPECT_EQ(WindowTextOf(player_.Main()), "Zub Player - [recent b.mid]");
    EXPECT_EQ(Status(1), "Stopped");
    ASSERT_TRUE(Query());
    // The entry moved to the front, in the menu and in the registry.
    std::vector<ProbeMenuItem> file = probe_.Popup(0);
    ASSERT_GE(file.size(), 14u);
    EXPECT_EQ(file[11].id, UINT(CMD_RECENT_FIRST));
    EXPECT_EQ(file[12].id, UINT(CMD_RECENT_FIRST + 1));
    EXPECT_NE(std::string(file[11].text).find("recent b.mid"), std::string::npos) << file[11].text;
    EXPECT_EQ(file[13].id, 0u) << "separator before Exit";
    EXPECT_EQ(file[14].id, UINT(CMD_EXIT));
    EXPECT_EQ(Setting("File1"), b);
    EXPECT_EQ(Setting("File2"), a);
    EXPECT_EQ(player_.Close(), 0);
}

TEST_F(PlayerUi, OpeningAFileWhileThePlayerRunsHandsItToThatPlayer)
{
    std::string first = SongFile("handoff first.mid", MakeSong(2));
    std::string second = SongFile("handoff second.mid", MakeSong(2));
    WriteSetting(HKEY_LOCAL_MACHINE, "Options", "110");  // Auto-Play off
    ASSERT_TRUE(Start("\"" + first + "\""));
    EXPECT_TRUE(WaitUntil([&] { return WindowTextOf(player_.Main()) == "Zub Player - [handoff first.mid]"; }))
        << WindowTextOf(player_.Main());

    // Started as the file manager starts it, with the file alone: the new
    // process gives the file to the running player and ends.
    EXPECT_EQ(RunToEnd("Zubodeck.exe \"" + second + "\""), 0);
    EXPECT_TRUE(WaitUntil([&] { return WindowTextOf(player_.Main()) == "Zub Player - [handoff second.mid]"; }))
        << WindowTextOf(player_.Main());
    EXPECT_EQ(RunningPlayers().size(), 1u);
    EXPECT_EQ(Setting("File1"), second) << "opened as a drop, so it enters the recent files";

    // A start with its own capture stays its own player.
    const std::string ownCapture = FullPath("handoff own.cap.mid");
    PlayerProcess own;
    ASSERT_TRUE(own.Start("/capture \"" + ownCapture + "\" \"" + first + "\""));
    EXPECT_TRUE(WaitUntil([&] { return WindowTextOf(own.Main()) == "Zub Player - [handoff first.mid]"; }))
        << WindowTextOf(own.Main());
    EXPECT_EQ(WindowTextOf(player_.Main()), "Zub Player - [handoff second.mid]");
    EXPECT_EQ(RunningPlayers().size(), 2u);
    EXPECT_EQ(own.Close(), 0);
    EXPECT_EQ(player_.Close(), 0);
    DeleteFileA(ownCapture.c_str());
}

TEST_F(PlayerUi, FourthDistinctFileDropsTheOldest)
{
    std::string paths[4];
    for (int i = 0; i < 4; ++i)
        paths[i] = SongFile(("distinct" + std::to_string(i) + ".mid").c_str(), MakeSong(1));
    WriteSetting(HKEY_LOCAL_MACHINE, "Options", "110");
    // Each start opens its file as if it had been dropped on the window.
    for (int i = 0; i < 4; ++i) {
        PlayerProcess run;
        ASSERT_TRUE(run.Start("/capture \"" + capture_ + "\" \"" + paths[i] + "\""));
        EXPECT_EQ(WindowTextOf(run.Main()), "Zub Player - [distinct" + std::to_string(i) + ".mid]");
        EXPECT_EQ(run.Close(), 0);
    }
    EXPECT_EQ(Setting("File1"), paths[3]);
    EXPECT_EQ(Setting("File2"), paths[2]);
    EXPECT_EQ(Setting("File3"), paths[1]);

    // The same file again, in other letter case, changes nothing.
    std::string upper = paths[3];
    for (char& c : upper)
        c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    ASSERT_TRUE(Start("\"" + upper + "\""));
    ASSERT_TRUE(Query());
    std::vector<ProbeMenuItem> file = probe_.Popup(0);
    ASSERT_GE(file.size(), 16u);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(file[11 + i].id, UINT(CMD_RECENT_FIRST + i));
    EXPECT_EQ(player_.Close(), 0);
    EXPECT_EQ(Setting("File1"), paths[3]);
    EXPECT_EQ(Setting("File2"), paths[2]);
}

TEST_F(PlayerUi, DamagedSongReportsOpenFailure)
{
    std::string path = SongFile("damaged.mid", MakeDamagedSong());
    ASSERT_TRUE(Start("\"" + path + "\""));
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (box = FindDialog(player_.ProcessId(), "Zub Player")) != nullptr; }));
    char reason[256] = {};
    mciGetErrorStringA(296, reason, sizeof(reason));  // invalid file
    EXPECT_EQ(DialogMessage(box), std::string("Open of MIDI file failed:\n") + reason);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return FindDialog(player_.ProcessId(), "Zub Player") == nullptr; }));
    EXPECT_EQ(WindowTextOf(player_.Main()), "Zub Player - [Untitled]");
    ASSERT_TRUE(Query());
    EXPECT_TRUE(Grayed(CMD_PLAY));
    EXPECT_EQ(probe_.Status(1), "");
    EXPECT_EQ(player_.Close(), 0);
}

// Regression: after a song that fails to open, the previous song's title
// stayed in the status bar and the window title while no song was open.
TEST_F(PlayerUi, AFailedOpenLeavesNoSongBehind)
{
    const std::string good = SongFile("good.mid", MakeSong(4));
    const std::string damaged = SongFile("damaged later.mid", MakeDamagedSong());
    WriteSetting(HKEY_LOCAL_MACHINE, "Options", "110");  // Auto-Play off
    WriteSetting(HKEY_LOCAL_MACHINE, "File1", damaged);
    ASSERT_TRUE(Start("\"" + good + "\""));
    EXPECT_EQ(WindowTextOf(player_.Main()), "Zub Player - [good.mid]");
    EXPECT_EQ(Status(0), "Test Song");
    EXPECT_EQ(Setting("File2"), damaged);

    PostMessageA(player_.Main(), WM_COMMAND, CMD_RECENT_FIRST + 1, 0);
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (box = FindDialog(player_.ProcessId(), "Zub Player")) != nullptr; }));
    EXPECT_EQ(0u, DialogMessage(box).find("Open of MIDI file failed:\n")) << DialogMessage(box);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitUntil([&] { return WindowTextOf(player_.Main()) == "Zub Player - [Untitled]"; }))
        << WindowTextOf(player_.Main());
    ASSERT_TRUE(Query());
    EXPECT_EQ(probe_.Status(0), "") << "the closed song's title must go";
    EXPECT_EQ(probe_.Status(1), "");
    EXPECT_TRUE(Grayed(CMD_PLAY));
    EXPECT_FALSE(ButtonEnabled(CMD_PLAY));
    EXPECT_EQ(player_.Close(), 0);
}

// Regression: "Zubodeck /NEW" tried to open "/NEW" and kept it as File1;
// a relative path entered the recent list as typed.
TEST_F(PlayerUi, SwitchesAreNotSongsAndRelativePathsEnterTheRecentListWhole)
{
    SongFile("relative.mid", MakeSong(2));
    WriteSetting(HKEY_LOCAL_MACHINE, "Options", "110");
    ASSERT_TRUE(Start("/NEW /whatever"));
    EXPECT_EQ(FindDialog(player_.ProcessId(), "Zub Player"), nullptr) << DialogMessage(FindDialog(player_.ProcessId(), "Zub Player"));
    EXPECT_EQ(WindowTextOf(player_.Main()), "Zub Player - [Untitled]");
    EXPECT_EQ(player_.Close(), 0);
    EXPECT_EQ(Setting("File1"), "<missing>");

    // The player starts in this test's folder, so the name alone finds it.
    ASSERT_TRUE(Start("relative.mid"));
    EXPECT_EQ(WindowTextOf(player_.Main()), "Zub Player - [relative.mid]");
    EXPECT_EQ(Status(1), "Stopped");
    EXPECT_EQ(player_.Close(), 0);
    EXPECT_EQ(Setting("File1"), FullPath("relative.mid"));
}

// Regression: the toolbar had no tooltips, and no one could guess that the
// piano button is "Midi Reset".
TEST_F(PlayerUi, ToolbarButtonsShowTheirCommandsNames)
{
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Query());
    EXPECT_EQ(probe_.ToolCount(), 11) << "one tooltip per button";
    const std::vector<std::pair<int, std::string>> expected = {
        {CMD_NEW, "New"},
        {CMD_OPEN, "Open"},
        {CMD_SAVE, "Save"},
        {CMD_PREV, "Prev track"},
        {CMD_PLAY, "Play"},
        {CMD_STOP, "Stop"},
        {CMD_PAUSE, "Pause"},
        {CMD_NEXT, "Next track"},
        {CMD_TOGGLE_TIME, "Elapsed time / Remaining Time"},
        {CMD_MIDI_RESET, "Midi Reset"},
        {CMD_MASTER_VOLUME, "Override Master Volume"},
    };
    EXPECT_EQ(probe_.Tips(), expected);
    EXPECT_EQ(player_.Close(), 0);
}

TEST_F(PlayerUi, SettingsSurviveARestart)
{
    ASSERT_TRUE(Start());
    player_.Command(CMD_LOOP);
    player_.Command(CMD_TOOLBAR);
    player_.Command(CMD_TOGGLE_TIME);
    player_.Command(CMD_ALWAYS_ON_TOP);
    player_.Command(CMD_MIDI_MAPPER);
    player_.Command(CMD_LAMP_DISABLED + 3);  // channel 3's lamps: not an option switch
    ASSERT_TRUE(Query());
    EXPECT_EQ(player_.Toolbar(), nullptr);
    EXPECT_FALSE(Checked(CMD_TOOLBAR));
    EXPECT_FALSE(Checked(CMD_VIEW_TOOLBAR)) << "View's toolbar item mirrors the option";
    EXPECT_EQ(player_.Close(), 0);
    EXPECT_EQ(Setting("Options"), "0111110100110");
    EXPECT_EQ(Setting("Out"), "&Midi Mapper");

    ASSERT_TRUE(Start());
    ASSERT_TRUE(Query());
    EXPECT_EQ(player_.Toolbar(), nullptr) << "no toolbar after the restart";
    EXPECT_NE(player_.StatusBar(), nullptr);
    EXPECT_TRUE(Checked(CMD_LOOP));
    EXPECT_TRUE(Checked(CMD_ELAPSED));
    EXPECT_FALSE(Checked(CMD_REMAINING));
    EXPECT_TRUE(Checked(CMD_ALWAYS_ON_TOP));
    EXPECT_TRUE(GetWindowLongA(player_.Main(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(Checked(CMD_MIDI_MAPPER));
    EXPECT_EQ(probe_.Status(2), "Elapsed time");
    player_.Command(CMD_TOOLBAR);
    EXPECT_NE(player_.Toolbar(), nullptr) << "the toolbar comes back";
    EXPECT_EQ(player_.Close(), 0);
    EXPECT_EQ(Setting("Options"), "1111110100110");
}

TEST_F(PlayerUi, UsersOwnSettingsWinOverTheMachineWide)
{
    WriteSetting(HKEY_LOCAL_MACHINE, "Options", kDefaultOptions);
    WriteSetting(HKEY_CURRENT_USER, "Options", "1111110010010");  // Loop on
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Query());
    EXPECT_TRUE(Checked(CMD_LOOP));
    EXPECT_EQ(player_.Close(), 0);
    // Written machine-wide; the user's older copy no longer hides it.
    EXPECT_EQ(Setting("Options"), "1111110010010");
    std::string user;
    EXPECT_FALSE(ReadSetting(HKEY_CURRENT_USER, "Options", user)) << user;
}

// The text part of the grid's answer to a question.
std::string GridAnswer(HWND inner, const char* ask)
{
    return GridAnswerText(GridAsk(inner, ask));
}

TEST_F(PlayerUi, AboutDialogShowsItsAnimatedGridAndCloses)
{
    ASSERT_TRUE(Start());
    PostMessageA(player_.Main(), WM_COMMAND, CMD_ABOUT, 0);
    HWND about = nullptr;
    // Shown once its initialisation is done; its version line is filled in then.
    ASSERT_TRUE(WaitUntil([&] {
        return (about = FindDialog(player_.ProcessId(), "About Zubodeck")) != nullptr && IsWindowVisible(about);
    }));
    WaitUntil([&] { return !WindowTextOf(GetDlgItem(about, IDC_ABOUT_LINE1)).empty(); });
    EXPECT_EQ(WindowTextOf(GetDlgItem(about, IDC_ABOUT_LINE1)), "Zubodeck 1.0, a MIDI song player");
    HWND frame = GetDlgItem(about, IDC_ABOUT_GRID);
    HWND inner = GetWindow(frame, GW_CHILD);
    ASSERT_NE(inner, nullptr) << "the grid control";
    EXPECT_EQ(GridAnswer(inner, "103:0,0,0,0,0:"), "'Beta' users are requested to provide feedback");
    EXPECT_FALSE(IsWindowEnabled(frame)) << "the grid only shows";
    EXPECT_EQ(GridAnswer(inner, "103:0,1,0,0,0:"), "and sample test data in exchange for this privilege.");
    SendMessageA(inner, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("101:0,0,0,0,0:"));
    char count[64] = "";
    SendMessageA(inner, WM_GETTEXT, sizeof count, reinterpret_cast<LPARAM>(count));
    EXPECT_STREQ(count, "2:0,0,0,0,0:") << "two rows";
    EXPECT_EQ(GridAnswer(inner, "106:0,0,0,0,0:"), "Default") << "font alias";
    EXPECT_EQ(GridAnswer(inner, "105:0,1,0,0,0:"), "Pale Yellow") << "the colour of the pair";
    // The first row's icon changes among the five drawings as the timer ticks.
    std::set<std::string> icons;
    WaitUntil([&] {
        std::string icon = GridAnswer(inner, "107:0,0,0,0,0:");
        EXPECT_TRUE(icon.size() == 5 && icon.compare(0, 4, "Keys") == 0 && icon[4] >= '0' && icon[4] <= '4')
            << icon;
        icons.insert(icon);
        Sleep(50);
        return icons.size() >= 2;
    }, 20000);
    EXPECT_GE(icons.size(), 2u) << "the animation runs";
    EXPECT_EQ(GridAnswer(inner, "107:0,1,0,0,0:"), "Default") << "the second row has no icon";
    EXPECT_TRUE(probe_.Picture(player_.Main(), about, FullPath("about_dialog.bmp")));
    PostMessageA(about, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitUntil([&] { return FindDialog(player_.ProcessId(), "About Zubodeck") == nullptr; }));
    EXPECT_EQ(player_.Close(), 0);
}

// The explorer-style Open dialog's controls.
constexpr int kFilterCombo = 0x470;
constexpr int kFileNameCombo = 0x47C;

HWND WaitForOpenDialog(DWORD pid)
{
    HWND dialog = nullptr;
    WaitUntil([&] { return (dialog = FindDialog(pid, "Open")) != nullptr && GetDlgItem(dialog, kFilterCombo); });
    return dialog;
}

std::vector<std::string> ComboTexts(HWND combo)
{
    std::vector<std::string> texts;
    int n = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        // The dialog's controls are Unicode windows: ask in Unicode.
        wchar_t wide[256] = {};
        if (SendMessageW(combo, CB_GETLBTEXTLEN, i, 0) < 256)
            SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(wide));
        char text[512] = {};
        WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof(text), nullptr, nullptr);
        texts.push_back(text);
    }
    return texts;
}

TEST_F(PlayerUi, OpenDialogFiltersFolderAndPosition)
{
    std::string song = SongFile("dialog song.mid", MakeSong(2));
    WriteSetting(HKEY_LOCAL_MACHINE, "Options", "110");  // Auto-Play off
    ASSERT_TRUE(Start());
    PostMessageA(player_.Main(), WM_COMMAND, CMD_OPEN, 0);
    HWND dialog = WaitForOpenDialog(player_.ProcessId());
    ASSERT_NE(dialog, nullptr);
    HWND filters = GetDlgItem(dialog, kFilterCombo);
    EXPECT_EQ(ComboTexts(filters), (std::vector<std::string>{"Playlists (*.ZUB;*.M3U;*.M3U8;Pianodir.fil;Music.dir)",
                                                             "MIDI Files (*.MID;*.RMI;*.KAR)",
                                                             "ESEQ Files (*.FIL;*.ESQ;*.EVT)",
                                                             "Floppy images (*.IMG;*.IMA)", "All Files (*.*)"}));
    EXPECT_EQ(SendMessageA(filters, CB_GETCURSEL, 0, 0), 0) << "the first filter at first";
    // Choose the MIDI filter, move the dialog, and open the song by name.
    // The size asked for is well above any minimum the system's fonts may
    // give a file dialog, and the saved value is compared with the size the
    // window really took.
    SendMessageA(filters, CB_SETCURSEL, 1, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(kFilterCombo, CBN_SELENDOK), reinterpret_cast<LPARAM>(filters));
    MoveWindow(dialog, 40, 30, 820, 600, TRUE);
    RECT moved = {};
    GetWindowRect(dialog, &moved);
    const std::string movedText = std::to_string(moved.left) + " " + std::to_string(moved.top) + " " +
                                  std::to_string(moved.right - moved.left) + " " +
                                  std::to_string(moved.bottom - moved.top);
    EXPECT_EQ(moved.left, 40);
    EXPECT_EQ(moved.top, 30);
    SendMessageA(GetDlgItem(dialog, kFileNameCombo), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(song.c_str()));
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return WindowTextOf(player_.Main()) == "Zub Player - [dialog song.mid]"; }))
        << WindowTextOf(player_.Main());
    EXPECT_EQ(Status(1), "Stopped");
    EXPECT_EQ(Setting(PosValueName("OpenPos").c_str()), movedText);
    EXPECT_EQ(Setting("File1"), song);

    // The next Open dialog keeps the chosen filter and comes back where it was.
    PostMessageA(player_.Main(), WM_COMMAND, CMD_OPEN, 0);
    dialog = WaitForOpenDialog(player_.ProcessId());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(SendMessageA(GetDlgItem(dialog, kFilterCombo), CB_GETCURSEL, 0, 0), 1);
    RECT r = {};
    EXPECT_TRUE(WaitUntil([&] {
        GetWindowRect(dialog, &r);
        return r.left == moved.left && r.top == moved.top;
    })) << r.left << "," << r.top;
    EXPECT_EQ(r.right - r.left, moved.right - moved.left);
    EXPECT_EQ(r.bottom - r.top, moved.bottom - moved.top);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return FindDialog(player_.ProcessId(), "Open") == nullptr; }));
    EXPECT_EQ(player_.Close(), 0);
    std::string folder = song.substr(0, song.rfind('\\'));
    EXPECT_EQ(Setting("LastOpenDir"), folder);
}

}  // namespace
}  // namespace zubtest
