// The position hook of every Open and Save dialog of the player: the dialog
// comes back where it was last closed on this screen size.
#ifndef ZUB_PLAYER_APP_WIN32_FILE_DIALOG_POS_H
#define ZUB_PLAYER_APP_WIN32_FILE_DIALOG_POS_H

#include <windows.h>
#include <commdlg.h>

namespace zub {

// Sets the hook on an explorer-style dialog; windowName is "OpenPos" or
// "SavePos" and must outlive the dialog.
void UsePositionHook(OPENFILENAMEA& ofn, const char* windowName);

}  // namespace zub

#endif
