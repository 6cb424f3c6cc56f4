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
    const uint32_t setText = static_cast<uint32_t>(TS_PROP(TS_GROUP_CELLS, TS_PART_STRING, TS_ITEM_VALUE)) << 16;
    double start = Now();
    Send(grid, TSM_SELECTIONOP, static_cast<uint32_t>(Send(grid, TSM_INSERTCOLS, kCols, TS_APPEND)) | TS_SEL_RELEASE << 16, 0);
    for (int r = 0; r < kRows; ++r) {
        uint32_t row = static_cast<uint32_t>(Send(grid, TSM_INSERTROWS, 1, TS_APPEND));
        for (int c = 0; c < kCols; ++c) {
            TsSelRect cell = {c, r, c, r};
            uint32_t h = static_cast<uint32_t>(Send(grid, TSM_SETSELRANGE, 0, reinterpret_cast<uintptr_t>(&cell)));
            Send(grid, TSM_SETPROP, h | setText, reinterpret_cast<uintptr_t>(Text(r, c)));
            Send(grid, TSM_SELECTIONOP, h | TS_SEL_RELEASE << 16, 0);
        }
        Send(grid, TSM_SELECTIONOP, row | TS_SEL_RELEASE << 16, 0);
    }
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
    HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 780, 560, parent,
                                reinterpret_cast<HMENU>(2), GetModuleHandleA(nullptr), nullptr);
    for (int c = 0; c < kCols; ++c) {
        LVCOLUMNA col = {};
        col.mask = LVCF_TEXT | LVCF_WIDTH;
        col.cx = 100;
        col.pszText = const_cast<char*>("Column");
        SendMessageA(list, LVM_INSERTCOLUMNA, c, reinterpret_cast<LPARAM>(&col));
    }
    double start = Now();
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LVM_SETITEMCOUNT, kRows, 0);
    for (int r = 0; r < kRows; ++r) {
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.iItem = r;
        item.pszText = const_cast<char*>(Text(r, 0));
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        for (int c = 1; c < kCols; ++c) {
            LVITEMA sub = {};
            sub.iSubItem = c;
            sub.pszText = const_cast<char*>(Text(r, c));
            SendMessageA(list, LVM_SETITEMTEXTA, r, reinterpret_cast<LPARAM>(&sub));
        }
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
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
