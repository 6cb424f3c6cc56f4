#include "tspropertymgr.h"

#include <stdio.h>

#include "tsdiag.h"
#include "tshint.h"
#include "tspropvalues.h"
#include "tsstyle.h"
#include "tstemplate.h"
#include "tsvalue.h"
#include "tsviewmgr.h"

namespace {

bool In(uint32_t item, std::initializer_list<uint32_t> items)
{
    for (uint32_t i : items) {
        if (i == item)
            return true;
    }
    return false;
}

// The state of a pair item and which halves a colour item sets.
struct ColourItem {
    int state;  // TS_STATE_*, or -1 for all three
    bool back;
    bool text;
};

bool ColourItemOf(uint32_t item, ColourItem* out)
{
    switch (item) {
    case TS_ITEM_BACK: *out = {TS_STATE_NORMAL, true, false}; return true;
    case TS_ITEM_TEXTCOLOR: *out = {TS_STATE_NORMAL, false, true}; return true;
    case TS_ITEM_HILITEBACK: *out = {TS_STATE_HILITE, true, false}; return true;
    case TS_ITEM_HILITETEXT: *out = {TS_STATE_HILITE, false, true}; return true;
    case TS_ITEM_FOCUSBACK: *out = {TS_STATE_FOCUS, true, false}; return true;
    case TS_ITEM_FOCUSTEXT: *out = {TS_STATE_FOCUS, false, true}; return true;
    case TS_ITEM_ALLBACK: *out = {-1, true, false}; return true;
    default: return false;
    }
}

int PairState(uint32_t item)
{
    return item == TS_ITEM_HILITEPAIR ? TS_STATE_HILITE : item == TS_ITEM_FOCUSPAIR ? TS_STATE_FOCUS : TS_STATE_NORMAL;
}

const char* ColourName(const QfGraphic* colour)
{
    return colour && colour->name ? QfStringText(colour->name) : "";
}

bool PutText(TsValueSink& out, const char* text)
{
    TsValue* v = TsMakeText(text ? text : "");
    bool more = out.Put(v);
    TsValueRelease(v);
    return more;
}

// What invalidates after an item changed.
uint32_t InvalidationOf(uint32_t group, uint32_t item)
{
    switch (item) {
    case TS_ITEM_FONT:
    case TS_ITEM_ICON:
        return TS_VALID_ROWS | TS_VALID_COLS | TS_VALID_FOCUSFONT;
    case TS_ITEM_TEMPLATE:
        return (group == TS_GROUP_ROWS ? TS_VALID_ROWS : TS_VALID_COLS) | TS_VALID_LAYOUT;
    case TS_ITEM_INDENT:
    case TS_ITEM_TEXTMARGIN:
    case TS_ITEM_MAXWIDTH:
        return TS_VALID_COLS | TS_VALID_LAYOUT;
    default:
        return TS_VALID_FOCUS;
    }
}

}  // namespace

bool TsIsAppearanceItem(uint32_t group, uint32_t item)
{
    switch (group) {
    case TS_GROUP_CELLS:
        return In(item, {1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 55, 57, 58, 59, 60});
    case TS_GROUP_COLS:
        return In(item, {1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 14, 15, 17, 18, 21, 55, 57, 58, 59, 60});
    case TS_GROUP_ROWS:
        return item == TS_ITEM_TEMPLATE;
    case TS_GROUP_GRID:
        return In(item, {25, 26, 30, 31, 32, 33, 34, 35, 47, 48, 61, 62});
    default:
        return false;
    }
}

TsPropertyMgr::Attrs TsPropertyMgr::CellAttrs(TsCell* c)
{
    return Attrs{c->colorPair, &c->font, &c->icon, &c->cursor, &c->hint, &c->sizing, &c->textAlign, &c->iconAlign,
                 &c->extent};
}

TsPropertyMgr::Attrs TsPropertyMgr::ColumnAttrs(TsColumnRecord* c)
{
    return Attrs{c->colorPair, &c->font, &c->icon, &c->cursor, &c->hint, &c->sizing, &c->textAlign, &c->iconAlign,
                 nullptr};
}

