#include "tssort.h"

#include <string.h>

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace {

// Up to this many lines to place, each is placed by binary insertion; more
// are sorted among themselves and merged, which gives the same order.
const size_t kInsertionMax = 8;

int CompareKey(uint8_t flags, TsTextCompare compareText, const char* x, const char* y)
{
    if (x == y)
        return 0;  // one shared value
    if (!x)
        x = "";
    if (!y)
        y = "";
    int r;
    switch (flags & 0x0F) {
    case TS_SORT_ASCENDING | TS_SORT_ALPHA: r = compareText(x, y); break;
    case TS_SORT_DESCENDING | TS_SORT_ALPHA: r = compareText(y, x); break;
    case TS_SORT_ASCENDING | TS_SORT_NUMERIC: return TsCompareNumericText(x, y);
    case TS_SORT_DESCENDING | TS_SORT_NUMERIC: return TsCompareNumericText(y, x);
    default: return 0;
    }
    return (r > 0) - (r < 0);
}

// The data key counts at its place among the others.
int CompareFetched(const TsSortKeys& keys, TsTextCompare compareText, const char* const* a, uint32_t dataA,
                   const char* const* b, uint32_t dataB)
{
    const int dataAt = keys.dataKey & 0x7F;
    for (int k = 0; k <= keys.count; ++k) {
        if (dataAt == k + 1 && dataA != dataB) {
            const int r = dataA < dataB ? -1 : 1;
            return (keys.dataKey & TS_SORT_DATA_DESCENDING) ? -r : r;
        }
        if (k == keys.count)
            break;
        const int r = CompareKey(keys.flags[k], compareText, a[k], b[k]);
        if (r)
            return r;
    }
    return 0;
}

// Full sorts first turn each key's texts into ranks: the distinct texts are
// put in order once by the key's comparison, texts that compare equal share
// a rank, and the sort compares numbers. The order is the same; the
// comparisons are far fewer (a playlist's folder key has a few dozen
// distinct texts), which matters most where the system comparison is slow.
void RankKey(uint8_t flags, TsTextCompare compareText, const char* const* texts, size_t stride, size_t count,
             uint32_t* ranks)
{
    int (*compare)(const char*, const char*) = nullptr;
    switch (flags & 0x0F) {
    case TS_SORT_ASCENDING | TS_SORT_ALPHA:
    case TS_SORT_DESCENDING | TS_SORT_ALPHA:
        compare = compareText;
        break;
    case TS_SORT_ASCENDING | TS_SORT_NUMERIC:
    case TS_SORT_DESCENDING | TS_SORT_NUMERIC:
        compare = TsCompareNumericText;
        break;
    default:
        break;  // any other combination compares equal: one rank for all
    }
    std::unordered_map<std::string_view, uint32_t> ids;
    std::vector<const char*> distinct;
    std::vector<uint32_t> idOf(count);
    for (size_t i = 0; i < count; ++i) {
        const char* t = texts[i * stride] ? texts[i * stride] : "";
        auto found = ids.emplace(std::string_view(compare ? t : ""), static_cast<uint32_t>(distinct.size()));
        if (found.second)
            distinct.push_back(t);
        idOf[i] = found.first->second;
    }
    std::vector<uint32_t> order(distinct.size());
    for (uint32_t j = 0; j < order.size(); ++j)
        order[j] = j;
    if (compare)
        std::sort(order.begin(), order.end(),
                  [&](uint32_t x, uint32_t y) { return compare(distinct[x], distinct[y]) < 0; });
    std::vector<uint32_t> rankOf(distinct.size());
    uint32_t rank = 0;
    for (size_t j = 0; j < order.size(); ++j) {
        if (j > 0 && compare(distinct[order[j - 1]], distinct[order[j]]) != 0)
            ++rank;
        rankOf[order[j]] = rank;
    }
    for (size_t i = 0; i < count; ++i)
        ranks[i * stride] = rankOf[idOf[i]];
}

// As CompareFetched, on ranks, from key `from` on.
int CompareRanked(const TsSortKeys& keys, const uint32_t* a, uint32_t dataA, const uint32_t* b, uint32_t dataB,
                  int from)
{
    const int dataAt = keys.dataKey & 0x7F;
    for (int k = from; k <= keys.count; ++k) {
        if (dataAt == k + 1 && dataA != dataB) {
            const int r = dataA < dataB ? -1 : 1;
            return (keys.dataKey & TS_SORT_DATA_DESCENDING) ? -r : r;
        }
        if (k == keys.count)
            break;
        if (a[k] != b[k]) {
            const int r = a[k] < b[k] ? -1 : 1;
            return (keys.flags[k] & TS_SORT_DESCENDING) ? -r : r;
        }
    }
    return 0;
}

// A line in a full sort: its first key's rank, turned so that ascending
// order is its order, and its place in the rank table.
struct Item {
    uint32_t first;
    uint32_t index;
};

TsTextCompare TextCompareOf(const TsSortContext& context)
{
    return context.compareText ? context.compareText : TsCompareTextOrdinal;
}

void Fetch(const TsSortContext& context, uint32_t line, const char** texts, uint32_t* data)
{
    const TsSortKeys& keys = *context.keys;
    for (int k = 0; k < keys.count; ++k)
        texts[k] = context.source->KeyText(line, keys.lines[k]);
    *data = keys.dataKey ? context.source->LineData(line) : 0;
}

// Skips the characters before a digit run; false at the end of the text.
bool SkipToDigits(const char*& p)
{
    while (*p && (*p < '0' || *p > '9'))
        ++p;
    return *p != '\0';
}

// Compares the digit runs at a and b by value, whatever their length, and
// moves both past their runs. An empty run reads as 0.
int CompareDigitRuns(const char*& a, const char*& b)
{
    while (*a == '0')
        ++a;
    while (*b == '0')
        ++b;
    const char* startA = a;
    const char* startB = b;
    while (*a >= '0' && *a <= '9')
        ++a;
    while (*b >= '0' && *b <= '9')
        ++b;
    const size_t lengthA = static_cast<size_t>(a - startA);
    const size_t lengthB = static_cast<size_t>(b - startB);
    if (lengthA != lengthB)
        return lengthA < lengthB ? -1 : 1;
    const int r = memcmp(startA, startB, lengthA);
    return (r > 0) - (r < 0);
}

bool ReadSign(const char*& p)
{
    bool negative = false;
    for (;; ++p) {
        if (*p == '-')
            negative = !negative;
        else if (*p != ' ' && *p != '\t' && *p != '+')
            return negative;
    }
}

}  // namespace

