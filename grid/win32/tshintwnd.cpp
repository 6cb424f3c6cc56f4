#include "tshintwnd.h"

#include <string>

#include "tsservices.h"

namespace {

const char kClass[] = "TsScrollHint";

struct ThreadHint {
    HWND window = nullptr;
    int users = 0;
    std::string text;
};

thread_local ThreadHint t_hint;

LRESULT CALLBACK HintProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        RECT r;
        GetClientRect(window, &r);
        SetBkColor(dc, GetSysColor(COLOR_INFOBK));
        ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
        HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
        SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
        SetBkMode(dc, TRANSPARENT);
        TextOutA(dc, 4, 2, t_hint.text.c_str(), static_cast<int>(t_hint.text.size()));
        SelectObject(dc, old);
        EndPaint(window, &ps);
        return 0;
    }
    case WM_NCHITTEST:
        return HTTRANSPARENT;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

bool EnsureWindow()
{
    if (t_hint.window && IsWindow(t_hint.window))
        return true;
    WNDCLASSA wc = {};
    wc.style = CS_SAVEBITS;
    wc.lpfnWndProc = HintProc;
    wc.hInstance = Ts().module;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kClass;
    RegisterClassA(&wc);  // fails harmlessly when the class exists
    t_hint.window = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kClass, "", WS_POPUP | WS_BORDER, 0, 0, 10, 10,
                                    nullptr, nullptr, Ts().module, nullptr);
    return t_hint.window != nullptr;
}

}  // namespace

TsScrollHint::TsScrollHint()
{
    ++t_hint.users;
}

TsScrollHint::~TsScrollHint()
{
    if (--t_hint.users == 0 && t_hint.window) {
        DestroyWindow(t_hint.window);
        t_hint.window = nullptr;
        t_hint.text.clear();
    }
}

void TsScrollHint::Show(const char* text, POINT at, bool vertical)
{
    if (!text || !*text) {
        Hide();
        return;
    }
    if (!EnsureWindow())
        return;
    bool same = t_hint.text == text && IsWindowVisible(t_hint.window);
    t_hint.text = text;
    SetWindowTextA(t_hint.window, text);  // for tools that read what is shown
    HDC dc = GetDC(t_hint.window);
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SIZE size = {};
    GetTextExtentPoint32A(dc, text, static_cast<int>(t_hint.text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(t_hint.window, dc);
    int width = size.cx + 10, height = size.cy + 6;
    int x = vertical ? at.x - width : at.x;
    int y = vertical ? at.y : at.y - height;
    SetWindowPos(t_hint.window, HWND_TOPMOST, x, y, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    if (!same)
        InvalidateRect(t_hint.window, nullptr, FALSE);
    UpdateWindow(t_hint.window);
}

void TsScrollHint::Hide()
{
    t_hint.text.clear();
    if (t_hint.window)
        ShowWindow(t_hint.window, SW_HIDE);
}

bool TsScrollHint::Shown() const
{
    return t_hint.window && IsWindowVisible(t_hint.window);
}

const char* TsScrollHint::Text() const
{
    return t_hint.text.c_str();
}
