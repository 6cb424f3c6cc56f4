// The player's wrappers over a "Tessaline" grid: every operation is a grid
// message, with a ParamBlock, to the inner grid window (the popup-menu
// request alone goes to the outer one).
//
// PlaylistGrid attaches to a "Tessaline" dialog item, or creates one that
// fills another window's client area. GridSelection owns one selection
// handle: copying duplicates it (operation 1), destruction releases it
// (operation 2); an empty one (handle 0) sends nothing and reads as empty.
#ifndef ZUB_PLAYLIST_WIN32_PLAYLIST_GRID_H
#define ZUB_PLAYLIST_WIN32_PLAYLIST_GRID_H

#include <windows.h>

#include <stdint.h>

#include "ts.h"

namespace playlist {

class PlaylistGrid;

class GridSelection {
public:
    GridSelection() = default;
    // Takes over a handle the grid gave (0: empty).
    GridSelection(const PlaylistGrid* grid, uint32_t handle) : grid_(grid), handle_(handle) {}
    GridSelection(const GridSelection& other);
    GridSelection& operator=(const GridSelection& other);
    GridSelection(GridSelection&& other) noexcept : grid_(other.grid_), handle_(other.handle_) { other.handle_ = 0; }
    GridSelection& operator=(GridSelection&& other) noexcept;
    ~GridSelection() { Reset(); }

    uint32_t Handle() const { return handle_; }
    bool Empty() const { return handle_ == 0; }
    void Reset();

    // Properties of the covered cells, rows or columns (PropertyId with its
    // group), as a text or a number; 0 and nothing sent when empty.
    LRESULT SetText(PropertyId id, const char* text) const;
    LRESULT SetNumber(PropertyId id, int32_t number) const;
    int32_t GetNumber(PropertyId id) const;

private:
    const PlaylistGrid* grid_ = nullptr;
    uint32_t handle_ = 0;
};

class PlaylistGrid {
public:
    // A wrapper of the "Tessaline" window (class compared ignoring case),
    // or of a new "Tessaline" child filling the window's client area.
    explicit PlaylistGrid(HWND window);
    ~PlaylistGrid();
    PlaylistGrid(const PlaylistGrid&) = delete;
    PlaylistGrid& operator=(const PlaylistGrid&) = delete;

    bool Ready() const { return inner_ != nullptr; }
    HWND Outer() const { return outer_; }
    HWND Inner() const { return inner_; }

    LRESULT Send(UINT message, uint32_t d0, uintptr_t d1 = 0) const;
    template <class T>
    LRESULT Send(UINT message, uint32_t d0, const T* record) const
    {
        return Send(message, d0, reinterpret_cast<uintptr_t>(record));
    }

    // TSM_DEFINEALIAS: the alias number, 0 on failure.
    uint32_t DefineAlias(int kind, const char* name, const char* spec1, const char* spec2 = nullptr) const;
    GridSelection InsertRows(uint32_t count, int32_t position = TS_APPEND) const;
    GridSelection InsertColumns(uint32_t count, int32_t position = TS_APPEND) const;
    // Rows first..last (all columns); -1 reaches the last.
    GridSelection Rows(int32_t first, int32_t last) const;
    GridSelection Columns(int32_t first, int32_t last) const;
    // Grid-wide properties (group 3).
    LRESULT SetGridText(PropertyId id, const char* text) const;
    LRESULT SetGridNumber(PropertyId id, int32_t number) const;

private:
    HWND outer_ = nullptr;
    HWND inner_ = nullptr;
    bool created_ = false;   // the wrapper made the control and destroys it
    bool attached_ = false;  // the window's user data holds the wrapper
};

}  // namespace playlist

#endif
