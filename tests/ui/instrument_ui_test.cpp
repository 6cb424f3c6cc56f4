// The instrument controls and ESEQ songs in the real player under Wine:
// guide lamps and master volume chosen through the menu and the Volume
// dialog, the Playback Control dialog, and ESEQ songs opened and played.
// What the player sent is read back from its capture file.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "command_ids.h"
#include "conversion_dialog_ids.h"
#include "eseq_convert.h"
#include "eseq_testdata.h"
#include "instrument_ids.h"
#include "player_driver.h"
#include "test_songs.h"

namespace zubtest {
namespace {

using Bytes = std::vector<uint8_t>;

const Bytes kGmOn = {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};
const Bytes kXgOn = {0xF0, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7};

Bytes Lamp(int channel, bool on)
{
    return {0xF0, 0x43, 0x73, 0x01, 0x11, static_cast<uint8_t>(channel - 1), 0x47, static_cast<uint8_t>(on ? 2 : 0),
            0xF7};
}

Bytes Volume(int v)
{
    return {0xF0, 0x7F, 0x7F, 0x04, 0x01, 0x00, static_cast<uint8_t>(v - 1), 0xF7};
}

// A song of MakeSong that starts with two system exclusive messages (the
// instrument resets a real disk sends) and has a drum note.
Bytes SongWithResets(int quarters)
{
    Bytes song = MakeSong(quarters);
    Bytes lead = {0x00, 0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7,
                  0x00, 0xF0, 0x08, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7,
                  0x00, 0x99, 0x24, 0x50, 0x00, 0x89, 0x24, 0x00};
    song.insert(song.begin() + 22, lead.begin(), lead.end());
    const uint32_t length = static_cast<uint32_t>(song.size() - 22);
    for (int i = 0; i < 4; ++i)
        song[18 + i] = static_cast<uint8_t>(length >> (24 - 8 * i));
    return song;
}

// The system exclusive messages of a capture, in order, each with its tick.
std::vector<SentEvent> Exclusives(const std::vector<SentEvent>& events)
{
    std::vector<SentEvent> out;
    for (const SentEvent& e : events) {
        if (!e.bytes.empty() && e.bytes[0] == 0xF0)
            out.push_back(e);
    }
    return out;
}

void ExpectSent(const std::vector<SentEvent>& want, const std::vector<SentEvent>& got)
{
    ASSERT_EQ(want.size(), got.size());
    for (size_t i = 0; i < want.size(); ++i)
        EXPECT_EQ(want[i], got[i]) << i << ": " << Describe(got[i]) << " / " << Describe(want[i]);
}

class InstrumentUi : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearSettings();
        ASSERT_TRUE(probe_.Ready());
        capture_ = FullPath(std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".cap.mid");
        DeleteFileA(capture_.c_str());
    }
    void TearDown() override { ClearSettings(); }

