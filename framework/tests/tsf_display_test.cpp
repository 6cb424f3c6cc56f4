// The display service of Tsf.dll through its slots: shared objects by
// specification text, null objects, fonts, icons, cursors, menus, drawing.
#include "tsf_harness.h"

using tsf::Library;

namespace {

Library& Lib()
{
    return Library::Get();
}

IQfDispMgr* Disp()
{
    return Lib().display();
}

std::string Name(const QfGraphic* g)
{
    return QfStringText(g->name);
}

// An object from the service, released at the end of the scope.
struct Held {
    QfGraphic* g = nullptr;
    QfResult status = 0;
    ~Held()
    {
        if (g)
            Disp()->ReleaseObject(g);
    }
};

TEST(TsfDisplayColors, OneSharedObjectPerNameInAnyCase)
{
    Held a, b, c;
    a.status = Disp()->GetColor(&a.g, "Pale Yellow");
    ASSERT_EQ(a.status, QF_S_OK);
    int32_t afterOne = a.g->refs;
    b.status = Disp()->GetColor(&b.g, "Pale Yellow");
    EXPECT_EQ(b.g, a.g);
    EXPECT_EQ(a.g->refs, afterOne + 1) << "each ask adds one reference";
    c.status = Disp()->GetColor(&c.g, "pale yellow");
    EXPECT_EQ(c.g, a.g);
    EXPECT_EQ(a.g->type, QF_GRAPHIC_COLOR);
    EXPECT_EQ(a.g->value, 0x02C0FFFFu);
    EXPECT_EQ(Disp()->GetColorBytes(a.g), 0xFF02u);
}

TEST(TsfDisplayColors, UnresolvableTextsGiveTheNullColour)
{
    for (const char* text : {"Mauve", "Pale Yellow ", "rgb(1,2,3", ""}) {
        Held h;
        int32_t before = Disp()->GetNullObject(QF_GRAPHIC_COLOR)->refs;
        EXPECT_EQ(Disp()->GetColor(&h.g, text), QF_S_FALSE) << text;
        ASSERT_NE(h.g, nullptr);
        EXPECT_EQ(Name(h.g), "(Null Color)");
        EXPECT_EQ(h.g->value, 0xFFFFFFFFu);
        EXPECT_EQ(h.g->refs, before + 1) << "the null object comes with a reference";
    }
    Held numeric;
    EXPECT_EQ(Disp()->GetColor(&numeric.g, "hls(80,120,240)"), QF_S_OK);
    EXPECT_EQ(numeric.g->value, 0x0200FF00u);
}

TEST(TsfDisplayColors, StockNamesComeFromTheRoot)
{
    std::vector<std::string> names;
    tsf::RunOnThread([&] {
        for (uint32_t i = 0;; ++i) {
            const char* n = Lib().root->GetStockColorName(i);
            if (!n)
                break;
            names.push_back(n);
        }
    });
    ASSERT_EQ(names.size(), 85u);
    EXPECT_EQ(names.front(), "White");
    EXPECT_EQ(names[52], "Transparent");
    EXPECT_EQ(names.back(), "Color_3DHighlight");
    EXPECT_STREQ(Lib().root->GetStockCursorName(0), "!QfItalicCursor");
    EXPECT_EQ(Lib().root->GetStockCursorName(1), nullptr);
    EXPECT_STREQ(Lib().root->GetStockIconName(0), "!BlankIcon");
}

LOGFONTA FontOf(const QfGraphic* g)
{
    LOGFONTA lf = {};
    GetObjectA(reinterpret_cast<HGDIOBJ>(g->value), sizeof lf, &lf);
    return lf;
}

TEST(TsfDisplayFonts, HeightsAtTheScreenResolution)
{
    ASSERT_EQ(Lib().root->GetLogPixelsY(), 96) << "the expected heights assume 96 pixels per inch";
    struct Case {
        const char* text;
        int height;
        int weight;
        bool italic;
        const char* face;
    } cases[] = {
        {"MS Sans Serif: 8", -10, 400, false, "MS Sans Serif"},
        {"Arial:10.5", -14, 400, false, "Arial"},
        {"Arial:12 pix", -12, 400, false, "Arial"},
        {"Arial:12 cell", 16, 400, false, "Arial"},
        {"Tahoma:10 b i", -13, 700, true, "Tahoma"},
    };
    for (const Case& c : cases) {
        Held h;
        ASSERT_EQ(Disp()->GetFont(&h.g, c.text), QF_S_OK) << c.text;
        LOGFONTA lf = FontOf(h.g);
        EXPECT_EQ(lf.lfHeight, c.height) << c.text;
        EXPECT_EQ(lf.lfWeight, c.weight) << c.text;
        EXPECT_EQ(lf.lfItalic != 0, c.italic) << c.text;
        EXPECT_STREQ(lf.lfFaceName, c.face) << c.text;
        EXPECT_EQ(lf.lfQuality, PROOF_QUALITY);
    }
}

TEST(TsfDisplayFonts, HalfAndDoubleWidthKeepTheHeight)
{
    Held plain, half, twice, both;
    ASSERT_EQ(Disp()->GetFont(&plain.g, "Arial:48"), QF_S_OK);
    ASSERT_EQ(Disp()->GetFont(&half.g, "Arial:48 hw"), QF_S_OK);
    ASSERT_EQ(Disp()->GetFont(&twice.g, "Arial:48 dw"), QF_S_OK);
    ASSERT_EQ(Disp()->GetFont(&both.g, "Arial:48 hw dw"), QF_S_OK);
    EXPECT_EQ(FontOf(half.g).lfHeight, -64);
    EXPECT_EQ(FontOf(twice.g).lfHeight, -64);
    EXPECT_EQ(FontOf(both.g).lfWidth, 0) << "with both set nothing changes";
    int halfWidth = FontOf(half.g).lfWidth, doubleWidth = FontOf(twice.g).lfWidth;
    EXPECT_GT(halfWidth, 0);
    EXPECT_GT(doubleWidth, halfWidth * 3) << "a quarter-height font against a double-height one";
}

TEST(TsfDisplayFonts, InvalidSpecificationGivesTheNullFont)
{
    Held h;
    EXPECT_EQ(Disp()->GetFont(&h.g, "Arial:10 bolder"), QF_S_FALSE);
    EXPECT_EQ(Name(h.g), "(Null Font)");
    EXPECT_EQ(h.g->value, 0u);
    QfFontSpec spec = {};
    strcpy(spec.face, "Arial");
    spec.size = -900;
    spec.charSet = 1;
    spec.flags = QF_FONT_POINTS | QF_FONT_BOLD;
    Held variant, same;
    ASSERT_EQ(Disp()->GetFontVariant(&variant.g, &spec), QF_S_OK);
    EXPECT_EQ(Name(variant.g), "Arial:9 b");
    ASSERT_EQ(Disp()->GetFont(&same.g, "arial:9 b"), QF_S_OK);
    EXPECT_EQ(same.g, variant.g);
}

// Variants are made from the record itself. Regression: they went through
// the canonical text, which leaves out the character set, so ANSI and OEM
// variants shared one entry with the default set, and a record with an
// empty face gave the null font.
TEST(TsfDisplayFonts, VariantsKeepTheCharacterSetAndAnEmptyFace)
{
    QfFontSpec spec = {};
    strcpy(spec.face, "Courier New");
    spec.size = -1000;
    spec.flags = QF_FONT_POINTS;
    Held ansi, oem, oemText;
    spec.charSet = ANSI_CHARSET;
    ASSERT_EQ(Disp()->GetFontVariant(&ansi.g, &spec), QF_S_OK);
    spec.charSet = OEM_CHARSET;
    ASSERT_EQ(Disp()->GetFontVariant(&oem.g, &spec), QF_S_OK);
    EXPECT_NE(ansi.g, oem.g);
    EXPECT_EQ(FontOf(ansi.g).lfCharSet, ANSI_CHARSET);
    EXPECT_EQ(FontOf(oem.g).lfCharSet, OEM_CHARSET);
    EXPECT_EQ(Name(ansi.g), "Courier New:10 ANSI");
    EXPECT_EQ(Name(oem.g), "Courier New:10 OEM");
    ASSERT_EQ(Disp()->GetFont(&oemText.g, "Courier New:10 OEM"), QF_S_OK);
    EXPECT_EQ(oemText.g, oem.g) << "the text that spells the record gets the same font";

    Held noFace, again, text;
    spec.face[0] = '\0';
    spec.charSet = DEFAULT_CHARSET;
    ASSERT_EQ(Disp()->GetFontVariant(&noFace.g, &spec), QF_S_OK);
    EXPECT_EQ(noFace.g->type, QF_GRAPHIC_FONT);
    ASSERT_NE(noFace.g->value, 0u) << "an empty face lets the system choose one";
    EXPECT_STREQ(FontOf(noFace.g).lfFaceName, "");
    ASSERT_EQ(Disp()->GetFontVariant(&again.g, &spec), QF_S_OK);
    EXPECT_EQ(again.g, noFace.g);
    EXPECT_EQ(Disp()->GetFont(&text.g, ":10"), QF_S_FALSE) << "a text without a face is still refused";
    EXPECT_EQ(Name(text.g), "(Null Font)");

    Held invalid;
    spec.flags |= QF_FONT_INVALID;
    EXPECT_EQ(Disp()->GetFontVariant(&invalid.g, &spec), QF_S_FALSE);
    EXPECT_EQ(Name(invalid.g), "(Null Font)");
}

TEST(TsfDisplayFonts, TwoThreadsGetTwoObjects)
{
    Held mine;
    ASSERT_EQ(Disp()->GetFont(&mine.g, "Courier New:11"), QF_S_OK);
    QfGraphic* theirs = nullptr;
    uintptr_t theirHandle = 0;
    tsf::RunOnThread([&] {
        Disp()->GetFont(&theirs, "Courier New:11");
        theirHandle = theirs->value;
        Disp()->ReleaseObject(theirs);
    });
    EXPECT_NE(theirs, mine.g);
    EXPECT_NE(theirHandle, mine.g->value);
}

SIZE IconSize(const QfGraphic* g)
{
    ICONINFO info = {};
    SIZE s = {0, 0};
    if (!GetIconInfo(reinterpret_cast<HICON>(g->value), &info))
        return s;
    BITMAP bm = {};
    GetObjectA(info.hbmMask, sizeof bm, &bm);
    s.cx = bm.bmWidth;
    s.cy = info.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
    DeleteObject(info.hbmMask);
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    return s;
}

TEST(TsfDisplayIcons, ReferencesWithAndWithoutModuleAndSize)
{
    int system = GetSystemMetrics(SM_CXICON);
    struct Case {
        const char* text;
        int width, height;
        bool found;
        int size;
    } cases[] = {
        {"TESTICON", 32, 32, true, 32},        {"TESTICON(16,16)", 32, 32, true, 16},
        {"testicon( 20 , 20 )", 32, 32, true, 20}, {"TESTICON", 128, 128, true, system},
        {"7", 32, 32, true, 32},              {"!BlankIcon", 16, 16, true, 16},
        {"TESTICON(0,16)", 32, 32, false, 0},  {"TESTICON", 0, 32, false, 0},
        {"NOSUCHICON", 32, 32, false, 0},      {"nosuchmodule!TESTICON", 32, 32, true, 32},
        {"bad(1", 32, 32, false, 0},
    };
    for (const Case& c : cases) {
        Held h;
        QfResult status = Disp()->GetIcon(&h.g, c.text, c.width, c.height);
        ASSERT_NE(h.g, nullptr);
        EXPECT_EQ(status == QF_S_OK, c.found) << c.text;
        if (!c.found) {
            EXPECT_EQ(Name(h.g), "(Null Icon)") << c.text;
            continue;
        }
        EXPECT_EQ(h.g->type, QF_GRAPHIC_ICON) << c.text;
        EXPECT_EQ(IconSize(h.g).cx, c.size) << c.text;
    }
}

TEST(TsfDisplayIcons, ResourceNumbersAndSystemIcons)
{
    Held own, system, again;
    ASSERT_EQ(Disp()->GetIcon(&own.g, MAKEINTRESOURCEA(7), 32, 32), QF_S_OK);
    EXPECT_EQ(own.g->type, QF_GRAPHIC_ICON + (7u << 16));
    EXPECT_EQ(Name(own.g), "#Icon");
    ASSERT_EQ(Disp()->GetIcon(&again.g, MAKEINTRESOURCEA(7), 32, 32), QF_S_OK);
    EXPECT_EQ(again.g, own.g);
    ASSERT_EQ(Disp()->GetIcon(&system.g, reinterpret_cast<const char*>(IDI_APPLICATION), 32, 32), QF_S_OK)
        << "numbers not in the application fall back to the system's icons";
    EXPECT_NE(system.g->value, 0u);
}

TEST(TsfDisplayCursors, FrameworkAndSystemCursors)
{
    Held italic, arrow, missing;
    ASSERT_EQ(Disp()->GetCursor(&italic.g, "!QfItalicCursor"), QF_S_OK);
    EXPECT_EQ(italic.g->type, QF_GRAPHIC_CURSOR);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(reinterpret_cast<HICON>(italic.g->value), &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 16u);
    DeleteObject(info.hbmMask);
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    ASSERT_EQ(Disp()->GetCursor(&arrow.g, reinterpret_cast<const char*>(IDC_ARROW)), QF_S_OK);
    EXPECT_EQ(arrow.g->type, QF_GRAPHIC_CURSOR + (32512u << 16));
    EXPECT_EQ(Lib().root->SetCursorObject(arrow.g), 1);
    EXPECT_EQ(Disp()->GetCursor(&missing.g, "NoCursor"), QF_S_FALSE);
    EXPECT_EQ(Name(missing.g), "(Null Cursor)");
    EXPECT_EQ(Lib().root->SetCursorObject(missing.g), 0);
}

TEST(TsfDisplayMenus, SubmenusAreDetached)
{
    struct Case {
        const char* text;
        int option;
        UINT firstItem;
    } cases[] = {{"POPUPS(1)", -2, 302}, {"POPUPS", 0, 301}, {"POPUPS", -1, 301}, {"POPUPS", 1, 302},
                 {"POPUPS(0)", 1, 301}};
    for (const Case& c : cases) {
        HMENU menu = static_cast<HMENU>(Lib().root->LoadMenuRef(c.text, c.option));
        ASSERT_NE(menu, nullptr) << c.text;
        EXPECT_EQ(GetMenuItemID(menu, 0), c.firstItem) << c.text << " " << c.option;
        EXPECT_TRUE(DestroyMenu(menu)) << "the submenu is the caller's own";
    }
    HMENU whole = static_cast<HMENU>(Disp()->LoadMenuRef("POPUPS", -2));
    ASSERT_NE(whole, nullptr);
    EXPECT_EQ(GetMenuItemCount(whole), 2);
    DestroyMenu(whole);
    EXPECT_EQ(Disp()->LoadMenuRef("NOMENU", -2), nullptr);
    EXPECT_EQ(Disp()->LoadMenuRef("POPUPS(7)", -2), nullptr);
}

// Regression: option 0 (and -1) on a menu of plain commands returned
// nothing, so such a menu could not be shown as a popup.
TEST(TsfDisplayMenus, APlainMenuOfCommandsIsItsOwnPopup)
{
    for (int option : {0, -1, 1}) {
        HMENU menu = static_cast<HMENU>(Lib().root->LoadMenuRef("FLAT", option));
        ASSERT_NE(menu, nullptr) << "option " << option;
        EXPECT_EQ(GetMenuItemCount(menu), 2) << "option " << option;
        EXPECT_EQ(GetMenuItemID(menu, 0), 401u) << "option " << option;
        EXPECT_TRUE(DestroyMenu(menu));
    }
    HMENU whole = static_cast<HMENU>(Disp()->LoadMenuRef("FLAT", -2));
    ASSERT_NE(whole, nullptr);
    DestroyMenu(whole);
    EXPECT_EQ(Disp()->LoadMenuRef("FLAT(0)", -2), nullptr) << "a number in the text must name a submenu";
    EXPECT_EQ(Disp()->LoadMenuRef("FLAT", 2), nullptr) << "no item at the option's place";
    EXPECT_EQ(Disp()->LoadMenuRef("POPUPS", 2), nullptr);
}

TEST(TsfDisplayObjects, BlankIconValueObjectsAndTextObjects)
{
    HICON blank = static_cast<HICON>(Lib().root->GetBlankIcon(16));
    ASSERT_NE(blank, nullptr);
    EXPECT_EQ(Lib().root->GetBlankIcon(16), blank);
    EXPECT_TRUE(Lib().root->IsBlankIcon(blank));
    HICON copy = static_cast<HICON>(Lib().root->CopyBlankIcon(16));
    ASSERT_NE(copy, nullptr);
    EXPECT_FALSE(Lib().root->IsBlankIcon(copy));
    EXPECT_TRUE(DestroyIcon(copy));

    QfValueObject* v = Disp()->AllocValueObject(1234);
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->value, 1234u);
    EXPECT_EQ(v->refs, 0);
    void* owner = nullptr;
    EXPECT_EQ(Lib().memory()->FindBlock(v, &owner), QF_S_OK);
    EXPECT_EQ(Disp()->ReleaseValueObject(v), QF_S_OK);

