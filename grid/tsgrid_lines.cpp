// Messages on rows and columns: insertion, deletion, hiding, moving, the
// dimensions, attributes and flags, the outline, and sorting.
#include "tsgrid.h"

#include "tsstringlist.h"
#include "tsvalue.h"

namespace {

// Covered positions, ascending.
template <class Walk>
std::vector<uint32_t> Positions(Walk walk)
{
    std::vector<uint32_t> out;
    walk([&out](uint32_t p) { out.push_back(p); });
    return out;
}

}  // namespace

intptr_t TsGrid::OnInsert(ParamBlock* b, bool rows)
{
    uint32_t handle = data_.AllocateSelection();
    if (!handle)
        return 0;
    uint32_t count = TsLo(b->d0);
    int32_t v = static_cast<int32_t>(static_cast<uint32_t>(b->d1));
    uint32_t have = rows ? data_.RowCount() : data_.ColCount();
    uint32_t position;
    if (v >= TS_ID_BASE)
        position = rows ? data_.MapRow(static_cast<uint32_t>(v)) : data_.MapCol(static_cast<uint32_t>(v));
    else if (v < 1)  // 0 and below count from the end
        position = static_cast<int64_t>(have) + v < 0 ? 0 : static_cast<uint32_t>(static_cast<int64_t>(have) + v);
    else
        position = static_cast<uint32_t>(v);
    InsertLines(rows, position, count, handle);
    return handle;
}

uint32_t TsGrid::InsertLines(bool rows, uint32_t position, uint32_t count, uint32_t handle)
{
    // While a sort is active the lines go to the end, marked for the sort
    // to place once the client has filled them.
    bool sorted = Sorted(rows);
    if (sorted)
        position = rows ? data_.RowCount() : data_.ColCount();
    uint32_t made = rows ? data_.InsertRows(position, count, handle) : data_.InsertCols(position, count, handle);
    if (sorted) {
        for (uint32_t i = 0; i < made; ++i)
            MarkForPlacing(rows, position + i);
    }
    Repaint(rows ? TS_VALID_ROWS | TS_VALID_LAYOUT : TS_VALID_COLS | TS_VALID_LAYOUT);
    return made;
}

intptr_t TsGrid::OnDeleteRows(ParamBlock* b)
{
    std::vector<uint32_t> rows = Positions([&](auto f) { data_.ForEachRow(Sel(b->d0), f); });
    EndEditOverDeleted(true, rows);
    rows = Positions([&](auto f) { data_.ForEachRow(Sel(b->d0), f); });
    // Run by run, starting from the last, so earlier positions stay put.
    for (size_t end = rows.size(); end > 0;) {
        size_t start = end - 1;
        while (start > 0 && rows[start - 1] + 1 == rows[start])
            --start;
        data_.DeleteRows(rows[start], static_cast<uint32_t>(end - start));
        end = start;
    }
    KeyLinesDeleted(true);
    Geometry().Clamp(data_);
    Repaint(TS_VALID_ROWS | TS_VALID_LAYOUT);
    return 1;
}

intptr_t TsGrid::OnDeleteCols(ParamBlock* b)
{
    std::vector<uint32_t> cols = Positions([&](auto f) { data_.ForEachCol(Sel(b->d0), f); });
    EndEditOverDeleted(false, cols);
    cols = Positions([&](auto f) { data_.ForEachCol(Sel(b->d0), f); });
    for (size_t end = cols.size(); end > 0;) {
        size_t start = end - 1;
        while (start > 0 && cols[start - 1] + 1 == cols[start])
            --start;
        data_.DeleteCols(cols[start], static_cast<uint32_t>(end - start));
        end = start;
    }
    KeyLinesDeleted(false);
    Geometry().Clamp(data_);
    Repaint(TS_VALID_COLS | TS_VALID_LAYOUT);
    return 1;
}

namespace {

// Hiding and showing: a nonzero flags word clears the fixed mark first, a
// fixed row keeps its state, and flags bit 0 fixes it afterwards.
void ApplyShown(uint16_t* flags, uint16_t fixedBit, uint16_t shownBit, uint32_t how, bool hide)
{
    if (how)
        *flags &= static_cast<uint16_t>(~fixedBit);
    if (!(*flags & fixedBit))
        *flags = static_cast<uint16_t>(hide ? *flags & ~shownBit : *flags | shownBit);
    if (how & 1)
        *flags |= fixedBit;
}

}  // namespace

intptr_t TsGrid::OnHideRows(ParamBlock* b)
{
    data_.ForEachRow(Sel(b->d0), [&](uint32_t r) {
        ApplyShown(&data_.Row(r)->flags, TS_ROW_FIXED, TS_ROW_SHOWN, TsHi(b->d0), b->d1 != 0);
    });
    Repaint(TS_VALID_ROWS | TS_VALID_LAYOUT);
    return 1;
}

