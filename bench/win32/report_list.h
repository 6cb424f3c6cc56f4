// Under Wine, beside the grid: the report-view ListView holding the
// benchmarks' texts, filled the usual bulk way (redraw off, the item count
// set, one insertion and the other texts per row). Each item's lParam is
// its row's first index.
#ifndef ZUB_BENCH_WIN32_REPORT_LIST_H
#define ZUB_BENCH_WIN32_REPORT_LIST_H

#include <windows.h>
#include <commctrl.h>

inline HWND CreateReportList(HWND parent, int cols)
{
    HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 780, 560, parent,
                                reinterpret_cast<HMENU>(2), GetModuleHandleA(nullptr), nullptr);
    for (int c = 0; c < cols; ++c) {
        LVCOLUMNA col = {};
        col.mask = LVCF_TEXT | LVCF_WIDTH;
        col.cx = 100;
        col.pszText = const_cast<char*>("Column");
        SendMessageA(list, LVM_INSERTCOLUMNA, c, reinterpret_cast<LPARAM>(&col));
    }
    return list;
}

template <class Text>
void FillReportList(HWND list, int rows, int cols, Text text)
{
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LVM_SETITEMCOUNT, rows, 0);
    for (int r = 0; r < rows; ++r) {
        LVITEMA item = {};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = r;
        item.lParam = r;
        item.pszText = const_cast<char*>(text(r, 0));
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        for (int c = 1; c < cols; ++c) {
            LVITEMA sub = {};
            sub.iSubItem = c;
            sub.pszText = const_cast<char*>(text(r, c));
            SendMessageA(list, LVM_SETITEMTEXTA, r, reinterpret_cast<LPARAM>(&sub));
        }
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
}

#endif