    Held text;
    ASSERT_EQ(Disp()->GetTextObject(&text.g, "Some words"), QF_S_OK);
    EXPECT_EQ(text.g->type, QF_GRAPHIC_TEXT);
    EXPECT_STREQ(QfStringText(reinterpret_cast<QfString*>(text.g->value)), "Some words");

    Held palette;
    Disp()->GetDefaultPalette(&palette.g);
    HDC dc = GetDC(nullptr);
    bool palettized = GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE;
    ReleaseDC(nullptr, dc);
    EXPECT_EQ(Name(palette.g), palettized ? Name(palette.g) : "(Null Palette)");
    EXPECT_EQ(Lib().root->GetPaletteHandle() != nullptr, palettized);
    EXPECT_FALSE(Disp()->IsDitheredColor(0x02C0FFFF)) << "a true-colour screen dithers nothing";
    EXPECT_FALSE(Disp()->IsDitheredColor(QF_GRAPHIC_STATIC + 0x01000000u)) << "palette indices never count";
}

// A pixel of what `draw` leaves on white, in a bitmap of its own: what the
// screen shows depends on other programs' windows in front.
COLORREF PixelAfter(const std::function<void(HDC)>& draw, int x, int y, int width = 40, int height = 40)
{
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all = {0, 0, width, height};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    draw(dc);
    COLORREF c = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return c;
}

