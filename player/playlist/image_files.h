// The playlist's files with floppy images read as disks: a path that leads
// into an image file ("D:\Disks\DSKA0000.IMG\SONG01.FIL") is read, checked
// for being there and written inside the image; every other path is the
// host's. An image is read once and kept while its file is unchanged.
#ifndef ZUB_PLAYLIST_IMAGE_FILES_H
#define ZUB_PLAYLIST_IMAGE_FILES_H

#include <map>
#include <string>
#include <vector>

#include "floppy_image.h"
#include "playlist_files.h"

namespace playlist {

// A floppy image file by its name: ".IMG" or ".IMA", any case.
bool IsImageName(const std::string& name);

class ImagePlaylistFiles : public HostPlaylistFiles {
public:
    FileResult Read(const std::string& path, size_t maxBytes, std::vector<uint8_t>* out) override;
    // A file inside an image: its size and its FAT date and time.
    bool Facts(const std::string& path, FileFacts* facts) override;
    // Inside an image: the file replaced in the image, which is then written
    // beside its file and put in place. An image that did not read cleanly
    // is never written; the refusal is kept for TakeProblems().
    FileResult Write(const std::string& path, const std::vector<uint8_t>& bytes) override;

    // Why writes into images were refused since the last call, one text each
    // ("D:\DSKA0000.IMG: damaged image: ...; nothing is written into it").
    std::vector<std::string> TakeProblems();

    // The image a path leads into, loaded (or reloaded when its file changed),
    // with `inner` the path inside it; null when the path leads into none or
    // the image file cannot be read.
    const floppy::FloppyImage* ImageOf(const std::string& path, std::string* inner, std::string* imagePath = nullptr);

private:
    struct Loaded {
        floppy::FloppyImage image;
        FileFacts stamp;  // of the image file when it was read
    };
    floppy::FloppyImage* Into(const std::string& path, std::string* inner, std::string* imagePath);

    std::map<std::string, Loaded> images_;
    std::vector<std::string> problems_;
};

}  // namespace playlist

#endif
