// The text of playlist files, read and written without any file access.
//
// ".ZUB": one entry a line, four fields separated by tabs (path, length
// "%02d:%02d:%02d", title, the file's last-write time
// "%d/%d/%d %d:%02d:%02d"), lines ended by CR LF; after an entry, an
// optional line with the full path of a voice map file (".MAP"). Lines are
// read 519 characters at a time, as through a 520-byte buffer: a longer line
// is split and its rest read as the next line.
//
// ".M3U" / ".M3U8": "#EXTM3U", then per song "#EXTINF:seconds,title" and its
// path, relative to the list where possible. ".M3U" is in the system's
// narrow code page, ".M3U8" in UTF-8.
#ifndef ZUB_PLAYLIST_PLAYLIST_TEXT_H
#define ZUB_PLAYLIST_PLAYLIST_TEXT_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "playlist_builder.h"

namespace playlist {

constexpr size_t kZubLineBuffer = 520;

// The lines as the reader takes them: CR LF read as LF, at most 519
// characters each with the LF kept, a line ending at a zero byte.
std::vector<std::string> SplitZubLines(const std::vector<uint8_t>& bytes);

// An entry line (its LF removed): the path and the fields present.
struct ZubEntry {
    std::string path;
    StoredEntry stored;
};
ZubEntry ParseZubEntry(const std::string& line);

// A voice map line: its extension is ".MAP" (letter case ignored).
bool IsVoiceMapLine(const std::string& line);

// The entry line for a row, ending in CR LF. Tabs in the title become
// spaces, and the title is cut so that the line fits the reader's buffer.
std::string ZubEntryLine(const std::string& path, const std::string& length, const std::string& title,
                         const std::string& stamp);

// One song of an M3U list: the path as written and what "#EXTINF" said.
struct M3uEntry {
    std::string path;
    bool hasSeconds = false;
    long long seconds = -1;
    std::string title;
};
// Lines are converted from UTF-8 to the narrow code page when `utf8`.
// Comment lines other than "#EXTINF", blank lines and URLs are skipped.
std::vector<M3uEntry> ParseM3u(const std::vector<uint8_t>& bytes, bool utf8);

// The CSV line of a row: disk rows "name",,"length","path"; all others
// "name","title","length","path"; double quotes doubled; CR LF.
std::string CsvLine(const PlaylistRow& row);

}  // namespace playlist

#endif
