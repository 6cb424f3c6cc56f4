// zubcli title, catalog and playlist.
#include "playlist_commands.h"

#include <cstdio>

#include "catalog_disk.h"
#include "eseq_commands.h"
#include "image_files.h"
#include "length_probe.h"
#include "playlist_builder.h"
#include "playlist_files.h"
#include "playlist_save.h"
#include "row_store.h"
#include "song_paths.h"
#include "text_codec.h"
#include "title_writeback.h"

using namespace playlist;

const char kPlaylistUsage[] =
    "       zubcli title [--set TEXT] FILE\n"
    "       zubcli catalog [--json] [--catalog-lengths] PATH\n"
    "       zubcli playlist [--json] FILE.ZUB|FILE.M3U|FILE.M3U8\n"
    "       zubcli playlist --export OUT.{csv,m3u,m3u8,zub} FILE\n";

namespace {

int Usage(std::ostream& err, const std::string& command, const std::string& problem)
{
    return OptionError(err, command + ": " + problem);
}

std::string Bool(bool value)
{
    return value ? "true" : "false";
}

std::string Column(const std::string& text, size_t width)
{
    return text.size() >= width ? text + " " : text + std::string(width - text.size(), ' ');
}

}  // namespace

void ReportingEvents::Problem(const std::string& text)
{
    err_ << "zubcli: " << HostPath(text.c_str()) << "\n";
}

void ReportingEvents::Overflow(int rows)
{
    err_ << "zubcli: Playlist grid overflow. MaxRows = " << rows << ".\n";
}

std::string JsonString(const std::string& narrow)
{
    const std::string text = NarrowToUtf8(narrow);
    std::string out = "\"";
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        char escape[8];
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            out += escape;
        } else if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            // A whole UTF-8 sequence is kept; any other byte is Latin-1.
            const size_t length = c >= 0xF0 && c < 0xF5 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 && c < 0xE0 ? 2 : 0;
            bool whole = length > 0 && i + length <= text.size();
            for (size_t k = 1; whole && k < length; ++k)
                whole = (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80;
            if (whole) {
                out.append(text, i, length);
                i += length - 1;
            } else {
                std::snprintf(escape, sizeof escape, "\\u%04x", c);
                out += escape;
            }
        }
    }
    return out + "\"";
}

// ---- title ------------------------------------------------------------------

int RunTitleCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    std::string path, text;
    bool set = false;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--set") {
            if (i + 1 >= args.size())
                return Usage(err, "title", "--set needs a title");
            set = true;
            text = args[++i];
        } else if (args[i].size() > 1 && args[i][0] == '-') {
            return Usage(err, "title", "unknown option " + args[i]);
        } else if (path.empty()) {
            path = args[i];
        } else {
            return Usage(err, "title", "one file only");
        }
    }
    if (path.empty())
        return Usage(err, "title", "no file");
    ImagePlaylistFiles files;
    if (!set) {
        std::string title;
        if (!ReadSongTitle(files, path, &title)) {
            err << "zubcli: " << path << ": cannot be read\n";
            return 2;
        }
        out << title << "\n";
        return 0;
    }
    const TitleWriteResult result = WriteSongTitle(files, path, text);
    if (result.status != TitleWrite::Written) {
        err << "zubcli: " << result.message << "\n";
        for (const std::string& refused : files.TakeProblems())
            err << "zubcli: " << refused << "\n";
        return 2;
    }
    if (result.cut) {
        std::string title;
        ReadSongTitle(files, path, &title);
        err << "zubcli: " << path << ": the title was cut to what the file can hold: " << title << "\n";
    }
    return 0;
}

// ---- catalog ----------------------------------------------------------------

