// Reading the events of one track through a cursor bounded by the track's
// end: every read is checked, and running out is an invalid file. Shared by
// the index walk and the merge, and inline: these run once per event.
#ifndef ZUB_PLAYBACK_SMFTRACK_H
#define ZUB_PLAYBACK_SMFTRACK_H

#include <cstdint>

#include "smfreader.h"

// A variable-length number within [*pos, end). Any number of bytes is
// allowed, but the value must fit in 32 bits.
inline bool ReadVlq(const uint8_t* image, uint32_t* pos, uint32_t end, uint32_t* value)
{
    if (*pos < end && image[*pos] < 0x80) {  // most numbers are one byte
        *value = image[(*pos)++];
        return true;
    }
    uint64_t v = 0;
    for (uint32_t p = *pos; p < end; ++p) {
        const uint8_t b = image[p];
        v = v << 7 | (b & 0x7F);
        if (v > 0xFFFFFFFFu)
            return false;
        if (!(b & 0x80)) {
            *pos = p + 1;
            *value = static_cast<uint32_t>(v);
            return true;
        }
    }
    return false;
}

// Reads a track's next delta: the cursor then waits at the event, with the
// event's time.
inline SmfResult ReadDelta(const uint8_t* image, SmfTrackCursor& track)
{
    uint32_t delta = 0;
    if (!ReadVlq(image, &track.pos, track.end, &delta))
        return SmfResult::InvalidFile;  // the track ran out without End of Track
    if (delta > 0xFFFFFFFFu - track.time)
        return SmfResult::InvalidFile;  // beyond the 32-bit tick range
    track.time += delta;
    return SmfResult::Ok;
}

// Decodes the event at the cursor (after its delta) into everything but its
// tick, delta and track, and moves the cursor past it.
// Forced inline: the call costs as much as the work.
[[gnu::always_inline]] inline SmfResult DecodeEvent(const uint8_t* image, SmfTrackCursor& track, SmfEvent* event)
{
    uint32_t pos = track.pos;
    const uint32_t end = track.end;
    uint8_t status = image[pos];
    event->data1 = 0;
    event->data2 = 0;
    event->length = 0;
    event->data = nullptr;
    if (status < 0xF0) {
        if (status < 0x80) {
            if (track.runningStatus == 0)
                return SmfResult::InvalidFile;  // a data byte without running status
            status = track.runningStatus;
        } else {
            track.runningStatus = status;
            ++pos;
        }
        const uint8_t kind = status & 0xF0;
        const uint32_t needed = kind == 0xC0 || kind == 0xD0 ? 1 : 2;
        if (end - pos < needed)
            return SmfResult::InvalidFile;
        event->data1 = image[pos];
        if (needed == 2)
            event->data2 = image[pos + 1];
        pos += needed;
    } else if (status == 0xF0 || status == 0xF7 || status == 0xFF) {
        track.runningStatus = 0;
        ++pos;
        if (status == 0xFF) {
            if (pos >= end)
                return SmfResult::InvalidFile;
            event->data1 = image[pos++];
        }
        uint32_t length = 0;
        if (!ReadVlq(image, &pos, end, &length) || length > end - pos)
            return SmfResult::InvalidFile;
        event->length = length;
        event->data = image + pos;
        pos += length;
        if (status == 0xFF && event->data1 == 0x2F)
            track.ended = true;
    } else {
        return SmfResult::InvalidFile;  // 0xF1 to 0xFE have no place in a file
    }
    event->status = status;
    track.pos = pos;
    return SmfResult::Ok;
}

#endif
