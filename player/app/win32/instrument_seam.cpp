// The main window's instrument seam: guide-lamp menu, Volume dialog,
// Playback Control dialog and MIDI Reset.
#include <windows.h>

#include "instrument_logic.h"
#include "instruments.h"
#include "player_app.h"
#include "seams.h"
#include "zub_assert.h"

namespace zub {
namespace instrument_seam {

namespace {

HINSTANCE InstanceOf(HWND window)
{
    return reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
}

}  // namespace

void MidiReset(HWND main, int device)
{
    StartMidiReset(main, device);
}

void CloseResetOutput(WPARAM output)
{
    FinishMidiReset(output);
}

void VolumeDialog(HWND main, Sequencer& sequencer)
{
    ShowVolumeDialog(InstanceOf(main), main, sequencer.MasterVolume(),
                     [&](int32_t volume) { sequencer.SetMasterVolume(volume); });
}

void TogglePlaybackControl(HWND main, Sequencer& sequencer)
{
    TogglePlaybackControlDialog(InstanceOf(main), main, sequencer);
}

void LampCommand(HWND main, int command, Sequencer& sequencer)
{
    const LampChoice choice =
        ChooseLamp(sequencer.LampSelection1(), sequencer.LampSelection2(), command - CMD_LAMP_DISABLED);
    // At most two channels, in ascending order; Disabled and Auto stand alone.
    ZUB_ASSERT(choice.l1 <= kLampValueAuto);
    ZUB_ASSERT(choice.l2 == 0 || (choice.l1 >= 1 && choice.l1 < choice.l2 && choice.l2 <= 16));
    HMENU menu = GetMenu(main);
    for (int value : choice.uncheck)
        CheckMenuItem(menu, CMD_LAMP_DISABLED + value, MF_BYCOMMAND | MF_UNCHECKED);
    for (int value : choice.check)
        CheckMenuItem(menu, CMD_LAMP_DISABLED + value, MF_BYCOMMAND | MF_CHECKED);
    sequencer.SetLampSelection(choice.l1, choice.l2);
}

}  // namespace instrument_seam
}  // namespace zub
