#include "tsrectset.h"

#include <algorithm>

namespace {

TsRect Intersection(const TsRect& a, const TsRect& b)
{
    return TsRect{std::max(a.top, b.top), std::max(a.left, b.left), std::min(a.bottom, b.bottom),
                  std::min(a.right, b.right)};
}

// a minus b as at most four rectangles.
void SubtractOne(const TsRect& a, const TsRect& b, std::vector<TsRect>* out)
{
    TsRect i = Intersection(a, b);
    if (i.Empty()) {
        out->push_back(a);
        return;
    }
    if (a.top < i.top)
        out->push_back(TsRect{a.top, a.left, i.top - 1, a.right});
    if (i.bottom < a.bottom)
        out->push_back(TsRect{i.bottom + 1, a.left, a.bottom, a.right});
    if (a.left < i.left)
        out->push_back(TsRect{i.top, a.left, i.bottom, i.left - 1});
    if (i.right < a.right)
        out->push_back(TsRect{i.top, i.right + 1, i.bottom, a.right});
}

std::vector<TsRect> Minus(const std::vector<TsRect>& a, const std::vector<TsRect>& b)
{
    std::vector<TsRect> rest = a;
    for (const TsRect& cut : b) {
        std::vector<TsRect> next;
        for (const TsRect& r : rest)
            SubtractOne(r, cut, &next);
        rest.swap(next);
    }
    return rest;
}

int32_t Shifted(int32_t v, int32_t by)
{
    int64_t r = static_cast<int64_t>(v) + by;
    return r > 0x3FFFFFFF ? 0x3FFFFFFF : static_cast<int32_t>(r);
}

}  // namespace

void TsRectSet::Set(const TsRect& r)
{
    rects_.clear();
    if (!r.Empty())
        rects_.push_back(r);
}

void TsRectSet::Add(const TsRect& r)
{
    if (r.Empty())
        return;
    TsRectSet one;
    one.rects_.push_back(r);
    Union(one);
}

void TsRectSet::Union(const TsRectSet& other)
{
    std::vector<TsRect> extra = Minus(other.rects_, rects_);
    rects_.insert(rects_.end(), extra.begin(), extra.end());
    Normalise();
}

void TsRectSet::Intersect(const TsRectSet& other)
{
    std::vector<TsRect> out;
    for (const TsRect& a : rects_) {
        for (const TsRect& b : other.rects_) {
            TsRect i = Intersection(a, b);
            if (!i.Empty())
                out.push_back(i);
        }
    }
    rects_.swap(out);
    Normalise();
}

void TsRectSet::Subtract(const TsRectSet& other)
{
    rects_ = Minus(rects_, other.rects_);
    Normalise();
}

void TsRectSet::Xor(const TsRectSet& other)
{
    std::vector<TsRect> mine = Minus(rects_, other.rects_);
    std::vector<TsRect> theirs = Minus(other.rects_, rects_);
    mine.insert(mine.end(), theirs.begin(), theirs.end());
    rects_.swap(mine);
    Normalise();
}

void TsRectSet::Clip(const TsRect& r)
{
    if (rects_.size() == 1) {
        rects_[0] = Intersection(rects_[0], r);
        if (rects_[0].Empty())
            rects_.clear();
        return;
    }
    TsRectSet one;
    one.Set(r);
    Intersect(one);
}

bool TsRectSet::Contains(int32_t row, int32_t col) const
{
    for (const TsRect& r : rects_) {
        if (row >= r.top && row <= r.bottom && col >= r.left && col <= r.right)
            return true;
    }
    return false;
}

bool TsRectSet::Bounds(TsRect* out) const
{
    if (rects_.empty())
        return false;
    TsRect b = rects_.front();
    for (const TsRect& r : rects_)
        b = TsRect{std::min(b.top, r.top), std::min(b.left, r.left), std::max(b.bottom, r.bottom),
                   std::max(b.right, r.right)};
    *out = b;
    return true;
}

