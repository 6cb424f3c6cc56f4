// Run by hand under Wine: 8192 playlist-like rows sorted by "+a" on one
// column and by "a,-n,a" on three, in a real grid window by SendMessage
// (TSM_SORTROWS), beside Wine's report-view ListView holding the same texts
// sorted with LVM_SORTITEMSEX (the callback reads the texts back with
// LVM_GETITEMTEXT, as programs do) and with LVM_SORTITEMS (the callback
// compares the program's own copies: the fastest a ListView sort can be).
// Both sides compare with lstrcmpA and the same numeric comparison. Between
// rounds each goes back to its first order, not timed. Prints medians and
// the ratios (goal: the grid faster than the ListView).
#include <windows.h>
#include <commctrl.h>

#include <stdio.h>

#include <algorithm>
#include <vector>

#include "../grid_fill_messages.h"
#include "../sort_texts.h"
#include "report_list.h"
#include "ts_bench_win32.h"
#include "tssort.h"

namespace {

const int kRounds = 7;

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

HWND MakeGrid(HWND parent)
{
    HWND frame = CreateWindowExA(0, "Tessaline", "MaxRows=8192 MaxCols=7", WS_CHILD | WS_VISIBLE, 0, 0, 780, 560,
                                 parent, reinterpret_cast<HMENU>(1), GetModuleHandleA(nullptr), nullptr);
    HWND grid = GetWindow(frame, GW_CHILD);
    FillGridByMessages([grid](uint32_t message, uint32_t d0, uintptr_t d1) { return BenchSend(grid, message, d0, d1); },
                       kSortRows, kSortCols, SortText);
    return grid;
}

void SortGrid(HWND grid, const char* spec, const int* keys, int count)
{
    TsSortRequest request = {spec, {-1, -1, -1, -1, -1, -1, -1, -1}};
    for (int i = 0; i < count; ++i)
        request.keys[i] = keys[i];
    BenchSend(grid, TSM_SORTROWS, 0, reinterpret_cast<uintptr_t>(&request));
}

// The grid's rows by their original index, through the query protocol.
std::vector<int> GridOrder(HWND grid)
{
    std::vector<int> order;
    for (int r = 0; r < kSortRows; ++r) {
        char ask[48], answer[160] = "";
        wsprintfA(ask, "103:0,%d,%d,0,0:", r, kSortIndex);
        SendMessageA(grid, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(ask));
        SendMessageA(grid, WM_GETTEXT, sizeof answer, reinterpret_cast<LPARAM>(answer));
        order.push_back(atoi(strrchr(answer, ':') + 1));
    }
    return order;
}

struct ListSort {
    HWND list;
    const SortCase* c;
};

int CompareTexts(const SortCase& c, const char* const* a, const char* const* b)
{
    int r = lstrcmpA(a[0], b[0]);
    if (r || c.count == 1)
        return r;
    if ((r = TsCompareNumericText(b[1], a[1])))
        return r;
    return lstrcmpA(a[2], b[2]);
}

// LVM_SORTITEMSEX: item indexes; the texts come back by message.
int CALLBACK ByItemText(LPARAM i1, LPARAM i2, LPARAM context)
{
    const ListSort& s = *reinterpret_cast<const ListSort*>(context);
    char a[3][64], b[3][64];
    const char* pa[3] = {a[0], a[1], a[2]};
    const char* pb[3] = {b[0], b[1], b[2]};
    for (int k = 0; k < s.c->count; ++k) {
        LVITEMA item = {};
        item.iSubItem = s.c->keys[k];
        item.cchTextMax = 64;
        item.pszText = a[k];
        SendMessageA(s.list, LVM_GETITEMTEXTA, static_cast<WPARAM>(i1), reinterpret_cast<LPARAM>(&item));
        item.pszText = b[k];
        SendMessageA(s.list, LVM_GETITEMTEXTA, static_cast<WPARAM>(i2), reinterpret_cast<LPARAM>(&item));
    }
    return CompareTexts(*s.c, pa, pb);
}

// LVM_SORTITEMS: the items' lParam (the original index) into our copies.
int CALLBACK ByOwnCopy(LPARAM p1, LPARAM p2, LPARAM context)
{
    const SortCase& c = *reinterpret_cast<const SortCase*>(context);
    const char* a[3] = {SortText(static_cast<int>(p1), c.keys[0]), nullptr, nullptr};
    const char* b[3] = {SortText(static_cast<int>(p2), c.keys[0]), nullptr, nullptr};
    for (int k = 1; k < c.count; ++k) {
        a[k] = SortText(static_cast<int>(p1), c.keys[k]);
        b[k] = SortText(static_cast<int>(p2), c.keys[k]);
    }
    return CompareTexts(c, a, b);
}

int CALLBACK ByIndex(LPARAM p1, LPARAM p2, LPARAM)
{
    return static_cast<int>(p1 - p2);
}

}  // namespace

int main()
{
    if (!BenchStart())
        return 1;
    HWND top = BenchWindow("sort", 800, 600);
    HWND grid = MakeGrid(top);
    HWND list = CreateReportList(top, kSortCols);
    FillReportList(list, kSortRows, kSortCols, SortText);
    const int original[] = {kSortIndex};
    printf("%d rows of %d texts, medians of %d rounds\n", kSortRows, kSortCols, kRounds);
    for (int i = 0; i < kSortCases; ++i) {
        const SortCase& c = SortCases()[i];
        std::vector<double> gridTimes, exTimes, ownTimes;
        for (int round = 0; round < kRounds; ++round) {
            SortGrid(grid, "+n", original, 1);
            double start = BenchNow();
            SortGrid(grid, c.spec, c.keys, c.count);
            gridTimes.push_back(BenchNow() - start);

            ListSort context = {list, &c};
            SendMessageA(list, LVM_SORTITEMS, 0, reinterpret_cast<LPARAM>(ByIndex));
            start = BenchNow();
            SendMessageA(list, LVM_SORTITEMSEX, reinterpret_cast<WPARAM>(&context), reinterpret_cast<LPARAM>(ByItemText));
            exTimes.push_back(BenchNow() - start);

            SendMessageA(list, LVM_SORTITEMS, 0, reinterpret_cast<LPARAM>(ByIndex));
            start = BenchNow();
            SendMessageA(list, LVM_SORTITEMS, reinterpret_cast<WPARAM>(&c), reinterpret_cast<LPARAM>(ByOwnCopy));
            ownTimes.push_back(BenchNow() - start);
        }
        // The grid's order is the stable order of the same comparison.
        std::vector<int> want(kSortRows);
        for (int r = 0; r < kSortRows; ++r)
            want[static_cast<size_t>(r)] = r;
        std::stable_sort(want.begin(), want.end(), [&c](int a, int b) { return ByOwnCopy(a, b, reinterpret_cast<LPARAM>(&c)) < 0; });
        if (GridOrder(grid) != want)
            printf("%s: the grid's order is not the stable order\n", c.label);
        double g = Median(gridTimes), ex = Median(exTimes), own = Median(ownTimes);
        printf("%-34s TSM_SORTROWS %8.2f ms   LVM_SORTITEMSEX %8.2f ms (ratio %.3f)   LVM_SORTITEMS %8.2f ms (ratio %.2f)\n",
               c.label, g, ex, g / ex, own, g / own);
    }
    printf("goal: every ratio grid / ListView below 1\n");
    DestroyWindow(top);
    return 0;
}
