// Stand-ins for pieces of the player that arrive later. Each does nothing:
// the commands that lead here have no effect yet, and nothing is found.
#include "seams.h"

namespace zub {

namespace playlist_seam {
HWND Window()
{
    return nullptr;
}
bool PreTranslate(MSG*)
{
    return false;
}
void Open(HWND, const char*) {}
bool ConfirmClose(HWND)
{
    return true;
}
void Save(HWND, bool) {}
void Export(HWND, const char*) {}
INT_PTR BuildPlaylistDialog(HWND)
{
    return 0;
}
unsigned NavigationBits()
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
