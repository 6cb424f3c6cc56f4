// Sorting: TSM_SORTROWS and TSM_SORTCOLS set the key list from a sort
// specification, and the grid keeps its rows (columns) in that order as
// lines are added and keys change. The order is a permutation of the table's
// record references; cells never move, and every selection, the focus
// included, follows its lines.
#include "tsgrid.h"

#include <algorithm>
#include <array>
#include <deque>

#include "tshost.h"
#include "tsvalue.h"

namespace {

// Key line arguments of a sort request: positions or identifiers of the
// other table (columns for a row sort), kept as identifiers.
struct KeyTable {
    TsDataMgr* data;
    bool rows;  // the key lines are rows (a column sort)
};

bool ResolveKeyLine(uint32_t argument, uintptr_t* line, void* context)
{
    const KeyTable& k = *static_cast<KeyTable*>(context);
    TsDataMgr& d = *k.data;
    uint32_t count = k.rows ? d.RowCount() : d.ColCount();
    uint32_t position = argument >= TS_ID_BASE ? (k.rows ? d.MapRow(argument) : d.MapCol(argument)) : argument;
    if (position >= count)
        return false;
    uint32_t id = k.rows ? d.RowId(position) : d.ColId(position);
    if (argument >= TS_ID_BASE && id != argument)
        return false;
    *line = id;
    return true;
}

bool LiveId(TsDataMgr& d, bool rows, uintptr_t id)
{
    uint32_t position = rows ? d.MapRow(static_cast<uint32_t>(id)) : d.MapCol(static_cast<uint32_t>(id));
    uint32_t count = rows ? d.RowCount() : d.ColCount();
    return position < count && (rows ? d.RowId(position) : d.ColId(position)) == id;
}

// The keys of the grid's lines: each line's cell in each key line, and the
// line's data word (row or column item 20 as a number).
class CellKeys final : public TsSortSource {
public:
    CellKeys(TsDataMgr& d, bool rows) : d_(d), rows_(rows) {}

    const char* KeyText(uint32_t line, uintptr_t keyLine) override
    {
        TsRecordHead* mine = Lines().Record(line);
        TsRecordHead* key = reinterpret_cast<TsRecordHead*>(keyLine);
        const TsCell* cell = rows_ ? TsDataMgr::CellOf(AsRow(mine), AsCol(key)) : TsDataMgr::CellOf(AsRow(key), AsCol(mine));
        if (!TsValueIsNumber(cell->value))
            return TsValueText(cell->value);
        numbers_.emplace_back();
        return TsValueString(cell->value, numbers_.back().data(), numbers_.back().size());
    }
    uint32_t LineData(uint32_t line) override
    {
        TsRecordHead* mine = Lines().Record(line);
        return static_cast<uint32_t>(TsValueNumber(rows_ ? AsRow(mine)->user[0] : AsCol(mine)->user));
    }
    bool IsPending(uint32_t line) override
    {
        TsRecordHead* mine = Lines().Record(line);
        return rows_ ? (AsRow(mine)->flags & TS_ROW_PLACE) != 0 : (AsCol(mine)->flags & TS_COL_PLACE) != 0;
    }

private:
    TsTable& Lines() { return rows_ ? d_.Rows() : d_.Cols(); }
    static TsRowRecord* AsRow(TsRecordHead* h) { return reinterpret_cast<TsRowRecord*>(h); }
    static TsColumnRecord* AsCol(TsRecordHead* h) { return reinterpret_cast<TsColumnRecord*>(h); }

    TsDataMgr& d_;
    bool rows_;
    std::deque<std::array<char, 16>> numbers_;  // number cells as texts, alive for the sort
};

}  // namespace

intptr_t TsGrid::OnSort(ParamBlock* b, bool rows)
{
    TsSortKeys& keys = sortKeys_[rows ? 0 : 1];
    const TsSortRequest* request = reinterpret_cast<const TsSortRequest*>(b->d1);
    const TsSortAxis axis = rows ? TS_SORT_ROWS : TS_SORT_COLUMNS;
    KeyTable keyTable{&data_, !rows};
    uint32_t arguments[TS_SORT_KEYS_MAX] = {};
    if (request) {
        for (int i = 0; i < TS_SORT_KEYS_MAX; ++i)
            arguments[i] = static_cast<uint32_t>(request->keys[i]);
    }
    bool full = false;
    if (b->d0 == 0 && request) {
        TsSortStatus status = TsSetSortKeys(request->spec, axis, arguments, TS_SORT_KEYS_MAX, ResolveKeyLine,
                                            &keyTable, &keys);
        if (const char* line = TsSortStatusMessage(status, axis))
            TsDiagnostic("%s", line);
        full = status == TS_SORT_OK;
    } else if (b->d0 == 3) {
        if (!request) {
            keys = TsNoSortKeys();
        } else {
            for (uint32_t argument : arguments) {
                uintptr_t line;
                if (ResolveKeyLine(argument, &line, &keyTable))
                    TsRemoveSortLine(&keys, line);
            }
            // The lines keep to the order of the keys still in force.
            full = true;
        }
    }
    SetSortState(rows);
    Resort(rows, full);
    return 1;
}