// ---------------------------------------------------------------------------
// Setting

bool TsPropertyMgr::SetItem(TsGrid& grid, const TsPropRequest& r, TsValueSource& values, intptr_t* result)
{
    if (!TsIsAppearanceItem(r.group, r.item))
        return false;
    *result = 1;
    if (r.group == TS_GROUP_GRID)
        return SetGridItem(grid, r.item, values);
    TsDataMgr& d = grid.Data();
    bool more = true;
    // The next value for a target: false at the end or for a no-op marker.
    auto next = [&](TsValue** v, bool* reset) {
        if (!more)
            return false;
        *v = values.Next();
        if (!*v) {
            more = false;
            return false;
        }
        *reset = TsValueType(*v) >= TS_VALUE_MARKER;
        return TsValueType(*v) != TS_VALUE_NOOP;
    };
    TsValue* v = nullptr;
    bool reset = false;
    switch (r.group) {
    case TS_GROUP_CELLS:
        d.ForEachCell(*r.targets, [&](uint32_t row, uint32_t col) {
            if (!next(&v, &reset))
                return;
            TsCell* cell = d.Cell(row, col);
            if (r.item == TS_ITEM_CELLFLAGS)
                cell->flags = reset ? 0 : static_cast<uint8_t>(TsValueNumber(v));
            else if (SetShared(grid, r.item, CellAttrs(cell), v, reset, false))
                d.Col(col)->contentWidth = TS_NOT_MEASURED;
        });
        break;
    case TS_GROUP_COLS:
        d.ForEachCol(*r.targets, [&](uint32_t col) {
            if (!next(&v, &reset))
                return;
            TsColumnRecord* column = d.Col(col);
            bool changed = SetColumnOnly(grid, r.item, column, v, reset) ||
                           SetShared(grid, r.item, ColumnAttrs(column), v, reset, true);
            if (changed && (r.item == TS_ITEM_FONT || r.item == TS_ITEM_ICON)) {
                // Cells that inherit the column's font measure anew.
                for (uint32_t row = 0; row < d.RowCount(); ++row)
                    d.Cell(row, col)->extent = TS_NOT_MEASURED;
            }
            if (changed)
                column->contentWidth = TS_NOT_MEASURED;
        });
        break;
    default:  // rows: the template
        d.ForEachRow(*r.targets, [&](uint32_t row) {
            if (next(&v, &reset))
                SetTemplate(grid, &d.Row(row)->sizeRef, v, reset, false, nullptr);
        });
        break;
    }
    grid.Invalidate(InvalidationOf(r.group, r.item));
    return true;
}

bool TsPropertyMgr::SetShared(TsGrid& grid, uint32_t item, const Attrs& a, TsValue* v, bool reset, bool column)
{
    TsDataMgr& d = grid.Data();
    TsAliasTables& aliases = d.Aliases();
    char buffer[16];
    const char* text = reset ? "" : TsValueString(v, buffer, sizeof buffer);
    bool none = reset || !*text;
    // Points a reference at an alias number from a table (-1: leave it).
    auto point = [&](uint8_t* ref, int kind, int number) {
        if (number < 0)
            return false;
        d.SetRef(ref, kind, number);
        if (a.extent)
            *a.extent = TS_NOT_MEASURED;
        return true;
    };
    ColourItem colour;
    if (ColourItemOf(item, &colour)) {
        for (int state = 0; state < TS_STATES; ++state) {
            if (colour.state >= 0 && state != colour.state)
                continue;
            uint8_t* pair = &a.colorPair[state];
            if (none) {
                // A reset (or an empty colour) lets the state inherit again.
                d.SetRef(pair, TS_ALIAS_COLORPAIR, 0);
                continue;
            }
            int base = *pair ? static_cast<int>(*pair) : static_cast<int>(TsAliasTables::TS_NO_BASE);
            point(pair, TS_ALIAS_COLORPAIR,
                  aliases.ComposeColorPair(colour.back ? text : nullptr, colour.text ? text : nullptr, base));
        }
        return true;
    }
    switch (item) {
    case TS_ITEM_COLORPAIR:
    case TS_ITEM_HILITEPAIR:
    case TS_ITEM_FOCUSPAIR:
        return point(&a.colorPair[PairState(item)], TS_ALIAS_COLORPAIR,
                      none ? 0 : aliases.Find(TS_ALIAS_COLORPAIR, text));
    case TS_ITEM_FONT:
        return point(a.font, TS_ALIAS_FONT, none ? 0 : aliases.AssignFont(text));
    case TS_ITEM_ICON:
        return point(a.icon, TS_ALIAS_ICON, none ? 0 : aliases.AssignIcon(text));
    case TS_ITEM_CURSOR:
        return point(a.cursor, TS_ALIAS_CURSOR, none ? 0 : aliases.AssignCursor(text));
    case TS_ITEM_HINT:
        return point(a.hint, TS_ALIAS_HINT, none ? 0 : aliases.DefineCellHint(text));
    case TS_ITEM_SIZING:
        return point(a.sizing, TS_ALIAS_SIZING, none ? 0 : aliases.DefineFontSizing(text));
    case TS_ITEM_STYLE: {
        // A cell's default is to inherit its column's style; a column's is
        // left, top.
        TsStyle style = reset ? TsStyle{0, 0} : TsParseStyle(text);
        if (reset && column)
            style = TsStyle{TS_ALIGN_DEFAULT, TS_ALIGN_DEFAULT};
        *a.textAlign = style.text;
        *a.iconAlign = style.icon;
        return true;
    }
    default:
        return false;
    }
}

