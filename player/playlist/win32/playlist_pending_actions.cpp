// Stand-ins for the playlist window's actions that are built apart: the
// directory scan's steps, the "&Add..." dialog, dropped files, voice maps,
// copying to drive A: and the clipboard. The window routes every one of
// their commands and messages here; until each arrives it does nothing
// (a scan ends at once, so the window never stays "Scanning").
#include "playlist_dialog.h"

#include <shellapi.h>

namespace playlist {

bool ScanCommand(PlaylistWindow& w, int command)
{
    (void)command;
    PostMessageA(w.dialog, WM_COMMAND, CMD_PL_SCAN_STOP, 0);
    return true;
}

void AddFilesDialog(PlaylistWindow&) {}

void DropFiles(PlaylistWindow&, HDROP drop)
{
    DragFinish(drop);
}

void VoiceMapCommand(PlaylistWindow&, int) {}

void CopyCommand(PlaylistWindow&, int) {}

void ClipboardMessage(PlaylistWindow&, UINT) {}

}  // namespace playlist
