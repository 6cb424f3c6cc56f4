// The arithmetic behind the instrument controls: the guide-lamp menu, the
// Volume dialog's slider, and the Playback Control dialog's settings.
#ifndef ZUB_PLAYER_APP_INSTRUMENT_LOGIC_H
#define ZUB_PLAYER_APP_INSTRUMENT_LOGIC_H

#include <cstdint>
#include <vector>

#include "playadjust.h"

namespace zub {

// Guide lamps: L1 is 0 (Disabled), 1-16 (a channel) or 17 (Auto); L2 is 0
// or a channel above L1. The menu item of value v is command 40016 + v.
constexpr uint8_t kLampValueDisabled = 0;
constexpr uint8_t kLampValueAuto = 17;

struct LampChoice {
    uint8_t l1 = 0;
    uint8_t l2 = 0;
    std::vector<int> uncheck;  // values whose items lose their check, in order
    std::vector<int> check;    // then these are checked
};

// Choosing value `a` from the menu: at most two channels stay selected, in
// ascending order; Disabled and Auto exclude channels; choosing the one
// selected channel again leaves Disabled.
LampChoice ChooseLamp(uint8_t l1, uint8_t l2, int a);

// Master volume V: magnitude 1-128, positive while the override is on. The
// vertical slider runs 1-128 with the loudest at the top.
int VolumeSliderPosition(int32_t volume);
int32_t VolumeForSliderPosition(int position);

// The Playback Control dialog's settings (not saved).
struct PlaybackControls {
    int peek = 0;  // kept and shown; it does not change playback
    int velocityBase = 127;
    int trackVolume = kTrackVolumeFull;
    int transpose = 0;
    int tempo = 0;
    bool peekOn = false;
    bool velocityBaseOn = true;
    bool trackVolumeOn = false;
    bool transposeOn = false;
    bool tempoOn = false;
};

// What the sequencer gets: a switched-off control is neutral.
int EffectiveVelocityBase(const PlaybackControls& c);
PlayAdjustSettings EffectiveAdjustments(const PlaybackControls& c);

}  // namespace zub

#endif
