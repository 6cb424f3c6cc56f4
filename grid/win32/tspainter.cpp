#include "tspainter.h"

#include "qfcolor.h"
#include "tsgdimetrics.h"

namespace {

// A rectangle in one colour without a brush: an opaque text of nothing.
void Fill(HDC dc, const RECT& r, COLORREF colour)
{
    SetBkColor(dc, colour);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

RECT ToRect(const TsPixels& p)
{
    return RECT{p.left, p.top, p.right, p.bottom};
}

// Dotted and dashed rules with a cosmetic pen, whose gaps leave what lies
// beneath; one pen per rule.
void PenRule(HDC dc, const TsPaintRule& rule, COLORREF colour)
{
    LOGBRUSH lb = {BS_SOLID, colour, 0};
    DWORD style = PS_COSMETIC | (rule.style == TS_RULE_DOTTED ? PS_ALTERNATE : PS_DASH);
    HPEN pen = ExtCreatePen(style, 1, &lb, 0, nullptr);
    if (!pen)
        return;
    HGDIOBJ old = SelectObject(dc, pen);
    int oldMode = SetBkMode(dc, TRANSPARENT);
    if (rule.vertical) {
        MoveToEx(dc, rule.rect.left, rule.rect.top, nullptr);
        LineTo(dc, rule.rect.left, rule.rect.bottom);
    } else {
        MoveToEx(dc, rule.rect.left, rule.rect.top, nullptr);
        LineTo(dc, rule.rect.right, rule.rect.top);
    }
    SetBkMode(dc, oldMode);
    SelectObject(dc, old);
    DeleteObject(pen);
}

COLORREF Shade(uint32_t value, uint8_t shade)
{
    return TsColorRef(value, GetSysColor(shade == TS_RULE_LIGHT ? COLOR_3DHILIGHT : COLOR_3DSHADOW));
}

HFONT FontOf(const QfGraphic* font)
{
    return font && font->value ? reinterpret_cast<HFONT>(font->value)
                               : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void DrawIcon(HDC dc, const TsPaintCell& c)
{
    RECT cell = ToRect(c.cell);
    RECT icon = ToRect(c.place.icon);
    bool inside = icon.left >= cell.left && icon.top >= cell.top && icon.right <= cell.right &&
                  icon.bottom <= cell.bottom;
    int saved = inside ? 0 : SaveDC(dc);
    if (!inside)
        IntersectClipRect(dc, cell.left, cell.top, cell.right, cell.bottom);
    DrawIconEx(dc, icon.left, icon.top, reinterpret_cast<HICON>(c.icon->value), icon.right - icon.left,
               icon.bottom - icon.top, 0, nullptr, DI_NORMAL);
    if (saved)
        RestoreDC(dc, saved);
}

void DrawFocus(HDC dc, const TsPaintCell& c)
{
    RECT focus = ToRect(c.cell);
    InflateRect(&focus, -1, -1);
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    DrawFocusRect(dc, &focus);
}

// Which way a positive vertical step of ETO_PDY moves the next character:
// 1 down, -1 up, 0 not known (texts are then drawn one by one). The
// documentation leaves it open, so two characters drawn into a small
// bitmap tell, once.
int StepDirection()
{
    static const int direction = [] {
        const int width = 32, band = 64;
        HDC dc = CreateCompatibleDC(nullptr);
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = width;
        bi.bmiHeader.biHeight = -3 * band;  // top-down
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        HBITMAP bitmap = dc ? CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
        int found = 0;
        if (bitmap && bits) {
            HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
            HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
            PatBlt(dc, 0, 0, width, 3 * band, WHITENESS);
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, RGB(0, 0, 0));
            // The first character in the middle band, the second a band away.
            const WCHAR text[2] = {L'H', L'H'};
            INT steps[4] = {0, band, 0, 0};
            ExtTextOutW(dc, 0, band, ETO_PDY, nullptr, text, 2, steps);
            GdiFlush();
            const DWORD* px = static_cast<const DWORD*>(bits);
            bool above = false, below = false;
            for (int y = 0; y < 3 * band; ++y) {
                for (int x = 0; x < width; ++x) {
                    if ((px[y * width + x] & 0xFFFFFF) == 0xFFFFFF)
                        continue;
                    above = above || y < band;
                    below = below || y >= 2 * band;
                }
            }
            found = below && !above ? 1 : above && !below ? -1 : 0;
            SelectObject(dc, oldFont);
            SelectObject(dc, oldBitmap);
        }
        if (bitmap)
            DeleteObject(bitmap);
        if (dc)
            DeleteDC(dc);
        return found;
    }();
    return direction;
}

}  // namespace

TsPainter::~TsPainter()
{
    Drop();
}

void TsPainter::Drop()
{
    if (mem_) {
        SelectObject(mem_, original_);
        DeleteDC(mem_);
    }
    if (bitmap_)
        DeleteObject(bitmap_);
    mem_ = nullptr;
    bitmap_ = nullptr;
    width_ = height_ = 0;
}

HDC TsPainter::Buffer(HDC dc, int width, int height)
{
    if (mem_ && width <= width_ && height <= height_)
        return mem_;
    Drop();
    mem_ = CreateCompatibleDC(dc);
    bitmap_ = mem_ ? CreateCompatibleBitmap(dc, width, height) : nullptr;
    if (!bitmap_) {
        Drop();
        return nullptr;
    }
    original_ = SelectObject(mem_, bitmap_);
    width_ = width;
    height_ = height;
    return mem_;
}

void TsPainter::Paint(HDC dc, const RECT& area, const TsPaintPlan& plan, const TsPaintOptions& options)
{
    int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0)
        return;
    HDC mem = Buffer(dc, width, height);
    HDC target = mem ? mem : dc;  // without memory for a bitmap, straight to the window
    POINT oldOrigin = {};
    if (mem)
        SetViewportOrgEx(mem, -area.left, -area.top, &oldOrigin);
    HGDIOBJ oldFont = GetCurrentObject(target, OBJ_FONT);
    font_ = nullptr;
    int oldMode = SetBkMode(target, TRANSPARENT);

