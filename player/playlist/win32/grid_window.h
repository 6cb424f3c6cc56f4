// A PlaylistGrid over a grid window. Made from a window: a "Tessaline"
// window (a dialog item) is attached to; any other window gets a new
// "Tessaline" child filling its client area. Every message goes to the
// inner grid window, the popup-menu request to the outer one.
#ifndef ZUB_PLAYLIST_WIN32_GRID_WINDOW_H
#define ZUB_PLAYLIST_WIN32_GRID_WINDOW_H

#include <windows.h>

#include <memory>

#include "playlist_grid.h"

namespace playlist {

class GridWindow : public GridPort {
public:
    // Null when there is no grid window to be had.
    static std::unique_ptr<GridWindow> Make(HWND window);
    ~GridWindow() override;
    GridWindow(const GridWindow&) = delete;
    GridWindow& operator=(const GridWindow&) = delete;

    HWND Outer() const { return outer_; }
    HWND Inner() const { return inner_; }
    PlaylistGrid& Grid() { return *grid_; }

    intptr_t Send(uint32_t message, ParamBlock* block) override;
    intptr_t SendFrame(uint32_t message, ParamBlock* block) override;
    uintptr_t FrameHandle() const override { return reinterpret_cast<uintptr_t>(outer_); }

private:
    GridWindow(HWND outer, bool created);

    HWND outer_;
    HWND inner_;
    bool created_;
    bool storedInUserData_ = false;
    std::unique_ptr<PlaylistGrid> grid_;
};

}  // namespace playlist

#endif
