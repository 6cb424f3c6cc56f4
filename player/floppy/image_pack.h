// Packing a tree of songs into numbered floppy images for an emulator's
// indexed mode (DSKA0000.IMG, DSKA0001.IMG, ...). Songs are taken in the
// order the batch conversion walks a tree (names in order, letter case
// ignored, folders where they fall) and fill each image as far as they go;
// a song is never split. A song disk's folder (one holding "Pianodir.fil"
// or "Music.dir") stays together: it gets an image of its own with its
// catalog and every file, as the disk was; such a disk that does not fit
// one image is packed song by song without its catalog.
#ifndef ZUB_FLOPPY_IMAGE_PACK_H
#define ZUB_FLOPPY_IMAGE_PACK_H

#include <string>
#include <vector>

#include "batch_walk.h"
#include "floppy_image.h"

namespace floppy {

// A Standard MIDI File (plain or RIFF "RMID") or an ESEQ song.
bool IsSongImage(const std::vector<uint8_t>& bytes);

struct PackedImage {
    FloppyImage image;
    int files = 0;
};

struct PackResult {
    std::vector<PackedImage> images;
    // One line per song or disk left out or packed differently.
    std::vector<std::string> notes;
    int songsLeftOut = 0;
};

// Packs the songs below `source` (a program path, read through `fs`) into
// blank images of `imageSize` bytes, all in memory.
PackResult PackSongs(eseq::BatchFileSystem& fs, const std::string& source, size_t imageSize);

// "DSKA0007.IMG": the name of image `number` in a set.
std::string PackedImageName(const std::string& prefix, int number);

// The first free number of a set in a folder: one past the highest
// "<prefix>NNNN.IMG" already there (letter case ignored), else 0.
int FirstFreeImageNumber(eseq::BatchFileSystem& fs, const std::string& folder, const std::string& prefix);

}  // namespace floppy

#endif
