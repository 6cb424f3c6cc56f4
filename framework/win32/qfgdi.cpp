#include "qfgdi.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "qfcolor.h"
#include "qffont.h"
#include "qfinternal.h"
#include "qflock.h"
#include "qfpattern.h"
#include "qfresref.h"

namespace {

bool IsText(const char* reference)
{
    return (reinterpret_cast<uintptr_t>(reference) >> 16) != 0;
}

HMODULE Application()
{
    return GetModuleHandleA(nullptr);
}

// Looks a name up in one module; a numeric name falls back to that number.
template <class Load>
HANDLE LoadByName(HMODULE module, const char* name, Load load)
{
    HANDLE found = load(module, name);
    unsigned number = 0;
    if (!found && QfResourceNumber(name, &number))
        found = load(module, MAKEINTRESOURCEA(number));
    return found;
}

// The module rules shared by icons, cursors and menus: a module name loads
// that library for the look-up (the application's module when it cannot be
// loaded); no module name means the application's module, or the
// framework's resource modules for a "!name".
template <class Load, class FromFramework>
HANDLE Resolve(const QfResourceRef& ref, Load load, FromFramework fromFramework)
{
    if (ref.frameworkName)
        return fromFramework(ref.name);
    if (!ref.module[0])
        return LoadByName(Application(), ref.name, load);
    HMODULE library = LoadLibraryA(ref.module);
    if (!library)
        return LoadByName(Application(), ref.name, load);
    HANDLE found = LoadByName(library, ref.name, load);
    FreeLibrary(library);
    return found;
}

}  // namespace

HFONT QfCreateSpecFont(const QfFontSpec* spec)
{
    if (!spec || (spec->flags & QF_FONT_INVALID))
        return nullptr;
    int dpi = QfRoot()->GetLogPixelsY();
    LOGFONTA lf = {};
    lf.lfHeight = QfFontScaledHeight(spec, dpi);
    lf.lfWeight = (spec->flags & QF_FONT_BOLD) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (spec->flags & QF_FONT_ITALIC) ? 1 : 0;
    lf.lfUnderline = (spec->flags & QF_FONT_UNDERLINE) ? 1 : 0;
    lf.lfStrikeOut = (spec->flags & QF_FONT_STRIKEOUT) ? 1 : 0;
    lf.lfCharSet = spec->charSet;
    lf.lfQuality = PROOF_QUALITY;
    lstrcpynA(lf.lfFaceName, spec->face, LF_FACESIZE);
    HFONT font = CreateFontIndirectA(&lf);
    if (!font || !QfFontNeedsWidth(spec))
        return font;
    // Half or double width: measure the scaled font's average character
    // width and give it to a font of the unscaled height.
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICA tm = {};
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
    lf.lfHeight = QfFontBaseHeight(spec, dpi);
    lf.lfWidth = tm.tmAveCharWidth;
    return CreateFontIndirectA(&lf);
}

HICON QfLoadIconRef(const char* reference, int* width, int* height)
{
    int systemW = GetSystemMetrics(SM_CXICON), systemH = GetSystemMetrics(SM_CYICON);
    if (!reference)
        return nullptr;
    if (!IsText(reference)) {
        if (!QfResolveIconSize(nullptr, width, height, systemW, systemH))
            return nullptr;
        HANDLE own = LoadImageA(Application(), reference, IMAGE_ICON, *width, *height, 0);
        if (own)
            return static_cast<HICON>(own);
        HANDLE system = LoadImageA(nullptr, reference, IMAGE_ICON, *width, *height, LR_SHARED);
        return system ? static_cast<HICON>(CopyImage(system, IMAGE_ICON, *width, *height, 0)) : nullptr;
    }
    QfResourceRef ref;
    if (!QfParseResourceRef(reference, &ref) || !QfResolveIconSize(&ref, width, height, systemW, systemH))
        return nullptr;
    int w = *width, h = *height;
    HANDLE found = Resolve(
        ref, [w, h](HMODULE m, const char* n) -> HANDLE { return LoadImageA(m, n, IMAGE_ICON, w, h, 0); },
        [](const char* n) -> HANDLE { return QfRoot()->LoadModuleIcon(n); });
    if (!found)
        return nullptr;
    // Icons from the resource modules are shared: hand out a sized copy.
    if (ref.frameworkName)
        return static_cast<HICON>(CopyImage(found, IMAGE_ICON, w, h, 0));
    return static_cast<HICON>(found);
}

