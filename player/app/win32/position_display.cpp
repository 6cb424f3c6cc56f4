// The position display: large shadowed digits of the elapsed or remaining
// time in a sunken frame, redrawn group by group five times a second.
#include <windows.h>

#include "player_app.h"
#include "time_display.h"

namespace zub {

const char kDisplayClassName[] = "ZubodeckTWnd";

namespace {

constexpr UINT_PTR kTickTimer = 0;
constexpr UINT kTickMs = 200;
constexpr COLORREF kBackground = RGB(0xE0, 0xE0, 0xE0);
constexpr int kShadowOffset = 3;

struct DisplayState {
    HFONT font = nullptr;
    DisplayLayout layout;
    TimeRedraw redraw;
    bool timerRunning = false;
};

DisplayState& State()
{
    static DisplayState state;
    return state;
}

HFONT MakeFont(int charHeight)
{
    return CreateFontA(-charHeight, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, PROOF_QUALITY, FF_ROMAN, "arial");
}

// Measures the layout text in a font of one height, keeping that font.
TextExtent Measure(HDC dc, int charHeight, HFONT& font)
{
    if (font)
        DeleteObject(font);
    font = MakeFont(charHeight);
    HGDIOBJ old = SelectObject(dc, font);
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
    DisplayState& s = State();
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
    SetBkColor(dc, kBackground);
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
    DisplayState& s = State();
    PlayerApp& app = App();
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
    uint32_t seconds = DisplaySeconds(ms, total, app.timeMode == CMD_REMAINING);
    unsigned groups = s.redraw.Plan(seconds);
    HGDIOBJ old = SelectObject(dc, s.font);
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

void OnPaint(HWND hwnd)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    DrawFrame(hwnd, dc);
    State().redraw.RequestFull();
    DrawTime(hwnd, dc);
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
    DisplayState& s = State();
    if (!s.timerRunning)
        s.timerRunning = SetTimer(hwnd, kTickTimer, kTickMs, nullptr) != 0;
}

void StopTimer(HWND hwnd)
{
    DisplayState& s = State();
    if (s.timerRunning) {
        KillTimer(hwnd, kTickTimer);
        s.timerRunning = false;
    }
}

LRESULT CALLBACK DisplayWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
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
    case WM_COMMAND:
        if (LOWORD(wParam) == CMD_PLAY)
            StartTimer(hwnd);
        else if (LOWORD(wParam) == CMD_STOP)
            StopTimer(hwnd);
        return 0;
    case WM_DESTROY:
        StopTimer(hwnd);
        if (State().font) {
            DeleteObject(State().font);
            State().font = nullptr;
        }
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

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
