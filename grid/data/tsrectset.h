// A selection's cells: a set of disjoint rectangles of row and column
// positions, and the set arithmetic the selection operations need.
// Rectangles may reach past the grid (the whole grid is 100000 rows by 1000
// columns); walks clip them to the grid's current size.
#ifndef ZUB_GRID_DATA_TSRECTSET_H
#define ZUB_GRID_DATA_TSRECTSET_H

#include <stdint.h>

#include <vector>

// Rows top..bottom and columns left..right, both ends included.
struct TsRect {
    int32_t top;
    int32_t left;
    int32_t bottom;
    int32_t right;
    bool Empty() const { return top > bottom || left > right; }
    bool operator==(const TsRect& o) const
    {
        return top == o.top && left == o.left && bottom == o.bottom && right == o.right;
    }
};

enum : int32_t { TS_ALL_ROWS = 100000, TS_ALL_COLS = 1000 };
inline TsRect TsWholeGrid() { return TsRect{0, 0, TS_ALL_ROWS - 1, TS_ALL_COLS - 1}; }

class TsRectSet {
public:
    bool Empty() const { return rects_.empty(); }
    const std::vector<TsRect>& Rects() const { return rects_; }
    void Clear() { rects_.clear(); }
    void Set(const TsRect& r);
    void Add(const TsRect& r);  // union with one rectangle
    void Union(const TsRectSet& other);
    void Intersect(const TsRectSet& other);
    void Subtract(const TsRectSet& other);
    void Xor(const TsRectSet& other);
    void Clip(const TsRect& r);
    bool Contains(int32_t row, int32_t col) const;
    // The bounding rectangle; false when empty.
    bool Bounds(TsRect* out) const;

    // Lines inserted before position: rectangles below move down, those
    // spanning it grow. Lines removed: rectangles shrink or vanish.
    void InsertRows(int32_t position, int32_t count) { InsertLines(position, count, true); }
    void InsertCols(int32_t position, int32_t count) { InsertLines(position, count, false); }
    void DeleteRows(int32_t position, int32_t count) { DeleteLines(position, count, true); }
    void DeleteCols(int32_t position, int32_t count) { DeleteLines(position, count, false); }

    // Rows below `rows` (or columns below `cols`) where the set covers
    // cells of a rows x cols grid, ascending, each once.
    template <class F>
    void ForEachRow(int32_t rows, int32_t cols, F f) const
    {
        ForEachLine(rows, cols, true, f);
    }
    template <class F>
    void ForEachCol(int32_t cols, int32_t rows, F f) const
    {
        ForEachLine(cols, rows, false, f);
    }
    // Covered cells within rows x cols: rows outer, columns inner, ascending.
    template <class F>
    void ForEachCell(int32_t rows, int32_t cols, F f) const;

private:
    void InsertLines(int32_t position, int32_t count, bool rows);
    void DeleteLines(int32_t position, int32_t count, bool rows);
    void Normalise();
    // Ascending disjoint intervals of the rectangles' rows (or columns),
    // clipped to [0, limit), of the rectangles that reach into [0, other)
    // on the other axis.
    std::vector<std::pair<int32_t, int32_t>> Lines(int32_t limit, int32_t other, bool rows) const;
    template <class F>
    void ForEachLine(int32_t limit, int32_t other, bool rows, F f) const
    {
        if (rects_.size() == 1) {  // the common case, without allocating
            TsRect r = rects_.front();
            int32_t a = rows ? r.top : r.left, b = rows ? r.bottom : r.right;
            int32_t oa = rows ? r.left : r.top, ob = rows ? r.right : r.bottom;
            if (!ReachesInto(oa, ob, other, rows))
                return;
            for (int32_t i = a < 0 ? 0 : a; i <= b && i < limit; ++i)
                f(i);
            return;
        }
        for (const auto& span : Lines(limit, other, rows)) {
            for (int32_t i = span.first; i <= span.second; ++i)
                f(i);
        }
    }
    // Whether a rectangle's span [oa, ob] of the other axis (columns when
    // walking rows) reaches cells of a grid with `other` lines that way; a
    // span over every line there can be, the way whole rows and columns are
    // selected, counts even while the grid has none, so that a client can
    // set up its columns before it has rows.
    static bool ReachesInto(int32_t oa, int32_t ob, int32_t other, bool rows)
    {
        if (oa <= 0 && ob >= (rows ? TS_ALL_COLS : TS_ALL_ROWS) - 1)
            return true;
        return ob >= 0 && oa < other;
    }
    // The column intervals covering one row, ascending and merged.
    std::vector<std::pair<int32_t, int32_t>> ColsOfRow(int32_t row, int32_t cols) const;

    std::vector<TsRect> rects_;
};

template <class F>
void TsRectSet::ForEachCell(int32_t rows, int32_t cols, F f) const
{
    if (rects_.size() == 1) {  // the common case, without allocating
        const TsRect& r = rects_.front();
        for (int32_t row = r.top < 0 ? 0 : r.top; row <= r.bottom && row < rows; ++row) {
            for (int32_t col = r.left < 0 ? 0 : r.left; col <= r.right && col < cols; ++col)
                f(row, col);
        }
        return;
    }
    for (const auto& span : Lines(rows, cols, true)) {
        int32_t row = span.first;
        while (row <= span.second) {
            // Rows up to the next rectangle edge share their columns.
            int32_t until = span.second;
            for (const TsRect& r : rects_) {
                if (r.top > row && r.top - 1 < until)
                    until = r.top - 1;
                if (r.top <= row && r.bottom >= row && r.bottom < until)
                    until = r.bottom;
            }
            auto colSpans = ColsOfRow(row, cols);
            for (; row <= until; ++row) {
                for (const auto& c : colSpans) {
                    for (int32_t col = c.first; col <= c.second; ++col)
                        f(row, col);
                }
            }
        }
    }
}

#endif
