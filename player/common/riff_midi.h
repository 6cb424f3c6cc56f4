// The MIDI data of a RIFF "RMID" file (.RMI): the contents of its "data"
// chunk. Shared by the MIDI file reader and the title reader and writer, so
// all of them see the same bytes.
#ifndef ZUB_COMMON_RIFF_MIDI_H
#define ZUB_COMMON_RIFF_MIDI_H

#include <cstddef>
#include <cstdint>

struct RmidData {
    bool isRmid = false;   // the file starts "RIFF" .... "RMID"
    size_t headerAt = 0;   // offset of the "data" chunk header
    size_t start = 0;      // offset of the MIDI data (whole file when not RMID)
    size_t size = 0;       // bytes of MIDI data
};

// False for an RMID file without a complete "data" chunk. A file that is not
// RMID is MIDI data whole.
bool FindRmidData(const uint8_t* file, size_t size, RmidData* out);

inline uint32_t Le32At(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

inline uint32_t Be32At(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 | static_cast<uint32_t>(p[2]) << 8 |
           static_cast<uint32_t>(p[3]);
}

#endif
