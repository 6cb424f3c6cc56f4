// Helpers of the floppy tests: file contents, raw changes to an image's
// FAT and folders (to make damaged disks), and outside tools.
#ifndef ZUB_FLOPPY_TESTS_FLOPPY_TESTING_H
#define ZUB_FLOPPY_TESTS_FLOPPY_TESTING_H

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "floppy_image.h"

namespace floppytest {

// `size` bytes that differ from file to file.
inline std::vector<uint8_t> Content(size_t size, uint32_t seed)
{
    std::vector<uint8_t> bytes(size);
    uint32_t x = seed * 2654435761u + 1;
    for (uint8_t& b : bytes) {
        x = x * 1103515245u + 12345u;
        b = uint8_t(x >> 16);
    }
    return bytes;
}

// Sets a FAT12 entry in every FAT copy of raw image bytes.
inline void SetFat(std::vector<uint8_t>& bytes, const floppy::FatGeometry& g, uint32_t n, uint16_t value)
{
    for (uint32_t copy = 0; copy < g.fatCount; ++copy) {
        uint8_t* p = bytes.data() + g.FatOffset(copy) + n * 3 / 2;
        if (n & 1) {
            p[0] = uint8_t((p[0] & 0x0F) | ((value & 0x0F) << 4));
            p[1] = uint8_t(value >> 4);
        } else {
            p[0] = uint8_t(value);
            p[1] = uint8_t((p[1] & 0xF0) | (value >> 8));
        }
    }
}

// The offset of the directory entry whose 11-byte name is `raw11`
// ("SONG    MID") anywhere in the image; 0 when there is none.
inline size_t EntryOffset(const std::vector<uint8_t>& bytes, const floppy::FatGeometry& g, const char* raw11)
{
    for (size_t at = g.RootOffset(); at + 32 <= bytes.size(); at += 32) {
        if (std::memcmp(bytes.data() + at, raw11, 11) == 0)
            return at;
    }
    return 0;
}

inline uint32_t EntryCluster(const std::vector<uint8_t>& bytes, size_t entry)
{
    return bytes[entry + 26] | (uint32_t(bytes[entry + 27]) << 8);
}

inline void SetEntryCluster(std::vector<uint8_t>& bytes, size_t entry, uint32_t cluster)
{
    bytes[entry + 26] = uint8_t(cluster);
    bytes[entry + 27] = uint8_t(cluster >> 8);
}

// The names in the root of an image file, in disk order.
inline std::vector<std::string> RootNames(const std::string& imagePath)
{
    floppy::FloppyImage image;
    image.Open(imagePath);
    std::vector<floppy::ImageEntry> entries;
    image.List("", &entries);
    std::vector<std::string> names;
    for (const floppy::ImageEntry& e : entries)
        names.push_back(e.name);
    return names;
}

}  // namespace floppytest

#endif