namespace {

// The catalog named by PATH: the file itself, or "Pianodir.fil" (else
// "Music.dir") in the folder or floppy image PATH.
std::string CatalogPathFor(PlaylistFiles& files, const std::string& path)
{
    return CatalogKindOf(path) != CatalogKind::None ? path : CatalogInFolder(files, path);
}

std::string CatalogJson(const CatalogDisk& disk)
{
    std::string json = "{\"catalog\":" + JsonString(LastPathComponent(disk.catalogPath));
    json += ",\"disk_title\":" + JsonString(disk.name);
    json += ",\"ensemble\":" + Bool(disk.ensemble);
    json += ",\"songs\":[";
    for (size_t i = 0; i < disk.songs.size(); ++i) {
        const CatalogSong& song = disk.songs[i];
        json += i ? "," : "";
        json += "{\"file\":" + JsonString(song.file) + ",\"title\":" + JsonString(song.title) +
                ",\"length_ms\":" + std::to_string(song.ms) + ",\"missing\":" + Bool(song.missing) + "}";
    }
    return json + "]}\n";
}

std::string CatalogTable(const CatalogDisk& disk)
{
    std::string text = LastPathComponent(disk.catalogPath) + ": " + disk.name;
    if (disk.kind == CatalogKind::Pianodir)
        text += disk.ensemble ? " (L/R ensemble)" : " (solo)";
    text += ", " + std::to_string(disk.songs.size()) + " song" + (disk.songs.size() == 1 ? "" : "s") + "\n";
    for (const CatalogSong& song : disk.songs) {
        text += "  " + Column(song.file, 13) + FormatLength((song.ms + 500) / 1000) + "  " + song.title;
        text += song.missing ? "  [Missing]\n" : "\n";
    }
    return text;
}

}  // namespace

int RunCatalogCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    bool json = false, catalogLengths = false;
    std::string path;
    for (const std::string& a : args) {
        if (a == "--json")
            json = true;
        else if (a == "--catalog-lengths")
            catalogLengths = true;
        else if (a.size() > 1 && a[0] == '-')
            return Usage(err, "catalog", "unknown option " + a);
        else if (path.empty())
            path = a;
        else
            return Usage(err, "catalog", "one catalog only");
    }
    if (path.empty())
        return Usage(err, "catalog", "no catalog");
    ImagePlaylistFiles files;
    const std::string catalogPath = CatalogPathFor(files, path);
    if (catalogPath.empty()) {
        err << "zubcli: " << path << ": no \"Pianodir.fil\" or \"Music.dir\" there\n";
        return 2;
    }
    std::string inner, imagePath;
    const floppy::FloppyImage* image = files.ImageOf(catalogPath, &inner, &imagePath);
    if (image && !image->IsClean())
        err << "zubcli: " << imagePath << ": damaged image: " << image->Damage() << "\n";
    CatalogDisk disk;
    if (!ReadCatalogDisk(files, catalogPath, &disk) || !disk.opened) {
        err << "zubcli: " << catalogPath << ": the catalog cannot be opened\n";
        return 2;
    }
    for (const std::string& problem : disk.problems)
        err << "zubcli: " << HostPath(problem.c_str()) << "\n";
    SequencerLengthProbe probe;
    MeasureCatalogSongs(files, &probe, catalogLengths, &disk);
    out << (json ? CatalogJson(disk) : CatalogTable(disk));
    return 0;
}

// ---- playlist ----------------------------------------------------------------

namespace {

std::string RowJson(const PlaylistRow& row)
{
    std::string json = "{\"kind\":" + JsonString(row.IsFolder() ? "folder" : "song");
    json += ",\"icon\":" + JsonString(row.icon);
    json += ",\"name\":" + JsonString(row.Name());
    json += ",\"title\":" + JsonString(row.Title());
    json += ",\"length\":" + JsonString(row.text[ColLength]);
    json += ",\"seconds\":" + std::to_string(row.seconds);
    json += ",\"path\":" + JsonString(row.Path());
    json += ",\"voice_map\":" + JsonString(row.text[ColVoiceMap]);
    json += ",\"map_name\":" + JsonString(row.text[ColMapName]);
    json += ",\"missing\":" + Bool(row.icon == kIconMissing);
    return json + "}";
}

}  // namespace

