// "&Add...", files dropped on the window, and pasted file lists: all go
// through the playlist's one adding routine.
#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "add_files.h"
#include "image_paths.h"
#include "playlist_actions.h"
#include "playlist_actions_state.h"

namespace playlist {

namespace {

const char kAddFilter[] =
    "Playlists (*.ZUB;*.M3U;*.M3U8;Pianodir.fil;Music.dir)\0*.ZUB;*.M3U;*.M3U8;Pianodir.fil;Music.dir\0"
    "MIDI Files (*.MID;*.RMI;*.KAR)\0*.MID;*.RMI;*.KAR\0"
    "ESEQ Files (*.FIL;*.ESQ;*.EVT)\0*.FIL;*.ESQ;*.EVT\0"
    ZUB_IMAGE_FILTER
    "All Files (*.*)\0*.*\0";

DWORD g_addFilterIndex = 1;

}  // namespace

void AddFilesDialog(PlaylistWindow& w)
{
    if (w.session->flags.buildScanActive)
        return;
    // The buffer is cleared for every use.
    std::vector<char> buffer(kAddBufferChars, '\0');
    DWORD error = 0;
    if (!AskOpenFiles(w, kAddFilter, &g_addFilterIndex, ActionFolder::LastAdd, true, buffer, &error)) {
        if (error == FNERR_BUFFERTOOSMALL)
            MessageBoxA(w.dialog, kTooManyFiles, "Error", MB_OK);
        return;
    }
    const SelectedFiles picked = SplitSelection(buffer.data(), buffer.size());
    Actions().SetFolder(ActionFolder::LastAdd, picked.folder);
    w.session->flags.playlistModified = true;
    HCURSOR old = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    AddSelectedFiles(BuilderFor(w), picked);
    SetCursor(old);
    ShowSessionProblems(w);
}

void AddPaths(PlaylistWindow& w, const std::vector<std::string>& paths)
{
    w.session->flags.playlistModified = true;
    HCURSOR old = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    AddDroppedPaths(BuilderFor(w), w.session->Files(), ActionsOf(w).lister, paths);
    SetCursor(old);
    ShowSessionProblems(w);
}

std::vector<std::string> DroppedPaths(HDROP drop)
{
    std::vector<std::string> paths;
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        char path[MAX_PATH] = {};
        if (DragQueryFileA(drop, i, path, sizeof path) > 0)
            paths.push_back(path);
    }
    return paths;
}

void DropFiles(PlaylistWindow& w, HDROP drop)
{
    const std::vector<std::string> paths = DroppedPaths(drop);
    DragFinish(drop);
    if (w.session->flags.buildScanActive)
        return;  // the walk owns the list until it ends
    AddPaths(w, paths);
}

}  // namespace playlist