    bool Start(const std::string& song, const char* options)
    {
        if (options)
            WriteSetting(HKEY_LOCAL_MACHINE, "Options", options);
        std::string args = "/capture \"" + capture_ + "\"";
        if (!song.empty())
            args += " \"" + song + "\"";
        return player_.Start(args);
    }
    std::string Status(int part)
    {
        probe_.Query(player_.Main());
        return probe_.Status(part);
    }
    bool WaitForState(const std::string& text)
    {
        return WaitUntil([&] { return Status(1) == text; });
    }
    bool Checked(UINT id)
    {
        probe_.Query(player_.Main());
        const ProbeMenuItem* item = probe_.Item(id);
        return item && (item->state & MF_CHECKED);
    }
    HWND OpenDialog(int command, const char* title)
    {
        PostMessageA(player_.Main(), WM_COMMAND, command, 0);
        HWND dialog = nullptr;
        WaitUntil([&] { return (dialog = FindDialog(player_.ProcessId(), title)) != nullptr && IsWindowVisible(dialog); });
        return dialog;
    }
    // Sets the master volume through the Volume dialog: the override box
    // switched to `on`, then the thumb released at the position for `v`.
    void SetVolume(bool on, int v)
    {
        HWND dialog = OpenDialog(CMD_MASTER_VOLUME, "Master Volume");
        ASSERT_NE(nullptr, dialog);
        HWND box = GetDlgItem(dialog, IDC_VOL_OVERRIDE);
        if ((SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED) != on) {
            PostMessageA(box, BM_CLICK, 0, 0);
            ASSERT_TRUE(WaitUntil([&] { return (SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED) == on; }));
        }
        HWND slider = GetDlgItem(dialog, IDC_VOL_SLIDER);
        EXPECT_EQ(on, IsWindowEnabled(slider) != FALSE);
        if (on) {
            EXPECT_EQ(1, SendMessageA(slider, TBM_GETRANGEMIN, 0, 0));
            EXPECT_EQ(128, SendMessageA(slider, TBM_GETRANGEMAX, 0, 0));
            SendMessageA(slider, TBM_SETPOS, TRUE, 129 - v);
            SendMessageA(dialog, WM_VSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 129 - v), reinterpret_cast<LPARAM>(slider));
            EXPECT_EQ(std::to_string(v), WindowTextOf(GetDlgItem(dialog, IDC_VOL_VALUE)));
            Sleep(300);
            probe_.Picture(player_.Main(), dialog, FullPath("volume_dialog.bmp"));
        }
        PostMessageA(dialog, WM_CLOSE, 0, 0);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    }
    void PlayToTheEnd()
    {
        player_.Command(CMD_PLAY);
        ASSERT_TRUE(WaitUntil([&] { return Status(1) == "Playing"; }, 10000) || Status(1) == "Stopped");
        ASSERT_TRUE(WaitForState("Stopped"));
    }
    // Where a slider's thumb is drawn along its channel: 0 at the left end,
    // 1 at the right (the thumb's centre; its own width keeps it a little
    // inside both ends).
    double ThumbAt(HWND slider)
    {
        RECT thumb = {}, channel = {};
        EXPECT_TRUE(probe_.SliderGeometry(player_.Main(), slider, &thumb, &channel));
        const int width = channel.right - channel.left;
        return width > 0 ? ((thumb.left + thumb.right) / 2.0 - channel.left) / width : -1;
    }
    std::vector<SentEvent> Captured(uint16_t* division = nullptr)
    {
        Bytes captured;
        std::vector<SentEvent> events;
        EXPECT_TRUE(ReadBytes(capture_, captured));
        EXPECT_TRUE(SentEventsOf(captured, events, division));
        return events;
    }

    Probe probe_;
    PlayerProcess player_;
    std::string capture_;
};

