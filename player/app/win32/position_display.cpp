// The position display: large shadowed digits of the elapsed or remaining
// time in a sunken frame, redrawn group by group five times a second.
#include <windows.h>

#include "player_app.h"
#include "time_display.h"
#include "zub_assert.h"

namespace zub {

const char kDisplayClassName[] = "ZubodeckTWnd";

namespace {

constexpr UINT_PTR kTickTimer = 0;
constexpr UINT kTickMs = 200;
constexpr int kShadowOffset = 3;

// One per display window, attached to it from WM_NCCREATE to WM_NCDESTROY.
struct DisplayState {
    explicit DisplayState(PlayerApp& a) : app(a) {}
    PlayerApp& app;
    GdiObject<HFONT> font;
    DisplayLayout layout;
    TimeRedraw redraw;
    bool timerRunning = false;
};

DisplayState& State(HWND hwnd)
{
    auto* state = reinterpret_cast<DisplayState*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    ZUB_ASSERT(state != nullptr);
    return *state;
}

HFONT MakeFont(int charHeight)
{
    return CreateFontA(-charHeight, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, PROOF_QUALITY, FF_ROMAN, "arial");
}

// Measures the layout text in a font of one height, keeping that font.
TextExtent Measure(HDC dc, int charHeight, GdiObject<HFONT>& font)
{
    font.Reset(MakeFont(charHeight));
    HGDIOBJ old = SelectObject(dc, font.Get());
    TextExtent e;
    SIZE size = {};
    GetTextExtentPoint32A(dc, kTimeLayoutText, kTimeLayoutLength, &size);
    e.cx = size.cx;
    e.cy = size.cy;
    for (int i = 1; i <= kTimeLayoutLength; ++i) {
        GetTextExtentPoint32A(dc, kTimeLayoutText, i, &size);
        e.prefix[i] = size.cx;
    }
    SelectObject(dc, old);
    return e;
}

void OnSize(HWND hwnd, int width, int height)
{
    DisplayState& s = State(hwnd);
    HDC dc = GetDC(hwnd);
    if (!dc)
        return;
    s.layout = ComputeDisplayLayout(width, height, [&](int h) { return Measure(dc, h, s.font); });
    ReleaseDC(hwnd, dc);
    s.redraw.RequestFull();
    InvalidateRect(hwnd, nullptr, TRUE);
}

COLORREF FrameColourRef(FrameColour c)
{
    switch (c) {
    case FrameColour::Grey:
        return RGB(0x80, 0x80, 0x80);
    case FrameColour::Black:
        return RGB(0, 0, 0);
    case FrameColour::White:
        return RGB(0xFF, 0xFF, 0xFF);
    case FrameColour::LightGrey:
        return RGB(0xC0, 0xC0, 0xC0);
    }
    return RGB(0, 0, 0);
}

void DrawFrame(HWND hwnd, HDC dc)
{
    RECT client;
    GetClientRect(hwnd, &client);
    for (const FrameLine& line : SunkenFrameLines(client.right, client.bottom)) {
        if (line.width <= 0 || line.height <= 0)
            continue;
        RECT r = {line.x, line.y, line.x + line.width, line.y + line.height};
        SetBkColor(dc, FrameColourRef(line.colour));
        ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    }
}

// A piece of text with its shadow: the shadow and the background behind it
// first, opaque, then the text itself, transparent.
void DrawPiece(HDC dc, int x, int y, const std::string& text)
{
    SIZE size = {};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    RECT back = {x, y, x + size.cx + kShadowOffset, y + size.cy + kShadowOffset};
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, kDisplayGrey);
    SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
    ExtTextOutA(dc, x + kShadowOffset, y + kShadowOffset, ETO_OPAQUE, &back, text.c_str(),
                static_cast<UINT>(text.size()), nullptr);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    TextOutA(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

// Draws the groups that changed; the window text follows the digits so that
// screen readers (and the UI tests) can read the time.
void DrawTime(HWND hwnd, HDC dc)
{
    DisplayState& s = State(hwnd);
    PlayerApp& app = s.app;
    if (!app.sequencer || !s.font)
        return;
    uint32_t ticks = 0;
    if (app.sequencer->Position(&ticks) != kSeqOk) {
        if (GetWindowTextLengthA(hwnd) != 0)
            SetWindowTextA(hwnd, "");
        return;
    }
    uint32_t ms = app.sequencer->TicksToMs(ticks);
    // The total comes from the open song at every draw: a total cached at
    // position 0 goes stale when a song starts playing before its first draw.
    uint32_t total = app.sequencer->TicksToMs(app.sequencer->Length()) / 1000;
    uint32_t seconds = DisplaySeconds(ms, total, TimeMode(app) == CMD_REMAINING);
    unsigned groups = s.redraw.Plan(seconds);
    HGDIOBJ old = SelectObject(dc, s.font.Get());
    const DisplayLayout& l = s.layout;
    if (groups & kGroupHours)
        DrawPiece(dc, l.x[0], l.y, HoursPiece(seconds));
    if (groups & kGroupMinutes)
        DrawPiece(dc, l.x[2], l.y, MinutesPiece(seconds));
    if (groups & kGroupSeconds)
        DrawPiece(dc, l.x[5], l.y, SecondsPiece(seconds));
    SelectObject(dc, old);
    if (groups != 0)
        SetWindowTextA(hwnd, (HoursPiece(seconds) + MinutesPiece(seconds) + SecondsPiece(seconds)).c_str());
}

// The whole display: on the screen, or into a given device context (a
// picture of the window).
void DrawAll(HWND hwnd, HDC dc)
{
    DrawFrame(hwnd, dc);
    State(hwnd).redraw.RequestFull();
    DrawTime(hwnd, dc);
}

void OnPaint(HWND hwnd)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    DrawAll(hwnd, dc);
    EndPaint(hwnd, &ps);
}

void OnTimer(HWND hwnd)
{
    HDC dc = GetDC(hwnd);
    if (!dc)
        return;
    DrawTime(hwnd, dc);
    ReleaseDC(hwnd, dc);
}

void StartTimer(HWND hwnd)
{
    DisplayState& s = State(hwnd);
    if (!s.timerRunning)
        s.timerRunning = SetTimer(hwnd, kTickTimer, kTickMs, nullptr) != 0;
}

void StopTimer(HWND hwnd)
{
    DisplayState& s = State(hwnd);
    if (s.timerRunning) {
        KillTimer(hwnd, kTickTimer);
        s.timerRunning = false;
    }
}

LRESULT CALLBACK DisplayWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NCCREATE) {
        auto* app = static_cast<PlayerApp*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        ZUB_ASSERT(app != nullptr);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new DisplayState(*app)));
    }
    if (!GetWindowLongPtrA(hwnd, GWLP_USERDATA))
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    switch (msg) {
    case WM_CREATE:
        return 0;
    case WM_SIZE:
        OnSize(hwnd, LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_PAINT:
        OnPaint(hwnd);
        return 0;
    case WM_TIMER:
        OnTimer(hwnd);
        return 0;
    case WM_PRINTCLIENT:
        DrawAll(hwnd, reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_GETFONT:  // the digits' font, for whoever measures the time shown
        return reinterpret_cast<LRESULT>(State(hwnd).font.Get());
    case WM_COMMAND:
        if (LOWORD(wParam) == CMD_PLAY)
            StartTimer(hwnd);
        else if (LOWORD(wParam) == CMD_STOP)
            StopTimer(hwnd);
        return 0;
    case WM_DESTROY:
        StopTimer(hwnd);
        return 0;
    case WM_NCDESTROY:
        delete &State(hwnd);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

HWND CreatePositionDisplay(PlayerApp& app)
{
    RECT client;
    GetClientRect(app.main, &client);
    return CreateWindowExA(0, kDisplayClassName, "", WS_CHILD | WS_VISIBLE, 0, 0, client.right, client.bottom,
                           app.main, nullptr, app.instance, &app);
}

bool RegisterDisplayClass(HINSTANCE instance, HBRUSH background)
{
    WNDCLASSA wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = DisplayWndProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, "IDI_0ICON");
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = kDisplayClassName;
    return RegisterClassA(&wc) != 0;
}

}  // namespace zub
