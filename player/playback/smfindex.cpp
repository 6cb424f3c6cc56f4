// The index of a song, built in one walk when it is opened: every track is
// read from start to end once (which checks every event), and the tempo map
// and statistics come out of that walk. Nothing here needs the merged order
// but the tempo map and the leading system exclusive count, and both are
// sorted out from what the walk noted, by (tick, track): the merge's order.
#include <algorithm>
#include <new>

#include "smfreader.h"
#include "smftime.h"
#include "smftrack.h"

namespace {

// Where an event stands in the merged song: its tick, then its track (the
// earlier track wins a tie); within a track the file's order.
struct SongPlace {
    uint32_t tick;
    uint32_t track;
};

bool Before(const SongPlace& a, const SongPlace& b)
{
    return a.tick < b.tick || (a.tick == b.tick && a.track < b.track);
}

struct TempoAt {
    SongPlace place;
    uint32_t tempo;
};

// What the walk notes about the song.
struct SongNotes {
    std::vector<TempoAt> tempos;          // track by track, each in file order
    std::vector<SongPlace> exclusives;    // 0xF0 events before their track's first note-on
    SongPlace firstNote = {0, 0};         // the song's first note-on
    bool noteSeen = false;
    bool channel1Note = false;
    bool channel1Program = false;
    uint8_t lowestProgram = 255;
    uint8_t lampA = 1;
    uint8_t lampB = 0;
    uint8_t highestVelocity = 0;
};

// The one or two lowest channels that carry the lowest program. The result
// does not depend on the order in which program changes are met.
void NoteProgram(SongNotes& notes, uint8_t channel, uint8_t program)
{
    if (channel == 1)
        notes.channel1Program = true;
    if (program < notes.lowestProgram) {
        notes.lowestProgram = program;
        notes.lampA = channel;
        notes.lampB = 0;
    } else if (program == notes.lowestProgram) {
        if (channel < notes.lampA) {
            notes.lampB = notes.lampA;
            notes.lampA = channel;
        } else if (channel > notes.lampA && (notes.lampB == 0 || channel < notes.lampB)) {
            notes.lampB = channel;
        }
    }
}

// One event of a track; `trackNoteSeen` is whether this track has had a
// note-on. Channel messages, the most frequent, are looked at first.
SmfResult NoteEvent(SongNotes& notes, const SmfEvent& event, bool* trackNoteSeen)
{
    const SongPlace place = {event.tick, event.track};
    const uint8_t status = event.status;
    const uint8_t channel = (status & 0x0F) + 1;
    switch (status & 0xF0) {
    case 0x90:
        if (channel <= 2 && event.data2 > notes.highestVelocity)
            notes.highestVelocity = event.data2;
        if (channel == 1)
            notes.channel1Note = true;
        if (!*trackNoteSeen && (!notes.noteSeen || Before(place, notes.firstNote))) {
            notes.firstNote = place;
            notes.noteSeen = true;
        }
        *trackNoteSeen = true;
        break;
    case 0xC0:
        NoteProgram(notes, channel, event.data1);
        break;
    case 0xF0:
        if (status == 0xF0 && !*trackNoteSeen) {
            notes.exclusives.push_back(place);
        } else if (status == 0xFF && event.data1 == 0x51) {
            if (event.length != 3)
                return SmfResult::InvalidFile;
            const uint32_t tempo = static_cast<uint32_t>(event.data[0]) << 16 | event.data[1] << 8 | event.data[2];
            notes.tempos.push_back({place, tempo});
        }
        break;
    }
    return SmfResult::Ok;
}

// 0xF0 events before the song's first note-on. A track's own exclusive
// messages before its first note-on at the same tick come first; so do an
// earlier track's at that tick.
int32_t CountLeadingExclusives(const SongNotes& notes)
{
    if (!notes.noteSeen)
        return static_cast<int32_t>(notes.exclusives.size());
    int32_t count = 0;
    for (const SongPlace& place : notes.exclusives) {
        if (Before(place, notes.firstNote) || (place.tick == notes.firstNote.tick && place.track == notes.firstNote.track))
            ++count;
    }
    return count;
}

}  // namespace

SmfResult SmfReader::BuildIndex()
{
    SongNotes notes;
    uint32_t length = 0;
    try {
        for (uint32_t i = 0; i < trackCount_; ++i) {
            SmfTrackCursor track = {spans_[i].start, spans_[i].start + spans_[i].length, 0, 0, false};
            bool trackNoteSeen = false;
            SmfEvent event;
            while (!track.ended) {
                SmfResult result = ReadDelta(image_.data(), track);
                if (result == SmfResult::Ok && track.end - track.pos < 3)
                    result = SmfResult::InvalidFile;
                if (result == SmfResult::Ok)
                    result = DecodeEvent(image_.data(), track, &event);
                if (result != SmfResult::Ok)
                    return result;
                event.tick = track.time;
                event.track = static_cast<uint16_t>(i);
                result = NoteEvent(notes, event, &trackNoteSeen);
                if (result != SmfResult::Ok)
                    return result;
            }
            length = std::max(length, track.time);
        }

        // Set Tempo events in the merge's order; a stable sort keeps the
        // file order within a track and the track order within a tick.
        std::stable_sort(notes.tempos.begin(), notes.tempos.end(),
                         [](const TempoAt& a, const TempoAt& b) { return a.place.tick < b.place.tick; });
        tempoMap_.clear();
        tempoMap_.reserve(notes.tempos.size() + 1);
        if (notes.tempos.empty() || notes.tempos.front().place.tick > 0)
            tempoMap_.push_back({0, 0, kDefaultTempo});
        for (const TempoAt& t : notes.tempos) {
            uint32_t ms = 0;
            if (IsTimeCode(division_)) {
                ms = TimeCodeMs(division_, t.place.tick);
            } else if (!tempoMap_.empty()) {
                const TempoMapEntry& last = tempoMap_.back();
                ms = SaturatedAdd(last.ms, TempoMs(division_, t.place.tick - last.tick, last.tempo));
            }
            tempoMap_.push_back({t.place.tick, ms, t.tempo});
        }
    } catch (const std::bad_alloc&) {
        return SmfResult::NoMemory;
    }

    lowestProgram_ = notes.lowestProgram;
    lampA_ = notes.channel1Note && !notes.channel1Program ? 1 : notes.lampA;
    lampB_ = notes.lampB;
    highestVelocity_ = notes.highestVelocity;
    leadingExclusive_ = CountLeadingExclusives(notes);
    length_ = length;
    return SmfResult::Ok;
}
