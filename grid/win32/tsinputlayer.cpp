#include "tsinputlayer.h"

#include <windowsx.h>

#include "tsgrid.h"

namespace {

uint32_t KeyMods()
{
    uint32_t mods = 0;
    if (GetKeyState(VK_SHIFT) < 0)
        mods |= TS_MOD_SHIFT;
    if (GetKeyState(VK_CONTROL) < 0)
        mods |= TS_MOD_CONTROL;
    if (GetKeyState(VK_MENU) < 0)
        mods |= TS_MOD_ALT;
    return mods;
}

uint32_t MouseMods(WPARAM wParam)
{
    uint32_t mods = 0;
    if (wParam & MK_SHIFT)
        mods |= TS_MOD_SHIFT;
    if (wParam & MK_CONTROL)
        mods |= TS_MOD_CONTROL;
    return mods;
}

void Press(TsGrid& grid, HWND window, uint32_t button, WPARAM wParam, LPARAM lParam)
{
    // The keyboard first: an open editor ends on losing it, before the
    // press moves the focus cell.
    if (GetFocus() != window && grid.Enabled())
        SetFocus(window);
    grid.MouseDown(button, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), MouseMods(wParam),
                   static_cast<uint32_t>(GetMessageTime()));
}

}  // namespace

bool TsInputLayer(TsGrid& grid, HWND window, UINT message, WPARAM wParam, LPARAM lParam, intptr_t* result)
{
    *result = 0;
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        return grid.KeyDown(static_cast<uint32_t>(wParam), KeyMods());
    case WM_KEYUP:
    case WM_SYSKEYUP:
        return grid.KeyUp(static_cast<uint32_t>(wParam), KeyMods());
    case WM_CHAR:
        return grid.Char(static_cast<uint32_t>(wParam & 0xFF), KeyMods());
    case WM_DEADCHAR:
        return true;
    case WM_SYSCHAR:
    case WM_SYSDEADCHAR:
        return false;  // menu mnemonics
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        Press(grid, window, TS_BUTTON_LEFT, wParam, lParam);
        return true;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
        Press(grid, window, TS_BUTTON_RIGHT, wParam, lParam);
        return true;
    case WM_LBUTTONUP:
        grid.MouseUp(TS_BUTTON_LEFT, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), MouseMods(wParam));
        return true;
    case WM_RBUTTONUP:
        // Handled here, so no second context menu comes from the default procedure.
        grid.MouseUp(TS_BUTTON_RIGHT, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), MouseMods(wParam));
        return true;
    case WM_MOUSEMOVE:
        grid.MouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), MouseMods(wParam));
        return true;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
        return true;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != window)
            grid.CaptureLost();
        return false;
    case WM_CONTEXTMENU:
        grid.ContextMenuRequest();
        return true;
    case WM_SETFOCUS:
        grid.FocusGained();
        return true;
    case WM_KILLFOCUS:
        grid.FocusLost();
        return true;
    case WM_ENABLE:
        grid.SetEnabled(wParam != 0);
        return true;
    default:
        return message >= TSM_INPUTFIRST && message <= TSM_INPUTLAST;
    }
}
