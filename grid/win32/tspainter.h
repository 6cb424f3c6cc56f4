// Draws a paint plan: everything goes into one off-screen bitmap, which is
// then copied to the window at once, so nothing is ever erased and drawn
// again on the screen. The bitmap is kept from paint to paint (made anew
// only when the window grows), and every other GDI object made for a paint
// is deleted before it returns.
#ifndef ZUB_GRID_WIN32_TSPAINTER_H
#define ZUB_GRID_WIN32_TSPAINTER_H

#include <windows.h>

#include <vector>

#include "tspaintbatch.h"
#include "tspaintplan.h"

struct TsPaintOptions {
    bool ellipsis;  // cut-off text ends with "..."
};

class TsPainter {
public:
    TsPainter() = default;
    ~TsPainter();
    TsPainter(const TsPainter&) = delete;
    TsPainter& operator=(const TsPainter&) = delete;

    void Paint(HDC dc, const RECT& area, const TsPaintPlan& plan, const TsPaintOptions& options);

private:
    // The kept bitmap, at least width x height, selected into a memory
    // context compatible with dc; null when none could be made.
    HDC Buffer(HDC dc, int width, int height);
    void Drop();
    void DrawRules(HDC dc, const TsPaintPlan& plan);
    void DrawLines(HDC dc, const TsLineGroup& group);

    HDC mem_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ original_ = nullptr;
    int width_ = 0, height_ = 0;
    // Kept from paint to paint so that painting allocates nothing once warm.
    std::vector<TsFill> fills_;
    TsRuleBatch rules_;
    std::vector<POINT> points_;
    std::vector<DWORD> counts_;
};

#endif
