// A FAT12 floppy image (720 KB or 1.44 MB) held in memory: its folders and
// files read, written, replaced and deleted there, and the whole image
// written back to its file only when it is complete (Save), so a full disk,
// an error or a crash never leaves a damaged image behind.
//
// Opening reads only what it looks at (see ImageBytes) and checks the
// whole disk: the size, every cluster chain (cycles,
// clusters outside the disk, chains that do not match the file's size,
// clusters shared by two files) and every folder (loops). A disk with any
// fault is still listed and its sound files read, which is how worn disks
// are rescued, but it is never written to.
//
// Paths inside the image are separated by "\" or "/", letter case ignored;
// each component matches a short ("SONG01.FIL") or a long name.
#ifndef ZUB_FLOPPY_FLOPPY_IMAGE_H
#define ZUB_FLOPPY_FLOPPY_IMAGE_H

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "fat_geometry.h"
#include "hostfile.h"
#include "image_bytes.h"

namespace floppy {

enum class ImageError {
    Ok,
    OpenFailed,      // the image file cannot be read
    Damaged,         // see Damage(); reading what can be read goes on
    NotFound,
    NotAFolder,
    IsAFolder,
    FolderNotEmpty,
    BadName,         // nothing usable is left of the name
    Exists,          // a new folder's name is taken
    DiskFull,        // see MissingBytes()
    RootFull,        // the root folder has no free entry (112 or 224)
    Refused,         // a write into an image that did not read cleanly
    WriteFailed,     // saving the image file
};

// A short text for the error ("damaged image", "disk full", ...).
const char* ImageErrorText(ImageError error);

struct ImageEntry {
    std::string name;       // the long name when there is one, else the short name
    std::string shortName;  // "SONG01.FIL"
    bool isFolder = false;
    uint32_t size = 0;
    uint16_t date = 0;  // FAT date and time of the last write
    uint16_t time = 0;
};

// "YYYY-MM-DD HH:MM" of a FAT date and time.
std::string FatDateText(uint16_t date, uint16_t time);
// The FAT date and time of a moment, in local time.
void ToFatTime(std::time_t when, uint16_t* date, uint16_t* time);

class FloppyImage {
public:
    FloppyImage() = default;

    // A blank formatted disk of kImage720 or kImage1440 bytes.
    static FloppyImage Blank(size_t size, uint32_t serial);

    // Takes the bytes of an image. Ok, or Damaged with the reason in
    // Damage() (a size that is neither floppy size gives an empty disk).
    ImageError Load(std::vector<uint8_t> bytes);
    // Reads and loads an image file.
    ImageError Open(const std::string& path);

    bool IsClean() const { return damage_.empty(); }
    // Why the image is damaged ("the cluster chain of SONG01.FIL loops").
    const std::string& Damage() const { return damage_; }
    // Sector 0 held no usable layout; the standard one for the size is used.
    bool UsesStandardLayout() const { return standardLayout_; }
    const FatGeometry& Geometry() const { return geo_; }
    size_t Size() const { return bytes_.Size(); }

    // The entries of a folder ("" is the root), in disk order; deleted
    // entries, volume labels, "." and ".." are left out.
    ImageError List(const std::string& folder, std::vector<ImageEntry>* out) const;
    ImageError Find(const std::string& path, ImageEntry* out) const;
    ImageError ReadFile(const std::string& path, std::vector<uint8_t>* out) const;

    uint32_t FreeClusters() const;
    uint64_t FreeBytes() const { return uint64_t(FreeClusters()) * geo_.ClusterBytes(); }
    // After DiskFull: how many more bytes the refused write needed.
    uint64_t MissingBytes() const { return missing_; }

    // The date and time given to written entries; 0 (the default) means the
    // moment of writing.
    void SetWriteTime(std::time_t when) { writeTime_ = when; }

    enum class Existing {
        Replace,      // a file of the same name is replaced (keeping its short name)
        KeepBoth,     // the new file gets a "~N" name of its own
    };
    // Writes a file into an existing folder under an upper-case 8.3 name
    // made from the last component of `path`. On any error the image is as
    // it was. `written` receives the short name used.
    ImageError WriteFile(const std::string& path, const uint8_t* data, size_t size,
                         Existing existing = Existing::Replace, std::string* written = nullptr,
                         std::time_t when = 0);
    ImageError MakeFolder(const std::string& path);
    // Deletes a file, or a folder that holds nothing.
    ImageError Delete(const std::string& path);

    // The image's bytes, both FAT copies equal.
    std::vector<uint8_t> Bytes() const { return bytes_.Copy(); }
    // Writes the image file beside `path`, then puts it in place.
    ImageError Save(const std::string& path) const;

private:
    // A folder: the byte offset of each of its 32-byte slots.
    struct Folder {
        uint32_t cluster = 0;  // first cluster; 0 for the root
        std::vector<size_t> slots;
    };
    // A parsed directory entry.
    struct Slot {
        size_t offset = 0;               // of the short entry
        std::vector<size_t> longSlots;   // of its long-name entries
        uint8_t raw[11] = {};
        std::string name, shortName;
        uint8_t attributes = 0;
        uint32_t cluster = 0;
        uint32_t size = 0;
        uint16_t date = 0, time = 0;
        bool IsFolder() const { return (attributes & 0x10) != 0; }
    };

    // reading (floppy_image.cpp)
    ImageError Parse();
    uint16_t FatEntry(uint32_t cluster) const { return fat_[cluster]; }
    bool Chain(uint32_t start, std::vector<uint32_t>* out, std::string* problem) const;
    bool FolderSlots(uint32_t firstCluster, Folder* out, std::string* problem) const;
    std::vector<Slot> ParseFolder(const Folder& folder) const;
    ImageError Resolve(const std::string& path, Folder* parent, Slot* slot, bool* isRoot) const;
    ImageError ResolveFolder(const std::string& path, Folder* out) const;
    void CheckDisk();
    void CheckFolder(const Folder& folder, const std::string& prefix, int depth, std::vector<uint8_t>* owner,
                     std::vector<uint32_t>* seenFolders);

    // writing (floppy_write.cpp)
    bool Writable();
    ImageError FindPlace(const std::string& path, Folder* folder, std::vector<Slot>* slots, std::string* leaf);
    size_t UseSlot(const Folder& folder, size_t offset, size_t endMark, uint32_t extra);
    std::vector<uint32_t> Allocate(uint32_t count) const;
    void WriteChain(const std::vector<uint32_t>& clusters);
    void FreeChain(uint32_t start);
    void SyncFats();
    void MarkDeleted(const Slot& slot);
    ImageError TakeSlot(const Folder& folder, uint32_t* extraCluster, size_t* offset, size_t* endMark) const;
    size_t GrowFolder(const Folder& folder);
    void WriteEntry(size_t offset, const uint8_t raw11[11], uint8_t attributes, uint32_t cluster, uint32_t size,
                    std::time_t when);

    ImageBytes bytes_;
    FatGeometry geo_;
    std::vector<uint16_t> fat_;  // entries of the first FAT copy, decoded
    std::string damage_;
    bool standardLayout_ = false;
    mutable uint64_t missing_ = 0;
    std::time_t writeTime_ = 0;
};

}  // namespace floppy

#endif
