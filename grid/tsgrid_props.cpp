// TSM_SETPROP and TSM_GETPROP: the property dispatch by group, and the
// items the data, glue and edit layers answer themselves. Group 4 goes to
// the frame; items nobody here knows go to the property layers in order.
#include "tsgrid.h"

#include "tspropvalues.h"
#include "tsvalue.h"

namespace {

enum : uint32_t {
    kItemEditText = 36,
    kItemCaret = 37,
    kItemSelLength = 38,
    kItemSearchValue = 56
};

// The next value as a number for a grid item; false at the end or for a
// marker (a no-op marker leaves grid items alone).
bool GridNumber(TsValueSource& values, int32_t* out)
{
    TsValue* v = values.Next();
    if (!v || TsValueType(v) >= TS_VALUE_MARKER)
        return false;
    *out = TsValueNumber(v);
    return true;
}

// One axis of a selection's bounds clipped to count lines; 32767 for both
// ends when nothing remains.
void ClipAxis(int32_t a, int32_t b, uint32_t count, int32_t* first, int32_t* last)
{
    if (a < 0)
        a = 0;
    if (b > static_cast<int32_t>(count) - 1)
        b = static_cast<int32_t>(count) - 1;
    *first = a <= b ? a : TS_EMPTY_GEOMETRY;
    *last = a <= b ? b : TS_EMPTY_GEOMETRY;
}

}  // namespace

intptr_t TsGrid::OnSetProp(ParamBlock* b)
{
    PropertyId id = static_cast<PropertyId>(TsHi(b->d0));
    uint32_t group = TsPropGroup(id);
    if (group == TS_GROUP_FRAME)
        return host_->SendToFrame(TSM_SETPROP, b);
    if (group > TS_GROUP_GRID)
        return 0;  // geometry is read only
    TsRectSet none;
    TsPropRequest r{group, TsPropPart(id), TsPropItem(id), group == TS_GROUP_GRID ? &none : &Sel(b->d0), b->d1};
    TsValueSource values(r.part, r.d1);
    intptr_t result = 0;
    if (SetOwnItem(r, values, &result))
        return result;
    for (TsPropertyLayer* layer : layers_) {
        if (layer->SetItem(*this, r, values, &result))
            return result;
    }
    return 0;
}

intptr_t TsGrid::OnGetProp(ParamBlock* b)
{
    PropertyId id = static_cast<PropertyId>(TsHi(b->d0));
    uint32_t group = TsPropGroup(id);
    if (group == TS_GROUP_FRAME)
        return host_->SendToFrame(TSM_GETPROP, b);
    if (group > TS_GROUP_GEOMETRY)
        return 0;
    TsRectSet none;
    TsPropRequest r{group, TsPropPart(id), TsPropItem(id), group == TS_GROUP_GRID ? &none : &Sel(b->d0), b->d1};
    TsValueSink out(r.part, r.d1);
    intptr_t result = 0;
    if (GetOwnItem(r, out, &result))
        return result;
    for (TsPropertyLayer* layer : layers_) {
        if (layer->GetItem(*this, r, out, &result))
            return result;
    }
    return 0;
}

