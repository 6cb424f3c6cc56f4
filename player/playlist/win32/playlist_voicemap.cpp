// "&Attach Voice Mapfile" and "&Detach  Voice Mapfile".
#include <windows.h>
#include <commdlg.h>

#include <vector>

#include "playlist_actions.h"
#include "playlist_actions_state.h"
#include "song_paths.h"
#include "voice_map_rows.h"

namespace playlist {

namespace {

const char kMapFilter[] = "MAP Files (*.MAP)\0*.MAP\0All Files (*.*)\0*.*\0";
DWORD g_mapFilterIndex = 1;

void Attach(PlaylistWindow& w, int row)
{
    std::vector<char> buffer(1040, '\0');
    DWORD error = 0;
    if (!AskOpenFiles(w, kMapFilter, &g_mapFilterIndex, ActionFolder::LastMap, false, buffer, &error))
        return;
    const std::string path = buffer.data();
    std::string dir, name;
    SplitSongPath(path, &dir, &name);
    Actions().SetFolder(ActionFolder::LastMap, dir);
    w.session->flags.playlistModified = true;
    AttachVoiceMapToSelection(w.session->Builder(), w.session->Rows(), row, path);
}

void Detach(PlaylistWindow& w)
{
    PlaylistGrid& grid = w.session->Grid();
    w.session->flags.playlistModified = true;
    for (int row : SelectedRows(*w.session)) {
        grid.Cell(row, ColVoiceMap).ClearCells(1);
        grid.Cell(row, ColMapName).ClearCells(1);
    }
}

}  // namespace

void VoiceMapCommand(PlaylistWindow& w, int command)
{
    const int row = w.session->SelectedRow();
    if (row < 0)
        return;
    if (command == kCmdAttachMap)
        Attach(w, row);
    else
        Detach(w);
}

}  // namespace playlist