TEST_F(InstrumentUi, LampsAndVolumeAreInjectedAfterTheSongsResets)
{
    const std::string song = FullPath("lamps.mid");
    ASSERT_TRUE(WriteBytes(song, SongWithResets(2)));
    ASSERT_TRUE(Start(song, "110"));  // Auto-Play off
    ASSERT_TRUE(WaitForState("Stopped"));

    player_.Command(CMD_LAMP_DISABLED + 1);
    player_.Command(CMD_LAMP_DISABLED + 5);
    EXPECT_TRUE(Checked(CMD_LAMP_DISABLED + 1));
    EXPECT_TRUE(Checked(CMD_LAMP_DISABLED + 5));
    EXPECT_FALSE(Checked(CMD_LAMP_DISABLED));
    SetVolume(true, 100);
    PlayToTheEnd();

    // Channel 1 only (choosing 5 again drops it), volume override off.
    player_.Command(CMD_LAMP_DISABLED + 5);
    EXPECT_TRUE(Checked(CMD_LAMP_DISABLED + 1));
    EXPECT_FALSE(Checked(CMD_LAMP_DISABLED + 5));
    player_.Command(CMD_LAMP_DISABLED + 1);  // the single channel again: Disabled
    EXPECT_TRUE(Checked(CMD_LAMP_DISABLED));
    player_.Command(CMD_LAMP_DISABLED + 2);
    EXPECT_TRUE(Checked(CMD_LAMP_DISABLED + 2));
    EXPECT_FALSE(Checked(CMD_LAMP_DISABLED));
    SetVolume(false, 0);
    PlayToTheEnd();
    EXPECT_EQ(player_.Close(), 0);

    const std::vector<SentEvent> sent = Exclusives(Captured());
    ASSERT_EQ(10u, sent.size());
    // First play: the song's two resets, then the volume (V = 100 is sent
    // as 0x63), then the lamps of channels 1 and 5, before any note.
    EXPECT_EQ(kGmOn, sent[0].bytes);
    EXPECT_EQ(kXgOn, sent[1].bytes);
    EXPECT_EQ(Volume(100), sent[2].bytes);
    EXPECT_EQ(Lamp(1, true), sent[3].bytes);
    EXPECT_EQ(Lamp(5, true), sent[4].bytes);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(0u, sent[i].tick) << i;
    // Second play: the resets, then the lamps lit by the first song go off
    // and channel 2 goes on; no volume.
    EXPECT_EQ(kGmOn, sent[5].bytes);
    EXPECT_EQ(kXgOn, sent[6].bytes);
    EXPECT_EQ(Lamp(1, false), sent[7].bytes);
    EXPECT_EQ(Lamp(5, false), sent[8].bytes);
    EXPECT_EQ(Lamp(2, true), sent[9].bytes);
    EXPECT_GT(sent[5].tick, 0u);

    // The injections come before the first note of each play.
    const std::vector<SentEvent> all = Captured();
    size_t firstNote = 0;
    while (firstNote < all.size() && (all[firstNote].bytes[0] & 0xF0) != 0x90)
        ++firstNote;
    ASSERT_LT(firstNote, all.size());
    for (size_t i = firstNote; i < all.size() && all[i].tick == 0; ++i)
        EXPECT_NE(0xF0, all[i].bytes[0]) << "no exclusive after the first note at tick 0";

    DWORD lamps1 = 99, lamps2 = 99, volume = 0;
    EXPECT_TRUE(ReadSettingNumber(HKEY_LOCAL_MACHINE, "ClavinovaLEDs", lamps1));
    EXPECT_TRUE(ReadSettingNumber(HKEY_LOCAL_MACHINE, "ClavinovaLEDs2", lamps2));
    EXPECT_TRUE(ReadSettingNumber(HKEY_LOCAL_MACHINE, "MidiMasterVolume", volume));
    EXPECT_EQ(2u, lamps1);
    EXPECT_EQ(0u, lamps2);
    EXPECT_EQ(-100, static_cast<int32_t>(volume));
}

