// Which playback controls are enabled in which sequencer state, and the
// status text shown for each state.
#ifndef ZUB_PLAYER_APP_CONTROL_STATE_H
#define ZUB_PLAYER_APP_CONTROL_STATE_H

#include <array>

enum class SequencerState : int;

namespace zub {

enum ControlBit : unsigned {
    kBitPlay = 1u << 0,
    kBitPause = 1u << 1,
    kBitStop = 1u << 2,
    kBitPlayThru = 1u << 3,
    kBitNext = 1u << 4,
    kBitPrevious = 1u << 5,
    kBitInstrument = 1u << 6,  // Midi Reset and Override Master Volume
};

unsigned EnableBitsForState(SequencerState state);

// The string-table identifier of the state's status text, or 0 for none
// (NoFile and Resetting).
int StatusTextIdForState(SequencerState state);

// A menu item or toolbar button enabled by one bit.
struct ControlBinding {
    int command;
    unsigned bit;
};
extern const std::array<ControlBinding, 7> kControlBindings;

}  // namespace zub

#endif
