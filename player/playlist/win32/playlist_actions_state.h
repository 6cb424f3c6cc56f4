// What the playlist window's actions keep while the window lives: the
// directory walk and the folders it lists.
#ifndef ZUB_PLAYLIST_WIN32_PLAYLIST_ACTIONS_STATE_H
#define ZUB_PLAYLIST_WIN32_PLAYLIST_ACTIONS_STATE_H

#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

#include "build_walk.h"
#include "playlist_actions.h"
#include "playlist_dialog.h"

namespace playlist {

struct PlaylistActionsState {
    HostFolderLister lister;
    std::unique_ptr<BuildWalk> walk;
};

// Made on first use.
PlaylistActionsState& ActionsOf(PlaylistWindow& w);

// The session's adding routine with the player's current options.
PlaylistBuilder& BuilderFor(PlaylistWindow& w);

// Dropped or pasted paths, added as a drop adds them.
void AddPaths(PlaylistWindow& w, const std::vector<std::string>& paths);
std::vector<std::string> DroppedPaths(HDROP drop);

// The rows of the grid's selection, in grid order.
std::vector<int> SelectedRows(PlaylistSession& s);

// The player's Open dialog for an action: explorer style, resizable, the
// files must exist, no read-only box, the "OpenPos" place; starts in the
// action's folder with the filter last chosen (remembered on OK).
// `buffer` receives the names. False on Cancel; `error` is then the
// dialog's error code (0 when the user cancelled).
bool AskOpenFiles(PlaylistWindow& w, const char* filter, DWORD* filterIndex, ActionFolder folder, bool several,
                  std::vector<char>& buffer, DWORD* error);

// Problems met reading playlists and catalogs, shown after an action.
void ShowSessionProblems(PlaylistWindow& w);

}  // namespace playlist

#endif
