// What kind of file a path names, from its file title.
#ifndef ZUB_PLAYER_APP_FILE_KIND_H
#define ZUB_PLAYER_APP_FILE_KIND_H

#include <string>
#include <string_view>

namespace zub {

// A playlist: a title with the extension "ZUB", "M3U" or "M3U8", or the
// disk catalogs "Pianodir.fil" and "Music.dir" (letter case ignored
// throughout).
bool IsPlaylistTitle(std::string_view title);

// The path with its extension (after the last "." of the file title)
// replaced by ".MID", or ".MID" appended when there is none.
std::string WithMidExtension(std::string_view path);

}  // namespace zub

#endif
