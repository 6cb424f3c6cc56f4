// Scrolling the playlist: by wheel steps, half pages and columns, always
// to a row that is shown (a hidden song stands for its folder).
#include <algorithm>

#include "playlist_session.h"

namespace playlist {

namespace {

constexpr uint32_t kAlignTop = 12;
constexpr uint32_t kAlignBottom = 8;
constexpr uint32_t kAlignLastCol = 2;
constexpr uint32_t kAlignFirstCol = 3;

bool Hidden(PlaylistGrid& grid, int row)
{
    return grid.Row(row).Count(CountOf::Shown) == 0;
}

}  // namespace

void PlaylistSession::WheelStep(int down)
{
    const GridSelection visible = grid_.VisibleRows();
    if (visible.Empty() || visible.FirstRow() < 0)
        return;
    int target = -1;
    uint32_t align = kAlignTop;
    if (down > 0) {
        const int count = grid_.RowCount();
        target = visible.LastRow() + 1;
        if (target >= count)
            return;
        if (Hidden(grid_, target))
            target = rows_.GroupEnd(rows_.FolderOf(target));  // past the hidden songs
        if (target >= count)
            return;
        align = kAlignBottom;
    } else {
        if (visible.FirstRow() == 0)
            return;
        target = visible.FirstRow() - 1;
        if (Hidden(grid_, target))
            target = rows_.FolderOf(target);
        if (target < 0)
            return;
    }
    grid_.Row(target).ScrollTo(align);
}

void PlaylistSession::HalfPage(int down)
{
    const GridSelection visible = grid_.VisibleRows();
    const int first = visible.FirstRow();
    if (first < 0)
        return;
    const int half = visible.Count(CountOf::Shown) / 2;
    const int count = grid_.RowCount();
    if (down > 0) {
        int target = std::min(count - 1, visible.LastRow() + half);
        if (Hidden(grid_, target))
            target = std::min(count - 1, rows_.GroupEnd(rows_.FolderOf(target)));
        grid_.Row(target).ScrollTo(kAlignBottom);
    } else {
        if (first == 1)
            return;
        int target = std::max(0, first - half);
        if (Hidden(grid_, target))
            target = std::max(0, rows_.FolderOf(target));
        grid_.Row(target).ScrollTo(kAlignTop);
    }
}

void PlaylistSession::ScrollColumn(int right)
{
    const GridSelection visible = grid_.VisibleCells();
    const int first = visible.FirstCol();
    const int last = visible.LastCol();
    if (first < 0)
        return;
    if (right > 0) {
        if (last + 1 < kColumnCount)
            grid_.Column(last + 1).ScrollTo(kAlignLastCol);
    } else if (first > ColName) {
        grid_.Column(first - 1).ScrollTo(kAlignFirstCol);
    }
}

}  // namespace playlist
