// Under Wine, beside the grid: the benchmarks' top window, and the
// report-view ListView holding their texts, filled the usual bulk way
// (redraw off, the item count set, one insertion and the other texts per
// row). Each item's lParam is its row's first index.
#ifndef ZUB_BENCH_WIN32_REPORT_LIST_H
#define ZUB_BENCH_WIN32_REPORT_LIST_H

#include <windows.h>
#include <commctrl.h>

#include <stdio.h>

// Loads Ts.dll and the ListView and opens the top window that holds the
// benchmark's controls; null (and a line) when the grid library is missing.
inline HWND OpenBenchWindow(const char* title)
{
    if (!LoadLibraryA("Ts.dll")) {
        printf("Ts.dll did not load\n");
        return nullptr;
    }
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    return CreateWindowExA(0, "STATIC", title, WS_POPUP | WS_VISIBLE, 0, 0, 800, 600, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

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
