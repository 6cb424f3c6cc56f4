#include "grid_row_store.h"

namespace playlist {

namespace {

const PropertyId kValues = TS_PROP(TS_GROUP_CELLS, TS_PART_LIST, prop::kCellValue);

// Row r as a selection; -1 for a row that is not there.
GridSelection RowSel(PlaylistGrid& grid, int index)
{
    return index < 0 ? GridSelection() : grid.Row(index);
}

// A property given per cell of a row: the cells listed get their text (the
// grid's default when empty), the others are left alone.
void SetCells(const GridSelection& sel, uint32_t item, std::initializer_list<std::pair<int, const std::string*>> cells)
{
    int last = -1;
    for (const auto& c : cells)
        last = c.first > last ? c.first : last;
    ValueList list(sel.Grid()->Lists(), last + 1);
    for (int col = 0; col <= last; ++col)
        list.SetNoOp(col);
    for (const auto& c : cells) {
        if (c.second->empty())
            list.SetReset(c.first);
        else
            list.Set(c.first, *c.second);
    }
    sel.Grid()->Send(TSM_SETPROP, sel.Handle() | static_cast<uint32_t>(CellProp(item)) << 16, list.get());
}

std::string At(const std::vector<std::string>& texts, int i)
{
    return i < static_cast<int>(texts.size()) ? texts[static_cast<size_t>(i)] : std::string();
}

// A cell's own icon: the grid names the absence of one "Default".
std::string OwnIcon(const std::vector<std::string>& icons)
{
    std::string icon = At(icons, ColName);
    return icon == "Default" ? std::string() : icon;
}

}  // namespace

PropertyId CellProp(uint32_t item)
{
    return TS_PROP(TS_GROUP_CELLS, TS_PART_LIST, item);
}

int GridRowStore::Count() const
{
    return grid_.RowCount();
}

PlaylistRow GridRowStore::Read(int index) const
{
    PlaylistRow row;
    const GridSelection sel = RowSel(grid_, index);
    row.id = static_cast<uint32_t>(sel.GetNumber(prop::kRowId));
    if (row.id == 0)
        return PlaylistRow();
    const std::vector<std::string> values = sel.GetTexts(kValues, kColumnCount);
    for (int c = 0; c < kColumnCount; ++c)
        row.text[static_cast<size_t>(c)] = At(values, c);
    row.kind = sel.GetNumber(prop::kRowKind) == 0 ? RowKind::Folder : RowKind::Song;
    const int32_t seconds = sel.GetNumber(prop::kRowSeconds);
    row.seconds = seconds < 0 ? 0 : static_cast<uint32_t>(seconds);
    row.icon = OwnIcon(sel.GetTexts(CellProp(prop::kCellIcon), kColumnCount));
    const std::vector<std::string> hints = sel.GetTexts(CellProp(prop::kCellHint), kColumnCount);
    row.nameHint = At(hints, ColName);
    row.mapHint = At(hints, ColMapName);
    const std::vector<std::string> colours = sel.GetTexts(CellProp(prop::kCellTextColour), kColumnCount);
    row.titleColour = At(colours, ColTitle);
    row.lengthColour = At(colours, ColLength);
    row.hidden = sel.Count(CountOf::Shown) == 0;
    return row;
}

void GridRowStore::Fill(const GridSelection& sel, const PlaylistRow& row, bool fresh)
{
    sel.SetTexts(kValues, std::vector<std::string>(row.text.begin(), row.text.end()));
    sel.SetNumber(prop::kRowKind, row.kind == RowKind::Folder ? 0 : 1);
    sel.SetNumber(prop::kRowSeconds, static_cast<int32_t>(row.seconds));
    if (!fresh || !row.icon.empty())
        SetCells(sel, prop::kCellIcon, {{ColName, &row.icon}});
    if (!fresh || !row.nameHint.empty() || !row.mapHint.empty())
        SetCells(sel, prop::kCellHint, {{ColName, &row.nameHint}, {ColMapName, &row.mapHint}});
    if (!fresh || !row.titleColour.empty() || !row.lengthColour.empty())
        SetCells(sel, prop::kCellTextColour, {{ColTitle, &row.titleColour}, {ColLength, &row.lengthColour}});
    if (!fresh || row.hidden)
        sel.HideRows(row.hidden);
}

uint32_t GridRowStore::Insert(int index, const PlaylistRow& row, bool idInSortKey)
{
    // Position 0 means "append" to the grid: a row for the top goes in
    // after the first row, then up one place.
    bool toTop = false;
    int32_t position = TS_APPEND;
    if (index == 0) {
        toTop = Count() > 0;
        position = toTop ? 1 : TS_APPEND;
    } else if (index > 0) {
        position = index;
    }
    const GridSelection sel = grid_.Inserted(1, position);
    const uint32_t id = static_cast<uint32_t>(sel.GetNumber(prop::kRowId));
    if (id == 0)
        return 0;  // the grid is full
    if (idInSortKey) {
        PlaylistRow keyed = row;
        keyed.text[ColSortKey] += std::to_string(id);
        Fill(sel, keyed, true);
    } else {
        Fill(sel, row, true);
    }
    if (toTop)
        sel.MoveRows(-1);
    return id;
}

void GridRowStore::Write(int index, const PlaylistRow& row)
{
    const GridSelection sel = RowSel(grid_, index);
    if (sel.GetNumber(prop::kRowId) != 0)
        Fill(sel, row, false);
}

void GridRowStore::Remove(int first, int count)
{
    if (first < 0 || count <= 0)
        return;
    grid_.Rows(first, first + count - 1).DeleteRows();
}

int GridRowStore::IndexOf(uint32_t id) const
{
    if (id < TS_ID_BASE)
        return -1;
    // An id that is gone maps to some index: the row there must carry it.
    const GridSelection sel = RowSel(grid_, static_cast<int>(id));
    const int index = sel.FirstRow();
    return index >= 0 && static_cast<uint32_t>(sel.GetNumber(prop::kRowId)) == id ? index : -1;
}

int GridRowStore::FindText(int column, const std::string& text, int from) const
{
    GridSelection sel = grid_.Range(column, from < 0 ? 0 : from, column, -1);
    return sel.Find(text).FirstRow();
}

void GridRowStore::SetText(int index, int column, const std::string& text)
{
    if (index >= 0)
        grid_.Cell(index, column).SetText(kValues, text);
}

uint32_t GridRowStore::AddSeconds(int index, int64_t seconds)
{
    const GridSelection sel = RowSel(grid_, index);
    const int32_t step = seconds > 0x7FFFFFFF ? 0x7FFFFFFF : seconds < -0x7FFFFFFF ? -0x7FFFFFFF : static_cast<int32_t>(seconds);
    sel.AddNumber(prop::kRowSeconds, step);
    int32_t total = sel.GetNumber(prop::kRowSeconds);
    if (total < 0) {
        total = 0;
        sel.SetNumber(prop::kRowSeconds, 0);
    }
    const std::string length = FormatLength(static_cast<uint32_t>(total));
    SetCells(sel, prop::kCellValue, {{ColLength, &length}});
    return static_cast<uint32_t>(total);
}

int GridRowStore::FolderOf(int index) const
{
    GridSelection sel = RowSel(grid_, index);
    if (sel.GetNumber(prop::kRowId) == 0)
        return -1;
    if (sel.GetNumber(prop::kRowKind) == 0)
        return index;
    return sel.FolderRowOf().FirstRow();
}

int GridRowStore::GroupEnd(int folder) const
{
    GridSelection sel = RowSel(grid_, folder);
    const int last = sel.SongRowsOf().LastRow();
    return last < 0 ? folder + 1 : last + 1;
}

std::string GridRowStore::Icon(int index) const
{
    return OwnIcon(RowSel(grid_, index).GetTexts(CellProp(prop::kCellIcon), kColumnCount));
}

void GridRowStore::SetIcon(int index, const std::string& icon)
{
    const GridSelection sel = RowSel(grid_, index);
    if (!sel.Empty())
        SetCells(sel, prop::kCellIcon, {{ColName, &icon}});
}

RowKind GridRowStore::Kind(int index) const
{
    return RowSel(grid_, index).GetNumber(prop::kRowKind) == 0 ? RowKind::Folder : RowKind::Song;
}

uint32_t GridRowStore::IdAt(int index) const
{
    return static_cast<uint32_t>(RowSel(grid_, index).GetNumber(prop::kRowId));
}

}  // namespace playlist
