// zubcli's playlist commands: `title` (read or write a song's title),
// `catalog` (a disk catalog as the playlist lists it) and `playlist` (list
// or convert a ".ZUB", ".M3U" or ".M3U8" playlist).
#ifndef ZUB_TOOLS_ZUBCLI_PLAYLIST_COMMANDS_H
#define ZUB_TOOLS_ZUBCLI_PLAYLIST_COMMANDS_H

#include <ostream>
#include <string>
#include <vector>

extern const char kPlaylistUsage[];

// Exit status as RunZubcli: 0 success, 1 usage error, 2 a file problem.
int RunTitleCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunCatalogCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunPlaylistCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// A JSON string literal of narrow text (UTF-8 on output; bytes that are not
// UTF-8 are taken as Latin-1).
std::string JsonString(const std::string& text);

#endif
