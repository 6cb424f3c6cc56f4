#include "tsdatamgr.h"

#include <new>
#include <string.h>

#include "tsaliasnames.h"
#include "tsdiag.h"
#include "tshost.h"
#include "tsplaindisplay.h"
#include "tsvalue.h"

namespace {

// Records keep their 32-bit sizes where they fit, rounded so that every
// record of the pool is aligned (64-bit builds have larger records).
constexpr uint32_t RecordBytes(size_t size, size_t least, size_t align)
{
    return static_cast<uint32_t>(((size > least ? size : least) + align - 1) / align * align);
}
const uint32_t kRowBytes = RecordBytes(sizeof(TsRowRecord), 64, alignof(TsRowRecord));
const uint32_t kColBytes = RecordBytes(sizeof(TsColumnRecord), 132, alignof(TsColumnRecord));
#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(TsRowRecord) <= 64, "row records are 64 bytes");
static_assert(sizeof(TsColumnRecord) <= 132, "column records are 132 bytes");
#endif

void InitCell(TsCell* cell)
{
    memset(cell, 0, sizeof *cell);
    cell->value = TsEmpty();
    cell->extent = TS_NOT_MEASURED;
}

// The alias tables' lines go to the host's channels.
class HostDiagnostics final : public TsDiagnostics {
public:
    void Diagnostic(const char* line) override { TsDiagnostic("%s", line); }
    void Trace(const char* line) override { TsTrace("%s", line); }
};

HostDiagnostics g_hostDiagnostics;

}  // namespace

TsDiagnostics& TsDataMgr::Diagnostics()
{
    return g_hostDiagnostics;
}

TsDataMgr::TsDataMgr(uint32_t maxRows, uint32_t maxCols, TsDisplayService* display)
    : display_(display ? *display : TsPlainDisplay::Shared()),
      aliases_(display_, g_hostDiagnostics, TsAliasNames::Library())
{
    ready_ = rows_.Init(maxRows, kRowBytes) && cols_.Init(maxCols, kColBytes);
}

TsDataMgr::~TsDataMgr()
{
    DeleteCols(0, ColCount());
    DeleteRows(0, RowCount());
}

// ---------------------------------------------------------------------------
// Rows and columns

bool TsDataMgr::CoverRowSlots(TsColumnRecord* col, uint32_t slots)
{
    uint32_t have = col->cells.Used() / sizeof(TsCell);
    if (have >= slots)
        return true;
    if (!col->cells.Resize(slots * sizeof(TsCell)))
        return false;
    TsCell* cells = reinterpret_cast<TsCell*>(col->cells.Data());
    for (uint32_t i = have; i < slots; ++i)
        InitCell(&cells[i]);
    return true;
}

bool TsDataMgr::PrepareRow(TsRecordHead* head, bool fresh)
{
    uint32_t slot = rows_.Number(head);
    if (fresh) {
        // Every column keeps a cell for each row record ever taken.
        for (uint32_t c = 0; c < ColCount(); ++c) {
            if (!CoverRowSlots(Col(c), slot + 1))
                return false;
        }
    }
    TsRowRecord* row = new (head) TsRowRecord();
    row->cellSlot = static_cast<uint16_t>(slot);
    row->flags = TS_ROW_SHOWN;
    row->height[0] = row->height[1] = TS_DEFAULT_ROW_HEIGHT;
    row->user[0] = TsEmpty();
    row->user[1] = TsEmpty();
    return true;
}

bool TsDataMgr::PrepareCol(TsRecordHead* head)
{
    TsColumnRecord* col = new (head) TsColumnRecord();
    col->flags = TS_COL_SHOWN;
    col->cellBytes = sizeof(TsCell);
    col->width[0] = col->width[1] = TS_DEFAULT_COL_WIDTH;
    col->margin = TS_DEFAULT_MARGIN;
    col->contentWidth = TS_NOT_MEASURED;
    col->user = TsEmpty();
    if (!col->cells.Create(MaxRows() * sizeof(TsCell), col) || !CoverRowSlots(col, rows_.HighWater())) {
        TsValueRelease(col->user);
        col->~TsColumnRecord();
        return false;
    }
    return true;
}