TEST_F(InstrumentUi, PlaybackControlTransposesAndChangesTheTempo)
{
    const std::string song = FullPath("transpose.mid");
    ASSERT_TRUE(WriteBytes(song, SongWithResets(2)));
    ASSERT_TRUE(Start(song, "110"));
    ASSERT_TRUE(WaitForState("Stopped"));

    HWND dialog = OpenDialog(CMD_PLAYBACK_CONTROL, "Zubodeck - Playback Control");
    ASSERT_NE(nullptr, dialog);
    EXPECT_TRUE(Checked(CMD_PLAYBACK_CONTROL));
    struct Range {
        int id, low, high, pos;
    } ranges[] = {{IDC_PC_PEEK_SLIDER, 0, 27, 0},       {IDC_PC_VELOCITY_SLIDER, 50, 127, 127},
                  {IDC_PC_TRACKVOL_SLIDER, 0, 127, 127}, {IDC_PC_TRANSPOSE_SLIDER, -24, 24, 0},
                  {IDC_PC_TEMPO_SLIDER, -50, 50, 0}};
    for (const Range& r : ranges) {
        HWND slider = GetDlgItem(dialog, r.id);
        EXPECT_EQ(r.low, static_cast<int>(SendMessageA(slider, TBM_GETRANGEMIN, 0, 0))) << r.id;
        EXPECT_EQ(r.high, static_cast<int>(SendMessageA(slider, TBM_GETRANGEMAX, 0, 0))) << r.id;
        EXPECT_EQ(r.pos, static_cast<int>(SendMessageA(slider, TBM_GETPOS, 0, 0))) << r.id;
        // Regression: the Transpose thumb was drawn at the far left while
        // its value read 0, the middle of -24 to 24.
        EXPECT_NEAR(double(r.pos - r.low) / (r.high - r.low), ThumbAt(slider), 0.15) << r.id;
    }
    EXPECT_EQ(BST_CHECKED, SendMessageA(GetDlgItem(dialog, IDC_PC_VELOCITY), BM_GETCHECK, 0, 0))
        << "Velocity Base applies";

    // Transpose +3 by a key step's end, tempo +50 % by dragging.
    for (int box : {IDC_PC_TRANSPOSE, IDC_PC_TEMPO})
        PostMessageA(GetDlgItem(dialog, box), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil(
        [&] { return SendMessageA(GetDlgItem(dialog, IDC_PC_TEMPO), BM_GETCHECK, 0, 0) == BST_CHECKED; }));
    HWND transpose = GetDlgItem(dialog, IDC_PC_TRANSPOSE_SLIDER), tempo = GetDlgItem(dialog, IDC_PC_TEMPO_SLIDER);
    SendMessageA(transpose, TBM_SETPOS, TRUE, 3);
    SendMessageA(dialog, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(transpose));
    SendMessageA(tempo, TBM_SETPOS, TRUE, 50);
    SendMessageA(dialog, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 50), reinterpret_cast<LPARAM>(tempo));
    EXPECT_NEAR(27.0 / 48, ThumbAt(transpose), 0.15);
    EXPECT_EQ("+3", WindowTextOf(GetDlgItem(dialog, IDC_PC_TRANSPOSE_VALUE)));
    EXPECT_EQ("150%", WindowTextOf(GetDlgItem(dialog, IDC_PC_TEMPO_VALUE)));
    Sleep(500);
    EXPECT_TRUE(probe_.Picture(player_.Main(), dialog, FullPath("playback_control.bmp")));

    // Closing hides it and unchecks the menu item; it comes back the same.
    PostMessageA(dialog, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); }));
    EXPECT_FALSE(Checked(CMD_PLAYBACK_CONTROL));
    EXPECT_EQ(dialog, OpenDialog(CMD_PLAYBACK_CONTROL, "Zubodeck - Playback Control"));
    EXPECT_EQ(3, static_cast<int>(SendMessageA(transpose, TBM_GETPOS, 0, 0)));

    PlayToTheEnd();
    EXPECT_EQ(player_.Close(), 0);
    std::vector<SentEvent> want;
    ASSERT_TRUE(SentEventsOf(SongWithResets(2), want));
    int notes = 0;
    for (const SentEvent& e : Captured()) {
        if (e.bytes[0] == 0xFF && e.bytes[1] == 0x51) {
            EXPECT_EQ((Bytes{0xFF, 0x51, 0x03, 0x05, 0x16, 0x15}), e.bytes) << "333333 us: 1.5 times as fast";
        }
        const uint8_t kind = e.bytes[0] & 0xF0;
        if (kind != 0x80 && kind != 0x90)
            continue;
        ++notes;
        if ((e.bytes[0] & 0x0F) == 9)
            EXPECT_EQ(0x24, e.bytes[1]) << "drums stay";
        else
            EXPECT_TRUE(e.bytes[1] == 63 || e.bytes[1] == 64) << "60 and 61 moved up 3: " << int(e.bytes[1]);
    }
    EXPECT_EQ(6, notes);
}

TEST_F(InstrumentUi, EseqSongOpensWithItsTitleAndPlaysAsConverted)
{
    eseqtest::EseqSongSpec spec = eseqtest::SampleSong(5, "Clair de Lune", 6);
    spec.baseTempo = 240;
    const Bytes eseqSong = eseqtest::BuildEseq(spec);
    const std::string path = FullPath("moon.fil");
    ASSERT_TRUE(WriteBytes(path, eseqSong));
    const std::string beside = FullPath("moon.MID");
    DeleteFileA(beside.c_str());
    ASSERT_TRUE(Start(path, "1111101010010"));  // Create MID Files on ESEQ Playback on
    EXPECT_EQ(WindowTextOf(player_.Main()), "Zub Player - [moon.fil]");
    EXPECT_EQ("Clair de Lune", Status(0));
    ASSERT_TRUE(WaitUntil([&] { return Status(1) == "Stopped" && GetFileAttributesA(capture_.c_str()) != INVALID_FILE_ATTRIBUTES; }));
    EXPECT_EQ(player_.Close(), 0);

    Bytes converted;
    eseq::ConvertImage(eseqSong.data(), eseqSong.size(), eseq::ConvertOptions(), &converted);
    Bytes written;
    ASSERT_TRUE(ReadBytes(beside, written)) << "the converted song stays beside the ESEQ file";
    EXPECT_EQ(converted, written);
    DeleteFileA(beside.c_str());
    std::vector<SentEvent> want;
    ASSERT_TRUE(SentEventsOf(converted, want));
    uint16_t division = 0;
    const std::vector<SentEvent> got = Captured(&division);
    EXPECT_EQ(384, division);
    ExpectSent(want, got);
}

