// Filling stream buffers from the merged song: short messages, tempo and
// no-operation records, long messages in pieces across buffers, the voice
// map, the Velocity Base and the one-time injection of the master volume and
// guide lamp messages.
#ifndef ZUB_PLAYBACK_BUFFERFILL_H
#define ZUB_PLAYBACK_BUFFERFILL_H

#include <cstdint>

#include "midistream.h"
#include "playadjust.h"
#include "smfreader.h"

class VoiceMapHook;

// Settings read once per buffer.
struct FillSettings {
    int velocityBase = 127;
    VoiceMapHook* voiceMap = nullptr;
    int masterVolume = -128;  // positive: override on
    uint8_t lamp1 = 0;        // 0 disabled, 1-16, 17 automatic
    uint8_t lamp2 = 0;
    uint8_t lit[2] = {0, 0};  // in and out: the channels whose lamps are on
    // The Playback Control dialog's transpose, tempo and track volume; none
    // without an adjuster.
    PlayAdjuster* adjuster = nullptr;
    PlayAdjustSettings adjust;
};

// Fills `buffer` from the reader's merge up to `endTick` (included).
// Ok: more to come. EndOfFile: the song is exhausted (the buffer may still
// hold records). InvalidFile or another result: a fault in the song.
SmfResult FillStreamBuffer(SmfReader& reader, MidiBuffer* buffer, uint32_t endTick, FillSettings& settings);

// The velocity a note-on is sent with: lowered so that the song's loudest
// note on channels 1 and 2 (`highest`) plays at `base`.
uint8_t ApplyVelocityBase(uint8_t velocity, uint8_t highest, int base);

// The bytes of the injected long message: the master volume message when
// `volume`, then for `lamps` lamp-off messages for the lit channels and
// lamp-on messages for the new ones, which become the lit pair. Returns the
// byte count (at most 44).
uint32_t BuildInjection(bool volume, bool lamps, const SmfReader& reader, FillSettings& settings, uint8_t* out);

#endif
