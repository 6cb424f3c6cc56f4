#include "tssearchfield.h"

TsSearchField::~TsSearchField()
{
    if (field_)
        DestroyWindow(field_);
    if (brush_)
        DeleteObject(brush_);
}

void TsSearchField::Show(const char* text, const TsPixels& beside, COLORREF back, COLORREF fore, HFONT font)
{
    if (!text) {
        if (field_)
            ShowWindow(field_, SW_HIDE);
        return;
    }
    if (!field_) {
        field_ = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_BORDER | SS_LEFT | SS_NOPREFIX | SS_CENTERIMAGE, 0, 0,
                                 0, 0, grid_, nullptr, GetModuleHandleA(nullptr), nullptr);
        if (!field_)
            return;
    }
    if (!font)
        font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    SendMessageA(field_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (!brush_ || back != back_) {
        if (brush_)
            DeleteObject(brush_);
        brush_ = CreateSolidBrush(back);
    }
    back_ = back, text_ = fore;
    // As wide as eight M of the grid's font, one line high.
    SIZE m = {64, 16};
    if (HDC dc = GetDC(field_)) {
        HGDIOBJ old = SelectObject(dc, font);
        GetTextExtentPoint32A(dc, "MMMMMMMM", 8, &m);
        SelectObject(dc, old);
        ReleaseDC(field_, dc);
    }
    int width = m.cx + 8, height = m.cy + 6;
    RECT client;
    GetClientRect(grid_, &client);
    int x = beside.left, y = beside.bottom;
    if (y + height > client.bottom)
        y = beside.top - height;  // above the cell when there is no room below
    if (x + width > client.right)
        x = client.right - width;
    x = x < 0 ? 0 : x;
    y = y < 0 ? 0 : y;
    SetWindowTextA(field_, text);
    SetWindowPos(field_, HWND_TOP, x, y, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    InvalidateRect(field_, nullptr, TRUE);
}

HBRUSH TsSearchField::Colors(HWND from, HDC dc)
{
    if (!field_ || from != field_)
        return nullptr;
    SetBkColor(dc, back_);
    SetTextColor(dc, text_);
    return brush_;
}
