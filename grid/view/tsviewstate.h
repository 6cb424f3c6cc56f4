// The view state the grid needs before its layout and painting exist: the
// first visible row and column, the client size, and cell geometry from the
// rows' and columns' stored extents. The layout layer recomputes those
// extents from templates; this arithmetic stays the same.
#ifndef ZUB_GRID_VIEW_TSVIEWSTATE_H
#define ZUB_GRID_VIEW_TSVIEWSTATE_H

#include <stdint.h>

#include "tsdatamgr.h"

// A rectangle in pixels, right and bottom excluded.
struct TsPixels {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

// Scroll placement (TSM_SCROLLTOSEL byte 2): bits 0-1 horizontal, 2-3
// vertical: 1 into view, 2 on the last column or row, 3 on the first.
enum { TS_PLACE_NONE = 0, TS_PLACE_SHOW = 1, TS_PLACE_LAST = 2, TS_PLACE_FIRST = 3 };

class TsViewState {
public:
    uint32_t FirstRow() const { return firstRow_; }
    uint32_t FirstCol() const { return firstCol_; }
    void SetClientSize(int32_t width, int32_t height)
    {
        width_ = width;
        height_ = height;
    }
    int32_t ClientWidth() const { return width_; }
    int32_t ClientHeight() const { return height_; }

    static int32_t RowExtent(const TsRowRecord* r);
    static int32_t ColExtent(const TsColumnRecord* c);

    // The cell's rectangle in the grid window; false when the cell does not
    // exist. Hidden rows and columns have no extent.
    bool CellRect(const TsDataMgr& d, uint32_t row, uint32_t col, TsPixels* out) const;
    // The cells at least partly in view; false when none are.
    bool Visible(const TsDataMgr& d, TsRect* out) const;
    // Scrolls so that the cells (clipped to the grid) come into view as the
    // placement says; returns true when the origin moved.
    bool ScrollTo(const TsDataMgr& d, const TsRect& cells, uint32_t placement, bool asFarAsPossible = false);
    // Keeps the origin within the grid after rows or columns went away.
    void Clamp(const TsDataMgr& d);

private:
    uint32_t firstRow_ = 0;
    uint32_t firstCol_ = 0;
    int32_t width_ = 0;
    int32_t height_ = 0;
};

#endif