int TsCompareTextOrdinal(const char* a, const char* b)
{
    const int r = strcmp(a ? a : "", b ? b : "");
    return (r > 0) - (r < 0);
}

int TsCompareNumericText(const char* a, const char* b)
{
    if (!a)
        a = "";
    if (!b)
        b = "";
    const bool negativeA = ReadSign(a);
    const bool negativeB = ReadSign(b);
    if (negativeA != negativeB)
        return negativeA ? -1 : 1;
    const int sign = negativeA ? -1 : 1;
    for (;;) {
        const int r = CompareDigitRuns(a, b);
        if (r)
            return sign * r;
        // The text that runs out of numbers first is the smaller: read as
        // sequences of numbers the texts keep a consistent order.
        const bool moreA = SkipToDigits(a);
        const bool moreB = SkipToDigits(b);
        if (moreA != moreB)
            return sign * (moreA ? 1 : -1);
        if (!moreA)
            return 0;
    }
}

int TsCompareLines(const TsSortContext& context, uint32_t a, uint32_t b)
{
    const char* textsA[TS_SORT_KEYS_MAX];
    const char* textsB[TS_SORT_KEYS_MAX];
    uint32_t dataA, dataB;
    Fetch(context, a, textsA, &dataA);
    Fetch(context, b, textsB, &dataB);
    return CompareFetched(*context.keys, TextCompareOf(context), textsA, dataA, textsB, dataB);
}

