// The records of the cell data model: rows, columns and cells. Rows and
// columns live in record pools and never move while they exist; cells live
// in each column's cell block at the row's cell slot. Fields beyond those
// the data layer uses are the places the property, view and sort layers
// keep their state.
#ifndef ZUB_GRID_DATA_TSRECORDS_H
#define ZUB_GRID_DATA_TSRECORDS_H

#include <stdint.h>

#include "ts.h"
#include "tsblockarray.h"

// Every pooled record starts with this: the position of the row or column
// in its table (refreshed lazily), and the free-list link while unused.
struct TsRecordHead {
    uint32_t position;
    uint32_t link;
};
enum : uint32_t { TS_RECORD_FREE = 0xFFFFFFFFu };
// A cell's extent or a column's content width still to be measured.
enum : uint16_t { TS_NOT_MEASURED = 0xFFFF };

struct TsRowRecord {
    TsRecordHead head;
    uint16_t cellSlot;     // the row's cells in every column's cell block
    uint16_t flags;        // TS_ROW_*
    uint16_t height[2];    // the larger counts
    uint8_t level;         // two 4-bit attributes; the low one is the outline level
    uint8_t colorRef[2];   // two colour pair references (TSM_SETROWATTR)
    uint16_t groupSize;    // this row and the rows grouped under it
    TsValue* user[2];      // row items 20 (also the data word of a row-data sort key) and 44
    uint16_t sizeRef;      // row item 21: the grid's size template (0 the default)
};

struct TsColumnRecord {
    TsRecordHead head;
    uint16_t flags;        // TS_COL_*
    uint16_t cellBytes;    // element size of the cell block
    uint16_t width[2];     // the larger counts
    uint8_t level;         // two 4-bit attributes (TSM_SETCOLATTR)
    uint8_t colorRef[2];
    uint8_t keyFlags;      // sort key flags when the column is a sort key
    uint16_t textAlign;    // alignment codes of the column style; parts not given inherit
    uint16_t iconAlign;
    uint8_t colorPair[3];  // alias references as in cells: 0 inherits
    uint8_t font;
    uint8_t icon;
    uint8_t cursor;
    uint8_t sizing;
    uint8_t hint;
    uint8_t rule;          // colour pair whose background colours the rule to the right (item 14)
    uint8_t indent;        // item 15: indent per outline level, in icon widths
    uint8_t margin;        // item 17: text margin in pixels, left and right
    uint8_t spare;
    uint16_t maxWidth;     // item 18: the most a B item grows to, 0 no limit
    uint16_t sizeRef;      // item 21: the grid's size template (0 the default)
    uint16_t contentWidth; // widest content for a B item, or TS_NOT_MEASURED
    TsValue* user;         // column item 20
    TsBlockArray cells;    // one TsCell per row cell slot
};

struct TsCell {
    TsValue* value;        // never null while the cell exists
    uint16_t textAlign;    // 0: the column's
    uint16_t iconAlign;
    uint16_t extent;       // or TS_NOT_MEASURED
    uint8_t flags;         // bits 1-2 mark cells the focus watches
    uint8_t colorPair[3];  // normal, highlighted, focus (TS_STATE_*); 0 inherits
    uint8_t font;
    uint8_t icon;
    uint8_t cursor;
    uint8_t sizing;
    uint8_t hint;
};
enum : uint8_t { TS_CELL_WATCHED = 0x06 };
// The drawing states a cell has colours for.
enum { TS_STATE_NORMAL = 0, TS_STATE_HILITE = 1, TS_STATE_FOCUS = 2, TS_STATES = 3 };
// Text margin of a column until the client sets one (item 17).
enum : uint8_t { TS_DEFAULT_MARGIN = 2 };

// Row heights and column widths until the layout computes them from the
// templates.
enum : uint16_t { TS_DEFAULT_ROW_HEIGHT = 20, TS_DEFAULT_COL_WIDTH = 100 };

#endif
