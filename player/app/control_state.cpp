#include "control_state.h"

#include "command_ids.h"

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

unsigned EnableBitsForState(int state)
{
    switch (state) {
    case 0:  // NoFile
        return kBitPlayThru | kBitInstrument;
    case 1:  // Opened
    case 3:  // Prerolled
        return kBitPlay | kBitPlayThru | kBitInstrument;
    case 4:  // Playing
    case 5:  // Paused
        return kBitPause | kBitStop;
    default:  // Prerolling, Stopping, Resetting
        return 0;
    }
}

int StatusTextIdForState(int state)
{
    if (state >= 1 && state <= 6)
        return IDS_STATE_BASE + state;
    return 0;
}

}  // namespace zub
