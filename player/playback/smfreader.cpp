#include "smfreader.h"

#include <cstring>
#include <new>

#include "hostfile.h"
#include "riff_midi.h"
#include "smf_timecode.h"
#include "streamrecords.h"

namespace {

uint32_t Be32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 |
           static_cast<uint32_t>(p[2]) << 8 | p[3];
}

uint16_t Be16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] << 8 | p[1]);
}

// A variable-length number within [*pos, end). Any number of bytes is
// allowed, but the value must fit in 32 bits.
bool ReadVlq(const uint8_t* image, uint32_t* pos, uint32_t end, uint32_t* value)
{
    uint64_t v = 0;
    for (uint32_t p = *pos; p < end; ++p) {
        const uint8_t b = image[p];
        v = v << 7 | (b & 0x7F);
        if (v > 0xFFFFFFFFu)
            return false;
        if (!(b & 0x80)) {
            *pos = p + 1;
            *value = static_cast<uint32_t>(v);
            return true;
        }
    }
    return false;
}

bool TakesTwoDataBytes(uint8_t status)
{
    const uint8_t kind = status & 0xF0;
    return kind != 0xC0 && kind != 0xD0;
}

uint32_t RoundedDiv(uint64_t num, uint64_t den)
{
    const uint64_t q = (num + den / 2) / den;
    return q > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(q);
}

uint32_t SaturatedAdd(uint32_t a, uint32_t b)
{
    const uint64_t sum = static_cast<uint64_t>(a) + b;
    return sum > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(sum);
}

using smf::IsTimeCode;

// Milliseconds at `tick` for a time-code division.
uint32_t TimeCodeMs(uint16_t division, uint32_t tick)
{
    return RoundedDiv(static_cast<uint64_t>(tick) * 1000, smf::TimeCodeTicksPerSecond(division));
}

// Milliseconds from `from` to `tick` at `tempo`, for a ticks-per-quarter division.
uint32_t TempoMs(uint16_t division, uint32_t ticks, uint32_t tempo)
{
    return RoundedDiv(static_cast<uint64_t>(ticks) * tempo, static_cast<uint64_t>(division) * 1000);
}

}  // namespace

const char* SmfResultText(SmfResult result)
{
    switch (result) {
    case SmfResult::Ok: return "success";
    case SmfResult::InvalidFile: return "invalid file";
    case SmfResult::NoMemory: return "no memory";
    case SmfResult::OpenFailed: return "open failed";
    case SmfResult::EndOfFile: return "end of file";
    case SmfResult::LimitReached: return "limit reached";
    }
    return "unknown result";
}

SmfReader::~SmfReader() = default;

SmfResult SmfReader::Open(const char* path, std::unique_ptr<SmfReader>* out)
{
    out->reset();
    std::vector<uint8_t> file;
    switch (ReadFileImage(path, &file)) {
    case FileResult::Ok: break;
    case FileResult::NoMemory: return SmfResult::NoMemory;
    case FileResult::OpenFailed: return SmfResult::OpenFailed;
    case FileResult::ReadFailed: return SmfResult::InvalidFile;  // a short read
    }
    std::unique_ptr<SmfReader> reader(new (std::nothrow) SmfReader());
    if (!reader)
        return SmfResult::NoMemory;
    try {
        reader->path_ = path;
    } catch (const std::bad_alloc&) {
        return SmfResult::NoMemory;
    }
    const SmfResult result = reader->Load(std::move(file));
    if (result == SmfResult::Ok)
        *out = std::move(reader);
    return result;
}

SmfResult SmfReader::OpenImage(const uint8_t* bytes, size_t size, std::unique_ptr<SmfReader>* out)
{
    out->reset();
    if (size > 0xFFFFFFFFu)
        return SmfResult::NoMemory;
    std::unique_ptr<SmfReader> reader(new (std::nothrow) SmfReader());
    if (!reader)
        return SmfResult::NoMemory;
    std::vector<uint8_t> file;
    try {
        file.assign(bytes, bytes + size);
    } catch (const std::bad_alloc&) {
        return SmfResult::NoMemory;
    }
    const SmfResult result = reader->Load(std::move(file));
    if (result == SmfResult::Ok)
        *out = std::move(reader);
    return result;
}

