// Run by hand under Wine: painting and scrolling a 1000x700 grid window
// that shows about 40 rows of an 8192-row, 7-column grid set up like the
// player's playlist (four columns shown), beside Wine's report-view
// ListView showing the same texts in the same columns in a window of the
// same size, in the same run (its columns as wide as the grid's, or as
// its texts need to show whole). Each figure is the median of many runs of
// the message and the repaint it causes (UpdateWindow). Goals: the grid's
// full repaint in at most half the ListView's time, a one-line scroll
// under 2 ms. A one-line scroll is measured twice: from the top, where the
// scroll bar's thumb stays on its pixels (as it does for most lines of a
// long list), and from a line where it moves and the bar is redrawn.
#include <windows.h>
#include <commctrl.h>

#include <stdio.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "../fill_texts.h"
#include "ts_bench_win32.h"

namespace {

const int kWidth = 1000;
const int kHeight = 700;
const int kRuns = 201;
const int kShown[] = {3, 4, 5, 6};  // the columns the playlist shows

double Now()
{
    return BenchNow();
}

LRESULT Send(HWND w, UINT message, uint32_t d0, uintptr_t d1)
{
    return BenchSend(w, message, d0, d1);
}

void Release(HWND grid, uint32_t handle)
{
    Send(grid, TSM_SELECTIONOP, handle | TS_SEL_RELEASE << 16, 0);
}

uint32_t Range(HWND grid, int l, int t, int r, int b)
{
    TsSelRect rect = {l, t, r, b};
    return static_cast<uint32_t>(Send(grid, TSM_SETSELRANGE, 0, reinterpret_cast<uintptr_t>(&rect)));
}

void SetText(HWND grid, uint32_t sel, uint32_t id, const char* text)
{
    Send(grid, TSM_SETPROP, sel | id << 16, reinterpret_cast<uintptr_t>(text));
}

// The grid as the playlist sets it up, filled with the benchmark's texts.
HWND MakeGrid(HWND parent)
{
    HWND frame = CreateWindowExA(0, "Tessaline", "MaxRows=8192 MaxCols=7", WS_CHILD | WS_VISIBLE, 0, 0, kWidth,
                                 kHeight, parent, reinterpret_cast<HMENU>(1), GetModuleHandleA(nullptr), nullptr);
    HWND grid = GetWindow(frame, GW_CHILD);
    TsAliasDef pair = {"Default", "Bright Gray", "Black"}, focus = {"CurrentFocusRow", "Pale Yellow", nullptr};
    TsAliasDef font = {"Default", "Arial : 10", nullptr};
    Send(grid, TSM_DEFINEALIAS, TS_ALIAS_COLORPAIR, reinterpret_cast<uintptr_t>(&pair));
    Send(grid, TSM_DEFINEALIAS, TS_ALIAS_COLORPAIR, reinterpret_cast<uintptr_t>(&focus));
    Send(grid, TSM_DEFINEALIAS, TS_ALIAS_FONT, reinterpret_cast<uintptr_t>(&font));
    Send(grid, TSM_SETPROP, 0x3319u << 16, 1);
    SetText(grid, 0, 0x3021, "RGB(208,208,208)");
    Release(grid, static_cast<uint32_t>(Send(grid, TSM_INSERTCOLS, kFillCols, TS_APPEND)));
    uint32_t all = Range(grid, 0, 0, -1, -1);
    SetText(grid, all, 0x2015, "[B]:[1R]");
    SetText(grid, all, 0x2004, "TSLeftText TSVCenterIcon");
    Release(grid, all);
    uint32_t hidden = Range(grid, 0, 0, 2, -1);
    Send(grid, TSM_HIDECOLS, hidden, 1);
    Release(grid, hidden);
    uint32_t blue = Range(grid, 4, 0, 4, -1);
    SetText(grid, blue, 0x2008, "Dark Blue");
    Release(grid, blue);
    uint32_t narrow = Range(grid, 5, 0, 6, -1);
    SetText(grid, narrow, 0x2015, "[B]");
    Release(grid, narrow);
    const uint32_t setText = static_cast<uint32_t>(TS_PROP(TS_GROUP_CELLS, TS_PART_STRING, TS_ITEM_VALUE));
    Release(grid, static_cast<uint32_t>(Send(grid, TSM_INSERTROWS, kFillRows, TS_APPEND)));
    for (int r = 0; r < kFillRows; ++r) {
        std::string row;
        for (int c = 0; c < kFillCols; ++c)
            row += std::string(FillText(r, c)) + "\n";
        uint32_t line = Range(grid, 0, r, -1, r);
        SetText(grid, line, setText, row.c_str());
        Release(grid, line);
    }
    return grid;
}

HWND MakeListView(HWND parent, HWND grid)
{
    HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_NOCOLUMNHEADER, 0, 0,
                                kWidth, kHeight, parent, reinterpret_cast<HMENU>(2), GetModuleHandleA(nullptr), nullptr);
    // The grid's font, made by the grid library from the same specification.
    typedef HFONT(__stdcall * CreateFontFn)(const char*);
    CreateFontFn create = reinterpret_cast<CreateFontFn>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("Ts.dll"), MAKEINTRESOURCEA(10))));
    HFONT font = create ? create("Arial : 10") : nullptr;
    SendMessageA(list, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    // The same column widths and row height the grid laid out (an image
    // list as tall as the grid's rows sets the ListView's).
    unsigned long rowHeight = 0;
    int widths[4] = {};
    for (int i = 0; i < 4; ++i) {
        char ask[64], answer[128] = "";
        wsprintfA(ask, "113:0,0,%d,0,0:", kShown[i]);
        SendMessageA(grid, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(ask));
        SendMessageA(grid, WM_GETTEXT, sizeof answer, reinterpret_cast<LPARAM>(answer));
        unsigned long result, arg, left, top, right, bottom;
        sscanf(answer, "%lu:%lu,%lu,%lu,%lu,%lu", &result, &arg, &left, &top, &right, &bottom);
        rowHeight = bottom - top;
        LVCOLUMNA col = {};
        col.mask = LVCF_WIDTH;
        col.cx = static_cast<int>(right - left);
        SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&col));
        widths[i] = col.cx;
    }
    HIMAGELIST rows = ImageList_Create(1, static_cast<int>(rowHeight), ILC_COLOR, 1, 1);
    SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(rows));
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LVM_SETITEMCOUNT, kFillRows, 0);
    for (int r = 0; r < kFillRows; ++r) {
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.iItem = r;
        item.pszText = const_cast<char*>(FillText(r, kShown[0]));
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        for (int i = 1; i < 4; ++i) {
            LVITEMA sub = {};
            sub.iSubItem = i;
            sub.pszText = const_cast<char*>(FillText(r, kShown[i]));
            SendMessageA(list, LVM_SETITEMTEXTA, r, reinterpret_cast<LPARAM>(&sub));
        }
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    // The ListView pads its texts more than the grid does: where the grid's
    // width would cut a text off, the column takes the width that shows it
    // whole (the ListView would otherwise fit an ellipsis on every row, work
    // the grid does not do), and the wide title column gives the pixels back.
    int whole[4], extra = 0;
    for (int i = 0; i < 4; ++i) {
        SendMessageA(list, LVM_SETCOLUMNWIDTH, i, LVSCW_AUTOSIZE);
        whole[i] = static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, i, 0));
        int width = whole[i] > widths[i] ? whole[i] : widths[i];
        extra += width - widths[i];
        SendMessageA(list, LVM_SETCOLUMNWIDTH, i, width);
    }
    int title = (whole[1] > widths[1] ? whole[1] : widths[1]) - extra;
    SendMessageA(list, LVM_SETCOLUMNWIDTH, 1, title > whole[1] ? title : whole[1]);
    return list;
}

