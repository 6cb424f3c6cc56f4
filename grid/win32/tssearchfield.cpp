#include "tssearchfield.h"

#include "tsservices.h"

namespace {

// A colour specification through the framework's display service.
bool ColorOf(const char* spec, COLORREF* out)
{
    if (!spec || !*spec || !Ts().display)
        return false;
    QfGraphic* color = nullptr;
    Ts().display->GetColor(&color, spec);
    bool known = color && color->value != static_cast<uintptr_t>(-1) && color->value != 0xFFFFFFFFu;
    if (known)
        *out = static_cast<COLORREF>(color->value & 0xFFFFFF);
    if (color)
        Ts().display->ReleaseObject(color);
    return known;
}

}  // namespace

TsSearchField::~TsSearchField()
{
    if (field_)
        DestroyWindow(field_);
    if (brush_)
        DeleteObject(brush_);
}

void TsSearchField::Show(const char* text, const TsPixels& beside, const char* background, const char* foreground)
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
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(grid_, WM_GETFONT, 0, 0));
    if (!font)
        font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    SendMessageA(field_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    COLORREF back = GetSysColor(COLOR_INFOBK), fore = GetSysColor(COLOR_INFOTEXT);
    ColorOf(background, &back);
    ColorOf(foreground, &fore);
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