SmfResult SmfReader::Load(std::vector<uint8_t>&& file)
{
    RmidData rmid;
    if (!FindRmidData(file.data(), file.size(), &rmid))
        return SmfResult::InvalidFile;
    try {
        if (rmid.isRmid)
            image_.assign(file.begin() + rmid.start, file.begin() + rmid.start + rmid.size);
        else
            image_ = std::move(file);
    } catch (const std::bad_alloc&) {
        return SmfResult::NoMemory;
    }
    const SmfResult result = BuildIndex();
    if (result != SmfResult::Ok) {
        image_.clear();
        tracks_.clear();
        tempoMap_.clear();
    }
    return result;
}

SmfResult SmfReader::BuildIndex()
{
    const uint8_t* image = image_.data();
    const uint32_t n = static_cast<uint32_t>(image_.size());
    if (n <= 7 || std::memcmp(image, "MThd", 4) != 0)
        return SmfResult::InvalidFile;
    const uint32_t headerLength = Be32(image + 4);
    if (headerLength < 6 || headerLength > n - 8)
        return SmfResult::InvalidFile;
    format_ = Be16(image + 8);
    trackCount_ = Be16(image + 10);
    division_ = Be16(image + 12);
    // A division that would make the millisecond arithmetic divide by zero.
    if (IsTimeCode(division_) ? (division_ & 0xFF) == 0 : division_ == 0)
        return SmfResult::InvalidFile;

    uint32_t pos = 8 + headerLength;
    try {
        tracks_.resize(trackCount_);
    } catch (const std::bad_alloc&) {
        return SmfResult::NoMemory;
    }
    for (TrackCursor& track : tracks_) {
        if (n - pos < 8 || std::memcmp(image + pos, "MTrk", 4) != 0)
            return SmfResult::InvalidFile;
        const uint32_t length = Be32(image + pos + 4);
        if (length > n - pos - 8)
            return SmfResult::InvalidFile;
        track.start = pos + 8;
        track.length = length;
        pos += 8 + length;
    }

    Rewind();
    lowestProgram_ = 255;
    lampA_ = 1;
    lampB_ = 0;
    leadingExclusive_ = 0;
    highestVelocity_ = 0;
    tempoMap_.clear();
    bool noteSeen = false, channel1Note = false, channel1Program = false;
    SmfEvent event;
    for (;;) {
        const SmfResult result = NextEvent(kSmfNoLimit, true, &event);
        if (result == SmfResult::EndOfFile)
            break;
        if (result != SmfResult::Ok)
            return result;
        const uint8_t kind = event.status & 0xF0;
        const uint8_t channel = (event.status & 0x0F) + 1;
        if (event.status == 0xFF && event.data1 == 0x51) {
            if (event.length != 3)
                return SmfResult::InvalidFile;
            const uint32_t tempo = static_cast<uint32_t>(event.data[0]) << 16 | event.data[1] << 8 | event.data[2];
            try {
                if (tempoMap_.empty() && event.tick > 0)
                    tempoMap_.push_back({0, 0, kDefaultTempo});
                uint32_t ms = 0;
                if (IsTimeCode(division_)) {
                    ms = TimeCodeMs(division_, event.tick);
                } else if (!tempoMap_.empty()) {
                    const TempoMapEntry& last = tempoMap_.back();
                    ms = SaturatedAdd(last.ms, TempoMs(division_, event.tick - last.tick, last.tempo));
                }
                tempoMap_.push_back({event.tick, ms, tempo});
            } catch (const std::bad_alloc&) {
                return SmfResult::NoMemory;
            }
        } else if (event.status == 0xF0) {
            if (!noteSeen)
                ++leadingExclusive_;
        } else if (kind == 0xC0) {
            const uint8_t program = event.data1;
            if (channel == 1)
                channel1Program = true;
            if (program < lowestProgram_) {
                lowestProgram_ = program;
                lampA_ = channel;
                lampB_ = 0;
            } else if (program == lowestProgram_) {
                if (channel < lampA_) {
                    lampB_ = lampA_;
                    lampA_ = channel;
                } else if (channel > lampA_ && (lampB_ == 0 || channel < lampB_)) {
                    lampB_ = channel;
                }
            }
        } else if (kind == 0x90) {
            if (channel <= 2 && event.data2 > highestVelocity_)
                highestVelocity_ = event.data2;
            if (channel == 1)
                channel1Note = true;
            noteSeen = true;
        }
    }
    if (channel1Note && !channel1Program)
        lampA_ = 1;
    if (tempoMap_.empty()) {
        try {
            tempoMap_.push_back({0, 0, kDefaultTempo});
        } catch (const std::bad_alloc&) {
            return SmfResult::NoMemory;
        }
    }
    length_ = position_;
    Rewind();
    return SmfResult::Ok;
}

