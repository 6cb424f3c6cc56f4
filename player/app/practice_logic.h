// Arithmetic and texts of the player's practice tools: the seek bar, the
// seek keys, the A-B loop marks and its status text, the lyrics lines.
#ifndef ZUB_PLAYER_APP_PRACTICE_LOGIC_H
#define ZUB_PLAYER_APP_PRACTICE_LOGIC_H

#include <cstdint>
#include <string>

#include "lyrics.h"

namespace zub {

// The seek bar runs from 0 to this, over the song's ticks.
constexpr int kSeekBarRange = 1000;
constexpr int kSeekBarPage = 50;
// Ctrl+Left and Ctrl+Right move this far.
constexpr int32_t kSeekStepMs = 5000;

int SeekBarPosition(uint32_t tick, uint32_t length);
uint32_t SeekBarTick(int position, uint32_t length);
// `nowMs` moved by `stepMs`, within the song.
uint32_t SteppedMs(uint32_t nowMs, int32_t stepMs, uint32_t lengthMs);

// The two ends of the passage as the user has set them.
struct LoopMarks {
    bool hasStart = false, hasEnd = false;
    uint32_t start = 0, end = 0;  // ticks
};

enum class LoopProblem { None, NotSet, Backwards, Empty };
// Whether the marks make a passage of a song of `length` ticks (an end past
// the song is its end).
LoopProblem CheckLoop(const LoopMarks& marks, uint32_t length);
// The message for a refused loop; empty for None.
std::string LoopProblemText(LoopProblem problem);

// "Loop 0:05-0:10 (2 of 4)", or "(2)" when it repeats until turned off.
std::string LoopStatusText(uint32_t startMs, uint32_t endMs, uint32_t repetition, uint32_t count);

// What the Lyrics window shows at a tick: the line sung (before the first,
// the first, nothing of it sung yet) and the one after it.
struct LyricsView {
    std::string current, next;
    size_t sung = 0;  // bytes of `current` sung
};
LyricsView LyricsViewAt(const Lyrics& lyrics, uint32_t tick);
// The text a screen reader or a test reads: the two lines.
std::string LyricsViewText(const LyricsView& view);

}  // namespace zub

#endif
