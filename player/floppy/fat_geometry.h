// The layout of a FAT12 floppy image: where the boot sector, the FAT copies,
// the root folder and the data clusters lie. Taken from the boot sector when
// it holds a usable parameter block; copy-protected song disks blank sector
// 0, and then the standard layout for the image's size stands in.
#ifndef ZUB_FLOPPY_FAT_GEOMETRY_H
#define ZUB_FLOPPY_FAT_GEOMETRY_H

#include <cstddef>
#include <cstdint>

namespace floppy {

constexpr size_t kImage720 = 737280;    // 720 KB, double density
constexpr size_t kImage1440 = 1474560;  // 1.44 MB, high density
constexpr size_t kEntrySize = 32;       // one directory slot

// FAT12 entry values.
constexpr uint16_t kFatFree = 0x000;
constexpr uint16_t kFatBad = 0xFF7;
constexpr uint16_t kFatEndMin = 0xFF8;  // end of a chain: 0xFF8 to 0xFFF
constexpr uint16_t kFatEnd = 0xFFF;     // written to end a chain
constexpr uint32_t kFat12MaxClusters = 4084;

struct FatGeometry {
    uint32_t bytesPerSector = 512;
    uint32_t sectorsPerCluster = 0;
    uint32_t reservedSectors = 0;
    uint32_t fatCount = 0;
    uint32_t rootEntries = 0;
    uint32_t totalSectors = 0;
    uint32_t sectorsPerFat = 0;
    uint8_t media = 0;
    uint32_t sectorsPerTrack = 0;
    uint32_t heads = 0;

    size_t FatOffset(uint32_t copy) const { return (reservedSectors + copy * sectorsPerFat) * size_t(bytesPerSector); }
    size_t FatBytes() const { return size_t(sectorsPerFat) * bytesPerSector; }
    size_t RootOffset() const { return FatOffset(fatCount); }
    size_t RootBytes() const { return size_t(rootEntries) * kEntrySize; }
    size_t DataOffset() const;
    size_t ClusterBytes() const { return size_t(sectorsPerCluster) * bytesPerSector; }
    // Data clusters, numbered 2 to ClusterCount() + 1.
    uint32_t ClusterCount() const;
    size_t ClusterOffset(uint32_t cluster) const { return DataOffset() + (cluster - 2) * ClusterBytes(); }
    bool IsCluster(uint32_t n) const { return n >= 2 && n < ClusterCount() + 2; }
};

bool IsFloppyImageSize(size_t size);

// The layout the instruments format with: 720 KB has 2 sectors per cluster,
// 2 FATs of 3 sectors, 112 root entries and media 0xF9; 1.44 MB has 1 per
// cluster, 2 FATs of 9 sectors, 224 root entries and media 0xF0.
// `imageSize` must be one of the two sizes.
FatGeometry StandardGeometry(size_t imageSize);

// The layout of the boot sector's parameter block, when it is one that fits
// an image of `imageSize` bytes; false for a blank or nonsensical sector.
bool ReadBootGeometry(const uint8_t* sector, size_t imageSize, FatGeometry* out);

// Fills the 512-byte boot sector of a freshly formatted disk: a jump, the
// parameter block with volume serial `serial`, a loop in place of boot code,
// and the 0x55AA mark.
void WriteBootSector(const FatGeometry& geometry, uint32_t serial, uint8_t* sector);

}  // namespace floppy

#endif
