// The probe's look at windows from inside the player: the children of a
// window with their texts measured in their own fonts (fonts belong to the
// process that made them), and pictures of a window printed by itself.
#include "probe_windows.h"

#include <commctrl.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// The text as a control shows it: "&x" underlines x, "&&" shows one "&";
// in a status bar a tab only centres or right-aligns what follows.
std::string ShownText(const char* text, bool prefixes, bool tabs = false)
{
    std::string shown;
    for (const char* p = text; *p; ++p) {
        if (prefixes && *p == '&' && p[1] != '\0')
            ++p;
        if (!(tabs && *p == '\t'))
            shown += *p;
    }
    return shown;
}

SIZE MeasureIn(HWND window, HFONT font, const std::string& text)
{
    SIZE size = {0, 0};
    if (text.empty())
        return size;
    HDC dc = GetDC(window);
    if (!dc)
        return size;
    HGDIOBJ old = SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    return size;
}

bool ClassIs(HWND window, const char* name)
{
    char cls[32] = {};
    GetClassNameA(window, cls, sizeof(cls));
    return _stricmp(cls, name) == 0;
}

RECT RectIn(HWND parent, HWND child)
{
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

struct Collector {
    HWND parent;
    ProbeShared* shared;
};

ProbeControl* NextControl(ProbeShared& s)
{
    if (s.controlCount >= static_cast<int>(sizeof(s.controls) / sizeof(s.controls[0])))
        return nullptr;
    ProbeControl* c = &s.controls[s.controlCount++];
    memset(c, 0, sizeof(*c));
    return c;
}

// Each part of a status bar, as a control of its own.
void AddStatusParts(ProbeShared& s, HWND parent, HWND status)
{
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(status, WM_GETFONT, 0, 0));
    const int parts = static_cast<int>(SendMessageA(status, SB_GETPARTS, 0, 0));
    for (int i = 0; i < parts; ++i) {
        ProbeControl* c = NextControl(s);
        if (!c)
            return;
        c->window = status;
        c->id = i;
        c->visible = IsWindowVisible(status);
        strcpy(c->className, "StatusPart");
        const LRESULT length = SendMessageA(status, SB_GETTEXTLENGTHA, i, 0);
        c->style = HIWORD(length);  // how the part is drawn: SBT_NOBORDERS, SBT_POPOUT
        if (LOWORD(length) < sizeof(c->text))
            SendMessageA(status, SB_GETTEXTA, i, reinterpret_cast<LPARAM>(c->text));
        SendMessageA(status, SB_GETRECT, i, reinterpret_cast<LPARAM>(&c->rect));
        MapWindowPoints(status, parent, reinterpret_cast<POINT*>(&c->rect), 2);
        c->client.cx = c->rect.right - c->rect.left;
        c->client.cy = c->rect.bottom - c->rect.top;
        c->extent = MeasureIn(status, font, ShownText(c->text, false, true));
    }
}

BOOL CALLBACK AddChild(HWND child, LPARAM lParam)
{
    Collector* col = reinterpret_cast<Collector*>(lParam);
    if (GetParent(child) != col->parent)
        return TRUE;  // grandchildren belong to their own parent's layout
    ProbeShared& s = *col->shared;
    ProbeControl* c = NextControl(s);
    if (!c)
        return FALSE;
    c->window = child;
    c->id = GetDlgCtrlID(child);
    c->style = static_cast<DWORD>(GetWindowLongA(child, GWL_STYLE));
    c->visible = IsWindowVisible(child);
    GetClassNameA(child, c->className, sizeof(c->className));
    GetWindowTextA(child, c->text, sizeof(c->text));
    c->rect = RectIn(col->parent, child);
    RECT client;
    GetClientRect(child, &client);
    c->client.cx = client.right;
    c->client.cy = client.bottom;
    const bool isStatic = ClassIs(child, "Static");
    const bool prefixes = !(isStatic && (c->style & SS_NOPREFIX));
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(child, WM_GETFONT, 0, 0));
    std::string shown = ShownText(c->text, prefixes);
    if (shown.empty() && ClassIs(child, "Edit"))
        shown = "0";
    c->extent = MeasureIn(child, font, shown);
    if (ClassIs(child, UPDOWN_CLASSA))
        c->buddy = reinterpret_cast<HWND>(SendMessageA(child, UDM_GETBUDDY, 0, 0));
    if (ClassIs(child, STATUSCLASSNAMEA))
        AddStatusParts(s, col->parent, child);
    return TRUE;
}

}  // namespace

