// PlaylistBuilder: the one routine that adds entries to a playlist, used
// by Add, drop, paste, playlist files, catalogs and the directory scan, and
// the loaders built on it (".ZUB", ".M3U"/".M3U8", "Pianodir.fil",
// "Music.dir").
//
// It works on rows only through a PlaylistRowStore, on files only through
// PlaylistFiles, measures songs with a LengthProbe, and tells its owner
// what changed through PlaylistEvents. The playlist window owns one builder
// for as long as it lives (it remembers the folder of the last song loaded).
#ifndef ZUB_PLAYLIST_PLAYLIST_BUILDER_H
#define ZUB_PLAYLIST_PLAYLIST_BUILDER_H

#include <cstdint>
#include <string>
#include <vector>

#include "catalog_disk.h"
#include "length_probe.h"
#include "playlist_files.h"
#include "row_store.h"

namespace playlist {

// What a playlist file says about an entry, each field only when present.
struct StoredEntry {
    bool hasLength = false, hasTitle = false, hasStamp = false;
    std::string length;  // "%02d:%02d:%02d"
    std::string title;
    std::string stamp;   // the file's last-write time when it was saved
};

// The options of "Build Playlist from Directory Tree" that the adding
// routine applies while a scan runs.
struct ScanFilter {
    bool docFiles = true;        // "Disk Orchestra (DOC) files"
    bool eseqSolo = true;        // "ESEQ Solo (i.e. PianoSoft)"
    bool eseqEnsemble = true;    // "ESEQ L/R, Ensamble (i.e. PianoSoft Plus)"
    bool midiFiles = true;       // "MIDI Files (*.MID, *.RMI)"
    bool karaokeFiles = true;    // "Karaoke Files (*.KAR)"
    bool blankTitles = true;     // "Blank or Empty Titles"
    bool duplicateSongs = true;  // "Duplicate Songs"
    bool duplicateDisks = false; // "Duplicate Disks"
    // Only songs without a title are collected.
    bool BlankTitlesOnly() const
    {
        return blankTitles && !docFiles && !eseqSolo && !eseqEnsemble && !midiFiles && !karaokeFiles;
    }
};

struct EntryOptions {
    bool usePianodirLengths = false;  // "&Use Pianodir for Song Length"
    const ScanFilter* scan = nullptr; // set while a directory scan runs
};

// What the owner hears. Every call has a default that does nothing.
class PlaylistEvents {
public:
    virtual ~PlaylistEvents() = default;
    // TotalSeconds changes by `seconds` (negative when rows went away).
    virtual void SecondsAdded(int64_t seconds) { (void)seconds; }
    // Rows were added outside a playlist load, or a load ended: recount the
    // totals and refresh the current-disk status parts.
    virtual void TotalsChanged() {}
    // An insertion brings the row count to the grid's limit:
    // "Playlist grid overflow. MaxRows = %d." with `rows`.
    virtual void Overflow(int rows) { (void)rows; }
    // A playlist or catalog that is damaged or cannot be read, with what
    // was wrong; the rows that could be read are still added.
    virtual void Problem(const std::string& text) { (void)text; }
};

class PlaylistBuilder {
public:
    PlaylistBuilder(PlaylistRowStore& rows, PlaylistFiles& files, LengthProbe* probe, PlaylistEvents* events = nullptr);

    EntryOptions options;

    // Adding an entry: a ".ZUB", ".M3U" or ".M3U8" playlist is loaded and
    // merged; "Pianodir.fil" and "Music.dir" add their disk; anything else is
    // a song. Returns the row id of the row added (for a playlist, of its
    // last entry; for a catalog, of the disk row), 0 when nothing was added.
    uint32_t AddEntry(const std::string& dir, const std::string& name, const StoredEntry& stored = StoredEntry());

    // A directory folder row at the end. Returns its id, 0 when refused.
    uint32_t AddFolderRow(const std::string& dir, const std::string& icon);

    // Playlist files; the kind follows the extension (".M3U", ".M3U8",
    // anything else is read as ".ZUB"). A playlist that names itself,
    // directly or through others, is read once only.
    uint32_t LoadPlaylistFile(const std::string& path);

    // Catalog disks ("Pianodir.fil" or "Music.dir", by name), or a floppy
    // image (".IMG", ".IMA") given in their place.
    uint32_t LoadCatalogDisk(const std::string& catalogPath);

    // A floppy image as a disk: its catalog read from inside it, or, on an
    // image without one, its song files listed as folders. The files must
    // be read through image-aware PlaylistFiles. Returns the id of the disk
    // row or of the last song row, 0 when nothing was added.
    uint32_t LoadImageDisk(const std::string& imagePath);

    // Attaches a voice map file to a row (the ".MAP" line of a playlist).
    void AttachVoiceMap(uint32_t rowId, const std::string& mapPath);

    // True while a playlist file is being loaded.
    bool Loading() const { return loadStack_.size() > 0; }

private:
    uint32_t AddSong(const std::string& dir, const std::string& name, const StoredEntry& stored);
    uint32_t LoadZub(const std::string& path, const std::vector<uint8_t>& bytes);
    uint32_t LoadM3u(const std::string& path, const std::vector<uint8_t>& bytes, bool utf8);
    uint32_t AddCatalogSong(const CatalogSong& song, const std::string& sortBase, int diskIndex);
    bool Rejected(const std::string& path, const std::string& title, const std::string& name);
    bool IsDuplicate(const std::string& path, const std::string& title, const std::string& name);
    void RemoveGroup(int folder);
    // Inserts with the overflow check; 0 when the store refused the row.
    // `at` receives the row's index.
    uint32_t InsertRow(int index, const PlaylistRow& row, int* at, bool idInSortKey);
    void AddToFolder(int folder, uint32_t seconds);
    void ForgetLoadFolder();
    // The folder row whose ColPath is `dir`, or -1.
    int FindFolderRow(const std::string& dir);

    PlaylistRowStore& rows_;
    PlaylistFiles& files_;
    LengthProbe* probe_;
    PlaylistEvents none_;
    PlaylistEvents& events_;
    std::vector<std::string> loadStack_;  // playlist files being loaded, outermost first
    std::string loadFolderDir_;           // the folder of the last song loaded
    int loadFolderIndex_ = -1;            // its folder row, when known
    std::string addFolderDir_;            // the folder of the last song added otherwise
    uint32_t addFolderId_ = 0;            // its folder row (the row may have gone since)
};

// The title the playlist shows for a song file's bytes: the MIDI title
// reader for ".MID", ".RMI" and ".KAR", the ESEQ title reader for ESEQ
// songs, and none for anything else.
std::string SongTitleFromImage(const std::string& fileName, const std::vector<uint8_t>& bytes);

// The same for a file; false when it cannot be read.
bool ReadSongTitle(PlaylistFiles& files, const std::string& path, std::string* title);

}  // namespace playlist

#endif
