// Writing edited song titles back into the files: MIDI files (a karaoke
// title, the first track name, or a new track name event), ESEQ songs (32
// space-padded bytes at offset 87) and "Pianodir.fil" catalogs (the record's
// title, and the song file's). A file is rewritten whole beside itself and
// replaces the old one only when complete; a file that was not read cleanly
// is never written.
#ifndef ZUB_PLAYLIST_TITLE_WRITEBACK_H
#define ZUB_PLAYLIST_TITLE_WRITEBACK_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace playlist {

class PlaylistFiles;
class PlaylistRowStore;

// The most characters a title can have: one length byte holds at most 127,
// and a karaoke title spends two on its "@T" prefix.
constexpr size_t kTrackNameLimit = 127;
constexpr size_t kKaraokeTitleLimit = 125;
constexpr size_t kEseqTitleLimit = 32;

enum class TitleWrite {
    Written,
    NotASong,     // neither a MIDI file (by extension) nor an ESEQ song: left untouched
    Unreadable,   // the file cannot be opened or read whole
    Damaged,      // the file is not a song this program reads cleanly: left untouched
    WriteFailed,  // the new file could not be written; the old one is as it was
};

struct TitleWriteResult {
    TitleWrite status = TitleWrite::NotASong;
    bool cut = false;  // the title was longer than the file can hold
    std::string message;  // why, for anything but Written
};

// Rewrites a MIDI file image (bare or .RMI) with `title`; false (and `why`)
// when the image is not read cleanly. `*cut` tells whether the title was cut.
bool RewriteMidiTitle(const std::vector<uint8_t>& file, const std::string& title, std::vector<uint8_t>* out,
                      bool* cut, std::string* why);

// The 32 title bytes of an ESEQ song or catalog record: the title cut to 32
// characters and padded with spaces. 0xF1 (which would open the song's
// events) becomes 'n'.
std::string EseqTitleField(const std::string& title);

// Rewrites an ESEQ song image with `title` at offset 87.
bool RewriteEseqTitle(const std::vector<uint8_t>& file, const std::string& title, std::vector<uint8_t>* out,
                      bool* cut, std::string* why);

// Write a song's title into its file: MIDI by extension (".MID", ".RMI",
// ".KAR"), else an ESEQ song (not a Disk Orchestra song).
TitleWriteResult WriteSongTitle(PlaylistFiles& files, const std::string& path, const std::string& title);

// The title editor's limit for a song: 125 for a MIDI file whose title is a
// karaoke title, 127 for other MIDI files, 32 for ESEQ songs, 0 (no editing)
// for Disk Orchestra songs and other files.
size_t TitleEditLimit(PlaylistFiles& files, const std::string& path);

// The titles of a "Pianodir.fil" disk's song rows coloured "Magenta" go into
// its catalog and into the song files. `diskIndex` is the disk row. Returns
// the number of songs whose titles could not be written (their problems are
// appended to `problems`); those rows stay "Magenta".
int RewriteCatalogTitles(PlaylistRowStore& rows, PlaylistFiles& files, int diskIndex,
                         std::vector<std::string>* problems);

// "Save Song Titles": every edited title ("Magenta") is written back, then
// the title column is recoloured: "Dark Blue", and "Red" for the catalog
// names of disk rows; a title that could not be written stays "Magenta".
// Returns the number of titles that could not be written.
int SaveSongTitles(PlaylistRowStore& rows, PlaylistFiles& files, std::vector<std::string>* problems);

}  // namespace playlist

#endif