void FillLayout(ProbeShared& s, HWND window)
{
    s.controlCount = 0;
    HDC screen = GetDC(nullptr);
    s.dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    RECT client = {0, 0, 0, 0};
    GetClientRect(window, &client);
    s.layoutClient.cx = client.right;
    s.layoutClient.cy = client.bottom;
    Collector col = {window, &s};
    EnumChildWindows(window, AddChild, reinterpret_cast<LPARAM>(&col));
    InterlockedIncrement(&s.layoutCount);
}

namespace {

// Draws a menu bar into any device context; user32 has it, the headers do not.
using DrawMenuBarTempFn = DWORD(WINAPI*)(HWND, HDC, RECT*, HMENU, HFONT);

void DrawMenuBarInto(HWND window, HDC dc, RECT* bar, HMENU menu)
{
    static const auto draw = reinterpret_cast<DrawMenuBarTempFn>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("user32.dll"), "DrawMenuBarTemp")));
    if (draw)
        draw(window, dc, bar, menu, nullptr);
}

// The border a control draws around its client area.
void DrawChildFrame(HWND window, HDC dc, RECT r)
{
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    const LONG ex = GetWindowLongA(window, GWL_EXSTYLE);
    if (ex & WS_EX_CLIENTEDGE) {
        DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    } else if (ex & WS_EX_STATICEDGE) {
        DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    }
    if (style & WS_BORDER)
        FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

// Where a window and its client area lie on the screen.
struct Placement {
    RECT outer;    // the window's rectangle
    SIZE client;   // its client area's size
    POINT origin;  // its client area's top left corner
};

Placement PlacementOf(HWND window)
{
    Placement p = {};
    GetWindowRect(window, &p.outer);
    RECT client = {0, 0, 0, 0};
    GetClientRect(window, &client);
    p.client = {client.right, client.bottom};
    ClientToScreen(window, &p.origin);
    return p;
}

// Prints a window's client area into a bitmap of its own, which starts as
// what lies beneath: controls clip to their client rectangle in device
// coordinates, so the picture's own coordinates would hide their texts.
void PrintClient(HWND window, HDC picture, POINT at, SIZE size)
{
    if (size.cx <= 0 || size.cy <= 0)
        return;
    HDC mem = CreateCompatibleDC(picture);
    HBITMAP bitmap = CreateCompatibleBitmap(picture, size.cx, size.cy);
    if (mem && bitmap) {
        HGDIOBJ old = SelectObject(mem, bitmap);
        BitBlt(mem, 0, 0, size.cx, size.cy, picture, at.x, at.y, SRCCOPY);
        SendMessageA(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(mem), 0);
        SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem), PRF_CLIENT);
        BitBlt(picture, at.x, at.y, size.cx, size.cy, mem, 0, 0, SRCCOPY);
        SelectObject(mem, old);
    }
    if (bitmap)
        DeleteObject(bitmap);
    if (mem)
        DeleteDC(mem);
}

