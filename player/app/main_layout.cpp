#include "main_layout.h"

#include <algorithm>

namespace zub {

std::array<int, 3> StatusPartEdges(int clientWidth, int widestTimeLabel, int widestStateText)
{
    std::array<int, 3> edges = {clientWidth - widestTimeLabel - widestStateText - 34,
                                clientWidth - widestTimeLabel - 26, clientWidth - 18};
    int floor = 0;
    for (int& edge : edges) {
        edge = std::max(edge, floor);
        floor = edge;
    }
    return edges;
}

DisplayPlacement PlaceDisplay(int clientHeight, int toolbarBottom, int statusBarHeight)
{
    DisplayPlacement p;
    p.top = toolbarBottom;
    int height = clientHeight - statusBarHeight - toolbarBottom;
    p.growBy = height < 0 ? -height : 0;
    p.height = std::max(height, 0);
    return p;
}

int MinTrackHeight(int windowHeight, int displayHeight)
{
    return windowHeight - std::max(displayHeight, 0);
}

}  // namespace zub