void SmfReader::Rewind()
{
    for (TrackCursor& track : tracks_) {
        track.pos = track.start;
        track.end = track.start + track.length;
        track.time = 0;
        track.runningStatus = 0;
        track.ended = false;
        track.peeked = false;
    }
    position_ = 0;
    play_ = SmfPlayState();
}

SmfResult SmfReader::PeekCandidate(TrackCursor& track)
{
    uint32_t pos = track.pos;
    uint32_t delta = 0;
    if (!ReadVlq(image_.data(), &pos, track.end, &delta))
        return SmfResult::InvalidFile;  // the track ran out without End of Track
    if (delta > 0xFFFFFFFFu - track.time)
        return SmfResult::InvalidFile;  // beyond the 32-bit tick range
    track.nextTime = track.time + delta;
    track.deltaEnd = pos;
    track.peeked = true;
    return SmfResult::Ok;
}

SmfResult SmfReader::NextEvent(uint32_t limit, bool includeLimit, SmfEvent* event)
{
    if (play_.ended)
        return SmfResult::EndOfFile;
    TrackCursor* best = nullptr;
    for (TrackCursor& track : tracks_) {
        if (track.ended)
            continue;
        if (!track.peeked) {
            const SmfResult result = PeekCandidate(track);
            if (result != SmfResult::Ok)
                return result;
        }
        if (!best || track.nextTime < best->nextTime)  // the earlier track wins a tie
            best = &track;
    }
    if (!best) {
        play_.ended = true;
        return SmfResult::EndOfFile;
    }
    if (best->nextTime > limit || (best->nextTime == limit && !includeLimit))
        return SmfResult::LimitReached;

    best->pos = best->deltaEnd;
    best->peeked = false;
    if (best->end - best->pos < 3)
        return SmfResult::InvalidFile;
    best->time = best->nextTime;
    event->tick = best->time;
    event->delta = best->time - position_;
    event->track = static_cast<uint16_t>(best - tracks_.data());
    position_ = best->time;
    return DecodeEvent(*best, event);
}

SmfResult SmfReader::DecodeEvent(TrackCursor& track, SmfEvent* event)
{
    const uint8_t* image = image_.data();
    uint32_t pos = track.pos;
    const uint32_t end = track.end;
    uint8_t status = image[pos];
    event->data1 = 0;
    event->data2 = 0;
    event->length = 0;
    event->data = nullptr;
    if (status < 0xF0) {
        if (status < 0x80) {
            if (track.runningStatus == 0)
                return SmfResult::InvalidFile;  // a data byte without running status
            status = track.runningStatus;
        } else {
            track.runningStatus = status;
            ++pos;
        }
        const uint32_t needed = TakesTwoDataBytes(status) ? 2 : 1;
        if (end - pos < needed)
            return SmfResult::InvalidFile;
        event->data1 = image[pos];
        if (needed == 2)
            event->data2 = image[pos + 1];
        pos += needed;
    } else if (status == 0xF0 || status == 0xF7 || status == 0xFF) {
        track.runningStatus = 0;
        ++pos;
        if (status == 0xFF) {
            if (pos >= end)
                return SmfResult::InvalidFile;
            event->data1 = image[pos++];
        }
        uint32_t length = 0;
        if (!ReadVlq(image, &pos, end, &length) || length > end - pos)
            return SmfResult::InvalidFile;
        event->length = length;
        event->data = image + pos;
        pos += length;
        if (status == 0xFF && event->data1 == 0x2F)
            track.ended = true;
    } else {
        return SmfResult::InvalidFile;  // 0xF1 to 0xFE have no place in a file
    }
    event->status = status;
    track.pos = pos;
    return SmfResult::Ok;
}

