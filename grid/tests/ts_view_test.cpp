// The grid's view under Wine, through messages only: layouts read back
// through the query protocol, rows that fit their fonts and icons at the
// display's resolution, one-line scrolls that repaint one strip, wheel
// deltas that add up, the two scroll behaviours and their hint, cursors,
// the hint of a cut-off cell, GDI objects over many repaints, and a
// screenshot of a grid set up like the player's playlist.
#include "ts_window_harness.h"

#include <stdio.h>

#include <algorithm>

#include <string>

#include "qf.h"

using namespace tswin;

namespace {

uint32_t Prop(uint32_t sel, PropertyId id)
{
    return sel | static_cast<uint32_t>(id) << 16;
}

void SetText(HWND inner, uint32_t sel, PropertyId id, const char* text)
{
    Send(inner, TSM_SETPROP, Prop(sel, id), text);
}

void SetNumber(HWND inner, uint32_t sel, PropertyId id, int32_t n)
{
    Send(inner, TSM_SETPROP, Prop(sel, id), static_cast<uintptr_t>(static_cast<uint32_t>(n)));
}

// The first value of a property, read into a list.
std::string GetText(HWND inner, uint32_t sel, PropertyId id)
{
    ITsVListMgr* m = Library::Get().Lists();
    Vlist* list = m->Create(4);
    Send(inner, TSM_GETPROP, Prop(sel, static_cast<PropertyId>((id & ~0x0F00u) | TS_PART_LIST << 8)), list);
    std::string text = m->Size(list) ? m->Text(m->Entry(list, 0)) : "";
    m->Destroy(list);
    return text;
}

void Define(HWND inner, uint32_t kind, const char* name, const char* spec1, const char* spec2 = nullptr)
{
    TsAliasDef def = {name, spec1, spec2};
    Send(inner, TSM_DEFINEALIAS, kind, &def);
}

// Applies a property to a range and lets the selection go.
void RangeText(HWND inner, int32_t l, int32_t t, int32_t r, int32_t b, PropertyId id, const char* text)
{
    uint32_t sel = Range(inner, l, t, r, b);
    SetText(inner, sel, id, text);
    Release(inner, sel);
}

// A grid of the given size in a shown top-level window. The window stays
// for the whole program: hiding top-level windows is slow under Wine
// without a window manager.
class GridWindow {
public:
    GridWindow(int width, int height, const char* creation = "MaxRows=8192 MaxCols=7")
    {
        Library::Get();
        static Parent parent;
        parent_ = parent.window();
        SetWindowPos(parent_, HWND_TOP, 0, 0, width + 40, height + 60, SWP_SHOWWINDOW);
        frame_ = CreateWindowExA(0, "Tessaline", creation, WS_CHILD | WS_VISIBLE, 0, 0, width, height, parent_,
                                 reinterpret_cast<HMENU>(7), GetModuleHandleA(nullptr), nullptr);
        inner_ = Inner(frame_);
    }
    ~GridWindow() { DestroyWindow(frame_); }
    HWND frame() const { return frame_; }
    HWND inner() const { return inner_; }
    HWND parent() const { return parent_; }
    void Paint() { UpdateWindow(inner_); }

private:
    HWND parent_ = nullptr;
    HWND frame_ = nullptr;
    HWND inner_ = nullptr;
};

// Seven columns as the player sets them up, and rows: folders with songs.
void SetUpPlaylist(HWND inner, int folders, int songsPerFolder)
{
    Define(inner, TS_ALIAS_COLORPAIR, "Default", "Bright Gray", "Black");
    Define(inner, TS_ALIAS_COLORPAIR, "CurrentFocusRow", "Pale Yellow");
    Define(inner, TS_ALIAS_FONT, "Default", "Arial : 10");
    Define(inner, TS_ALIAS_ICON, "Folder", "IDI_FOLDER(20,20)");
    Define(inner, TS_ALIAS_ICON, "Piano", "IDI_PIANO(20,20)");
    Define(inner, TS_ALIAS_ICON, "Missing", "IDI_MISSING(20,20)");
    Send(inner, TSM_SETOPTIONS, 0x88300, 0x88300);
    Send(inner, TSM_SETSTYLE, 1, 0xFD400);
    SetNumber(inner, 0, 0x333D, 1);
    SetNumber(inner, 0, 0x3319, 1);
    SetNumber(inner, 0, 0x331A, 0);
    SetText(inner, 0, 0x3021, "RGB(208,208,208)");
    Release(inner, static_cast<uint32_t>(Send(inner, TSM_INSERTCOLS, 7, TS_APPEND)));
    uint32_t all = Range(inner, 0, 0, -1, -1);
    SetText(inner, all, 0x2015, "[B]:[1R]");
    SetNumber(inner, all, 0x2311, 4);
    SetText(inner, all, 0x2004, "TSLeftText TSVCenterIcon");
    Send(inner, TSM_HIDECOLS, all, 0);
    Release(inner, all);
    uint32_t hidden = Range(inner, 0, 0, 2, -1);
    Send(inner, TSM_HIDECOLS, hidden, 1);
    Release(inner, hidden);
    uint32_t name = Range(inner, 3, 0, 3, -1);
    Send(inner, TSM_SETCOLMARK, name, 1);
    SetNumber(inner, name, 0x230F, 1);
    Release(inner, name);
    RangeText(inner, 4, 0, 4, -1, 0x2008, "Dark Blue");
    RangeText(inner, 5, 0, 5, -1, 0x2008, "Dark Green");
    RangeText(inner, 5, 0, 6, -1, 0x2015, "[B]");
    char text[400];
    for (int f = 0; f < folders; ++f) {
        uint32_t row = static_cast<uint32_t>(Send(inner, TSM_INSERTROWS, 1, TS_APPEND));
        wsprintfA(text, "C:\\Songs\\Disk %d\n\n\nDisk %d\nPianodir.fil\n00:%02d:00\n", f + 1, f + 1, songsPerFolder * 3);
        SetText(inner, row, TS_PROP(TS_GROUP_CELLS, TS_PART_STRING, TS_ITEM_VALUE), text);
        SetNumber(inner, row, TS_PROP(TS_GROUP_ROWS, TS_PART_NUMBER, TS_ITEM_LEVEL), 0);
        int r = GetNumber(inner, row, TS_PROP(TS_GROUP_GEOMETRY, TS_PART_NUMBER, TS_ITEM_FIRSTROWSEL));
        RangeText(inner, 3, r, 3, r, TS_PROP(TS_GROUP_CELLS, TS_PART_STRING, TS_ITEM_ICON), f % 2 ? "Piano" : "Folder");
        RangeText(inner, 4, r, 5, r, TS_PROP(TS_GROUP_CELLS, TS_PART_STRING, TS_ITEM_TEXTCOLOR), "Red");
        Release(inner, row);
        for (int s = 0; s < songsPerFolder; ++s) {
            row = static_cast<uint32_t>(Send(inner, TSM_INSERTROWS, 1, TS_APPEND));
            wsprintfA(text, "C:\\Songs\\Disk %d\\SONG%02d.MID\n\n\nSONG%02d.MID\nA song title number %d\n00:03:%02d\n%s",
                      f + 1, s, s, s + 1, (s * 7) % 60, s % 3 == 0 ? "Voices" : "");
            SetText(inner, row, TS_PROP(TS_GROUP_CELLS, TS_PART_STRING, TS_ITEM_VALUE), text);
            SetNumber(inner, row, TS_PROP(TS_GROUP_ROWS, TS_PART_NUMBER, TS_ITEM_LEVEL), 1);
            if (s == 2) {
                r = GetNumber(inner, row, TS_PROP(TS_GROUP_GEOMETRY, TS_PART_NUMBER, TS_ITEM_FIRSTROWSEL));
                RangeText(inner, 3, r, 3, r, TS_PROP(TS_GROUP_CELLS, TS_PART_STRING, TS_ITEM_ICON), "Missing");
            }
            Release(inner, row);
        }
    }
}

// The window's pixels as they are on the screen.
bool SaveScreenshot(HWND window, const char* path)
{
    RECT r;
    GetWindowRect(window, &r);
    int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    SelectObject(mem, old);
    DWORD stride = ((w * 3 + 3) & ~3u), size = stride * h;
    BITMAPFILEHEADER fh = {0x4D42, static_cast<DWORD>(sizeof fh + sizeof bi.bmiHeader + size), 0, 0,
                           static_cast<DWORD>(sizeof fh + sizeof bi.bmiHeader)};
    FILE* f = fopen(path, "wb");
    bool ok = f && fwrite(&fh, sizeof fh, 1, f) == 1 && fwrite(&bi.bmiHeader, sizeof bi.bmiHeader, 1, f) == 1 &&
              fwrite(bits, size, 1, f) == 1;
    if (f)
        fclose(f);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return ok;
}

// A pixel of the window's client area as the grid paints it, asked into a
// bitmap of this test's own: what the screen shows depends on other
// programs' windows in front of this one.
COLORREF PixelAt(HWND window, int x, int y)
{
    RECT client;
    GetClientRect(window, &client);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    COLORREF c = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return c;
}

int LogPixelsY()
{
    HDC dc = GetDC(nullptr);
    int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return dpi;
}

// The line height of a font spec as the grid library makes it.
int FontLineHeight(const char* spec)
{
    typedef HFONT(__stdcall * CreateFontFn)(const char*);
    CreateFontFn create = reinterpret_cast<CreateFontFn>(
        reinterpret_cast<void (*)()>(GetProcAddress(Library::Get().module, MAKEINTRESOURCEA(10))));
    HFONT font = create ? create(spec) : nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICA tm = {};
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(font);
    return tm.tmHeight;
}

// "result:argument,v1,v2,v3,v4:text" split into its numbers.
struct Answer {
    long result, values[4];
};
Answer Ask(HWND inner, const std::string& question)
{
    unsigned long n[6] = {};
    sscanf(Query(inner, question).c_str(), "%lu:%lu,%lu,%lu,%lu,%lu", &n[0], &n[1], &n[2], &n[3], &n[4], &n[5]);
    // Pixels above or left of the view come as unsigned 32-bit numbers.
    Answer a = {static_cast<int32_t>(n[0]), {static_cast<int32_t>(n[2]), static_cast<int32_t>(n[3]),
                                              static_cast<int32_t>(n[4]), static_cast<int32_t>(n[5])}};
    return a;
}

}  // namespace