bool TsGrid::SetOwnItem(const TsPropRequest& r, TsValueSource& values, intptr_t* result)
{
    *result = 1;
    bool more = true;
    if (r.group == TS_GROUP_CELLS && r.item == TS_ITEM_VALUE) {
        bool bestChanged = false;
        data_.ForEachCell(*r.targets, [&](uint32_t row, uint32_t col) {
            if (!more)
                return;
            TsCell* cell = data_.Cell(row, col);
            TsValue* v = TsValueRef(cell->value);
            more = values.ApplyTo(&v);
            if (v != cell->value) {
                data_.SetCellValue(cell, v);
                KeyCellChanged(row, col);
                // The text is measured again, and a column as wide as its
                // content lays out again.
                cell->extent = TS_NOT_MEASURED;
                TsColumnRecord* column = data_.Col(col);
                column->contentWidth = TS_NOT_MEASURED;
                if (column->flags & TS_COL_BITEM)
                    bestChanged = true;
            }
            TsValueRelease(v);
        });
        Repaint(bestChanged ? TS_VALID_FOCUS | TS_VALID_COLS : TS_VALID_FOCUS);
        return true;
    }
    if (r.group == TS_GROUP_ROWS && r.item == TS_ITEM_LEVEL) {
        data_.ForEachRow(*r.targets, [&](uint32_t row) {
            TsRowRecord* rec = data_.Row(row);
            TsValue* level = TsMakeNumber(TsDataMgr::Level(rec));
            if (more && (more = values.ApplyTo(&level)))
                rec->level = static_cast<uint8_t>((rec->level & 0xF0) | (TsValueNumber(level) & 0x0F));
            TsValueRelease(level);
        });
        data_.LevelsChanged();
        Repaint(TS_VALID_ROWS);
        return true;
    }
    if (r.group == TS_GROUP_ROWS && (r.item == TS_ITEM_USER || r.item == TS_ITEM_USER2)) {
        int which = r.item == TS_ITEM_USER ? 0 : 1;
        // Item 20 is the row's data word of a row-data sort key.
        bool keyed = which == 0 && sortKeys_[0].dataKey != 0;
        data_.ForEachRow(*r.targets, [&](uint32_t row) {
            more = more && values.ApplyTo(&data_.Row(row)->user[which]);
            if (keyed)
                MarkForPlacing(true, row);
        });
        return true;
    }
    if (r.group == TS_GROUP_COLS && r.item == TS_ITEM_USER) {
        bool keyed = sortKeys_[1].dataKey != 0;
        data_.ForEachCol(*r.targets, [&](uint32_t col) {
            more = more && values.ApplyTo(&data_.Col(col)->user);
            if (keyed)
                MarkForPlacing(false, col);
        });
        return true;
    }
    if ((r.group == TS_GROUP_ROWS || r.group == TS_GROUP_COLS) && r.item == TS_ITEM_ID) {
        *result = 0;  // identifiers are given by the grid
        return true;
    }
    if (r.group == TS_GROUP_GRID)
        return SetGridItem(r.item, values);
    return false;
}

bool TsGrid::SetGridItem(uint32_t item, TsValueSource& values)
{
    int32_t n = 0;
    if (item == kItemEditText) {
        TsValue* v = values.Next();
        if ((edit_.active || edit_.ending) && v && TsValueType(v) < TS_VALUE_MARKER)
            SetEditText(v);
        return true;
    }
    switch (item) {
    case TS_ITEM_ROWTABLE:
    case TS_ITEM_COLTABLE:
    case TS_ITEM_ROWCOUNT:
    case TS_ITEM_COLCOUNT:
    case TS_ITEM_WINDOWFLAGS1:
    case TS_ITEM_WINDOWFLAGS2:
    case TS_ITEM_CHANGEMASK:
    case kItemCaret:
    case kItemSelLength:
        break;
    default:
        return false;
    }
    if (!GridNumber(values, &n))
        return true;
    switch (item) {
    case TS_ITEM_ROWTABLE:
        if (n >= 0 && n <= 32000) {
            rowTable_ = static_cast<uint32_t>(n);
            Repaint(TS_VALID_ROWS | TS_VALID_LAYOUT);
        }
        break;
    case TS_ITEM_COLTABLE:
        if (n >= 0 && n <= 250) {
            colTable_ = static_cast<uint32_t>(n);
            Repaint(TS_VALID_COLS | TS_VALID_LAYOUT);
        }
        break;
    case TS_ITEM_ROWCOUNT:
    case TS_ITEM_COLCOUNT:
        if (n >= 0)
            SetDimension(item == TS_ITEM_ROWCOUNT, n > 0xFFFF ? 0xFFFF : n);
        break;
    case TS_ITEM_WINDOWFLAGS1:
        windowFlags_ = static_cast<uint32_t>(n);
        break;
    case TS_ITEM_WINDOWFLAGS2:
        windowFlags2_ = static_cast<uint32_t>(n);
        break;
    case TS_ITEM_CHANGEMASK:
        edit_.changeMask = ~static_cast<uint32_t>(n) & 0x1FF8u;
        break;
    case kItemCaret:
    default:
        // The caret within the text, the selection within the text from the caret.
        SyncEditFromEditor();
        (item == kItemCaret ? edit_.caret : edit_.selection) = n;
        if (edit_.text) {
            int32_t length = edit_.text->length;
            edit_.caret = edit_.caret < 0 ? 0 : edit_.caret > length ? length : edit_.caret;
            edit_.selection = edit_.selection < -edit_.caret ? -edit_.caret
                              : edit_.selection > length - edit_.caret ? length - edit_.caret
                                                                        : edit_.selection;
        }
        if (TsEditor* editor = edit_.active ? host_->Editor() : nullptr)
            editor->SetSelection(edit_.caret, edit_.selection);
        break;
    }
    return true;
}

