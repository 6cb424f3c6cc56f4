#include "main_layout.h"

#include <algorithm>

namespace zub {

int ScaleToDpi(int pixels, int dpi)
{
    if (dpi <= 0)
        dpi = 96;
    return static_cast<int>((static_cast<long long>(pixels) * dpi + 48) / 96);
}

std::array<int, 3> StatusPartEdges(int clientWidth, int widestTimeLabel, int widestStateText, int dpi)
{
    const int grip = ScaleToDpi(18, dpi);
    const int margin = ScaleToDpi(8, dpi);  // a text's border and inset
    std::array<int, 3> edges = {clientWidth - widestTimeLabel - widestStateText - grip - 2 * margin,
                                clientWidth - widestTimeLabel - grip - margin, clientWidth - grip};
    int floor = 0;
    for (int& edge : edges) {
        edge = std::max(edge, floor);
        floor = edge;
    }
    return edges;
}

WindowSize DefaultMainSize(int dpi)
{
    return {ScaleToDpi(380, dpi), ScaleToDpi(200, dpi)};
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

ScreenPoint PlaceBesideOwner(const ScreenRect& owner, WindowSize size, const ScreenRect& work)
{
    ScreenPoint p{owner.left, owner.bottom};
    if (p.y + size.height > work.bottom)
        p.y = owner.top - size.height >= work.top ? owner.top - size.height : work.bottom - size.height;
    p.x = std::min(p.x, work.right - size.width);
    p.x = std::max(p.x, work.left);
    p.y = std::max(p.y, work.top);
    return p;
}

}  // namespace zub
