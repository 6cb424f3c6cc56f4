// Little-endian numbers in FAT structures.
#ifndef ZUB_FLOPPY_FAT_BYTES_H
#define ZUB_FLOPPY_FAT_BYTES_H

#include <cstdint>

namespace floppy {

inline uint32_t Get16(const uint8_t* p) { return p[0] | (uint32_t(p[1]) << 8); }
inline uint32_t Get32(const uint8_t* p) { return Get16(p) | (Get16(p + 2) << 16); }
inline void Put16(uint8_t* p, uint32_t v)
{
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}
inline void Put32(uint8_t* p, uint32_t v)
{
    Put16(p, v);
    Put16(p + 2, v >> 16);
}

}  // namespace floppy

#endif
