// The playlist's way of filling a grid, as grid messages: per row, insert
// one row, then for each cell a one-cell selection, the cell's text and a
// release; then release the row. send(message, d0, d1) sends one message
// (through SendMessage, or to the handlers directly); text(row, col) gives
// a cell's text. Shared by the grid benchmarks.
#ifndef ZUB_BENCH_GRID_FILL_MESSAGES_H
#define ZUB_BENCH_GRID_FILL_MESSAGES_H

#include <stdint.h>

#include "ts.h"

template <class Send, class Text>
void FillGridByMessages(Send send, int rows, int cols, Text text)
{
    const uint32_t setText = static_cast<uint32_t>(TS_PROP(TS_GROUP_CELLS, TS_PART_STRING, TS_ITEM_VALUE)) << 16;
    send(TSM_SELECTIONOP,
         static_cast<uint32_t>(send(TSM_INSERTCOLS, static_cast<uint32_t>(cols), TS_APPEND)) | TS_SEL_RELEASE << 16,
         0);
    for (int r = 0; r < rows; ++r) {
        uint32_t row = static_cast<uint32_t>(send(TSM_INSERTROWS, 1, TS_APPEND));
        for (int c = 0; c < cols; ++c) {
            TsSelRect cell = {c, r, c, r};
            uint32_t h = static_cast<uint32_t>(send(TSM_SETSELRANGE, 0, reinterpret_cast<uintptr_t>(&cell)));
            send(TSM_SETPROP, h | setText, reinterpret_cast<uintptr_t>(text(r, c)));
            send(TSM_SELECTIONOP, h | TS_SEL_RELEASE << 16, 0);
        }
        send(TSM_SELECTIONOP, row | TS_SEL_RELEASE << 16, 0);
    }
}

#endif
