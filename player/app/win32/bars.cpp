// The toolbar (14 buttons) and the three-part status bar of the main window.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "main_layout.h"
#include "menu_text.h"
#include "player_app.h"

namespace zub {

namespace {

constexpr int kToolbarImages = 12;

struct ButtonSpec {
    int image;  // -1 for a separator
    int command;
    bool enabled;
};

const ButtonSpec kButtons[] = {
    {-1, 0, false},
    {6, CMD_NEW, true},
    {7, CMD_OPEN, true},
    {8, CMD_SAVE, true},
    {-1, 0, false},
    {1, CMD_PREV, false},
    {2, CMD_PLAY, false},
    {3, CMD_STOP, false},
    {4, CMD_PAUSE, false},
    {5, CMD_NEXT, false},
    {-1, 0, false},
    {9, CMD_TOGGLE_TIME, true},
    {10, CMD_MIDI_RESET, true},
    {11, CMD_MASTER_VOLUME, true},
};
constexpr int kButtonCount = sizeof(kButtons) / sizeof(kButtons[0]);

// Width of a text in the status bar's font.
int TextWidth(HWND status, const std::string& text)
{
    HDC dc = GetDC(status);
    if (!dc)
        return 0;
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(status, WM_GETFONT, 0, 0));
    HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
    SIZE size = {};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    if (old)
        SelectObject(dc, old);
    ReleaseDC(status, dc);
    return size.cx;
}

}  // namespace

int ScreenDpi()
{
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
    if (screen)
        ReleaseDC(nullptr, screen);
    return dpi;
}

HWND CreateToolbar(PlayerApp& app)
{
    TBBUTTON buttons[kButtonCount] = {};
    for (int i = 0; i < kButtonCount; ++i) {
        const ButtonSpec& spec = kButtons[i];
        TBBUTTON& b = buttons[i];
        if (spec.image < 0) {
            b.fsStyle = TBSTYLE_SEP;
            continue;
        }
        b.iBitmap = spec.image;
        b.idCommand = spec.command;
        b.fsState = spec.enabled ? TBSTATE_ENABLED : 0;
        b.fsStyle = TBSTYLE_BUTTON;
    }
    // Tooltips ask the main window for their texts (ToolbarTip).
    return CreateToolbarEx(app.main, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | TBSTYLE_TOOLTIPS,
                           IDC_TOOLBAR, kToolbarImages, app.instance, IDB_TOOLBAR, buttons, kButtonCount, 0, 0, 0,
                           0, sizeof(TBBUTTON));
}

std::string ToolbarTip(PlayerApp& app, int command)
{
    bool onToolbar = false;
    for (const ButtonSpec& spec : kButtons)
        onToolbar = onToolbar || (spec.image >= 0 && spec.command == command);
    if (!onToolbar)
        return std::string();
    // The time button has no menu item: it switches between the two labels.
    if (command == CMD_TOGGLE_TIME)
        return LoadResString(IDS_ELAPSED) + " / " + LoadResString(IDS_REMAINING);
    char text[128] = {};
    GetMenuStringA(GetMenu(app.main), command, text, sizeof(text), MF_BYCOMMAND);
    return CommandNameOfMenuText(text);
}

HWND CreateStatusBar(PlayerApp& app)
{
    HWND status = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0,
                                  app.main, reinterpret_cast<HMENU>(IDC_STATUSBAR), app.instance, nullptr);
    if (!status)
        return nullptr;
    app.status = status;
    UpdateStatusParts(app);
    return status;
}

void UpdateStatusParts(PlayerApp& app)
{
    if (!app.status)
        return;
    int widestLabel = std::max(TextWidth(app.status, LoadResString(IDS_ELAPSED)),
                               TextWidth(app.status, LoadResString(IDS_REMAINING)));
    int widestState = 0;
    for (int id = IDS_STOPPED; id <= IDS_STOPPING; ++id)
        widestState = std::max(widestState, TextWidth(app.status, LoadResString(id)));
    RECT client;
    GetClientRect(app.main, &client);
    std::array<int, 3> edges = StatusPartEdges(client.right, widestLabel, widestState, ScreenDpi());
    SendMessageA(app.status, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

void SetStatusText(PlayerApp& app, int part, const std::string& text)
{
    if (app.status)
        SendMessageA(app.status, SB_SETTEXTA, part, reinterpret_cast<LPARAM>(text.c_str()));
}

}  // namespace zub
