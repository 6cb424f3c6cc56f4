// The player's windows at the display's dots per inch (the test runs once at
// 96, 120 and 144, each in a Wine prefix of its own): every text fits its
// control, sibling controls do not overlap, every control lies inside its
// window. Each window also leaves a picture of itself, "NAME_DPI.bmp", which
// scripts/pictures.sh turns into the guide's pictures.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "command_ids.h"
#include "floppy_image.h"
#include "instrument_ids.h"
#include "layout_check.h"
#include "player_driver.h"
#include "test_songs.h"

namespace zubtest {
namespace {

// A limit against hanging, long enough for a busy machine: not a timing check.
constexpr int kWindowWait = 60000;

ProbeControl Control(const char* cls, const char* text, DWORD style, RECT rect, SIZE extent)
{
    ProbeControl c = {};
    c.visible = 1;
    lstrcpynA(c.className, cls, sizeof(c.className));
    lstrcpynA(c.text, text, sizeof(c.text));
    c.style = style;
    c.rect = rect;
    c.client = {rect.right - rect.left, rect.bottom - rect.top};
    c.extent = extent;
    return c;
}

// The rules themselves, on made-up windows: each fault is found, and a
// window without one passes.
TEST(LayoutRules, EachKindOfFaultIsFoundAndAGoodWindowPasses)
{
    const SIZE window = {200, 100};
    const ProbeControl label = Control("Static", "Source:", SS_LEFT, {8, 8, 58, 22}, {40, 13});
    const ProbeControl slider = Control(TRACKBAR_CLASSA, "", 0, {60, 8, 150, 30}, {0, 0});
    EXPECT_EQ(std::vector<std::string>(), LayoutProblems({label, slider}, window, 96));

    ProbeControl touching = slider;
    touching.rect.left = 57;  // one pixel over the label
    EXPECT_EQ(1u, LayoutProblems({label, touching}, window, 96).size());

    // 60 pixels of text and the check box beside it need more than 70.
    const ProbeControl box = Control("Button", "&Transpose", BS_AUTOCHECKBOX, {8, 40, 78, 56}, {60, 13});
    const std::vector<std::string> clipped = LayoutProblems({box}, window, 96);
    ASSERT_EQ(1u, clipped.size());
    EXPECT_NE(std::string::npos, clipped[0].find("\"&Transpose\" needs 77x13 but has 70x16")) << clipped[0];
    ProbeControl wide = box;
    wide.rect.right = 90;
    wide.client.cx = 82;
    EXPECT_EQ(std::vector<std::string>(), LayoutProblems({wide}, window, 96));
    EXPECT_EQ(1u, LayoutProblems({wide}, window, 144).size()) << "the box grows with the resolution";

    ProbeControl outside = label;
    outside.rect.right = 210;
    outside.client.cx = 202;
    EXPECT_EQ(1u, LayoutProblems({outside}, window, 96).size()) << "past the window's right edge";

    // A status part's text is inset by 3 pixels inside a one-pixel border;
    // a label drawn without borders needs only the inset.
    ProbeControl part = Control("StatusPart", "\t\tTotals:", 0, {0, 80, 45, 100}, {40, 13});
    EXPECT_EQ(std::vector<std::string>(), LayoutProblems({part}, window, 96)) << "40 + 3 + 2 fits 45";
    part.rect.right = 44;
    part.client.cx = 44;
    EXPECT_EQ(1u, LayoutProblems({part}, window, 96).size()) << "40 + 3 + 2 does not fit 44";
    part.style = SBT_NOBORDERS;
    EXPECT_EQ(std::vector<std::string>(), LayoutProblems({part}, window, 96)) << "40 + 3 fits 44";

    // A group box holds its check boxes; one reaching out of it is a fault.
    const ProbeControl group = Control("Button", "Include", BS_GROUPBOX, {4, 30, 150, 90}, {40, 13});
    EXPECT_EQ(std::vector<std::string>(), LayoutProblems({group, wide}, window, 96));
    ProbeControl across = wide;
    across.rect.right = 160;
    across.client.cx = 152;
    EXPECT_EQ(1u, LayoutProblems({group, across}, window, 96).size()) << "half out of its group";

    ProbeControl hidden = touching;
    hidden.visible = 0;
    EXPECT_EQ(std::vector<std::string>(), LayoutProblems({label, hidden}, window, 96));

    // An up-down control sits on its buddy's edge by design.
    ProbeControl edit = Control("Edit", "64", ES_NUMBER, {60, 60, 100, 80}, {14, 13});
    ProbeControl arrows = Control(UPDOWN_CLASSA, "", 0, {98, 60, 112, 80}, {0, 0});
    edit.window = reinterpret_cast<HWND>(1);
    arrows.buddy = edit.window;
    EXPECT_EQ(std::vector<std::string>(), LayoutProblems({edit, arrows}, window, 96));
    edit.client.cy = 10;
    EXPECT_EQ(1u, LayoutProblems({edit, arrows}, window, 96).size()) << "a line taller than its field";
}

class LayoutUi : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearSettings();
        ASSERT_TRUE(probe_.Ready()) << "the probe library zub_ui_probe.dll must load and hook";
        // The runs at each resolution may go side by side: a folder each.
        HDC screen = GetDC(nullptr);
        folder_ = FullPath("layout_" + std::to_string(GetDeviceCaps(screen, LOGPIXELSY)));
        ReleaseDC(nullptr, screen);
        CreateDirectoryA(folder_.c_str(), nullptr);
    }
    void TearDown() override { ClearSettings(); }