size_t TsSortedPosition(const TsSortContext& context, const uint32_t* lines, size_t count, uint32_t line)
{
    const TsSortKeys& keys = *context.keys;
    const TsTextCompare compareText = TextCompareOf(context);
    const char* texts[TS_SORT_KEYS_MAX];
    uint32_t data;
    Fetch(context, line, texts, &data);
    size_t low = 0, high = count;
    while (low < high) {
        const size_t middle = low + (high - low) / 2;
        const char* probe[TS_SORT_KEYS_MAX];
        uint32_t probeData;
        Fetch(context, lines[middle], probe, &probeData);
        if (CompareFetched(keys, compareText, texts, data, probe, probeData) < 0)
            high = middle;
        else
            low = middle + 1;
    }
    return low;
}

size_t TsInsertSorted(const TsSortContext& context, uint32_t* lines, size_t count, uint32_t line)
{
    const size_t position = TsSortedPosition(context, lines, count, line);
    memmove(lines + position + 1, lines + position, (count - position) * sizeof *lines);
    lines[position] = line;
    return position;
}

void TsResortLines(const TsSortContext& context, uint32_t* lines, size_t count, size_t sortedPrefix)
{
    if (!context.keys->Active() || count < 2)
        return;
    std::vector<uint32_t> settled, pending;
    settled.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        if (i < sortedPrefix && !context.source->IsPending(lines[i]))
            settled.push_back(lines[i]);
        else
            pending.push_back(lines[i]);
    }
    if (pending.empty())
        return;
    if (pending.size() <= kInsertionMax) {
        for (uint32_t line : pending) {
            const size_t position = TsSortedPosition(context, settled.data(), settled.size(), line);
            settled.insert(settled.begin() + static_cast<std::ptrdiff_t>(position), line);
        }
        std::copy(settled.begin(), settled.end(), lines);
        return;
    }
    // Fetch every key once and rank it, then order items: the settled lines
    // first, then the pending ones sorted and merged after their equals.
    const TsSortKeys& keys = *context.keys;
    const TsTextCompare compareText = TextCompareOf(context);
    const size_t stride = static_cast<size_t>(keys.count > 0 ? keys.count : 1);
    std::vector<uint32_t> all(settled);
    all.insert(all.end(), pending.begin(), pending.end());
    std::vector<const char*> texts(count * stride);
    std::vector<uint32_t> data(count);
    for (size_t i = 0; i < count; ++i)
        Fetch(context, all[i], &texts[i * stride], &data[i]);
    std::vector<uint32_t> ranks(count * stride);
    for (int k = 0; k < keys.count; ++k)
        RankKey(keys.flags[k], compareText, &texts[static_cast<size_t>(k)], stride, count, &ranks[static_cast<size_t>(k)]);
    // The first key goes into the items unless the data key comes before it.
    const bool firstOnItems = keys.count > 0 && (keys.dataKey & 0x7F) != 1;
    const bool descending = firstOnItems && (keys.flags[0] & TS_SORT_DESCENDING);
    std::vector<Item> items(count);
    for (size_t i = 0; i < count; ++i) {
        uint32_t rank = firstOnItems ? ranks[i * stride] : 0;
        items[i] = Item{descending ? ~rank : rank, static_cast<uint32_t>(i)};
    }
    const int from = firstOnItems ? 1 : 0;
    auto less = [&](const Item& x, const Item& y) {
        if (x.first != y.first)
            return x.first < y.first;
        return CompareRanked(keys, &ranks[x.index * stride], data[x.index], &ranks[y.index * stride], data[y.index],
                             from) < 0;
    };
    const auto middle = items.begin() + static_cast<std::ptrdiff_t>(settled.size());
    std::stable_sort(middle, items.end(), less);
    if (!settled.empty()) {
        std::vector<Item> merged(count);
        std::merge(items.begin(), middle, middle, items.end(), merged.begin(), less);
        items.swap(merged);
    }
    for (size_t i = 0; i < count; ++i)
        lines[i] = all[items[i].index];
}
