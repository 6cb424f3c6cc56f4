#include "tsviewstate.h"

namespace {

// Offset of line `to` from line `from` along one axis, in pixels.
template <class Extent>
int32_t Offset(uint32_t from, uint32_t to, Extent extent)
{
    int32_t sum = 0;
    if (to >= from) {
        for (uint32_t i = from; i < to; ++i)
            sum += extent(i);
    } else {
        for (uint32_t i = to; i < from; ++i)
            sum -= extent(i);
    }
    return sum;
}

// The first line such that `last` ends at or before `room` pixels, walking
// back from it.
template <class Extent>
uint32_t FirstForLast(uint32_t last, int32_t room, Extent extent)
{
    int32_t used = extent(last);
    uint32_t first = last;
    while (first > 0 && used + extent(first - 1) <= room) {
        --first;
        used += extent(first);
    }
    return first;
}

// Lines from `first` that are at least partly within `room`.
template <class Extent>
uint32_t LastVisible(uint32_t first, uint32_t count, int32_t room, Extent extent)
{
    int32_t used = 0;
    uint32_t last = first;
    for (uint32_t i = first; i < count && used < room; ++i) {
        used += extent(i);
        last = i;
    }
    return last;
}

// New origin along one axis for lines a..b.
template <class Extent>
uint32_t Place(uint32_t origin, uint32_t a, uint32_t b, uint32_t count, int32_t room, uint32_t how, bool far,
               Extent extent)
{
    if (how == TS_PLACE_FIRST || (far && how != TS_PLACE_NONE))
        return a;
    if (how == TS_PLACE_LAST)
        return FirstForLast(b, room, extent);
    if (how == TS_PLACE_SHOW) {
        if (a < origin)
            return a;
        uint32_t last = LastVisible(origin, count, room, extent);
        if (b > last || (b == last && Offset(origin, b + 1, extent) > room))
            return FirstForLast(b, room, extent) > a ? a : FirstForLast(b, room, extent);
    }
    return origin;
}

}  // namespace

int32_t TsViewState::RowExtent(const TsRowRecord* r)
{
    if (!(r->flags & TS_ROW_SHOWN))
        return 0;
    return r->height[0] > r->height[1] ? r->height[0] : r->height[1];
}

int32_t TsViewState::ColExtent(const TsColumnRecord* c)
{
    if (!(c->flags & TS_COL_SHOWN))
        return 0;
    return c->width[0] > c->width[1] ? c->width[0] : c->width[1];
}

bool TsViewState::CellRect(const TsDataMgr& d, uint32_t row, uint32_t col, TsPixels* out) const
{
    if (row >= d.RowCount() || col >= d.ColCount())
        return false;
    auto rowExtent = [&d](uint32_t i) { return RowExtent(d.Row(i)); };
    auto colExtent = [&d](uint32_t i) { return ColExtent(d.Col(i)); };
    out->left = Offset(firstCol_, col, colExtent);
    out->top = Offset(firstRow_, row, rowExtent);
    out->right = out->left + colExtent(col);
    out->bottom = out->top + rowExtent(row);
    return true;
}

bool TsViewState::Visible(const TsDataMgr& d, TsRect* out) const
{
    if (firstRow_ >= d.RowCount() || firstCol_ >= d.ColCount() || width_ <= 0 || height_ <= 0)
        return false;
    auto rowExtent = [&d](uint32_t i) { return RowExtent(d.Row(i)); };
    auto colExtent = [&d](uint32_t i) { return ColExtent(d.Col(i)); };
    out->top = static_cast<int32_t>(firstRow_);
    out->left = static_cast<int32_t>(firstCol_);
    out->bottom = static_cast<int32_t>(LastVisible(firstRow_, d.RowCount(), height_, rowExtent));
    out->right = static_cast<int32_t>(LastVisible(firstCol_, d.ColCount(), width_, colExtent));
    return true;
}

bool TsViewState::ScrollTo(const TsDataMgr& d, const TsRect& cells, uint32_t placement, bool asFarAsPossible)
{
    TsRect c = cells;
    TsRect extent = d.Extent();
    if (c.top < 0)
        c.top = 0;
    if (c.left < 0)
        c.left = 0;
    if (c.bottom > extent.bottom)
        c.bottom = extent.bottom;
    if (c.right > extent.right)
        c.right = extent.right;
    uint32_t oldRow = firstRow_, oldCol = firstCol_;
    auto rowExtent = [&d](uint32_t i) { return RowExtent(d.Row(i)); };
    auto colExtent = [&d](uint32_t i) { return ColExtent(d.Col(i)); };
    if (c.top <= c.bottom)
        firstRow_ = Place(firstRow_, static_cast<uint32_t>(c.top), static_cast<uint32_t>(c.bottom), d.RowCount(),
                          height_, (placement >> 2) & 3, asFarAsPossible, rowExtent);
    if (c.left <= c.right)
        firstCol_ = Place(firstCol_, static_cast<uint32_t>(c.left), static_cast<uint32_t>(c.right), d.ColCount(),
                          width_, placement & 3, asFarAsPossible, colExtent);
    return firstRow_ != oldRow || firstCol_ != oldCol;
}

void TsViewState::Clamp(const TsDataMgr& d)
{
    if (firstRow_ >= d.RowCount())
        firstRow_ = d.RowCount() ? d.RowCount() - 1 : 0;
    if (firstCol_ >= d.ColCount())
        firstCol_ = d.ColCount() ? d.ColCount() - 1 : 0;
}
