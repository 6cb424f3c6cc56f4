#include "control_state.h"

#include "command_ids.h"
#include "sequencer.h"

namespace zub {

const std::array<ControlBinding, 7> kControlBindings = {{
    {CMD_PLAY, kBitPlay},
    {CMD_PAUSE, kBitPause},
    {CMD_STOP, kBitStop},
    {CMD_NEXT, kBitNext},
    {CMD_PREV, kBitPrevious},
    {CMD_MIDI_RESET, kBitInstrument},
    {CMD_MASTER_VOLUME, kBitInstrument},
}};

unsigned EnableBitsForState(SequencerState state)
{
    switch (state) {
    case SequencerState::NoFile:
        return kBitPlayThru | kBitInstrument;
    case SequencerState::Opened:
    case SequencerState::Prerolled:
        return kBitPlay | kBitPlayThru | kBitInstrument;
    case SequencerState::Playing:
    case SequencerState::Paused:
        return kBitPause | kBitStop;
    case SequencerState::Prerolling:
    case SequencerState::Stopping:
    case SequencerState::Resetting:
        break;
    }
    return 0;
}

int StatusTextIdForState(SequencerState state)
{
    // The texts 1021 to 1026 follow the states Opened to Stopping.
    switch (state) {
    case SequencerState::NoFile:
    case SequencerState::Resetting:
        break;
    case SequencerState::Opened:
    case SequencerState::Prerolling:
    case SequencerState::Prerolled:
    case SequencerState::Playing:
    case SequencerState::Paused:
    case SequencerState::Stopping:
        return IDS_STATE_BASE + static_cast<int>(state);
    }
    return 0;
}

}  // namespace zub
