// Loading playlist files (".ZUB", ".M3U", ".M3U8") through the adding routine.
#include <algorithm>
#include <cctype>
#include <cstring>

#include "playlist_builder.h"
#include "playlist_text.h"
#include "song_paths.h"

namespace playlist {

namespace {

// One spelling per file, for the guard against a playlist naming itself.
std::string LoadKey(const std::string& cwd, const std::string& path)
{
    std::string key = ResolvePath(cwd, path);
    for (char& c : key)
        c = c == '/' ? '\\' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return key;
}

// An entry's directory and name: split at the last separator, or a name
// taken from the current directory.
void EntryPlace(const std::string& path, const std::string& cwd, std::string* dir, std::string* name)
{
    SplitSongPath(path, dir, name);
    if (dir->empty() && !path.empty() && !IsAbsolutePath(path))
        *dir = cwd;
}

}  // namespace

uint32_t PlaylistBuilder::LoadPlaylistFile(const std::string& path)
{
    const std::string key = LoadKey(files_.CurrentDirectory(), path);
    if (std::find(loadStack_.begin(), loadStack_.end(), key) != loadStack_.end()) {
        events_.Problem(path + ": the playlist names itself (directly or through other playlists); "
                               "it is read once only");
        return 0;
    }
    std::vector<uint8_t> bytes;
    if (files_.Read(path, kReadWhole, &bytes) != FileResult::Ok) {
        events_.Problem(path + ": the playlist cannot be opened");
        if (!Loading())
            events_.TotalsChanged();
        return 0;
    }
    if (!Loading())
        ForgetLoadFolder();  // a new load starts a folder row of its own
    loadStack_.push_back(key);
    const std::string ext = ExtensionOf(path);
    uint32_t result = 0;
    if (SameTextNoCase(ext, "M3U") || SameTextNoCase(ext, "M3U8"))
        result = LoadM3u(path, bytes, SameTextNoCase(ext, "M3U8"));
    else
        result = LoadZub(path, bytes);
    loadStack_.pop_back();
    if (!Loading())
        events_.TotalsChanged();
    return result;
}

uint32_t PlaylistBuilder::LoadZub(const std::string& path, const std::vector<uint8_t>& bytes)
{
    if (std::find(bytes.begin(), bytes.end(), 0) != bytes.end())
        events_.Problem(path + ": the playlist holds bytes that are not text; the lines that could be read are listed");
    const std::vector<std::string> lines = SplitZubLines(bytes);
    const std::string cwd = files_.CurrentDirectory();
    uint32_t last = 0;
    size_t next = 0;
    std::string pending;
    bool havePending = false;
    while (havePending || next < lines.size()) {
        std::string line = havePending ? pending : lines[next++];
        havePending = false;
        if (line.size() <= 1)
            continue;
        if (line.back() == '\n')
            line.pop_back();
        // A voice map line with no entry before it (written by older
        // versions for a folder's map) names no song.
        if (line.find('\t') == std::string::npos && IsVoiceMapLine(line))
            continue;
        const ZubEntry entry = ParseZubEntry(line);
        std::string dir, name;
        EntryPlace(entry.path, cwd, &dir, &name);
        const uint32_t added = AddEntry(dir, name, entry.stored);
        if (added == 0)
            continue;
        last = added;
        if (next >= lines.size())
            break;
        std::string map = lines[next++];
        if (map.size() <= 1)
            continue;
        if (map.back() == '\n')
            map.pop_back();
        if (IsVoiceMapLine(map)) {
            if (map.find('\\') == std::string::npos && map.find('/') == std::string::npos)
                map = JoinSongPath(cwd, map);
            AttachVoiceMap(added, map);
        } else {
            pending = map;
            havePending = true;
        }
    }
    return last;
}

uint32_t PlaylistBuilder::LoadM3u(const std::string& path, const std::vector<uint8_t>& bytes, bool utf8)
{
    std::string listDir, listName;
    SplitSongPath(path, &listDir, &listName);
    if (listDir.empty())
        listDir = files_.CurrentDirectory();
    uint32_t last = 0;
    for (const M3uEntry& entry : ParseM3u(bytes, utf8)) {
        const std::string songPath = ResolvePath(listDir, entry.path);
        StoredEntry stored;
        if (entry.hasSeconds && entry.seconds >= 0) {
            stored.hasLength = true;
            stored.length = FormatLength(entry.seconds > 0x7FFFFFFF ? 0x7FFFFFFFu : static_cast<uint32_t>(entry.seconds));
        }
        stored.hasTitle = !entry.title.empty();
        stored.title = entry.title;
        std::string dir, name;
        SplitSongPath(songPath, &dir, &name);
        const uint32_t added = AddEntry(dir, name, stored);
        if (added != 0)
            last = added;
    }
    return last;
}

}  // namespace playlist