bool TsGrid::GetOwnItem(const TsPropRequest& r, TsValueSink& out, intptr_t* result)
{
    bool known = true;
    if (r.group == TS_GROUP_CELLS && r.item == TS_ITEM_VALUE) {
        data_.ForEachCell(*r.targets, [&](uint32_t row, uint32_t col) {
            if (!out.Full())
                out.Put(data_.Cell(row, col)->value);
        });
    } else if (r.group == TS_GROUP_ROWS && (r.item == TS_ITEM_LEVEL || r.item == TS_ITEM_ID || r.item == TS_ITEM_USER ||
                                            r.item == TS_ITEM_USER2)) {
        data_.ForEachRow(*r.targets, [&](uint32_t row) {
            if (out.Full())
                return;
            TsRowRecord* rec = data_.Row(row);
            if (r.item == TS_ITEM_LEVEL)
                out.PutNumber(static_cast<int32_t>(TsDataMgr::Level(rec)));
            else if (r.item == TS_ITEM_ID)
                out.PutNumber(static_cast<int32_t>(data_.RowId(row)));
            else
                out.Put(rec->user[r.item == TS_ITEM_USER ? 0 : 1]);
        });
    } else if (r.group == TS_GROUP_COLS && (r.item == TS_ITEM_ID || r.item == TS_ITEM_USER)) {
        data_.ForEachCol(*r.targets, [&](uint32_t col) {
            if (out.Full())
                return;
            if (r.item == TS_ITEM_ID)
                out.PutNumber(static_cast<int32_t>(data_.ColId(col)));
            else
                out.Put(data_.Col(col)->user);
        });
    } else if (r.group == TS_GROUP_GRID) {
        known = GetGridItem(r.item, out);
    } else if (r.group == TS_GROUP_GEOMETRY && r.item >= TS_ITEM_FIRSTROWSEL && r.item <= TS_ITEM_LASTCOLSEL) {
        TsRect b;
        int32_t firstRow = TS_EMPTY_GEOMETRY, lastRow = TS_EMPTY_GEOMETRY;
        int32_t firstCol = TS_EMPTY_GEOMETRY, lastCol = TS_EMPTY_GEOMETRY;
        if (r.targets->Bounds(&b)) {
            ClipAxis(b.top, b.bottom, data_.RowCount(), &firstRow, &lastRow);
            ClipAxis(b.left, b.right, data_.ColCount(), &firstCol, &lastCol);
        }
        const int32_t values[4] = {firstRow, lastRow, firstCol, lastCol};
        out.PutNumber(values[r.item - TS_ITEM_FIRSTROWSEL]);
    } else {
        known = false;
    }
    if (known)
        *result = out.Result();
    return known;
}

bool TsGrid::GetGridItem(uint32_t item, TsValueSink& out)
{
    int32_t n = 0;
    switch (item) {
    case TS_ITEM_ROWTABLE:
        n = static_cast<int32_t>(rowTable_);
        break;
    case TS_ITEM_COLTABLE:
        n = static_cast<int32_t>(colTable_);
        break;
    case TS_ITEM_ROWCOUNT:
        n = static_cast<int32_t>(data_.RowCount());
        break;
    case TS_ITEM_COLCOUNT:
        n = static_cast<int32_t>(data_.ColCount());
        break;
    case TS_ITEM_FIRSTROW:
        n = static_cast<int32_t>(view_.FirstRow());
        break;
    case TS_ITEM_WINDOWFLAGS1:
        n = static_cast<int32_t>(windowFlags_);
        break;
    case TS_ITEM_WINDOWFLAGS2:
        n = static_cast<int32_t>(windowFlags2_);
        break;
    case TS_ITEM_EDITSTATE:
        n = edit_.active ? 1 : static_cast<int32_t>(edit_.state);
        break;
    case TS_ITEM_CHANGEMASK:
        n = static_cast<int32_t>(~edit_.changeMask & 0x1FF8u);
        break;
    case kItemCaret:
        SyncEditFromEditor();
        n = edit_.caret;
        break;
    case kItemSelLength:
        SyncEditFromEditor();
        n = edit_.selection;
        break;
    case kItemSearchValue:
        // Nonzero while this grid searches: typing continues the search and
        // the parent refuses an edit.
        n = Searching() ? static_cast<int32_t>(search_.text.size()) : 0;
        break;
    case kItemEditText:
        // The editor's text while an edit is open or being ended, else the
        // AutoSearch text.
        SyncEditFromEditor();
        if (edit_.active || edit_.ending) {
            out.Put(edit_.text);
        } else {
            TsValue* typed = TsMakeText(Searching() ? search_.text.c_str() : "");
            out.Put(typed);
            TsValueRelease(typed);
        }
        return true;
    default:
        return false;
    }
    out.PutNumber(n);
    return true;
}