TEST(TsViewLayout, TemplatesGiveTheSizesTheQueriesReadBack)
{
    GridWindow w(400, 200, "MaxRows=100 MaxCols=5");
    HWND inner = w.inner();
    Release(inner, static_cast<uint32_t>(Send(inner, TSM_INSERTCOLS, 4, TS_APPEND)));
    Release(inner, static_cast<uint32_t>(Send(inner, TSM_INSERTROWS, 20, TS_APPEND)));
    RangeText(inner, 0, 0, -1, -1, TS_PROP(TS_GROUP_ROWS, TS_PART_STRING, TS_ITEM_TEMPLATE), "[20]");
    RangeText(inner, 0, 0, -1, 0, TS_PROP(TS_GROUP_ROWS, TS_PART_STRING, TS_ITEM_TEMPLATE), "[10p]");
    RangeText(inner, 0, 0, 0, -1, TS_PROP(TS_GROUP_COLS, TS_PART_STRING, TS_ITEM_TEMPLATE), "[50]");
    RangeText(inner, 1, 0, 1, -1, TS_PROP(TS_GROUP_COLS, TS_PART_STRING, TS_ITEM_TEMPLATE), "[25%]");
    // Weights with no size of their own beside them share exactly the rest.
    RangeText(inner, 2, 0, 2, -1, TS_PROP(TS_GROUP_COLS, TS_PART_STRING, TS_ITEM_TEMPLATE), "[0]:[1R]");
    RangeText(inner, 3, 0, 3, -1, TS_PROP(TS_GROUP_COLS, TS_PART_STRING, TS_ITEM_TEMPLATE), "[0]:[3R]");
    w.Paint();  // the scroll bars settle the client area
    RECT client;
    GetClientRect(inner, &client);
    long width = client.right, dpi = LogPixelsY();
    long pointRow = 10 * dpi / 72;  // ten points at the display's resolution
    long quarter = width / 4;
    long left = width - 50 - quarter;  // what the weights share
    long third = 50 + quarter + left / 4 + (left % 4 > 0 ? 1 : 0);
    Answer a = Ask(inner, "113:0,0,0,0,0:");
    EXPECT_EQ(a.result, 1);
    EXPECT_EQ(a.values[3], pointRow) << "row 0 is ten points high at " << dpi << " dots per inch";
    a = Ask(inner, "113:0,1,2,0,0:");
    EXPECT_EQ(a.values[0], 50 + quarter);
    EXPECT_EQ(a.values[1], pointRow);
    EXPECT_EQ(a.values[2], third) << "the weights share the rest one to three";
    EXPECT_EQ(a.values[3], pointRow + 20);
    a = Ask(inner, "113:0,1,3,0,0:");
    EXPECT_EQ(a.values[2], width) << "the columns fill the client area exactly";
    // A rectangle of cells, and one that does not exist.
    a = Ask(inner, "112:0,1,2,3,4:");
    EXPECT_EQ(a.result, 1);
    EXPECT_EQ(a.values[0], 50);
    EXPECT_EQ(a.values[1], pointRow + 20);
    EXPECT_EQ(a.values[2], width);
    EXPECT_EQ(a.values[3], pointRow + 80);
    EXPECT_EQ(Ask(inner, "112:0,0,0,9,0:").result, 0);
    // In the frame and on the screen.
    POINT origin = {0, 0};
    MapWindowPoints(inner, w.frame(), &origin, 1);
    a = Ask(inner, "114:0,2,1,0,0:");
    EXPECT_EQ(a.values[0], 50 + origin.x);
    EXPECT_EQ(a.values[1], pointRow + 20 + origin.y);
    origin = POINT{0, 0};
    ClientToScreen(inner, &origin);
    a = Ask(inner, "116:0,2,1,0,0:");
    EXPECT_EQ(a.values[0], 50 + origin.x);
    // Scrolling a row into view moves the origin, which the rectangles follow.
    a = Ask(inner, "115:0,19,0,0,0:");
    EXPECT_EQ(a.result, 1);
    long first = a.values[2];
    EXPECT_GT(first, 0);
    a = Ask(inner, "113:0,19,0,0,0:");
    EXPECT_LE(a.values[3], client.bottom) << "row 19 ends in view";
    EXPECT_GT(a.values[3] + 20, client.bottom) << "with the least scrolling";
    EXPECT_EQ(Ask(inner, "110:0,0,0,0,0:").result, first);
    // Hidden rows take no room.
    uint32_t rows = Range(inner, 0, 0, -1, 9);
    Send(inner, TSM_HIDEROWS, rows, 1);
    Release(inner, rows);
    Ask(inner, "115:16,10,0,0,0:");
    a = Ask(inner, "113:0,10,0,0,0:");
    EXPECT_EQ(a.values[1], 0) << "as far as possible puts row 10 first";
    a = Ask(inner, "113:0,11,0,0,0:");
    EXPECT_EQ(a.values[1], 20);
}

