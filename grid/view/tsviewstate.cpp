#include "tsviewstate.h"

#include <algorithm>

uint32_t TsScrollStep(uint32_t index)
{
    static const uint8_t kSteps[21] = {0, 1, 1, 2, 2, 3, 4, 5, 6, 8, 10, 12, 15, 20, 25, 30, 40, 50, 65, 80, 100};
    return index < 21 ? kSteps[index] : 0;
}

void TsViewState::SetClientSize(int32_t width, int32_t height)
{
    width_ = width < 0 ? 0 : width;
    height_ = height < 0 ? 0 : height;
}

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

// ---------------------------------------------------------------------------
// One axis

int32_t TsViewState::Axis::LineAt(int32_t at) const
{
    if (at < 0 || at >= Total())
        return -1;
    // The last line starting at or before `at`: hidden lines share the
    // start of the line after them, so the shown one is found.
    auto it = std::upper_bound(start.begin(), start.end() - 1, at);
    return static_cast<int32_t>(it - start.begin()) - 1;
}

uint32_t TsViewState::Axis::FirstForLast(uint32_t last, int32_t room) const
{
    // The first line f with start[last + 1] - start[f] <= room; at least `last`.
    const int32_t end = start[last + 1];
    auto it = std::lower_bound(start.begin(), start.begin() + last + 1, end - room);
    uint32_t first = static_cast<uint32_t>(it - start.begin());
    return first > last ? last : first;
}

uint32_t TsViewState::Axis::FitFrom(uint32_t first, int32_t room) const
{
    if (first >= Count())
        return 0;
    // Lines first..k-1 fit when start[k] - start[first] <= room.
    auto it = std::upper_bound(start.begin() + first, start.end(), start[first] + room);
    uint32_t end = static_cast<uint32_t>(it - start.begin()) - 1;  // lines first..end-1 fit
    return shownBefore[end] - shownBefore[first];
}

uint32_t TsViewState::Axis::LastFirst(int32_t room) const
{
    uint32_t n = Count();
    if (n == 0)
        return 0;
    uint32_t first = FirstForLast(n - 1, room);
    // Start on a shown line: hidden lines before it add nothing.
    while (first > 0 && Extent(first - 1) == 0)
        --first;
    return first;
}

uint32_t TsViewState::Axis::AtOrdinal(uint32_t ordinal) const
{
    uint32_t n = Count();
    if (n == 0)
        return 0;
    if (ordinal >= Shown())
        return n - 1;
    // The line with `ordinal` shown lines before it that is itself shown.
    auto it = std::upper_bound(shownBefore.begin(), shownBefore.end(), ordinal);
    return static_cast<uint32_t>(it - shownBefore.begin()) - 1;
}

uint32_t TsViewState::Axis::After(uint32_t line, int32_t count) const
{
    uint32_t n = Count();
    if (n == 0 || Shown() == 0)
        return line;
    if (line >= n)
        line = n - 1;
    int64_t ordinal = static_cast<int64_t>(shownBefore[line]) + count;
    // A hidden start counts as lying just before the next shown line.
    if (Extent(line) == 0 && count < 0)
        ++ordinal;
    if (ordinal < 0)
        ordinal = 0;
    return AtOrdinal(static_cast<uint32_t>(ordinal));
}

uint32_t TsViewState::Axis::Place(uint32_t origin, uint32_t a, uint32_t b, int32_t room, uint32_t how,
                                  bool far) const
{
    if (how == TS_PLACE_NONE)
        return origin;
    if (how == TS_PLACE_FIRST || far)
        return a;
    if (how == TS_PLACE_LAST)
        return FirstForLast(b, room);
    // Into view with the least movement; a target larger than the view
    // shows its start.
    if (a < origin)
        return a;
    if (start[b + 1] - start[origin] > room) {
        uint32_t first = FirstForLast(b, room);
        return first > a ? a : first;
    }
    return origin;
}

void TsViewState::Refresh(const TsDataMgr& d)
{
    if (!stale_ && rows_.Count() == d.RowCount() && cols_.Count() == d.ColCount())
        return;
    auto build = [](Axis& axis, uint32_t n, auto extent) {
        axis.start.resize(n + 1);
        axis.shownBefore.resize(n + 1);
        int64_t sum = 0;
        uint32_t shown = 0;
        for (uint32_t i = 0; i < n; ++i) {
            axis.start[i] = static_cast<int32_t>(sum > INT32_MAX ? INT32_MAX : sum);
            axis.shownBefore[i] = shown;
            int32_t e = extent(i);
            sum += e;
            if (e > 0)
                ++shown;
        }
        axis.start[n] = static_cast<int32_t>(sum > INT32_MAX ? INT32_MAX : sum);
        axis.shownBefore[n] = shown;
    };
    build(rows_, d.RowCount(), [&d](uint32_t i) { return RowExtent(d.Row(i)); });
    build(cols_, d.ColCount(), [&d](uint32_t i) { return ColExtent(d.Col(i)); });
    stale_ = false;
}

