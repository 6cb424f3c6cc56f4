// Which rows "&Attach Voice Mapfile" marks: a song of a directory folder
// (or the folder itself) marks the folder row and all its songs; a catalog
// disk row, a song of a disk, or a loose song marks only itself (a disk's
// songs take the disk row's map when they are loaded).
#ifndef ZUB_PLAYLIST_VOICE_MAP_ROWS_H
#define ZUB_PLAYLIST_VOICE_MAP_ROWS_H

#include <string>
#include <vector>

#include "playlist_builder.h"
#include "row_store.h"

namespace playlist {

std::vector<int> VoiceMapRows(const PlaylistRowStore& rows, int selected);

// Attaches the map to the rows VoiceMapRows gives; the number marked.
int AttachVoiceMapToSelection(PlaylistBuilder& builder, const PlaylistRowStore& rows, int selected,
                              const std::string& mapPath);

}  // namespace playlist

#endif
