#include "fat_geometry.h"

#include <cstring>

#include "fat_bytes.h"

namespace floppy {

namespace {

bool IsPowerOfTwo(uint32_t v, uint32_t low, uint32_t high)
{
    return v >= low && v <= high && (v & (v - 1)) == 0;
}

}  // namespace

size_t FatGeometry::DataOffset() const
{
    // The root folder fills whole sectors.
    const size_t rootSectors = (RootBytes() + bytesPerSector - 1) / bytesPerSector;
    return RootOffset() + rootSectors * bytesPerSector;
}

uint32_t FatGeometry::ClusterCount() const
{
    const size_t total = size_t(totalSectors) * bytesPerSector;
    const size_t data = DataOffset();
    if (sectorsPerCluster == 0 || total <= data)
        return 0;
    return uint32_t((total - data) / ClusterBytes());
}

bool IsFloppyImageSize(size_t size)
{
    return size == kImage720 || size == kImage1440;
}

FatGeometry StandardGeometry(size_t imageSize)
{
    FatGeometry g;
    const bool dd = imageSize == kImage720;
    g.bytesPerSector = 512;
    g.sectorsPerCluster = dd ? 2 : 1;
    g.reservedSectors = 1;
    g.fatCount = 2;
    g.rootEntries = dd ? 112 : 224;
    g.totalSectors = uint32_t(imageSize / 512);
    g.sectorsPerFat = dd ? 3 : 9;
    g.media = dd ? 0xF9 : 0xF0;
    g.sectorsPerTrack = dd ? 9 : 18;
    g.heads = 2;
    return g;
}

bool ReadBootGeometry(const uint8_t* s, size_t imageSize, FatGeometry* out)
{
    FatGeometry g;
    g.bytesPerSector = Get16(s + 11);
    g.sectorsPerCluster = s[13];
    g.reservedSectors = Get16(s + 14);
    g.fatCount = s[16];
    g.rootEntries = Get16(s + 17);
    g.totalSectors = Get16(s + 19) ? Get16(s + 19) : Get32(s + 32);
    g.media = s[21];
    g.sectorsPerFat = Get16(s + 22);
    g.sectorsPerTrack = Get16(s + 24);
    g.heads = Get16(s + 26);
    if (!IsPowerOfTwo(g.bytesPerSector, 512, 4096) || !IsPowerOfTwo(g.sectorsPerCluster, 1, 128))
        return false;
    if (g.reservedSectors < 1 || g.fatCount < 1 || g.fatCount > 2 || g.rootEntries == 0 || g.sectorsPerFat == 0)
        return false;
    if (g.media < 0xF0 || (g.media > 0xF0 && g.media < 0xF8))
        return false;
    if (g.totalSectors == 0 || size_t(g.totalSectors) * g.bytesPerSector > imageSize)
        return false;
    const uint32_t clusters = g.ClusterCount();
    if (clusters == 0 || clusters > kFat12MaxClusters)
        return false;
    // Every cluster needs its 12-bit entry in the FAT.
    if ((size_t(clusters) + 2) * 3 / 2 + 1 > g.FatBytes())
        return false;
    *out = g;
    return true;
}

void WriteBootSector(const FatGeometry& g, uint32_t serial, uint8_t* s)
{
    std::memset(s, 0, 512);
    s[0] = 0xEB;  // jump over the parameter block to the loop at 0x3E
    s[1] = 0x3C;
    s[2] = 0x90;
    std::memcpy(s + 3, "ZUBODECK", 8);
    Put16(s + 11, g.bytesPerSector);
    s[13] = uint8_t(g.sectorsPerCluster);
    Put16(s + 14, g.reservedSectors);
    s[16] = uint8_t(g.fatCount);
    Put16(s + 17, g.rootEntries);
    Put16(s + 19, g.totalSectors);
    s[21] = g.media;
    Put16(s + 22, g.sectorsPerFat);
    Put16(s + 24, g.sectorsPerTrack);
    Put16(s + 26, g.heads);
    s[38] = 0x29;  // the extended fields below are present
    Put32(s + 39, serial);
    std::memcpy(s + 43, "NO NAME    ", 11);
    std::memcpy(s + 54, "FAT12   ", 8);
    // Not a system disk: the boot code waits for a key (int 16h) and asks
    // the machine for the next boot device (int 19h).
    const uint8_t code[] = {0x31, 0xC0, 0xCD, 0x16, 0xCD, 0x19, 0xEB, 0xFE};
    std::memcpy(s + 0x3E, code, sizeof code);
    s[510] = 0x55;
    s[511] = 0xAA;
}

}  // namespace floppy