void TsDataMgr::ReleaseRow(TsRecordHead* head)
{
    TsRowRecord* row = reinterpret_cast<TsRowRecord*>(head);
    for (uint32_t c = 0; c < ColCount(); ++c) {
        TsCell* cell = CellOf(row, Col(c));
        ReleaseRefs(cell, ~0u);
        TsValueRelease(cell->value);
        InitCell(cell);
        Col(c)->contentWidth = TS_NOT_MEASURED;
    }
    TsValueRelease(row->user[0]);
    TsValueRelease(row->user[1]);
    for (uint8_t& ref : row->colorRef)
        SetRef(&ref, TS_ALIAS_COLORPAIR, 0);
    SetTemplate(&row->sizeRef, 0);
    row->~TsRowRecord();
}

void TsDataMgr::ReleaseCol(TsRecordHead* head)
{
    TsColumnRecord* col = reinterpret_cast<TsColumnRecord*>(head);
    TsCell* cells = reinterpret_cast<TsCell*>(col->cells.Data());
    for (uint32_t i = 0; i < col->cells.Used() / sizeof(TsCell); ++i) {
        ReleaseRefs(&cells[i], ~0u);
        TsValueRelease(cells[i].value);
    }
    TsValueRelease(col->user);
    for (uint8_t& ref : col->colorRef)
        SetRef(&ref, TS_ALIAS_COLORPAIR, 0);
    for (uint8_t& ref : col->colorPair)
        SetRef(&ref, TS_ALIAS_COLORPAIR, 0);
    SetRef(&col->rule, TS_ALIAS_COLORPAIR, 0);
    SetRef(&col->font, TS_ALIAS_FONT, 0);
    SetRef(&col->icon, TS_ALIAS_ICON, 0);
    SetRef(&col->cursor, TS_ALIAS_CURSOR, 0);
    SetRef(&col->sizing, TS_ALIAS_SIZING, 0);
    SetRef(&col->hint, TS_ALIAS_HINT, 0);
    SetTemplate(&col->sizeRef, 0);
    col->~TsColumnRecord();
}

uint32_t TsDataMgr::InsertRows(uint32_t position, uint32_t count, uint32_t selection)
{
    if (!ready_)
        return 0;
    if (position > RowCount())
        position = RowCount();
    uint32_t made = rows_.Insert(position, count,
                                 [this](TsRecordHead* head, bool fresh) { return PrepareRow(head, fresh); });
    for (TsRectSet& s : slots_)
        s.InsertRows(static_cast<int32_t>(position), static_cast<int32_t>(made));
    if (TsRectSet* s = Selection(selection))
        s->Set(TsRect{static_cast<int32_t>(position), 0, static_cast<int32_t>(position + made) - 1, TS_ALL_COLS - 1});
    groupsValid_ = false;
    return made;
}

uint32_t TsDataMgr::InsertCols(uint32_t position, uint32_t count, uint32_t selection)
{
    if (!ready_)
        return 0;
    if (position > ColCount())
        position = ColCount();
    uint32_t made = cols_.Insert(position, count, [this](TsRecordHead* head, bool) { return PrepareCol(head); });
    for (TsRectSet& s : slots_)
        s.InsertCols(static_cast<int32_t>(position), static_cast<int32_t>(made));
    if (TsRectSet* s = Selection(selection))
        s->Set(TsRect{0, static_cast<int32_t>(position), TS_ALL_ROWS - 1, static_cast<int32_t>(position + made) - 1});
    return made;
}

void TsDataMgr::DeleteRows(uint32_t position, uint32_t count)
{
    if (position >= RowCount() || count == 0)
        return;
    if (count > RowCount() - position)
        count = RowCount() - position;
    rows_.Remove(position, count, [this](TsRecordHead* head) { ReleaseRow(head); });
    for (TsRectSet& s : slots_)
        s.DeleteRows(static_cast<int32_t>(position), static_cast<int32_t>(count));
    groupsValid_ = false;
}