// Lets the window handle what it posted to itself.
void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
}

// Pixels that look the same size at every resolution.
int Scaled(int pixels)
{
    return MulDiv(pixels, LogPixelsY(), 96);
}

TEST(TsViewLayout, RowsFitTheirFontAndIconsAtTheDisplaysResolution)
{
    GridWindow w(Scaled(600), Scaled(300));
    HWND inner = w.inner();
    SetUpPlaylist(inner, 2, 4);
    w.Paint();
    int line = FontLineHeight("Arial : 10");
    for (int row = 0; row < 4; ++row) {
        Answer a = Ask(inner, "113:0," + std::to_string(row) + ",3,0,0:");
        ASSERT_EQ(a.result, 1);
        long height = a.values[3] - a.values[1];
        EXPECT_GE(height, line) << "row " << row << " holds a line of its font at " << LogPixelsY() << " dpi";
        EXPECT_GE(height, 20) << "and its 20-pixel icons";
    }
    // The B columns are at least as wide as their widest text.
    Answer name = Ask(inner, "113:0,1,3,0,0:");
    Answer title = Ask(inner, "113:0,1,4,0,0:");
    Answer length = Ask(inner, "113:0,1,5,0,0:");
    Answer map = Ask(inner, "113:0,1,6,0,0:");
    RECT client;
    GetClientRect(inner, &client);
    EXPECT_EQ(name.values[0], 0) << "hidden columns 0-2 take no room";
    EXPECT_EQ(map.values[2], client.right) << "the weighted columns fill the width";
    EXPECT_GT(title.values[2] - title.values[0], length.values[2] - length.values[0]);
    SCROLLINFO si = {sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(inner, SB_HORZ, &si);
    EXPECT_GT(static_cast<int>(si.nPage), si.nMax) << "no horizontal scrolling while everything fits";
    // Narrower than its content, the grid scrolls across.
    SetWindowPos(w.frame(), nullptr, 0, 0, Scaled(250), Scaled(300), SWP_NOMOVE | SWP_NOZORDER);
    w.Paint();
    GetScrollInfo(inner, SB_HORZ, &si);
    EXPECT_LE(static_cast<int>(si.nPage), si.nMax);
    EXPECT_TRUE(GetWindowLongA(inner, GWL_STYLE) & WS_HSCROLL) << "the horizontal bar shows";
    SendMessageA(inner, WM_HSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(Ask(inner, "113:0,0,4,0,0:").values[0], 0) << "one column across: the title column is first";
    EXPECT_EQ(Ask(inner, "104:0,0,4,0,0:").result, 1);
    EXPECT_EQ(Query(inner, "104:0,1,3,0,0:"), "1:0,1,3,0,0:Default");
}

TEST(TsViewPaint, PlaylistLooksRightAndItsPictureIsSaved)
{
    GridWindow w(Scaled(640), Scaled(320));
    HWND inner = w.inner();
    SetUpPlaylist(inner, 2, 5);
    uint32_t focus = Range(inner, 3, 2, 3, 2);
    Send(inner, TSM_SETFOCUSSEL, focus, 0);
    Release(inner, focus);
    w.Paint();
    char name[64];
    wsprintfA(name, "ts_view_playlist_%d.bmp", LogPixelsY());
    EXPECT_TRUE(SaveScreenshot(w.parent(), name));
    RECT client;
    GetClientRect(inner, &client);
    // Below the last row the grid's background shows.
    EXPECT_EQ(PixelAt(inner, 5, client.bottom - 2), RGB(208, 208, 208));
    // A cell's own background: the default pair, "Bright Gray"; the focus
    // row "Pale Yellow" (at the right end of its last column, away from text).
    Answer song = Ask(inner, "113:0,1,6,0,0:");
    EXPECT_EQ(PixelAt(inner, song.values[2] - 2, song.values[1] + 2), RGB(224, 224, 224));
    Answer focused = Ask(inner, "113:0,2,6,0,0:");
    EXPECT_EQ(PixelAt(inner, focused.values[2] - 2, focused.values[1] + 2), RGB(255, 255, 192));
    // The rule below each row, in the shadow colour.
    EXPECT_EQ(PixelAt(inner, song.values[2] - 2, song.values[3] - 1), GetSysColor(COLOR_3DSHADOW));

    // Printed into a picture of its own, the grid looks the same.
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP picture = CreateCompatibleBitmap(screen, client.right, client.bottom);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(mem, picture);
    RECT all = {0, 0, client.right, client.bottom};
    FillRect(mem, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SendMessageA(inner, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem), PRF_CLIENT);
    EXPECT_EQ(GetPixel(mem, 5, client.bottom - 2), RGB(208, 208, 208));
    EXPECT_EQ(GetPixel(mem, song.values[2] - 2, song.values[1] + 2), RGB(224, 224, 224));
    EXPECT_EQ(GetPixel(mem, focused.values[2] - 2, focused.values[1] + 2), RGB(255, 255, 192));
    SelectObject(mem, old);
    DeleteObject(picture);
    DeleteDC(mem);
}

TEST(TsViewPaint, EveryTextIsDrawnInsideItsOwnCell)
{
    // Texts of one font and colour are drawn together, each character
    // placed by the grid: each must still land in its own cell.
    GridWindow w(Scaled(640), Scaled(320));
    HWND inner = w.inner();
    SetUpPlaylist(inner, 2, 6);
    w.Paint();
    RECT client;
    GetClientRect(inner, &client);
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = client.right;
    bi.bmiHeader.biHeight = -client.bottom;  // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP picture = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(picture, nullptr);
    HGDIOBJ old = SelectObject(mem, picture);
    SendMessageA(inner, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem), PRF_CLIENT);
    GdiFlush();
    const DWORD* px = static_cast<const DWORD*>(bits);
    // Pixels of a cell above its rule unlike its background (at its right
    // end, away from the text).
    auto ink = [&](long row, int col) {
        Answer a = Ask(inner, "113:0," + std::to_string(row) + "," + std::to_string(col) + ",0,0:");
        long left = a.values[0], top = a.values[1], right = std::min<long>(a.values[2], client.right),
             bottom = std::min<long>(a.values[3], client.bottom) - 1;
        DWORD back = px[(top + 1) * client.right + right - 2];
        int n = 0;
        for (long y = top; y < bottom; ++y) {
            for (long x = left; x < right; ++x)
                n += px[y * client.right + x] != back;
        }
        return n;
    };
    const long rows = 2 * 7;  // two folders of six songs
    for (long row = 0; row < rows; ++row) {
        EXPECT_GT(ink(row, 4), 0) << "the title of row " << row;
        EXPECT_GT(ink(row, 5), 0) << "the length of row " << row;
        // The map column names a voice map on every third song only.
        bool voices = row % 7 != 0 && (row % 7 - 1) % 3 == 0;
        EXPECT_EQ(ink(row, 6) > 0, voices) << "the map of row " << row;
    }
    SelectObject(mem, old);
    DeleteObject(picture);
    DeleteDC(mem);
}

TEST(TsViewPaint, GdiObjectsStayTheSameOverAThousandRepaints)
{
    GridWindow w(500, 250);
    HWND inner = w.inner();
    SetUpPlaylist(inner, 4, 6);
    SetNumber(inner, 0, TS_PROP(TS_GROUP_GRID, TS_PART_NUMBER, TS_ITEM_COLRULE), 2);  // dotted pens too
    w.Paint();
    InvalidateRect(inner, nullptr, FALSE);
    w.Paint();
    DWORD before = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    for (int i = 0; i < 1000; ++i) {
        InvalidateRect(inner, nullptr, FALSE);
        w.Paint();
        if (i % 100 == 0)
            SendMessageA(inner, WM_VSCROLL, SB_PAGEDOWN, 0);
    }
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), before);
}

