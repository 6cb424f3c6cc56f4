// The grid's two windows, subclassed: a right click anywhere in the grid
// asks the dialog for its popup menu, and the outer window's scroll bars
// scroll by the playlist's own rules (never past a hidden song). The mouse
// wheel on the dialog follows the same rules.
#include "playlist_dialog.h"

namespace playlist {

namespace {

PlaylistWindow* FromGrid(HWND outer)
{
    return WindowOf(GetParent(outer));
}

void AskForContextMenu(HWND dialog, HWND from)
{
    const DWORD pos = GetMessagePos();
    PostMessageA(dialog, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(from), static_cast<LPARAM>(pos));
}

void OnVScroll(PlaylistWindow& w, int code)
{
    PlaylistSession& s = *w.session;
    switch (code) {
    case SB_LINEUP:
        s.WheelStep(-1);
        break;
    case SB_LINEDOWN:
        s.WheelStep(1);
        break;
    case SB_PAGEUP:
        s.HalfPage(-1);
        break;
    case SB_PAGEDOWN:
        s.HalfPage(1);
        break;
    default:
        break;
    }
}

void OnHScroll(PlaylistWindow& w, int code)
{
    if (code == SB_LINERIGHT || code == SB_PAGERIGHT)
        w.session->ScrollColumn(1);
    else if (code == SB_LINELEFT || code == SB_PAGELEFT)
        w.session->ScrollColumn(-1);
}

LRESULT CALLBACK OuterProc(HWND outer, UINT message, WPARAM wParam, LPARAM lParam)
{
    PlaylistWindow* w = FromGrid(outer);
    if (!w || !w->outerProc)
        return DefWindowProcA(outer, message, wParam, lParam);
    switch (message) {
    case WM_VSCROLL:
        if (w->session)
            OnVScroll(*w, LOWORD(wParam));
        return 0;
    case WM_HSCROLL:
        if (w->session)
            OnHScroll(*w, LOWORD(wParam));
        return 0;
    case WM_NCPAINT:
        return 0;  // its own scroll bars lie outside the dialog
    case WM_RBUTTONUP:
        AskForContextMenu(w->dialog, outer);
        return 0;
    default:
        return CallWindowProcA(w->outerProc, outer, message, wParam, lParam);
    }
}

LRESULT CALLBACK InnerProc(HWND inner, UINT message, WPARAM wParam, LPARAM lParam)
{
    PlaylistWindow* w = FromGrid(GetParent(inner));
    if (!w || !w->innerProc)
        return DefWindowProcA(inner, message, wParam, lParam);
    // The grid itself never sees the release, so that it raises no menu
    // request of its own for the same click.
    if (message == WM_RBUTTONUP) {
        AskForContextMenu(w->dialog, inner);
        return 0;
    }
    return CallWindowProcA(w->innerProc, inner, message, wParam, lParam);
}

}  // namespace

void HookGridWindows(PlaylistWindow& w)
{
    w.outerProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(w.grid->Outer(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OuterProc)));
    if (w.grid->Inner())
        w.innerProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(w.grid->Inner(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(InnerProc)));
}

void UnhookGridWindows(PlaylistWindow& w)
{
    if (!w.grid)
        return;
    if (w.outerProc)
        SetWindowLongPtrA(w.grid->Outer(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(w.outerProc));
    if (w.innerProc && w.grid->Inner())
        SetWindowLongPtrA(w.grid->Inner(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(w.innerProc));
    w.outerProc = w.innerProc = nullptr;
}

void OnMouseWheel(PlaylistWindow& w, WPARAM wParam)
{
    const short delta = static_cast<short>(HIWORD(wParam));
    if (delta < 0)
        w.session->WheelStep(1);
    else if (delta > 0)
        w.session->WheelStep(-1);
}

}  // namespace playlist
