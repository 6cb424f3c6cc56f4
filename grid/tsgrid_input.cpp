// Keyboard and mouse: the focus moves with the arrows, Page Up/Down,
// Home/End (with Control: the whole grid), Shift extending the selection
// from the anchor; clicks select, Shift+click extends, Control+click
// toggles, a drag extends (past the edge it scrolls on a timer). Printable
// characters ask the parent for an edit (notification 14) and otherwise
// feed the AutoSearch; F2 asks for an edit. Notifications: 4 a left press on
// a cell, 6 a right press on a cell, 8 the selection changed, 9 a double
// click, 10 a context menu (right button release, the context-menu key,
// Shift+F10).
#include "tsgrid.h"

#include <stdlib.h>

#include "tskeys.h"

bool TsGrid::HitCell(int32_t x, int32_t y, uint32_t* row, uint32_t* col)
{
    TsHit hit = Geometry().HitTest(data_, x, y);
    if (!hit.Cell())
        return false;
    *row = static_cast<uint32_t>(hit.row);
    *col = static_cast<uint32_t>(hit.col);
    return true;
}

bool TsGrid::ShownEnds(uint32_t* firstRow, uint32_t* lastRow, uint32_t* firstCol, uint32_t* lastCol)
{
    TsViewState& v = Geometry();
    uint32_t rows = v.ShownRows(data_), cols = v.ShownCols(data_);
    if (!rows || !cols)
        return false;
    *firstRow = v.RowAtOrdinal(data_, 0);
    *lastRow = v.RowAtOrdinal(data_, rows - 1);
    *firstCol = v.ColAtOrdinal(data_, 0);
    *lastCol = v.ColAtOrdinal(data_, cols - 1);
    return true;
}

bool TsGrid::KeyDown(uint32_t key, uint32_t mods)
{
    if (!input_.enabled)
        return false;
    input_.swallowChar = false;
    const bool shift = (mods & TS_MOD_SHIFT) != 0, control = (mods & TS_MOD_CONTROL) != 0;
    const bool alt = (mods & TS_MOD_ALT) != 0;
    if (key == TS_KEY_APPS || (key == TS_KEY_F10 && shift && !control && !alt)) {
        ContextMenuRequest();
        input_.swallowKeyUp = key;
        return true;
    }
    if (alt)
        return false;  // menus and mnemonics
    switch (key) {
    case TS_KEY_ESCAPE:
    case TS_KEY_RETURN:
    case TS_KEY_TAB:
        // A running search takes these keys (its grid wants every key); the
        // next one goes where it would have gone.
        if (!Searching())
            return false;
        EndSearch();
        input_.swallowChar = true;
        return true;
    case TS_KEY_BACK:
        if (!Searching())
            return false;
        search_.text.pop_back();
        search_.lastKey = host_->Now();
        if (search_.text.empty())
            EndSearch();
        else
            ShowSearch();
        input_.swallowChar = true;
        return true;
    case TS_KEY_F2:
        if (shift || control)
            return false;
        EndSearch();
        RequestEdit(0);
        return true;
    case TS_KEY_SPACE:
        if (!control)
            return false;  // a plain space is typed
        if (uint32_t row, col; FocusCell(&row, &col)) {
            EndSearch();
            MoveFocus(row, col, kSelectToggle);
        }
        input_.swallowChar = true;
        return true;
    default:
        break;
    }
    if (!NavigationKey(key, mods))
        return false;
    return true;
}

