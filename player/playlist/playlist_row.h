// The playlist's rows. The playlist keeps no list of its own: every entry
// is a row of the grid in the playlist window (zubcli keeps them in a
// vector). A PlaylistRow is the logical record of one row: seven column
// texts plus the row properties and the few cell attributes the playlist
// reads and writes.
//
// Folder rows (a directory, or a catalog disk) are each followed by their
// song rows; a folder's songs are the song rows up to the next folder row.
#ifndef ZUB_PLAYLIST_PLAYLIST_ROW_H
#define ZUB_PLAYLIST_PLAYLIST_ROW_H

#include <array>
#include <cstdint>
#include <string>

namespace playlist {

enum PlaylistColumn {
    ColPath = 0,      // hidden: song path; folder path; a disk's catalog path
    ColVoiceMap = 1,  // hidden: attached voice map file
    ColSortKey = 2,   // hidden: sort key (ends in the row id)
    ColName = 3,      // file name; folder or disk name; shows the row's icon
    ColTitle = 4,     // song title (editable); "Pianodir.fil" / "Music.dir" for disks
    ColLength = 5,    // "%02d:%02d:%02d"; a folder's total
    ColMapName = 6,   // voice map's file title
    kColumnCount = 7,
};

// Row property 0x1310.
enum class RowKind : int { Folder = 0, Song = 1 };

// Icon alias names; they are also the kind words.
extern const char kIconFolder[];     // "Folder"
extern const char kIconPiano[];      // "Piano": ESEQ disk, all songs solo
extern const char kIconPianoPlus[];  // "Piano+": ESEQ disk with an L/R ensemble song
extern const char kIconPianoDoc[];   // "PianoDoc": Disk Orchestra disk
extern const char kIconMissing[];    // "Missing": no such song file, or no catalog
// "Keys0" ... "Keys4": the playing song's animation (n from 0 to 4).
std::string PlayingIcon(int n);

// Colour names the playlist gives cells.
extern const char kColourRed[];       // folder rows' title and length
extern const char kColourMagenta[];   // an edited title not yet written back
extern const char kColourDarkBlue[];  // the title column's own colour
extern const char kColourDarkGreen[]; // the length column's own colour

// Catalog file names, which a disk row's ColTitle holds.
extern const char kPianodirFile[];  // "Pianodir.fil"
extern const char kMusicDirFile[];  // "Music.dir"

struct PlaylistRow {
    uint32_t id = 0;  // row id given by the store (property 0x1313); 0 before insertion
    RowKind kind = RowKind::Song;
    std::array<std::string, kColumnCount> text;
    std::string icon;          // the row's icon, shown in its name cell; empty for plain songs
    std::string nameHint;      // ColName hint: a folder's path, a disk's catalog path
    std::string mapHint;       // ColMapName hint: the voice map's full path
    std::string titleColour;   // ColTitle text colour; empty = the column's own
    std::string lengthColour;  // ColLength text colour; empty = the column's own
    uint32_t seconds = 0;      // property 0x1314: own length, or a folder's total
    bool hidden = false;       // a song of a collapsed folder

    const std::string& Path() const { return text[ColPath]; }
    const std::string& Name() const { return text[ColName]; }
    const std::string& Title() const { return text[ColTitle]; }
    bool IsFolder() const { return kind == RowKind::Folder; }
    // A catalog disk row: "Piano", "Piano+" or "PianoDoc".
    bool IsDisk() const;
    // A "Pianodir.fil" disk whose catalog could not be opened.
    bool IsMissingDisk() const { return IsFolder() && icon == kIconMissing; }
};

// The kinds of entries and how each is recognised and shown.
enum class SongKind {
    MidiSong,          // ".MID" or ".RMI"
    KaraokeSong,       // ".KAR"
    EseqSong,          // any other song file
    DirectoryFolder,   // "Folder"
    EseqDiskSolo,      // "Piano"
    EseqDiskEnsemble,  // "Piano+"
    DiskOrchestraDisk, // "PianoDoc"
    CatalogSong,       // a song row read from a catalog
    Missing,           // "Missing"
    Playing,           // "Keys0" ... "Keys4"
};

// The icon shown for a kind ("" for songs without one).
const char* IconName(SongKind kind);

// The kind of a song file from its name: MIDI, karaoke or ESEQ.
SongKind SongKindOfName(const std::string& fileName);

// The MIDI test used everywhere: the text after the last "." is "MID" or
// "RMI", or "KAR" when karaoke counts as MIDI (letter case ignored).
bool IsMidiName(const std::string& fileName, bool karaokeCounts);

// "%02d:%02d:%02d" of whole seconds (hours may exceed 99).
std::string FormatLength(uint32_t seconds);
// "%d:%d:%d" read as hours, minutes and seconds. False when the text does
// not start with three numbers so separated.
bool ParseLength(const std::string& text, uint32_t* seconds);

// A file's last-write time in local time.
struct FileTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};
// "%d/%d/%d %d:%02d:%02d": month, day, year, hour, minute, second.
std::string FormatTimeStamp(const FileTime& time);

// Leading and trailing blanks and tabs removed.
std::string TrimBlanks(const std::string& text);
// Every run of two spaces collapsed to one, repeatedly.
std::string CollapseSpaces(const std::string& text);
// ASCII letter case ignored.
bool SameTextNoCase(const std::string& a, const std::string& b);
// The extension after the last "." of the file name ("" when none).
std::string ExtensionOf(const std::string& fileName);

}  // namespace playlist

#endif
