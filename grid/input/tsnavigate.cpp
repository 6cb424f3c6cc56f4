#include "tsnavigate.h"

namespace {

bool RowShown(const TsDataMgr& d, int32_t r)
{
    return (d.Row(static_cast<uint32_t>(r))->flags & TS_ROW_SHOWN) != 0;
}

bool ColShown(const TsDataMgr& d, int32_t c)
{
    return (d.Col(static_cast<uint32_t>(c))->flags & TS_COL_SHOWN) != 0;
}

template <class Shown>
int32_t Step(int32_t count, int32_t from, int32_t steps, Shown shown)
{
    if (count <= 0)
        return -1;
    int32_t dir = steps < 0 ? -1 : 1;
    int32_t left = steps < 0 ? -steps : steps;
    int32_t at = from < 0 ? -1 : from >= count ? count : from;
    int32_t best = at >= 0 && at < count && shown(at) ? at : -1;
    // From a hidden line, the first step lands on the nearest shown one.
    for (int32_t i = at + dir; i >= 0 && i < count && left > 0; i += dir) {
        if (shown(i)) {
            best = i;
            --left;
        }
    }
    if (best >= 0)
        return best;
    // Nothing that way: the nearest shown line the other way.
    for (int32_t i = at - dir; i >= 0 && i < count; i -= dir) {
        if (i < count && shown(i))
            return i;
    }
    return -1;
}

template <class Shown>
int32_t Edge(int32_t count, bool first, Shown shown)
{
    for (int32_t n = 0; n < count; ++n) {
        int32_t i = first ? n : count - 1 - n;
        if (shown(i))
            return i;
    }
    return -1;
}

// The line at offset `at` pixels from line `first` along one axis.
template <class Extent>
bool LineAt(uint32_t first, uint32_t count, int32_t at, Extent extent, uint32_t* out)
{
    if (at < 0)
        return false;
    int32_t edge = 0;
    for (uint32_t i = first; i < count; ++i) {
        int32_t size = extent(i);
        if (size > 0 && at < edge + size) {
            *out = i;
            return true;
        }
        edge += size;
        if (edge > at)
            break;
    }
    return false;
}

}  // namespace

int32_t TsStepRow(const TsDataMgr& d, int32_t from, int32_t steps)
{
    return Step(static_cast<int32_t>(d.RowCount()), from, steps, [&d](int32_t r) { return RowShown(d, r); });
}

int32_t TsStepCol(const TsDataMgr& d, int32_t from, int32_t steps)
{
    return Step(static_cast<int32_t>(d.ColCount()), from, steps, [&d](int32_t c) { return ColShown(d, c); });
}

int32_t TsFirstShownRow(const TsDataMgr& d)
{
    return Edge(static_cast<int32_t>(d.RowCount()), true, [&d](int32_t r) { return RowShown(d, r); });
}

int32_t TsLastShownRow(const TsDataMgr& d)
{
    return Edge(static_cast<int32_t>(d.RowCount()), false, [&d](int32_t r) { return RowShown(d, r); });
}

int32_t TsFirstShownCol(const TsDataMgr& d)
{
    return Edge(static_cast<int32_t>(d.ColCount()), true, [&d](int32_t c) { return ColShown(d, c); });
}

int32_t TsLastShownCol(const TsDataMgr& d)
{
    return Edge(static_cast<int32_t>(d.ColCount()), false, [&d](int32_t c) { return ColShown(d, c); });
}

int32_t TsPageRows(const TsViewState& v, const TsDataMgr& d)
{
    TsRect seen;
    if (!v.Visible(d, &seen))
        return 1;
    int32_t full = 0, used = 0;
    for (int32_t r = seen.top; r <= seen.bottom; ++r) {
        int32_t h = TsViewState::RowExtent(d.Row(static_cast<uint32_t>(r)));
        if (h == 0)
            continue;
        used += h;
        if (used <= v.ClientHeight())
            ++full;
    }
    return full > 1 ? full - 1 : 1;
}

bool TsRowAtY(const TsViewState& v, const TsDataMgr& d, int32_t y, uint32_t* row)
{
    return y < v.ClientHeight() &&
           LineAt(v.FirstRow(), d.RowCount(), y, [&d](uint32_t i) { return TsViewState::RowExtent(d.Row(i)); }, row);
}

bool TsColAtX(const TsViewState& v, const TsDataMgr& d, int32_t x, uint32_t* col)
{
    return x < v.ClientWidth() &&
           LineAt(v.FirstCol(), d.ColCount(), x, [&d](uint32_t i) { return TsViewState::ColExtent(d.Col(i)); }, col);
}

bool TsCellAtPoint(const TsViewState& v, const TsDataMgr& d, int32_t x, int32_t y, uint32_t* row, uint32_t* col)
{
    return TsRowAtY(v, d, y, row) && TsColAtX(v, d, x, col);
}
