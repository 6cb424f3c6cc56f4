// Where SoftMidiStream delivers what it plays. Each event carries its stream
// tick (exact and repeatable) and its scheduled and actual clock times.
#ifndef ZUB_PLAYBACK_MIDISINK_H
#define ZUB_PLAYBACK_MIDISINK_H

#include <cstdint>
#include <mutex>
#include <vector>

#include "hostfile.h"
#include "longmessage.h"
#include "midistream.h"  // kDefaultTempo

enum class MidiSinkKind {
    Short,  // a channel message (1 to 3 bytes)
    Long,   // one piece of a long message, as queued
    Tempo,  // a tempo record
    Nop,    // a no-operation record: time passes
};

struct MidiSinkEvent {
    MidiSinkKind kind;
    uint32_t tick;          // ticks since the stream was opened, counting on across stops
    uint64_t scheduledUs;   // when it was due
    uint64_t actualUs;      // when it was delivered
    const uint8_t* bytes;   // Short and Long
    uint32_t length;
    uint32_t tempo;         // Tempo: microseconds per quarter note
};

class MidiSink {
public:
    virtual ~MidiSink() = default;
    virtual void OnTimeDivision(uint32_t division) { (void)division; }
    // Called on the stream's thread, in order.
    virtual void OnEvent(const MidiSinkEvent& event) = 0;
};

// Keeps every event, with its bytes, for tests and measurements.
class MemorySink : public MidiSink {
public:
    struct Entry {
        MidiSinkKind kind;
        uint32_t tick;
        uint64_t scheduledUs;
        uint64_t actualUs;
        std::vector<uint8_t> bytes;
        uint32_t tempo;
    };
    void OnEvent(const MidiSinkEvent& event) override;
    std::vector<Entry> Entries() const;  // a copy, safe while playing
    void Clear();

private:
    mutable std::mutex lock_;
    std::vector<Entry> entries_;
};

// Hands every event to each of several sinks in turn (a port and a capture).
class TeeSink : public MidiSink {
public:
    void Add(MidiSink* sink) { sinks_.push_back(sink); }
    void OnTimeDivision(uint32_t division) override
    {
        for (MidiSink* s : sinks_)
            s->OnTimeDivision(division);
    }
    void OnEvent(const MidiSinkEvent& event) override
    {
        for (MidiSink* s : sinks_)
            s->OnEvent(event);
    }

private:
    std::vector<MidiSink*> sinks_;
};

// Records what was sent as a format 0 Standard MIDI File. Long message
// pieces are joined back into whole system exclusive messages; tempo
// records become Set Tempo. Streams opened one after another are recorded
// one after another on one time base: the first stream's division, into
// which every later stream's ticks are converted, with the time that passed
// between them kept (a playlist's song gap), so that the file plays back
// as it was sent.
class CaptureSink : public MidiSink {
public:
    // A new stream begins.
    void OnTimeDivision(uint32_t division) override;
    void OnEvent(const MidiSinkEvent& event) override;
    // The file image; call once the stream is closed.
    std::vector<uint8_t> Build() const;
    FileResult Save(const char* path) const;

private:
    uint32_t CaptureTick(uint32_t streamTick) const;
    void Anchor(uint32_t streamTick);
    void UpdateRate();
    void KeepPauseBefore(const MidiSinkEvent& first);
    void WriteTempo(uint32_t tick, uint32_t tempo);
    void AddEvent(uint32_t tick, const uint8_t* prefix, uint32_t prefixLength,
                  const uint8_t* bytes, uint32_t length);
    void FlushExclusive();
    void AddMessage(const LongMessageJoiner::Message& message);

    uint16_t division_ = 96;      // of the capture: the first stream's
    bool divisionSet_ = false;
    uint32_t captureTempo_ = kDefaultTempo;  // the last Set Tempo written
    // The present stream: its division and tempo, and the stream tick that
    // falls on a capture tick, from which later ticks are converted.
    uint32_t streamDivision_ = 96;
    uint32_t streamTempo_ = kDefaultTempo;
    uint32_t anchorStreamTick_ = 0;
    uint32_t anchorTick_ = 0;
    double ticksPerStreamTick_ = 1.0;
    uint32_t lastTick_ = 0;       // of the last event written
    uint32_t endTick_ = 0;        // of the last record of any kind
    uint64_t endUs_ = 0;          // when that record was due
    bool anyRecord_ = false;
    bool newStream_ = false;      // a later stream whose first record is still to come
    std::vector<uint8_t> track_;  // track data without End of Track
    LongMessageJoiner joiner_;      // system exclusive messages being joined
};

#endif
