// Sorting 8192 playlist-like rows through the grid's message handlers
// (TSM_SORTROWS with a sort specification, on a grid filled by messages)
// beside std::stable_sort of the same key texts with the same comparisons,
// in the same run. Between rounds the grid goes back to its first order
// (a sort by the index column, not timed). Prints medians and the ratio
// grid / baseline, and of the best rounds (goal: at most 2).
//   grid_sort_bench [ROUNDS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "grid_fill_messages.h"
#include "sort_texts.h"
#include "ts.h"
#include "tsgrid.h"
#include "tshost.h"
#include "tssort.h"

namespace {

intptr_t Send(TsGrid& grid, uint32_t message, uint32_t d0, uintptr_t d1)
{
    ParamBlock b{d0, d1};
    return grid.ClientMessage(message, &b);
}

void Fill(TsGrid& grid)
{
    FillGridByMessages([&grid](uint32_t message, uint32_t d0, uintptr_t d1) { return Send(grid, message, d0, d1); },
                       kSortRows, kSortCols, SortText);
}

void Sort(TsGrid& grid, const char* spec, const int* keys, int count)
{
    TsSortRequest request = {spec, {-1, -1, -1, -1, -1, -1, -1, -1}};
    for (int i = 0; i < count; ++i)
        request.keys[i] = keys[i];
    Send(grid, TSM_SORTROWS, 0, reinterpret_cast<uintptr_t>(&request));
}

// The rows' original indexes in the grid's order.
std::vector<int> Order(TsGrid& grid)
{
    std::vector<int> out;
    for (uint32_t r = 0; r < grid.Data().RowCount(); ++r)
        out.push_back(std::atoi(TsValueText(grid.Data().Cell(r, kSortIndex)->value)));
    return out;
}

double Millis(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void Run(const SortCase& c, TsGrid& grid, int rounds)
{
    std::vector<double> gridTimes, baseTimes;
    std::vector<int> gridOrder, baseOrder;
    const int original[] = {kSortIndex};
    for (int round = 0; round < rounds; ++round) {
        Sort(grid, "+n", original, 1);  // back to the first order, not timed
        auto start = std::chrono::steady_clock::now();
        Sort(grid, c.spec, c.keys, c.count);
        gridTimes.push_back(Millis(start));
        gridOrder = Order(grid);

        // The baseline: the same key texts in an array, sorted directly.
        struct Keyed {
            const char* key[3];
            int index;
        };
        std::vector<Keyed> plain(kSortRows);
        for (int i = 0; i < kSortRows; ++i)
            plain[static_cast<size_t>(i)] = {{SortText(i, kSortFolder), SortText(i, kSortLength), SortText(i, kSortTitle)}, i};
        const bool three = c.count == 3;
        start = std::chrono::steady_clock::now();
        std::stable_sort(plain.begin(), plain.end(), [three](const Keyed& a, const Keyed& b) {
            int r = TsCompareTextOrdinal(a.key[0], b.key[0]);
            if (r || !three)
                return r < 0;
            if ((r = TsCompareNumericText(b.key[1], a.key[1])))
                return r < 0;
            return TsCompareTextOrdinal(a.key[2], b.key[2]) < 0;
        });
        baseTimes.push_back(Millis(start));
        baseOrder.clear();
        for (const Keyed& k : plain)
            baseOrder.push_back(k.index);
    }
    if (gridOrder != baseOrder) {
        std::fprintf(stderr, "%s: the two orders differ\n", c.label);
        std::exit(1);
    }
    const double g = Median(gridTimes), b = Median(baseTimes);
    const double gBest = *std::min_element(gridTimes.begin(), gridTimes.end());
    const double bBest = *std::min_element(baseTimes.begin(), baseTimes.end());
    std::printf("%-34s TSM_SORTROWS %7.3f ms   std::stable_sort %7.3f ms   ratio %.2f, of the best %.2f (goal: at most 2)\n",
                c.label, g, b, g / b, gBest / bBest);
}

}  // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 31;
    TsSetHost(TsNativeHost());
    TsGrid grid(kSortRows, kSortCols, nullptr);
    Fill(grid);
    std::printf("%d rows, %d columns, through the message handlers; medians of %d rounds\n", kSortRows, kSortCols,
                rounds);
    for (int i = 0; i < kSortCases; ++i)
        Run(SortCases()[i], grid, rounds);
    return 0;
}
