// Draws a paint plan: everything goes into one off-screen bitmap the size
// of the area being painted, which is then copied to the window at once,
// so nothing is ever erased and drawn again on the screen. Every GDI object
// it makes is deleted before it returns.
#ifndef ZUB_GRID_WIN32_TSPAINTER_H
#define ZUB_GRID_WIN32_TSPAINTER_H

#include <windows.h>

#include "tspaintplan.h"

struct TsPaintOptions {
    bool ellipsis;  // cut-off text ends with "..."
};

void TsPaintPlanTo(HDC dc, const RECT& area, const TsPaintPlan& plan, const TsPaintOptions& options);

#endif