void TsDataMgr::DeleteCols(uint32_t position, uint32_t count)
{
    if (position >= ColCount() || count == 0)
        return;
    if (count > ColCount() - position)
        count = ColCount() - position;
    cols_.Remove(position, count, [this](TsRecordHead* head) { ReleaseCol(head); });
    for (TsRectSet& s : slots_)
        s.DeleteCols(static_cast<int32_t>(position), static_cast<int32_t>(count));
}

uint32_t TsDataMgr::Move(TsTable& table, const std::vector<uint32_t>& positions, int32_t step, bool rows)
{
    uint32_t count = table.Count();
    std::vector<uint32_t> moving, rest;
    std::vector<bool> chosen(count, false);
    for (uint32_t p : positions) {
        if (p < count && !chosen[p]) {
            chosen[p] = true;
            moving.push_back(p);
        }
    }
    if (moving.empty())
        return 0;
    for (uint32_t i = 0; i < count; ++i) {
        if (!chosen[i])
            rest.push_back(i);
    }
    int64_t first = static_cast<int64_t>(positions.front()) + step;
    int64_t room = static_cast<int64_t>(rest.size());
    uint32_t at = static_cast<uint32_t>(first < 0 ? 0 : first > room ? room : first);
    std::vector<uint32_t> order(rest.begin(), rest.begin() + at);
    order.insert(order.end(), moving.begin(), moving.end());
    order.insert(order.end(), rest.begin() + at, rest.end());
    Reorder(table, order, rows, nullptr);
    return at;
}

uint32_t TsDataMgr::MoveRows(const std::vector<uint32_t>& positions, int32_t step)
{
    return Move(rows_, positions, step, true);
}

uint32_t TsDataMgr::MoveCols(const std::vector<uint32_t>& positions, int32_t step)
{
    return Move(cols_, positions, step, false);
}

bool TsDataMgr::Reorder(TsTable& table, const std::vector<uint32_t>& order, bool rows, bool* moved)
{
    if (moved)
        *moved = false;
    const uint32_t count = table.Count();
    if (order.size() != count)
        return false;
    std::vector<int32_t> newOf(count, -1);
    bool same = true;
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t from = order[i];
        if (from >= count || newOf[from] >= 0)
            return false;
        newOf[from] = static_cast<int32_t>(i);
        same = same && from == i;
    }
    if (same)
        return true;
    {
        QfLockGuard guard(table.Lock());
        TsRecordHead** entries = table.Entries();
        std::vector<TsRecordHead*> before(entries, entries + count);
        for (uint32_t i = 0; i < count; ++i)
            entries[i] = before[order[i]];
        table.PositionsChanged(0);
    }
    for (TsRectSet& s : slots_) {
        if (rows)
            s.RemapRows(newOf);
        else
            s.RemapCols(newOf);
    }
    if (rows)
        groupsValid_ = false;
    if (moved)
        *moved = true;
    return true;
}

// ---------------------------------------------------------------------------
// Cells

void TsDataMgr::SetCellValue(TsCell* cell, TsValue* value)
{
    TsValue* old = cell->value;
    cell->value = value ? TsValueRef(value) : TsEmpty();
    TsValueRelease(old);
    if (!(cell->flags & TS_CELL_WATCHED))
        cell->extent = TS_NOT_MEASURED;
}

void TsDataMgr::SetRef(uint8_t* ref, int kind, int number)
{
    if (number < 0 || number > 255 || *ref == number)
        return;
    if (number)
        aliases_.AddUse(kind, number);
    if (*ref)
        aliases_.ReleaseUse(kind, *ref);
    *ref = static_cast<uint8_t>(number);
}

void TsDataMgr::SetTemplate(uint16_t* ref, uint16_t number)
{
    if (*ref == number || number == TsTemplateTable::kLimit)
        return;
    templates_.AddUse(number);
    templates_.ReleaseUse(*ref);
    *ref = number;
}