bool TsGrid::NavigationKey(uint32_t key, uint32_t mods)
{
    const bool control = (mods & TS_MOD_CONTROL) != 0;
    switch (key) {
    case TS_KEY_UP:
    case TS_KEY_DOWN:
    case TS_KEY_LEFT:
    case TS_KEY_RIGHT:
    case TS_KEY_PAGEUP:
    case TS_KEY_PAGEDOWN:
    case TS_KEY_HOME:
    case TS_KEY_END:
        break;
    default:
        return false;
    }
    EndSearch();
    uint32_t firstRow, lastRow, firstCol, lastCol;
    if (!ShownEnds(&firstRow, &lastRow, &firstCol, &lastCol))
        return true;
    TsViewState& v = Geometry();
    uint32_t row, col;
    // Without a focus the first key finds the first cell (Home and End go
    // where they always go).
    bool has = FocusCell(&row, &col);
    if (!has)
        row = firstRow, col = firstCol;
    const bool first = key == TS_KEY_HOME;
    switch (key) {
    case TS_KEY_UP:
    case TS_KEY_DOWN:
        row = has ? v.RowAfter(data_, row, key == TS_KEY_UP ? -1 : 1) : row;
        break;
    case TS_KEY_LEFT:
    case TS_KEY_RIGHT:
        col = has ? v.ColAfter(data_, col, key == TS_KEY_LEFT ? -1 : 1) : col;
        break;
    case TS_KEY_PAGEUP:
    case TS_KEY_PAGEDOWN: {
        // A page is the rows that fit in the view from the focus, less one.
        bool down = key == TS_KEY_PAGEDOWN;
        int32_t page = static_cast<int32_t>(v.RowsInPage(data_, row, down));
        int32_t step = page > 1 ? page - 1 : 1;
        row = has ? v.RowAfter(data_, row, down ? step : -step) : row;
        break;
    }
    default:
        // A list of rows goes to its first or last row; a table of cells to
        // the row's first or last cell, with Control to the grid's.
        if (RowSelect() || control)
            row = first ? firstRow : lastRow;
        if (!RowSelect() || !has)
            col = first ? firstCol : lastCol;
        break;
    }
    MoveFocus(row, col, (mods & TS_MOD_SHIFT) ? kSelectExtend : kSelectOnly);
    return true;
}

bool TsGrid::KeyUp(uint32_t key, uint32_t)
{
    // The release of a key that already acted goes no further (it would
    // open the context menu or the menu bar a second time).
    if (input_.swallowKeyUp && key == input_.swallowKeyUp) {
        input_.swallowKeyUp = 0;
        return true;
    }
    return false;
}

bool TsGrid::Char(uint32_t code, uint32_t)
{
    if (!input_.enabled)
        return false;
    if (input_.swallowChar) {
        input_.swallowChar = false;
        return true;
    }
    if (code < 32 || code == 127 || code > 255 || edit_.active)
        return false;
    if (RequestEdit(code))
        return true;
    return SearchChar(code);
}

void TsGrid::MouseDown(uint32_t button, int32_t x, int32_t y, uint32_t mods, uint32_t time)
{
    if (!input_.enabled)
        return;
    EndSearch();
    // A press elsewhere in the grid ends an edit first, with the edited cell
    // still the focus while the parent hears of it.
    EndEdit(kAcceptByUser);
    input_.dragButton = button;
    input_.mouseX = x, input_.mouseY = y;
    uint32_t row, col;
    bool onCell = HitCell(x, y, &row, &col);
    if (button == TS_BUTTON_RIGHT) {
        // A right press inside the selection keeps it for the context menu.
        if (onCell) {
            MoveFocus(row, col, data_.Slot(TS_SLOT_CURRENT).Contains(static_cast<int32_t>(row), static_cast<int32_t>(col))
                                    ? kSelectKeep
                                    : kSelectOnly);
            Notify(TSN_CELLHIT2);
        }
        return;
    }
    host_->Capture(true);
    if (!onCell) {
        input_.pressed = false;
        return;
    }
    const TsClickMetrics m = host_->ClickMetrics();
    bool second = input_.pressed && time - input_.lastPress <= m.milliseconds &&
                  abs(x - input_.pressX) <= m.width / 2 && abs(y - input_.pressY) <= m.height / 2 &&
                  data_.RowId(row) == input_.pressRowId && data_.ColId(col) == input_.pressColId;
    input_.pressed = !second;  // a third press starts anew
    input_.lastPress = time;
    input_.pressX = x, input_.pressY = y;
    input_.pressRowId = data_.RowId(row);
    input_.pressColId = data_.ColId(col);
    const bool shift = (mods & TS_MOD_SHIFT) != 0, control = (mods & TS_MOD_CONTROL) != 0;
    input_.dragToggles = control && !second;
    if (input_.dragToggles)
        input_.dragBase = data_.Slot(TS_SLOT_CURRENT);
    // The second press of a double click leaves the selection as the first made it.
    MoveFocus(row, col, second ? kSelectKeep : shift ? kSelectExtend : control ? kSelectToggle : kSelectOnly);
    if (input_.dragToggles)
        input_.dragBase = data_.Slot(TS_SLOT_CURRENT);  // a Control drag adds to what the press left
    Notify(TSN_CELLHIT);
    if (second)
        Notify(TSN_DBLCLK);
}