namespace {

// A rectangle that spans the whole of an axis (as "all columns" of an
// inserted row block) keeps doing so whatever lines come and go.
bool SpansAxis(const TsRect& r, bool rows)
{
    return rows ? r.top == 0 && r.bottom >= TS_ALL_ROWS - 1 : r.left == 0 && r.right >= TS_ALL_COLS - 1;
}

}  // namespace

void TsRectSet::InsertLines(int32_t position, int32_t count, bool rows)
{
    for (TsRect& r : rects_) {
        int32_t& first = rows ? r.top : r.left;
        int32_t& last = rows ? r.bottom : r.right;
        if (SpansAxis(r, rows))
            continue;
        if (first >= position)
            first = Shifted(first, count);
        if (last >= position)
            last = Shifted(last, count);
    }
    // Shifting keeps rectangles disjoint and makes none newly adjacent.
}

void TsRectSet::DeleteLines(int32_t position, int32_t count, bool rows)
{
    int32_t end = position + count;  // first line after the removed ones
    std::vector<TsRect> kept;
    for (TsRect r : rects_) {
        int32_t& first = rows ? r.top : r.left;
        int32_t& last = rows ? r.bottom : r.right;
        if (SpansAxis(r, rows)) {
            kept.push_back(r);
            continue;
        }
        first = first < position ? first : (first >= end ? first - count : position);
        last = last < position ? last : (last >= end ? last - count : position - 1);
        if (!r.Empty())
            kept.push_back(r);
    }
    rects_.swap(kept);
    Normalise();
}

// Merges rectangles that continue one another, so that repeated operations
// (a filter over thousands of rows, say) keep the set small.
void TsRectSet::Normalise()
{
    auto mergeVertical = [this] {
        std::sort(rects_.begin(), rects_.end(), [](const TsRect& a, const TsRect& b) {
            return a.left != b.left ? a.left < b.left : a.right != b.right ? a.right < b.right : a.top < b.top;
        });
        std::vector<TsRect> out;
        for (const TsRect& r : rects_) {
            if (!out.empty() && out.back().left == r.left && out.back().right == r.right &&
                out.back().bottom + 1 == r.top)
                out.back().bottom = r.bottom;
            else
                out.push_back(r);
        }
        rects_.swap(out);
    };
    auto mergeHorizontal = [this] {
        std::sort(rects_.begin(), rects_.end(), [](const TsRect& a, const TsRect& b) {
            return a.top != b.top ? a.top < b.top : a.bottom != b.bottom ? a.bottom < b.bottom : a.left < b.left;
        });
        std::vector<TsRect> out;
        for (const TsRect& r : rects_) {
            if (!out.empty() && out.back().top == r.top && out.back().bottom == r.bottom &&
                out.back().right + 1 == r.left)
                out.back().right = r.right;
            else
                out.push_back(r);
        }
        rects_.swap(out);
    };
    if (rects_.size() < 2)
        return;
    mergeHorizontal();
    mergeVertical();
}

std::vector<std::pair<int32_t, int32_t>> TsRectSet::Lines(int32_t limit, int32_t other, bool rows) const
{
    std::vector<std::pair<int32_t, int32_t>> spans;
    for (const TsRect& r : rects_) {
        if (!ReachesInto(rows ? r.left : r.top, rows ? r.right : r.bottom, other, rows))
            continue;
        int32_t a = std::max(rows ? r.top : r.left, 0);
        int32_t b = std::min(rows ? r.bottom : r.right, limit - 1);
        if (a <= b)
            spans.emplace_back(a, b);
    }
    std::sort(spans.begin(), spans.end());
    std::vector<std::pair<int32_t, int32_t>> merged;
    for (const auto& s : spans) {
        if (!merged.empty() && s.first <= merged.back().second + 1)
            merged.back().second = std::max(merged.back().second, s.second);
        else
            merged.push_back(s);
    }
    return merged;
}

std::vector<std::pair<int32_t, int32_t>> TsRectSet::ColsOfRow(int32_t row, int32_t cols) const
{
    TsRectSet band;
    for (const TsRect& r : rects_) {
        if (r.top <= row && r.bottom >= row)
            band.rects_.push_back(TsRect{0, r.left, 0, r.right});
    }
    return band.Lines(cols, 1, false);
}
