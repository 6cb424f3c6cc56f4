// Stand-ins for pieces of the player that arrive later. Each does nothing:
// the commands that lead here have no effect yet, and nothing is found.
#include "seams.h"

namespace zub {

namespace playlist_seam {
INT_PTR BuildPlaylistDialog(HWND)
{
    return 0;
}
}  // namespace playlist_seam

namespace about_grid_seam {
void Attach(HWND) {}
void Timer(HWND) {}
void Release(HWND) {}
}  // namespace about_grid_seam

}  // namespace zub
