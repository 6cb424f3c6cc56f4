// The Lyrics window: the line being sung, its sung part highlighted, and
// the next line. The two lines are also the text of its one child window,
// so that screen readers and tests read them with WM_GETTEXT.
#include <windows.h>

#include <memory>

#include "gdi_object.h"
#include "main_layout.h"
#include "player_app.h"
#include "practice_ids.h"
#include "text_codec.h"

namespace zub {

namespace {

const char kLyricsClassName[] = "ZubodeckLyrics";
const char kLyricsTextClassName[] = "ZubodeckLyricText";
constexpr int kLineHeight = 26;
constexpr int kMargin = 8;
const COLORREF kSungColour = RGB(0x00, 0x40, 0xC0);
const COLORREF kWaitingColour = RGB(0x00, 0x00, 0x00);
const COLORREF kNextColour = RGB(0x70, 0x70, 0x70);

struct TextState {
    std::string current, next;
    size_t sung = 0;  // bytes of `current`
    GdiObject<HFONT> font;
};

TextState* StateOf(HWND hwnd)
{
    return reinterpret_cast<TextState*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

void PaintText(HWND hwnd, TextState& s)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT r;
    GetClientRect(hwnd, &r);
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    HGDIOBJ old = SelectObject(dc, s.font.Get() ? static_cast<HGDIOBJ>(s.font.Get()) : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    const int sung = static_cast<int>(s.sung < s.current.size() ? s.sung : s.current.size());
    SIZE size = {};
    GetTextExtentPoint32A(dc, s.current.c_str(), sung, &size);
    SetTextColor(dc, kSungColour);
    TextOutA(dc, kMargin, kMargin, s.current.c_str(), sung);
    SetTextColor(dc, kWaitingColour);
    TextOutA(dc, kMargin + size.cx, kMargin, s.current.c_str() + sung, static_cast<int>(s.current.size()) - sung);
    SetTextColor(dc, kNextColour);
    TextOutA(dc, kMargin, kMargin + kLineHeight + 4, s.next.c_str(), static_cast<int>(s.next.size()));
    SelectObject(dc, old);
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK TextProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_NCCREATE: {
        auto* s = new (std::nothrow) TextState();
        if (!s)
            return FALSE;
        s->font.Reset(CreateFontA(-20, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, "Arial"));
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(s));
        break;
    }
    case WM_NCDESTROY:
        delete StateOf(hwnd);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        break;
    case WM_ERASEBKGND:
        return 1;  // the paint fills everything
    case WM_PAINT:
        if (TextState* s = StateOf(hwnd)) {
            PaintText(hwnd, *s);
            return 0;
        }
        break;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK LyricsProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* app = reinterpret_cast<PlayerApp*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    switch (msg) {
    case WM_NCCREATE:
        SetWindowLongPtrA(hwnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
        break;
    case WM_CREATE:
        return CreateWindowExA(0, kLyricsTextClassName, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, hwnd,
                               reinterpret_cast<HMENU>(IDC_LYRICS_TEXT), app->instance, nullptr)
                   ? 0
                   : -1;
    case WM_SIZE:
        MoveWindow(GetDlgItem(hwnd, IDC_LYRICS_TEXT), 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_DESTROY:
        if (app && app->practice.lyrics == hwnd) {
            app->practice.lyrics = nullptr;
            CheckMenuItem(GetMenu(app->main), CMD_LYRICS, MF_BYCOMMAND | MF_UNCHECKED);
        }
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

bool RegisterOnce(HINSTANCE instance)
{
    WNDCLASSA existing;
    if (GetClassInfoA(instance, kLyricsClassName, &existing))
        return true;
    WNDCLASSA text = {};
    text.lpfnWndProc = TextProc;
    text.hInstance = instance;
    text.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    text.lpszClassName = kLyricsTextClassName;
    WNDCLASSA frame = {};
    frame.lpfnWndProc = LyricsProc;
    frame.hInstance = instance;
    frame.hIcon = LoadIconA(instance, "IDI_0ICON");
    frame.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    frame.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    frame.lpszClassName = kLyricsClassName;
    return RegisterClassA(&text) && RegisterClassA(&frame);
}

}  // namespace

HWND CreateLyricsWindow(PlayerApp& app)
{
    if (!RegisterOnce(app.instance))
        return nullptr;
    // Under the main window, or wherever it stays whole on the screen the
    // main window is on.
    const WindowSize size{460, 110};
    RECT main;
    GetWindowRect(app.main, &main);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromWindow(app.main, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& w = monitor.rcWork;
    const ScreenPoint at =
        PlaceBesideOwner({main.left, main.top, main.right, main.bottom}, size, {w.left, w.top, w.right, w.bottom});
    HWND lyrics = CreateWindowExA(WS_EX_TOOLWINDOW, kLyricsClassName, "Lyrics",
                                  WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, at.x, at.y, size.width,
                                  size.height, app.main, nullptr, app.instance, &app);
    if (lyrics)
        ShowWindow(lyrics, SW_SHOWNOACTIVATE);
    return lyrics;
}

void ShowLyricsView(HWND lyrics, const LyricsView& view)
{
    HWND text = GetDlgItem(lyrics, IDC_LYRICS_TEXT);
    TextState* s = text ? StateOf(text) : nullptr;
    if (!s)
        return;
    // The words are UTF-8; the window's text is ANSI, as everywhere in the player.
    LyricsView shown;
    shown.current = playlist::Utf8ToNarrow(view.current);
    shown.next = playlist::Utf8ToNarrow(view.next);
    shown.sung = playlist::Utf8ToNarrow(view.current.substr(0, view.sung)).size();
    if (shown.current == s->current && shown.next == s->next && shown.sung == s->sung)
        return;
    s->current = shown.current;
    s->next = shown.next;
    s->sung = shown.sung;
    SetWindowTextA(text, LyricsViewText(shown).c_str());
    InvalidateRect(text, nullptr, FALSE);
}

}  // namespace zub
