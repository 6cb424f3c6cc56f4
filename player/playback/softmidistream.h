// SoftMidiStream: a MIDI stream engine of our own, with its own clock
// thread. It plays the same buffer records as the platform's stream, honours
// tempo records and the time division, reports its position in ticks,
// pauses and restarts, and returns each played buffer through the callback
// from its own thread. Every event goes to a sink with its tick and times.
#ifndef ZUB_PLAYBACK_SOFTMIDISTREAM_H
#define ZUB_PLAYBACK_SOFTMIDISTREAM_H

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

#include "midisink.h"
#include "midistream.h"
#include "streamclock.h"

class SoftMidiStream : public MidiStreamPort {
public:
    // Null `clock`: real time. Null `sink`: events go nowhere. Both must
    // outlive the stream.
    SoftMidiStream(StreamClock* clock, MidiSink* sink);
    ~SoftMidiStream() override;

    uint32_t Open(int device, MidiDoneCallback callback, void* context) override;
    bool IsOpen() const override;
    uint32_t SetTimeDivision(uint32_t division) override;
    uint32_t Prepare(MidiBuffer* buffer) override;
    uint32_t Unprepare(MidiBuffer* buffer) override;
    uint32_t Queue(MidiBuffer* buffer) override;
    uint32_t Restart() override;
    uint32_t Pause() override;
    uint32_t Stop() override;
    uint32_t Position(uint32_t* ticks) override;
    uint32_t Reset() override;
    uint32_t Close() override;

    // Blocks until the stream thread has nothing to do at the clock's
    // present time and no callback is running. For tests with a manual clock.
    void WaitIdle();

    SoftMidiStream(const SoftMidiStream&) = delete;
    SoftMidiStream& operator=(const SoftMidiStream&) = delete;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

#endif
