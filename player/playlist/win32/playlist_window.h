// The playlist window: one modeless "PLAYLISTDLG" dialog beside the main
// window. These are the calls the main window makes.
#ifndef ZUB_PLAYLIST_WIN32_PLAYLIST_WINDOW_H
#define ZUB_PLAYLIST_WIN32_PLAYLIST_WINDOW_H

#include <windows.h>

#include "playlist_host.h"

namespace playlist {

// The window, or null while none is open.
HWND PlaylistWindowHandle();
// The main loop's hook: the playlist's keyboard shortcuts and dialog
// messages. True when the message was consumed.
bool PreTranslatePlaylistMessage(MSG* msg);
// Before another playlist opens and before the program ends ("Confirm
// Open"): asks to save a modified list and closes the window. False when
// the user cancelled; everything then stays as it was.
bool CloseForOpen();
// Opens the window on "[Untitled]", a directory, a playlist file or a
// catalog, after CloseForOpen.
void OpenPlaylistWindow(PlaylistHost& host, const char* path);
// "&Save" (askName false) and "Save &As" (true). True when saved.
bool SavePlaylist(bool askName);
// "&Export Playlist...": CSV, M3U or M3U8 by the file's extension.
void ExportPlaylist(const char* path);
// Next (0x10) and Previous (0x20) for the main window's controls.
unsigned PlaylistNavigationBits();

}  // namespace playlist

#endif
