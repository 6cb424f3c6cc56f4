// How the playlist configures its grid: aliases, options and style,
// grid properties, then the seven columns (0-2 hidden, 3 the outline column
// with the row icons, 4 the editable and searchable title, 5 the length,
// 6 the voice map's name), in that order.
#ifndef ZUB_PLAYLIST_GRID_SETUP_H
#define ZUB_PLAYLIST_GRID_SETUP_H

#include "playlist_grid.h"

namespace playlist {

// The icon aliases and their resources ("Folder" = "IDI_FOLDER(20,20)", ...).
struct IconAlias {
    const char* name;
    const char* spec;
};
extern const IconAlias kPlaylistIcons[10];

// Everything after the window side's own first step (scroll bars and
// subclassing) and before the sort option is applied.
void SetUpPlaylistGrid(PlaylistGrid& grid);

}  // namespace playlist

#endif