bool TsPropertyMgr::SetColumnOnly(TsGrid& grid, uint32_t item, TsColumnRecord* column, TsValue* v, bool reset)
{
    TsDataMgr& d = grid.Data();
    char buffer[16];
    const char* text = reset ? "" : TsValueString(v, buffer, sizeof buffer);
    int32_t n = reset ? 0 : TsValueNumber(v);
    switch (item) {
    case TS_ITEM_RULECOLOR: {
        int pair = !*text ? 0 : d.Aliases().ComposeColorPair(text, nullptr, TsAliasTables::TS_NO_BASE);
        if (pair >= 0)
            d.SetRef(&column->rule, TS_ALIAS_COLORPAIR, pair);
        return true;
    }
    case TS_ITEM_INDENT:
        if (n >= 0 && n <= 255)
            column->indent = static_cast<uint8_t>(n);
        return true;
    case TS_ITEM_TEXTMARGIN:
        if (reset)
            n = TS_DEFAULT_MARGIN;
        if (n >= 0 && n <= 255)
            column->margin = static_cast<uint8_t>(n);
        return true;
    case TS_ITEM_MAXWIDTH:
        if (n >= 0 && n <= 32767)
            column->maxWidth = static_cast<uint16_t>(n);
        return true;
    case TS_ITEM_TEMPLATE:
        return SetTemplate(grid, &column->sizeRef, v, reset, true, &column->flags);
    default:
        return false;
    }
}

bool TsPropertyMgr::SetTemplate(TsGrid& grid, uint16_t* ref, TsValue* v, bool reset, bool column, uint16_t* flags)
{
    TsDataMgr& d = grid.Data();
    TsSizeTemplate t = TsTemplateDefault();
    if (!reset) {
        char buffer[16];
        if (!TsApplyTemplateText(&t, TsValueString(v, buffer, sizeof buffer), grid.Metrics().LogPixelsY(), column,
                                 &TsDataMgr::Diagnostics()))
            return false;  // the line is written; the old template stays
    }
    uint16_t number = d.Templates().Intern(t);
    if (number == TsTemplateTable::kLimit)
        return false;
    d.SetTemplate(ref, number);
    if (flags)
        *flags = static_cast<uint16_t>((*flags & ~TS_COL_BITEM) | TsTemplateColumnFlags(t));
    return true;
}