    bool Start(const std::string& args)
    {
        // Auto-Play off: the dialogs that wait for a stopped song open first.
        WriteSetting(HKEY_LOCAL_MACHINE, "Options", "110");
        return player_.Start("/capture \"" + In("layout.cap.mid") + "\" " + args);
    }
    std::string Status(int part)
    {
        probe_.Query(player_.Main());
        return probe_.Status(part);
    }
    // Checks one window's layout and leaves its picture.
    void Check(HWND window, const char* name)
    {
        SCOPED_TRACE(name);
        ASSERT_NE(nullptr, window);
        Sleep(400);  // painted
        Probe::WindowLayout layout = probe_.Layout(player_.Main(), window);
        ASSERT_TRUE(layout.answered);
        ASSERT_GT(layout.dpi, 0);
        EXPECT_FALSE(layout.controls.empty());
        for (const std::string& problem : LayoutProblems(layout.controls, layout.client, layout.dpi))
            ADD_FAILURE() << name << " at " << layout.dpi << " dpi: " << problem;
        const std::string picture = std::string(name) + "_" + std::to_string(layout.dpi) + ".bmp";
        EXPECT_TRUE(probe_.Picture(player_.Main(), window, FullPath(picture))) << picture;
    }
    // A new top-level window of the player with this title (any title when
    // null) that none of `known` is; null when none shows within the time.
    HWND WaitForWindow(const char* title, std::vector<HWND> known, int timeoutMs)
    {
        HWND found = nullptr;
        WaitUntil(
            [&] {
                found = FindNew(title, known);
                return found != nullptr;
            },
            timeoutMs);
        return found;
    }
    HWND OpenDialog(int command, const char* title)
    {
        PostMessageA(player_.Main(), WM_COMMAND, command, 0);
        return WaitForWindow(title, {player_.Main()}, kWindowWait);
    }
    void CloseDialog(HWND dialog)
    {
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        if (!WaitUntil([&] { return !IsWindowVisible(dialog); }, kWindowWait))
            PostMessageA(dialog, WM_CLOSE, 0, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); }));
    }
    // Moves a slider of a dialog as the user would, ending the drag there.
    static void Slide(HWND dialog, int slider, int position, UINT scroll)
    {
        HWND control = GetDlgItem(dialog, slider);
        SendMessageA(control, TBM_SETPOS, TRUE, position);
        SendMessageA(dialog, scroll, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(control));
    }
    static void Tick(HWND dialog, int box)
    {
        HWND control = GetDlgItem(dialog, box);
        if (SendMessageA(control, BM_GETCHECK, 0, 0) != BST_CHECKED)
            SendMessageA(control, BM_CLICK, 0, 0);
    }

    std::string In(const std::string& name) const { return folder_ + "\\" + name; }

    Probe probe_;
    PlayerProcess player_;
    std::string folder_;

private:
    struct Search {
        DWORD pid;
        const char* title;
        const std::vector<HWND>* known;
        HWND found;
    };
    static BOOL CALLBACK Visit(HWND hwnd, LPARAM lParam)
    {
        Search* s = reinterpret_cast<Search*>(lParam);
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        if (pid != s->pid || !IsWindowVisible(hwnd))
            return TRUE;
        for (HWND k : *s->known) {
            if (k == hwnd)
                return TRUE;
        }
        if (s->title && WindowTextOf(hwnd).rfind(s->title, 0) != 0)
            return TRUE;
        s->found = hwnd;
        return FALSE;
    }
    HWND FindNew(const char* title, const std::vector<HWND>& known)
    {
        Search s = {player_.ProcessId(), title, &known, nullptr};
        EnumWindows(Visit, reinterpret_cast<LPARAM>(&s));
        return s.found;
    }
};

