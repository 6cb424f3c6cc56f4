// The Batch Convert dialog under Wine: run on this test's main thread and
// worked from a second thread as a user would, through its controls. The
// files it writes are compared with `zubcli batch` on the same tree, and
// with the outside converter's stand-in ESEQ2MID.exe.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <sstream>
#include <thread>

#include "batch_paths.h"
#include "conversion_dialog.h"
#include "conversion_dialog_ids.h"
#include "eseq_convert.h"
#include "eseq_testdata.h"
#include "external_converter.h"
#include "hostfile.h"
#include "player_driver.h"
#include "temp_tree.h"
#include "zubcli.h"

namespace {

namespace fs = std::filesystem;
using zubtest::DialogMessage;
using zubtest::FindDialog;
using zubtest::WaitUntil;
using zubtest::WindowTextOf;

const char kDialogTitle[] = "Batch Convert ESEQ to Midi SMF";

std::string TempFolder()
{
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    return folder;
}

// A folder of its own in the temporary folder, with Windows separators
// since its paths are typed into the dialog.
struct Tree : eseqtest::TempTree {
    explicit Tree(const char* name) : TempTree(TempFolder() + "zub_" + name, '\\') {}
};

HWND Item(HWND dialog, int id)
{
    return GetDlgItem(dialog, id);
}

bool IsChecked(HWND dialog, int id)
{
    return SendMessageA(Item(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// Posted, so the dialog's thread may show message boxes without blocking us.
void Click(HWND dialog, int id)
{
    PostMessageA(Item(dialog, id), BM_CLICK, 0, 0);
}

void ClickAndWait(HWND dialog, int id, bool checked)
{
    Click(dialog, id);
    EXPECT_TRUE(WaitUntil([&] { return IsChecked(dialog, id) == checked; }, 5000)) << id;
}

struct BoxSeen {
    std::string title;
    std::string text;
};

// Closes a message box of this process with that title, returning its text.
bool TakeBox(const char* title, std::vector<BoxSeen>* seen)
{
    HWND box = FindDialog(GetCurrentProcessId(), title);
    if (!box)
        return false;
    seen->push_back({title, DialogMessage(box)});
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    WaitUntil([&] { return !IsWindow(box); }, 5000);
    return true;
}

// Waits for the summary line, closing (and keeping) every message box met.
std::string WaitForSummary(HWND dialog, std::vector<BoxSeen>* boxes, int timeoutMs)
{
    std::string line;
    WaitUntil(
        [&] {
            TakeBox("Error in file:", boxes);
            TakeBox("Error", boxes);
            line = WindowTextOf(Item(dialog, IDC_BATCH_CURRENT));
            return line.rfind("Batch complete.", 0) == 0;
        },
        timeoutMs);
    return line;
}

// Shows the dialog on this thread; `drive` works it from another and the
// dialog is closed afterwards.
void RunDialog(const eseq::BatchDialogContext& context, const std::function<void(HWND)>& drive)
{
    std::thread driver([&] {
        HWND dialog = nullptr;
        if (WaitUntil([&] { return (dialog = FindDialog(GetCurrentProcessId(), kDialogTitle)) != nullptr; }, 10000))
            drive(dialog);
        else
            ADD_FAILURE() << "the dialog did not appear";
        if (dialog && IsWindow(dialog))
            PostMessageA(dialog, WM_CLOSE, 0, 0);
    });
    const INT_PTR result = eseq::ShowBatchConvertDialog(GetModuleHandleA(nullptr), nullptr, context);
    driver.join();
    EXPECT_EQ(0, result);
}

void StartRun(HWND dialog, const std::string& source, const std::string& target)
{
    SetDlgItemTextA(dialog, IDC_BATCH_SOURCE, source.c_str());
    SetDlgItemTextA(dialog, IDC_BATCH_TARGET, target.c_str());
    Click(dialog, IDC_BATCH_START);
}

std::vector<uint8_t> Converted(const std::vector<uint8_t>& song)
{
    std::vector<uint8_t> midi;
    eseq::ConvertImage(song.data(), song.size(), eseq::ConvertOptions(), &midi);
    return midi;
}

// ---- Controls --------------------------------------------------------------

TEST(ConversionDialog, InitialStatesAndTheLengthArrows)
{
    RunDialog(eseq::BatchDialogContext(), [](HWND d) {
        for (int id : {IDC_BATCH_TRAVERSE, IDC_BATCH_CREATE_SUBDIRS, IDC_BATCH_SKIP_DOC, IDC_BATCH_OVERWRITE,
                       IDC_BATCH_INTERNAL})
            EXPECT_TRUE(IsChecked(d, id)) << id;
        for (int id : {IDC_BATCH_EXTERNAL, IDC_BATCH_INDEX_PREFIX, IDC_BATCH_SONG_NAMES, IDC_BATCH_DISK_NAMES})
            EXPECT_FALSE(IsChecked(d, id)) << id;
        EXPECT_EQ("Use external program: ESEQ2MID.exe", WindowTextOf(Item(d, IDC_BATCH_EXTERNAL)));
        EXPECT_EQ("&Start", WindowTextOf(Item(d, IDC_BATCH_START)));
        EXPECT_EQ("&Cancel", WindowTextOf(Item(d, IDCANCEL)));
        EXPECT_EQ("", WindowTextOf(Item(d, IDC_BATCH_CURRENT)));
        for (int id : {IDC_BATCH_MAX_FILE, IDC_BATCH_MAX_DIR, IDC_BATCH_FILE_ARROWS, IDC_BATCH_DIR_ARROWS})
            EXPECT_FALSE(IsWindowEnabled(Item(d, id))) << id;
        EXPECT_EQ("64", WindowTextOf(Item(d, IDC_BATCH_MAX_FILE)));
        EXPECT_EQ("64", WindowTextOf(Item(d, IDC_BATCH_MAX_DIR)));

        // The arrows step their own field within 8 to 128.
        HWND arrows = Item(d, IDC_BATCH_FILE_ARROWS);
        EXPECT_EQ(reinterpret_cast<LRESULT>(Item(d, IDC_BATCH_MAX_FILE)), SendMessageA(arrows, UDM_GETBUDDY, 0, 0));
        int low = 0, high = 0;
        SendMessageA(arrows, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
        EXPECT_EQ(8, low);
        EXPECT_EQ(128, high);
        EXPECT_EQ(reinterpret_cast<LRESULT>(Item(d, IDC_BATCH_MAX_DIR)),
                  SendMessageA(Item(d, IDC_BATCH_DIR_ARROWS), UDM_GETBUDDY, 0, 0));

        ClickAndWait(d, IDC_BATCH_SONG_NAMES, true);
        EXPECT_TRUE(IsWindowEnabled(Item(d, IDC_BATCH_MAX_FILE)));
        EXPECT_TRUE(IsWindowEnabled(Item(d, IDC_BATCH_FILE_ARROWS)));
        EXPECT_TRUE(IsWindowEnabled(Item(d, IDC_BATCH_MAX_FILE_LABEL)));
        EXPECT_FALSE(IsWindowEnabled(Item(d, IDC_BATCH_MAX_DIR)));
        ClickAndWait(d, IDC_BATCH_DISK_NAMES, true);
        EXPECT_TRUE(IsWindowEnabled(Item(d, IDC_BATCH_DIR_ARROWS)));
        ClickAndWait(d, IDC_BATCH_SONG_NAMES, false);
        EXPECT_FALSE(IsWindowEnabled(Item(d, IDC_BATCH_MAX_FILE)));
    });
}

TEST(ConversionDialog, MissingFoldersAreReported)
{
    std::vector<BoxSeen> boxes;
    RunDialog(eseq::BatchDialogContext(), [&](HWND d) {
        Click(d, IDC_BATCH_START);
        EXPECT_TRUE(WaitUntil([&] { return TakeBox("Error", &boxes); }, 10000));
        SetDlgItemTextA(d, IDC_BATCH_SOURCE, "C:\\somewhere");
        Click(d, IDC_BATCH_START);
        EXPECT_TRUE(WaitUntil([&] { return TakeBox("Error", &boxes); }, 10000));
        EXPECT_TRUE(IsWindowEnabled(Item(d, IDC_BATCH_START)));
        // Button 2 closes the dialog while no run goes on.
        Click(d, IDCANCEL);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(d); }, 10000));
    });
    ASSERT_EQ(2u, boxes.size());
    EXPECT_EQ("No Source Dir specified", boxes[0].text);
    EXPECT_EQ("No Target Dir specified", boxes[1].text);
}

// ---- Runs --------------------------------------------------------------------

TEST(ConversionDialog, GeneratedFloppyTreeMatchesZubcliBatch)
{
    Tree tree("dialog_tree");
    ASSERT_EQ(6, eseqtest::WriteFloppyTree(tree.Path("src"), 2, 3, 21));
    for (const eseqtest::NamedSong& song : eseqtest::OddSongs())
        EXPECT_TRUE(tree.Write("src\\odd\\" + song.name, song.bytes));

    std::vector<BoxSeen> boxes;
    std::string summary, cancelText;
    RunDialog(eseq::BatchDialogContext(), [&](HWND d) {
        ClickAndWait(d, IDC_BATCH_INDEX_PREFIX, true);
        ClickAndWait(d, IDC_BATCH_SONG_NAMES, true);
        ClickAndWait(d, IDC_BATCH_DISK_NAMES, true);
        SetDlgItemTextA(d, IDC_BATCH_MAX_FILE, "12");
        StartRun(d, tree.Path("src"), tree.Path("dialog"));
        summary = WaitForSummary(d, &boxes, 120000);
        cancelText = WindowTextOf(Item(d, IDCANCEL));
        EXPECT_TRUE(IsWindowEnabled(Item(d, IDC_BATCH_START)));
    });
    EXPECT_EQ("&Done", cancelText);
    // The song with a data byte but no running status warns, naming the
    // converted file in the temporary folder.
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("Error in file:", boxes[0].title);
    EXPECT_TRUE(eseq::EqualsNoCase(TempFolder() + "norunning.MID", boxes[0].text)) << boxes[0].text;

    const std::string source = tree.Path("src"), target = tree.Path("cli");
    const char* argv[] = {"zubcli", "batch", "--index-prefix", "--song-names", "--disk-names",
                          "--max-file", "12", source.c_str(), target.c_str()};
    std::ostringstream out, err;
    EXPECT_EQ(2, RunZubcli(9, argv, out, err)) << "the truncated song makes the status 2: " << err.str();
    EXPECT_NE(std::string::npos, out.str().find(summary + "\n")) << out.str();
    // 6 songs of the disks and the 9 odd songs that are no Disk Orchestra
    // songs; the odd ones all carry the title "Test Song", so they are
    // "Test Song", "Test Song~2" and on, in both runs alike.
    EXPECT_EQ("Batch complete. 15 files converted.", summary);

    const std::vector<std::string> files = tree.Files("dialog");
    EXPECT_EQ(tree.Files("cli"), files);
    ASSERT_EQ(15u, files.size()) << "every converted song has a file of its own";
    for (const std::string& file : files)
        EXPECT_EQ(tree.Read("cli\\" + file), tree.Read("dialog\\" + file)) << file;
    EXPECT_NE(std::find(files.begin(), files.end(), "Generated Disk 1/1Piece 1-1.MID"), files.end());
    EXPECT_NE(std::find(files.begin(), files.end(), "odd/Test Song.MID"), files.end());
    EXPECT_NE(std::find(files.begin(), files.end(), "odd/Test Song~2.MID"), files.end());
}

TEST(ConversionDialog, CancelEndsTheRunBetweenFiles)
{
    Tree tree("dialog_cancel");
    ASSERT_EQ(30, eseqtest::WriteFloppyTree(tree.Path("src"), 1, 30, 3));
    std::string summary;
    std::vector<BoxSeen> boxes;
    RunDialog(eseq::BatchDialogContext(), [&](HWND d) {
        StartRun(d, tree.Path("src"), tree.Path("out"));
        EXPECT_TRUE(WaitUntil([&] { return WindowTextOf(Item(d, IDC_BATCH_CURRENT)).find("SONG") != std::string::npos; }));
        Click(d, IDCANCEL);
        summary = WaitForSummary(d, &boxes, 30000);
        EXPECT_EQ("&Done", WindowTextOf(Item(d, IDCANCEL)));
    });
    int converted = -1;
    ASSERT_EQ(1, std::sscanf(summary.c_str(), "Batch complete. %d", &converted)) << summary;
    EXPECT_LT(converted, 30);
    EXPECT_EQ(static_cast<size_t>(converted), tree.Files("out").size());
    EXPECT_TRUE(boxes.empty());
}

// Regression: choosing the outside converter without the program gave one
// "Can't find ..." box per song, seconds apart, then "0 files converted".
TEST(ConversionDialog, AMissingOutsideConverterIsSaidOnceBeforeTheRun)
{
    if (HWND running = FindWindowA(eseq::kEseq2MidClass, eseq::kEseq2MidTitle)) {
        PostMessageA(running, WM_CLOSE, 0, 0);
        ASSERT_TRUE(WaitUntil([] { return FindWindowA(eseq::kEseq2MidClass, eseq::kEseq2MidTitle) == nullptr; }));
    }
    Tree tree("dialog_no_external");
    ASSERT_EQ(3, eseqtest::WriteFloppyTree(tree.Path("src"), 1, 3, 9));
    ASSERT_TRUE(tree.Write("nowhere\\README.TXT", {'x'}));
    eseq::BatchDialogContext context;
    context.startupFolder = tree.Path("nowhere");
    std::vector<BoxSeen> asked, others;
    std::string lineAfterNo, summary;
    RunDialog(context, [&](HWND d) {
        ClickAndWait(d, IDC_BATCH_EXTERNAL, true);
        StartRun(d, tree.Path("src"), tree.Path("out"));
        HWND box = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (box = FindDialog(GetCurrentProcessId(), "ESEQ2MID.EXE")) != nullptr; }));
        asked.push_back({"ESEQ2MID.EXE", DialogMessage(box)});
        PostMessageA(box, WM_COMMAND, IDNO, 0);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
        // No: nothing starts, the choice stays with the user.
        EXPECT_TRUE(IsWindowEnabled(Item(d, IDC_BATCH_START)));
        EXPECT_TRUE(IsChecked(d, IDC_BATCH_EXTERNAL));
        lineAfterNo = WindowTextOf(Item(d, IDC_BATCH_CURRENT));

        // Yes: the internal algorithm converts every song, without a message.
        Click(d, IDC_BATCH_START);
        ASSERT_TRUE(WaitUntil([&] { return (box = FindDialog(GetCurrentProcessId(), "ESEQ2MID.EXE")) != nullptr; }));
        PostMessageA(box, WM_COMMAND, IDYES, 0);
        summary = WaitForSummary(d, &others, 60000);
        EXPECT_TRUE(IsChecked(d, IDC_BATCH_INTERNAL));
        EXPECT_FALSE(IsChecked(d, IDC_BATCH_EXTERNAL));
    });
    ASSERT_EQ(1u, asked.size());
    EXPECT_EQ("Can't find the external program:\n " + tree.Path("nowhere") + "\\ESEQ2MID.EXE\n\n"
              "Convert with the internal algorithm instead?",
              asked[0].text);
    EXPECT_EQ("", lineAfterNo);
    for (const BoxSeen& box : others)
        ADD_FAILURE() << box.title << ": " << box.text;
    EXPECT_EQ("Batch complete. 3 files converted.", summary);
    EXPECT_EQ(3u, tree.Files("out").size());
}

