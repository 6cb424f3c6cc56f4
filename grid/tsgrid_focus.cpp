// The focus cell and the user's selection: the focus is selection slot 2
// (one cell), the selection slot 0, and slot 4 the anchor where a Shift
// extension or a drag starts. All three are selections, so they follow
// their rows through sorting and moves. Changes raise notification 8 and
// the events assistive technology listens for; the focus colours follow
// the reserved colour pair aliases.
#include "tsgrid.h"

#include <algorithm>

#include "tsvalue.h"

bool TsGrid::FocusCell(uint32_t* row, uint32_t* col)
{
    TsRect f;
    if (!data_.Slot(TS_SLOT_FOCUS).Bounds(&f) || f.top < 0 || f.left < 0 ||
        f.top >= static_cast<int32_t>(data_.RowCount()) || f.left >= static_cast<int32_t>(data_.ColCount()))
        return false;
    *row = static_cast<uint32_t>(f.top);
    *col = static_cast<uint32_t>(f.left);
    return true;
}

TsRect TsGrid::SelectionUnit(uint32_t row, uint32_t col) const
{
    int32_t r = static_cast<int32_t>(row), c = static_cast<int32_t>(col);
    return RowSelect() ? TsRect{r, 0, r, TS_ALL_COLS - 1} : TsRect{r, c, r, c};
}

void TsGrid::MoveFocus(uint32_t row, uint32_t col, SelectHow how)
{
    TsRectSet before = data_.Slot(TS_SLOT_CURRENT);
    uint32_t oldRow = 0, oldCol = 0;
    bool had = FocusCell(&oldRow, &oldCol);
    TsRectSet& current = data_.Slot(TS_SLOT_CURRENT);
    TsRectSet& anchor = data_.Slot(TS_SLOT_ANCHOR);
    TsRect cell{static_cast<int32_t>(row), static_cast<int32_t>(col), static_cast<int32_t>(row), static_cast<int32_t>(col)};
    switch (how) {
    case kSelectOnly:
        current.Set(SelectionUnit(row, col));
        anchor.Set(cell);
        break;
    case kSelectExtend: {
        TsRect a;
        if (!anchor.Bounds(&a)) {
            anchor.Set(cell);
            a = cell;
        }
        TsRect span{std::min(a.top, cell.top), std::min(a.left, cell.left), std::max(a.bottom, cell.bottom),
                    std::max(a.right, cell.right)};
        if (RowSelect())
            span.left = 0, span.right = TS_ALL_COLS - 1;
        if (input_.dragToggles)
            current = input_.dragBase;
        else
            current.Clear();
        current.Add(span);
        break;
    }
    case kSelectToggle: {
        TsRectSet unit;
        unit.Set(SelectionUnit(row, col));
        current.Xor(unit);
        anchor.Set(cell);
        break;
    }
    case kSelectKeep:
        anchor.Set(cell);
        break;
    }
    data_.Slot(TS_SLOT_FOCUS).Set(cell);
    Geometry().ScrollTo(data_, cell, TS_PLACE_SHOW | TS_PLACE_SHOW << 2);
    SelectionChanged(before, had && oldRow == row);
}

void TsGrid::SelectionChanged(const TsRectSet& before, bool sameFocusRow)
{
    Repaint(TS_VALID_FOCUS);
    uint32_t row = 0, col = 0;
    bool focus = FocusCell(&row, &col);
    if (before.Rects() != data_.Slot(TS_SLOT_CURRENT).Rects()) {
        Notify(TSN_SELCHANGE);
        host_->Accessible(TS_EVENT_SELECTION, focus ? row : 0);
    }
    if (focus && !sameFocusRow && input_.focused)
        host_->Accessible(TS_EVENT_FOCUS, row);
}

void TsGrid::ColorPairDefined(const char* name)
{
    if (TsAliasTables::FocusNameIndex(name))
        Repaint(TS_VALID_FOCUS);
    // The AutoSearch field takes new colours at once.
    if (Searching() && TsCompareText(name, "AutoSearch", true) == 0)
        ShowSearch();
}

std::string TsGrid::RowName(uint32_t row)
{
    std::string name;
    if (row >= data_.RowCount())
        return name;
    char number[16];
    for (uint32_t c = 0; c < data_.ColCount(); ++c) {
        if (!(data_.Col(c)->flags & TS_COL_SHOWN))
            continue;
        const char* text = TsValueString(data_.Cell(row, c)->value, number, sizeof number);
        if (!*text)
            continue;
        if (!name.empty())
            name += ", ";
        name += text;
    }
    return name;
}

const QfGraphic* TsGrid::FontOf(uint32_t row, uint32_t col)
{
    bool cell = row < data_.RowCount() && col < data_.ColCount();
    return data_.Aliases().Object(TS_ALIAS_FONT, cell ? static_cast<int>(EffectiveAlias(TS_ALIAS_FONT, row, col)) : 0);
}

bool TsGrid::RowSelected(uint32_t row)
{
    const TsRectSet& current = data_.Slot(TS_SLOT_CURRENT);
    for (uint32_t c = 0; c < data_.ColCount(); ++c) {
        if (current.Contains(static_cast<int32_t>(row), static_cast<int32_t>(c)))
            return true;
    }
    return false;
}

std::vector<uint32_t> TsGrid::SelectedRows()
{
    std::vector<uint32_t> rows;
    data_.ForEachRow(data_.Slot(TS_SLOT_CURRENT), [&rows](uint32_t r) { rows.push_back(r); });
    return rows;
}

void TsGrid::AccessibleSelect(uint32_t row, uint32_t flags)
{
    uint32_t focusRow, col;
    if (row >= data_.RowCount() || !input_.enabled)
        return;
    if (!FocusCell(&focusRow, &col)) {
        uint32_t firstRow, lastRow, lastCol;
        col = ShownEnds(&firstRow, &lastRow, &col, &lastCol) ? col : 0;
    }
    if (flags & TS_ACC_TAKESELECTION)
        MoveFocus(row, col, kSelectOnly);
    else if (flags & TS_ACC_EXTENDSELECTION)
        MoveFocus(row, col, kSelectExtend);
    else if ((flags & TS_ACC_ADDSELECTION) != 0 && !RowSelected(row))
        MoveFocus(row, col, kSelectToggle);
    else if ((flags & TS_ACC_REMOVESELECTION) != 0 && RowSelected(row))
        MoveFocus(row, col, kSelectToggle);
    else if (flags & TS_ACC_TAKEFOCUS)
        MoveFocus(row, col, kSelectKeep);
}

void TsGrid::AccessibleActivate(uint32_t row)
{
    if (row >= data_.RowCount() || !input_.enabled)
        return;
    AccessibleSelect(row, TS_ACC_TAKEFOCUS | TS_ACC_TAKESELECTION);
    Notify(TSN_DBLCLK);
}
