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

void DrawRule(HDC dc, const TsPaintRule& rule)
{
    COLORREF dark = TsColorRef(rule.colour, GetSysColor(COLOR_3DSHADOW));
    COLORREF light = TsColorRef(rule.light, GetSysColor(COLOR_3DHILIGHT));
    RECT r = ToRect(rule.rect);
    switch (rule.style) {
    case TS_RULE_DOTTED:
    case TS_RULE_DASHED:
        PenRule(dc, rule, dark);
        return;
    case TS_RULE_RAISED:
    case TS_RULE_SUNKEN: {
        // Two lines: the first (top or left) light when raised, dark when sunken.
        RECT first = r, second = r;
        if (rule.vertical)
            first.right = second.left = r.left + 1;
        else
            first.bottom = second.top = r.top + 1;
        Fill(dc, first, rule.style == TS_RULE_RAISED ? light : dark);
        Fill(dc, second, rule.style == TS_RULE_RAISED ? dark : light);
        return;
    }
    default:
        Fill(dc, r, dark);
        return;
    }
}

void DrawCell(HDC dc, const TsPaintPlan& plan, const TsPaintCell& c, const TsPaintOptions& options, HFONT* font)
{
    RECT cell = ToRect(c.cell);
    COLORREF back = TsColorRef(c.back, TsColorRef(plan.background, GetSysColor(COLOR_3DFACE)));
    Fill(dc, cell, back);
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
            ExtTextOutA(dc, c.place.textX, c.place.textY, ETO_CLIPPED, &clip, plan.Text(c), static_cast<UINT>(c.length),
                        nullptr);
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

void TsPaintPlanTo(HDC dc, const RECT& area, const TsPaintPlan& plan, const TsPaintOptions& options)
{
    int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0)
        return;
    HDC mem = CreateCompatibleDC(dc);
    HBITMAP bitmap = mem ? CreateCompatibleBitmap(dc, width, height) : nullptr;
    HDC target = bitmap ? mem : dc;  // without memory for a bitmap, straight to the window
    HGDIOBJ oldBitmap = bitmap ? SelectObject(mem, bitmap) : nullptr;
    POINT oldOrigin = {};
    if (bitmap)
        SetViewportOrgEx(mem, -area.left, -area.top, &oldOrigin);
    HGDIOBJ oldFont = GetCurrentObject(target, OBJ_FONT);
    HFONT font = nullptr;
    int oldMode = SetBkMode(target, TRANSPARENT);

    COLORREF background = TsColorRef(plan.background, GetSysColor(COLOR_3DFACE));
    for (const TsPixels& bare : plan.bare)
        Fill(target, ToRect(bare), background);
    for (const TsPaintCell& cell : plan.cells)
        DrawCell(target, plan, cell, options, &font);
    for (const TsPaintRule& rule : plan.rules)
        DrawRule(target, rule);

    SetBkMode(target, oldMode);
    SelectObject(target, oldFont);
    if (bitmap) {
        SetViewportOrgEx(mem, oldOrigin.x, oldOrigin.y, nullptr);
        BitBlt(dc, area.left, area.top, width, height, mem, 0, 0, SRCCOPY);
        SelectObject(mem, oldBitmap);
        DeleteObject(bitmap);
    }
    if (mem)
        DeleteDC(mem);
}
