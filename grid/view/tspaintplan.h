// What a paint draws, worked out without a device: the cells in table order
// with their colours, fonts, icons and text places, the rules between rows
// and columns, and the areas no cell covers. The window side draws the plan
// into one off-screen bitmap.
//
// A cell's colours, each half (background, text) on its own, the first
// layer that gives one winning:
//   the focus cell: the cell's focus pair, its column's, "CurrentFocus";
//   a selected or highlighted cell: the cell's highlight pair, its row's
//   second colour reference, its column's, then the system's highlight;
//   the focus row and column: "CurrentFocusRow", "CurrentFocusCol";
//   every cell: its own pair, its row's, its column's, "Default".
// A transparent background shows the grid's background.
#ifndef ZUB_GRID_VIEW_TSPAINTPLAN_H
#define ZUB_GRID_VIEW_TSPAINTPLAN_H

#include <stdint.h>

#include <string>
#include <vector>

#include "tsviewmgr.h"

class TsGrid;

struct TsPaintCell {
    uint32_t row, col;
    TsPixels cell;
    TsCellPlace place;
    QfGraphic* font;
    QfGraphic* icon;    // null without one
    uint32_t back;      // colour values as colour objects hold them
    uint32_t fore;
    size_t text;        // offset of the text in the plan's texts
    int length;
    bool focusRect;     // outline it as the focus cell
};

struct TsPaintRule {
    TsPixels rect;
    uint32_t colour;    // the dark colour of two-coloured styles
    uint32_t light;     // their light colour
    uint8_t style;      // TS_RULE_*
    bool vertical;
};

struct TsPaintPlan {
    uint32_t background = 0;
    std::vector<TsPixels> bare;  // areas without cells, in the background colour
    std::vector<TsPaintCell> cells;
    std::vector<TsPaintRule> rules;
    std::string texts;           // the cells' texts, each followed by a NUL
    const char* Text(const TsPaintCell& c) const { return texts.data() + c.text; }
};

// Plans the cells that meet `area` (grid window pixels). hasFocus: the grid
// window has the keyboard, so the focus cell is outlined when item 61 says so.
void TsPlanPaint(TsGrid& grid, const TsPixels& area, bool hasFocus, TsPaintPlan* plan);

#endif
