// What the playlist window needs of the player's main window on Windows,
// beyond PlayerLink: its windows, the last-used folder, the recent-file
// list, the file dialogs' remembered place and the window's saved
// rectangle. The main window implements it (player/app/win32).
#ifndef ZUB_PLAYLIST_WIN32_PLAYLIST_HOST_H
#define ZUB_PLAYLIST_WIN32_PLAYLIST_HOST_H

#include <windows.h>
#include <commdlg.h>

#include <string>

#include "copy_target_choice.h"
#include "playlist_session.h"

namespace playlist {

class PlaylistHost : public PlayerLink {
public:
    virtual HWND Main() = 0;
    virtual HINSTANCE Instance() = 0;
    // LastOpenDir: where the Save dialog starts, and what it becomes.
    virtual std::string LastOpenDir() = 0;
    virtual void SetLastOpenDir(const std::string& dir) = 0;
    // Enters a saved playlist into the File menu's recent files.
    virtual void AddRecentFile(const std::string& path) = 0;
    // The position hook of the player's Save dialogs ("SavePos").
    virtual void UseSavePosition(OPENFILENAMEA& ofn) = 0;
    // The window rectangle saved under "Playlist" for this screen size.
    virtual bool LoadPlacement(RECT* rect) = 0;
    virtual void SavePlacement(const RECT& rect) = 0;
    // Where the copy commands write, as the player's settings keep it.
    virtual floppy::CopyTargetChoice CopyTarget() = 0;
    virtual bool SetCopyTarget(const floppy::CopyTargetChoice& choice) = 0;
};

}  // namespace playlist

#endif
