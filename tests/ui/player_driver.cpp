#include "player_driver.h"

#include <commctrl.h>

#include <cstdint>
#include <cstring>

namespace zubtest {

namespace {

const char kSubkey[] = "Software\\Microsoft\\Multimedia\\Zubodeck";

// How long the player may take to answer: a limit against hanging, not a
// speed check. A first start on a busy machine loads Wine's libraries and
// the probe, which can take many seconds.
constexpr UINT kAnswerLimitMs = 120000;

struct FindMain {
    DWORD pid;
    const char* className;
    const char* title;
    bool shownOnly;
    HWND found;
};

BOOL CALLBACK FindTopLevel(HWND hwnd, LPARAM lParam)
{
    FindMain* f = reinterpret_cast<FindMain*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    char cls[64] = {};
    GetClassNameA(hwnd, cls, sizeof(cls));
    if (pid != f->pid || strcmp(cls, f->className) != 0)
        return TRUE;
    if (f->title && WindowTextOf(hwnd) != f->title)
        return TRUE;
    if (f->shownOnly && !IsWindowVisible(hwnd))
        return TRUE;
    f->found = hwnd;
    return FALSE;
}

HWND FindTop(DWORD pid, const char* className, const char* title, bool shownOnly = false)
{
    FindMain f = {pid, className, title, shownOnly, nullptr};
    EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&f));
    return f.found;
}

template <class F>
F Proc(HMODULE module, const char* name)
{
    return reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

struct LongestText {
    std::string text;
};

BOOL CALLBACK CollectStatic(HWND hwnd, LPARAM lParam)
{
    char cls[32] = {};
    GetClassNameA(hwnd, cls, sizeof(cls));
    if (_stricmp(cls, "Static") == 0) {
        std::string t = WindowTextOf(hwnd);
        LongestText* l = reinterpret_cast<LongestText*>(lParam);
        if (t.size() > l->text.size())
            l->text = t;
    }
    return TRUE;
}

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs)
{
    DWORD start = GetTickCount();
    while (!condition()) {
        if (static_cast<int>(GetTickCount() - start) > timeoutMs)
            return condition();
        Sleep(50);
    }
    return true;
}

Probe::Probe()
{
    mapping_ = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(ProbeShared),
                                  ZUB_PROBE_MAPPING);
    if (mapping_)
        shared_ = static_cast<ProbeShared*>(MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(ProbeShared)));
    if (shared_)
        memset(shared_, 0, sizeof(ProbeShared));
    library_ = LoadLibraryA("zub_ui_probe.dll");
    if (!library_)
        return;
    callHook_ = SetWindowsHookExA(WH_CALLWNDPROC, Proc<HOOKPROC>(library_, "ProbeCallWndProc"), library_, 0);
    msgHook_ = SetWindowsHookExA(WH_GETMESSAGE, Proc<HOOKPROC>(library_, "ProbeGetMsgProc"), library_, 0);
}

Probe::~Probe()
{
    if (callHook_)
        UnhookWindowsHookEx(callHook_);
    if (msgHook_)
        UnhookWindowsHookEx(msgHook_);
    if (library_)
        FreeLibrary(library_);
    if (shared_)
        UnmapViewOfFile(shared_);
    if (mapping_)
        CloseHandle(mapping_);
}

bool Probe::Query(HWND main)
{
    static const UINT query = RegisterWindowMessageA(ZUB_PROBE_QUERY_MESSAGE);
    LONG before = shared_->queryCount;
    DWORD_PTR result = 0;
    SendMessageTimeoutA(main, query, 0, 0, SMTO_NORMAL, kAnswerLimitMs, &result);
    return shared_->queryCount != before;
}

bool Probe::Grid(HWND playlist, int op, int row, int arg, const std::string& text, std::string* answer)
{
    static const UINT message = RegisterWindowMessageA(ZUB_PROBE_GRID_MESSAGE);
    ProbeGridRequest& r = shared_->grid;
    r.op = op;
    r.row = row;
    r.arg = arg;
    lstrcpynA(r.text, text.c_str(), sizeof(r.text));
    const LONG before = r.done;
    DWORD_PTR result = 0;
    SendMessageTimeoutA(playlist, message, 0, 0, SMTO_NORMAL, 10000, &result);
    if (r.done == before)
        return false;
    if (answer)
        *answer = r.answer;
    return true;
}

