// Where the song stands at a tick of the stream. The stream counts its
// ticks on from a preroll, while the song jumps back at each loop: the
// filling notes every jump here (ahead of the playing, by the buffers in
// between), and the position is read back from what has been played.
#ifndef ZUB_PLAYBACK_JUMPLOG_H
#define ZUB_PLAYBACK_JUMPLOG_H

#include <cstddef>
#include <cstdint>
#include <mutex>

struct SongPlace {
    uint32_t tick = 0;        // in the song
    uint32_t repetition = 1;  // of the loop: 1 for the first time through
};

class JumpLog {
public:
    // A preroll: stream tick 0 is `start`.
    void Reset(SongPlace start);
    // From `streamTick` on, the song plays from `place`.
    void Add(uint64_t streamTick, SongPlace place);
    // The song's place at a stream tick that has been played.
    SongPlace At(uint64_t streamTick) const;

private:
    struct Entry {
        uint64_t streamTick;
        SongPlace place;
    };
    // Only the jumps still in the buffers matter; a short loop may jump many
    // times per buffer, and the oldest entries then give way.
    static constexpr size_t kEntries = 64;

    mutable std::mutex lock_;
    Entry entries_[kEntries] = {};
    size_t count_ = 0;
    size_t next_ = 0;
};

#endif