void TsGrid::MouseMove(int32_t x, int32_t y, uint32_t)
{
    if (input_.dragButton != TS_BUTTON_LEFT || !input_.enabled)
        return;
    input_.mouseX = x, input_.mouseY = y;
    DragTo(x, y);
    bool outside = x < 0 || y < 0 || x >= view_.ClientWidth() || y >= view_.ClientHeight();
    if (outside && !input_.scrollTimer)
        input_.scrollTimer = host_->StartTimer(1);
}

void TsGrid::DragTo(int32_t x, int32_t y)
{
    // Past an edge, or past the last line in view, the drag reaches the
    // last cell in view on that side.
    TsViewState& v = Geometry();
    int32_t cx = x < 0 ? 0 : x >= v.ClientWidth() ? v.ClientWidth() - 1 : x;
    int32_t cy = y < 0 ? 0 : y >= v.ClientHeight() ? v.ClientHeight() - 1 : y;
    TsRect seen;
    if (!v.Visible(data_, &seen))
        return;
    TsHit hit = v.HitTest(data_, cx, cy);
    uint32_t row = static_cast<uint32_t>(hit.row >= 0 ? hit.row : seen.bottom);
    uint32_t col = static_cast<uint32_t>(hit.col >= 0 ? hit.col : seen.right);
    uint32_t focusRow, focusCol;
    if ((FocusCell(&focusRow, &focusCol) && focusRow == row && focusCol == col) ||
        !(data_.Row(row)->flags & TS_ROW_SHOWN) || !(data_.Col(col)->flags & TS_COL_SHOWN))
        return;
    MoveFocus(row, col, kSelectExtend);
}

void TsGrid::DragScrollStep()
{
    input_.scrollTimer = 0;
    uint32_t row, col;
    if (input_.dragButton != TS_BUTTON_LEFT || !FocusCell(&row, &col))
        return;
    TsViewState& v = Geometry();
    int32_t x = input_.mouseX, y = input_.mouseY;
    uint32_t r = y < 0 ? v.RowAfter(data_, row, -1) : y >= v.ClientHeight() ? v.RowAfter(data_, row, 1) : row;
    uint32_t c = x < 0 ? v.ColAfter(data_, col, -1) : x >= v.ClientWidth() ? v.ColAfter(data_, col, 1) : col;
    if (r == row && c == col)
        return;
    MoveFocus(r, c, kSelectExtend);
    input_.scrollTimer = host_->StartTimer(1);
}

void TsGrid::MouseUp(uint32_t button, int32_t x, int32_t y, uint32_t)
{
    if (input_.dragButton != button)
        return;
    input_.dragButton = 0;
    input_.dragToggles = false;
    if (input_.scrollTimer)
        host_->StopTimer(input_.scrollTimer);
    input_.scrollTimer = 0;
    if (button == TS_BUTTON_LEFT)
        host_->Capture(false);
    if (button == TS_BUTTON_RIGHT && input_.enabled && x >= 0 && y >= 0 && x < view_.ClientWidth() &&
        y < view_.ClientHeight())
        ContextMenuRequest();
}

void TsGrid::CaptureLost()
{
    if (input_.scrollTimer)
        host_->StopTimer(input_.scrollTimer);
    input_.scrollTimer = 0;
    if (input_.dragButton == TS_BUTTON_LEFT)
        input_.dragButton = 0;
    input_.dragToggles = false;
}

void TsGrid::ContextMenuRequest()
{
    if (!input_.enabled)
        return;
    EndSearch();
    Notify(TSN_CONTEXTMENU);
}

// The window side redraws the focus cell's outline as the keyboard comes and goes.
void TsGrid::FocusGained()
{
    input_.focused = true;
    uint32_t row, col;
    host_->Accessible(TS_EVENT_FOCUS, FocusCell(&row, &col) ? row : TS_NO_ROW);
}

void TsGrid::FocusLost()
{
    input_.focused = false;
    EndSearch();
    CaptureLost();
}

void TsGrid::SetEnabled(bool on)
{
    if (input_.enabled == on)
        return;
    input_.enabled = on;
    if (!on) {
        EndSearch();
        EndEdit(kAcceptByUser);
        if (input_.dragButton == TS_BUTTON_LEFT)
            host_->Capture(false);
        input_.dragButton = 0;
        CaptureLost();
    }
    Repaint();
}
