#include "smfreader.h"

#include <cstring>
#include <new>

#include "hostfile.h"
#include "riff_midi.h"
#include "smftime.h"
#include "smftrack.h"
#include "streamrecords.h"

namespace {

uint16_t Be16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] << 8 | p[1]);
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
    SmfResult result = ReadChunks();
    if (result == SmfResult::Ok)
        result = BuildIndex();
    if (result != SmfResult::Ok) {
        image_.clear();
        spans_.clear();
        cursors_.clear();
        tempoMap_.clear();
    }
    Rewind();
    return result;
}

// The header and the chunk of every track.
SmfResult SmfReader::ReadChunks()
{
    const uint8_t* image = image_.data();
    const uint32_t n = static_cast<uint32_t>(image_.size());
    if (n <= 7 || std::memcmp(image, "MThd", 4) != 0)
        return SmfResult::InvalidFile;
    const uint32_t headerLength = Be32At(image + 4);
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
        spans_.resize(trackCount_);
        cursors_.resize(trackCount_);
        queue_.reserve(trackCount_);
    } catch (const std::bad_alloc&) {
        return SmfResult::NoMemory;
    }
    for (TrackSpan& span : spans_) {
        if (n - pos < 8 || std::memcmp(image + pos, "MTrk", 4) != 0)
            return SmfResult::InvalidFile;
        const uint32_t length = Be32At(image + pos + 4);
        if (length > n - pos - 8)
            return SmfResult::InvalidFile;
        span = {pos + 8, length};
        pos += 8 + length;
    }
    return SmfResult::Ok;
}

void SmfReader::Rewind()
{
    position_ = 0;
    queue_.clear();
    started_ = false;
    consumed_ = kNoTrack;
    ended_ = false;
    broken_ = false;
}

// Every track's first event, in track order, into the queue.
SmfResult SmfReader::StartMerge()
{
    started_ = true;
    for (uint32_t i = 0; i < trackCount_; ++i) {
        SmfTrackCursor& track = cursors_[i];
        track = {spans_[i].start, spans_[i].start + spans_[i].length, 0, 0, false};
        const SmfResult result = ReadDelta(image_.data(), track);
        if (result != SmfResult::Ok)
            return result;
        queue_.push_back(static_cast<MergeKey>(track.time) << 16 | i);
    }
    for (size_t at = queue_.size() / 2; at-- > 0;)
        SiftDown(at);
    return SmfResult::Ok;
}

void SmfReader::SiftDown(size_t at)
{
    const size_t n = queue_.size();
    const MergeKey key = queue_[at];
    for (;;) {
        size_t child = 2 * at + 1;
        if (child >= n)
            break;
        if (child + 1 < n && queue_[child + 1] < queue_[child])
            ++child;
        if (key <= queue_[child])
            break;
        queue_[at] = queue_[child];
        at = child;
    }
    queue_[at] = key;
}

void SmfReader::PopFront()
{
    queue_.front() = queue_.back();
    queue_.pop_back();
    if (!queue_.empty())
        SiftDown(0);
}

SmfResult SmfReader::NextEvent(uint32_t limit, bool includeLimit, SmfEvent* event)
{
    if (broken_)
        return SmfResult::InvalidFile;
    if (ended_)
        return SmfResult::EndOfFile;
    SmfResult result = SmfResult::Ok;
    if (!started_) {
        result = StartMerge();
    } else if (consumed_ != kNoTrack) {
        // The track of the last event moves back into place with its next one.
        result = ReadDelta(image_.data(), cursors_[consumed_]);
        if (result == SmfResult::Ok) {
            queue_.front() = static_cast<MergeKey>(cursors_[consumed_].time) << 16 | consumed_;
            SiftDown(0);
            consumed_ = kNoTrack;
        }
    }
    if (result != SmfResult::Ok) {
        broken_ = true;
        return result;
    }
    if (queue_.empty()) {
        ended_ = true;
        return SmfResult::EndOfFile;
    }
    const uint32_t index = static_cast<uint32_t>(queue_.front() & 0xFFFF);
    SmfTrackCursor& track = cursors_[index];
    if (track.time > limit || (track.time == limit && !includeLimit))
        return SmfResult::LimitReached;
    if (track.end - track.pos < 3) {
        broken_ = true;
        return SmfResult::InvalidFile;
    }
    event->tick = track.time;
    event->delta = track.time - position_;
    event->track = static_cast<uint16_t>(index);
    position_ = track.time;
    result = DecodeEvent(image_.data(), track, event);
    if (result != SmfResult::Ok) {
        broken_ = true;
        return result;
    }
    if (track.ended)
        PopFront();
    else
        consumed_ = index;
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
