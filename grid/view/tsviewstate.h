// The view geometry: where rows and columns lie in the grid window, what
// lies under a point, which cells are in view, and moving the view's origin
// (the first row and column shown at the top left).
//
// Rows and columns are laid out in table order, each as tall or wide as its
// stored extent (the layout computes extents from the size templates;
// hidden lines have none). The origin is a row and a column index; the view
// never scrolls past the point where the last row and column are in view.
//
// For the layers above the data (input, editing, search): take the geometry
// through TsGrid::Geometry(), which brings the layout up to date first.
// Moving the origin through these calls is all a layer has to do: after
// every message the window scrolls its pixels (repainting only what came
// into view) and sets its scroll bars from the new origin.
#ifndef ZUB_GRID_VIEW_TSVIEWSTATE_H
#define ZUB_GRID_VIEW_TSVIEWSTATE_H

#include <stdint.h>

#include <vector>

#include "tsdatamgr.h"

// A rectangle in pixels of the grid window, right and bottom excluded.
struct TsPixels {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
    bool Empty() const { return left >= right || top >= bottom; }
};

// What lies under a point. row and col are -1 where the point is beyond the
// last (or before the first) row or column.
struct TsHit {
    int32_t row;
    int32_t col;
    bool Cell() const { return row >= 0 && col >= 0; }
};

// Scroll placement (TSM_SCROLLTOSEL byte 2): bits 0-1 horizontal, 2-3
// vertical: 1 into view (the least movement), 2 with the last row or column
// of the target at the end of the view, 3 with its first at the start.
// Bit 4 (TS_PLACE_STEP): move toward that placement by at most a step.
enum { TS_PLACE_NONE = 0, TS_PLACE_SHOW = 1, TS_PLACE_LAST = 2, TS_PLACE_FIRST = 3, TS_PLACE_STEP = 0x10 };

// The scroll steps by index (TSM_SCROLLTOSEL byte 3): 21 entries growing
// from 0, for auto-scrolling that speeds up the further the pointer is
// beyond the window. An index of 21 or more gives 0.
uint32_t TsScrollStep(uint32_t index);

class TsViewState {
public:
    // ---- origin and size
    uint32_t FirstRow() const { return firstRow_; }
    uint32_t FirstCol() const { return firstCol_; }
    void SetClientSize(int32_t width, int32_t height);
    int32_t ClientWidth() const { return width_; }
    int32_t ClientHeight() const { return height_; }

    // A line's extent: the larger of its two stored sizes, 0 when hidden.
    static int32_t RowExtent(const TsRowRecord* r);
    static int32_t ColExtent(const TsColumnRecord* c);
    // Rows or columns changed extent, count or shown state: the running
    // sums are rebuilt at the next use.
    void Invalidate() { stale_ = true; }

    // ---- geometry
    // The cell's rectangle in the grid window (it may lie outside the
    // client area); false when the cell does not exist. A hidden row or
    // column gives an empty rectangle at its place.
    bool CellRect(const TsDataMgr& d, uint32_t row, uint32_t col, TsPixels* out);
    // One line's span along its axis: [*start, *end).
    bool RowSpan(const TsDataMgr& d, uint32_t row, int32_t* top, int32_t* bottom);
    bool ColSpan(const TsDataMgr& d, uint32_t col, int32_t* left, int32_t* right);
    // The row and column under a point of the grid window (hidden lines are
    // never hit).
    TsHit HitTest(const TsDataMgr& d, int32_t x, int32_t y);
    // The cells at least partly in view / wholly in view (rows top to
    // bottom, columns left to right); false when there are none.
    bool Visible(const TsDataMgr& d, TsRect* out);
    bool FullyVisible(const TsDataMgr& d, TsRect* out);
    // The shown rows that fit wholly in one view height starting at `row`
    // and going down (or, with down false, ending at `row` going up); at
    // least 1 while any row is shown. For Page Up and Page Down.
    uint32_t RowsInPage(const TsDataMgr& d, uint32_t row, bool down);
    uint32_t ColsInPage(const TsDataMgr& d, uint32_t col, bool right);
    // The shown row `count` shown rows away from `row` (negative: up),
    // stopping at the first or last shown row; `row` itself when none is shown.
    uint32_t RowAfter(const TsDataMgr& d, uint32_t row, int32_t count);
    uint32_t ColAfter(const TsDataMgr& d, uint32_t col, int32_t count);

