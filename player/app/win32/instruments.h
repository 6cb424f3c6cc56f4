// The instrument controls' windows: the modeless Playback Control dialog,
// the modal Volume dialog and the MIDI Reset output.
#ifndef ZUB_PLAYER_APP_WIN32_INSTRUMENTS_H
#define ZUB_PLAYER_APP_WIN32_INSTRUMENTS_H

#include <windows.h>

#include <cstdint>
#include <functional>

class Sequencer;

namespace zub {

// Shows or hides the Playback Control dialog (created on first use) and
// sets the check of "&Playback Control" (command 40041) to match.
void TogglePlaybackControlDialog(HINSTANCE instance, HWND main, Sequencer& sequencer);
HWND PlaybackControlDialog();

// The modal Volume dialog; `apply` hears every change of V at once.
void ShowVolumeDialog(HINSTANCE instance, HWND main, int32_t volume, const std::function<void(int32_t)>& apply);

// Gives a slider its range and position, with its thumb drawn there.
void SetUpSlider(HWND slider, int low, int high, int position);

// Sends the General MIDI System On message on its own output; the output is
// closed when ZM_PLAYDONE brings its handle back to the main window.
void StartMidiReset(HWND main, int device);
void FinishMidiReset(WPARAM output);

}  // namespace zub

#endif