uint32_t SmfReader::TicksToMs(uint32_t tick) const
{
    if (tick > length_)
        tick = length_;
    if (division_ == 0 || tempoMap_.empty())
        return 0;  // no song
    if (IsTimeCode(division_))
        return TimeCodeMs(division_, tick);
    const TempoMapEntry* entry = &tempoMap_.front();
    for (const TempoMapEntry& e : tempoMap_) {
        if (e.tick > tick)
            break;
        entry = &e;
    }
    return SaturatedAdd(entry->ms, TempoMs(division_, tick - entry->tick, entry->tempo));
}

SmfResult SmfReader::Seek(uint32_t startTick, MidiBuffer* buffer)
{
    constexpr uint8_t kNone = 0xFF;
    constexpr int kControllers = 120;  // 120-127 are channel mode messages
    bool haveTempo = false;
    uint32_t tempo = 0;
    uint8_t programs[16];
    uint8_t controllers[16][kControllers];
    std::memset(programs, kNone, sizeof programs);
    std::memset(controllers, kNone, sizeof controllers);

    Rewind();
    SmfEvent event;
    for (;;) {
        const SmfResult result = NextEvent(startTick, false, &event);
        if (result == SmfResult::LimitReached)
            break;
        if (result == SmfResult::EndOfFile)
            break;  // the song ends before the start: the first fill reports it
        if (result != SmfResult::Ok)
            return result;
        const uint8_t kind = event.status & 0xF0;
        const uint8_t channel = event.status & 0x0F;
        if (kind == 0xB0 && event.data1 < kControllers) {
            controllers[channel][event.data1] = event.data2;
        } else if (kind == 0xC0) {
            programs[channel] = event.data1;
        } else if (event.status == 0xFF && event.data1 == 0x51) {
            if (event.length != 3)
                return SmfResult::InvalidFile;
            tempo = static_cast<uint32_t>(event.data[0]) << 16 | event.data[1] << 8 | event.data[2];
            haveTempo = true;
        }
    }

    buffer->bytesRecorded = 0;
    auto put = [buffer](uint32_t event) {
        if (FreeBytes(buffer) < kMidiRecordSize)
            return false;
        PutMidiRecord(buffer, 0, event);
        return true;
    };
    if (haveTempo && !put(kMidiEventTempo | tempo))
        return SmfResult::NoMemory;
    for (uint8_t channel = 0; channel < 16; ++channel) {
        if (programs[channel] != kNone && !put(ShortEventWord(0xC0 | channel, programs[channel], 0)))
            return SmfResult::NoMemory;
    }
    for (uint8_t channel = 0; channel < 16; ++channel) {
        for (uint8_t controller = 0; controller < kControllers; ++controller) {
            const uint8_t value = controllers[channel][controller];
            if (value != kNone && !put(ShortEventWord(0xB0 | channel, controller, value)))
                return SmfResult::NoMemory;
        }
    }
    // The tracks keep their true times: the next delta counts from the start tick.
    position_ = startTick;
    return SmfResult::Ok;
}

void SmfReader::MarkLampInjectionPending()
{
    play_.lampPending = true;
    play_.injectionCountdown = leadingExclusive_;
}

void SmfReader::MarkVolumeInjectionPending()
{
    play_.volumePending = true;
    play_.injectionCountdown = leadingExclusive_;
}
