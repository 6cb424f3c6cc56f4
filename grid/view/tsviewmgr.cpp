#include "tsviewmgr.h"

#include <algorithm>
#include <functional>
#include <string.h>

#include "qffont.h"
#include "tsgrid.h"
#include "tslayout.h"
#include "tsstyle.h"
#include "tstemplate.h"
#include "tsvalue.h"

namespace {

const char kDefaultBackground[] = "Color_3DFace";

// Rule presets of grid item 62: (between rows, between columns).
const uint8_t kPresetStyles[TsViewMgr::kRulePresets][2] = {
    {TS_RULE_NONE, TS_RULE_NONE},     {TS_RULE_SOLID, TS_RULE_NONE},   {TS_RULE_SOLID, TS_RULE_SOLID},
    {TS_RULE_DOTTED, TS_RULE_DOTTED}, {TS_RULE_NONE, TS_RULE_SOLID},   {TS_RULE_DOTTED, TS_RULE_NONE},
    {TS_RULE_SUNKEN, TS_RULE_SUNKEN}, {TS_RULE_RAISED, TS_RULE_RAISED},
};

// Parts of an alignment code not given come from the column, then from
// the default (left, top).
uint16_t Combine(uint16_t own, uint16_t column)
{
    uint16_t h = (own & TS_ALIGN_HGIVEN) ? own & 0x303 : (column & TS_ALIGN_HGIVEN) ? column & 0x303 : TS_ALIGN_LEFT;
    uint16_t v = (own & TS_ALIGN_VGIVEN) ? own & 0xC0C : (column & TS_ALIGN_VGIVEN) ? column & 0xC0C : TS_ALIGN_TOP;
    return static_cast<uint16_t>(h | v);
}

// Where a box of `size` goes along one axis of [low, high) for a 2-bit
// alignment part (1 start, 2 middle, 3 end).
int32_t Align(uint32_t part, int32_t low, int32_t high, int32_t size)
{
    switch (part) {
    case 2: return low + (high - low - size) / 2;
    case 3: return high - size;
    default: return low;
    }
}

// The layout's measuring over one axis of the grid.
class Measure final : public TsMeasure {
public:
    template <class Text, class Best>
    Measure(Text text, Best best) : text_(text), best_(best)
    {
    }
    int TextExtent(size_t index, const char* text) override { return text_(static_cast<uint32_t>(index), text); }
    int BestExtent(size_t index) override { return best_(static_cast<uint32_t>(index)); }

private:
    std::function<int(uint32_t, const char*)> text_;
    std::function<int(uint32_t)> best_;
};

}  // namespace

TsViewMgr::TsViewMgr(TsGrid& grid) : grid_(grid)
{
    background_ = grid_.Display().GetColor(kDefaultBackground);
    italicCursor_ = grid_.Display().GetCursor("!QfItalicCursor");
    static const char* const kSystem[kSystemColours] = {"Color_Highlight", "Color_HighlightText", "Color_3DShadow",
                                                        "Color_3DHighlight"};
    for (int i = 0; i < kSystemColours; ++i)
        system_[i] = grid_.Display().GetColor(kSystem[i]);
}

TsViewMgr::~TsViewMgr()
{
    grid_.Display().Release(background_);
    grid_.Display().Release(italicCursor_);
    for (QfGraphic* colour : system_)
        grid_.Display().Release(colour);
    DropSizedFonts();
}

void TsViewMgr::DropSizedFonts()
{
    for (auto& entry : sizedFonts_)
        grid_.Display().Release(entry.second);
    sizedFonts_.clear();
}

bool TsViewMgr::SetBackground(const char* spec)
{
    QfGraphic* colour = grid_.Display().GetColor(spec && *spec ? spec : kDefaultBackground);
    if (grid_.Display().IsNull(colour)) {
        grid_.Display().Release(colour);
        return false;
    }
    grid_.Display().Release(background_);
    background_ = colour;
    return true;
}

bool TsViewMgr::SetRulePreset(uint32_t index)
{
    if (index >= kRulePresets)
        return false;
    rulePreset = index;
    rule[0] = kPresetStyles[index][0];
    rule[1] = kPresetStyles[index][1];
    return true;
}

