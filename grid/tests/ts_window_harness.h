// The grid library as another program meets it: Ts.dll loaded by name,
// windows of class "Tessaline", and nothing but messages.
#ifndef ZUB_GRID_TESTS_TS_WINDOW_HARNESS_H
#define ZUB_GRID_TESTS_TS_WINDOW_HARNESS_H

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ts.h"

namespace tswin {

struct Library {
    HMODULE module = LoadLibraryA("Ts.dll");
    static Library& Get()
    {
        static Library lib;
        return lib;
    }
    ITsVListMgr* Lists()
    {
        typedef ITsVListMgr*(__stdcall * GetFn)(void);
        GetFn get = reinterpret_cast<GetFn>(reinterpret_cast<void (*)()>(GetProcAddress(module, MAKEINTRESOURCEA(14))));
        return get ? get() : nullptr;
    }
};

inline LRESULT Send(HWND w, UINT message, uint32_t d0, uintptr_t d1 = 0)
{
    ParamBlock b = {d0, d1};
    return SendMessageA(w, message, 0, reinterpret_cast<LPARAM>(&b));
}

template <class T>
LRESULT Send(HWND w, UINT message, uint32_t d0, T* record)
{
    return Send(w, message, d0, reinterpret_cast<uintptr_t>(record));
}

inline HWND Inner(HWND frame)
{
    return GetWindow(frame, GW_CHILD);
}

inline uint32_t Range(HWND inner, int32_t left, int32_t top, int32_t right, int32_t bottom, uint32_t handle = 0)
{
    TsSelRect r = {left, top, right, bottom};
    return static_cast<uint32_t>(Send(inner, TSM_SETSELRANGE, handle, &r));
}

inline void Release(HWND inner, uint32_t handle)
{
    Send(inner, TSM_SELECTIONOP, handle | TS_SEL_RELEASE << 16);
}

// Every row `rowHeight` pixels high and every column `colWidth` wide,
// whatever the fonts measure.
inline void FixSizes(HWND inner, int rowHeight, int colWidth)
{
    char rows[16], cols[16];
    wsprintfA(rows, "[%d]", rowHeight);
    wsprintfA(cols, "[%d]", colWidth);
    uint32_t all = Range(inner, 0, 0, -1, -1);
    Send(inner, TSM_SETPROP, all | static_cast<uint32_t>(TS_PROP(TS_GROUP_ROWS, TS_PART_STRING, TS_ITEM_TEMPLATE)) << 16,
         rows);
    Send(inner, TSM_SETPROP, all | static_cast<uint32_t>(TS_PROP(TS_GROUP_COLS, TS_PART_STRING, TS_ITEM_TEMPLATE)) << 16,
         cols);
    Release(inner, all);
}

inline int32_t GetNumber(HWND w, uint32_t handle, PropertyId id)
{
    int32_t n = -1;
    Send(w, TSM_GETPROP, handle | static_cast<uint32_t>(id) << 16, &n);
    return n;
}

// The query protocol: the answer line, or "" when there was none.
inline std::string Query(HWND inner, const std::string& ask, LRESULT* result = nullptr)
{
    SendMessageA(inner, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(ask.c_str()));
    char buffer[300] = "";
    LRESULT r = SendMessageA(inner, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
    if (result)
        *result = r;
    return buffer;
}

// A plain top-level window that records the WM_COMMAND notifications and
// menus it is sent.
class Parent {
public:
    Parent()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "TsTestParent";
        RegisterClassA(&wc);
        window_ = CreateWindowExA(0, "TsTestParent", "parent", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr,
                                  wc.hInstance, nullptr);
        SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~Parent() { DestroyWindow(window_); }
    HWND window() const { return window_; }
    std::vector<std::pair<int, int>> commands;  // (id, code)
    std::vector<HMENU> menus;
    std::function<void(int code)> onCommand;  // the parent's answer to a notification

private:
    static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp)
    {
        Parent* self = reinterpret_cast<Parent*>(GetWindowLongPtrA(w, GWLP_USERDATA));
        if (self && m == WM_COMMAND && lp) {
            self->commands.emplace_back(LOWORD(wp), HIWORD(wp));
            if (self->onCommand)
                self->onCommand(HIWORD(wp));
        }
        if (self && m == WM_INITMENUPOPUP) {
            self->menus.push_back(reinterpret_cast<HMENU>(wp));
            SetTimer(w, 1, 10, nullptr);  // the menu closes itself shortly
        }
        if (m == WM_TIMER && wp == 1) {
            KillTimer(w, 1);
            EndMenu();
        }
        return DefWindowProcA(w, m, wp, lp);
    }
    HWND window_;
};

}  // namespace tswin

#endif
