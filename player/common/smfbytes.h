// Writers for the big-endian numbers and variable-length quantities of
// Standard MIDI Files, shared by everything that builds song images.
#ifndef ZUB_COMMON_SMFBYTES_H
#define ZUB_COMMON_SMFBYTES_H

#include <cstdint>
#include <vector>

namespace smf {

// Most significant group first, 7 bits a byte, the high bit on all but the last.
inline void PutVlq(std::vector<uint8_t>& out, uint32_t value)
{
    uint8_t groups[5];
    int n = 0;
    do {
        groups[n++] = value & 0x7F;
        value >>= 7;
    } while (value != 0);
    while (n-- > 0)
        out.push_back(static_cast<uint8_t>(groups[n] | (n > 0 ? 0x80 : 0)));
}

inline void PutBe16(std::vector<uint8_t>& out, uint16_t value)
{
    out.push_back(static_cast<uint8_t>(value >> 8));
    out.push_back(static_cast<uint8_t>(value));
}

inline void PutBe32(std::vector<uint8_t>& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(value >> shift));
}

}  // namespace smf

#endif