int TsViewMgr::RuleWidth(bool betweenColumns) const
{
    switch (rule[betweenColumns ? 1 : 0]) {
    case TS_RULE_NONE: return 0;
    case TS_RULE_RAISED:
    case TS_RULE_SUNKEN:
    case TS_RULE_WIDE: return 2;
    default: return 1;
    }
}

int TsViewMgr::VerticalMargin() const
{
    int dpi = grid_.Metrics().LogPixelsY();
    return dpi >= 192 ? dpi / 96 : dpi > 96 ? 2 : 1;
}

int TsViewMgr::IconGap() const
{
    return 4 * grid_.Metrics().LogPixelsY() / 96;
}

// ---------------------------------------------------------------------------
// Measuring

void TsViewMgr::Forget()
{
    DropSizedFonts();
    fontHeights_.clear();
    iconWidths_.clear();
    iconHeights_.clear();
    textWidths_.clear();
    grid_.Metrics().Forget();
    TsDataMgr& d = grid_.Data();
    for (uint32_t c = 0; c < d.ColCount(); ++c) {
        d.Col(c)->contentWidth = TS_NOT_MEASURED;
        for (uint32_t r = 0; r < d.RowCount(); ++r)
            d.Cell(r, c)->extent = TS_NOT_MEASURED;
    }
}

int TsViewMgr::FontHeight(uint8_t font)
{
    if (fontHeights_.empty())
        fontHeights_.assign(256, -1);
    int& h = fontHeights_[font];
    if (h < 0)
        h = grid_.Metrics().TextHeight(grid_.Data().Aliases().Object(TS_ALIAS_FONT, font));
    return h;
}

void TsViewMgr::IconSize(uint8_t icon, int* width, int* height)
{
    *width = *height = 0;
    if (!icon)
        return;  // alias 0 is the empty "Default" icon
    if (iconWidths_.empty()) {
        iconWidths_.assign(256, -1);
        iconHeights_.assign(256, -1);
    }
    if (iconWidths_[icon] < 0) {
        TsAliasTables& aliases = grid_.Data().Aliases();
        int w = 0, h = 0;
        grid_.Metrics().IconSize(aliases.Object(TS_ALIAS_ICON, icon), &w, &h);
        // Drawn no larger than the alias allows.
        int maxW = aliases.IconMaxWidth(icon), maxH = aliases.IconMaxHeight(icon);
        iconWidths_[icon] = maxW > 0 && w > maxW ? maxW : w;
        iconHeights_[icon] = maxH > 0 && h > maxH ? maxH : h;
    }
    *width = iconWidths_[icon];
    *height = iconHeights_[icon];
}

int TsViewMgr::MeasureText(uint8_t font, const char* text)
{
    auto key = std::make_pair(static_cast<int>(font), std::string(text ? text : ""));
    auto found = textWidths_.find(key);
    if (found != textWidths_.end())
        return found->second;
    int w = grid_.Metrics().TextWidth(grid_.Data().Aliases().Object(TS_ALIAS_FONT, font), key.second.c_str(),
                                      static_cast<int>(key.second.size()));
    textWidths_.emplace(std::move(key), w);
    return w;
}

const char* TsViewMgr::Text(uint32_t row, uint32_t col, char* buffer, int* length)
{
    const TsValue* v = grid_.Data().Cell(row, col)->value;
    const char* text = TsValueIsNumber(v) ? TsValueString(v, buffer, 16) : TsValueText(v);
    *length = TsValueIsNumber(v) ? static_cast<int>(strlen(text)) : v->length;
    return text;
}

int TsViewMgr::TextWidth(uint32_t row, uint32_t col, QfGraphic* font)
{
    TsCell* cell = grid_.Data().Cell(row, col);
    if (cell->extent == TS_NOT_MEASURED) {
        char buffer[16];
        int length = 0;
        const char* text = Text(row, col, buffer, &length);
        int w = length ? grid_.Metrics().TextWidth(font, text, length) : 0;
        cell->extent = static_cast<uint16_t>(std::min(w, 0xFFFE));
    }
    return cell->extent;
}

