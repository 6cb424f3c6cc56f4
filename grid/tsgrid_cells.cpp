// Messages on cells and aliases: clearing and resetting cells, cell flags,
// repaint requests, alias definitions and names, the in-place edit session
// and the timed highlight.
#include "tsgrid.h"

#include "tshost.h"
#include "tsstringlist.h"
#include "tsvalue.h"

namespace {

bool IsDefinableKind(uint32_t kind)
{
    return kind >= TS_ALIAS_COLORPAIR && kind <= TS_ALIAS_CURSOR;
}

}  // namespace

TsCell* TsGrid::CellOfPacked(uintptr_t packed, uint32_t* row, uint32_t* col)
{
    *col = ColPosition(static_cast<int32_t>(packed & 0xFFFF));
    *row = RowPosition(static_cast<int32_t>((packed >> 16) & 0xFFFF));
    if (*row >= data_.RowCount() || *col >= data_.ColCount())
        return nullptr;
    return data_.Cell(*row, *col);
}

uint32_t TsGrid::EffectiveAlias(int kind, uint32_t row, uint32_t col)
{
    const TsCell* cell = data_.Cell(row, col);
    const TsColumnRecord* column = data_.Col(col);
    uint32_t mine = 0, rows = 0, columns = 0;
    switch (kind) {
    case TS_ALIAS_COLORPAIR:
        mine = cell->colorPair[TS_STATE_NORMAL], rows = data_.Row(row)->colorRef[0],
        columns = column->colorPair[TS_STATE_NORMAL];
        break;
    case TS_ALIAS_FONT:
        mine = cell->font, columns = column->font;
        break;
    case TS_ALIAS_ICON:
        mine = cell->icon, columns = column->icon;
        break;
    default:
        mine = cell->cursor, columns = column->cursor;
        break;
    }
    // A cell without its own alias shows its row's (colours only), then its
    // column's, else the default (number 0).
    return mine ? mine : rows ? rows : columns;
}

intptr_t TsGrid::OnClearCells(ParamBlock* b)
{
    uint32_t mask = static_cast<uint32_t>(b->d1);
    data_.ForEachCell(Sel(b->d0), [&](uint32_t r, uint32_t c) { data_.ResetCell(data_.Cell(r, c), mask); });
    Repaint(TS_VALID_FOCUS);
    return 1;
}

intptr_t TsGrid::OnResetCells(ParamBlock* b)
{
    uint32_t mask = static_cast<uint32_t>(b->d1) & ~static_cast<uint32_t>(TS_CELL_TEXT);
    data_.ForEachCell(Sel(b->d0), [&](uint32_t r, uint32_t c) { data_.ResetCell(data_.Cell(r, c), mask); });
    Repaint(TS_VALID_FOCUS);
    return 1;
}

intptr_t TsGrid::OnCellOperation(ParamBlock* b)
{
    // Operation 0: the flag bits in the low half of d1 take the values of
    // the byte in its high half.
    if (TsHi(b->d0) != 0)
        return 1;
    uint8_t mask = static_cast<uint8_t>(b->d1 & 0xFF);
    uint8_t bits = static_cast<uint8_t>((b->d1 >> 16) & 0xFF);
    data_.ForEachCell(Sel(b->d0), [&](uint32_t r, uint32_t c) {
        TsCell* cell = data_.Cell(r, c);
        cell->flags = static_cast<uint8_t>((cell->flags & ~mask) | (bits & mask));
    });
    Repaint(TS_VALID_FOCUS);
    return 1;
}

intptr_t TsGrid::OnRepaintCells(ParamBlock* b)
{
    if (!Sel(b->d0).Empty())
        Repaint(TS_VALID_FOCUS);
    return 1;
}

intptr_t TsGrid::OnRepaintAll(ParamBlock*)
{
    Repaint();
    return 1;
}

intptr_t TsGrid::OnCellTest(ParamBlock* b)
{
    uint32_t row, col;
    TsCell* cell = CellOfPacked(b->d1, &row, &col);
    return cell ? cell->flags : 0;
}

intptr_t TsGrid::OnDefineAlias(ParamBlock* b)
{
    const TsAliasDef* def = reinterpret_cast<const TsAliasDef*>(b->d1);
    uint32_t kind = TsLo(b->d0);
    if (!def || !def->name || !IsDefinableKind(kind))
        return 0;
    TsAliasTables& aliases = data_.Aliases();
    int number = -1;
    switch (kind) {
    case TS_ALIAS_COLORPAIR:
        number = aliases.DefineColorPair(def->name, def->spec1, def->spec2);
        break;
    case TS_ALIAS_FONT:
        number = aliases.DefineFont(def->name, def->spec1);
        break;
    case TS_ALIAS_ICON:
        number = aliases.DefineIcon(def->name, def->spec1, TS_ICON_MAX_SIZE, TS_ICON_MAX_SIZE);
        break;
    default:
        number = aliases.DefineCursor(def->name, def->spec1);
        break;
    }
    if (number < 0)
        return 0;
    // Fonts and icons size rows and columns; every kind may change what shows.
    Repaint(kind == TS_ALIAS_FONT || kind == TS_ALIAS_ICON ? TS_VALID_ALL : TS_VALID_FOCUS);
    if (kind == TS_ALIAS_FONT || kind == TS_ALIAS_ICON)
        ForgetMeasures();
    return TsAliasNumber(number);
}

