// SmfReader: a Standard MIDI File (bare, or inside a RIFF "RMID" file) held
// whole in memory, checked, indexed once (tempo map and statistics), and
// served as one time-ordered stream of events merged from all tracks.
#ifndef ZUB_PLAYBACK_SMFREADER_H
#define ZUB_PLAYBACK_SMFREADER_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct MidiBuffer;

enum class SmfResult {
    Ok,
    InvalidFile,
    NoMemory,
    OpenFailed,
    EndOfFile,     // all tracks have ended
    LimitReached,  // the next event lies beyond the caller's limit
};

// "invalid file", "no memory", "open failed", ...
const char* SmfResultText(SmfResult result);

// A limit for NextEvent that nothing lies beyond.
constexpr uint32_t kSmfNoLimit = 0xFFFFFFFFu;
constexpr uint32_t kDefaultTempo = 500000;  // microseconds per quarter note

struct TempoMapEntry {
    uint32_t tick;
    uint32_t ms;     // milliseconds at that tick
    uint32_t tempo;  // microseconds per quarter note
};

// One event of the merge.
struct SmfEvent {
    uint32_t tick;         // absolute tick
    uint32_t delta;        // ticks since the previous event handed out
    uint16_t track;        // track index from 0
    uint8_t status;        // running status expanded
    uint8_t data1;         // first data byte; the meta type for 0xFF
    uint8_t data2;         // second data byte of three-byte channel messages
    uint32_t length;       // data bytes of 0xF0, 0xF7 and 0xFF events
    const uint8_t* data;   // points into the reader's image; valid while it lives
};

// Where the sequencer's buffer filling keeps its place between buffers:
// a long message being written in pieces, and the armed injections.
struct SmfPlayState {
    bool ended = false;               // all tracks ended or a read stopped at its limit
    bool longPending = false;         // a long message is partly written
    bool longNeedsF0 = false;         // its next piece starts with 0xF0 not in `longData`
    const uint8_t* longData = nullptr;
    uint32_t longRemaining = 0;       // bytes still to write, 0xF0 included
    bool lampPending = false;
    bool volumePending = false;
    int32_t injectionCountdown = 0;   // 0xF0 events still to pass before injecting
    uint8_t injection[64] = {};       // bytes of a started injection
};

class SmfReader {
public:
    // Reads and indexes the file. On failure `*out` is left empty.
    static SmfResult Open(const char* path, std::unique_ptr<SmfReader>* out);
    // The same for a file image already in memory (copied).
    static SmfResult OpenImage(const uint8_t* bytes, size_t size, std::unique_ptr<SmfReader>* out);

    const std::string& Path() const { return path_; }
    uint16_t Format() const { return format_; }
    uint16_t TrackCount() const { return trackCount_; }
    uint16_t Division() const { return division_; }
    uint32_t Length() const { return length_; }  // ticks, End of Track included

    // Milliseconds at `tick` (clamped to the length), rounded.
    uint32_t TicksToMs(uint32_t tick) const;
    const std::vector<TempoMapEntry>& TempoMap() const { return tempoMap_; }

    // Statistics of the whole song.
    uint8_t HighestVelocity() const { return highestVelocity_; }  // note-ons on channels 1 and 2
    uint8_t LowestProgram() const { return lowestProgram_; }      // 255 when there is no program change
    uint8_t LampChannelA() const { return lampA_; }               // 1-16
    uint8_t LampChannelB() const { return lampB_; }               // 1-16, 0 = none
    int32_t LeadingExclusiveCount() const { return leadingExclusive_; }  // 0xF0 events before the first note-on

    // Back to the start of every track.
    void Rewind();
    // The next event of the merge. With `includeLimit` an event at `limit` is
    // handed out; without, it gives LimitReached.
    SmfResult NextEvent(uint32_t limit, bool includeLimit, SmfEvent* event);
    // Collects the song's state (tempo, programs, controllers) before
    // `startTick` into `buffer` as delta-0 records; NoMemory when it does not fit.
    SmfResult Seek(uint32_t startTick, MidiBuffer* buffer);

    // Arm an injection: it starts once the song's leading 0xF0 events have passed.
    void MarkLampInjectionPending();
    void MarkVolumeInjectionPending();

    SmfPlayState& PlayState() { return play_; }

    ~SmfReader();
    SmfReader(const SmfReader&) = delete;
    SmfReader& operator=(const SmfReader&) = delete;

private:
    struct TrackCursor {
        uint32_t start = 0;      // offset of the track data in the image
        uint32_t length = 0;     // bytes of track data
        uint32_t pos = 0;        // current read offset
        uint32_t end = 0;        // start + length
        uint32_t time = 0;       // absolute tick of the last consumed event
        uint32_t nextTime = 0;   // candidate time, valid when `peeked`
        uint32_t deltaEnd = 0;   // offset past the peeked delta
        uint8_t runningStatus = 0;
        bool ended = false;
        bool peeked = false;
    };

    SmfReader() = default;
    SmfResult Load(std::vector<uint8_t>&& file);
    SmfResult BuildIndex();
    SmfResult PeekCandidate(TrackCursor& cursor);
    SmfResult DecodeEvent(TrackCursor& cursor, SmfEvent* event);

    std::string path_;
    std::vector<uint8_t> image_;
    uint32_t position_ = 0;
    uint32_t length_ = 0;
    uint16_t format_ = 0;
    uint16_t trackCount_ = 0;
    uint16_t division_ = 0;
    std::vector<TempoMapEntry> tempoMap_;
    std::vector<TrackCursor> tracks_;
    uint8_t lowestProgram_ = 255;
    uint8_t lampA_ = 1;
    uint8_t lampB_ = 0;
    int32_t leadingExclusive_ = 0;
    uint8_t highestVelocity_ = 0;
    SmfPlayState play_;
};

#endif