TsCellLook TsViewMgr::Look(uint32_t row, uint32_t col)
{
    TsDataMgr& d = grid_.Data();
    const TsCell* cell = d.Cell(row, col);
    const TsColumnRecord* column = d.Col(col);
    TsCellLook look;
    uint8_t font = cell->font ? cell->font : column->font;
    look.font = d.Aliases().Object(TS_ALIAS_FONT, font);
    look.lineHeight = FontHeight(font);
    uint8_t icon = cell->icon ? cell->icon : column->icon;
    IconSize(icon, &look.iconWidth, &look.iconHeight);
    look.icon = look.iconWidth > 0 ? d.Aliases().Object(TS_ALIAS_ICON, icon) : nullptr;
    look.textAlign = Combine(cell->textAlign, column->textAlign);
    look.iconAlign = Combine(cell->iconAlign, column->iconAlign);
    look.margin = column->margin;
    look.indent = 0;
    if (column->indent) {
        int unit = col < colIconWidth_.size() ? colIconWidth_[col] : 0;
        unit = (unit ? unit + IconGap() : FontHeight(font)) * column->indent;
        look.indent = static_cast<int>(TsDataMgr::Level(d.Row(row))) * unit;
    }
    return look;
}

TsCellPlace TsViewMgr::Place(const TsCellLook& look, int textWidth, const TsPixels& cell)
{
    TsCellPlace p;
    TsPixels inner{cell.left + look.margin + look.indent, cell.top, cell.right - look.margin - RuleWidth(true),
                   cell.bottom - RuleWidth(false)};
    if (inner.right < inner.left)
        inner.right = inner.left;
    int vm = VerticalMargin();
    p.icon = TsPixels{0, 0, 0, 0};
    if (look.icon) {
        uint32_t h = look.iconAlign & 3;
        int32_t x = Align(h, inner.left, inner.right, look.iconWidth);
        int32_t y = Align((look.iconAlign >> 2) & 3, inner.top + vm, inner.bottom - vm, look.iconHeight);
        if (h == 1)
            inner.left = std::min(inner.right, inner.left + look.iconWidth + IconGap());
        else if (h == 3)
            inner.right = std::max(inner.left, inner.right - look.iconWidth - IconGap());
        p.icon = TsPixels{x, y, x + look.iconWidth, y + look.iconHeight};
    }
    int room = inner.right - inner.left;
    p.cutOff = textWidth > room;
    int32_t x = p.cutOff ? inner.left : Align(look.textAlign & 3, inner.left, inner.right, textWidth);
    p.textX = x;
    p.textY = Align((look.textAlign >> 2) & 3, inner.top + vm, inner.bottom - vm, look.lineHeight);
    p.clip = TsPixels{inner.left, cell.top, inner.right, inner.bottom};
    p.overflows = p.cutOff || p.textY < p.clip.top || p.textY + look.lineHeight > p.clip.bottom;
    return p;
}

bool TsViewMgr::ApplySizing(uint32_t row, uint32_t col, const TsPixels& cell, TsCellLook* look)
{
    TsDataMgr& d = grid_.Data();
    uint8_t sizing = d.Cell(row, col)->sizing ? d.Cell(row, col)->sizing : d.Col(col)->sizing;
    char letter = sizing ? d.Aliases().SizingLetter(sizing) : 0;
    if (!letter || !look->font || look->lineHeight <= 0)
        return false;
    QfFontSpec spec;
    QfFontSpecInit(&spec);
    if (!QfParseFontSpec(&spec, look->font->name ? QfStringText(look->font->name) : ""))
        return false;
    int base = QfFontBaseHeight(&spec, grid_.Metrics().LogPixelsY());
    base = base < 0 ? -base : base;
    int roomHeight = cell.bottom - cell.top - 2 * VerticalMargin() - RuleWidth(false);
    int roomWidth = cell.right - cell.left - 2 * look->margin - look->indent - RuleWidth(true) -
                    (look->icon ? look->iconWidth + IconGap() : 0);
    const char* text = d.Aliases().SizingText(sizing);
    int textWidth = grid_.Metrics().TextWidth(look->font, text, static_cast<int>(strlen(text)));
    int byHeight = base * roomHeight / look->lineHeight;
    int byWidth = textWidth > 0 ? base * roomWidth / textWidth : byHeight;
    int pixels = letter == 'h' ? byHeight : letter == 'w' ? byWidth : std::min(byHeight, byWidth);
    pixels = std::max(1, std::min(pixels, 1000));
    if (pixels == base)
        return false;
    auto key = std::make_pair(look->font, pixels);
    auto found = sizedFonts_.find(key);
    if (found == sizedFonts_.end()) {
        spec.size = -pixels;  // character height in pixels
        spec.flags &= static_cast<uint8_t>(~QF_FONT_POINTS);
        char name[QF_FONT_TEXT_MAX];
        QfFormatFontSpec(&spec, name);
        found = sizedFonts_.emplace(key, grid_.Display().GetFont(name)).first;
    }
    if (grid_.Display().IsNull(found->second))
        return false;
    look->font = found->second;
    look->lineHeight = grid_.Metrics().TextHeight(look->font);
    return true;
}