// ---------------------------------------------------------------------------
// Geometry

bool TsViewState::RowSpan(const TsDataMgr& d, uint32_t row, int32_t* top, int32_t* bottom)
{
    const Axis& a = Rows(d);
    if (row >= a.Count())
        return false;
    int32_t origin = firstRow_ < a.Count() ? a.start[firstRow_] : 0;
    *top = a.start[row] - origin;
    *bottom = a.start[row + 1] - origin;
    return true;
}

bool TsViewState::ColSpan(const TsDataMgr& d, uint32_t col, int32_t* left, int32_t* right)
{
    const Axis& a = Cols(d);
    if (col >= a.Count())
        return false;
    int32_t origin = firstCol_ < a.Count() ? a.start[firstCol_] : 0;
    *left = a.start[col] - origin;
    *right = a.start[col + 1] - origin;
    return true;
}

bool TsViewState::CellRect(const TsDataMgr& d, uint32_t row, uint32_t col, TsPixels* out)
{
    TsPixels px;
    if (!RowSpan(d, row, &px.top, &px.bottom) || !ColSpan(d, col, &px.left, &px.right))
        return false;
    *out = px;
    return true;
}

TsHit TsViewState::HitTest(const TsDataMgr& d, int32_t x, int32_t y)
{
    TsHit hit{-1, -1};
    const Axis& r = Rows(d);
    const Axis& c = Cols(d);
    if (x >= 0 && x < width_ && firstCol_ < c.Count())
        hit.col = c.LineAt(x + c.start[firstCol_]);
    if (y >= 0 && y < height_ && firstRow_ < r.Count())
        hit.row = r.LineAt(y + r.start[firstRow_]);
    return hit;
}

bool TsViewState::Visible(const TsDataMgr& d, TsRect* out)
{
    const Axis& r = Rows(d);
    const Axis& c = Cols(d);
    if (firstRow_ >= r.Count() || firstCol_ >= c.Count() || width_ <= 0 || height_ <= 0)
        return false;
    if (r.Total() == r.start[firstRow_] || c.Total() == c.start[firstCol_])
        return false;  // nothing shown from the origin on
    int32_t bottom = r.LineAt(std::min(r.start[firstRow_] + height_, r.Total()) - 1);
    int32_t right = c.LineAt(std::min(c.start[firstCol_] + width_, c.Total()) - 1);
    *out = TsRect{static_cast<int32_t>(firstRow_), static_cast<int32_t>(firstCol_), bottom, right};
    return true;
}

bool TsViewState::FullyVisible(const TsDataMgr& d, TsRect* out)
{
    TsRect seen;
    if (!Visible(d, &seen))
        return false;
    const Axis& r = Rows(d);
    const Axis& c = Cols(d);
    if (r.start[seen.bottom + 1] - r.start[firstRow_] > height_)
        --seen.bottom;
    if (c.start[seen.right + 1] - c.start[firstCol_] > width_)
        --seen.right;
    if (seen.Empty())
        return false;
    *out = seen;
    return true;
}

uint32_t TsViewState::Axis::InPage(uint32_t line, bool forward, int32_t room) const
{
    if (line >= Count() || Shown() == 0)
        return 0;
    uint32_t n = forward ? FitFrom(line, room) : shownBefore[line + 1] - shownBefore[FirstForLast(line, room)];
    return n ? n : 1;
}

uint32_t TsViewState::RowsInPage(const TsDataMgr& d, uint32_t row, bool down)
{
    return Rows(d).InPage(row, down, height_);
}

uint32_t TsViewState::ColsInPage(const TsDataMgr& d, uint32_t col, bool right)
{
    return Cols(d).InPage(col, right, width_);
}

uint32_t TsViewState::RowAfter(const TsDataMgr& d, uint32_t row, int32_t count)
{
    return Rows(d).After(row, count);
}

uint32_t TsViewState::ColAfter(const TsDataMgr& d, uint32_t col, int32_t count)
{
    return Cols(d).After(col, count);
}