TEST(ConversionDialog, OutsideConverterDrivenThroughItsWindows)
{
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, current);
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((std::string(current) + "\\ESEQ2MID.exe").c_str()))
        << "the stand-in converter is built beside the tests";
    Tree tree("dialog_external");
    const std::vector<uint8_t> one = eseqtest::BuildEseq(eseqtest::SampleSong(1, "First", 20));
    const std::vector<uint8_t> two = eseqtest::BuildEseq(eseqtest::SampleSong(2, "Second", 20));
    EXPECT_TRUE(tree.Write("src\\ONE.FIL", one));
    EXPECT_TRUE(tree.Write("src\\sub\\TWO%$.FIL", two));  // keys that are arrow keys' codes must type as characters

    eseq::BatchDialogContext context;
    context.startupFolder = current;
    std::vector<BoxSeen> boxes;
    std::string summary;
    RunDialog(context, [&](HWND d) {
        Click(d, IDC_BATCH_EXTERNAL);
        EXPECT_TRUE(WaitUntil([&] { return IsChecked(d, IDC_BATCH_EXTERNAL); }, 5000));
        StartRun(d, tree.Path("src"), tree.Path("out"));
        summary = WaitForSummary(d, &boxes, 120000);
    });
    for (const BoxSeen& box : boxes)
        ADD_FAILURE() << box.title << ": " << box.text;
    EXPECT_EQ("Batch complete. 2 files converted.", summary);
    EXPECT_EQ(Converted(one), tree.Read("out\\ONE.MID"));
    EXPECT_EQ(Converted(two), tree.Read("out\\sub\\TWO%$.MID"));
    // The converter's own results were moved, not left beside the songs.
    EXPECT_EQ(std::vector<std::string>({"ONE.FIL", "sub/TWO%$.FIL"}), tree.Files("src"));

    HWND converter = FindWindowA(eseq::kEseq2MidClass, eseq::kEseq2MidTitle);
    ASSERT_NE(nullptr, converter) << "the outside program was started and stays";
    PostMessageA(converter, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntil([] { return FindWindowA(eseq::kEseq2MidClass, eseq::kEseq2MidTitle) == nullptr; }));
}

}  // namespace