// The medians of `step` followed by the repaint it asks for, on the grid
// and on the ListView in turns, so that both meet the same load of the
// machine. `reset` runs untimed before each, with the control's window on top.
struct Pair {
    double grid, list;
};

Pair Medians(HWND grid, HWND list, const std::function<void(HWND)>& reset, const std::function<void(HWND)>& step)
{
    std::vector<double> times[2];
    HWND windows[2] = {grid, list};
    HWND tops[2] = {GetAncestor(grid, GA_ROOT), GetAncestor(list, GA_ROOT)};
    for (int i = 0; i < kRuns + 5; ++i) {
        for (int k = 0; k < 2; ++k) {
            HWND w = windows[k];
            SetWindowPos(tops[k], HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
            reset(w);
            UpdateWindow(tops[k]);
            RedrawWindow(tops[k], nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            GdiFlush();
            double start = Now();
            step(w);
            UpdateWindow(w);
            GdiFlush();
            if (i >= 5)  // the first runs warm up caches
                times[k].push_back(Now() - start);
        }
    }
    for (auto& t : times)
        std::sort(t.begin(), t.end());
    return Pair{times[0][times[0].size() / 2], times[1][times[1].size() / 2]};
}

int VisibleRows(HWND grid)
{
    int32_t rows = 0;
    Send(grid, TSM_GETPROP, static_cast<uint32_t>(TS_PROP(TS_GROUP_GRID, TS_PART_NUMBER, TS_ITEM_PAGEROWS)) << 16,
         reinterpret_cast<uintptr_t>(&rows));
    return rows;
}

int ThumbTop(HWND w)
{
    SCROLLBARINFO info = {};
    info.cbSize = sizeof info;
    return GetScrollBarInfo(w, OBJID_VSCROLL, &info) ? info.xyThumbTop : -1;
}

// The first line from which one line down moves the control's thumb on the
// screen: over a long list most single lines leave it where it is.
int LineBeforeTheThumbMoves(HWND w)
{
    SendMessageA(w, WM_VSCROLL, SB_TOP, 0);
    UpdateWindow(w);
    int top = ThumbTop(w);
    for (int line = 0; line < 1000; ++line) {
        SendMessageA(w, WM_VSCROLL, SB_LINEDOWN, 0);
        UpdateWindow(w);
        if (ThumbTop(w) != top)
            return line;
    }
    return 0;
}

}  // namespace

int main()
{
    if (!BenchStart())
        return 1;
    // Two top-level windows of the same client size, one for each control.
    HWND gridTop = BenchWindow("grid", kWidth, kHeight);
    HWND listTop = BenchWindow("list", kWidth, kHeight);
    HWND grid = MakeGrid(gridTop);
    UpdateWindow(grid);
    HWND list = MakeListView(listTop, grid);
    UpdateWindow(list);
    auto nothing = [](HWND) {};
    auto top = [](HWND w) { SendMessageA(w, WM_VSCROLL, SB_TOP, 0); };
    Pair repaint = Medians(grid, list, nothing, [](HWND w) { InvalidateRect(w, nullptr, FALSE); });
    Pair pageDown = Medians(grid, list, top, [](HWND w) { SendMessageA(w, WM_VSCROLL, SB_PAGEDOWN, 0); });
    Pair lineDown = Medians(grid, list, top, [](HWND w) { SendMessageA(w, WM_VSCROLL, SB_LINEDOWN, 0); });
    const int gridLine = LineBeforeTheThumbMoves(grid), listLine = LineBeforeTheThumbMoves(list);
    auto beforeThumbMoves = [&](HWND w) {
        SendMessageA(w, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, w == grid ? gridLine : listLine), 0);
    };
    Pair thumbMoves =
        Medians(grid, list, beforeThumbMoves, [](HWND w) { SendMessageA(w, WM_VSCROLL, SB_LINEDOWN, 0); });
    printf("%d runs each, in turns, medians; grid shows %d whole rows of %d, ListView %d\n", kRuns, VisibleRows(grid),
           kFillRows, static_cast<int>(SendMessageA(list, LVM_GETCOUNTPERPAGE, 0, 0)));
    printf("%-22s %10s %10s %8s\n", "", "grid ms", "ListView", "ratio");
    printf("%-22s %10.3f %10.3f %8.2f   (goal: at most 0.50)\n", "full repaint", repaint.grid, repaint.list,
           repaint.grid / repaint.list);
    printf("%-22s %10.3f %10.3f %8.2f\n", "page down + repaint", pageDown.grid, pageDown.list,
           pageDown.grid / pageDown.list);
    printf("%-22s %10.3f %10.3f %8.2f   (goal: grid under 2 ms)\n", "line down + repaint", lineDown.grid,
           lineDown.list, lineDown.grid / lineDown.list);
    printf("%-22s %10.3f %10.3f %8.2f   (from line %d and %d)\n", "  the thumb moving", thumbMoves.grid,
           thumbMoves.list, thumbMoves.grid / thumbMoves.list, gridLine, listLine);
    DestroyWindow(gridTop);
    DestroyWindow(listTop);
    return 0;
}
