// UI tests of the real player: each starts Zubodeck.exe with fresh settings,
// drives it with the messages its menus and toolbar send, and checks what
// its windows show and what it leaves in the registry.
#include <windows.h>
#include <commctrl.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include "player_driver.h"
#include "test_songs.h"

namespace zubtest {
namespace {

// Command numbers of the player's menus and toolbar.
enum {
    kPlay = 103, kPause = 104, kStop = 105, kToolbarCmd = 106, kStatusCmd = 107, kAutoPlay = 108, kNew = 109,
    kLoop = 114, kToggleTime = 115, kMidiReset = 116, kMasterVolume = 117, kMidiMapper = 129, kDevice0 = 130,
    kRecent1 = 160, kElapsed = 1010, kRemaining = 1011, kNext = 40003, kPrev = 40004, kAlwaysOnTop = 40035,
};

const char kCaptureName[] = "Zubodeck Capture";
const char kDefaultOptions[] = "1111100010010";

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
    } options[] = {{106, true},   {107, true},   {108, true},   {112, true},    {113, true},
                   {114, false},  {40002, false}, {1010, false}, {1011, true},   {40013, false},
                   {40035, false}, {40043, true},  {40046, false}};
    for (const auto& o : options) {
        ASSERT_NE(probe_.Item(o.id), nullptr) << o.id;
        EXPECT_EQ(Checked(o.id), o.on) << "option " << o.id << " " << probe_.Item(o.id)->text;
    }
    EXPECT_STREQ(probe_.Item(1011)->text, "Remaining Time");
    EXPECT_STREQ(probe_.Item(100)->text, "E&xit");

    // No song: Play, Pause, Stop, Next and Previous greyed; reset and volume not.
    for (UINT id : {UINT(kPlay), UINT(kPause), UINT(kStop), UINT(kNext), UINT(kPrev)})
        EXPECT_TRUE(Grayed(id)) << id;
    for (UINT id : {UINT(kMidiReset), UINT(kMasterVolume)})
        EXPECT_FALSE(Grayed(id)) << id;
    for (int id : {int(kPlay), int(kPause), int(kStop), int(kNext), int(kPrev)})
        EXPECT_FALSE(ButtonEnabled(id)) << id;
    for (int id : {int(kNew), 102, 110, int(kToggleTime), int(kMidiReset), int(kMasterVolume)})
        EXPECT_TRUE(ButtonEnabled(id)) << id;

    // Play Thru: the mapper and the one (software) device, device 0 checked.
    ASSERT_NE(probe_.Item(kDevice0), nullptr);
    EXPECT_STREQ(probe_.Item(kDevice0)->text, kCaptureName);
    EXPECT_TRUE(Checked(kDevice0));
    EXPECT_FALSE(Checked(kMidiMapper));
    EXPECT_EQ(probe_.Item(kRecent1), nullptr) << "no recent files yet";

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
    EXPECT_EQ(w, 380);
    EXPECT_EQ(h, 200);
}

TEST_F(PlayerUi, NewOnTheCommandLinePostsCommand109)
{
    ASSERT_TRUE(Start("/new"));
    EXPECT_TRUE(WaitUntil([&] {
        for (int c : probe_.Commands()) {
            if (c == kNew)
                return true;
        }
        return false;
    }));
    EXPECT_EQ(player_.Close(), 0);
}

}  // namespace
}  // namespace zubtest
