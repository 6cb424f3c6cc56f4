// Writing a playlist: the ".ZUB" file (after writing edited titles back),
// the CSV export of the visible rows, and ".M3U" / ".M3U8" exports. Each
// file is built in memory and replaces the old one only when written whole.
#ifndef ZUB_PLAYLIST_PLAYLIST_SAVE_H
#define ZUB_PLAYLIST_PLAYLIST_SAVE_H

#include <string>
#include <vector>

namespace playlist {

class PlaylistFiles;
class PlaylistRowStore;

// The ".ZUB" text: an entry line for every song row, disk row and missing
// disk (never for a directory folder row, nor for the song rows of a disk,
// which its catalog recreates), each with the file's current last-write
// time, and after each entry with a voice map, the map's path.
std::string ZubText(const PlaylistRowStore& rows, PlaylistFiles& files);

// Saving: while `titlesModified`, edited titles are written back first
// (problems reported in `problems`). False when the file could not be written.
bool SavePlaylistFile(PlaylistRowStore& rows, PlaylistFiles& files, const std::string& path, bool titlesModified,
                      std::vector<std::string>* problems);

// The visible rows as CSV, no header line.
std::string CsvText(const PlaylistRowStore& rows);
bool ExportCsv(const PlaylistRowStore& rows, PlaylistFiles& files, const std::string& path);

// "#EXTM3U", then "#EXTINF:seconds,title" and the path of every song row
// (disk songs included), paths relative to the list's folder where
// possible. UTF-8 for ".M3U8", the narrow code page otherwise.
std::string M3uText(const PlaylistRowStore& rows, const std::string& listPath, bool utf8);
bool ExportM3u(const PlaylistRowStore& rows, PlaylistFiles& files, const std::string& path);

}  // namespace playlist

#endif
