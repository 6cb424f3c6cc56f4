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

#include "midistream.h"  // MidiBuffer, kDefaultTempo

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

// Where a track is read (smftrack.h): small, so that songs of many tracks
// stay in the cache.
struct SmfTrackCursor {
    uint32_t pos = 0;   // read offset; past the next event's delta while queued
    uint32_t end = 0;   // offset past the track's data
    uint32_t time = 0;  // absolute tick of the next event while queued, else of the last one
    uint8_t runningStatus = 0;
    bool ended = false;
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

    ~SmfReader();
    SmfReader(const SmfReader&) = delete;
    SmfReader& operator=(const SmfReader&) = delete;

private:
    struct TrackSpan {
        uint32_t start;   // offset of the track data in the image
        uint32_t length;  // bytes of track data
    };
    // The merge's queue: the tracks not ended, keyed by (time of their next
    // event, track number) so that the earlier track wins a tie; the
    // smallest key sits at the front.
    using MergeKey = uint64_t;
    static constexpr uint32_t kNoTrack = 0xFFFFFFFFu;

    SmfReader() = default;
    SmfResult Load(std::vector<uint8_t>&& file);
    SmfResult ReadChunks();
    SmfResult BuildIndex();   // smfindex.cpp
    SmfResult StartMerge();
    void SiftDown(size_t at);
    void PopFront();

    std::string path_;
    std::vector<uint8_t> image_;
    uint32_t position_ = 0;
    uint32_t length_ = 0;
    uint16_t format_ = 0;
    uint16_t trackCount_ = 0;
    uint16_t division_ = 0;
    std::vector<TempoMapEntry> tempoMap_;
    std::vector<TrackSpan> spans_;
    std::vector<SmfTrackCursor> cursors_;
    std::vector<MergeKey> queue_;     // a binary heap
    bool started_ = false;            // the queue holds every track's first event
    uint32_t consumed_ = kNoTrack;    // track of the last event: its next delta is read at the next call
    bool ended_ = false;              // all tracks ended
    bool broken_ = false;             // a fault was met: every further read fails
    uint8_t lowestProgram_ = 255;
    uint8_t lampA_ = 1;
    uint8_t lampB_ = 0;
    int32_t leadingExclusive_ = 0;
    uint8_t highestVelocity_ = 0;
};

#endif
