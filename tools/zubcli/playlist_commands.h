// zubcli's playlist commands: `title` (read or write a song's title),
// `catalog` (a disk catalog as the playlist lists it), `playlist` (list
// or convert a ".ZUB", ".M3U" or ".M3U8" playlist) and `build` (what
// "Build Playlist from Directory Tree" would add).
#ifndef ZUB_TOOLS_ZUBCLI_PLAYLIST_COMMANDS_H
#define ZUB_TOOLS_ZUBCLI_PLAYLIST_COMMANDS_H

#include <ostream>
#include <string>
#include <vector>

#include "playlist_builder.h"
#include "row_store.h"

extern const char kPlaylistUsage[];
extern const char kBuildUsage[];

// Exit status as RunZubcli: 0 success, 1 usage error, 2 a file problem.
int RunTitleCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunCatalogCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunPlaylistCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunBuildCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// A JSON string literal of narrow text (UTF-8 on output; bytes that are not
// UTF-8 are taken as Latin-1).
std::string JsonString(const std::string& text);

// Rows as `playlist` lists them, shared with `build`: the table with its
// totals line, and the JSON object {"<key>": value, "folders", "songs",
// "total_seconds", <extra fields>, "rows": [...]}.
std::string PlaylistRowsTable(const playlist::VectorRowStore& rows);
std::string PlaylistRowsJson(const std::string& key, const std::string& value, const playlist::VectorRowStore& rows,
                             const std::string& extraFields = std::string());

// Problems and the overflow message of the adding routine, on the error stream.
class ReportingEvents : public playlist::PlaylistEvents {
public:
    explicit ReportingEvents(std::ostream& err) : err_(err) {}
    void Problem(const std::string& text) override;
    void Overflow(int rows) override;

private:
    std::ostream& err_;
};

#endif
