// Time arithmetic of MIDI divisions, shared by the reader, the software
// stream and the capture: ticks per quarter note (bit 15 clear) or time
// code (bit 15 set: negated frames per second in the high byte, ticks per
// frame in the low byte).
#ifndef ZUB_PLAYBACK_SMFTIME_H
#define ZUB_PLAYBACK_SMFTIME_H

#include <cstdint>

inline bool IsTimeCode(uint32_t division)
{
    return (division & 0x8000) != 0;
}

// Ticks per second of a time-code division; the 29-frame drop code counts
// as 30 frames.
inline uint32_t TimeCodeTicksPerSecond(uint32_t division)
{
    const uint8_t high = static_cast<uint8_t>(division >> 8);
    uint32_t fps = static_cast<uint32_t>(-static_cast<int>(static_cast<int8_t>(high)));
    if (high == 0xE3)
        fps = 30;
    return fps * (division & 0xFF);
}

// num / den rounded to the nearest, saturated at 32 bits.
inline uint32_t RoundedDiv(uint64_t num, uint64_t den)
{
    const uint64_t q = (num + den / 2) / den;
    return q > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(q);
}

inline uint32_t SaturatedAdd(uint32_t a, uint32_t b)
{
    const uint64_t sum = static_cast<uint64_t>(a) + b;
    return sum > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(sum);
}

// Milliseconds at `tick` for a time-code division.
inline uint32_t TimeCodeMs(uint32_t division, uint32_t tick)
{
    return RoundedDiv(static_cast<uint64_t>(tick) * 1000, TimeCodeTicksPerSecond(division));
}

// Milliseconds that `ticks` last at `tempo`, for a ticks-per-quarter division.
inline uint32_t TempoMs(uint32_t division, uint32_t ticks, uint32_t tempo)
{
    return RoundedDiv(static_cast<uint64_t>(ticks) * tempo, static_cast<uint64_t>(division) * 1000);
}

#endif
