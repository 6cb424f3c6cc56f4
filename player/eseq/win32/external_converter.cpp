#include "external_converter.h"

#include <windows.h>

#include <functional>

#include "batch_paths.h"

namespace eseq {

const char kEseq2MidClass[] = "ESEQ2MID";
const char kEseq2MidTitle[] = "ESEQ2MID - Converts Yamaha ESEQ format files to MIDI (type 0)";
const char kEseq2MidProgram[] = "ESEQ2MID.EXE";

namespace {

constexpr UINT kOpenCommand = 33;
// The waits for the program's windows: polled, so a slow start costs no
// more than it needs, and bounded.
constexpr DWORD kPollMs = 100;
constexpr DWORD kStartWaitMs = 5000;
constexpr DWORD kOpenWaitMs = 5000;
constexpr DWORD kBoxWaitMs = 2000;
constexpr int kPopupTries = 5;
constexpr DWORD kPopupTryMs = 500;
constexpr DWORD kSettleMs = 200;
constexpr DWORD kPopupCloseMs = 500;

void Fail(const char* text)
{
    MessageBoxA(nullptr, text, "Error", MB_OK | MB_ICONERROR);
}

HWND FindMainWindow()
{
    return FindWindowA(kEseq2MidClass, kEseq2MidTitle);
}

// Polls `find` until it gives a window or the time is up.
HWND WaitForWindow(const std::function<HWND()>& find, DWORD limitMs)
{
    for (DWORD waited = 0;; waited += kPollMs) {
        if (HWND found = find())
            return found;
        if (waited >= limitMs)
            return nullptr;
        Sleep(kPollMs);
    }
}

struct TitleSearch {
    DWORD process;
    const std::string* title;  // null: any visible window but `except`
    HWND except;
    HWND found;
};

BOOL CALLBACK MatchTopLevel(HWND hwnd, LPARAM lParam)
{
    TitleSearch& s = *reinterpret_cast<TitleSearch*>(lParam);
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    if (process != s.process || hwnd == s.except || !IsWindowVisible(hwnd))
        return TRUE;
    if (s.title) {
        char text[MAX_PATH] = {};
        GetWindowTextA(hwnd, text, sizeof text);
        if (*s.title != text)
            return TRUE;
    }
    s.found = hwnd;
    return FALSE;
}

// A top-level window of the converter's process titled `title`; with no
// title, any other visible one (its opening box).
HWND FindProgramWindow(DWORD process, const std::string* title, HWND except = nullptr)
{
    TitleSearch search = {process, title, except, nullptr};
    EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

DWORD ProcessOf(HWND hwnd)
{
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    return process;
}

// Typing as a user would: the key's own virtual-key code, so that keys
// like "." or "%" are not taken for Delete or Left.
void TypeText(HWND edit, const std::string& text)
{
    for (char c : text) {
        const SHORT scan = VkKeyScanA(c);
        const WPARAM key = scan == -1 ? static_cast<unsigned char>(c) : static_cast<WPARAM>(scan & 0xFF);
        SendMessageA(edit, WM_KEYDOWN, key, 1);
        SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
        SendMessageA(edit, WM_KEYUP, key, 0xC0000001);
    }
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

std::string ExternalConverter::ProgramPath() const
{
    return startupFolder_ + "\\" + kEseq2MidProgram;
}

bool ExternalConverter::Available() const
{
    if (FindMainWindow())
        return true;
    const DWORD attributes = GetFileAttributesA(ProgramPath().c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool ExternalConverter::StartProgram()
{
    std::string path = ProgramPath();
    std::string commandLine = "\"" + path + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMINNOACTIVE;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        startupFolder_.empty() ? nullptr : startupFolder_.c_str(), &startup, &info))
        return false;
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return true;
}

bool ExternalConverter::Convert(const std::string& source, ConvertedSong* out)
{
    HWND main = FindMainWindow();
    if (!main) {
        if (StartProgram())
            main = WaitForWindow(FindMainWindow, kStartWaitMs);
        if (!main) {
            Fail("Can't find ESEQ2MID window");
            return false;
        }
        // Dismiss the program's opening box. Only a window of the program
        // itself is told to cancel, never whatever else is in front.
        const DWORD process = ProcessOf(main);
        HWND box = GetForegroundWindow();
        if (!box || ProcessOf(box) != process || box == main)
            box = WaitForWindow([&] { return FindProgramWindow(process, nullptr, main); }, kBoxWaitMs);
        if (box)
            PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
        Sleep(kSettleMs);
    }
    const DWORD process = ProcessOf(main);

    PostMessageA(main, WM_COMMAND, kOpenCommand, 0);
    const std::string openTitle = "Open";
    HWND open = WaitForWindow([&] { return FindProgramWindow(process, &openTitle); }, kOpenWaitMs);
    if (!open) {
        Fail("Can't find ESEQ2MID:Open dialog");
        return false;
    }
    HWND edit = FindWindowExA(open, nullptr, "Edit", nullptr);
    if (!edit) {
        Fail("Can't find ESEQ2MID:Open:Edit control");
        return false;
    }
    TypeText(edit, source);
    PostMessageA(open, WM_COMMAND, IDOK, 0);

    const std::string fileName = FileNameOf(source);
    HWND popup = nullptr;
    for (int i = 0; i < kPopupTries && !popup; ++i) {
        Sleep(kPopupTryMs);
        popup = FindProgramWindow(process, &fileName);
    }
    if (!popup) {
        Fail("Can't find ESEQ2MID completion popup");
        return false;
    }
    PostMessageA(popup, WM_COMMAND, IDCANCEL, 0);
    Sleep(kPopupCloseMs);

    out->inMemory = false;
    out->path = WithMidExtension(source);
    if (!FileExists(out->path)) {
        const size_t cut = source.rfind('\\');
        out->path = (cut == std::string::npos ? std::string() : source.substr(0, cut + 1)) + ".MID";
    }
    return true;
}

}  // namespace eseq
