// UI tests of the playlist window's actions in the real player: Build
// Playlist (the walk grows the list while it runs, Stop ends it, the
// filters), copying to the copy target with its questions, the clipboard's
// file lists, voice maps attached and detached, and the title editor's
// paste cut at its limit.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "player_driver.h"
#include "playlist_fixture.h"
#include "test_songs.h"

namespace zubtest {
namespace {

enum {
    kBuildPlaylist = 40007, kAttachMap = 40005, kDetachMap = 40006, kCopyDisk = 40009, kCopySong = 40011,
    kCopyFiles = 40037, kPasteFiles = 40038, kCopyText = 1061, kPasteText = 1062, kEditRequest = 14,
    kClose = 2, kMidiBox = 1022, kRootEdit = 1001,
};

const char kNoAutoPlay[] = "1101000010010";
const char kBuildCaption[] = "Build Playlist from Directory Tree";

bool MakeFolder(const std::string& path)
{
    return CreateDirectoryA(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Deletes a folder with everything in it.
void RemoveTree(const std::string& path)
{
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((path + "\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path + "\\" + name);
            else
                DeleteFileA((path + "\\" + name).c_str());
        } while (FindNextFileA(find, &found));
        FindClose(find);
    }
    RemoveDirectoryA(path.c_str());
}

class PlaylistActionsUi : public PlaylistFixture {
protected:
    void SetUp() override
    {
        PlaylistFixture::SetUp();
        if (HasFatalFailure())
            return;
        root_ = FullPath(name_);
        RemoveTree(root_);  // what an earlier run left
        MakeFolder(root_);
        WriteSetting(HKEY_LOCAL_MACHINE, "Options", kNoAutoPlay);
    }

    bool StartEmpty()
    {
        if (!player_.Start("/capture \"" + FullPath(name_ + ".cap.mid") + "\" /new"))
            return false;
        return WaitUntil([&] { return (playlist_ = FindDialog(player_.ProcessId(), "Zub PlayList - [Untitled]")); });
    }
    // The names of the song rows (folder rows have their path in column 0
    // and no extension in their name).
    std::vector<std::string> SongNames()
    {
        std::vector<std::string> names;
        for (int r = 0, n = Rows(); r < n; ++r) {
            const std::string name = Cell(r, 3);
            if (name.find('.') != std::string::npos)
                names.push_back(name);
        }
        return names;
    }
    int RowOf(const std::string& name)
    {
        for (int r = 0, n = Rows(); r < n; ++r)
            if (Cell(r, 3) == name)
                return r;
        return -1;
    }
    void Command(int id) { PostMessageA(playlist_, WM_COMMAND, id, 0); }
    std::string CloseText() { return WindowTextOf(GetDlgItem(playlist_, kClose)); }
    // The Build Playlist dialog on `root`, with the MIDI box as given; OK.
    void Build(const std::string& root, bool midi)
    {
        PostMessageA(player_.Main(), WM_COMMAND, kBuildPlaylist, 0);
        HWND dialog = nullptr;
        ASSERT_TRUE(WaitUntil([&] {
            return (dialog = FindDialog(player_.ProcessId(), kBuildCaption)) != nullptr && IsWindowVisible(dialog);
        }));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDOK))) << "OK waits for a root";
        EXPECT_EQ(BST_CHECKED, SendDlgItemMessageA(dialog, kMidiBox, BM_GETCHECK, 0, 0));
        EXPECT_EQ(BST_UNCHECKED, SendDlgItemMessageA(dialog, 1026, BM_GETCHECK, 0, 0)) << "Duplicate Disks";
        SendDlgItemMessageA(dialog, kRootEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(root.c_str()));
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(kRootEdit, EN_CHANGE),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, kRootEdit)));
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDOK)));
        SendDlgItemMessageA(dialog, kMidiBox, BM_SETCHECK, midi ? BST_CHECKED : BST_UNCHECKED, 0);
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(WaitUntil([&] { return FindDialog(player_.ProcessId(), kBuildCaption) == nullptr; }));
        ASSERT_TRUE(WaitUntil([&] {
            HWND w = FindDialog(player_.ProcessId(), "Zub PlayList - [Untitled]");
            return w && w != playlist_ && (playlist_ = w) != nullptr;
        }));
    }
    bool FinishFileDialog(const char* title, const std::string& name)
    {
        HWND dialog = nullptr;
        if (!WaitUntil([&] { return (dialog = FindDialog(player_.ProcessId(), title)) && GetDlgItem(dialog, 0x47C); }))
            return false;
        return WaitUntil([&] {
            if (!IsWindow(dialog))
                return true;
            SendMessageA(GetDlgItem(dialog, 0x47C), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
            Sleep(300);
            return !IsWindow(dialog);
        });
    }
    // Puts a file list (8-bit names) on the clipboard.
    static bool PutFileList(const std::vector<std::string>& paths)
    {
        std::string names;
        for (const std::string& p : paths)
            names += p + '\0';
        names += '\0';
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + names.size());
        auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
        drop->pFiles = sizeof(DROPFILES);
        std::memcpy(drop + 1, names.data(), names.size());
        GlobalUnlock(block);
        if (!OpenClipboard(nullptr))
            return false;
        EmptyClipboard();
        const bool put = SetClipboardData(CF_HDROP, block) != nullptr;
        CloseClipboard();
        return put;
    }
    static std::vector<std::string> ClipboardFiles()
    {
        std::vector<std::string> paths;
        if (!OpenClipboard(nullptr))
            return paths;
        if (HANDLE data = GetClipboardData(CF_HDROP)) {
            HDROP drop = static_cast<HDROP>(data);
            for (UINT i = 0, n = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0); i < n; ++i) {
                char path[MAX_PATH] = {};
                DragQueryFileA(drop, i, path, sizeof path);
                paths.push_back(path);
            }
        }
        CloseClipboard();
        return paths;
    }
    static bool PutText(const std::string& text)
    {
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
        std::memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
        GlobalUnlock(block);
        if (!OpenClipboard(nullptr))
            return false;
        EmptyClipboard();
        const bool put = SetClipboardData(CF_TEXT, block) != nullptr;
        CloseClipboard();
        return put;
    }
    static std::string ClipboardText()
    {
        std::string text;
        if (!OpenClipboard(nullptr))
            return text;
        if (HANDLE data = GetClipboardData(CF_TEXT)) {
            text = static_cast<const char*>(GlobalLock(data));
            GlobalUnlock(data);
        }
        CloseClipboard();
        return text;
    }

    std::string root_;
};

