// The grid's scroll bars without the window: their range, page and position
// from the geometry, what each scroll code does, the mouse wheel, and the
// hint shown while the user scrolls.
//
// Positions count shown lines, so hidden rows make no empty stretch of the
// bar. Each bar has two behaviours (option bits 24 horizontal, 25 vertical):
// clear, the view follows the thumb as it is dragged; set, the view stays
// until the thumb is let go and only the hint follows it, which keeps
// dragging quick over grids whose rows are costly to draw. Line and page
// steps that arrive before the previous one was painted are absorbed, so a
// held arrow never queues up scrolling the user no longer wants.
#ifndef ZUB_GRID_VIEW_TSSCROLLER_H
#define ZUB_GRID_VIEW_TSSCROLLER_H

#include <stdint.h>

#include <string>

#include "tsviewstate.h"

// What SetScrollInfo takes: a range from 0 to max, the page and the position.
struct TsScrollBar {
    int32_t max;
    uint32_t page;
    int32_t pos;
    bool operator==(const TsScrollBar& o) const { return max == o.max && page == o.page && pos == o.pos; }
    bool operator!=(const TsScrollBar& o) const { return !(*this == o); }
};

// The window's scroll codes.
enum {
    TS_SB_LINEUP = 0,
    TS_SB_LINEDOWN = 1,
    TS_SB_PAGEUP = 2,
    TS_SB_PAGEDOWN = 3,
    TS_SB_THUMBPOSITION = 4,
    TS_SB_THUMBTRACK = 5,
    TS_SB_TOP = 6,
    TS_SB_BOTTOM = 7,
    TS_SB_ENDSCROLL = 8
};
// Lines per wheel notch meaning a page at a time.
enum : uint32_t { TS_WHEEL_PAGE = 0xFFFFFFFFu, TS_WHEEL_DELTA = 120 };

class TsScroller {
public:
    static TsScrollBar Bar(TsViewState& view, const TsDataMgr& d, bool vertical);

    // A scroll message for one bar; thumb is the track position for codes
    // 4 and 5. Returns true when the origin moved.
    bool OnScroll(TsViewState& view, const TsDataMgr& d, bool vertical, uint32_t code, uint32_t thumb,
                  bool deferred);
    // A wheel turn: deltas add up, so the small ones of touchpads are not
    // lost; every 120 scroll `lines` lines (TS_WHEEL_PAGE: a page).
    bool OnWheel(TsViewState& view, const TsDataMgr& d, bool vertical, int32_t delta, uint32_t lines);
    // The grid painted: the next step is taken again.
    void Painted() { stepPending_[0] = stepPending_[1] = false; }

    // While the user scrolls a bar: the hint template (stored form) filled
    // for where the view is, or would be once the thumb is let go:
    // {TSDisplace} the number of the first line shown there, {TSVisible}
    // the number of the last one wholly shown (both counting shown lines
    // from 1). False when no bar is being scrolled or its template is empty.
    bool Hint(TsViewState& view, const TsDataMgr& d, const std::string& stored, bool vertical, std::string* text) const;
    // The bar being scrolled: 0 horizontal, 1 vertical, -1 none.
    int Scrolling() const { return scrolling_; }
    // The user holds the thumb of a bar.
    bool Tracking(bool vertical) const { return tracking_[vertical ? 1 : 0]; }

private:
    bool Step(TsViewState& view, const TsDataMgr& d, bool vertical, int32_t lines);
    uint32_t Target(TsViewState& view, const TsDataMgr& d, bool vertical) const;

    bool stepPending_[2] = {false, false};
    bool tracking_[2] = {false, false};
    uint32_t trackOrdinal_[2] = {0, 0};  // where a deferred thumb is
    int64_t wheel_[2] = {0, 0};          // line units times 120 not yet scrolled
    int scrolling_ = -1;
};

#endif