bool TsPropertyMgr::SetGridItem(TsGrid& grid, uint32_t item, TsValueSource& values)
{
    TsValue* v = values.Next();
    if (!v || TsValueType(v) == TS_VALUE_NOOP)
        return true;
    bool reset = TsValueType(v) >= TS_VALUE_MARKER;
    TsViewMgr& vm = grid.ViewMgr();
    char buffer[16];
    const char* text = reset ? "" : TsValueString(v, buffer, sizeof buffer);
    int32_t n = reset ? 0 : TsValueNumber(v);
    switch (item) {
    case TS_ITEM_ROWRULE:
    case TS_ITEM_COLRULE:
        // Styles past the table draw solid; reading back gives three bits.
        if (n >= 0 && n <= (item == TS_ITEM_COLRULE ? 10 : TS_RULE_STYLES - 1)) {
            vm.rule[item == TS_ITEM_COLRULE ? 1 : 0] = static_cast<uint8_t>(n);
            grid.Invalidate(TS_VALID_ROWS | TS_VALID_COLS | TS_VALID_LAYOUT);
            grid.ForgetMeasures();
        }
        return true;
    case TS_ITEM_BACKGROUND:
        if (!vm.SetBackground(text))
            TsDataMgr::Diagnostics().Diagnostic(
                ("TS: (TsViewMgr) Color '" + std::string(text).substr(0, 160) + "' invalid or unavailable.").c_str());
        grid.Invalidate(TS_VALID_FOCUS);
        return true;
    case TS_ITEM_VHINT:
    case TS_ITEM_HHINT:
        TsApplyScrollHintText(&vm.hint[item == TS_ITEM_VHINT ? 1 : 0], text, item == TS_ITEM_VHINT,
                              &TsDataMgr::Diagnostics());
        return true;
    case TS_ITEM_WHEELLINES:
        if (n >= 0 && n <= 65535)
            vm.wheelLines = static_cast<uint32_t>(n);
        return true;
    case TS_ITEM_DRAWING:
        vm.drawing = reset ? TS_DRAW_DEFAULTS : static_cast<uint32_t>(n);
        grid.Invalidate(TS_VALID_FOCUS);
        return true;
    case TS_ITEM_RULEPRESET:
        if (vm.SetRulePreset(static_cast<uint32_t>(n))) {
            grid.Invalidate(TS_VALID_ROWS | TS_VALID_COLS | TS_VALID_LAYOUT);
            grid.ForgetMeasures();
        }
        return true;
    default:
        return true;  // read only
    }
}

// ---------------------------------------------------------------------------
// Reading

bool TsPropertyMgr::GetItem(TsGrid& grid, const TsPropRequest& r, TsValueSink& out, intptr_t* result)
{
    if (!TsIsAppearanceItem(r.group, r.item))
        return false;
    TsDataMgr& d = grid.Data();
    switch (r.group) {
    case TS_GROUP_GRID:
        GetGridItem(grid, r.item, out);
        break;
    case TS_GROUP_CELLS:
        d.ForEachCell(*r.targets, [&](uint32_t row, uint32_t col) {
            if (out.Full())
                return;
            TsCell* cell = d.Cell(row, col);
            if (r.item == TS_ITEM_CELLFLAGS)
                out.PutNumber(cell->flags);
            else
                GetShared(grid, r.item, CellAttrs(cell), out);
        });
        break;
    case TS_GROUP_COLS:
        d.ForEachCol(*r.targets, [&](uint32_t col) {
            if (!out.Full() && !GetColumnOnly(grid, r.item, d.Col(col), out))
                GetShared(grid, r.item, ColumnAttrs(d.Col(col)), out);
        });
        break;
    default:
        d.ForEachRow(*r.targets, [&](uint32_t row) {
            if (!out.Full())
                PutText(out, TsFormatTemplate(d.Templates().At(d.Row(row)->sizeRef)).c_str());
        });
        break;
    }
    *result = out.Result();
    return true;
}