TEST(TsfDisplayDrawing, FillsFramesAndIcons)
{
    Held red, transparent, icon;
    Disp()->GetColor(&red.g, "Red");
    Disp()->GetColor(&transparent.g, "Transparent");
    Disp()->GetIcon(&icon.g, "TESTICON", 32, 32);
    EXPECT_EQ(PixelAfter([&](HDC dc) { Disp()->DrawObject(dc, 0, 0, 20, 20, red.g); }, 10, 10), RGB(255, 0, 0));
    EXPECT_EQ(PixelAfter([&](HDC dc) { Disp()->DrawObject(dc, 0, 0, 20, 20, transparent.g); }, 10, 10),
              RGB(255, 255, 255));
    EXPECT_EQ(PixelAfter([&](HDC dc) { Disp()->DrawObject(dc, 0, 0, 32, 32, icon.g); }, 10, 10),
              RGB(0x40, 0xC0, 0x40));
    int32_t rect[4] = {0, 0, 40, 40};
    COLORREF a = PixelAfter([&](HDC dc) { Disp()->DrawFrame(dc, rect, 2, 2); }, 0, 0);
    COLORREF b = PixelAfter([&](HDC dc) { Disp()->DrawFrame(dc, rect, 2, 2); }, 1, 0);
    EXPECT_NE(a, b) << "the checker alternates";
    EXPECT_EQ(PixelAfter([&](HDC dc) { Disp()->DrawFrame(dc, rect, 2, 2); }, 20, 20), RGB(255, 255, 255))
        << "inside the frame nothing changes";
    QfHandle bitmap = nullptr;
    HDC screen = GetDC(nullptr);
    HDC mono = static_cast<HDC>(Disp()->PrepareMonoDC(screen, &bitmap));
    ASSERT_NE(mono, nullptr);
    EXPECT_NE(GetPixel(mono, 0, 0), GetPixel(mono, 1, 0));
    DeleteDC(mono);
    DeleteObject(static_cast<HGDIOBJ>(bitmap));
    ReleaseDC(nullptr, screen);
}

