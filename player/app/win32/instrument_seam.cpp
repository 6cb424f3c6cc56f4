// The main window's instrument seam: guide-lamp menu, Volume dialog,
// Playback Control dialog and MIDI Reset.
#include <windows.h>

#include "instrument_logic.h"
#include "instruments.h"
#include "player_app.h"
#include "seams.h"

namespace zub {
namespace instrument_seam {

void MidiReset(HWND main, int device)
{
    StartMidiReset(main, device);
}

void CloseResetOutput(WPARAM output)
{
    FinishMidiReset(output);
}

void VolumeDialog(HWND main, Sequencer& sequencer, int32_t& masterVolume)
{
    ShowVolumeDialog(App().instance, main, masterVolume, [&](int32_t volume) {
        masterVolume = volume;
        sequencer.SetMasterVolume(volume);
    });
}

void TogglePlaybackControl(HWND main, Sequencer& sequencer)
{
    TogglePlaybackControlDialog(App().instance, main, sequencer);
}

void LampCommand(HWND main, int command, uint8_t& lamps1, uint8_t& lamps2)
{
    const LampChoice choice = ChooseLamp(lamps1, lamps2, command - CMD_LAMP_DISABLED);
    HMENU menu = GetMenu(main);
    for (int value : choice.uncheck)
        CheckMenuItem(menu, CMD_LAMP_DISABLED + value, MF_BYCOMMAND | MF_UNCHECKED);
    for (int value : choice.check)
        CheckMenuItem(menu, CMD_LAMP_DISABLED + value, MF_BYCOMMAND | MF_CHECKED);
    lamps1 = choice.l1;
    lamps2 = choice.l2;
    if (App().sequencer)
        App().sequencer->SetLampSelection(lamps1, lamps2);
}

}  // namespace instrument_seam
}  // namespace zub