bool Probe::SliderGeometry(HWND main, HWND slider, RECT* thumb, RECT* channel)
{
    static const UINT query = RegisterWindowMessageA(ZUB_PROBE_SLIDER_MESSAGE);
    LONG before = shared_->sliderCount;
    DWORD_PTR result = 0;
    SendMessageTimeoutA(main, query, reinterpret_cast<WPARAM>(slider), 0, SMTO_NORMAL, kAnswerLimitMs, &result);
    *thumb = shared_->sliderThumb;
    *channel = shared_->sliderChannel;
    return shared_->sliderCount != before;
}

const ProbeMenuItem* Probe::Item(UINT id) const
{
    for (int i = 0; i < shared_->itemCount; ++i) {
        if (shared_->items[i].id == id && id != 0)
            return &shared_->items[i];
    }
    return nullptr;
}

std::vector<ProbeMenuItem> Probe::Popup(int menuBarPos) const
{
    std::vector<ProbeMenuItem> items;
    for (int i = 0; i < shared_->itemCount; ++i) {
        const ProbeMenuItem& it = shared_->items[i];
        if (it.menuBarPos == menuBarPos && it.depth == 0)
            items.push_back(it);
    }
    return items;
}

std::string Probe::Status(int part) const
{
    return part < shared_->statusParts ? shared_->status[part].text : std::string("<no part>");
}

std::vector<std::pair<int, std::string>> Probe::Tips() const
{
    std::vector<std::pair<int, std::string>> tips;
    for (int i = 0; i < shared_->tipCount && i < 16; ++i)
        tips.emplace_back(shared_->tips[i].command, shared_->tips[i].text);
    return tips;
}

std::vector<int> Probe::Commands() const
{
    LONG n = shared_->commandCount;
    if (n > 256)
        n = 256;
    return std::vector<int>(shared_->commands, shared_->commands + n);
}

Probe::WindowLayout Probe::Layout(HWND main, HWND window)
{
    static const UINT query = RegisterWindowMessageA(ZUB_PROBE_LAYOUT_MESSAGE);
    LONG before = shared_->layoutCount;
    DWORD_PTR result = 0;
    SendMessageTimeoutA(main, query, reinterpret_cast<WPARAM>(window), 0, SMTO_NORMAL, 10000, &result);
    WindowLayout layout;
    layout.answered = shared_->layoutCount != before;
    if (!layout.answered)
        return layout;
    layout.dpi = shared_->dpi;
    layout.client = shared_->layoutClient;
    layout.controls.assign(shared_->controls, shared_->controls + shared_->controlCount);
    return layout;
}

bool Probe::Picture(HWND main, HWND window, const std::string& path)
{
    static const UINT query = RegisterWindowMessageA(ZUB_PROBE_PICTURE_MESSAGE);
    if (path.size() >= sizeof(shared_->picturePath))
        return false;
    strcpy(shared_->picturePath, path.c_str());
    LONG before = shared_->pictureCount;
    DWORD_PTR result = 0;
    SendMessageTimeoutA(main, query, reinterpret_cast<WPARAM>(window), 0, SMTO_NORMAL, 10000, &result);
    return shared_->pictureCount != before && shared_->pictureWritten;
}

PlayerProcess::~PlayerProcess()
{
    if (info_.hProcess) {
        // A player left running by a failed test goes, windows and all,
        // before the next test counts the players.
        if (Running()) {
            TerminateProcess(info_.hProcess, 1);
            WaitForSingleObject(info_.hProcess, kAnswerLimitMs);
        }
        CloseHandle(info_.hProcess);
        CloseHandle(info_.hThread);
    }
}

bool PlayerProcess::Start(const std::string& args)
{
    std::string line = "Zubodeck.exe " + args;
    std::vector<char> buffer(line.begin(), line.end());
    buffer.push_back('\0');
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    if (!CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &info_))
        return false;
    // The main window exists during its own creation already: it is whole
    // once it is shown. Nothing here asks the process to be idle, which it
    // may report before its window exists. A message sent to the window is
    // handled only when the player's thread takes messages again, which it
    // does after start-up, including the opening of a file named on the
    // command line (or inside the message box that reports a failure).
    const bool shown = WaitUntil(
        [&] {
            main_ = FindTop(info_.dwProcessId, "ZubodeckMWnd", nullptr);
            return (main_ != nullptr && IsWindowVisible(main_)) || !Running();
        },
        kAnswerLimitMs);
    if (!shown || !main_ || !Running())
        return false;
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(main_, WM_NULL, 0, 0, SMTO_NORMAL, kAnswerLimitMs, &result) != 0;
}

bool PlayerProcess::Running() const
{
    return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

void PlayerProcess::Command(int id)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(main_, WM_COMMAND, id, 0, SMTO_NORMAL, kAnswerLimitMs, &result);
}