// A Disk Orchestra song with program 5 on channel 1 and drums on channel 10.
Bytes DiskOrchestraSong()
{
    eseqtest::EseqSongSpec spec;
    spec.line1 = "Orchestra";
    spec.diskOrchestra = true;
    spec.events.Program(1, 5).Program(10, 0).NoteOn(1, 60, 80).NoteOn(10, 36, 90).Wait(96);
    spec.events.NoteOff(1, 60).NoteOff(10, 36).Wait(96);
    return eseqtest::BuildEseq(spec);
}

// The events the converted song sends, with program 5 sent as 20 and
// channel 10 moved to channel 11.
std::vector<SentEvent> MappedAsDocMapSays(const Bytes& eseqSong, bool moveDrums)
{
    Bytes converted;
    eseq::ConvertImage(eseqSong.data(), eseqSong.size(), eseq::ConvertOptions(), &converted);
    std::vector<SentEvent> events;
    EXPECT_TRUE(SentEventsOf(converted, events));
    for (SentEvent& e : events) {
        if (e.bytes.empty() || e.bytes[0] >= 0xF0)
            continue;
        if (e.bytes[0] == 0xC0 && e.bytes[1] == 5)
            e.bytes[1] = 20;
        if (moveDrums && (e.bytes[0] & 0x0F) == 9)
            e.bytes[0] = static_cast<uint8_t>((e.bytes[0] & 0xF0) | 10);
    }
    return events;
}

TEST_F(InstrumentUi, DocMapRemapsDiskOrchestraSongsAndABadOneIsReportedWithItsLine)
{
    const Bytes song = DiskOrchestraSong();
    const std::string path = FullPath("orchestra.evt");
    ASSERT_TRUE(WriteBytes(path, song));
    const std::string map = FullPath("doc.map");  // in the player's start-up folder
    const std::string text = "0-0-5 0-0-20\r\n0-0-10 255-255-11\r\n";
    ASSERT_TRUE(WriteBytes(map, Bytes(text.begin(), text.end())));
    const char kMapVoicesOn[] = "1111100011010";  // "&Map Voices on DOC Playback" on

    ASSERT_TRUE(Start(path, kMapVoicesOn));
    ASSERT_TRUE(WaitUntil([&] { return Status(1) == "Stopped" && GetFileAttributesA(capture_.c_str()) != INVALID_FILE_ATTRIBUTES; }));
    EXPECT_EQ(player_.Close(), 0);
    ExpectSent(MappedAsDocMapSays(song, true), Captured());

    // The second line broken: the player says so, and plays the first.
    const std::string bad = "0-0-5 0-0-20\r\n0-0-10 255-255-17\r\n";
    ASSERT_TRUE(WriteBytes(map, Bytes(bad.begin(), bad.end())));
    DeleteFileA(capture_.c_str());
    ASSERT_TRUE(Start(path, kMapVoicesOn));
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (box = FindDialog(player_.ProcessId(), "Error")) != nullptr; }));
    EXPECT_EQ(map + ": line 2: channels are 1 to 16: 0-0-10 255-255-17\n\nThe lines before it are used.",
              DialogMessage(box));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return Status(1) == "Stopped" && GetFileAttributesA(capture_.c_str()) != INVALID_FILE_ATTRIBUTES; }));
    EXPECT_EQ(player_.Close(), 0);
    DeleteFileA(map.c_str());
    ExpectSent(MappedAsDocMapSays(song, false), Captured());
}

// Sets an environment variable for the programs this test starts, and back.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const std::string& value) : name_(name)
    {
        char old[MAX_PATH] = {};
        had_ = GetEnvironmentVariableA(name, old, sizeof old) > 0;
        old_ = old;
        SetEnvironmentVariableA(name, value.c_str());
    }
    ~ScopedEnvironment() { SetEnvironmentVariableA(name_, had_ ? old_.c_str() : nullptr); }

