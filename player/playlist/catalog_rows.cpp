// Catalog disks as rows: the disk row and one song row per record.
#include "image_files.h"
#include "playlist_builder.h"
#include "song_paths.h"

namespace playlist {

uint32_t PlaylistBuilder::LoadCatalogDisk(const std::string& catalogPath)
{
    if (IsImageName(catalogPath))
        return LoadImageDisk(catalogPath);
    CatalogDisk disk;
    const bool listed = ReadCatalogDisk(files_, catalogPath, &disk);
    for (const std::string& problem : disk.problems) {
        if (disk.opened || disk.kind == CatalogKind::MusicDir)
            events_.Problem(problem);
    }
    if (!listed)
        return 0;
    // Songs loaded after a disk get a folder row of their own, never the disk's.
    ForgetLoadFolder();
    if (options.scan && !options.scan->duplicateDisks && rows_.FindText(ColName, disk.name) >= 0)
        return 0;

    const bool pianodir = disk.kind == CatalogKind::Pianodir;
    PlaylistRow row;
    row.kind = RowKind::Folder;
    row.text[ColPath] = catalogPath;
    row.text[ColName] = disk.name;
    row.text[ColTitle] = pianodir ? kPianodirFile : kMusicDirFile;
    row.titleColour = kColourRed;
    row.lengthColour = kColourRed;
    row.nameHint = catalogPath;
    if (!pianodir)
        row.icon = kIconPianoDoc;
    row.text[ColSortKey] = disk.name;
    int diskIndex = 0;
    const uint32_t diskId = InsertRow(PlaylistRowStore::kAppend, row, &diskIndex, pianodir);
    if (diskId == 0)
        return 0;

    MeasureCatalogSongs(files_, probe_, options.usePianodirLengths, &disk);
    int added = 0;
    for (const CatalogSong& song : disk.songs)
        added += AddCatalogSong(song, disk.name, diskIndex) != 0 ? 1 : 0;

    const bool dropped = options.scan && pianodir &&
                         (disk.ensemble ? !options.scan->eseqEnsemble : !options.scan->eseqSolo);
    if (dropped || (disk.opened && added == 0)) {
        RemoveGroup(diskIndex);
        return 0;
    }
    row = rows_.Read(diskIndex);
    if (pianodir)
        row.icon = !disk.opened ? kIconMissing : disk.ensemble ? kIconPianoPlus : kIconPiano;
    rows_.Write(diskIndex, row);
    if (!Loading())
        events_.TotalsChanged();
    return diskId;
}

uint32_t PlaylistBuilder::AddCatalogSong(const CatalogSong& song, const std::string& sortBase, int diskIndex)
{
    const uint32_t seconds = (song.ms + 500) / 1000;
    PlaylistRow row;
    row.kind = RowKind::Song;
    row.text[ColPath] = song.path;
    row.text[ColName] = song.file;
    row.text[ColTitle] = song.title;
    row.text[ColLength] = FormatLength(seconds);
    row.seconds = seconds;
    if (song.missing)
        row.icon = kIconMissing;
    row.text[ColSortKey] = TrimBlanks(sortBase);
    int at = 0;
    const uint32_t id = InsertRow(PlaylistRowStore::kAppend, row, &at, true);
    if (id == 0)
        return 0;
    events_.SecondsAdded(seconds);
    AddToFolder(diskIndex, seconds);
    if (!Loading())
        events_.TotalsChanged();
    return id;
}

void PlaylistBuilder::RemoveGroup(int folder)
{
    const PlaylistRow row = rows_.Read(folder);
    rows_.Remove(folder, GroupEnd(rows_, folder) - folder);
    if (row.seconds != 0)
        events_.SecondsAdded(-static_cast<int64_t>(row.seconds));
    if (!Loading())
        events_.TotalsChanged();
}

}  // namespace playlist