// ---------------------------------------------------------------------------
// Layout

int TsViewMgr::RowContentHeight(uint32_t row)
{
    TsDataMgr& d = grid_.Data();
    const TsRowRecord* r = d.Row(row);
    int tallest = 0;
    for (uint32_t c = 0; c < d.ColCount(); ++c) {
        const TsColumnRecord* column = d.Col(c);
        if (!(column->flags & TS_COL_SHOWN))
            continue;
        const TsCell* cell = TsDataMgr::CellOf(r, const_cast<TsColumnRecord*>(column));
        tallest = std::max(tallest, FontHeight(cell->font ? cell->font : column->font));
        if (c < colIconHeight_.size()) {
            tallest = std::max(tallest, colIconHeight_[c]);
        } else {
            int w, h;
            IconSize(cell->icon ? cell->icon : column->icon, &w, &h);
            tallest = std::max(tallest, h);
        }
    }
    if (!tallest)
        tallest = FontHeight(0);
    return tallest + 2 * VerticalMargin() + RuleWidth(false);
}

int TsViewMgr::ColumnContentWidth(uint32_t col)
{
    TsDataMgr& d = grid_.Data();
    TsColumnRecord* column = d.Col(col);
    if (column->contentWidth != TS_NOT_MEASURED)
        return column->contentWidth;
    int widest = 0;
    for (uint32_t r = 0; r < d.RowCount(); ++r) {
        TsCellLook look = Look(r, col);
        int w = look.indent + TextWidth(r, col, look.font);
        if (look.icon)
            w += look.iconWidth + IconGap();
        widest = std::max(widest, w);
    }
    widest += 2 * column->margin + RuleWidth(true);
    if (column->maxWidth && widest > column->maxWidth)
        widest = column->maxWidth;
    column->contentWidth = static_cast<uint16_t>(std::min(widest, 0xFFFE));
    return column->contentWidth;
}

void TsViewMgr::LayoutCols()
{
    TsDataMgr& d = grid_.Data();
    uint32_t n = d.ColCount();
    // The widest icon of each column sets its outline indent, the tallest
    // the height of every row.
    colIconWidth_.assign(n, 0);
    colIconHeight_.assign(n, 0);
    for (uint32_t c = 0; c < n; ++c) {
        const TsColumnRecord* column = d.Col(c);
        uint8_t last = 0;
        int w = 0, h = 0;
        IconSize(column->icon, &w, &h);
        for (uint32_t r = 0; r < d.RowCount(); ++r) {
            uint8_t icon = d.Cell(r, c)->icon;
            if (icon && icon != last) {
                int iw, ih;
                IconSize(icon, &iw, &ih);
                w = std::max(w, iw);
                h = std::max(h, ih);
                last = icon;
            }
        }
        colIconWidth_[c] = w;
        colIconHeight_[c] = h;
    }
    std::vector<TsLayoutLine> lines(n);
    std::vector<TsLineSize> sizes(n);
    for (uint32_t c = 0; c < n; ++c) {
        const TsColumnRecord* column = d.Col(c);
        lines[c] = TsLayoutLine{&d.Templates().At(column->sizeRef), (column->flags & TS_COL_SHOWN) != 0};
    }
    Measure measure(
        [&](uint32_t c, const char* text) {
            const TsColumnRecord* column = d.Col(c);
            return MeasureText(column->font, text) + 2 * column->margin + RuleWidth(true);
        },
        [&](uint32_t c) { return ColumnContentWidth(c); });
    TsLayoutLines(lines.data(), n, grid_.View().ClientWidth(), measure, sizes.data());
    for (uint32_t c = 0; c < n; ++c) {
        d.Col(c)->width[0] = sizes[c].first;
        d.Col(c)->width[1] = sizes[c].second;
    }
}

