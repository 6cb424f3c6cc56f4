// The practice tools' state in the main window's program state: the seek
// bar, the Lyrics window, the loop's marks and the song's words.
#ifndef ZUB_PLAYER_APP_WIN32_PRACTICE_STATE_H
#define ZUB_PLAYER_APP_WIN32_PRACTICE_STATE_H

#include <windows.h>

#include <string>

#include "lyrics.h"
#include "practice_logic.h"

namespace zub {

struct PracticeState {
    HACCEL keys = nullptr;
    HWND seekBar = nullptr;   // while "Seek Bar" is on
    bool dragging = false;    // the user holds the seek bar's thumb
    HWND lyrics = nullptr;    // the Lyrics window while shown
    bool timerRunning = false;
    LoopMarks marks;
    uint32_t loopTimes = 0;  // 0: until Loop is turned off
    // The song the marks and words belong to.
    const void* song = nullptr;
    std::string songPath;
    Lyrics words;
    std::string loopText;  // shown after the song's title; empty without a loop
};

}  // namespace zub

#endif
