// Draws a paint plan: everything goes into one off-screen bitmap, which is
// then copied to the window at once, so nothing is ever erased and drawn
// again on the screen. The bitmap is kept from paint to paint (made anew
// only when the window grows), and every other GDI object made for a paint
// is deleted before it returns. Drawing calls cost far more than pixels, so
// fills, texts and rules go in batches (tspaintbatch.h).
#ifndef ZUB_GRID_WIN32_TSPAINTER_H
#define ZUB_GRID_WIN32_TSPAINTER_H

#include <windows.h>

#include <deque>
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
    void SelectFont(HDC dc, HFONT font);
    // A font's advances for drawing texts together (null: one by one),
    // found once per paint.
    const int* Advances(HDC dc, QfGraphic* font);
    void DrawOneText(HDC dc, const TsPaintPlan& plan, const TsPaintCell& c, const TsPaintOptions& options);
    void DrawTexts(HDC dc, const TsPaintPlan& plan, const TsPaintOptions& options);
    void DrawRules(HDC dc, const TsPaintPlan& plan);
    void DrawLines(HDC dc, const TsLineGroup& group);

    HDC mem_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ original_ = nullptr;
    int width_ = 0, height_ = 0;
    // Working lists kept from paint to paint, their memory reused.
    std::vector<TsFill> fills_;
    struct FontFacts {
        QfGraphic* font;
        bool together;
        int advances[TS_RUN_CHARS];
    };
    std::deque<FontFacts> fonts_;  // of the paint under way; a deque keeps what Advances returned in place
    HFONT font_ = nullptr;         // selected into the paint's context
    std::vector<TsTextRun> runs_;
    std::vector<size_t> single_;
    std::vector<WCHAR> wide_;
    std::vector<INT> steps_;
    TsRuleBatch rules_;
    std::vector<POINT> points_;
    std::vector<DWORD> counts_;
};

#endif
