// Filling stream buffers from the merged song: short messages, tempo and
// no-operation records, long messages in pieces across buffers, the voice
// map, the Velocity Base, the Playback Control adjustments and the one-time
// injection of the master volume and guide lamp messages.
#ifndef ZUB_PLAYBACK_BUFFERFILL_H
#define ZUB_PLAYBACK_BUFFERFILL_H

#include <atomic>
#include <cstdint>

#include "instrumentcontrols.h"
#include "midistream.h"
#include "playadjust.h"
#include "smfreader.h"

// The filling's place between buffers, for one playback at a time: owned
// by the Sequencer, used on the stream's thread once started.
class BufferFiller {
public:
    explicit BufferFiller(const InstrumentControls& controls) : controls_(controls) {}

    // The most music one buffer may hold, in milliseconds at the tempo it
    // is sent with; 0 for none (a buffer is then filled up). Changes to the
    // controls reach the stream with the next buffer filled, so this bounds
    // how late they are heard.
    void SetBufferSpan(uint32_t ms) { spanMs_ = ms; }

    // At each preroll, after the reader's seek to `startTick`: nothing is
    // pending or sounding, the stream runs at the song's tempo at the start,
    // and the injections the controls ask for are armed. They go out once
    // the song's leading system exclusive messages have passed.
    void Start(const SmfReader& reader, uint32_t startTick);

    // Fills `buffer` from the reader's merge up to `endTick` (included).
    // Ok: more to come. EndOfFile: the song is exhausted (the buffer may
    // still hold records). InvalidFile or another result: a fault in the song.
    SmfResult Fill(SmfReader& reader, MidiBuffer* buffer, uint32_t endTick);

    // The channels whose lamps the last injection switched on; kept across
    // songs. Safe to read on any thread.
    LampPair LitLamps() const { return LampPair::Unpacked(lit_.load()); }

    BufferFiller(const BufferFiller&) = delete;
    BufferFiller& operator=(const BufferFiller&) = delete;

private:
    // A long message written in pieces, possibly across buffers.
    struct LongMessage {
        bool pending = false;
        bool needsF0 = false;  // its next piece starts with 0xF0 not in `data`
        const uint8_t* data = nullptr;
        uint32_t remaining = 0;  // bytes still to write, 0xF0 included
    };

    bool InjectionReady() const;
    void StartInjection(const SmfReader& reader, MidiBuffer* buffer);
    void StartLong(const uint8_t* data, uint32_t length, bool needsF0);
    void WritePiece(MidiBuffer* buffer, uint32_t delta);
    uint32_t DeltaTo(uint32_t tick);
    void WriteChannelMessage(const SmfReader& reader, MidiBuffer* buffer, const SmfEvent& event);
    void WriteTempo(MidiBuffer* buffer, uint32_t delta, uint32_t songTempo);
    void OpenSpan();
    void MoveSpan(uint32_t tempoBefore);
    SmfResult WriteEvent(const SmfReader& reader, MidiBuffer* buffer, const SmfEvent& event);

    const InstrumentControls& controls_;
    InstrumentSettings settings_;  // taken at the start of each buffer
    PlayAdjuster adjuster_;
    LongMessage long_;
    bool ended_ = false;        // all tracks ended or a read stopped at the end tick
    bool lampPending_ = false;
    bool volumePending_ = false;
    int32_t injectionCountdown_ = 0;  // 0xF0 events still to pass before injecting
    uint8_t injection_[64] = {};      // bytes of a started injection
    std::atomic<uint16_t> lit_{0};
    uint16_t division_ = 96;
    uint32_t streamTick_ = 0;   // tick of the last record written
    uint32_t spanMs_ = 0;
    uint32_t spanEnd_ = 0;      // the present buffer holds nothing after this tick
};

// The velocity a note-on is sent with: lowered so that the song's loudest
// note on channels 1 and 2 (`highest`) plays at `base`.
uint8_t ApplyVelocityBase(uint8_t velocity, uint8_t highest, int base);

// The bytes of the injected long message: the master volume message when
// `volume`, then for `lamps` lamp-off messages for the `lit` channels and
// lamp-on messages for the `selection` (the song's lamp channels for Auto),
// which become the lit pair. Returns the byte count (at most 44).
uint32_t BuildInjection(bool volume, int masterVolume, bool lamps, LampPair selection, const SmfReader& reader,
                        LampPair* lit, uint8_t* out);

#endif