TEST(TsViewScroll, OneLineRepaintsOnlyTheStripThatCameIntoView)
{
    GridWindow w(400, 200);
    HWND inner = w.inner();
    SetUpPlaylist(inner, 10, 5);
    w.Paint();
    RECT update;
    ASSERT_FALSE(GetUpdateRect(inner, &update, FALSE));
    SendMessageA(inner, WM_VSCROLL, SB_LINEDOWN, 0);
    Answer first = Ask(inner, "113:0,0,3,0,0:");
    long rowHeight = first.values[3] - first.values[1];
    ASSERT_TRUE(GetUpdateRect(inner, &update, FALSE));
    RECT client;
    GetClientRect(inner, &client);
    EXPECT_EQ(update.bottom, client.bottom);
    EXPECT_EQ(update.bottom - update.top, rowHeight) << "one row's strip at the bottom";
    EXPECT_EQ(update.right - update.left, client.right);
    EXPECT_EQ(Ask(inner, "110:0,0,0,0,0:").result, 1);
    SCROLLINFO si = {sizeof si, SIF_POS, 0, 0, 0, 0, 0};
    w.Paint();
    Pump();
    GetScrollInfo(inner, SB_VERT, &si);
    EXPECT_EQ(si.nPos, 1) << "the bar follows";
}