// Draws a strip of every stock colour and a line of text in a few fonts,
// all through the display service, and saves the window as an image.
struct Strip {
    static constexpr int kWidth = 780, kHeight = 330;

    static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l)
    {
        if (m != WM_PAINT)
            return DefWindowProcA(h, m, w, l);
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        RECT all;
        GetClientRect(h, &all);
        Draw(dc, all);
        EndPaint(h, &ps);
        return 0;
    }

    static void Draw(HDC dc, const RECT& all)
    {
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        for (int i = 0; i < 85; ++i) {
            QfGraphic* colour = nullptr;
            Disp()->GetColor(&colour, Lib().root->GetStockColorName(static_cast<uint32_t>(i)));
            int x = 10 + (i % 17) * 44, y = 10 + (i / 17) * 30;
            Rectangle(dc, x - 1, y - 1, x + 41, y + 27);
            Disp()->DrawObject(dc, x, y, 40, 26, colour);
            Disp()->ReleaseObject(colour);
        }
        const char* fonts[] = {"Arial:14", "Times New Roman:16 i", "Courier New:12 b", "Arial:20 hw", "Tahoma:11 u"};
        SetBkMode(dc, TRANSPARENT);
        int y = 170;
        for (const char* spec : fonts) {
            QfGraphic* font = nullptr;
            Disp()->GetFont(&font, spec);
            HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(font->value));
            char line[96];
            wsprintfA(line, "%s: The quick brown fox jumps over the lazy dog", spec);
            TextOutA(dc, 10, y, line, lstrlenA(line));
            TEXTMETRICA tm;
            GetTextMetricsA(dc, &tm);
            y += tm.tmHeight + 6;
            SelectObject(dc, old);
            Disp()->ReleaseObject(font);
        }
    }
};

