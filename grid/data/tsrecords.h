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

// A size template (row height or column width): at most two items, the
// first in the low byte of kinds and the second in the high byte.
struct TsSizeTemplate {
    TsValue* text;        // kind 0x02: the text to measure, or null
    uint32_t percent;     // kind 0x10: thousandths of a percent
    uint16_t weight;      // kind 0x04: the number before "R"
    uint16_t absolute[2]; // kind 0x01: pixels of the first and second item; 0xFFFF unset
    uint16_t kinds;
};
enum : uint16_t {
    TS_SIZE_ABSOLUTE = 0x01,
    TS_SIZE_TEXT = 0x02,
    TS_SIZE_WEIGHT = 0x04,
    TS_SIZE_B = 0x08,
    TS_SIZE_PERCENT = 0x10
};

struct TsRowRecord {
    TsRecordHead head;
    uint16_t cellSlot;     // the row's cells in every column's cell block
    uint16_t flags;        // TS_ROW_*
    uint16_t height[2];    // the larger counts
    uint8_t level;         // two 4-bit attributes; the low one is the outline level
    uint8_t colorRef[2];   // two colour pair references (TSM_SETROWATTR)
    uint16_t groupSize;    // this row and the rows grouped under it
    uint32_t rowData;      // the value a row-data sort key compares
    TsValue* user[2];      // row items 20 and 44
    TsSizeTemplate size;   // row item 21
};

struct TsColumnRecord {
    TsRecordHead head;
    uint16_t flags;        // TS_COL_*
    uint16_t cellBytes;    // element size of the cell block
    uint16_t width[2];     // the larger counts
    uint8_t level;         // two 4-bit attributes (TSM_SETCOLATTR)
    uint8_t colorRef[2];
    uint8_t keyFlags;      // sort key flags when the column is a sort key
    uint16_t textAlign;    // alignment codes of the column style
    uint16_t iconAlign;
    uint8_t colorPair;     // alias references: 0 inherits
    uint8_t font;
    uint8_t icon;
    uint8_t cursor;
    uint8_t sizing;
    uint8_t hint;
    uint8_t colorVariant[8];  // colour items 7-11, 14, 59, 60
    TsValue* user;         // column item 20
    TsSizeTemplate size;   // column item 21
    TsBlockArray cells;    // one TsCell per row cell slot
};

struct TsCell {
    TsValue* value;        // never null while the cell exists
    uint16_t textAlign;    // 0: the column's
    uint16_t iconAlign;
    uint16_t extent;       // 0xFFFF: to be measured again
    uint8_t flags;         // bits 1-2 mark cells the focus watches
    uint8_t colorPair[3];  // normal, highlighted, focus; 0 inherits
    uint8_t font;
    uint8_t icon;
    uint8_t cursor;
    uint8_t sizing;
    uint8_t hint;
};
enum : uint8_t { TS_CELL_WATCHED = 0x06 };

// Row heights and column widths until the layout computes them from the
// templates.
enum : uint16_t { TS_DEFAULT_ROW_HEIGHT = 20, TS_DEFAULT_COL_WIDTH = 100 };

#endif
