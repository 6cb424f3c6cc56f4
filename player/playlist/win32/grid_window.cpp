#include "grid_window.h"

#include "tsexports.h"

namespace playlist {

namespace {

constexpr LONG_PTR kFreeUserData = 1;

bool IsGridFrame(HWND window)
{
    char name[32] = "";
    GetClassNameA(window, name, sizeof name);
    return lstrcmpiA(name, TS_FRAME_CLASS) == 0;
}

}  // namespace

std::unique_ptr<GridWindow> GridWindow::Make(HWND window)
{
    if (!window || !TsGetVListMgr())
        return nullptr;
    if (IsGridFrame(window))
        return std::unique_ptr<GridWindow>(new GridWindow(window, false));
    RECT client;
    GetClientRect(window, &client);
    GridCreateParams params = {TS_DEFAULT_MAXROWS, TS_DEFAULT_MAXCOLS};
    HWND frame = CreateWindowExA(0, TS_FRAME_CLASS, "", WS_CHILD | WS_VISIBLE | WS_BORDER | 0x300800, 0, 0,
                                 client.right, client.bottom, window, reinterpret_cast<HMENU>(1),
                                 reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE)), &params);
    if (!frame)
        return nullptr;
    return std::unique_ptr<GridWindow>(new GridWindow(frame, true));
}

GridWindow::GridWindow(HWND outer, bool created) : outer_(outer), inner_(GetWindow(outer, GW_CHILD)), created_(created)
{
    // The wrapper is found through the window only where the window offers
    // its user data (it holds 1).
    if (!created_ && GetWindowLongPtrA(outer_, GWLP_USERDATA) == kFreeUserData) {
        SetWindowLongPtrA(outer_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        storedInUserData_ = true;
    }
    grid_.reset(new PlaylistGrid(*this, *TsGetVListMgr()));
}

GridWindow::~GridWindow()
{
    grid_.reset();  // releases the focus selection while the window lives
    if (storedInUserData_ && IsWindow(outer_))
        SetWindowLongPtrA(outer_, GWLP_USERDATA, kFreeUserData);
    if (created_ && IsWindow(outer_))
        DestroyWindow(outer_);
}

intptr_t GridWindow::Send(uint32_t message, ParamBlock* block)
{
    return inner_ ? SendMessageA(inner_, message, 0, reinterpret_cast<LPARAM>(block)) : 0;
}

intptr_t GridWindow::SendFrame(uint32_t message, ParamBlock* block)
{
    return SendMessageA(outer_, message, 0, reinterpret_cast<LPARAM>(block));
}

}  // namespace playlist