// Each window of the tree prints its own client area (WM_PRINTCLIENT, as
// every common control and the player's own windows answer it), children
// over their parent in their order on the screen. `at` is where the
// window's rectangle begins in the picture.
void PrintTree(HWND window, HDC dc, POINT at, bool top)
{
    const Placement p = PlacementOf(window);
    const RECT& outer = p.outer;
    const POINT clientAt = {at.x + p.origin.x - outer.left, at.y + p.origin.y - outer.top};

    const int saved = SaveDC(dc);
    if (!top) {
        RECT frame = {at.x, at.y, at.x + outer.right - outer.left, at.y + outer.bottom - outer.top};
        IntersectClipRect(dc, frame.left, frame.top, frame.right, frame.bottom);
        DrawChildFrame(window, dc, frame);
    }
    PrintClient(window, dc, clientAt, p.client);

    std::vector<HWND> children;
    for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        children.push_back(c);
    IntersectClipRect(dc, clientAt.x, clientAt.y, clientAt.x + p.client.cx, clientAt.y + p.client.cy);
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        if (!IsWindowVisible(*it))
            continue;
        RECT r;
        GetWindowRect(*it, &r);
        PrintTree(*it, dc, {clientAt.x + r.left - p.origin.x, clientAt.y + r.top - p.origin.y}, false);
    }
    RestoreDC(dc, saved);
}

// The frame, caption and menu bar of a top-level window, drawn as the
// system draws them.
void PrintNonClient(HWND window, HDC dc, int width, int height)
{
    const Placement p = PlacementOf(window);
    RECT r = {0, 0, width, height};
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    if (style & (WS_THICKFRAME | WS_DLGFRAME | WS_BORDER))
        DrawEdge(dc, &r, EDGE_RAISED, BF_RECT | BF_ADJUST | BF_MIDDLE);
    if ((style & WS_CAPTION) == WS_CAPTION) {
        RECT caption = r;
        caption.bottom = caption.top + GetSystemMetrics(SM_CYCAPTION) - 1;
        DrawCaption(window, dc, &caption, DC_ACTIVE | DC_TEXT | DC_ICON | DC_GRADIENT);
        r.top = caption.bottom + 1;
    }
    if (HMENU menu = GetMenu(window)) {
        RECT bar = {r.left, r.top, r.right, p.origin.y - p.outer.top};
        DrawMenuBarInto(window, dc, &bar, menu);
    }
}

}  // namespace

bool WritePicture(HWND window, const char* path)
{
    RECT r;
    if (!GetWindowRect(window, &r))
        return false;
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0)
        return false;
    BITMAPINFOHEADER bi = {};
    bi.biSize = sizeof(bi);
    bi.biWidth = w;
    bi.biHeight = h;
    bi.biPlanes = 1;
    bi.biBitCount = 24;
    HDC screen = GetDC(nullptr);
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC mem = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    if (!dib || !mem || !bits) {
        if (dib)
            DeleteObject(dib);
        if (mem)
            DeleteDC(mem);
        return false;
    }
    HGDIOBJ old = SelectObject(mem, dib);
    RECT all = {0, 0, w, h};
    FillRect(mem, &all, GetSysColorBrush(COLOR_BTNFACE));
    // PrintWindow first, for systems whose window printing is whole; then
    // the tree printed window by window, since Wine's prints neither the
    // frame nor the children.
    PrintWindow(window, mem, 0);
    PrintNonClient(window, mem, w, h);
    PrintTree(window, mem, {0, 0}, true);
    GdiFlush();
    SelectObject(mem, old);
    DeleteDC(mem);

    const DWORD row = (static_cast<DWORD>(w) * 3 + 3) & ~3u;
    const DWORD size = row * static_cast<DWORD>(h);
    BITMAPFILEHEADER fh = {};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof(fh) + sizeof(bi);
    fh.bfSize = fh.bfOffBits + size;
    bool ok = false;
    HANDLE f = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f != INVALID_HANDLE_VALUE) {
        DWORD a = 0, b = 0, c = 0;
        ok = WriteFile(f, &fh, sizeof(fh), &a, nullptr) && WriteFile(f, &bi, sizeof(bi), &b, nullptr) &&
             WriteFile(f, bits, size, &c, nullptr) && c == size;
        CloseHandle(f);
    }
    DeleteObject(dib);
    return ok;
}
