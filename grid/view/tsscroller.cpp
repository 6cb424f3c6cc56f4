#include "tsscroller.h"

#include <stdio.h>

#include "tshint.h"

TsScrollBar TsScroller::Bar(TsViewState& view, const TsDataMgr& d, bool vertical)
{
    uint32_t shown = vertical ? view.ShownRows(d) : view.ShownCols(d);
    uint32_t last = vertical ? view.RowOrdinal(d, view.LastFirstRow(d)) : view.ColOrdinal(d, view.LastFirstCol(d));
    uint32_t pos = vertical ? view.RowOrdinal(d, view.FirstRow()) : view.ColOrdinal(d, view.FirstCol());
    TsScrollBar bar;
    bar.max = shown ? static_cast<int32_t>(shown) - 1 : 0;
    // From the last origin every remaining line fits: that is the page.
    bar.page = shown - last;
    bar.pos = static_cast<int32_t>(pos > last ? last : pos);
    return bar;
}

bool TsScroller::Step(TsViewState& view, const TsDataMgr& d, bool vertical, int32_t lines)
{
    return vertical ? view.ScrollLines(d, lines, 0) : view.ScrollLines(d, 0, lines);
}

bool TsScroller::OnScroll(TsViewState& view, const TsDataMgr& d, bool vertical, uint32_t code, uint32_t thumb,
                          bool deferred)
{
    const int bar = vertical ? 1 : 0;
    uint32_t origin = vertical ? view.FirstRow() : view.FirstCol();
    auto toOrdinal = [&](uint32_t ordinal) {
        uint32_t line = vertical ? view.RowAtOrdinal(d, ordinal) : view.ColAtOrdinal(d, ordinal);
        return vertical ? view.SetOrigin(d, line, view.FirstCol()) : view.SetOrigin(d, view.FirstRow(), line);
    };
    if (code == TS_SB_ENDSCROLL) {
        bool moved = false;
        if (tracking_[bar] && deferred)
            moved = toOrdinal(trackOrdinal_[bar]);
        tracking_[bar] = false;
        scrolling_ = -1;
        return moved;
    }
    if (code > TS_SB_ENDSCROLL)
        return false;
    scrolling_ = bar;
    if (code <= TS_SB_PAGEDOWN) {
        if (stepPending_[bar])
            return false;  // absorbed: the last step is not painted yet
        int32_t lines = 1;
        if (code == TS_SB_PAGEDOWN)
            lines = static_cast<int32_t>(vertical ? view.RowsInPage(d, origin, true) : view.ColsInPage(d, origin, true));
        if (code == TS_SB_PAGEUP) {
            uint32_t before = vertical ? view.RowAfter(d, origin, -1) : view.ColAfter(d, origin, -1);
            lines = static_cast<int32_t>(vertical ? view.RowsInPage(d, before, false) : view.ColsInPage(d, before, false));
        }
        if (lines < 1)
            lines = 1;
        bool moved = Step(view, d, vertical, code == TS_SB_LINEUP || code == TS_SB_PAGEUP ? -lines : lines);
        stepPending_[bar] = moved;
        return moved;
    }
    switch (code) {
    case TS_SB_THUMBTRACK:
        tracking_[bar] = true;
        trackOrdinal_[bar] = thumb;
        return deferred ? false : toOrdinal(thumb);
    case TS_SB_THUMBPOSITION:
        tracking_[bar] = false;
        return toOrdinal(thumb);
    case TS_SB_TOP:
        return toOrdinal(0);
    default:  // TS_SB_BOTTOM
        return toOrdinal(vertical ? view.ShownRows(d) : view.ShownCols(d));
    }
}

bool TsScroller::OnWheel(TsViewState& view, const TsDataMgr& d, bool vertical, int32_t delta, uint32_t lines)
{
    const int bar = vertical ? 1 : 0;
    if (delta == 0)
        return false;
    // Turning back drops what was left over the other way.
    if ((wheel_[bar] > 0 && delta < 0) || (wheel_[bar] < 0 && delta > 0))
        wheel_[bar] = 0;
    bool page = lines == TS_WHEEL_PAGE;
    uint32_t per = page ? 1 : lines == 0 ? 3 : lines;
    wheel_[bar] += static_cast<int64_t>(delta) * per;
    int64_t steps = wheel_[bar] / TS_WHEEL_DELTA;
    if (steps == 0)
        return false;
    wheel_[bar] -= steps * TS_WHEEL_DELTA;
    if (page) {
        uint32_t origin = vertical ? view.FirstRow() : view.FirstCol();
        uint32_t inPage = vertical ? view.RowsInPage(d, origin, steps < 0) : view.ColsInPage(d, origin, steps < 0);
        steps *= inPage ? inPage : 1;
    }
    // A turn away from the user (a positive delta) scrolls up or left.
    return Step(view, d, vertical, static_cast<int32_t>(-steps));
}

uint32_t TsScroller::Target(TsViewState& view, const TsDataMgr& d, bool vertical) const
{
    const int bar = vertical ? 1 : 0;
    if (tracking_[bar])
        return vertical ? view.RowAtOrdinal(d, trackOrdinal_[bar]) : view.ColAtOrdinal(d, trackOrdinal_[bar]);
    return vertical ? view.FirstRow() : view.FirstCol();
}

bool TsScroller::Hint(TsViewState& view, const TsDataMgr& d, const std::string& stored, bool vertical,
                      std::string* text) const
{
    if (scrolling_ != (vertical ? 1 : 0) || stored.empty())
        return false;
    uint32_t first = Target(view, d, vertical);
    uint32_t last = vertical ? view.LastFirstRow(d) : view.LastFirstCol(d);
    if (first > last)
        first = last;
    uint32_t fit = vertical ? view.RowsInPage(d, first, true) : view.ColsInPage(d, first, true);
    uint32_t ordinal = vertical ? view.RowOrdinal(d, first) : view.ColOrdinal(d, first);
    char displace[16], visible[16];
    snprintf(displace, sizeof displace, "%u", ordinal + 1);
    snprintf(visible, sizeof visible, "%u", ordinal + (fit ? fit : 1));
    *text = TsFillScrollHint(stored, visible, displace);
    return true;
}