// ---------------------------------------------------------------------------
// Scrolling

bool TsViewState::SetOrigin(const TsDataMgr& d, uint32_t row, uint32_t col)
{
    uint32_t lastRow = LastFirstRow(d), lastCol = LastFirstCol(d);
    uint32_t oldRow = firstRow_, oldCol = firstCol_;
    firstRow_ = row > lastRow ? lastRow : row;
    firstCol_ = col > lastCol ? lastCol : col;
    return firstRow_ != oldRow || firstCol_ != oldCol;
}

bool TsViewState::ScrollLines(const TsDataMgr& d, int32_t rows, int32_t cols)
{
    uint32_t row = rows ? Rows(d).After(firstRow_, rows) : firstRow_;
    uint32_t col = cols ? Cols(d).After(firstCol_, cols) : firstCol_;
    return SetOrigin(d, row, col);
}

bool TsViewState::ScrollTo(const TsDataMgr& d, const TsRect& cells, uint32_t placement, bool asFarAsPossible,
                           uint32_t step)
{
    TsRect c = cells;
    TsRect extent = d.Extent();
    c.top = std::max(c.top, 0);
    c.left = std::max(c.left, 0);
    c.bottom = std::min(c.bottom, extent.bottom);
    c.right = std::min(c.right, extent.right);
    const Axis& r = Rows(d);
    const Axis& k = Cols(d);
    uint32_t row = firstRow_, col = firstCol_;
    if (c.top <= c.bottom)
        row = r.Place(firstRow_, static_cast<uint32_t>(c.top), static_cast<uint32_t>(c.bottom), height_,
                      (placement >> 2) & 3, asFarAsPossible && ((placement >> 2) & 3));
    if (c.left <= c.right)
        col = k.Place(firstCol_, static_cast<uint32_t>(c.left), static_cast<uint32_t>(c.right), width_,
                      placement & 3, asFarAsPossible && (placement & 3));
    if (placement & TS_PLACE_STEP) {
        // At most `step` shown lines toward the place.
        auto toward = [step](const Axis& a, uint32_t from, uint32_t to) {
            int64_t moved = static_cast<int64_t>(a.shownBefore[to]) - a.shownBefore[from];
            if (moved > step)
                return a.After(from, static_cast<int32_t>(step));
            if (moved < -static_cast<int64_t>(step))
                return a.After(from, -static_cast<int32_t>(step));
            return to;
        };
        if (row < r.Count() && firstRow_ < r.Count())
            row = toward(r, firstRow_, row);
        if (col < k.Count() && firstCol_ < k.Count())
            col = toward(k, firstCol_, col);
    }
    return SetOrigin(d, row, col);
}

void TsViewState::Clamp(const TsDataMgr& d)
{
    SetOrigin(d, firstRow_, firstCol_);
}

uint32_t TsViewState::ShownRows(const TsDataMgr& d)
{
    return Rows(d).Shown();
}

uint32_t TsViewState::ShownCols(const TsDataMgr& d)
{
    return Cols(d).Shown();
}

uint32_t TsViewState::RowOrdinal(const TsDataMgr& d, uint32_t row)
{
    const Axis& a = Rows(d);
    return row < a.Count() ? a.shownBefore[row] : a.Shown();
}

uint32_t TsViewState::ColOrdinal(const TsDataMgr& d, uint32_t col)
{
    const Axis& a = Cols(d);
    return col < a.Count() ? a.shownBefore[col] : a.Shown();
}

uint32_t TsViewState::RowAtOrdinal(const TsDataMgr& d, uint32_t ordinal)
{
    return Rows(d).AtOrdinal(ordinal);
}

uint32_t TsViewState::ColAtOrdinal(const TsDataMgr& d, uint32_t ordinal)
{
    return Cols(d).AtOrdinal(ordinal);
}

uint32_t TsViewState::LastFirstRow(const TsDataMgr& d)
{
    return Rows(d).LastFirst(height_);
}

uint32_t TsViewState::LastFirstCol(const TsDataMgr& d)
{
    return Cols(d).LastFirst(width_);
}

int32_t TsViewState::RowOffset(const TsDataMgr& d, uint32_t row)
{
    const Axis& a = Rows(d);
    return row < a.Count() ? a.start[row] : a.Total();
}

int32_t TsViewState::ColOffset(const TsDataMgr& d, uint32_t col)
{
    const Axis& a = Cols(d);
    return col < a.Count() ? a.start[col] : a.Total();
}
