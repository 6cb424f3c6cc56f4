#include "catalog_disk.h"

#include "length_probe.h"
#include "musicdir.h"
#include "pianodir.h"
#include "playlist_files.h"
#include "playlist_row.h"
#include "song_paths.h"

namespace playlist {

namespace {

const char kNameMdaFile[] = "Name.mda";

std::string RowTitle(const std::string& raw)
{
    return TrimBlanks(CollapseSpaces(raw));
}

std::string WithoutTrailingBlanks(std::string text)
{
    const size_t last = text.find_last_not_of(" \t");
    text.resize(last == std::string::npos ? 0 : last + 1);
    return text;
}

void AddSong(CatalogDisk* disk, const std::string& file, const std::string& title)
{
    CatalogSong song;
    song.file = TrimBlanks(file);
    song.path = JoinSongPath(disk->directory, file);
    song.title = RowTitle(title);
    disk->songs.push_back(song);
}

void ReadPianodir(const std::vector<uint8_t>& catalog, CatalogDisk* disk)
{
    if (catalog.size() < eseq::kPianodirLayoutSize) {
        disk->problems.push_back(disk->catalogPath + ": the catalog ends after " + std::to_string(catalog.size()) +
                                 " of its " + std::to_string(eseq::kPianodirLayoutSize) +
                                 " bytes; the rest is read as zero");
    }
    disk->name = TrimBlanks(eseq::PianodirDiskTitle(catalog));
    const int count = eseq::PianodirSongCount(catalog);
    for (int k = 0; k < count; ++k) {
        const eseq::PianodirRecord record = eseq::PianodirRecordAt(catalog, k);
        AddSong(disk, record.file, record.title);
        disk->songs.back().tempoByte = record.tempoByte;
        disk->songs.back().lengthTicks = record.lengthTicks;
        disk->ensemble = disk->ensemble || record.ensemble;
    }
}

void ReadMusicDirWithNames(PlaylistFiles& files, const std::vector<uint8_t>& catalog, CatalogDisk* disk)
{
    const MusicDirCatalog music = ReadMusicDir(catalog);
    disk->name = WithoutTrailingBlanks(music.diskTitle);
    if (static_cast<int>(music.records.size()) < music.count) {
        disk->problems.push_back(disk->catalogPath + ": the catalog lists " + std::to_string(music.count) +
                                 " songs but holds only " + std::to_string(music.records.size()));
    }
    std::vector<uint8_t> names;
    const bool haveNames =
        files.Read(JoinSongPath(disk->directory, kNameMdaFile), kReadWhole, &names) == FileResult::Ok;
    for (size_t k = 0; k < music.records.size(); ++k) {
        std::string title;
        if (!haveNames || !NameMdaTitle(names, static_cast<int>(k), &title))
            title = music.records[k].shortTitle;
        AddSong(disk, music.records[k].file, title);
    }
}

}  // namespace

CatalogKind CatalogKindOf(const std::string& fileName)
{
    const std::string name = LastPathComponent(fileName);
    if (SameTextNoCase(name, kPianodirFile))
        return CatalogKind::Pianodir;
    if (SameTextNoCase(name, kMusicDirFile))
        return CatalogKind::MusicDir;
    return CatalogKind::None;
}

std::string CatalogInFolder(PlaylistFiles& files, const std::string& folder)
{
    for (const char* name : {kPianodirFile, kMusicDirFile}) {
        const std::string path = JoinSongPath(folder, name);
        FileFacts facts;
        if (files.Facts(path, &facts))
            return path;
    }
    return std::string();
}

bool ReadCatalogDisk(PlaylistFiles& files, const std::string& catalogPath, CatalogDisk* disk)
{
    *disk = CatalogDisk();
    disk->kind = CatalogKindOf(catalogPath);
    disk->catalogPath = catalogPath;
    std::string name;
    SplitSongPath(catalogPath, &disk->directory, &name);
    if (disk->kind == CatalogKind::None)
        return false;
    std::vector<uint8_t> catalog;
    disk->opened = files.Read(catalogPath, kReadWhole, &catalog) == FileResult::Ok;
    if (!disk->opened) {
        disk->problems.push_back(catalogPath + ": the catalog cannot be opened");
        if (disk->kind == CatalogKind::MusicDir)
            return false;
        disk->name = LastPathComponent(disk->directory);
        return true;
    }
    if (disk->kind == CatalogKind::Pianodir)
        ReadPianodir(catalog, disk);
    else
        ReadMusicDirWithNames(files, catalog, disk);
    if (disk->name.empty() && disk->kind == CatalogKind::Pianodir)
        disk->name = LastPathComponent(disk->directory);
    return true;
}

void MeasureCatalogSongs(PlaylistFiles& files, LengthProbe* probe, bool usePianodirLengths, CatalogDisk* disk)
{
    const bool fromRecords = usePianodirLengths && disk->kind == CatalogKind::Pianodir;
    for (CatalogSong& song : disk->songs) {
        FileFacts facts;
        song.missing = !files.Facts(song.path, &facts);
        if (fromRecords)
            song.ms = eseq::PianodirLengthMs(song.tempoByte, song.lengthTicks);
        else
            song.ms = song.missing ? 0 : MeasureSong(probe, files, song.path) / 1000 * 1000;
    }
}

}  // namespace playlist