    // ---- scrolling; each returns true when the origin moved
    // Sets the origin, kept between 0 and the last origin.
    bool SetOrigin(const TsDataMgr& d, uint32_t row, uint32_t col);
    // Moves the origin by shown lines (negative: up or left).
    bool ScrollLines(const TsDataMgr& d, int32_t rows, int32_t cols);
    // Brings the cells (clipped to the grid) into view as the placement
    // says (TS_PLACE_*; with TS_PLACE_STEP at most `step` lines per axis).
    // asFarAsPossible places the target first in view on every axis the
    // placement names.
    bool ScrollTo(const TsDataMgr& d, const TsRect& cells, uint32_t placement, bool asFarAsPossible = false,
                  uint32_t step = 0);
    // Keeps the origin within the grid after rows or columns went away.
    void Clamp(const TsDataMgr& d);

    // ---- the scroll bars' model: positions count shown lines
    uint32_t ShownRows(const TsDataMgr& d);
    uint32_t ShownCols(const TsDataMgr& d);
    // The number of shown rows before a row (its scroll position).
    uint32_t RowOrdinal(const TsDataMgr& d, uint32_t row);
    uint32_t ColOrdinal(const TsDataMgr& d, uint32_t col);
    // The row at a scroll position (the last row for positions past the end).
    uint32_t RowAtOrdinal(const TsDataMgr& d, uint32_t ordinal);
    uint32_t ColAtOrdinal(const TsDataMgr& d, uint32_t ordinal);
    // The largest origin: from it the last row (column) ends in view.
    uint32_t LastFirstRow(const TsDataMgr& d);
    uint32_t LastFirstCol(const TsDataMgr& d);
    // Pixels from the top of row 0 (left of column 0) to the origin, and
    // the whole height (width) of the shown lines.
    int32_t RowOffset(const TsDataMgr& d, uint32_t row);
    int32_t ColOffset(const TsDataMgr& d, uint32_t col);

private:
    // Running sums along one axis: start[i] is the offset of line i from
    // line 0, start[n] the total; shownBefore[i] counts shown lines before i.
    struct Axis {
        std::vector<int32_t> start;
        std::vector<uint32_t> shownBefore;
        uint32_t Count() const { return static_cast<uint32_t>(start.empty() ? 0 : start.size() - 1); }
        int32_t Extent(uint32_t i) const { return start[i + 1] - start[i]; }
        int32_t Total() const { return start.empty() ? 0 : start.back(); }
        uint32_t Shown() const { return shownBefore.empty() ? 0 : shownBefore.back(); }
        // The line under offset `at` from line 0, or -1.
        int32_t LineAt(int32_t at) const;
        // The smallest first line from which `last` ends within `room`.
        uint32_t FirstForLast(uint32_t last, int32_t room) const;
        // Lines from `first` wholly within `room` (shown ones only).
        uint32_t FitFrom(uint32_t first, int32_t room) const;
        // Shown lines of a page from `line` on (forward) or ending there; at least 1.
        uint32_t InPage(uint32_t line, bool forward, int32_t room) const;
        uint32_t LastFirst(int32_t room) const;
        uint32_t AtOrdinal(uint32_t ordinal) const;
        uint32_t After(uint32_t line, int32_t count) const;
        uint32_t Place(uint32_t origin, uint32_t a, uint32_t b, int32_t room, uint32_t how, bool far) const;
    };
    void Refresh(const TsDataMgr& d);
    const Axis& Rows(const TsDataMgr& d)
    {
        Refresh(d);
        return rows_;
    }
    const Axis& Cols(const TsDataMgr& d)
    {
        Refresh(d);
        return cols_;
    }

    uint32_t firstRow_ = 0;
    uint32_t firstCol_ = 0;
    int32_t width_ = 0;
    int32_t height_ = 0;
    bool stale_ = true;
    Axis rows_;
    Axis cols_;
};

#endif
