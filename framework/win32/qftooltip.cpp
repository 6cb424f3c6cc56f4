// QfTooltipMgr: one tooltip window per thread, shown after a delay and
// removed after a while, timed by the framework's timer service. Windows
// and timers belong to their thread, so each thread that shows tooltips has
// its own state in a thread bank.
#include "qfinternal.h"

namespace {

const char kClassName[] = "QfTooltip";
const uint32_t kShowTicks = 10;   // half a second
const uint32_t kHideTicks = 100;  // five seconds

struct Tooltip {
    QfTimerClient timer = {};  // first: a timer call finds its tooltip from it
    HWND window = nullptr;
    QfString* text = nullptr;
    POINT at = {};
    uint32_t showId = 0;
    uint32_t hideId = 0;
    bool buttonStyle = false;
    const char* fontSpec = "MS Sans Serif: 8";
};

uint32_t g_bank = QF_BANK_FAILED;

Tooltip* ThreadTooltip(bool create)
{
    return QfThreadObject<Tooltip>(g_bank, create);
}

// Thread exit: the thread's timers, window and text go with it.
void QFAPI DropTooltip(void* bank)
{
    Tooltip** slot = static_cast<Tooltip**>(bank);
    Tooltip* tip = *slot;
    if (!tip)
        return;
    *slot = nullptr;
    QfTimers()->RemoveAllTimers(&tip->timer);
    if (tip->window && IsWindow(tip->window))
        DestroyWindow(tip->window);
    QfText()->ReleaseString(tip->text);
    delete tip;
}

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

HFONT PickFont(const Tooltip& tip, QfGraphic** holder)
{
    *holder = nullptr;
    if (QfDisplay() && QfDisplay()->GetFont(holder, tip.fontSpec) >= 0 && *holder && (*holder)->value)
        return reinterpret_cast<HFONT>((*holder)->value);
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void OnPaint(const Tooltip& tip, HWND window)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT r;
    GetClientRect(window, &r);
    COLORREF back = tip.buttonStyle ? ToColorRef("Color_BtnFace", COLOR_BTNFACE)
                                    : ToColorRef("Color_InfoBk", COLOR_INFOBK);
    COLORREF fore = tip.buttonStyle ? ToColorRef("Color_BtnText", COLOR_BTNTEXT)
                                    : ToColorRef("Color_InfoText", COLOR_INFOTEXT);
    HBRUSH brush = CreateSolidBrush(back);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    QfGraphic* font = nullptr;
    HGDIOBJ old = SelectObject(dc, PickFont(tip, &font));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, fore);
    const char* text = tip.text ? QfStringText(tip.text) : "";
    TextOutA(dc, 3, 1, text, lstrlenA(text));
    SelectObject(dc, old);
    if (font)
        QfDisplay()->ReleaseObject(font);
    EndPaint(window, &ps);
}

// The window runs on the thread that made it, which owns its tooltip.
LRESULT CALLBACK TooltipProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Tooltip* tip = ThreadTooltip(false);
    switch (message) {
    case WM_PAINT:
        if (!tip)
            break;
        OnPaint(*tip, window);
        return 0;
    case WM_NCHITTEST:
        return HTTRANSPARENT;
    case WM_DESTROY:
        if (tip && tip->window == window)
            tip->window = nullptr;
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool EnsureWindow(Tooltip& tip)
{
    if (tip.window && IsWindow(tip.window))
        return true;
    WNDCLASSA wc = {};
    wc.style = CS_SAVEBITS;
    wc.lpfnWndProc = TooltipProc;
    wc.hInstance = g_qfModule;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    RegisterClassA(&wc);
    tip.window = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kClassName, "", WS_POPUP | WS_BORDER, 0, 0, 10,
                                 10, nullptr, nullptr, g_qfModule, nullptr);
    return tip.window != nullptr;
}

void Appear(Tooltip& tip)
{
    if (!EnsureWindow(tip))
        return;
    HDC dc = GetDC(tip.window);
    QfGraphic* font = nullptr;
    HGDIOBJ old = SelectObject(dc, PickFont(tip, &font));
    const char* text = tip.text ? QfStringText(tip.text) : "";
    SIZE size = {};
    GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
    SelectObject(dc, old);
    if (font)
        QfDisplay()->ReleaseObject(font);
    ReleaseDC(tip.window, dc);
    SetWindowPos(tip.window, HWND_TOPMOST, tip.at.x, tip.at.y, size.cx + 8, size.cy + 4,
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
    InvalidateRect(tip.window, nullptr, TRUE);
    tip.hideId = QfTimers()->AddTimer(&tip.timer, kHideTicks);
    if (!tip.hideId)
        QfRoot()->DiagnosticPrintf(0, "TS: (QfTooltipMgr) Event request failed; Tooltip may not be removed.");
}

void QFAPI OnTimer(QfTimerClient* client, uint32_t id)
{
    Tooltip& tip = *reinterpret_cast<Tooltip*>(client);
    if (id == tip.showId) {
        tip.showId = 0;
        Appear(tip);
    } else if (id == tip.hideId) {
        tip.hideId = 0;
        if (tip.window)
            ShowWindow(tip.window, SW_HIDE);
    }
}

}  // namespace

void QfTooltipInit()
{
    if (IQfThreadMgr* threads = QfThreads())
        g_bank = threads->AllocBank(sizeof(Tooltip*), DropTooltip);
}

int32_t QfTooltipShow(HWND owner, const char* text, int x, int y)
{
    Tooltip* tip = ThreadTooltip(text != nullptr);
    if (!tip)
        return text ? 0 : 1;
    tip->timer.onTimer = OnTimer;
    QfTimers()->RemoveAllTimers(&tip->timer);
    tip->showId = tip->hideId = 0;
    if (!text) {
        if (tip->window)
            ShowWindow(tip->window, SW_HIDE);
        return 1;
    }
    QfString* made = QfText()->MakeString(text, -1);
    QfText()->ReleaseString(tip->text);
    tip->text = made;
    POINT p = {x, y + GetSystemMetrics(SM_CYCURSOR) / 2};
    if (owner)
        ClientToScreen(owner, &p);
    tip->at = p;
    tip->showId = QfTimers()->AddTimer(&tip->timer, kShowTicks);
    if (!tip->showId) {
        QfRoot()->DiagnosticPrintf(0, "TS: (QfTooltipMgr) Event request failed; Tooltip may not appear.");
        return 0;
    }
    return 1;
}