private:
    const char* name_;
    bool had_ = false;
    std::string old_;
};

std::vector<std::string> FilesIn(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

// Regression: a failed ESEQ conversion left an empty "zubXXXX.tmp" in the
// temporary folder, Play enabled and the closed song's name in the title.
// Songs are now converted in memory, so the temporary folder stays as it
// was whether a conversion works or not.
TEST_F(InstrumentUi, AFailedEseqConversionLeavesNothingBehind)
{
    const std::string temp = FullPath("eseq temp");
    CreateDirectoryA(temp.c_str(), nullptr);
    for (const std::string& name : FilesIn(temp))
        DeleteFileA((temp + "\\" + name).c_str());
    const std::string before = FullPath("before.mid");
    ASSERT_TRUE(WriteBytes(before, SongWithResets(2)));
    const std::string good = FullPath("good.fil");
    ASSERT_TRUE(WriteBytes(good, eseqtest::BuildEseq(eseqtest::SampleSong(7, "Good", 20))));
    // A folder where the converted song is to be kept: the conversion fails.
    const std::string blocked = FullPath("blocked.fil");
    ASSERT_TRUE(WriteBytes(blocked, eseqtest::BuildEseq(eseqtest::SampleSong(8, "Blocked", 20))));
    CreateDirectoryA(FullPath("blocked.MID").c_str(), nullptr);

    WriteSetting(HKEY_LOCAL_MACHINE, "File1", good);
    WriteSetting(HKEY_LOCAL_MACHINE, "File2", blocked);
    {
        ScopedEnvironment tmp("TMP", temp), tempVar("TEMP", temp);
        ASSERT_TRUE(Start(before, "110"));  // Auto-Play off, Create MID Files off
    }
    EXPECT_EQ("Test Song", Status(0));
    player_.Command(CMD_RECENT_FIRST + 1);  // the good ESEQ song
    EXPECT_EQ(WindowTextOf(player_.Main()), "Zub Player - [good.fil]");
    EXPECT_EQ("Good", Status(0));
    EXPECT_EQ(std::vector<std::string>(), FilesIn(temp)) << "converted in memory";

    player_.Command(CMD_CREATE_MID);
    PostMessageA(player_.Main(), WM_COMMAND, CMD_RECENT_FIRST + 2, 0);  // the blocked one
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (box = FindDialog(player_.ProcessId(), "Error")) != nullptr; }));
    EXPECT_EQ("Can't convert the ESEQ song:\n" + blocked, DialogMessage(box));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitUntil([&] { return WindowTextOf(player_.Main()) == "Zub Player - [Untitled]"; }))
        << WindowTextOf(player_.Main());
    EXPECT_EQ("", Status(0)) << "the closed song's title must go";
    const ProbeMenuItem* play = probe_.Item(CMD_PLAY);
    ASSERT_NE(nullptr, play);
    EXPECT_TRUE(play->state & MF_GRAYED) << "the previous song is closed: nothing to play";
    EXPECT_EQ(player_.Close(), 0);
    EXPECT_EQ(std::vector<std::string>(), FilesIn(temp)) << "no temporary file stays behind";
    RemoveDirectoryA(FullPath("blocked.MID").c_str());
}

TEST_F(InstrumentUi, BatchConvertOpensFromTheMenu)
{
    ASSERT_TRUE(Start("", nullptr));
    HWND dialog = OpenDialog(CMD_BATCH_CONVERT, "Batch Convert ESEQ to Midi SMF");
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ("&Start", WindowTextOf(GetDlgItem(dialog, IDC_BATCH_START)));
    Sleep(500);  // painted, for the picture left in the build tree for people
    EXPECT_TRUE(probe_.Picture(player_.Main(), dialog, FullPath("batch_convert_dialog.bmp")));
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    player_.Command(CMD_MIDI_RESET);  // no device to open: nothing happens
    EXPECT_TRUE(player_.Running());
    EXPECT_EQ(player_.Close(), 0);
}

}  // namespace
}  // namespace zubtest