void TsGrid::SetSortState(bool rows)
{
    // The order of rows is kept with the column table and the reverse.
    TsTable& order = rows ? data_.Cols() : data_.Rows();
    const TsSortKeys& keys = sortKeys_[rows ? 0 : 1];
    order.sortState = keys.Active() ? 2 : 1;
    order.sortKeys = static_cast<uint32_t>(keys.count);
}

void TsGrid::KeyLinesDeleted(bool rows)
{
    // Rows went: they were key lines of the column sort (and the reverse).
    TsSortKeys& keys = sortKeys_[rows ? 1 : 0];
    for (int i = keys.count; i-- > 0;) {
        if (!LiveId(data_, rows, keys.lines[i]))
            TsRemoveSortLine(&keys, keys.lines[i]);
    }
    SetSortState(!rows);
}

void TsGrid::Resort(bool rows, bool full)
{
    TsTable& table = rows ? data_.Rows() : data_.Cols();
    const uint32_t count = table.Count();
    const TsSortKeys& keys = sortKeys_[rows ? 0 : 1];
    if (keys.Active() && count >= 2) {
        // The key list with its lines as records, for the comparisons.
        TsSortKeys bound = keys;
        TsTable& keyTable = rows ? data_.Cols() : data_.Rows();
        for (int k = 0; k < bound.count; ++k) {
            uint32_t position = rows ? data_.MapCol(static_cast<uint32_t>(keys.lines[k]))
                                     : data_.MapRow(static_cast<uint32_t>(keys.lines[k]));
            bound.lines[k] = reinterpret_cast<uintptr_t>(keyTable.At(position));
        }
        CellKeys source(data_, rows);
        const TsSortContext context{&bound, &source, host_->TextCompare()};
        std::vector<uint32_t> lines(count);
        std::vector<uint32_t> positionOf(table.HighWater());
        for (uint32_t i = 0; i < count; ++i) {
            lines[i] = table.Number(table.At(i));
            positionOf[lines[i]] = i;
        }
        TsResortLines(context, lines.data(), count, full ? 0 : count);
        std::vector<uint32_t> order(count);
        for (uint32_t i = 0; i < count; ++i)
            order[i] = positionOf[lines[i]];
        int64_t edited = EditLinePosition(rows);
        bool moved = false;
        if (rows)
            data_.ReorderRows(order, &moved);
        else
            data_.ReorderCols(order, &moved);
        if (moved) {
            Repaint(rows ? TS_VALID_ROWS | TS_VALID_FOCUS : TS_VALID_COLS | TS_VALID_FOCUS);
            EndEditOverMoved(rows, edited);
        }
    }
    for (uint32_t i = 0; i < count; ++i) {
        if (rows)
            data_.Row(i)->flags &= static_cast<uint16_t>(~TS_ROW_PLACE);
        else
            data_.Col(i)->flags &= static_cast<uint16_t>(~TS_COL_PLACE);
    }
}

void TsGrid::MarkForPlacing(bool rows, uint32_t position)
{
    if (rows)
        data_.Row(position)->flags |= TS_ROW_PLACE;
    else
        data_.Col(position)->flags |= TS_COL_PLACE;
    // Placed once the client has filled the line: after the message that
    // brought it, or after the messages the client sends in one go.
    placePending_ = true;
    if (!placePosted_)
        placePosted_ = host_->PostDeferred(TS_DEFER_PLACE);
}

void TsGrid::PlacePending()
{
    placePending_ = false;
    if (Sorted(true))
        Resort(true, false);
    if (Sorted(false))
        Resort(false, false);
}

void TsGrid::KeyCellChanged(uint32_t row, uint32_t col)
{
    // The cell is a key of the row sort when its column is a key line, and
    // of the column sort when its row is.
    auto isKey = [](const TsSortKeys& keys, uint32_t id) {
        return std::find(keys.lines, keys.lines + keys.count, id) != keys.lines + keys.count;
    };
    if (isKey(sortKeys_[0], data_.ColId(col)))
        MarkForPlacing(true, row);
    if (isKey(sortKeys_[1], data_.RowId(row)))
        MarkForPlacing(false, col);
}
