// Run by hand under Wine: a 7-column grid filled with 8192 rows the way the
// playlist fills it, all through SendMessage (per row one insertion, then
// per cell a one-cell selection, the text and a release, then the row's
// release), beside Wine's report-view ListView filled with the same texts
// the usual bulk way (redraw off, item count set, one insertion and six
// texts per row). Prints both times and their ratio.
#include <windows.h>
#include <commctrl.h>

#include <stdio.h>


#include "../fill_texts.h"
#include "../grid_fill_messages.h"
#include "report_list.h"
#include "ts_bench_win32.h"

namespace {

const int kRows = kFillRows;
const int kCols = kFillCols;
const int kRounds = 3;

const char* Text(int r, int c)
{
    return FillText(r, c);
}

double Now()
{
    return BenchNow();
}

LRESULT Send(HWND w, UINT message, uint32_t d0, uintptr_t d1)
{
    return BenchSend(w, message, d0, d1);
}

double FillGrid(HWND parent)
{
    HWND frame = CreateWindowExA(0, "Tessaline", "MaxRows=8192 MaxCols=7", WS_CHILD | WS_VISIBLE, 0, 0, 780, 560,
                                 parent, reinterpret_cast<HMENU>(1), GetModuleHandleA(nullptr), nullptr);
    HWND grid = GetWindow(frame, GW_CHILD);
    double start = Now();
    FillGridByMessages([grid](uint32_t message, uint32_t d0, uintptr_t d1) { return Send(grid, message, d0, d1); },
                       kRows, kCols, Text);
    double elapsed = Now() - start;
    // Read one cell back so the fill is known to have happened.
    char answer[128] = "";
    SendMessageA(grid, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("103:0,8191,4,0,0:"));
    SendMessageA(grid, WM_GETTEXT, sizeof answer, reinterpret_cast<LPARAM>(answer));
    if (strcmp(answer, "1:0,8191,4,0,0:Title of song number 8191") != 0)
        printf("grid read back \"%s\"\n", answer);
    DestroyWindow(frame);
    return elapsed;
}

double FillListView(HWND parent)
{
    HWND list = CreateReportList(parent, kCols);
    double start = Now();
    FillReportList(list, kRows, kCols, Text);
    double elapsed = Now() - start;
    if (SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) != kRows)
        printf("ListView holds %d rows\n", static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)));
    DestroyWindow(list);
    return elapsed;
}

}  // namespace

int main()
{
    if (!BenchStart())
        return 1;
    HWND top = BenchWindow("fill", 800, 600);
    double bestGrid = 1e30, bestList = 1e30;
    for (int round = 0; round < kRounds; ++round) {
        double g = FillGrid(top), l = FillListView(top);
        printf("round %d: grid %.1f ms, ListView %.1f ms\n", round + 1, g, l);
        bestGrid = g < bestGrid ? g : bestGrid;
        bestList = l < bestList ? l : bestList;
    }
    printf("best of %d: grid fill %.1f ms (%.2f us/row, %d messages/row), ListView bulk fill %.1f ms\n", kRounds,
           bestGrid, bestGrid * 1000.0 / kRows, 2 + 3 * kCols, bestList);
    printf("ratio grid / ListView: %.2f\n", bestGrid / bestList);
    DestroyWindow(top);
    return 0;
}
