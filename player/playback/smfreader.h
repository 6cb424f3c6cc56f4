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

// A place in the merged song: where each track is read and which comes
// next. The reader plays from its own; other walks (state collection,
// lyrics) use one of their own over the same image, and a copy taken at a
// tick lets playback go back there without reading the song again.
struct SmfMerge {
    // The tracks not ended, keyed by (time of their next event, track
    // number) so that the earlier track wins a tie; a binary heap with the
    // smallest key at the front.
    std::vector<SmfTrackCursor> cursors;
    std::vector<uint64_t> queue;
    uint32_t position = 0;           // tick of the last event handed out
    uint32_t consumed = 0xFFFFFFFFu; // track of the last event: its next delta is read at the next call
    bool started = false;            // the queue holds every track's first event
    bool ended = false;              // all tracks ended
    bool broken = false;             // a fault was met: every further read fails
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

    // The tick of `ms` milliseconds into the song (clamped to the length):
    // the first tick at which TicksToMs reaches it.
    uint32_t MsToTicks(uint32_t ms) const;

    // Back to the start of every track.
    void Rewind();
    // The next event of the merge. With `includeLimit` an event at `limit` is
    // handed out; without, it gives LimitReached.
    SmfResult NextEvent(uint32_t limit, bool includeLimit, SmfEvent* event);

    // Walks of their own. A new merge stands at the song's start; Walk is
    // NextEvent on it, and reads nothing but the image, so it may run while
    // playback reads from the reader's own merge on another thread.
    SmfMerge NewMerge() const;
    SmfResult Walk(SmfMerge& merge, uint32_t limit, bool includeLimit, SmfEvent* event) const;
    // Playback goes on from `mark` (a merge of this reader), whose next
    // deltas count from `position`. Allocates nothing once a merge of this
    // reader has been taken over before.
    void PlaceAt(const SmfMerge& mark, uint32_t position);

    ~SmfReader();
    SmfReader(const SmfReader&) = delete;
    SmfReader& operator=(const SmfReader&) = delete;

private:
    struct TrackSpan {
        uint32_t start;   // offset of the track data in the image
        uint32_t length;  // bytes of track data
    };
    using MergeKey = uint64_t;
    static constexpr uint32_t kNoTrack = 0xFFFFFFFFu;

    SmfReader() = default;
    SmfResult Load(std::vector<uint8_t>&& file);
    SmfResult ReadChunks();
    SmfResult BuildIndex();   // smfindex.cpp
    SmfResult StartMerge(SmfMerge& merge) const;

    std::string path_;
    std::vector<uint8_t> image_;
    uint32_t length_ = 0;
    uint16_t format_ = 0;
    uint16_t trackCount_ = 0;
    uint16_t division_ = 0;
    std::vector<TempoMapEntry> tempoMap_;
    std::vector<TrackSpan> spans_;
    SmfMerge merge_;                  // playback's
    uint8_t lowestProgram_ = 255;
    uint8_t lampA_ = 1;
    uint8_t lampB_ = 0;
    int32_t leadingExclusive_ = 0;
    uint8_t highestVelocity_ = 0;
};

#endif