TEST_F(LayoutUi, TheMainWindowAndItsDialogsFitTheirTexts)
{
    const std::string song = In("Evening Waltz.mid");
    ASSERT_TRUE(WriteBytes(song, MakeSong(120, "Evening Waltz")));
    ASSERT_TRUE(Start("\"" + song + "\""));
    ASSERT_TRUE(WaitUntil([&] { return Status(1) == "Stopped"; }));

    // Master volume overridden, at its widest number.
    HWND volume = OpenDialog(CMD_MASTER_VOLUME, "Master Volume");
    ASSERT_NE(nullptr, volume);
    Tick(volume, IDC_VOL_OVERRIDE);
    Slide(volume, IDC_VOL_SLIDER, 129 - 100, WM_VSCROLL);
    EXPECT_EQ("100", WindowTextOf(GetDlgItem(volume, IDC_VOL_VALUE)));
    Check(volume, "volume_dialog");
    CloseDialog(volume);

    HWND batch = OpenDialog(CMD_BATCH_CONVERT, "Batch Convert ESEQ to Midi SMF");
    Check(batch, "batch_convert");
    CloseDialog(batch);

    HWND about = OpenDialog(CMD_ABOUT, "About Zubodeck");
    Check(about, "about_dialog");
    CloseDialog(about);

    // The main window playing, and the Playback Control beside it with its
    // widest numbers: velocity 127, transpose -12, tempo 100%.
    player_.Command(CMD_PLAY);
    ASSERT_TRUE(WaitUntil([&] { return Status(1) == "Playing"; }));
    Sleep(2200);
    Check(player_.Main(), "main_window");
    HWND control = OpenDialog(CMD_PLAYBACK_CONTROL, "Zubodeck - Playback Control");
    ASSERT_NE(nullptr, control);
    Tick(control, IDC_PC_TRANSPOSE);
    Slide(control, IDC_PC_TRANSPOSE_SLIDER, -12, WM_HSCROLL);
    Tick(control, IDC_PC_TEMPO);
    EXPECT_EQ("-12", WindowTextOf(GetDlgItem(control, IDC_PC_TRANSPOSE_VALUE)));
    EXPECT_EQ("100%", WindowTextOf(GetDlgItem(control, IDC_PC_TEMPO_VALUE)));
    Check(control, "playback_control");
    PostMessageA(control, WM_CLOSE, 0, 0);
    player_.Command(CMD_STOP);
    EXPECT_EQ(0, player_.Close());
}

// The playlist window and its Build Playlist dialog, and a floppy image
// opened as a disk.
TEST_F(LayoutUi, ThePlaylistWindowsFitTheirTexts)
{
    ASSERT_TRUE(Start("/new"));
    HWND playlist = WaitForWindow("Zub PlayList", {player_.Main()}, kWindowWait);
    ASSERT_NE(nullptr, playlist) << "the playlist window";
    Check(playlist, "playlist_window");

    PostMessageA(player_.Main(), WM_COMMAND, CMD_BUILD_PLAYLIST, 0);
    HWND build = WaitForWindow(nullptr, {player_.Main(), playlist}, kWindowWait);
    ASSERT_NE(nullptr, build) << "the Build Playlist dialog";
    Check(build, "build_playlist");
    CloseDialog(build);
    PostMessageA(playlist, WM_CLOSE, 0, 0);
    WaitUntil([&] { return !IsWindowVisible(playlist); }, kWindowWait);
    EXPECT_EQ(0, player_.Close());

    // A floppy image of three songs without a catalog: its songs as a folder.
    floppy::FloppyImage image = floppy::FloppyImage::Blank(737280, 0x1234);
    const std::pair<const char*, const char*> songs[] = {
        {"NOCTURNE.MID", "Nocturne in E flat"}, {"GAVOTTE.MID", "Gavotte"}, {"RAGTIME.MID", "Maple Leaf Rag"}};
    for (const auto& song : songs) {
        const std::vector<uint8_t> bytes = MakeSong(16, song.second);
        ASSERT_EQ(floppy::ImageError::Ok, image.WriteFile(song.first, bytes.data(), bytes.size()));
    }
    const std::string path = In("Recital.img");
    ASSERT_EQ(floppy::ImageError::Ok, image.Save(path));
    ASSERT_TRUE(Start("\"" + path + "\""));
    HWND disk = WaitForWindow("Zub PlayList - [Recital.img]", {player_.Main()}, kWindowWait);
    ASSERT_NE(nullptr, disk) << "the image opened as a disk";
    Check(disk, "floppy_playlist");
    EXPECT_EQ(0, player_.Close());
}

}  // namespace
}  // namespace zubtest
