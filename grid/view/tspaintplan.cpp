#include "tspaintplan.h"

#include <algorithm>

#include "qfcolor.h"
#include "tsgrid.h"

namespace {

// A cell's two colours, filled layer by layer from the most specific.
struct Halves {
    QfGraphic* back = nullptr;
    QfGraphic* fore = nullptr;

    void Take(const TsAliasTables& aliases, int pair)
    {
        if (pair <= 0)
            return;  // 0: the reference gives nothing of its own
        if (!back)
            back = aliases.OwnBackground(pair);
        if (!fore)
            fore = aliases.OwnText(pair);
    }
    void TakeObjects(QfGraphic* b, QfGraphic* f)
    {
        if (!back)
            back = b;
        if (!fore)
            fore = f;
    }
    bool Full() const { return back && fore; }
};

uint32_t ValueOf(const QfGraphic* colour, uint32_t fallback)
{
    return colour && colour->value != QF_COLOR_NULL ? static_cast<uint32_t>(colour->value) : fallback;
}

bool Meets(const TsPixels& a, const TsPixels& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

}  // namespace

void TsPlanPaint(TsGrid& grid, const TsPixels& area, bool hasFocus, TsPaintPlan* plan)
{
    plan->cells.clear();
    plan->rules.clear();
    plan->bare.clear();
    plan->texts.clear();
    TsDataMgr& d = grid.Data();
    TsViewMgr& vm = grid.ViewMgr();
    TsViewState& view = grid.Geometry();
    const TsAliasTables& aliases = d.Aliases();
    plan->background = ValueOf(vm.Background(), QF_COLOR_SYSTEM | 15);

    // The cells reach as far as the shown lines do; the rest is bare.
    int32_t cellsRight = view.ColOffset(d, d.ColCount()) - view.ColOffset(d, view.FirstCol());
    int32_t cellsBottom = view.RowOffset(d, d.RowCount()) - view.RowOffset(d, view.FirstRow());
    if (cellsRight < area.right)
        plan->bare.push_back(TsPixels{std::max(cellsRight, area.left), area.top, area.right, area.bottom});
    if (cellsBottom < area.bottom)
        plan->bare.push_back(
            TsPixels{area.left, std::max(cellsBottom, area.top), std::min(cellsRight, area.right), area.bottom});

    TsRect seen;
    if (!view.Visible(d, &seen))
        return;
    TsRect focus{-1, -1, -1, -1};
    d.Slot(TS_SLOT_FOCUS).Bounds(&focus);
    const TsRectSet& selected = d.Slot(TS_SLOT_CURRENT);
    const TsRectSet& hilite = d.Slot(TS_SLOT_HILITE);
    TsFocusColors focusColours = aliases.FocusColors();
    TsColors defaults = aliases.Colors(0);
    bool outline = hasFocus && (vm.drawing & TS_DRAW_FOCUSRECT);
    int rowRule = vm.RuleWidth(false), colRule = vm.RuleWidth(true);
    uint32_t shadow = ValueOf(vm.SystemColour(TsViewMgr::kShadow), QF_COLOR_SYSTEM | 16);
    uint32_t light = ValueOf(vm.SystemColour(TsViewMgr::kLight), QF_COLOR_SYSTEM | 20);
    int32_t rulesRight = std::min(cellsRight, area.right), rulesBottom = std::min(cellsBottom, area.bottom);

    for (int32_t r = seen.top; r <= seen.bottom; ++r) {
        uint32_t row = static_cast<uint32_t>(r);
        int32_t top, bottom;
        view.RowSpan(d, row, &top, &bottom);
        if (top >= bottom || bottom <= area.top || top >= area.bottom)
            continue;
        const TsRowRecord* rowRecord = d.Row(row);
        for (int32_t c = seen.left; c <= seen.right; ++c) {
            uint32_t col = static_cast<uint32_t>(c);
            TsPixels px;
            view.ColSpan(d, col, &px.left, &px.right);
            px.top = top;
            px.bottom = bottom;
            if (px.Empty() || !Meets(px, area))
                continue;
            const TsCell* cell = d.Cell(row, col);
            const TsColumnRecord* column = d.Col(col);
            bool isFocus = r == focus.top && c == focus.left;
            Halves h;
            if (isFocus) {
                h.Take(aliases, cell->colorPair[TS_STATE_FOCUS]);
                h.Take(aliases, column->colorPair[TS_STATE_FOCUS]);
                h.Take(aliases, focusColours.cell.pair);
            }
            if (selected.Contains(r, c) || hilite.Contains(r, c)) {
                h.Take(aliases, cell->colorPair[TS_STATE_HILITE]);
                h.Take(aliases, rowRecord->colorRef[1]);
                h.Take(aliases, column->colorPair[TS_STATE_HILITE]);
                h.TakeObjects(vm.SystemColour(TsViewMgr::kHighlight), vm.SystemColour(TsViewMgr::kHighlightText));
            }
            if (r == focus.top)
                h.Take(aliases, focusColours.row.pair);
            if (c == focus.left)
                h.Take(aliases, focusColours.column.pair);
            h.Take(aliases, cell->colorPair[TS_STATE_NORMAL]);
            h.Take(aliases, rowRecord->colorRef[0]);
            h.Take(aliases, column->colorPair[TS_STATE_NORMAL]);
            h.TakeObjects(defaults.background, defaults.text);

            TsPaintCell out;
            out.row = row;
            out.col = col;
            out.cell = px;
            out.back = ValueOf(h.back, plan->background);
            if (out.back == QF_COLOR_TRANSPARENT)
                out.back = plan->background;
            out.fore = ValueOf(h.fore, 0);
            TsCellLook look = vm.Look(row, col);
            char number[16];
            const char* text = vm.Text(row, col, number, &out.length);
            int width = vm.ApplySizing(row, col, px, &look) ? grid.Metrics().TextWidth(look.font, text, out.length)
                                                            : vm.TextWidth(row, col, look.font);
            out.font = look.font;
            out.icon = look.icon;
            out.place = vm.Place(look, width, px);
            out.text = plan->texts.size();
            plan->texts.append(text, static_cast<size_t>(out.length));
            plan->texts.push_back('\0');
            out.focusRect = isFocus && outline;
            plan->cells.push_back(out);
        }
        if (rowRule)
            plan->rules.push_back(TsPaintRule{TsPixels{std::max(area.left, 0), bottom - rowRule, rulesRight, bottom},
                                              shadow, light, vm.rule[0], false});
    }
    if (colRule) {
        for (int32_t c = seen.left; c <= seen.right; ++c) {
            int32_t left, right;
            view.ColSpan(d, static_cast<uint32_t>(c), &left, &right);
            if (left >= right || right <= area.left || right - colRule >= area.right)
                continue;
            uint8_t pair = d.Col(static_cast<uint32_t>(c))->rule;
            QfGraphic* own = pair ? aliases.OwnBackground(pair) : nullptr;
            plan->rules.push_back(TsPaintRule{TsPixels{right - colRule, std::max(area.top, 0), right, rulesBottom},
                                              ValueOf(own, shadow), light, vm.rule[1], true});
        }
    }
}