TEST_F(PlaylistActionsUi, TheWalkGrowsTheListWhileItRunsAndStopEndsItAtOnce)
{
    for (int i = 0; i < 24; ++i)
        ASSERT_TRUE(WriteBytes(root_ + "\\song" + std::to_string(10 + i) + ".mid", MakeSong(2)));
    ASSERT_TRUE(StartEmpty());
    Build(root_, true);
    // Paced at 100 ms a file: the window answers and shows rows while the
    // walk goes on.
    ASSERT_TRUE(WaitUntil([&] { return Rows() >= 4; }));
    EXPECT_EQ("Stop", CloseText());
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(playlist_, 1005))) << "&Add... waits for the walk";
    SendMessageA(playlist_, WM_COMMAND, kClose, 0);
    ASSERT_TRUE(WaitUntil([&] { return CloseText() == "&Close"; }));
    const int rows = Rows();
    Sleep(600);
    EXPECT_EQ(rows, Rows()) << "nothing is added after Stop";
    EXPECT_LT(rows, 25);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(playlist_, 1005)));
}

TEST_F(PlaylistActionsUi, TheFiltersOfTheDialogDecideWhatTheWalkAdds)
{
    ASSERT_TRUE(MakeFolder(root_ + "\\Sub"));
    ASSERT_TRUE(WriteBytes(root_ + "\\x.mid", MakeSong(2)));
    ASSERT_TRUE(WriteBytes(root_ + "\\y.kar", MakeSong(2)));
    ASSERT_TRUE(WriteBytes(root_ + "\\notes.txt", std::vector<uint8_t>(200, 'n')));
    ASSERT_TRUE(WriteBytes(root_ + "\\Sub\\z.mid", MakeSong(2)));
    ASSERT_TRUE(WriteBytes(root_ + "\\Sub\\w.kar", MakeSong(3)));
    ASSERT_TRUE(StartEmpty());
    Build(root_, false);
    // The new window reads "&Close" for a moment before its walk starts.
    ASSERT_TRUE(WaitUntil([&] { return CloseText() == "&Close" && SongNames().size() >= 2; }));
    EXPECT_EQ((std::vector<std::string>{"w.kar", "y.kar"}), SongNames()) << "karaoke files only, folders in name order";

}