    COLORREF background = TsColorRef(plan.background, GetSysColor(COLOR_3DFACE));
    for (const TsPixels& bare : plan.bare)
        Fill(target, ToRect(bare), background);
    fills_.clear();
    TsMergeFills(plan, &fills_);
    for (const TsFill& fill : fills_)
        Fill(target, ToRect(fill.rect), TsColorRef(fill.colour, background));
    // Each cell's icon, text and focus rectangle lie within the cell, in
    // that order, so the three can go in passes: texts drawn together.
    for (const TsPaintCell& cell : plan.cells) {
        if (cell.icon && cell.icon->value)
            DrawIcon(target, cell);
    }
    DrawTexts(target, plan, options);
    for (const TsPaintCell& cell : plan.cells) {
        if (cell.focusRect)
            DrawFocus(target, cell);
    }
    DrawRules(target, plan);

    SetBkMode(target, oldMode);
    SelectObject(target, oldFont);
    if (mem) {
        SetViewportOrgEx(mem, oldOrigin.x, oldOrigin.y, nullptr);
        BitBlt(dc, area.left, area.top, width, height, mem, 0, 0, SRCCOPY);
    }
}

void TsPainter::DrawLines(HDC dc, const TsLineGroup& group)
{
    points_.clear();
    counts_.assign(group.lines.size(), 2);
    for (const TsPixels& line : group.lines) {
        // A line leaves out its end point: the same pixels as the rectangle.
        points_.push_back(POINT{line.left, line.top});
        points_.push_back(group.vertical ? POINT{line.left, line.bottom} : POINT{line.right, line.top});
    }
    SetDCPenColor(dc, Shade(group.colour, group.shade));
    PolyPolyline(dc, points_.data(), counts_.data(), static_cast<DWORD>(counts_.size()));
}

void TsPainter::DrawRules(HDC dc, const TsPaintPlan& plan)
{
    TsBatchRules(plan, &rules_);
    if (rules_.groups.empty() && rules_.penRules.empty())
        return;
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(DC_PEN));
    COLORREF oldColour = GetDCPenColor(dc);
    auto pass = [&](size_t pens, size_t pensEnd, size_t groups, size_t groupsEnd) {
        for (size_t i = pens; i < pensEnd; ++i) {
            const TsPaintRule& rule = plan.rules[rules_.penRules[i]];
            PenRule(dc, rule, Shade(rule.colour, TS_RULE_DARK));
        }
        for (size_t i = groups; i < groupsEnd; ++i)
            DrawLines(dc, rules_.groups[i]);
    };
    pass(0, rules_.rowPens, 0, rules_.rowGroups);
    pass(rules_.rowPens, rules_.penRules.size(), rules_.rowGroups, rules_.groups.size());
    SetDCPenColor(dc, oldColour);
    SelectObject(dc, oldPen);
}

