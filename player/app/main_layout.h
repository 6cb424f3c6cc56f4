// Arithmetic of the main window's layout: status-bar parts and the space
// left for the position display.
#ifndef ZUB_PLAYER_APP_MAIN_LAYOUT_H
#define ZUB_PLAYER_APP_MAIN_LAYOUT_H

#include <array>

namespace zub {

// Right edges of the status bar's three parts (title, state, time mode) for a
// client width, the widest time-mode label and the widest state text. Edges
// never fall below 0 nor below the edge before them.
std::array<int, 3> StatusPartEdges(int clientWidth, int widestTimeLabel, int widestStateText);

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

}  // namespace zub

#endif