void TsDataMgr::ReleaseRefs(TsCell* cell, uint32_t mask)
{
    if (mask & TS_CELL_COLORS) {
        for (uint8_t& ref : cell->colorPair)
            SetRef(&ref, TS_ALIAS_COLORPAIR, 0);
    }
    if (mask & TS_CELL_FONT)
        SetRef(&cell->font, TS_ALIAS_FONT, 0);
    if (mask & TS_CELL_ICON)
        SetRef(&cell->icon, TS_ALIAS_ICON, 0);
    if (mask & TS_CELL_CURSOR)
        SetRef(&cell->cursor, TS_ALIAS_CURSOR, 0);
    if (mask & TS_CELL_HINT)
        SetRef(&cell->hint, TS_ALIAS_HINT, 0);
    if (mask & TS_CELL_SIZING)
        SetRef(&cell->sizing, TS_ALIAS_SIZING, 0);
}

void TsDataMgr::ResetCell(TsCell* cell, uint32_t mask)
{
    if (mask & TS_CELL_TEXT)
        SetCellValue(cell, nullptr);
    ReleaseRefs(cell, mask);
    if (mask & TS_CELL_ALIGN)
        cell->textAlign = cell->iconAlign = 0;
    if (mask & TS_CELL_FLAGS)
        cell->flags = 0;
    cell->extent = TS_NOT_MEASURED;
}

// ---------------------------------------------------------------------------
// Selections

uint32_t TsDataMgr::AllocateSelection()
{
    for (uint32_t i = 0; i < TS_SELECTION_SLOTS; ++i) {
        if (refs_[i] == 0) {
            refs_[i] = 1;
            slots_[i].Clear();
            return i;
        }
    }
    TsDiagnostic("TS: (TsDataMgr) Selections exhausted.");
    return 0;
}

void TsDataMgr::ReleaseSelection(uint32_t handle)
{
    handle &= TS_HANDLE_MASK;
    if (handle < TS_RESERVED_SLOTS || handle >= TS_SELECTION_SLOTS || refs_[handle] == 0)
        return;
    if (--refs_[handle] == 0)
        slots_[handle].Clear();
}

void TsDataMgr::AddSelectionRef(uint32_t handle)
{
    if (Selection(handle))
        ++refs_[handle & TS_HANDLE_MASK];
}

TsRectSet* TsDataMgr::Selection(uint32_t handle)
{
    handle &= TS_HANDLE_MASK;
    if (handle == 0 || handle >= TS_SELECTION_SLOTS || refs_[handle] == 0)
        return nullptr;
    return &slots_[handle];
}

const TsRectSet& TsDataMgr::SelectionOrEmpty(uint32_t handle)
{
    TsRectSet* s = Selection(handle);
    none_.Clear();
    return s ? *s : none_;
}

int32_t TsDataMgr::SelectionRefs(uint32_t handle) const
{
    handle &= TS_HANDLE_MASK;
    return handle < TS_SELECTION_SLOTS ? refs_[handle] : 0;
}

// ---------------------------------------------------------------------------
// Outline

uint32_t TsDataMgr::GroupSize(uint32_t row)
{
    if (row >= RowCount())
        return 0;
    if (!groupsValid_)
        ComputeGroups();
    return Row(row)->groupSize;
}

void TsDataMgr::ComputeGroups()
{
    // Walking up, a stack keeps the rows below whose level is lower than
    // everything between: the top that is not deeper ends the group.
    std::vector<uint32_t> stack;
    uint32_t count = RowCount();
    for (uint32_t i = count; i-- > 0;) {
        uint32_t level = Level(Row(i));
        while (!stack.empty() && Level(Row(stack.back())) > level)
            stack.pop_back();
        uint32_t end = stack.empty() ? count : stack.back();
        uint32_t size = end - i;
        Row(i)->groupSize = static_cast<uint16_t>(size > 0xFFFF ? 0xFFFF : size);
        stack.push_back(i);
    }
    groupsValid_ = true;
}
