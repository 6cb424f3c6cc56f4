// The playlist window's actions built beside it: the directory scan and
// its dialog, "&Add...", dropped files, voice maps, copying to the floppy
// target and the clipboard. What they need of the player beyond
// PlaylistHost comes through ActionHost, which the program supplies.
#ifndef ZUB_PLAYLIST_WIN32_PLAYLIST_ACTIONS_H
#define ZUB_PLAYLIST_WIN32_PLAYLIST_ACTIONS_H

#include <windows.h>
#include <commdlg.h>

#include <string>

#include "build_walk.h"

namespace playlist {

enum class ActionFolder { LastAdd, LastMap };

class ActionHost {
public:
    virtual ~ActionHost() = default;
    virtual std::string Folder(ActionFolder which) = 0;
    virtual void SetFolder(ActionFolder which, const std::string& dir) = 0;
    // The position hook of the player's Open dialogs ("OpenPos").
    virtual void UseOpenPosition(OPENFILENAMEA& ofn) = 0;
};

// The program's host, registered once at start-up (player/app/win32);
// without one the actions remember nothing.
ActionHost& Actions();
void UseActions(ActionHost* host);

// "BUILDLISTDLG": 1 or more when OK was pressed with a root, which is then
// in `root`; the options are kept for the walk the playlist window starts
// on that directory.
INT_PTR BuildPlaylistDialog(HINSTANCE instance, HWND owner, std::string* root);
// The options of the last OK (the dialog's defaults before).
const BuildOptions& PendingBuildOptions();

}  // namespace playlist

#endif
