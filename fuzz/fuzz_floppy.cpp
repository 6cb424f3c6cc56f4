// The floppy image reader on any bytes: the input as a whole image (almost
// always a size that is no floppy's), and laid over the start of an image
// of either size (boot sector, FATs, folders, first clusters), the first
// byte choosing the size. Every folder is listed and every file read; an
// image that reads cleanly must stay clean through writes, and one that
// does not must refuse them unchanged.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "floppy_image.h"

namespace {

using floppy::FloppyImage;
using floppy::ImageError;

void Walk(const FloppyImage& image, const std::string& folder, int depth)
{
    std::vector<floppy::ImageEntry> entries;
    if (depth > 6 || image.List(folder, &entries) != ImageError::Ok)
        return;
    for (const floppy::ImageEntry& e : entries) {
        const std::string path = folder.empty() ? e.name : folder + "\\" + e.name;
        if (e.isFolder) {
            Walk(image, path, depth + 1);
        } else {
            std::vector<uint8_t> bytes;
            image.ReadFile(path, &bytes);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    {
        FloppyImage raw;
        raw.Load(std::vector<uint8_t>(data, data + size));
        Walk(raw, "", 0);
    }
    if (size < 1)
        return 0;
    const size_t imageSize = (data[0] & 1) ? floppy::kImage1440 : floppy::kImage720;
    std::vector<uint8_t> bytes(imageSize, 0);
    std::memcpy(bytes.data(), data + 1, std::min(size - 1, imageSize));
    FloppyImage image;
    image.Load(bytes);
    Walk(image, "", 0);

    const std::vector<uint8_t> song(3000, 0x5A);
    if (!image.IsClean()) {
        if (image.WriteFile("NEW.MID", song.data(), song.size()) != ImageError::Refused ||
            image.Delete("X") != ImageError::Refused || image.Bytes() != bytes)
            std::abort();
        return 0;
    }
    image.WriteFile("NEW.MID", song.data(), song.size());
    image.MakeFolder("NEWDIR");
    image.WriteFile("NEWDIR\\IN.MID", song.data(), 100);
    std::vector<floppy::ImageEntry> root;
    image.List("", &root);
    if (!root.empty() && !root[0].isFolder)
        image.Delete(root[0].shortName);
    FloppyImage again;
    if (again.Load(image.Bytes()) != ImageError::Ok)
        std::abort();  // a clean image written to must read cleanly
    Walk(again, "", 0);
    return 0;
}