intptr_t TsGrid::OnHideCols(ParamBlock* b)
{
    data_.ForEachCol(Sel(b->d0), [&](uint32_t c) {
        ApplyShown(&data_.Col(c)->flags, TS_COL_FIXED, TS_COL_SHOWN, TsHi(b->d0), b->d1 != 0);
    });
    Repaint(TS_VALID_COLS | TS_VALID_LAYOUT);
    return 1;
}

intptr_t TsGrid::OnMove(ParamBlock* b, bool rows)
{
    // Rows move only while no sort governs their order.
    TsTable& order = rows ? data_.Cols() : data_.Rows();
    if (order.sortState != 1)
        return 1;
    uint32_t handle = b->d0 & TS_HANDLE_MASK;
    TsRectSet* sel = data_.Selection(handle);
    if (!sel)
        return 1;
    std::vector<uint32_t> lines =
        rows ? Positions([&](auto f) { data_.ForEachRow(*sel, f); }) : Positions([&](auto f) { data_.ForEachCol(*sel, f); });
    if (lines.empty())
        return 1;
    int32_t step = static_cast<int32_t>(static_cast<uint32_t>(b->d1));
    // Every selection, the focus and this one included, follows its lines.
    int64_t edited = EditLinePosition(rows);
    if (rows)
        data_.MoveRows(lines, step);
    else
        data_.MoveCols(lines, step);
    EndEditOverMoved(rows, edited);
    Repaint(rows ? TS_VALID_ROWS : TS_VALID_COLS);
    return 1;
}

int32_t TsGrid::SetDimension(bool rows, int32_t count)
{
    uint32_t have = rows ? data_.RowCount() : data_.ColCount();
    uint32_t want = static_cast<uint32_t>(count);
    if (want > have) {
        InsertLines(rows, have, want - have, 0);
    } else if (want < have) {
        std::vector<uint32_t> going;
        for (uint32_t i = want; i < have; ++i)
            going.push_back(i);
        EndEditOverDeleted(rows, going);
        have = rows ? data_.RowCount() : data_.ColCount();
        if (want < have) {
            if (rows)
                data_.DeleteRows(want, have - want);
            else
                data_.DeleteCols(want, have - want);
        }
        KeyLinesDeleted(rows);
    }
    Geometry().Clamp(data_);
    Repaint(rows ? TS_VALID_ROWS | TS_VALID_LAYOUT : TS_VALID_COLS | TS_VALID_LAYOUT);
    return 1;
}

intptr_t TsGrid::OnSetDimensions(ParamBlock* b)
{
    int16_t rows = static_cast<int16_t>(b->d1 & 0xFFFF);
    int16_t cols = static_cast<int16_t>((b->d1 >> 16) & 0xFFFF);
    if (rows >= 0)
        SetDimension(true, rows);
    if (cols >= 0)
        SetDimension(false, cols);
    return 1;
}

namespace {

// TSM_SETROWATTR / TSM_SETCOLATTR on one level byte and its two colour
// references: selector 1 the first, 2 the second, 3 both (0 the first).
// A named alias that does not exist (alias -1) changes no reference.
void ApplyAttr(TsDataMgr& d, uint8_t* level, uint8_t* refs, uint32_t word, int alias)
{
    uint32_t value = word & 0xFF;
    uint32_t selector = (word >> 8) & 3;
    bool first = selector != 2;
    bool second = selector >= 2;
    if (value < 16) {
        if (first)
            *level = static_cast<uint8_t>((*level & 0xF0) | value);
        if (second)
            *level = static_cast<uint8_t>((*level & 0x0F) | value << 4);
    }
    if (alias < 0)
        return;
    if (first)
        d.SetRef(&refs[0], TS_ALIAS_COLORPAIR, alias);
    if (second)
        d.SetRef(&refs[1], TS_ALIAS_COLORPAIR, alias);
}

int AttrAlias(TsDataMgr& d, const char* name)
{
    return name ? d.Aliases().Find(TS_ALIAS_COLORPAIR, name) : 0;
}

}  // namespace

intptr_t TsGrid::OnSetRowAttr(ParamBlock* b)
{
    int alias = AttrAlias(data_, reinterpret_cast<const char*>(b->d1));
    data_.ForEachRow(Sel(b->d0), [&](uint32_t r) {
        TsRowRecord* row = data_.Row(r);
        ApplyAttr(data_, &row->level, row->colorRef, TsHi(b->d0), alias);
    });
    data_.LevelsChanged();
    Repaint(TS_VALID_ROWS);
    return 1;
}