bool TsPropertyMgr::GetShared(TsGrid& grid, uint32_t item, const Attrs& a, TsValueSink& out)
{
    const TsAliasTables& aliases = grid.Data().Aliases();
    ColourItem colour;
    if (ColourItemOf(item, &colour)) {
        // A state without a pair of its own has no colour of its own.
        int pair = a.colorPair[colour.state < 0 ? TS_STATE_NORMAL : colour.state];
        QfGraphic* half = pair == 0 ? nullptr : colour.back ? aliases.OwnBackground(pair) : aliases.OwnText(pair);
        return PutText(out, ColourName(half));
    }
    switch (item) {
    case TS_ITEM_COLORPAIR:
    case TS_ITEM_HILITEPAIR:
    case TS_ITEM_FOCUSPAIR:
        return PutText(out, aliases.Name(TS_ALIAS_COLORPAIR, a.colorPair[PairState(item)]));
    case TS_ITEM_FONT:
        return PutText(out, aliases.Name(TS_ALIAS_FONT, *a.font));
    case TS_ITEM_ICON:
        return PutText(out, aliases.Name(TS_ALIAS_ICON, *a.icon));
    case TS_ITEM_CURSOR:
        return PutText(out, aliases.Name(TS_ALIAS_CURSOR, *a.cursor));
    case TS_ITEM_HINT:
        return PutText(out, aliases.HintText(*a.hint));
    case TS_ITEM_SIZING: {
        char letter = aliases.SizingLetter(*a.sizing);
        std::string text = letter ? std::string(1, letter) + ":" + aliases.SizingText(*a.sizing) : std::string();
        return PutText(out, text.c_str());
    }
    case TS_ITEM_STYLE:
        return PutText(out, TsFormatStyle(TsStyle{*a.textAlign, *a.iconAlign}).c_str());
    default:
        return false;
    }
}

bool TsPropertyMgr::GetColumnOnly(TsGrid& grid, uint32_t item, TsColumnRecord* column, TsValueSink& out)
{
    switch (item) {
    case TS_ITEM_RULECOLOR:
        PutText(out, ColourName(column->rule ? grid.Data().Aliases().OwnBackground(column->rule) : nullptr));
        return true;
    case TS_ITEM_INDENT:
        out.PutNumber(column->indent);
        return true;
    case TS_ITEM_TEXTMARGIN:
        out.PutNumber(column->margin);
        return true;
    case TS_ITEM_MAXWIDTH:
        out.PutNumber(column->maxWidth);
        return true;
    case TS_ITEM_TEMPLATE:
        PutText(out, TsFormatTemplate(grid.Data().Templates().At(column->sizeRef)).c_str());
        return true;
    default:
        return false;
    }
}

bool TsPropertyMgr::GetGridItem(TsGrid& grid, uint32_t item, TsValueSink& out)
{
    TsViewMgr& vm = grid.ViewMgr();
    switch (item) {
    case TS_ITEM_ROWRULE:
    case TS_ITEM_COLRULE:
        return out.PutNumber(vm.rule[item == TS_ITEM_COLRULE ? 1 : 0] & 7);
    case TS_ITEM_FRAMEOFFSETX:
    case TS_ITEM_FRAMEOFFSETY: {
        int32_t w = 0, h = 0;
        grid.FrameOffsets(&w, &h);
        return out.PutNumber(item == TS_ITEM_FRAMEOFFSETX ? w : h);
    }
    case TS_ITEM_STYLEWORD:
        return out.PutNumber(static_cast<int32_t>(grid.Style()));
    case TS_ITEM_BACKGROUND:
        return PutText(out, tooltip.c_str());
    case TS_ITEM_VHINT:
    case TS_ITEM_HHINT:
        return PutText(out, TsFormatScrollHint(vm.hint[item == TS_ITEM_VHINT ? 1 : 0]).c_str());
    case TS_ITEM_WHEELLINES:
        return out.PutNumber(static_cast<int32_t>(vm.wheelLines));
    case TS_ITEM_PAGEROWS: {
        TsRect seen;
        TsViewState& view = grid.Geometry();
        int32_t rows = view.FullyVisible(grid.Data(), &seen)
                           ? static_cast<int32_t>(view.RowsInPage(grid.Data(), view.FirstRow(), true))
                           : 0;
        return out.PutNumber(rows);
    }
    case TS_ITEM_DRAWING:
        return out.PutNumber(static_cast<int32_t>(vm.drawing));
    default:  // TS_ITEM_RULEPRESET
        return out.PutNumber(static_cast<int32_t>(vm.rulePreset));
    }
}
