// Paths that lead into floppy images: "D:\Disks\DSKA0000.IMG\Pianodir.fil"
// names the catalog inside the image file "D:\Disks\DSKA0000.IMG". Any
// reader given such a path (catalogs, songs, batch conversion) reads from
// inside the image as from a disk folder; paths that do not lead into an
// image are the host's own files.
#ifndef ZUB_FLOPPY_IMAGE_PATHS_H
#define ZUB_FLOPPY_IMAGE_PATHS_H

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "batch_walk.h"
#include "floppy_image.h"

namespace floppy {

// An extension of floppy image files: ".IMG" or ".IMA" (any case).
bool HasImageExtension(const std::string& path);

// Splits a program path at the first component that is an image file of the
// host: `image` gets the image file's path, `inner` what follows it (empty
// for the image itself). False when no component is an image file.
bool SplitImagePath(const std::string& path, std::string* image, std::string* inner);

// Reads a whole file, from inside an image when the path leads into one
// (catalogs: "...\DSKA0000.IMG\Pianodir.fil"). False when it cannot be read
// (a damaged file inside an image included).
bool ReadThroughImage(const std::string& path, std::vector<uint8_t>* out);

// Takes a file out of an image into the host file `target`, replacing it
// (songs are played, measured and put on the clipboard from such a copy).
// False when the path leads into no image or the file cannot be read or
// written; then `target` is not made.
bool CopyOutOfImage(const std::string& path, const std::string& target);

// A host file with the contents of `path`: the path itself when it is the
// host's, otherwise the file taken out of its image into `folder` under its
// own name (for the clipboard, whose file lists name host files). Empty when
// the file cannot be taken out.
std::string HostFileOf(const std::string& path, const std::string& folder);

// Lists a folder inside an image ("...\\DSKA0000.IMG" is the image's root).
// False when `folder` leads into no image, `listing` untouched; otherwise
// `listing` is null when the image or the folder cannot be read.
bool ListThroughImage(const std::string& folder, std::unique_ptr<eseq::BatchListing>* listing);

// The file dialogs' filter entry for images, to be joined into a filter
// literal (the Open dialog, the playlist's Add dialog).
#define ZUB_IMAGE_FILTER "Floppy images (*.IMG;*.IMA)\0*.IMG;*.IMA\0"

// The batch conversion's file system with images as folders: a source below
// an image file is read from inside it; everything else, targets included,
// is the host's. Images are read once and kept; nothing is written into
// them.
class ImageAwareFileSystem : public eseq::BatchFileSystem {
public:
    explicit ImageAwareFileSystem(eseq::BatchFileSystem& host) : host_(host) {}

    bool FolderExists(const std::string& path) override;
    bool CreateFolder(const std::string& path) override;
    bool RemoveFolder(const std::string& path) override;
    std::unique_ptr<eseq::BatchListing> List(const std::string& folder) override;
    bool Read(const std::string& path, size_t maxBytes, std::vector<uint8_t>* out) override;
    eseq::CopyResult Write(const std::string& path, const std::vector<uint8_t>& bytes, bool overwrite) override;
    eseq::CopyResult Copy(const std::string& from, const std::string& to, bool overwrite) override;
    bool Delete(const std::string& path) override;

    // "<image>: damaged image: <why>" for each damaged image met so far.
    std::vector<std::string> Problems() const;

private:
    // The image a path leads into (loaded on first use), or null.
    const FloppyImage* Into(const std::string& path, std::string* inner);

    eseq::BatchFileSystem& host_;
    std::map<std::string, std::unique_ptr<FloppyImage>> images_;
};

}  // namespace floppy

#endif
