// PlaylistFiles: the playlist's only way to the files it lists, so that the
// same readers work on the host's files, on a floppy image, or in memory in
// tests and fuzzing. Paths are the program's (backslash separated).
#ifndef ZUB_PLAYLIST_PLAYLIST_FILES_H
#define ZUB_PLAYLIST_PLAYLIST_FILES_H

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "hostfile.h"
#include "playlist_row.h"

namespace playlist {

constexpr size_t kReadWhole = static_cast<size_t>(-1);

struct FileFacts {
    uint64_t size = 0;
    FileTime written;  // last-write time, local time
};

class PlaylistFiles {
public:
    virtual ~PlaylistFiles() = default;
    // At most `maxBytes` from the start of the file (kReadWhole: all of it).
    virtual FileResult Read(const std::string& path, size_t maxBytes, std::vector<uint8_t>* out) = 0;
    // False when the file cannot be opened (missing, or a directory).
    virtual bool Facts(const std::string& path, FileFacts* facts) = 0;
    // Replaces the file whole; the old file stays unless the new one was
    // written completely.
    virtual FileResult Write(const std::string& path, const std::vector<uint8_t>& bytes) = 0;
    // The directory that relative names in playlist files are taken from.
    virtual std::string CurrentDirectory() = 0;

    // The file's last-write time as a playlist file stores it, or false.
    bool TimeStamp(const std::string& path, std::string* stamp);
};

// The host's files. On hosts with case-sensitive names a file that is not
// found is looked for again ignoring the case of its name ("PIANODIR.FIL"
// on a floppy copied to Linux).
class HostPlaylistFiles : public PlaylistFiles {
public:
    FileResult Read(const std::string& path, size_t maxBytes, std::vector<uint8_t>* out) override;
    bool Facts(const std::string& path, FileFacts* facts) override;
    FileResult Write(const std::string& path, const std::vector<uint8_t>& bytes) override;
    std::string CurrentDirectory() override;
};

// Files in memory, for tests and fuzzing. Names are matched ignoring case
// and with either separator; every file has the time stamp it was given.
class MemoryPlaylistFiles : public PlaylistFiles {
public:
    void Add(const std::string& path, std::vector<uint8_t> bytes, FileTime written = FileTime{2005, 7, 4, 9, 5, 7});
    void Add(const std::string& path, const std::string& text);
    bool Has(const std::string& path) const;
    const std::vector<uint8_t>& Bytes(const std::string& path) const;
    void SetCurrentDirectory(std::string dir) { cwd_ = std::move(dir); }

    FileResult Read(const std::string& path, size_t maxBytes, std::vector<uint8_t>* out) override;
    bool Facts(const std::string& path, FileFacts* facts) override;
    FileResult Write(const std::string& path, const std::vector<uint8_t>& bytes) override;
    std::string CurrentDirectory() override { return cwd_; }

private:
    struct File {
        std::vector<uint8_t> bytes;
        FileTime written;
    };
    static std::string Key(const std::string& path);
    std::map<std::string, File> files_;
    std::string cwd_ = "C:\\";
};

}  // namespace playlist

#endif
