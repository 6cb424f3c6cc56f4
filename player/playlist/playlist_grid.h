// The player's wrappers over a grid control: PlaylistGrid (one per grid)
// and GridSelection (one selection handle, owned). Every operation is a
// grid message with a ParamBlock; the grid keeps all cell data.
//
// The grid is reached through a GridPort: on Windows SendMessage to the
// grid's windows (win32/grid_window_port.h), in native tests the grid's
// message handlers themselves.
#ifndef ZUB_PLAYLIST_PLAYLIST_GRID_H
#define ZUB_PLAYLIST_PLAYLIST_GRID_H

#include <cstdint>
#include <string>
#include <vector>

#include "ts.h"

namespace playlist {

class GridPort {
public:
    virtual ~GridPort() = default;
    // A client message to the inner grid window.
    virtual intptr_t Send(uint32_t message, ParamBlock* block) = 0;
    // A message to the outer window (the popup-menu request).
    virtual intptr_t SendFrame(uint32_t message, ParamBlock* block) = 0;
    // The outer window as set operations name the grid of their operand.
    virtual uintptr_t FrameHandle() const = 0;
};

// Property numbers the playlist uses (group, part and item).
namespace prop {
constexpr PropertyId kRowKind = 0x1310;          // RowKind: 0 folder, 1 song
constexpr PropertyId kRowId = 0x1313;            // the row id (read only)
constexpr PropertyId kRowSeconds = 0x1314;       // length in seconds
constexpr PropertyId kRowSecondsAdd = 0x1414;    // the same, added to
constexpr PropertyId kRowCount = 0x331B;
constexpr PropertyId kEditState = 0x3331;        // 1 editing, 16 after a cancel
constexpr PropertyId kEditRefused = 0x3338;
constexpr PropertyId kEditText = 0x3124;         // the editor's text, as a list
constexpr PropertyId kEditCaret = 0x3325;
constexpr PropertyId kEditSelLength = 0x3326;    // signed
constexpr PropertyId kFirstVisibleRow = 0x331D;
constexpr PropertyId kColumnId = 0x2313;
constexpr PropertyId kFirstRowSel = 0x5333;
constexpr PropertyId kLastRowSel = 0x5334;
constexpr PropertyId kFirstColSel = 0x5335;
constexpr PropertyId kLastColSel = 0x5336;
// Cell items, any part: the value, the icon alias name ("Default" reads as
// none), the text colour and the hint text.
constexpr uint32_t kCellValue = 3;
constexpr uint32_t kCellIcon = 5;
constexpr uint32_t kCellTextColour = 8;
constexpr uint32_t kCellHint = 12;
}  // namespace prop

// Selection operations as the playlist sends them: the low byte is the
// operation, the high byte its modifier.
namespace selop {
constexpr uint16_t kNew = 0x000;
constexpr uint16_t kDuplicate = 0x001;
constexpr uint16_t kRelease = 0x002;
constexpr uint16_t kMakeCurrent = 0x105;
constexpr uint16_t kUnion = 0x106;
constexpr uint16_t kIntersect = 0x107;
constexpr uint16_t kMinus = 0x108;
constexpr uint16_t kCurrent = 0x00B;
constexpr uint16_t kEditCell = 0x00C;
constexpr uint16_t kSongRowsOf = 0x00D;
constexpr uint16_t kFolderRowOf = 0x023;
constexpr uint16_t kVisibleRows = 0x60E;
constexpr uint16_t kVisibleCells = 0x00E;
constexpr uint16_t kFind = 0x413;
constexpr uint16_t kCount = 0x416;
constexpr uint16_t kCountTopLevel = 0x020;
}  // namespace selop

// What a count covers.
enum class CountOf { Rows = 0, HiddenToo = 1, Shown = 2 };

class PlaylistGrid;

class GridSelection {
public:
    GridSelection() = default;
    // Takes over one reference of `handle` (0: empty).
    GridSelection(PlaylistGrid* grid, uint32_t handle);
    GridSelection(const GridSelection& other);  // duplicates
    GridSelection(GridSelection&& other) noexcept;
    GridSelection& operator=(const GridSelection& other);
    GridSelection& operator=(GridSelection&& other) noexcept;
    ~GridSelection();

    bool Empty() const { return handle_ == 0; }
    uint32_t Handle() const { return handle_; }
    PlaylistGrid* Grid() const { return grid_; }
    // Gives the handle up without releasing it.
    uint32_t Detach();

    // Set operations, in place.
    GridSelection& Union(const GridSelection& other);
    GridSelection& Intersect(const GridSelection& other);
    GridSelection& Minus(const GridSelection& other);
    // The song rows of the folder rows covered (empty when none is).
    GridSelection& SongRowsOf();
    // The folder rows of the song rows covered.
    GridSelection& FolderRowOf();
    // The rows covered whose cells equal `text` exactly.
    GridSelection& Find(const std::string& text);
    int Count(CountOf what = CountOf::Rows) const;
    // The rows covered at the top level of the outline: folder rows.
    int CountFolderRows() const;

