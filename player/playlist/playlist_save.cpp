#include "playlist_save.h"

#include "playlist_files.h"
#include "playlist_text.h"
#include "row_store.h"
#include "song_paths.h"
#include "text_codec.h"
#include "title_writeback.h"

namespace playlist {

namespace {

bool WriteText(PlaylistFiles& files, const std::string& path, const std::string& text)
{
    return files.Write(path, std::vector<uint8_t>(text.begin(), text.end())) == FileResult::Ok;
}

}  // namespace

std::string ZubText(const PlaylistRowStore& rows, PlaylistFiles& files)
{
    std::string text;
    const int count = rows.Count();
    for (int i = 0; i < count; ++i) {
        const PlaylistRow row = rows.Read(i);
        if (row.icon == kIconFolder)
            continue;  // reading the songs back recreates their folder rows
        std::string stamp;
        files.TimeStamp(row.Path(), &stamp);
        text += ZubEntryLine(row.Path(), row.text[ColLength], row.Title(), stamp);
        if (!row.text[ColVoiceMap].empty())
            text += row.text[ColVoiceMap] + "\r\n";
        if (row.IsDisk())
            i = GroupEnd(rows, i) - 1;
    }
    return text;
}

bool SavePlaylistFile(PlaylistRowStore& rows, PlaylistFiles& files, const std::string& path, bool titlesModified,
                      std::vector<std::string>* problems)
{
    if (titlesModified)
        SaveSongTitles(rows, files, problems);
    return WriteText(files, path, ZubText(rows, files));
}

std::string CsvText(const PlaylistRowStore& rows)
{
    std::string text;
    const int count = rows.Count();
    for (int i = 0; i < count; ++i) {
        const PlaylistRow row = rows.Read(i);
        if (!row.hidden)
            text += CsvLine(row);
    }
    return text;
}

bool ExportCsv(const PlaylistRowStore& rows, PlaylistFiles& files, const std::string& path)
{
    return WriteText(files, path, CsvText(rows));
}

std::string M3uText(const PlaylistRowStore& rows, const std::string& listPath, bool utf8)
{
    std::string listDir, listName;
    SplitSongPath(listPath, &listDir, &listName);
    std::string text = "#EXTM3U\r\n";
    const int count = rows.Count();
    for (int i = 0; i < count; ++i) {
        const PlaylistRow row = rows.Read(i);
        if (row.IsFolder())
            continue;
        std::string title = row.Title();
        if (title.empty()) {
            title = row.Name();
            const size_t dot = title.rfind('.');
            if (dot != std::string::npos && dot > 0)
                title.resize(dot);
        }
        const std::string path = listDir.empty() ? row.Path() : RelativePath(listDir, row.Path());
        std::string entry = "#EXTINF:" + std::to_string(row.seconds) + "," + title + "\r\n" + path + "\r\n";
        text += utf8 ? NarrowToUtf8(entry) : entry;
    }
    return text;
}

bool ExportM3u(const PlaylistRowStore& rows, PlaylistFiles& files, const std::string& path)
{
    const bool utf8 = SameTextNoCase(ExtensionOf(path), "M3U8");
    return WriteText(files, path, M3uText(rows, path, utf8));
}

}  // namespace playlist
