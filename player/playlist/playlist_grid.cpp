#include "playlist_grid.h"

#include <utility>

namespace playlist {

namespace {

uint32_t PropWord(PropertyId id, uint32_t part)
{
    return static_cast<uint32_t>((id & 0xF0FF) | (part << 8)) << 16;
}

// A text as one literal value: a leading backslash quotes what follows, so
// titles that start with one or look like a marker stay as they are.
std::string Literal(const std::string& text)
{
    return !text.empty() && (text[0] == '\\' || text[0] == '%') ? "\\" + text : text;
}

}  // namespace

// ---------------------------------------------------------------------------
// ValueList

ValueList::ValueList(ITsVListMgr& lists, int capacity) : lists_(lists), list_(lists.Create(capacity))
{
}

ValueList::~ValueList()
{
    if (list_)
        lists_.Destroy(list_);
}

int ValueList::Size() const
{
    return list_ ? lists_.Size(list_) : 0;
}

std::string ValueList::Text(int i) const
{
    TsValue** entry = list_ ? lists_.Entry(list_, i) : nullptr;
    if (!entry || !*entry)
        return std::string();
    if (TsValueIsNumber(*entry))
        return std::to_string(lists_.Number(entry));
    const char* text = lists_.Text(entry);
    return text ? text : "";
}

void ValueList::Set(int i, const std::string& text)
{
    SetParsed(i, Literal(text));
}

void ValueList::SetParsed(int i, const std::string& text)
{
    if (!list_)
        return;
    if (Size() <= i)
        lists_.Grow(list_, i + 1);
    lists_.ParseValue(lists_.Entry(list_, i), text.c_str());
}

void ValueList::Append(const std::string& text)
{
    Set(Size(), text);
}

std::vector<std::string> ValueList::Texts() const
{
    std::vector<std::string> out;
    const int n = Size();
    out.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        out.push_back(Text(i));
    return out;
}

// ---------------------------------------------------------------------------
// GridSelection

GridSelection::GridSelection(PlaylistGrid* grid, uint32_t handle) : grid_(grid), handle_(grid ? handle & 0xFFFF : 0)
{
}

GridSelection::GridSelection(const GridSelection& other) : grid_(other.grid_)
{
    handle_ = other.Empty() ? 0 : static_cast<uint32_t>(other.Op(selop::kDuplicate)) & 0xFFFF;
}

GridSelection::GridSelection(GridSelection&& other) noexcept : grid_(other.grid_), handle_(other.handle_)
{
    other.handle_ = 0;
}

GridSelection& GridSelection::operator=(const GridSelection& other)
{
    if (this != &other) {
        GridSelection copy(other);
        *this = std::move(copy);
    }
    return *this;
}

GridSelection& GridSelection::operator=(GridSelection&& other) noexcept
{
    if (this != &other) {
        Release();
        grid_ = other.grid_;
        handle_ = other.handle_;
        other.handle_ = 0;
    }
    return *this;
}

GridSelection::~GridSelection()
{
    Release();
}

void GridSelection::Release()
{
    if (handle_ != 0)
        Op(selop::kRelease);
    handle_ = 0;
}

uint32_t GridSelection::Detach()
{
    const uint32_t handle = handle_;
    handle_ = 0;
    return handle;
}

intptr_t GridSelection::Op(uint16_t operation, uint32_t operand, uintptr_t d1) const
{
    if (handle_ == 0)
        return 0;
    return grid_->Send(TSM_SELECTIONOP, handle_ | (operand & 0xFF) << 8 | static_cast<uint32_t>(operation) << 16, d1);
}

void GridSelection::SetOp(uint16_t operation, const GridSelection& other)
{
    Op(operation, other.handle_, grid_ ? grid_->FrameHandle() : 0);
}

GridSelection& GridSelection::Union(const GridSelection& other)
{
    if (other.Empty())
        return *this;
    if (Empty())
        return *this = other;
    SetOp(selop::kUnion, other);
    return *this;
}

GridSelection& GridSelection::Intersect(const GridSelection& other)
{
    if (other.Empty()) {
        Release();
        return *this;
    }
    SetOp(selop::kIntersect, other);
    return *this;
}

GridSelection& GridSelection::Minus(const GridSelection& other)
{
    if (&other == this || (!Empty() && other.handle_ == handle_)) {
        Release();
        return *this;
    }
    if (!other.Empty())
        SetOp(selop::kMinus, other);
    return *this;
}

GridSelection& GridSelection::SongRowsOf()
{
    Op(selop::kSongRowsOf, handle_);
    return *this;
}

GridSelection& GridSelection::FolderRowOf()
{
    Op(selop::kFolderRowOf, handle_);
    return *this;
}

GridSelection& GridSelection::Find(const std::string& text)
{
    // Criterion 3 (the value equals), given as a text.
    TsCellFilter filter = {1u << (2 * TS_FILTER_EQUALS), reinterpret_cast<uintptr_t>(text.c_str()), 0, 0, 0, 0};
    Op(selop::kFind, handle_, reinterpret_cast<uintptr_t>(&filter));
    return *this;
}

int GridSelection::Count(CountOf what) const
{
    TsCountRequest request = {static_cast<int32_t>(what), nullptr};
    return static_cast<int>(Op(selop::kCount, 0, reinterpret_cast<uintptr_t>(&request)));
}

int GridSelection::CountFolderRows() const
{
    return static_cast<int>(Op(selop::kCountTopLevel));
}

int GridSelection::FirstRow() const
{
    const int32_t n = GetNumber(prop::kFirstRowSel);
    return Empty() || n == TS_EMPTY_GEOMETRY ? -1 : n;
}

int GridSelection::LastRow() const
{
    const int32_t n = GetNumber(prop::kLastRowSel);
    return Empty() || n == TS_EMPTY_GEOMETRY ? -1 : n;
}

int GridSelection::FirstCol() const
{
    const int32_t n = GetNumber(prop::kFirstColSel);
    return Empty() || n == TS_EMPTY_GEOMETRY ? -1 : n;
}

int GridSelection::LastCol() const
{
    const int32_t n = GetNumber(prop::kLastColSel);
    return Empty() || n == TS_EMPTY_GEOMETRY ? -1 : n;
}

void GridSelection::SetNumber(PropertyId id, int32_t n) const
{
    if (!Empty())
        grid_->Send(TSM_SETPROP, handle_ | PropWord(id, TS_PART_NUMBER), static_cast<uintptr_t>(static_cast<uint32_t>(n)));
}

void GridSelection::AddNumber(PropertyId id, int32_t n) const
{
    if (!Empty())
        grid_->Send(TSM_SETPROP, handle_ | PropWord(id, TS_PART_ADD), static_cast<uintptr_t>(static_cast<uint32_t>(n)));
}

void GridSelection::SetText(PropertyId id, const std::string& text) const
{
    if (Empty())
        return;
    // One value for every target (a one-entry list would reach only the first).
    ValueList list(grid_->Lists(), 1);
    list.Set(0, text);
    grid_->Send(TSM_SETPROP, handle_ | PropWord(id, TS_PART_VALUE), grid_->Lists().Entry(list.get(), 0));
}

void GridSelection::SetTexts(PropertyId id, const std::vector<std::string>& texts) const
{
    if (Empty())
        return;
    ValueList list(grid_->Lists(), static_cast<int>(texts.size()));
    for (size_t i = 0; i < texts.size(); ++i)
        list.Set(static_cast<int>(i), texts[i]);
    grid_->Send(TSM_SETPROP, handle_ | PropWord(id, TS_PART_LIST), list.get());
}

int32_t GridSelection::GetNumber(PropertyId id) const
{
    int32_t n = 0;
    if (!Empty())
        grid_->Send(TSM_GETPROP, handle_ | PropWord(id, TS_PART_NUMBER), &n);
    return n;
}

std::vector<std::string> GridSelection::GetTexts(PropertyId id, int capacity) const
{
    if (Empty())
        return {};
    ValueList list(grid_->Lists(), capacity);
    grid_->Send(TSM_GETPROP, handle_ | PropWord(id, TS_PART_LIST), list.get());
    return list.Texts();
}

std::string GridSelection::GetText(PropertyId id) const
{
    const std::vector<std::string> texts = GetTexts(id, 1);
    return texts.empty() ? std::string() : texts[0];
}

void GridSelection::DeleteRows() const
{
    if (!Empty())
        grid_->Send(TSM_DELETEROWS, handle_);
}

void GridSelection::HideRows(bool hide) const
{
    if (!Empty())
        grid_->Send(TSM_HIDEROWS, handle_, hide ? 1 : 0);
}

void GridSelection::HideCols(bool hide) const
{
    if (!Empty())
        grid_->Send(TSM_HIDECOLS, handle_, hide ? 1 : 0);
}

void GridSelection::MoveRows(int by) const
{
    if (!Empty())
        grid_->Send(TSM_MOVEROWS, handle_, static_cast<uintptr_t>(static_cast<int32_t>(by)));
}

void GridSelection::ScrollTo(uint32_t placement) const
{
    if (!Empty())
        grid_->Send(TSM_SCROLLTOSEL, handle_ | (placement & 0xFF) << 16);
}

void GridSelection::ClearCells(uint32_t mask) const
{
    if (!Empty())
        grid_->Send(TSM_CLEARCELLS, handle_, mask);
}

void GridSelection::SetColMark(bool on) const
{
    if (!Empty())
        grid_->Send(TSM_SETCOLMARK, handle_, on ? 1 : 0);
}

void GridSelection::SetColSearch(bool on) const
{
    if (!Empty())
        grid_->Send(TSM_SETCOLSEARCH, handle_, on ? 1 : 0);
}

void GridSelection::MakeCurrent() const
{
    if (Empty())
        return;
    GridSelection& focus = grid_->Focus();
    if (focus.Empty())
        return;
    focus.SetOp(selop::kMakeCurrent, *this);
    grid_->Send(TSM_SETFOCUSSEL, focus.handle_, 0);
}

// ---------------------------------------------------------------------------
// PlaylistGrid

PlaylistGrid::PlaylistGrid(GridPort& port, ITsVListMgr& lists) : port_(port), lists_(lists)
{
    focus_ = Made(selop::kNew);
}

PlaylistGrid::~PlaylistGrid() = default;

intptr_t PlaylistGrid::Send(uint32_t message, uint32_t d0, uintptr_t d1)
{
    ParamBlock block = {d0, d1};
    return port_.Send(message, &block);
}

intptr_t PlaylistGrid::SendFrame(uint32_t message, uint32_t d0, uintptr_t d1)
{
    ParamBlock block = {d0, d1};
    return port_.SendFrame(message, &block);
}

GridSelection PlaylistGrid::Made(uint16_t operation)
{
    return GridSelection(this, static_cast<uint32_t>(Send(TSM_SELECTIONOP, static_cast<uint32_t>(operation) << 16)));
}

GridSelection PlaylistGrid::Range(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    TsSelRect rect = {left, top, right, bottom};
    return GridSelection(this, static_cast<uint32_t>(Send(TSM_SETSELRANGE, 0, &rect)));
}

GridSelection PlaylistGrid::Inserted(uint32_t count, int32_t position)
{
    return GridSelection(this, static_cast<uint32_t>(Send(TSM_INSERTROWS, count & 0xFFFF,
                                                          static_cast<uintptr_t>(static_cast<uint32_t>(position)))));
}

GridSelection PlaylistGrid::InsertedCols(uint32_t count, int32_t position)
{
    return GridSelection(this, static_cast<uint32_t>(Send(TSM_INSERTCOLS, count & 0xFFFF,
                                                          static_cast<uintptr_t>(static_cast<uint32_t>(position)))));
}

int32_t PlaylistGrid::GridNumber(PropertyId id)
{
    int32_t n = 0;
    Send(TSM_GETPROP, PropWord(id, TS_PART_NUMBER), &n);
    return n;
}

void PlaylistGrid::SetGridNumber(PropertyId id, int32_t n)
{
    Send(TSM_SETPROP, PropWord(id, TS_PART_NUMBER), static_cast<uintptr_t>(static_cast<uint32_t>(n)));
}

void PlaylistGrid::SetGridText(PropertyId id, const std::string& text)
{
    Send(TSM_SETPROP, PropWord(id, TS_PART_STRING), text.c_str());
}

int PlaylistGrid::DefineAlias(int kind, const char* name, const char* spec1, const char* spec2)
{
    TsAliasDef def = {name, spec1, spec2};
    return static_cast<int>(Send(TSM_DEFINEALIAS, static_cast<uint32_t>(kind), &def));
}

}  // namespace playlist
