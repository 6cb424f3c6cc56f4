// Filling stream buffers from the merged song: short messages, tempo and
// no-operation records, long messages in pieces across buffers, the voice
// map, the Velocity Base, the Playback Control adjustments and the one-time
// injection of the master volume and guide lamp messages. Also the opening
// of a playback that starts inside the song (the state there) and the jumps
// of an A-B loop.
#ifndef ZUB_PLAYBACK_BUFFERFILL_H
#define ZUB_PLAYBACK_BUFFERFILL_H

#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

#include "instrumentcontrols.h"
#include "jumplog.h"
#include "midistream.h"
#include "playadjust.h"
#include "smfreader.h"
#include "songstate.h"

// A passage to repeat: from `start` (included) to `end` (excluded), `count`
// times in all (0: until it is cleared). `mark` and `state` are the song's
// merge and state at `start` (CollectSongState).
struct LoopPlan {
    uint32_t start = 0;
    uint32_t end = 0;
    uint32_t count = 0;
    SmfMerge mark;
    SongState state;
};

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

    // At each preroll, once the reader stands at the state's tick: nothing
    // is pending or sounding, and the stream runs at the song's tempo there.
    // A new playback arms the injections the controls ask for; they go out
    // once the song's leading system exclusive messages still to come have
    // passed. A seek (`seeking`) injects nothing (the instrument keeps what
    // it had) but puts the pedals down so far back up.
    void Start(const SmfReader& reader, const SongState& state, bool seeking);
    // The opening of the playback into `buffer`, after Start and before the
    // first Fill: after a seek the pedals up, then the state at the start
    // tick (nothing at tick 0), with the voice map started afresh. NoMemory
    // when it does not fit; it may be written again into a larger buffer.
    SmfResult WriteOpening(MidiBuffer* buffer);

    // Fills `buffer` from the reader's merge up to `endTick` (included).
    // Ok: more to come. EndOfFile: the song is exhausted (the buffer may
    // still hold records). InvalidFile or another result: a fault in the song.
    SmfResult Fill(SmfReader& reader, MidiBuffer* buffer, uint32_t endTick);

    // The loop, or none. Each jump back turns off the notes sounding and
    // puts the pedals up, then sends the state at the loop's start; the
    // stream's time goes on without a gap. Takes effect from the next buffer.
    void SetLoop(const LoopPlan* plan);

    // The song's place at a stream tick played since the preroll.
    SongPlace PlaceAt(uint64_t streamTick) const { return jumps_.At(streamTick); }

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
    // Turning off what was sent, before an opening or at a jump: note-offs
    // for the sounding notes (`notes`) and the pedals up, either those down
    // now (`exact`) or every one that moved since the preroll (after a seek
    // the buffers thrown away may have held a pedal's release).
    struct Release {
        bool active = false;
        bool notes = false;
        bool exact = false;
        uint32_t at = 0;  // next channel * 128 + key, then 2048 + channel
    };

    bool InjectionReady() const;
    void StartInjection(const SmfReader& reader, MidiBuffer* buffer);
    void StartLong(const uint8_t* data, uint32_t length, bool needsF0);
    void WritePiece(MidiBuffer* buffer, uint32_t delta);
    uint32_t DeltaTo(uint32_t tick);
    void WriteChannelMessage(const SmfReader& reader, MidiBuffer* buffer, const SmfEvent& event);
    void WriteShort(MidiBuffer* buffer, ShortMessage message, uint32_t delta, uint8_t highest);
    void WriteTempo(MidiBuffer* buffer, uint32_t delta, uint32_t songTempo);
    void OpenSpan();
    void MoveSpan(uint32_t tempoBefore);
    SmfResult WriteEvent(const SmfReader& reader, MidiBuffer* buffer, const SmfEvent& event);
    bool WriteReleases(MidiBuffer* buffer);
    bool WritePending(MidiBuffer* buffer);
    void NoteSent(const ShortMessage& message);
    bool LoopAhead(uint32_t endTick) const;
    void Jump(SmfReader& reader, MidiBuffer* buffer);

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
    uint8_t highestVelocity_ = 0;
    uint32_t streamTick_ = 0;   // song tick of the last record written
    uint64_t elapsed_ = 0;      // stream ticks written since the preroll
    uint32_t spanMs_ = 0;
    uint32_t spanEnd_ = 0;      // the present buffer holds nothing after this tick
    uint32_t startTempo_ = kDefaultTempo;

    // What has been sent: note-ons not yet released (at most 4 counted per
    // key), and the sustain (64) and sostenuto (66) pedals.
    uint8_t sounding_[16][128] = {};
    uint8_t pedals_[16][2] = {};    // the last value sent
    bool pedalsMoved_[16][2] = {};  // since the preroll
    Release release_;
    // The opening: whether it follows a seek, the pedals that moved before
    // it, and the state's events.
    bool seeking_ = false;
    bool pedalsBeforeSeek_[16][2] = {};
    std::vector<uint32_t> opening_;
    // Delta-0 events of an opening or a jump still to write: the state, as
    // stream event words that go the way of the song's own events.
    std::vector<uint32_t> pending_;
    size_t pendingAt_ = 0;

    // The loop: guarded, with the filling, by `lock_`. Its state's events
    // are made when it is set, so that a jump allocates nothing.
    mutable std::mutex lock_;
    bool loopOn_ = false;
    uint32_t loopStart_ = 0, loopEnd_ = 0, loopCount_ = 0;
    SmfMerge loopMark_;
    uint32_t loopTempo_ = kDefaultTempo;
    std::vector<uint32_t> loopEvents_;
    uint32_t jumpsDone_ = 0;
    JumpLog jumps_;
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
