// Text between the program's narrow code page (the Windows ANSI code page;
// on other hosts their own narrow encoding, UTF-8) and UTF-8, for ".M3U8"
// playlists. A character that has no narrow form becomes '?'.
#ifndef ZUB_PLAYLIST_TEXT_CODEC_H
#define ZUB_PLAYLIST_TEXT_CODEC_H

#include <string>

namespace playlist {

std::string NarrowToUtf8(const std::string& text);
std::string Utf8ToNarrow(const std::string& text);

}  // namespace playlist

#endif