int PlayerProcess::Close()
{
    PostMessageA(main_, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(info_.hProcess, kAnswerLimitMs) != WAIT_OBJECT_0)
        return -1;
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    return static_cast<int>(code);
}

namespace {

BOOL CALLBACK CollectPlayer(HWND hwnd, LPARAM lParam)
{
    char name[64] = {};
    GetClassNameA(hwnd, name, sizeof(name));
    if (lstrcmpA(name, "ZubodeckMWnd") == 0)
        reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hwnd);
    return TRUE;
}

}  // namespace

std::vector<HWND> RunningPlayers()
{
    std::vector<HWND> found;
    EnumWindows(CollectPlayer, reinterpret_cast<LPARAM>(&found));
    return found;
}

int RunToEnd(const std::string& commandLine, int timeoutMs)
{
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return -1;
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(pi.hProcess, timeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(pi.hProcess, &code);
    else
        TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return static_cast<int>(code);
}

std::string WindowTextOf(HWND hwnd)
{
    char text[512] = {};
    GetWindowTextA(hwnd, text, sizeof(text));
    return text;
}

int ToolbarState(HWND toolbar, int command)
{
    if (!toolbar)
        return -1;
    return static_cast<int>(SendMessageA(toolbar, TB_GETSTATE, command, 0));
}

HWND FindDialog(DWORD processId, const char* title)
{
    // A dialog exists, with its title, before its initialisation has set
    // its controls; it is shown once that is over.
    return FindTop(processId, "#32770", title, true);
}

std::string DialogMessage(HWND dialog)
{
    LongestText l;
    EnumChildWindows(dialog, CollectStatic, reinterpret_cast<LPARAM>(&l));
    return l.text;
}

std::string AnswerBox(DWORD processId, const char* caption, int button)
{
    HWND box = nullptr;
    if (!WaitUntil([&] { return (box = FindDialog(processId, caption)) != nullptr; }))
        return "<no box>";
    const std::string text = DialogMessage(box);
    PostMessageA(box, WM_COMMAND, button, 0);
    WaitUntil([&] { return FindDialog(processId, caption) == nullptr; });
    return text;
}

std::string GridAsk(HWND grid, const std::string& question)
{
    SendMessageA(grid, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(question.c_str()));
    char answer[400] = {};
    SendMessageA(grid, WM_GETTEXT, sizeof answer, reinterpret_cast<LPARAM>(answer));
    return answer;
}

std::string GridAsk(HWND grid, int command, int v1, int v2)
{
    return GridAsk(grid, std::to_string(command) + ":0," + std::to_string(v1) + "," + std::to_string(v2) + ",0,0:");
}

std::string GridAnswerText(const std::string& answer)
{
    const size_t colon = answer.find(':', answer.find(':') + 1);
    return colon == std::string::npos ? "" : answer.substr(colon + 1);
}

int GridRows(HWND grid)
{
    return atoi(GridAsk(grid, 101).c_str());
}

std::string GridCell(HWND grid, int row, int col)
{
    return GridAnswerText(GridAsk(grid, 103, row, col));
}

void ClearSettings()
{
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kSubkey);
    RegDeleteKeyA(HKEY_CURRENT_USER, kSubkey);
}

void WriteSetting(HKEY root, const char* name, const std::string& value)
{
    HKEY key;
    if (RegCreateKeyExA(root, kSubkey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
}

void WriteSettingNumber(HKEY root, const char* name, DWORD value)
{
    HKEY key;
    if (RegCreateKeyExA(root, kSubkey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
    RegCloseKey(key);
}

bool ReadSetting(HKEY root, const char* name, std::string& value)
{
    HKEY key;
    if (RegOpenKeyExA(root, kSubkey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    char buffer[512] = {};
    DWORD size = sizeof(buffer) - 1;
    DWORD type = 0;
    LONG r = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (r != ERROR_SUCCESS || type != REG_SZ)
        return false;
    value = buffer;
    return true;
}

bool ReadSettingNumber(HKEY root, const char* name, DWORD& value)
{
    HKEY key;
    if (RegOpenKeyExA(root, kSubkey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    DWORD size = sizeof(value);
    DWORD type = 0;
    LONG r = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    return r == ERROR_SUCCESS && type == REG_DWORD;
}

std::string FullPath(const std::string& name)
{
    char dir[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, dir);
    return std::string(dir) + "\\" + name;
}

std::string PosValueName(const char* window)
{
    RECT desk;
    GetWindowRect(GetDesktopWindow(), &desk);
    return std::string(window) + std::to_string(desk.right) + "x" + std::to_string(desk.bottom);
}

}  // namespace zubtest
