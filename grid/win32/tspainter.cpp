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

// A cell on its background (already filled): the icon, the text, the
// focus rectangle.
void DrawCell(HDC dc, const TsPaintPlan& plan, const TsPaintCell& c, const TsPaintOptions& options, HFONT* font)
{
    RECT cell = ToRect(c.cell);
    if (c.icon && c.icon->value) {
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
    if (c.length > 0) {
        HFONT wanted = c.font && c.font->value ? reinterpret_cast<HFONT>(c.font->value)
                                               : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
        if (wanted != *font) {
            SelectObject(dc, wanted);
            *font = wanted;
        }
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
    if (c.focusRect) {
        RECT focus = cell;
        InflateRect(&focus, -1, -1);
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, RGB(255, 255, 255));
        DrawFocusRect(dc, &focus);
    }
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
    HFONT font = nullptr;
    int oldMode = SetBkMode(target, TRANSPARENT);

    COLORREF background = TsColorRef(plan.background, GetSysColor(COLOR_3DFACE));
    for (const TsPixels& bare : plan.bare)
        Fill(target, ToRect(bare), background);
    fills_.clear();
    TsMergeFills(plan, &fills_);
    for (const TsFill& fill : fills_)
        Fill(target, ToRect(fill.rect), TsColorRef(fill.colour, background));
    for (const TsPaintCell& cell : plan.cells)
        DrawCell(target, plan, cell, options, &font);
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