bool SaveWindowBitmap(HWND window, const char* path)
{
    RECT r;
    GetClientRect(window, &r);
    HDC dc = GetDC(window);
    HDC memory = CreateCompatibleDC(dc);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = r.right;
    bi.bmiHeader.biHeight = r.bottom;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, r.right, r.bottom, dc, 0, 0, SRCCOPY);
    GdiFlush();
    DWORD stride = ((r.right * 3 + 3) / 4) * 4, size = stride * r.bottom;
    BITMAPFILEHEADER fh = {};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof bi.bmiHeader;
    fh.bfSize = fh.bfOffBits + size;
    bool ok = false;
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        ok = WriteFile(file, &fh, sizeof fh, &written, nullptr) &&
             WriteFile(file, &bi.bmiHeader, sizeof bi.bmiHeader, &written, nullptr) &&
             WriteFile(file, bits, size, &written, nullptr);
        CloseHandle(file);
    }
    SelectObject(memory, old);
    DeleteObject(dib);
    DeleteDC(memory);
    ReleaseDC(window, dc);
    return ok;
}

TEST(TsfDisplayStrip, EveryStockColourAndSomeFontsInAWindow)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = Strip::Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TsfDisplayStrip";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, "TsfDisplayStrip", "Display service", WS_POPUP | WS_VISIBLE, 0, 0,
                                  Strip::kWidth, Strip::kHeight, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    UpdateWindow(window);
    const auto strip = [](HDC dc) { Strip::Draw(dc, {0, 0, Strip::kWidth, Strip::kHeight}); };
    // Entry 1 "Pale Yellow" and entry 37 "Red" sit at known places.
    EXPECT_EQ(PixelAfter(strip, 10 + 44 + 20, 10 + 13, Strip::kWidth, Strip::kHeight), RGB(255, 255, 192));
    EXPECT_EQ(PixelAfter(strip, 10 + 3 * 44 + 20, 10 + 2 * 30 + 13, Strip::kWidth, Strip::kHeight), RGB(255, 0, 0));
    EXPECT_TRUE(SaveWindowBitmap(window, "display_strip.bmp"));
    if (GetEnvironmentVariableA("TSF_KEEP_STRIP", nullptr, 0))
        tsf::PumpUntil([] { return false; }, 15000);
    DestroyWindow(window);
}

}  // namespace
