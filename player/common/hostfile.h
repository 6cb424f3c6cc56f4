// File access for the portable core. The program writes paths the Windows
// way (backslash separated); on POSIX hosts a backslash becomes a slash.
// Files are read whole: every reader works on an in-memory image.
#ifndef ZUB_COMMON_HOSTFILE_H
#define ZUB_COMMON_HOSTFILE_H

#include <cstdint>
#include <string>
#include <vector>

enum class FileResult {
    Ok,
    OpenFailed,  // missing, unreadable, or a directory
    NoMemory,    // too large to hold in memory
    ReadFailed,  // a read or write error after opening
};

// The host spelling of a program path.
std::string HostPath(const char* path);

// The host path of an existing file or folder. On hosts with case-sensitive
// names, when the path itself does not exist, its last component is looked
// for again ignoring case ("PIANODIR.FIL" on a floppy copied to Linux).
// Empty when nothing matches.
std::string FindHostPath(const char* path);

// Reads the whole file into `out` (replacing its contents).
FileResult ReadFileImage(const char* path, std::vector<uint8_t>* out);

// Creates or replaces the file with `size` bytes. The old file stays as it
// was unless the new one was written whole.
FileResult WriteFileImage(const char* path, const uint8_t* data, size_t size);

#endif
