// Where keys and clicks take the focus: steps over the shown rows and
// columns (hidden ones are never the focus), and the cell under a point.
#ifndef ZUB_GRID_INPUT_TSNAVIGATE_H
#define ZUB_GRID_INPUT_TSNAVIGATE_H

#include <stdint.h>

#include "tsdatamgr.h"
#include "tsviewstate.h"

// The shown row `steps` shown rows from `from` (down for positive steps),
// stopping at the last one in that direction. A hidden or out-of-range
// `from` counts from where it stands; -1 when no row is shown at all.
int32_t TsStepRow(const TsDataMgr& d, int32_t from, int32_t steps);
int32_t TsStepCol(const TsDataMgr& d, int32_t from, int32_t steps);

// The first and last shown row or column; -1 when none.
int32_t TsFirstShownRow(const TsDataMgr& d);
int32_t TsLastShownRow(const TsDataMgr& d);
int32_t TsFirstShownCol(const TsDataMgr& d);
int32_t TsLastShownCol(const TsDataMgr& d);

// How many shown rows a page step moves: those fully in view, less one,
// and at least one.
int32_t TsPageRows(const TsViewState& v, const TsDataMgr& d);

// The row at a height, the column at a width, of the grid window; false
// past the last one in view.
bool TsRowAtY(const TsViewState& v, const TsDataMgr& d, int32_t y, uint32_t* row);
bool TsColAtX(const TsViewState& v, const TsDataMgr& d, int32_t x, uint32_t* col);

// The cell at a point of the grid window; false outside every cell.
bool TsCellAtPoint(const TsViewState& v, const TsDataMgr& d, int32_t x, int32_t y, uint32_t* row, uint32_t* col);

#endif
