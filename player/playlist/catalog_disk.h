// A catalog disk as the playlist lists it: the disk row's name and the song
// rows' files, titles and lengths, read from "Pianodir.fil" (ESEQ disks) or
// "Music.dir" with "Name.mda" (Disk Orchestra disks) through PlaylistFiles.
// Reading is split in two so that a scan can reject a duplicate disk
// before any song is measured.
#ifndef ZUB_PLAYLIST_CATALOG_DISK_H
#define ZUB_PLAYLIST_CATALOG_DISK_H

#include <cstdint>
#include <string>
#include <vector>

namespace playlist {

class LengthProbe;
class PlaylistFiles;

enum class CatalogKind { None, Pianodir, MusicDir };

// "Pianodir.fil" or "Music.dir" by the file name (letter case ignored).
CatalogKind CatalogKindOf(const std::string& fileName);

// The catalog that makes a folder a disk: its "Pianodir.fil", else its
// "Music.dir"; empty when it holds neither.
std::string CatalogInFolder(PlaylistFiles& files, const std::string& folder);

struct CatalogSong {
    std::string file;   // from the record
    std::string path;   // the disk's directory and the file
    std::string title;  // runs of spaces collapsed, blanks and tabs trimmed
    uint32_t ms = 0;    // the length the row gets
    bool missing = false;
    // Read from the record; used to measure.
    int tempoByte = 0;
    uint32_t lengthTicks = 0;
};

struct CatalogDisk {
    CatalogKind kind = CatalogKind::None;
    std::string catalogPath;
    std::string directory;  // the catalog path without its file name
    bool opened = false;    // false: a "Pianodir.fil" disk shown "Missing"
    std::string name;       // the disk row's ColName
    bool ensemble = false;  // any L/R ensemble song
    std::vector<CatalogSong> songs;
    std::vector<std::string> problems;  // what was damaged or missing
};

// Reads the catalog and its records (titles, files). False when there is
// nothing to list: a "Music.dir" that cannot be opened, or a name that is
// neither catalog. A "Pianodir.fil" that cannot be opened still gives a disk
// (opened false, named after its directory, no songs).
bool ReadCatalogDisk(PlaylistFiles& files, const std::string& catalogPath, CatalogDisk* disk);

// Fills each song's length and whether its file is missing: from the
// "Pianodir.fil" record with `usePianodirLengths`, otherwise measured and
// rounded down to whole seconds.
void MeasureCatalogSongs(PlaylistFiles& files, LengthProbe* probe, bool usePianodirLengths, CatalogDisk* disk);

}  // namespace playlist

#endif
