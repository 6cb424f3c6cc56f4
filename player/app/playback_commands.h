// What the main window's Play, Pause and Stop commands (and the stop before
// another song opens) ask of the sequencer, apart from its windows. Each
// gives the error report to show, if any: the shell shows it as
// "%s:\n%s" with the string and the multimedia text of the result.
#ifndef ZUB_PLAYER_APP_PLAYBACK_COMMANDS_H
#define ZUB_PLAYER_APP_PLAYBACK_COMMANDS_H

#include <cstdint>

class Sequencer;

namespace zub {

struct PlaybackReport {
    int stringId = 0;     // 0: nothing to report
    uint32_t result = 0;  // the sequencer's result
    explicit operator bool() const { return stringId != 0; }
};

// Preroll from tick 0 to the song's length on `device`, then start.
// Failure: "Preroll of MIDI file failed" (the song stays open).
PlaybackReport PlayFromStart(Sequencer& sequencer, int device);

// Resumes while paused, otherwise pauses (which acts only while playing).
void PauseOrResume(Sequencer& sequencer);

// Asks the sequencer to stop, without waiting for the end of playback.
// Failure: "Attempt to stop playback failed".
PlaybackReport StopPlayback(Sequencer& sequencer);

}  // namespace zub

#endif
