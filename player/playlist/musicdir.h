// The Disk Orchestra catalog "Music.dir" and its companion "Name.mda",
// read from bytes in memory (a file, or a file inside a floppy image).
// Bytes beyond the end of a file count as zero; records beyond the end are
// not read.
#ifndef ZUB_PLAYLIST_MUSICDIR_H
#define ZUB_PLAYLIST_MUSICDIR_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace playlist {

constexpr size_t kMusicDirHeaderSize = 160;
constexpr size_t kMusicDirTitle = 16;
constexpr size_t kMusicDirCountByte = 81;
constexpr size_t kMusicDirRecordSize = 48;
constexpr size_t kMusicDirShortTitle = 21;  // within a record, 8 bytes
constexpr size_t kNameMdaFirstRecord = 160;

struct MusicDirRecord {
    std::string file;        // "%.8s%s%.3s": name, "." and extension, padding removed
    std::string shortTitle;  // 8 characters, cut at a zero byte
};

struct MusicDirCatalog {
    std::string diskTitle;  // from offset 16 up to the first zero byte in the header
    int count = 0;          // the count byte
    std::vector<MusicDirRecord> records;  // those that start within the file
};

MusicDirCatalog ReadMusicDir(const std::vector<uint8_t>& catalog);

// The long title of record k in "Name.mda": the 48-byte record cut at a
// zero byte, then at its last '@' when it has one, otherwise without
// trailing white space. False when the record lies beyond the file.
bool NameMdaTitle(const std::vector<uint8_t>& nameMda, int k, std::string* title);

}  // namespace playlist

#endif
