// A Sequencer on a SoftMidiStream with an in-memory sink, for tests.
#ifndef ZUB_PLAYBACK_TESTS_PLAYRIG_H
#define ZUB_PLAYBACK_TESTS_PLAYRIG_H

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "midisink.h"
#include "sequencer.h"
#include "softmidistream.h"
#include "streamclock.h"

// Records each "playback done" request.
class DoneSignal : public SequencerNotify {
public:
    void ScheduleDone(uint32_t delayMs) override;
    // Waits (at most a generous guard time) for the n-th request.
    bool Wait(int count = 1);
    int Count();
    uint32_t LastDelay();

private:
    std::mutex lock_;
    std::condition_variable changed_;
    int count_ = 0;
    uint32_t lastDelay_ = 0;
};

// "tick:bytes" for every Short and Long entry, e.g. "96:90 3c 64".
std::vector<std::string> Sent(const std::vector<MemorySink::Entry>& entries);

struct FastRig {
    FastStreamClock clock;
    MemorySink sink;
    SoftMidiStream stream{&clock, &sink};
    DoneSignal done;
    std::unique_ptr<Sequencer> sequencer = Sequencer::Create(&stream, &done);

    // Opens, prerolls 0..length, starts and waits for the end; returns the
    // first failing result or 0.
    uint32_t Play(const std::vector<uint8_t>& song);
};

// A Sequencer on a stream driven by a manual clock: time moves only when
// the test says so, so every event's time is exact.
struct ManualRig {
    ManualStreamClock clock;
    MemorySink sink;
    SoftMidiStream stream{&clock, &sink};
    DoneSignal done;
    std::unique_ptr<Sequencer> sequencer = Sequencer::Create(&stream, &done);

    // Opens, prerolls 0..length and starts the song.
    void Start(const std::vector<uint8_t>& song);
    // Moves the clock on and waits until the stream has played what is due.
    void Advance(uint64_t micros);
    uint32_t Position();
};

#endif
