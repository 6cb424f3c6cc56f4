// What the grid's Windows benchmarks share: the clock, grid messages with
// a parameter block, and a start that loads Ts.dll and the ListView.
#ifndef ZUB_BENCH_WIN32_TS_BENCH_WIN32_H
#define ZUB_BENCH_WIN32_TS_BENCH_WIN32_H

#include <windows.h>
#include <commctrl.h>

#include <stdio.h>

#include "ts.h"

// Milliseconds of the performance counter.
inline double BenchNow()
{
    LARGE_INTEGER c, f;
    QueryPerformanceCounter(&c);
    QueryPerformanceFrequency(&f);
    return static_cast<double>(c.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

inline LRESULT BenchSend(HWND w, UINT message, uint32_t d0, uintptr_t d1)
{
    ParamBlock b = {d0, d1};
    return SendMessageA(w, message, 0, reinterpret_cast<LPARAM>(&b));
}

// Loads the grid library and the ListView class; false (and a line) when
// the library did not load.
inline bool BenchStart()
{
    if (!LoadLibraryA("Ts.dll")) {
        printf("Ts.dll did not load\n");
        return false;
    }
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    return true;
}

// A shown top-level window of the given size for a control to live in.
inline HWND BenchWindow(const char* title, int width, int height)
{
    return CreateWindowExA(0, "STATIC", title, WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

#endif