void TsPainter::SelectFont(HDC dc, HFONT font)
{
    if (font != font_) {
        SelectObject(dc, font);
        font_ = font;
    }
}

const int* TsPainter::Advances(HDC dc, QfGraphic* font)
{
    for (const FontFacts& known : fonts_) {
        if (known.font == font)
            return known.together ? known.advances : nullptr;
    }
    fonts_.push_back(FontFacts{font, false, {}});
    FontFacts& f = fonts_.back();
    if (!StepDirection())
        return nullptr;
    SelectFont(dc, FontOf(font));
    WCHAR chars[TS_RUN_CHARS];
    WORD glyphs[TS_RUN_CHARS];
    for (int i = 0; i < TS_RUN_CHARS; ++i)
        chars[i] = static_cast<WCHAR>(TS_RUN_FIRST_CHAR + i);
    // Only a font that draws nothing along its texts, has every character
    // itself (none from another font) and places them by their advances
    // alone (no overhang, no kerning) draws its texts together.
    TEXTMETRICW tm;
    SIZE extent;
    bool ok = GetTextMetricsW(dc, &tm) && !tm.tmUnderlined && !tm.tmStruckOut && tm.tmOverhang == 0 &&
              tm.tmCharSet != SYMBOL_CHARSET &&
              GetGlyphIndicesW(dc, chars, TS_RUN_CHARS, glyphs, GGI_MARK_NONEXISTING_GLYPHS) == TS_RUN_CHARS &&
              GetCharWidth32W(dc, TS_RUN_FIRST_CHAR, TS_RUN_LAST_CHAR, f.advances) &&
              GetTextExtentPoint32W(dc, chars, TS_RUN_CHARS, &extent);
    int sum = 0;
    for (int i = 0; ok && i < TS_RUN_CHARS; ++i) {
        ok = glyphs[i] != 0xFFFF;
        sum += f.advances[i];
    }
    f.together = ok && sum == extent.cx;
    return f.together ? f.advances : nullptr;
}

void TsPainter::DrawOneText(HDC dc, const TsPaintPlan& plan, const TsPaintCell& c, const TsPaintOptions& options)
{
    SelectFont(dc, FontOf(c.font));
    SetTextColor(dc, TsColorRef(c.fore, GetSysColor(COLOR_WINDOWTEXT)));
    RECT clip = ToRect(c.place.clip);
    if (c.place.cutOff && options.ellipsis) {
        RECT room = {clip.left, c.place.textY, clip.right, clip.bottom};
        DrawTextA(dc, plan.Text(c), c.length, &room, DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS | DT_LEFT);
    } else {
        // Clipping costs; text that fits needs none.
        ExtTextOutA(dc, c.place.textX, c.place.textY, c.place.overflows ? ETO_CLIPPED : 0,
                    c.place.overflows ? &clip : nullptr, plan.Text(c), static_cast<UINT>(c.length), nullptr);
    }
}

void TsPainter::DrawTexts(HDC dc, const TsPaintPlan& plan, const TsPaintOptions& options)
{
    fonts_.clear();
    TsBatchTexts(
        plan, options.ellipsis, [&](QfGraphic* font) { return Advances(dc, font); }, &runs_, &single_);
    for (size_t i : single_)
        DrawOneText(dc, plan, plan.cells[i], options);
    const int direction = StepDirection();
    for (const TsTextRun& run : runs_) {
        if (run.chars.empty())
            continue;  // spaces only
        SelectFont(dc, FontOf(run.font));
        SetTextColor(dc, TsColorRef(run.colour, GetSysColor(COLOR_WINDOWTEXT)));
        wide_.assign(run.chars.begin(), run.chars.end());  // printable ASCII: the same in every code page
        steps_.assign(run.steps.begin(), run.steps.end());
        if (direction < 0) {
            for (size_t k = 1; k < steps_.size(); k += 2)
                steps_[k] = -steps_[k];
        }
        ExtTextOutW(dc, run.x, run.y, ETO_PDY, nullptr, wide_.data(), static_cast<UINT>(wide_.size()), steps_.data());
    }
}
