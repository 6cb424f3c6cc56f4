// Reading and writing the 32-bit words of stream records. Records are
// little-endian, as the platform's stream services read them.
#ifndef ZUB_PLAYBACK_STREAMRECORDS_H
#define ZUB_PLAYBACK_STREAMRECORDS_H

#include <cstdint>

#include "midistream.h"

inline void PutMidiWord(uint8_t* p, uint32_t value)
{
    p[0] = static_cast<uint8_t>(value);
    p[1] = static_cast<uint8_t>(value >> 8);
    p[2] = static_cast<uint8_t>(value >> 16);
    p[3] = static_cast<uint8_t>(value >> 24);
}

inline uint32_t GetMidiWord(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

inline uint32_t FreeBytes(const MidiBuffer* buffer)
{
    return buffer->size - buffer->bytesRecorded;
}

// Appends a 12-byte record; the caller has checked the room.
inline void PutMidiRecord(MidiBuffer* buffer, uint32_t delta, uint32_t event)
{
    uint8_t* p = buffer->data + buffer->bytesRecorded;
    PutMidiWord(p, delta);
    PutMidiWord(p + 4, 0);
    PutMidiWord(p + 8, event);
    buffer->bytesRecorded += kMidiRecordSize;
}

inline uint32_t ShortEventWord(uint8_t status, uint8_t data1, uint8_t data2)
{
    return static_cast<uint32_t>(status) | static_cast<uint32_t>(data1) << 8 |
           static_cast<uint32_t>(data2) << 16;
}

#endif
