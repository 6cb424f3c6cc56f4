// Arithmetic of the main window's layout: status-bar parts and the space
// left for the position display.
#ifndef ZUB_PLAYER_APP_MAIN_LAYOUT_H
#define ZUB_PLAYER_APP_MAIN_LAYOUT_H

#include <array>

namespace zub {

// Pixels at 96 dots per inch scaled to `dpi`, rounded.
int ScaleToDpi(int pixels, int dpi);

// Right edges of the status bar's three parts (title, state, time mode) for a
// client width, the widest time-mode label and the widest state text. The
// room for the texts' borders and the size grip grows with the display's
// dots per inch. Edges never fall below 0 nor below the edge before them.
std::array<int, 3> StatusPartEdges(int clientWidth, int widestTimeLabel, int widestStateText, int dpi = 96);

struct WindowSize {
    int width;
    int height;
};
// The main window's size before the user chose one: its bars and menu grow
// with the dots per inch, so the window grows with them and the time keeps
// its room.
WindowSize DefaultMainSize(int dpi);

struct DisplayPlacement {
    int top;
    int height;
    int growBy;  // how much taller the main window must become first; 0 when it fits
};

// The display fills the space between the toolbar's bottom (0 without one)
// and the status bar's top (client height without one).
DisplayPlacement PlaceDisplay(int clientHeight, int toolbarBottom, int statusBarHeight);

// The smallest height the window may be dragged to: the display may shrink to
// nothing, the bars stay whole.
int MinTrackHeight(int windowHeight, int displayHeight);

struct ScreenRect {
    int left, top, right, bottom;
};
struct ScreenPoint {
    int x, y;
};

// Where a small window of `size` opens beside its owner: under the owner's
// left edge when it fits above the work area's bottom, else over the
// owner's top, else as low as the work area allows; moved left or right
// only as far as it takes to be whole on screen. The work area's top left
// wins when the window is larger than the work area.
ScreenPoint PlaceBesideOwner(const ScreenRect& owner, WindowSize size, const ScreenRect& work);

}  // namespace zub

#endif