intptr_t TsGrid::OnFindAlias(ParamBlock* b)
{
    return TsAliasNumber(
        data_.Aliases().Find(static_cast<int>(TsLo(b->d0) & 0xFF), reinterpret_cast<const char*>(b->d1)));
}

intptr_t TsGrid::OnAliasNames(ParamBlock* b)
{
    Vlist* out = reinterpret_cast<Vlist*>(b->d1);
    int kind = TsHi(b->d0) ? static_cast<int>(TsHi(b->d0)) : TS_ALIAS_COLORPAIR;
    if (!out || !IsDefinableKind(static_cast<uint32_t>(kind)))
        return 1;
    auto append = [out](const char* text) {
        TsValue* name = TsMakeText(text);
        out->Append(name);
        TsValueRelease(name);
    };
    // Without a selection: every name defined, in number order; with one,
    // the name each covered cell shows.
    if (!data_.Selection(b->d0 & TS_HANDLE_MASK)) {
        for (const std::string& name : data_.Aliases().Names(kind))
            append(name.c_str());
        return 1;
    }
    data_.ForEachCell(Sel(b->d0), [&](uint32_t r, uint32_t c) {
        append(data_.Aliases().Name(kind, static_cast<int>(EffectiveAlias(kind, r, c))));
    });
    return 1;
}

// ---------------------------------------------------------------------------
// The edit session. The editor window and the keys that drive it belong to
// the edit layer; the session (which cell, its text, how it ended) is here.

intptr_t TsGrid::OnBeginEdit(ParamBlock* b)
{
    if (edit_.active)
        return edit_.state;
    TsRect focus;
    if (!data_.Slot(TS_SLOT_FOCUS).Bounds(&focus) || focus.top >= static_cast<int32_t>(data_.RowCount()) ||
        focus.left >= static_cast<int32_t>(data_.ColCount()))
        return 0;
    const TsEditRequest* request = reinterpret_cast<const TsEditRequest*>(b->d1);
    int32_t limit = request ? request->maxLength : TS_VALUE_MAX;
    edit_.maxLength = limit < 0 ? 0 : limit > TS_VALUE_MAX ? TS_VALUE_MAX : limit;
    edit_.rowId = data_.RowId(static_cast<uint32_t>(focus.top));
    edit_.colId = data_.ColId(static_cast<uint32_t>(focus.left));
    TsHolderSet(&edit_.text, data_.Cell(static_cast<uint32_t>(focus.top), static_cast<uint32_t>(focus.left))->value);
    edit_.caret = edit_.selection = 0;
    edit_.active = true;
    edit_.state = 1;
    Repaint(TS_VALID_FOCUS);
    return edit_.state;
}

intptr_t TsGrid::OnEndEdit(ParamBlock* b)
{
    if (!edit_.active)
        return 0;
    edit_.active = false;
    if (b->d1) {
        uint32_t row = data_.MapRow(edit_.rowId), col = data_.MapCol(edit_.colId);
        if (row < data_.RowCount() && col < data_.ColCount() && data_.RowId(row) == edit_.rowId &&
            data_.ColId(col) == edit_.colId)
            data_.SetCellValue(data_.Cell(row, col), edit_.text);
        edit_.state = 0;
        Notify(TSN_EDITACCEPTED);
    } else {
        edit_.state = 16;
        Notify(TSN_EDITCANCELLED);
    }
    Repaint(TS_VALID_FOCUS);
    return 1;
}

intptr_t TsGrid::OnHiliteMode(ParamBlock* b)
{
    TsRectSet& hilite = data_.Slot(TS_SLOT_HILITE);
    hilite = Sel(b->d0);
    hilite.Clip(data_.Extent());
    if (edit_.timer)
        host_->StopTimer(edit_.timer);
    edit_.timer = 0;
    edit_.deadline = 0;
    uint32_t ms = static_cast<uint32_t>(b->d1);
    Repaint(TS_VALID_FOCUS);
    if (ms == 0 || hilite.Empty()) {
        hilite.Clear();
        return 1;
    }
    uint32_t ticks = (ms + 49) / 50;
    edit_.timer = host_->StartTimer(ticks < 1 ? 1 : ticks > 254 ? 254 : ticks);
    if (!edit_.timer) {
        TsDiagnostic("TS: (TsWndMgr) Unhighlight event request failed; cells will not highlight.");
        hilite.Clear();
        return 1;
    }
    edit_.deadline = host_->Now() + ms;
    if (!edit_.deadline)
        edit_.deadline = 1;  // 0 means no highlight pending
    edit_.changeMask |= 0x20;
    return 1;
}
