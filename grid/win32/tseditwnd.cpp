#include "tseditwnd.h"

#include <algorithm>

namespace {

const int kInset = 1;  // the border stands on the cell's edge

}  // namespace

bool TsEditWindow::Open(const TsPixels& cell, const char* text, int32_t maxLength, uintptr_t cellFont)
{
    Destroy();
    closing_ = false;
    edit_ = CreateWindowExA(0, "EDIT", text ? text : "",
                            WS_CHILD | WS_BORDER | ES_AUTOHSCROLL | ES_LEFT, 0, 0, 0, 0, grid_,
                            reinterpret_cast<HMENU>(static_cast<uintptr_t>(1)), GetModuleHandleA(nullptr), nullptr);
    if (!edit_)
        return false;
    HFONT font = reinterpret_cast<HFONT>(cellFont);
    SendMessageA(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(font ? font : GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    SendMessageA(edit_, EM_LIMITTEXT, static_cast<WPARAM>(maxLength > 0 ? maxLength : 1), 0);
    SetWindowLongPtrA(edit_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    original_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc)));
    Move(cell);
    ShowWindow(edit_, SW_SHOW);
    SetFocus(edit_);
    return true;
}

void TsEditWindow::Move(const TsPixels& cell)
{
    if (!edit_)
        return;
    // At least one line of the font high, whatever the row's height.
    int height = std::max<int>(cell.bottom - cell.top + 2 * kInset, GetSystemMetrics(SM_CYMENU));
    SetWindowPos(edit_, HWND_TOP, cell.left - kInset, cell.top - kInset, cell.right - cell.left + 2 * kInset, height,
                 SWP_NOACTIVATE);
}

void TsEditWindow::Close()
{
    if (!edit_ || closing_)
        return;
    closing_ = true;  // its loss of the keyboard no longer ends anything
    if (GetFocus() == edit_)
        SetFocus(grid_);
    ShowWindow(edit_, SW_HIDE);
    // Destroyed after the current message: it may be inside its own procedure.
    PostMessageA(grid_, TSM_DEFERRED, TS_DEFER_EDITOR, 0);
}

void TsEditWindow::Destroy()
{
    if (!edit_)
        return;
    HWND w = edit_;
    edit_ = nullptr;
    SetWindowLongPtrA(w, GWLP_USERDATA, 0);
    DestroyWindow(w);
    closing_ = false;
}

std::string TsEditWindow::Text()
{
    if (!edit_)
        return std::string();
    char text[TS_VALUE_MAX + 2] = "";
    GetWindowTextA(edit_, text, sizeof text);
    return text;
}

void TsEditWindow::SetText(const char* text)
{
    if (edit_)
        SetWindowTextA(edit_, text ? text : "");
}

void TsEditWindow::Selection(int32_t* caret, int32_t* length)
{
    DWORD start = 0, end = 0;
    if (edit_)
        SendMessageA(edit_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    if (start == setStart_ && end == setEnd_) {
        *caret = setCaret_;
        *length = setLength_;
        return;
    }
    if (start == end) {
        *caret = static_cast<int32_t>(start);
        *length = 0;
        return;
    }
    // The user made this selection: the caret shows which end is active.
    POINT at = {0, 0};
    GetCaretPos(&at);
    LRESULT hit = SendMessageA(edit_, EM_CHARFROMPOS, 0, MAKELPARAM(at.x, at.y));
    DWORD index = LOWORD(hit);
    bool atStart = index <= start || (index < end && index - start < end - index);
    *caret = static_cast<int32_t>(atStart ? start : end);
    *length = static_cast<int32_t>(atStart ? end - start : start - end);
}

void TsEditWindow::SetSelection(int32_t caret, int32_t length)
{
    if (!edit_)
        return;
    // The control puts its caret at the second position.
    int32_t anchor = caret + length;
    SendMessageA(edit_, EM_SETSEL, static_cast<WPARAM>(anchor), static_cast<LPARAM>(caret));
    DWORD start = 0, end = 0;
    SendMessageA(edit_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    setStart_ = start, setEnd_ = end;
    setCaret_ = caret, setLength_ = length;
}

void TsEditWindow::Type(uint32_t code)
{
    if (edit_)
        SendMessageA(edit_, WM_CHAR, code, 1);
}

void TsEditWindow::End(bool accept)
{
    if (!closing_ && onEnd_)
        onEnd_(context_, accept);
}

LRESULT CALLBACK TsEditWindow::Proc(HWND w, UINT m, WPARAM wp, LPARAM lp)
{
    TsEditWindow* self = reinterpret_cast<TsEditWindow*>(GetWindowLongPtrA(w, GWLP_USERDATA));
    WNDPROC original = self ? self->original_ : nullptr;
    if (!self)
        return DefWindowProcA(w, m, wp, lp);
    switch (m) {
    case WM_GETDLGCODE:
        // Enter, Esc and Tab belong to the editor, not to the dialog around.
        return CallWindowProcA(original, w, m, wp, lp) | DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
        if (wp == VK_RETURN || wp == VK_TAB || wp == VK_ESCAPE) {
            self->End(wp != VK_ESCAPE);
            return 0;
        }
        break;
    case WM_CHAR:
        if (wp == '\r' || wp == '\t' || wp == 0x1B)
            return 0;  // no beep for the keys that ended the edit
        break;
    case WM_KILLFOCUS: {
        LRESULT r = CallWindowProcA(original, w, m, wp, lp);
        self->End(true);
        return r;
    }
    default:
        break;
    }
    return CallWindowProcA(original, w, m, wp, lp);
}
