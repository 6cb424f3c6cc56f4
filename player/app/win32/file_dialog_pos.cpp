#include "file_dialog_pos.h"

#include <optional>
#include <string>

#include "player_settings.h"
#include "registry_store.h"

namespace zub {

namespace {

constexpr UINT_PTR kMoveTimer = 1;
constexpr UINT kMoveDelayMs = 10;

// One file dialog is open at a time, so the hook's state is program-wide.
struct HookState {
    std::string windowName;
    std::optional<WindowPos> saved;
};
HookState& State()
{
    static HookState state;
    return state;
}

RECT Desktop()
{
    RECT desk;
    GetWindowRect(GetDesktopWindow(), &desk);
    return desk;
}

void OnInit(HWND dialog, const OPENFILENAMEA* ofn)
{
    HookState& s = State();
    s.windowName = reinterpret_cast<const char*>(ofn->lCustData);
    RECT desk = Desktop();
    s.saved = LoadWindowPos(PlayerStore(), s.windowName, desk.right, desk.bottom);
    if (s.saved) {
        // Out of sight until the saved place is applied.
        SetWindowPos(dialog, nullptr, desk.right, desk.bottom, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void OnDestroy(HWND dialog)
{
    HookState& s = State();
    RECT r;
    if (s.windowName.empty() || !GetWindowRect(dialog, &r))
        return;
    RECT desk = Desktop();
    SaveWindowPos(PlayerStore(), s.windowName, desk.right, desk.bottom,
                  {r.left, r.top, r.right - r.left, r.bottom - r.top});
    s.windowName.clear();
    s.saved.reset();
}

UINT_PTR CALLBACK PositionHook(HWND hook, UINT msg, WPARAM wParam, LPARAM lParam)
{
    // The hook is a child of the explorer-style dialog.
    HWND dialog = GetParent(hook);
    switch (msg) {
    case WM_INITDIALOG:
        OnInit(dialog, reinterpret_cast<const OPENFILENAMEA*>(lParam));
        break;
    case WM_NOTIFY:
        if (reinterpret_cast<NMHDR*>(lParam)->code == CDN_INITDONE && State().saved)
            SetTimer(hook, kMoveTimer, kMoveDelayMs, nullptr);
        break;
    case WM_TIMER:
        if (wParam == kMoveTimer) {
            KillTimer(hook, kMoveTimer);
            if (const auto& p = State().saved)
                MoveWindow(dialog, p->left, p->top, p->width, p->height, TRUE);
        }
        break;
    case WM_DESTROY:
        OnDestroy(dialog);
        break;
    }
    return 0;
}

}  // namespace

void UsePositionHook(OPENFILENAMEA& ofn, const char* windowName)
{
    ofn.Flags |= OFN_EXPLORER | OFN_ENABLEHOOK;
    ofn.lpfnHook = PositionHook;
    ofn.lCustData = reinterpret_cast<LPARAM>(windowName);
}

}  // namespace zub