    // Geometry; -1 when empty.
    int FirstRow() const;
    int LastRow() const;
    int FirstCol() const;
    int LastCol() const;

    // Properties of what it covers (group and item in `id`; the part is
    // chosen by the call).
    void SetNumber(PropertyId id, int32_t n) const;
    void AddNumber(PropertyId id, int32_t n) const;
    void SetText(PropertyId id, const std::string& text) const;
    void SetTexts(PropertyId id, const std::vector<std::string>& texts) const;
    int32_t GetNumber(PropertyId id) const;
    std::vector<std::string> GetTexts(PropertyId id, int capacity) const;
    std::string GetText(PropertyId id) const;

    // Messages on the selection.
    void DeleteRows() const;
    void HideRows(bool hide) const;
    void HideCols(bool hide) const;
    void MoveRows(int by) const;
    void ScrollTo(uint32_t placement) const;
    void ClearCells(uint32_t mask) const;
    void SetColMark(bool on) const;
    void SetColSearch(bool on) const;
    void MakeCurrent() const;

private:
    intptr_t Op(uint16_t operation, uint32_t operand = 0, uintptr_t d1 = 0) const;
    void SetOp(uint16_t operation, const GridSelection& other);
    void Release();

    PlaylistGrid* grid_ = nullptr;
    uint32_t handle_ = 0;
};

class PlaylistGrid {
public:
    PlaylistGrid(GridPort& port, ITsVListMgr& lists);
    ~PlaylistGrid();
    PlaylistGrid(const PlaylistGrid&) = delete;
    PlaylistGrid& operator=(const PlaylistGrid&) = delete;

    intptr_t Send(uint32_t message, uint32_t d0, uintptr_t d1 = 0);
    template <class T>
    intptr_t Send(uint32_t message, uint32_t d0, T* record)
    {
        return Send(message, d0, reinterpret_cast<uintptr_t>(record));
    }
    intptr_t SendFrame(uint32_t message, uint32_t d0, uintptr_t d1);
    uintptr_t FrameHandle() const { return port_.FrameHandle(); }
    ITsVListMgr& Lists() { return lists_; }

    // Selections from rectangles; -1 reaches the last row or column.
    GridSelection Range(int32_t left, int32_t top, int32_t right, int32_t bottom);
    GridSelection Row(int32_t row) { return Range(0, row, -1, row); }
    GridSelection Rows(int32_t first, int32_t last) { return Range(0, first, -1, last); }
    GridSelection Column(int32_t col) { return Range(col, 0, col, -1); }
    GridSelection Columns(int32_t first, int32_t last) { return Range(first, 0, last, -1); }
    GridSelection Cell(int32_t row, int32_t col) { return Range(col, row, col, row); }
    GridSelection CurrentSelection() { return Made(selop::kCurrent); }
    GridSelection EditCell() { return Made(selop::kEditCell); }
    GridSelection VisibleRows() { return Made(selop::kVisibleRows); }
    GridSelection VisibleCells() { return Made(selop::kVisibleCells); }
    GridSelection Inserted(uint32_t count, int32_t position);
    GridSelection InsertedCols(uint32_t count, int32_t position);

    // Grid-wide properties.
    int32_t GridNumber(PropertyId id);
    void SetGridNumber(PropertyId id, int32_t n);
    void SetGridText(PropertyId id, const std::string& text);
    int RowCount() { return GridNumber(prop::kRowCount); }

    int DefineAlias(int kind, const char* name, const char* spec1, const char* spec2 = nullptr);

    // The grid's focus selection object, which the make-current operation
    // fills before the grid's focus moves there.
    GridSelection& Focus() { return focus_; }

private:
    GridSelection Made(uint16_t operation);

    GridPort& port_;
    ITsVListMgr& lists_;
    GridSelection focus_;
};

// A value list of the grid library, destroyed with its holder.
class ValueList {
public:
    explicit ValueList(ITsVListMgr& lists, int capacity = 0);
    ~ValueList();
    ValueList(const ValueList&) = delete;
    ValueList& operator=(const ValueList&) = delete;

    Vlist* get() const { return list_; }
    int Size() const;
    std::string Text(int i) const;
    // Entry i holds the text as it is (the list grows to hold it).
    void Set(int i, const std::string& text);
    void Append(const std::string& text);
    // Entry i: a marker that leaves its target unchanged, or one that
    // returns it to the grid's default.
    void SetNoOp(int i) { SetParsed(i, "%TSNoOp"); }
    void SetReset(int i) { SetParsed(i, "%TSReset"); }
    std::vector<std::string> Texts() const;

private:
    void SetParsed(int i, const std::string& text);

    ITsVListMgr& lists_;
    Vlist* list_;
};

}  // namespace playlist

#endif