TEST(TsViewScroll, TheBarFollowsEveryStepWhetherOrNotItsThumbMovesOnTheScreen)
{
    GridWindow w(400, 200);
    HWND inner = w.inner();
    SetUpPlaylist(inner, 40, 20);  // 840 rows: most one-line steps leave the thumb where it is
    w.Paint();
    SCROLLINFO si = {sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(inner, SB_VERT, &si);
    const int range = si.nMax, page = static_cast<int>(si.nPage);
    auto step = [&](int code, const char* what) {
        SendMessageA(inner, WM_VSCROLL, code, 0);
        w.Paint();
        long first = Ask(inner, "110:0,0,0,0,0:").result;
        GetScrollInfo(inner, SB_VERT, &si);
        EXPECT_EQ(si.nPos, first) << what;
        EXPECT_EQ(si.nMax, range);
        EXPECT_EQ(static_cast<int>(si.nPage), page);
    };
    for (int i = 0; i < 30; ++i)
        step(SB_LINEDOWN, "a line down");
    step(SB_PAGEDOWN, "a page down");
    step(SB_LINEUP, "a line up");
    step(SB_BOTTOM, "to the end");
    step(SB_LINEUP, "a line up from the end");
    step(SB_TOP, "to the top");
    EXPECT_EQ(si.nPos, 0);
}

TEST(TsViewScroll, WheelDeltasBelowANotchAddUp)
{
    GridWindow w(400, 200);
    HWND inner = w.inner();
    SetUpPlaylist(inner, 10, 5);
    SetNumber(inner, 0, TS_PROP(TS_GROUP_GRID, TS_PART_NUMBER, TS_ITEM_WHEELLINES), 2);
    w.Paint();
    auto wheel = [&](short delta) { SendMessageA(inner, WM_MOUSEWHEEL, MAKEWPARAM(0, delta), 0); };
    wheel(-40);
    wheel(-40);
    EXPECT_EQ(Ask(inner, "110:0,0,0,0,0:").result, 1) << "80 of 120 at two lines a notch: one line";
    wheel(-40);
    EXPECT_EQ(Ask(inner, "110:0,0,0,0,0:").result, 2);
    wheel(-120);
    EXPECT_EQ(Ask(inner, "110:0,0,0,0,0:").result, 4);
    wheel(120);
    EXPECT_EQ(Ask(inner, "110:0,0,0,0,0:").result, 2);
    EXPECT_EQ(GetNumber(inner, 0, TS_PROP(TS_GROUP_GRID, TS_PART_NUMBER, TS_ITEM_WHEELLINES)), 2);
}

TEST(TsViewScroll, TheThumbMovesTheViewAtOnceOrWhenLetGoWithItsHint)
{
    GridWindow w(400, 200);
    HWND inner = w.inner();
    SetUpPlaylist(inner, 10, 5);
    SetText(inner, 0, TS_PROP(TS_GROUP_GRID, TS_PART_STRING, TS_ITEM_VHINT), "Row {tsdisplace}-{TSVISIBLE}");
    EXPECT_EQ(GetText(inner, 0, TS_PROP(TS_GROUP_GRID, TS_PART_STRING, TS_ITEM_VHINT)), "Row {TSDisplace}-{TSVisible}");
    w.Paint();
    long page = GetNumber(inner, 0, TS_PROP(TS_GROUP_GRID, TS_PART_NUMBER, TS_ITEM_PAGEROWS));
    ASSERT_GT(page, 1);
    // Live: the view follows the thumb.
    SendMessageA(inner, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 7), 0);
    EXPECT_EQ(Ask(inner, "110:0,0,0,0,0:").result, 7);
    HWND hint = FindWindowA("TsScrollHint", nullptr);
    ASSERT_NE(hint, nullptr);
    EXPECT_TRUE(IsWindowVisible(hint));
    char text[64] = "";
    GetWindowTextA(hint, text, sizeof text);
    EXPECT_EQ(std::string(text), "Row 8-" + std::to_string(7 + page));
    SendMessageA(inner, WM_VSCROLL, SB_ENDSCROLL, 0);
    EXPECT_FALSE(IsWindowVisible(hint));
    // Deferred (option bit 25): only the hint follows until the thumb is let go.
    Send(inner, TSM_SETOPTIONS, 1u << 25, 1u << 25);
    SendMessageA(inner, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 20), 0);
    EXPECT_EQ(Ask(inner, "110:0,0,0,0,0:").result, 7);
    GetWindowTextA(hint, text, sizeof text);
    EXPECT_EQ(std::string(text).substr(0, 7), "Row 21-");
    SendMessageA(inner, WM_VSCROLL, SB_ENDSCROLL, 0);
    EXPECT_EQ(Ask(inner, "110:0,0,0,0,0:").result, 20);
    // A step that comes before the last one was painted is absorbed.
    w.Paint();
    SendMessageA(inner, WM_VSCROLL, SB_LINEDOWN, 0);
    SendMessageA(inner, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(Ask(inner, "110:0,0,0,0,0:").result, 21);
    w.Paint();
    SendMessageA(inner, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(Ask(inner, "110:0,0,0,0,0:").result, 22);
}

TEST(TsViewPointer, CursorAndHintFollowTheCellUnderThePointer)
{
    GridWindow w(400, 200);
    HWND inner = w.inner();
    SetUpPlaylist(inner, 2, 3);
    std::string longTitle(150, 'x');
    uint32_t cell = Range(inner, 4, 2, 4, 2);
    SetText(inner, cell, TS_PROP(TS_GROUP_CELLS, TS_PART_STRING, TS_ITEM_VALUE), longTitle.c_str());
    SetText(inner, cell, TS_PROP(TS_GROUP_CELLS, TS_PART_STRING, TS_ITEM_HINT), "");
    Release(inner, cell);
    RangeText(inner, 4, 0, 4, -1, TS_PROP(TS_GROUP_COLS, TS_PART_STRING, TS_ITEM_MAXWIDTH), "120");
    uint32_t folder = Range(inner, 3, 0, 3, 0);
    SetText(inner, folder, TS_PROP(TS_GROUP_CELLS, TS_PART_STRING, TS_ITEM_HINT), "C:\\Songs\\Disk 1");
    Send(inner, TSM_SETFOCUSSEL, folder, 0);
    Release(inner, folder);
    w.Paint();
    auto pointAt = [&](int row, int col) {
        Answer a = Ask(inner, "116:0," + std::to_string(row) + "," + std::to_string(col) + ",0,0:");
        SetCursorPos((a.values[0] + a.values[2]) / 2, (a.values[1] + a.values[3]) / 2);
        SendMessageA(inner, WM_SETCURSOR, reinterpret_cast<WPARAM>(inner), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    };
    const PropertyId tooltip = TS_PROP(TS_GROUP_GRID, TS_PART_STRING, TS_ITEM_BACKGROUND);
    pointAt(2, 4);
    EXPECT_EQ(GetText(inner, 0, tooltip), longTitle) << "a cut-off text shows whole";
    pointAt(0, 3);
    EXPECT_EQ(GetText(inner, 0, tooltip), "C:\\Songs\\Disk 1") << "a cell's own hint";
    pointAt(1, 5);
    EXPECT_EQ(GetText(inner, 0, tooltip), "") << "a short text has none";
    // Over the focus cell in edit mode: the framework's italic cursor.
    QfMgr* root = reinterpret_cast<QfMgr* (*)()>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("Tsf.dll"), "QfGetInterface")))();
    ASSERT_NE(root, nullptr);
    QfGraphic* italic = nullptr;
    (*root->DisplayHolder())->GetCursor(&italic, "!QfItalicCursor");
    ASSERT_NE(italic, nullptr);
    Send(inner, TSM_MODEON, 0);
    pointAt(0, 3);
    EXPECT_EQ(GetCursor(), reinterpret_cast<HCURSOR>(italic->value));
    Define(inner, TS_ALIAS_CURSOR, "FocusEdit", "IDC_EDITHERE");
    pointAt(0, 3);
    EXPECT_NE(GetCursor(), reinterpret_cast<HCURSOR>(italic->value)) << "the grid's own FocusEdit cursor wins";
    Send(inner, TSM_MODEOFF, 0);
    (*root->DisplayHolder())->ReleaseObject(italic);
}
