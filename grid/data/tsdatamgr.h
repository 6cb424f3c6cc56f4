// TsDataMgr, the grid's data layer: the row and column tables, the cells,
// the 40 selection slots and the alias tables. Its capacities are fixed at
// construction from the maximum row and column counts. Positions here are
// indexes; mapping identifiers and reading message blocks is the message
// layer's business.
#ifndef ZUB_GRID_DATA_TSDATAMGR_H
#define ZUB_GRID_DATA_TSDATAMGR_H

#include <stdint.h>

#include <vector>

#include "tsalias.h"
#include "tsrectset.h"
#include "tsrecords.h"
#include "tstable.h"
#include "tstemplatetable.h"

class TsDataMgr {
public:
    // The alias tables take their objects from display (the native build's
    // plain display when null) and write their lines to the host's channels.
    TsDataMgr(uint32_t maxRows, uint32_t maxCols, TsDisplayService* display = nullptr);
    ~TsDataMgr();
    TsDataMgr(const TsDataMgr&) = delete;
    TsDataMgr& operator=(const TsDataMgr&) = delete;

    // False when the storage could not be reserved.
    bool Ready() const { return ready_; }

    uint32_t RowCount() const { return rows_.Count(); }
    uint32_t ColCount() const { return cols_.Count(); }
    uint32_t MaxRows() const { return rows_.Max(); }
    uint32_t MaxCols() const { return cols_.Max(); }
    TsRowRecord* Row(uint32_t position) const { return reinterpret_cast<TsRowRecord*>(rows_.At(position)); }
    TsColumnRecord* Col(uint32_t position) const { return reinterpret_cast<TsColumnRecord*>(cols_.At(position)); }
    TsCell* Cell(uint32_t row, uint32_t col) const { return CellOf(Row(row), Col(col)); }
    static TsCell* CellOf(const TsRowRecord* row, TsColumnRecord* col)
    {
        return reinterpret_cast<TsCell*>(col->cells.Data()) + row->cellSlot;
    }
    uint32_t RowId(uint32_t position) const { return rows_.IdAt(position); }
    uint32_t ColId(uint32_t position) const { return cols_.IdAt(position); }
    // An index (returned as it is, possibly past the end) or an identifier.
    uint32_t MapRow(uint32_t value) { return rows_.Map(value); }
    uint32_t MapCol(uint32_t value) { return cols_.Map(value); }
    TsTable& Rows() { return rows_; }
    TsTable& Cols() { return cols_; }

    // Inserts up to count rows (columns) at position, clamped to the count,
    // each with empty cells; every selection follows the lines it covered.
    // A nonzero selection is set to the inserted block (the rows by all
    // columns, or all rows by the columns). Returns the number inserted.
    uint32_t InsertRows(uint32_t position, uint32_t count, uint32_t selection);
    uint32_t InsertCols(uint32_t position, uint32_t count, uint32_t selection);
    void DeleteRows(uint32_t position, uint32_t count);
    void DeleteCols(uint32_t position, uint32_t count);
    // Moves the rows (columns) at the given ascending positions, kept
    // together in their order, by the step (clamped to the table); returns
    // the new position of the first.
    uint32_t MoveRows(const std::vector<uint32_t>& positions, int32_t step);
    uint32_t MoveCols(const std::vector<uint32_t>& positions, int32_t step);

    // The cell shares value (null: the empty value).
    void SetCellValue(TsCell* cell, TsValue* value);
    // Returns the parts of TS_CELL_* in mask to their defaults.
    void ResetCell(TsCell* cell, uint32_t mask);

    // Selections: the lowest free slot, or 0 with the diagnostic line.
    uint32_t AllocateSelection();
    // Drops one reference; slots 0-7 stay taken.
    void ReleaseSelection(uint32_t handle);
    void AddSelectionRef(uint32_t handle);
    // The slot of a handle in use, or null (0, unused or out of range).
    TsRectSet* Selection(uint32_t handle);
    // The same, with an empty set for handles not in use.
    const TsRectSet& SelectionOrEmpty(uint32_t handle);
    int32_t SelectionRefs(uint32_t handle) const;
    // The grid's own slots 0-7 (slot 0 is no handle for a client).
    TsRectSet& Slot(uint32_t index) { return slots_[index % TS_RESERVED_SLOTS]; }

    // Walks a selection clipped to the grid: rows, columns, or cells (rows
    // outer, columns inner).
    // A row counts only where the selection covers cells of the grid.
    template <class F>
    void ForEachRow(const TsRectSet& s, F f) const
    {
        s.ForEachRow(static_cast<int32_t>(RowCount()), static_cast<int32_t>(ColCount()),
                     [&f](int32_t r) { f(static_cast<uint32_t>(r)); });
    }
    template <class F>
    void ForEachCol(const TsRectSet& s, F f) const
    {
        s.ForEachCol(static_cast<int32_t>(ColCount()), static_cast<int32_t>(RowCount()),
                     [&f](int32_t c) { f(static_cast<uint32_t>(c)); });
    }
    template <class F>
    void ForEachCell(const TsRectSet& s, F f) const
    {
        s.ForEachCell(static_cast<int32_t>(RowCount()), static_cast<int32_t>(ColCount()),
                      [&f](int32_t r, int32_t c) { f(static_cast<uint32_t>(r), static_cast<uint32_t>(c)); });
    }
    // The grid's extent as a rectangle (empty when it has no rows or columns).
    TsRect Extent() const
    {
        return TsRect{0, 0, static_cast<int32_t>(RowCount()) - 1, static_cast<int32_t>(ColCount()) - 1};
    }

    // Outline: a row heads the rows after it whose level is greater, up to
    // the next row of its level or lower. Sizes are computed when asked.
    uint32_t GroupSize(uint32_t row);
    void LevelsChanged() { groupsValid_ = false; }
    static uint32_t Level(const TsRowRecord* row) { return row->level & 0x0F; }

    TsAliasTables& Aliases() { return aliases_; }
    const TsAliasTables& Aliases() const { return aliases_; }
    TsDisplayService& Display() { return display_; }
    // Where the data and property layers write their lines: the host's channels.
    static TsDiagnostics& Diagnostics();
    TsTemplateTable& Templates() { return templates_; }
    const TsTemplateTable& Templates() const { return templates_; }

    // Points an alias reference of a cell, column or row at another entry,
    // keeping the tables' use counts (0 refers to nothing: it inherits).
    void SetRef(uint8_t* ref, int kind, int number);
    // The same for a row's or column's size template.
    void SetTemplate(uint16_t* ref, uint16_t number);

private:
    bool PrepareRow(TsRecordHead* head, bool fresh);
    bool PrepareCol(TsRecordHead* head);
    void ReleaseRow(TsRecordHead* head);
    void ReleaseCol(TsRecordHead* head);
    void ReleaseRefs(TsCell* cell, uint32_t mask);
    bool CoverRowSlots(TsColumnRecord* col, uint32_t slots);
    uint32_t Move(TsTable& table, const std::vector<uint32_t>& positions, int32_t step);
    void ComputeGroups();

    TsTable rows_;
    TsTable cols_;
    bool ready_ = false;
    bool groupsValid_ = false;
    TsRectSet slots_[TS_SELECTION_SLOTS];
    int32_t refs_[TS_SELECTION_SLOTS] = {};
    TsRectSet none_;
    TsDisplayService& display_;
    TsAliasTables aliases_;
    TsTemplateTable templates_;
};

#endif
