// Where "Copy Song to A:" and "Copy Disk/Dir to A:" put songs: a drive (any
// folder of the host, "A:\" by default) or a floppy image file that a USB
// floppy emulator reads. The copy commands talk only to this interface, so
// every question and message keeps its meaning for both:
//
//   "Please insert a disk in drive A:"        until IsPresent()
//   "The disk in drive A is not blank! ..."  when !IsBlank(); Yes → Erase()
//   copying                                   WriteFile() per file, replacing
//   "The disk in drive A: is full. ..."       on TargetWrite::DiskFull;
//                                             OK → ReplaceDisk(), same file again
//   "Could not write to A:"                   on TargetWrite::Failed
//   the end, finished or cancelled            Commit(): what was copied stays
//
// A drive writes each file at once. An image is changed in memory and
// written to its file by Commit() only, beside the file first and then put
// in its place, so a crash, an error or a full disk mid-copy never leaves a
// damaged image; a cancelled copy keeps the files copied before it, as a
// real floppy does. An image that did not read cleanly is never written:
// IsPresent() is true (it is there) but every write and Erase() fail.
#ifndef ZUB_FLOPPY_COPY_TARGET_H
#define ZUB_FLOPPY_COPY_TARGET_H

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "floppy_image.h"

namespace floppy {

enum class TargetWrite { Written, DiskFull, Failed };

class CopyTarget {
public:
    virtual ~CopyTarget() = default;
    // For messages: "A:" or the image's file name.
    virtual std::string Name() const = 0;
    // A disk is in the drive; an image exists (or was just made blank).
    virtual bool IsPresent() = 0;
    // No entry at all in the root, files and folders counted alike.
    virtual bool IsBlank() = 0;
    // Deletes every file of the root; folders stay. False at the first
    // file that cannot be deleted.
    virtual bool Erase() = 0;
    virtual uint64_t FreeBytes() = 0;
    // Writes `name` (a plain file name) into the root, replacing a file of
    // that name. A refused write changes nothing.
    virtual TargetWrite WriteFile(const std::string& name, const std::vector<uint8_t>& bytes) = 0;
    // The user put in another disk after "disk full".
    virtual bool ReplaceDisk() = 0;
    // Makes the writes so far permanent; false when that failed.
    virtual bool Commit() = 0;
    // Why the target cannot be written, when the reason is known (a
    // damaged image); empty otherwise.
    virtual std::string Problem() const { return std::string(); }
};

// A folder of the host: a drive's root ("a:\") or any folder. Program paths.
class FolderCopyTarget : public CopyTarget {
public:
    explicit FolderCopyTarget(std::string folder);
    std::string Name() const override;
    bool IsPresent() override;
    bool IsBlank() override;
    bool Erase() override;
    uint64_t FreeBytes() override;
    TargetWrite WriteFile(const std::string& name, const std::vector<uint8_t>& bytes) override;
    bool ReplaceDisk() override { return IsPresent(); }
    bool Commit() override { return true; }

private:
    std::string folder_;
};

// A floppy image file. A missing file is made blank at `blankSize` bytes
// when the copy starts (IsPresent). After "disk full", ReplaceDisk() commits
// the image and goes on in a new blank one whose name carries the next
// free number ("DSKA0000.IMG" → "DSKA0001.IMG"), ready for an emulator's
// indexed mode; an existing file is never taken over that way.
class ImageCopyTarget : public CopyTarget {
public:
    ImageCopyTarget(std::string path, size_t blankSize = kImage720);
    std::string Name() const override;
    bool IsPresent() override;
    bool IsBlank() override;
    bool Erase() override;
    uint64_t FreeBytes() override;
    TargetWrite WriteFile(const std::string& name, const std::vector<uint8_t>& bytes) override;
    bool ReplaceDisk() override;
    bool Commit() override;

    const std::string& Path() const { return path_; }
    // "damaged image: ..." once the image was found unusable.
    std::string Problem() const override { return problem_; }
    // The image as it stands in memory (for tests and the playlist).
    const FloppyImage& Image() const { return image_; }

private:
    bool Usable();

    std::string path_;
    size_t blankSize_;
    FloppyImage image_;
    bool loaded_ = false;
    bool dirty_ = false;
    std::string problem_;
};

// "DSKA0000.IMG" → "DSKA0001.IMG", "SONGS.IMG" → "SONGS1.IMG",
// "DISK9.IMA" → "DISK10.IMA": the number before the extension raised by
// one, its width kept.
std::string NextNumberedPath(const std::string& path);

}  // namespace floppy

#endif
