// QfTooltipMgr: one tooltip window per process, shown after a delay and
// removed after a while, timed by the framework's own timer service.
#include "qfinternal.h"

namespace {

const char kClassName[] = "QfTooltip";
const uint32_t kShowTicks = 10;   // half a second
const uint32_t kHideTicks = 100;  // five seconds

struct Tooltip {
    QfTimerClient timer;
    HWND window = nullptr;
    QfString* text = nullptr;
    POINT at = {};
    uint32_t showId = 0;
    uint32_t hideId = 0;
    bool buttonStyle = false;
    const char* fontSpec = "MS Sans Serif: 8";
};

Tooltip g_tip;

// A colour value of the display service as a GDI colour; fallback for the
// null colour and for the specials.
COLORREF ToColorRef(const char* spec, int fallbackIndex)
{
    QfGraphic* colour = nullptr;
    COLORREF result = GetSysColor(fallbackIndex);
    if (QfDisplay() && QfDisplay()->GetColor(&colour, spec) >= 0 && colour) {
        uint32_t v = static_cast<uint32_t>(colour->value);
        if ((v >> 24) == 0x20)
            result = GetSysColor(static_cast<int>(v & 0xFF));
        else if ((v >> 24) == 0x00 || (v >> 24) == 0x02)
            result = v;
        QfDisplay()->ReleaseObject(colour);
    }
    return result;
}

HFONT PickFont(QfGraphic** holder)
{
    *holder = nullptr;
    if (QfDisplay() && QfDisplay()->GetFont(holder, g_tip.fontSpec) >= 0 && *holder && (*holder)->value)
        return reinterpret_cast<HFONT>((*holder)->value);
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void OnPaint(HWND window)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT r;
    GetClientRect(window, &r);
    COLORREF back = g_tip.buttonStyle ? ToColorRef("Color_BtnFace", COLOR_BTNFACE)
                                      : ToColorRef("Color_InfoBk", COLOR_INFOBK);
    COLORREF fore = g_tip.buttonStyle ? ToColorRef("Color_BtnText", COLOR_BTNTEXT)
                                      : ToColorRef("Color_InfoText", COLOR_INFOTEXT);
    HBRUSH brush = CreateSolidBrush(back);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    QfGraphic* font = nullptr;
    HGDIOBJ old = SelectObject(dc, PickFont(&font));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, fore);
    const char* text = g_tip.text ? QfStringText(g_tip.text) : "";
    TextOutA(dc, 3, 1, text, lstrlenA(text));
    SelectObject(dc, old);
    if (font)
        QfDisplay()->ReleaseObject(font);
    EndPaint(window, &ps);
}

LRESULT CALLBACK TooltipProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        OnPaint(window);
        return 0;
    case WM_NCHITTEST:
        return HTTRANSPARENT;
    case WM_DESTROY:
        if (g_tip.window == window)
            g_tip.window = nullptr;
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool EnsureWindow()
{
    if (g_tip.window && IsWindow(g_tip.window))
        return true;
    WNDCLASSA wc = {};
    wc.style = CS_SAVEBITS;
    wc.lpfnWndProc = TooltipProc;
    wc.hInstance = g_qfModule;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    RegisterClassA(&wc);
    g_tip.window = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kClassName, "", WS_POPUP | WS_BORDER, 0, 0, 10,
                                   10, nullptr, nullptr, g_qfModule, nullptr);
    return g_tip.window != nullptr;
}

void Appear()
{
    if (!EnsureWindow())
        return;
    HDC dc = GetDC(g_tip.window);
    QfGraphic* font = nullptr;
    HGDIOBJ old = SelectObject(dc, PickFont(&font));
    const char* text = g_tip.text ? QfStringText(g_tip.text) : "";
    SIZE size = {};
    GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
    SelectObject(dc, old);
    if (font)
        QfDisplay()->ReleaseObject(font);
    ReleaseDC(g_tip.window, dc);
    SetWindowPos(g_tip.window, HWND_TOPMOST, g_tip.at.x, g_tip.at.y, size.cx + 8, size.cy + 4,
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
    InvalidateRect(g_tip.window, nullptr, TRUE);
    g_tip.hideId = QfTimers()->AddTimer(&g_tip.timer, kHideTicks);
    if (!g_tip.hideId)
        QfRoot()->DiagnosticPrintf(0, "TS: (QfTooltipMgr) Event request failed; Tooltip may not be removed.");
}

void QFAPI OnTimer(QfTimerClient*, uint32_t id)
{
    if (id == g_tip.showId) {
        g_tip.showId = 0;
        Appear();
    } else if (id == g_tip.hideId) {
        g_tip.hideId = 0;
        if (g_tip.window)
            ShowWindow(g_tip.window, SW_HIDE);
    }
}

}  // namespace

int32_t QfTooltipShow(HWND owner, const char* text, int x, int y)
{
    g_tip.timer.onTimer = OnTimer;
    QfTimers()->RemoveAllTimers(&g_tip.timer);
    g_tip.showId = g_tip.hideId = 0;
    if (!text) {
        if (g_tip.window)
            ShowWindow(g_tip.window, SW_HIDE);
        return 1;
    }
    QfString* made = QfText()->MakeString(text, -1);
    QfText()->ReleaseString(g_tip.text);
    g_tip.text = made;
    POINT p = {x, y + GetSystemMetrics(SM_CYCURSOR) / 2};
    if (owner)
        ClientToScreen(owner, &p);
    g_tip.at = p;
    g_tip.showId = QfTimers()->AddTimer(&g_tip.timer, kShowTicks);
    if (!g_tip.showId) {
        QfRoot()->DiagnosticPrintf(0, "TS: (QfTooltipMgr) Event request failed; Tooltip may not appear.");
        return 0;
    }
    return 1;
}

// The tooltip window, for tests and diagnostics: null until first shown.
HWND QfTooltipWindow()
{
    return g_tip.window;
}