std::string PlaylistRowsJson(const std::string& key, const std::string& value, const VectorRowStore& rows,
                             const std::string& extraFields)
{
    int folders = 0, songs = 0;
    uint64_t seconds = 0;
    std::string list;
    for (const PlaylistRow& row : rows.Rows()) {
        list += list.empty() ? "" : ",";
        list += RowJson(row);
        folders += row.IsFolder() ? 1 : 0;
        songs += row.IsFolder() ? 0 : 1;
        seconds += row.IsFolder() ? 0 : row.seconds;
    }
    return "{" + JsonString(key) + ":" + JsonString(value) + ",\"folders\":" + std::to_string(folders) +
           ",\"songs\":" + std::to_string(songs) + ",\"total_seconds\":" + std::to_string(seconds) + extraFields +
           ",\"rows\":[" + list + "]}\n";
}

// As the window shows them: folders with their icon, songs indented below.
std::string PlaylistRowsTable(const VectorRowStore& rows)
{
    std::string text;
    int folders = 0, songs = 0;
    uint32_t seconds = 0;
    for (const PlaylistRow& row : rows.Rows()) {
        std::string name = row.IsFolder() ? row.Name() + " [" + row.icon + "]" : "    " + row.Name();
        if (!row.IsFolder() && row.icon == kIconMissing)
            name += " [Missing]";
        std::string line = Column(name, 30) + Column(row.Title(), 34) + row.text[ColLength];
        if (!row.text[ColMapName].empty())
            line += "  " + row.text[ColMapName];
        text += line + "\n";
        folders += row.IsFolder() ? 1 : 0;
        songs += row.IsFolder() ? 0 : 1;
        seconds += row.IsFolder() ? 0 : row.seconds;
    }
    return text + std::to_string(songs) + " song" + (songs == 1 ? "" : "s") + " in " + std::to_string(folders) +
           " folder" + (folders == 1 ? "" : "s") + ", " + FormatLength(seconds) + "\n";
}

namespace {

int Export(VectorRowStore& rows, PlaylistFiles& files, const std::string& target, std::ostream& err)
{
    const std::string ext = ExtensionOf(target);
    bool written = false;
    if (SameTextNoCase(ext, "CSV")) {
        written = ExportCsv(rows, files, target);
    } else if (SameTextNoCase(ext, "M3U") || SameTextNoCase(ext, "M3U8")) {
        written = ExportM3u(rows, files, target);
    } else if (SameTextNoCase(ext, "ZUB")) {
        std::vector<std::string> problems;
        written = SavePlaylistFile(rows, files, target, false, &problems);
    } else {
        err << "zubcli: playlist: --export writes .csv, .m3u, .m3u8 or .zub files\n";
        return 1;
    }
    if (!written) {
        err << "zubcli: " << target << ": cannot be written\n";
        return 2;
    }
    return 0;
}

}  // namespace

int RunPlaylistCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    bool json = false;
    std::string path, target;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--json") {
            json = true;
        } else if (args[i] == "--export") {
            if (i + 1 >= args.size())
                return Usage(err, "playlist", "--export needs a file");
            target = args[++i];
        } else if (args[i].size() > 1 && args[i][0] == '-') {
            return Usage(err, "playlist", "unknown option " + args[i]);
        } else if (path.empty()) {
            path = args[i];
        } else {
            return Usage(err, "playlist", "one playlist only");
        }
    }
    if (path.empty())
        return Usage(err, "playlist", "no playlist");
    ImagePlaylistFiles files;
    std::vector<uint8_t> probeBytes;
    if (files.Read(path, 1, &probeBytes) != FileResult::Ok) {
        err << "zubcli: " << path << ": cannot be opened\n";
        return 2;
    }
    VectorRowStore rows;
    SequencerLengthProbe probe;
    ReportingEvents events(err);
    PlaylistBuilder builder(rows, files, &probe, &events);
    builder.LoadPlaylistFile(path);
    if (!target.empty())
        return Export(rows, files, target, err);
    out << (json ? PlaylistRowsJson("playlist", LastPathComponent(path), rows) : PlaylistRowsTable(rows));
    return 0;
}
