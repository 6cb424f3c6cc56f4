// Time-code divisions of Standard MIDI Files: bit 15 set, the high byte the
// negative frame rate (-24, -25, -29 for 30 drop-frame, -30), the low byte
// the ticks per frame. Shared by the reader, the software stream and zubcli.
#ifndef ZUB_COMMON_SMF_TIMECODE_H
#define ZUB_COMMON_SMF_TIMECODE_H

#include <cstdint>

namespace smf {

constexpr bool IsTimeCode(uint32_t division)
{
    return (division & 0x8000) != 0;
}

// Ticks per second of a time-code division. Drop-frame code (-29) counts
// 30 frames a second, as its frame numbers run.
constexpr uint64_t TimeCodeTicksPerSecond(uint32_t division)
{
    const int8_t rate = static_cast<int8_t>(static_cast<uint8_t>(division >> 8));
    const uint64_t fps = rate == -29 ? 30 : static_cast<uint64_t>(-static_cast<int>(rate));
    return fps * (division & 0xFF);
}

static_assert(TimeCodeTicksPerSecond(0xE728) == 25 * 40, "25 frames of 40 ticks");
static_assert(TimeCodeTicksPerSecond(0xE350) == 30 * 80, "drop-frame code runs at 30 frames");

}  // namespace smf

#endif
