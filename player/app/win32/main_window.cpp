// The main window: creation, layout, timers, drops, closing and the saving
// of settings. Commands are in main_commands.cpp, opening in main_open.cpp.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>

#include "main_layout.h"
#include "instance_handoff.h"
#include "player_app.h"
#include "registry_store.h"
#include "seams.h"

namespace zub {

const char kMainClassName[] = "ZubodeckMWnd";

// The end of playback takes one hop: the stream's callback thread sets a
// one-shot timer, which posts ZM_PLAYDONE; its handler (OnPlayDone) closes
// the stream on this thread and may advance the playlist.
void WindowNotify::ScheduleDone(uint32_t delayMs)
{
    done_.Post(window_, ZM_PLAYDONE, 0, delayMs);
}

void SetMainTitle(PlayerApp& app, const char* name)
{
    char title[MAX_PATH + 64];
    snprintf(title, sizeof(title), app.titleFormat.c_str(), name);
    SetWindowTextA(app.main, title);
}

void ShowNoSong(PlayerApp& app)
{
    app.songTitle.clear();
    SetStatusText(app, 0, app.songTitle);
    SetMainTitle(app, app.untitled.c_str());
}

namespace {

HMENU SubMenu(PlayerApp& app, int position)
{
    return GetSubMenu(GetMenu(app.main), position);
}

void AddTimeModeItems(PlayerApp& app)
{
    HMENU options = SubMenu(app, MENUPOS_OPTIONS);
    AppendMenuA(options, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(options, MF_STRING, CMD_ELAPSED, LoadResString(IDS_ELAPSED).c_str());
    AppendMenuA(options, MF_STRING, CMD_REMAINING, LoadResString(IDS_REMAINING).c_str());
}

void AddDeviceItems(PlayerApp& app, const std::string& savedOut)
{
    HMENU playThru = SubMenu(app, MENUPOS_PLAYTHRU);
    app.deviceNames = ListOutputDevices(app);
    if (!app.deviceNames.empty())
        AppendMenuA(playThru, MF_SEPARATOR, 0, nullptr);
    for (size_t i = 0; i < app.deviceNames.size(); ++i) {
        if (!app.deviceNames[i].empty())
            AppendMenuA(playThru, MF_STRING, CMD_DEVICE_FIRST + i, app.deviceNames[i].c_str());
    }
    app.device = DeviceForSavedOut(savedOut, app.deviceNames);
    CheckMenuItem(playThru, CMD_DEVICE_FIRST + app.device, MF_BYCOMMAND | MF_CHECKED);
}

// The switches go into the menu's check marks and the instrument settings
// into the sequencer: each has that one home from now on.
void ApplySettings(PlayerApp& app, const PlayerSettings& s)
{
    app.folders = s.folders;
    for (int i = 0; i < kOptionCount; ++i)
        SetOptionCheck(app, kOptionSwitches[i].command, s.options[i]);
    const uint8_t lamps1 = static_cast<uint8_t>(s.lamps1 <= kLampsAuto ? s.lamps1 : kLampsDisabled);
    const uint8_t lamps2 = static_cast<uint8_t>(s.lamps2 <= 16 ? s.lamps2 : 0);
    app.sequencer->SetLampSelection(lamps1, lamps2);
    app.sequencer->SetMasterVolume(s.masterVolume);
    HMENU menu = GetMenu(app.main);
    CheckMenuItem(menu, CMD_LAMP_DISABLED + lamps1, MF_BYCOMMAND | MF_CHECKED);
    if (lamps2)
        CheckMenuItem(menu, CMD_LAMP_DISABLED + lamps2, MF_BYCOMMAND | MF_CHECKED);
    CheckMenuItem(menu, CMD_VIEW_POSITION, MF_BYCOMMAND | MF_CHECKED);
    app.recent.Load(s.recent);
}

void ApplyAlwaysOnTop(PlayerApp& app)
{
    HWND after = OptionOn(app, kOptAlwaysOnTop) ? HWND_TOPMOST : HWND_NOTOPMOST;
    SetWindowPos(app.main, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

std::string CurrentDirectory()
{
    char dir[MAX_PATH] = {};
    DWORD n = GetCurrentDirectoryA(MAX_PATH, dir);
    return n > 0 && n < MAX_PATH ? std::string(dir) : std::string();
}

bool OnCreate(PlayerApp& app, HWND hwnd)
{
    app.main = hwnd;
    app.notify.SetWindow(hwnd);
    HANDLE small = LoadImageA(app.instance, "IDI_YSMALL", IMAGE_ICON, 16, 16, 0);
    SendMessageA(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    AddTimeModeItems(app);

    PlayerSettings settings = LoadPlayerSettings(PlayerStore());
    AddDeviceItems(app, settings.out);
    ApplySettings(app, settings);

    ApplyAlwaysOnTop(app);
    if (OptionOn(app, kOptToolbar))
        app.toolbar = CreateToolbar(app);
    if (OptionOn(app, kOptStatusBar))
        app.status = CreateStatusBar(app);
    InsertRecentMenuItems(app);

    app.display = CreatePositionDisplay(app);
    SendMessageA(hwnd, WM_COMMAND, TimeMode(app), 0);

    SetMainTitle(app, app.untitled.c_str());
    DragAcceptFiles(hwnd, TRUE);
    RefreshControls(app);
    app.startupDir = CurrentDirectory();
    if (app.newPlaylist)
        PostMessageA(hwnd, WM_COMMAND, CMD_NEW, 0);
    return true;
}

int ChildBottom(HWND parent, HWND child)
{
    if (!child)
        return 0;
    RECT r;
    GetWindowRect(child, &r);
    POINT p = {r.left, r.bottom};
    ScreenToClient(parent, &p);
    return p.y;
}

int ChildHeight(HWND child)
{
    if (!child)
        return 0;
    RECT r;
    GetWindowRect(child, &r);
    return r.bottom - r.top;
}

void OnGetMinMaxInfo(PlayerApp& app, HWND hwnd, MINMAXINFO* info)
{
    if (!app.display)
        return;
    RECT window;
    GetWindowRect(hwnd, &window);
    info->ptMinTrackSize.y = MinTrackHeight(window.bottom - window.top, ChildHeight(app.display));
}

// The main window's normal rectangle in screen coordinates.
bool NormalRect(HWND hwnd, WindowPos& pos)
{
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof(wp);
    if (!GetWindowPlacement(hwnd, &wp))
        return false;
    RECT work = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const RECT& r = wp.rcNormalPosition;
    pos = {r.left + work.left, r.top + work.top, r.right - r.left, r.bottom - r.top};
    return true;
}

std::string CheckedPlayThruText(PlayerApp& app)
{
    HMENU playThru = SubMenu(app, MENUPOS_PLAYTHRU);
    int count = GetMenuItemCount(playThru);
    for (int i = 0; i < count; ++i) {
        if (GetMenuState(playThru, i, MF_BYPOSITION) & MF_CHECKED) {
            char text[MAX_PATH] = {};
            GetMenuStringA(playThru, i, text, sizeof(text), MF_BYPOSITION);
            return text;
        }
    }
    return std::string();
}

void SaveSettingsOnExit(PlayerApp& app, HWND hwnd)
{
    SettingsStore& store = PlayerStore();
    WindowPos pos;
    if (NormalRect(hwnd, pos)) {
        RECT desk;
        GetWindowRect(GetDesktopWindow(), &desk);
        SaveWindowPos(store, "Player", desk.right, desk.bottom, pos);
    }
    PlayerSettings s;
    for (int i = 0; i < kOptionCount; ++i)
        s.options[i] = OptionOn(app, static_cast<OptionIndex>(i));
    s.folders = app.folders;
    s.out = CheckedPlayThruText(app);
    s.lamps1 = app.sequencer->LampSelection1();
    s.lamps2 = app.sequencer->LampSelection2();
    s.masterVolume = app.sequencer->MasterVolume();
    SavePlayerSettings(store, s);
}

void OnDestroy(PlayerApp& app, HWND hwnd)
{
    SaveSettingsOnExit(app, hwnd);
    app.sequencer->Stop();
    PostQuitMessage(0);
}

void OnDropFiles(PlayerApp& app, HDROP drop)
{
    char path[MAX_PATH] = {};
    UINT n = DragQueryFileA(drop, 0, path, sizeof(path));
    DragFinish(drop);
    if (n > 0 && n < MAX_PATH)
        OpenPathAsDropped(app, path);
}

// Toolbar tooltips ask the toolbar's parent for their text.
LRESULT OnNotify(PlayerApp& app, NMHDR* header)
{
    if (header->code == TTN_GETDISPINFOA) {
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(header);
        lstrcpynA(info->szText, ToolbarTip(app, static_cast<int>(header->idFrom)).c_str(), sizeof(info->szText));
        info->lpszText = info->szText;
        info->hinst = nullptr;
    } else if (header->code == TTN_GETDISPINFOW) {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
        const std::string tip = ToolbarTip(app, static_cast<int>(header->idFrom));
        MultiByteToWideChar(CP_ACP, 0, tip.c_str(), -1, info->szText, sizeof(info->szText) / sizeof(info->szText[0]));
        info->lpszText = info->szText;
        info->hinst = nullptr;
    }
    return 0;
}

// The program state is attached at WM_NCCREATE; the few messages that come
// before it (WM_GETMINMAXINFO) go to the default handling.
PlayerApp* AttachedApp(HWND hwnd, UINT msg, LPARAM lParam)
{
    if (msg == WM_NCCREATE) {
        auto* app = static_cast<PlayerApp*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(app));
        return app;
    }
    return reinterpret_cast<PlayerApp*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

LRESULT CALLBACK MainWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    PlayerApp* attached = AttachedApp(hwnd, msg, lParam);
    if (!attached)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    PlayerApp& app = *attached;
    switch (msg) {
    case WM_CREATE:
        return OnCreate(app, hwnd) ? 0 : -1;
    case WM_SIZE:
        LayoutMainWindow(app);
        return 0;
    case WM_GETMINMAXINFO:
        OnGetMinMaxInfo(app, hwnd, reinterpret_cast<MINMAXINFO*>(lParam));
        return 0;
    case WM_PAINT:
        ValidateRect(hwnd, nullptr);
        return 0;
    case WM_COMMAND:
        OnMainCommand(app, LOWORD(wParam));
        return 0;
    case WM_NOTIFY:
        return OnNotify(app, reinterpret_cast<NMHDR*>(lParam));
    case ZM_PLAYDONE:
        OnPlayDone(app, wParam);
        return 0;
    case WM_DROPFILES:
        OnDropFiles(app, reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_COPYDATA:
        return ReceiveHandoff(hwnd, reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    case ZM_OPEN_HANDED:
        OpenHandedPath(app);
        return 0;
    case WM_CLOSE:
        if (playlist_seam::ConfirmClose(hwnd))
            DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        OnDestroy(app, hwnd);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

PlayerApp* AppOfMainWindow(HWND main)
{
    return main ? reinterpret_cast<PlayerApp*>(GetWindowLongPtrA(main, GWLP_USERDATA)) : nullptr;
}

void LayoutMainWindow(PlayerApp& app)
{
    if (app.toolbar)
        SendMessageA(app.toolbar, TB_AUTOSIZE, 0, 0);
    if (app.status) {
        SendMessageA(app.status, WM_SIZE, 0, 0);
        UpdateStatusParts(app);
    }
    RECT client;
    GetClientRect(app.main, &client);
    DisplayPlacement p = PlaceDisplay(client.bottom, ChildBottom(app.main, app.toolbar), ChildHeight(app.status));
    if (p.growBy > 0 && !IsIconic(app.main)) {
        RECT window;
        GetWindowRect(app.main, &window);
        SetWindowPos(app.main, nullptr, 0, 0, window.right - window.left, window.bottom - window.top + p.growBy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        return;  // the resize lays the window out again
    }
    if (app.display) {
        MoveWindow(app.display, 0, p.top, client.right, p.height, TRUE);
        SendMessageA(app.display, WM_SIZE, 0, MAKELPARAM(client.right, p.height));
    }
}

HWND CreateMainWindow(PlayerApp& app, const RECT& place)
{
    // Creation sets app.main (WM_CREATE runs before this returns).
    return CreateWindowExA(0, kMainClassName, "", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, place.left, place.top,
                           place.right, place.bottom, nullptr, nullptr, app.instance, &app);
}

bool RegisterMainClass(HINSTANCE instance)
{
    WNDCLASSA wc = {};
    wc.style = 0;
    wc.lpfnWndProc = MainWndProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, "IDI_0ICON");
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszMenuName = MAKEINTRESOURCEA(IDR_MAINMENU);
    wc.lpszClassName = kMainClassName;
    return RegisterClassA(&wc) != 0;
}

}  // namespace zub