HCURSOR QfLoadCursorRef(const char* reference)
{
    if (!reference)
        return nullptr;
    if (!IsText(reference)) {
        if (HCURSOR own = LoadCursorA(Application(), reference))
            return static_cast<HCURSOR>(CopyIcon(own));
        HCURSOR system = LoadCursorA(nullptr, reference);
        return system ? static_cast<HCURSOR>(CopyIcon(system)) : nullptr;
    }
    QfResourceRef ref;
    if (!QfParseResourceRef(reference, &ref))
        return nullptr;
    HANDLE found = Resolve(
        ref, [](HMODULE m, const char* n) -> HANDLE { return LoadCursorA(m, n); },
        [](const char* n) -> HANDLE { return QfRoot()->LoadModuleCursor(n); });
    // Loaded cursors are shared with the module: the caller gets a copy.
    return found ? static_cast<HCURSOR>(CopyIcon(static_cast<HICON>(found))) : nullptr;
}

HMENU QfLoadMenuRef(const char* reference, int option)
{
    if (!reference)
        return nullptr;
    HMENU menu = nullptr;
    int index = option;
    bool numbered = false;  // the text itself names a submenu
    if (!IsText(reference)) {
        menu = LoadMenuA(Application(), reference);
    } else {
        char module[64] = "", name[64] = "", number[8] = "";
        if (QfMatchPattern(reference, "* -({a<0-63>[^!]}\\!){b<1-63>[^()!]}-(\\(* {c#-#}* \\))!?", module, name,
                           number) < 0)
            return nullptr;
        QfResourceRef ref = {};
        strcpy(ref.module, module);
        strcpy(ref.name, name);
        const char* p = reference;
        while (*p == ' ')
            ++p;
        ref.frameworkName = !module[0] && *p == '!';
        menu = static_cast<HMENU>(Resolve(
            ref, [](HMODULE m, const char* n) -> HANDLE { return LoadMenuA(m, n); },
            [](const char* n) -> HANDLE { return QfRoot()->LoadModuleMenu(n); }));
        if (number[0]) {
            index = atoi(number);
            numbered = true;
        }
    }
    if (!menu || index < -1)
        return menu;
    if (index == -1)
        index = 0;
    HMENU sub = GetSubMenu(menu, index);
    if (sub) {
        RemoveMenu(menu, static_cast<UINT>(index), MF_BYPOSITION);
    } else if (!numbered && index < GetMenuItemCount(menu)) {
        // A command, not a submenu, stands at the option's place: the menu
        // is a plain list of commands and is itself what the caller shows.
        return menu;
    }
    DestroyMenu(menu);
    return sub;
}

HPALETTE QfDefaultPalette()
{
    static QfRecursiveLock lock;
    static HPALETTE palette = nullptr;
    static bool tried = false;
    QfLockGuard guard(lock);
    if (tried)
        return palette;
    tried = true;
    HDC dc = GetDC(nullptr);
    if (!dc)
        return nullptr;
    if (GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE) {
        PALETTEENTRY system[256] = {};
        GetSystemPaletteEntries(dc, 0, 256, system);
        QfPaletteEntry in[256], out[256];
        for (int i = 0; i < 256; ++i)
            in[i] = {system[i].peRed, system[i].peGreen, system[i].peBlue, system[i].peFlags};
        QfBuildDefaultPalette(in, out);
        struct {
            WORD version, count;
            PALETTEENTRY entries[256];
        } logical;
        logical.version = 0x300;
        logical.count = 256;
        for (int i = 0; i < 256; ++i)
            logical.entries[i] = {out[i].red, out[i].green, out[i].blue, out[i].flags};
        palette = CreatePalette(reinterpret_cast<LOGPALETTE*>(&logical));
    }
    ReleaseDC(nullptr, dc);
    return palette;
}

COLORREF QfColorRef(uint32_t value)
{
    switch (value >> 24) {
    case 0x00:
    case 0x01:
    case 0x02:
        return value;
    case 0x20:
        return GetSysColor(static_cast<int>(value & 0xFF));
    default:
        return CLR_INVALID;
    }
}

bool QfIsDithered(uint32_t value)
{
    uint32_t top = value >> 24;
    if (top == 0x01 || value == QF_COLOR_NULL || top == 0x40)
        return false;
    if (top == 0x02 && QfDefaultPalette())
        return false;
    COLORREF wanted = QfColorRef(value) & 0xFFFFFF;
    HDC dc = GetDC(nullptr);
    COLORREF nearest = GetNearestColor(dc, wanted);
    ReleaseDC(nullptr, dc);
    return (nearest & 0xFFFFFF) != wanted;
}

HBRUSH QfCheckerBrush()
{
    static QfRecursiveLock lock;
    static HBRUSH brush = nullptr;
    QfLockGuard guard(lock);
    if (!brush) {
        static const WORD rows[8] = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
        HBITMAP bitmap = CreateBitmap(8, 8, 1, 1, rows);
        if (bitmap) {
            brush = CreatePatternBrush(bitmap);
            DeleteObject(bitmap);  // the brush keeps its own copy
        }
    }
    return brush;
}