void TsViewMgr::LayoutRows()
{
    TsDataMgr& d = grid_.Data();
    uint32_t n = d.RowCount();
    std::vector<TsLayoutLine> lines(n);
    std::vector<TsLineSize> sizes(n);
    for (uint32_t r = 0; r < n; ++r) {
        const TsRowRecord* row = d.Row(r);
        lines[r] = TsLayoutLine{&d.Templates().At(row->sizeRef), (row->flags & TS_ROW_SHOWN) != 0};
    }
    auto content = [&](uint32_t r) { return RowContentHeight(r); };
    Measure measure([&](uint32_t r, const char*) { return content(r); }, content);
    TsLayoutLines(lines.data(), n, grid_.View().ClientHeight(), measure, sizes.data());
    for (uint32_t r = 0; r < n; ++r) {
        d.Row(r)->height[0] = sizes[r].first;
        d.Row(r)->height[1] = sizes[r].second;
    }
}

void TsViewMgr::Layout(bool rows, bool cols)
{
    // Columns first: the outline indent they find is part of no row height.
    if (cols)
        LayoutCols();
    if (rows)
        LayoutRows();
    grid_.View().Invalidate();
}

// ---------------------------------------------------------------------------
// Under the pointer

bool TsViewMgr::HintAt(int32_t x, int32_t y, std::string* text, TsPixels* cellRect, TsHit* where)
{
    TsViewState& view = grid_.Geometry();
    TsDataMgr& d = grid_.Data();
    TsHit hit = view.HitTest(d, x, y);
    if (where)
        *where = hit;
    if (!hit.Cell())
        return false;
    uint32_t row = static_cast<uint32_t>(hit.row), col = static_cast<uint32_t>(hit.col);
    view.CellRect(d, row, col, cellRect);
    const TsCell* cell = d.Cell(row, col);
    uint8_t hint = cell->hint ? cell->hint : d.Col(col)->hint;
    const char* own = hint ? d.Aliases().HintText(hint) : "";
    if (*own) {
        *text = own;
        return true;
    }
    TsCellLook look = Look(row, col);
    TsCellPlace place = Place(look, TextWidth(row, col, look.font), *cellRect);
    if (!place.cutOff)
        return false;
    char buffer[16];
    int length = 0;
    const char* whole = Text(row, col, buffer, &length);
    text->assign(whole, static_cast<size_t>(length));
    return length > 0;
}

QfGraphic* TsViewMgr::CursorAt(int32_t x, int32_t y)
{
    TsDataMgr& d = grid_.Data();
    TsAliasTables& aliases = d.Aliases();
    TsHit hit = grid_.Geometry().HitTest(d, x, y);
    if (!hit.Cell())
        return aliases.Object(TS_ALIAS_CURSOR, 0);
    TsRect focus;
    if ((grid_.Editing() || grid_.EditMode()) && d.Slot(TS_SLOT_FOCUS).Bounds(&focus) && focus.top == hit.row &&
        focus.left == hit.col) {
        int own = aliases.Find(TS_ALIAS_CURSOR, "FocusEdit");
        if (own >= 0)
            return aliases.Object(TS_ALIAS_CURSOR, own);
        if (!grid_.Display().IsNull(italicCursor_))
            return italicCursor_;
    }
    const TsCell* cell = d.Cell(static_cast<uint32_t>(hit.row), static_cast<uint32_t>(hit.col));
    uint8_t cursor = cell->cursor ? cell->cursor : d.Col(static_cast<uint32_t>(hit.col))->cursor;
    return aliases.Object(TS_ALIAS_CURSOR, cursor);
}