intptr_t TsGrid::OnSetColAttr(ParamBlock* b)
{
    int alias = AttrAlias(data_, reinterpret_cast<const char*>(b->d1));
    data_.ForEachCol(Sel(b->d0), [&](uint32_t c) {
        TsColumnRecord* col = data_.Col(c);
        ApplyAttr(data_, &col->level, col->colorRef, TsHi(b->d0), alias);
    });
    Repaint(TS_VALID_COLS);
    return 1;
}

intptr_t TsGrid::OnSetRowFlags(ParamBlock* b)
{
    uint16_t bits = static_cast<uint16_t>(TsHi(b->d0));
    data_.ForEachRow(Sel(b->d0), [&](uint32_t r) {
        uint16_t& flags = data_.Row(r)->flags;
        flags = static_cast<uint16_t>(b->d1 ? flags | bits : flags & ~bits);
    });
    Repaint(TS_VALID_ROWS | TS_VALID_LAYOUT);
    return 1;
}

intptr_t TsGrid::OnSetColFlags(ParamBlock* b)
{
    uint16_t bits = static_cast<uint16_t>(TsHi(b->d0));
    data_.ForEachCol(Sel(b->d0), [&](uint32_t c) {
        uint16_t& flags = data_.Col(c)->flags;
        flags = static_cast<uint16_t>(b->d1 ? flags | bits : flags & ~bits);
    });
    Repaint(TS_VALID_COLS | TS_VALID_LAYOUT);
    return 1;
}

intptr_t TsGrid::OnRowsHeight(ParamBlock* b)
{
    intptr_t sum = 0;
    data_.ForEachRow(Sel(b->d0), [&](uint32_t r) { sum += TsViewState::RowExtent(data_.Row(r)); });
    return sum;
}

intptr_t TsGrid::OnColsWidth(ParamBlock* b)
{
    intptr_t sum = 0;
    data_.ForEachCol(Sel(b->d0), [&](uint32_t c) { sum += TsViewState::ColExtent(data_.Col(c)); });
    return sum;
}

intptr_t TsGrid::OnSetColMark(ParamBlock* b)
{
    data_.ForEachCol(Sel(b->d0), [&](uint32_t c) {
        uint16_t& flags = data_.Col(c)->flags;
        uint16_t marked = static_cast<uint16_t>(b->d1 ? flags | TS_COL_MARK : flags & ~TS_COL_MARK);
        if (marked != flags)
            marked |= TS_COL_MARKCHANGED;
        flags = marked;
    });
    Repaint(TS_VALID_COLS);
    return 1;
}

intptr_t TsGrid::OnSetColSearch(ParamBlock* b)
{
    data_.ForEachCol(Sel(b->d0), [&](uint32_t c) {
        uint16_t& flags = data_.Col(c)->flags;
        flags = static_cast<uint16_t>(b->d1 ? flags | TS_COL_SEARCH : flags & ~TS_COL_SEARCH);
    });
    return 1;
}

intptr_t TsGrid::OnOutline(ParamBlock* b)
{
    uint32_t depth = TsByte(b->d0, 2) ? TsByte(b->d0, 2) : 1;
    bool expand = TsByte(b->d0, 3) != 0;
    Vlist* icons = reinterpret_cast<Vlist*>(b->d1);
    std::vector<uint32_t> marked = Positions([&](auto f) {
        for (uint32_t c = 0; c < data_.ColCount(); ++c) {
            if (data_.Col(c)->flags & TS_COL_MARK)
                f(c);
        }
    });
    data_.ForEachRow(Sel(b->d0), [&](uint32_t r) {
        uint32_t size = data_.GroupSize(r);
        uint32_t level = TsDataMgr::Level(data_.Row(r));
        // Level by level: collapse hides the rows deeper than depth - 1 below
        // the head, expand shows those down to depth below it.
        for (uint32_t i = r + 1; i < r + size && i < data_.RowCount(); ++i) {
            uint32_t below = TsDataMgr::Level(data_.Row(i)) - level;
            if (expand ? below <= depth : below >= depth)
                ApplyShown(&data_.Row(i)->flags, TS_ROW_FIXED, TS_ROW_SHOWN, 0, !expand);
        }
        // The outline icon: three states per level (expanded, collapsed, no group).
        uint32_t state = size > 1 ? (expand ? 0 : 1) : 2;
        int32_t index = static_cast<int32_t>(level * 3 + state);
        if (icons && index < icons->Size()) {
            int icon = data_.Aliases().Find(TS_ALIAS_ICON, TsValueText(*icons->At(index)));
            for (uint32_t c : marked) {
                if (icon >= 0) {
                    data_.SetRef(&data_.Cell(r, c)->icon, TS_ALIAS_ICON, icon);
                    data_.Cell(r, c)->extent = TS_NOT_MEASURED;
                }
            }
        }
    });
    Repaint(TS_VALID_ROWS | TS_VALID_LAYOUT);
    return 1;
}
