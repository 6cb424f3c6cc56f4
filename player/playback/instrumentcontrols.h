// The instrument controls: the Velocity Base, the master volume override,
// the guide-lamp selection, the Playback Control dialog's adjustments and
// the voice map. The user-interface thread sets them; the buffer filling
// reads them on the stream's thread, once per buffer, as one set of values.
#ifndef ZUB_PLAYBACK_INSTRUMENTCONTROLS_H
#define ZUB_PLAYBACK_INSTRUMENTCONTROLS_H

#include <atomic>
#include <cstdint>

#include "playadjust.h"

class VoiceMapHook;

// Lamp selection L1: 0 disabled, 1-16 a channel, 17 automatic.
constexpr uint8_t kLampsDisabled = 0;
constexpr uint8_t kLampsAuto = 17;

// Two lamp channels: a selection (L1, L2 with L2 0 or a channel above L1)
// or the channels that are lit (0 = none).
struct LampPair {
    uint8_t first = 0;
    uint8_t second = 0;

    bool operator==(const LampPair& other) const { return first == other.first && second == other.second; }
    // As one 16-bit word, so that a pair is stored and read at once.
    uint16_t Packed() const { return static_cast<uint16_t>(first | second << 8); }
    static LampPair Unpacked(uint16_t word) { return {static_cast<uint8_t>(word), static_cast<uint8_t>(word >> 8)}; }
};

struct InstrumentSettings {
    int velocityBase = 127;    // 50-127; 127 leaves velocities alone
    int masterVolume = -128;   // 1-128 = override on (sent as V - 1), negative = off
    LampPair lamps;            // L1 (kLampsDisabled, 1-16, kLampsAuto) and L2
    PlayAdjustSettings adjust;
    VoiceMapHook* voiceMap = nullptr;
};

class InstrumentControls {
public:
    // Each setter holds its value to its range.
    void SetVelocityBase(int base);
    void SetMasterVolume(int volume);  // 0 counts as off
    void SetLamps(uint8_t l1, uint8_t l2);
    void SetAdjustments(const PlayAdjustSettings& adjust);
    // The hook must stay valid until replaced.
    void SetVoiceMap(VoiceMapHook* map) { voiceMap_.store(map); }

    InstrumentSettings Load() const;

private:
    std::atomic<int> velocityBase_{127};
    std::atomic<int> masterVolume_{-128};
    std::atomic<uint16_t> lamps_{0};  // the pair is one word: never read half old, half new
    std::atomic<int> transpose_{0};
    std::atomic<int> tempoPercent_{0};
    std::atomic<int> trackVolume_{kTrackVolumeFull};
    std::atomic<VoiceMapHook*> voiceMap_{nullptr};
};

#endif