TEST_F(PlaylistActionsUi, CopyDiskDirAsksAboutTheTargetErasesItAndCopySongReplaces)
{
    const std::string songs = root_ + "\\Songs", target = root_ + "\\Target";
    ASSERT_TRUE(MakeFolder(songs));
    ASSERT_TRUE(WriteBytes(songs + "\\a.mid", MakeSong(2)));
    ASSERT_TRUE(WriteBytes(songs + "\\b.mid", MakeSong(3)));
    WriteSetting(HKEY_LOCAL_MACHINE, "CopyTarget", target);
    ASSERT_TRUE(StartEmpty());
    ASSERT_TRUE(PutFileList({songs}));
    Command(kPasteFiles);
    ASSERT_TRUE(WaitUntil([&] { return Rows() == 3; }));
    EXPECT_EQ((std::vector<std::string>{"a.mid", "b.mid"}), SongNames()) << "a pasted folder is read as one folder";

    // No target yet: asked for, then cancelled.
    Select(RowOf("b.mid"));
    Command(kCopyDisk);
    EXPECT_EQ("Please make " + target + " available", Answer("Copy Dir", IDCANCEL));

    ASSERT_TRUE(MakeFolder(target));
    ASSERT_TRUE(MakeFolder(target + "\\Keep"));
    ASSERT_TRUE(WriteBytes(target + "\\old.mid", MakeSong(1)));
    Command(kCopyDisk);
    EXPECT_EQ(target + " is not blank! Erase contents before copying?", Answer("Copy Dir", IDYES));
    ASSERT_TRUE(WaitUntil([&] { return Exists(target + "\\a.mid") && Exists(target + "\\b.mid"); }));
    EXPECT_FALSE(Exists(target + "\\old.mid"));
    EXPECT_TRUE(Exists(target + "\\Keep")) << "folders stay";

    // Copy Song replaces the file on the target.
    ASSERT_TRUE(WriteBytes(target + "\\a.mid", {1, 2, 3}));
    Select(RowOf("a.mid"));
    Command(kCopySong);
    std::vector<uint8_t> copied;
    ASSERT_TRUE(WaitUntil([&] { return ReadBytes(target + "\\a.mid", copied) && copied.size() > 3; }));
    EXPECT_EQ(MakeSong(2), copied);

    // A target that is gone: the copy says so.
    WriteSetting(HKEY_LOCAL_MACHINE, "CopyTarget", root_ + "\\Gone");
    Command(kCopySong);
    EXPECT_EQ("Could not copy file to " + root_ + "\\Gone", Answer("Error", IDOK));

}

TEST_F(PlaylistActionsUi, ClipboardListsVoiceMapsAndTheTitleEditorsPasteLimit)
{
    const std::string songs = root_ + "\\Songs";
    ASSERT_TRUE(MakeFolder(songs));
    ASSERT_TRUE(WriteBytes(songs + "\\a.mid", MakeSong(2)));
    ASSERT_TRUE(WriteBytes(songs + "\\b.mid", MakeSong(2)));
    const std::string map = root_ + "\\piano.map";
    ASSERT_TRUE(WriteBytes(map, std::vector<uint8_t>{'\r', '\n'}));
    ASSERT_TRUE(StartEmpty());
    ASSERT_TRUE(PutFileList({songs + "\\b.mid", songs + "\\a.mid"}));
    Command(kPasteFiles);
    ASSERT_TRUE(WaitUntil([&] { return Rows() == 3; }));

    // One folder row on the clipboard: the paths of its songs.
    Select(0);
    Command(kCopyFiles);
    ASSERT_TRUE(WaitUntil([&] { return ClipboardFiles().size() == 2; }));
    std::vector<std::string> files = ClipboardFiles();
    std::sort(files.begin(), files.end());
    EXPECT_EQ((std::vector<std::string>{songs + "\\a.mid", songs + "\\b.mid"}), files);

    // A map attached to a song of a folder marks the folder and its songs.
    Select(RowOf("a.mid"));
    Command(kAttachMap);
    ASSERT_TRUE(FinishFileDialog("Open", map));
    ASSERT_TRUE(WaitUntil([&] { return Cell(0, 6) == "piano"; }));
    EXPECT_EQ("piano", Cell(1, 6));
    EXPECT_EQ("piano", Cell(2, 6));
    Select(RowOf("b.mid"));
    Command(kDetachMap);
    ASSERT_TRUE(WaitUntil([&] { return Cell(RowOf("b.mid"), 6).empty(); }));
    EXPECT_EQ("piano", Cell(RowOf("a.mid"), 6));

    // The title editor: copy takes the whole selected title, a paste is cut
    // at the 127 characters of a MIDI title.
    const int row = RowOf("a.mid");
    Select(row, 4);
    ASSERT_TRUE(probe_.Grid(playlist_, kProbeNotify, 0, kEditRequest));
    ASSERT_TRUE(PutText("-"));
    SendMessageA(playlist_, kCopyText, 0, 0);
    EXPECT_EQ("Test Song", ClipboardText());
    ASSERT_TRUE(PutText(std::string(150, 'p')));
    SendMessageA(playlist_, kPasteText, 0, 0);
    ASSERT_TRUE(probe_.Grid(playlist_, kProbeEndEdit, 0, 1));
    EXPECT_EQ(std::string(127, 'p'), Cell(row, 4));

}

// (Wine's file dialog hands over the names that fit where Windows refuses
// a selection too large for the buffer, so "Too many files selected." is
// not reached here.)
TEST_F(PlaylistActionsUi, AddSortsSeveralFilesByName)
{
    ASSERT_TRUE(WriteBytes(root_ + "\\b.mid", MakeSong(2)));
    ASSERT_TRUE(WriteBytes(root_ + "\\a.mid", MakeSong(2)));
    WriteSetting(HKEY_LOCAL_MACHINE, "LastAddDir", root_);
    ASSERT_TRUE(StartEmpty());
    Command(1005);
    ASSERT_TRUE(FinishFileDialog("Open", "\"b.mid\" \"a.mid\""));
    ASSERT_TRUE(WaitUntil([&] { return Rows() == 3; }));
    EXPECT_EQ((std::vector<std::string>{"a.mid", "b.mid"}), SongNames());
}

}  // namespace
}  // namespace zubtest
