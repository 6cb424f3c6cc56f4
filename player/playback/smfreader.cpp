#include "smfreader.h"

#include <cstring>
#include <new>

#include "hostfile.h"
#include "riff_midi.h"
#include "smftime.h"
#include "smftrack.h"

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
        merge_ = SmfMerge();
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
        merge_ = NewMerge();
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
    merge_.position = 0;
    merge_.queue.clear();
    merge_.started = false;
    merge_.consumed = kNoTrack;
    merge_.ended = false;
    merge_.broken = false;
}

SmfMerge SmfReader::NewMerge() const
{
    SmfMerge merge;
    merge.cursors.resize(trackCount_);
    merge.queue.reserve(trackCount_);
    return merge;
}

void SmfReader::PlaceAt(const SmfMerge& mark, uint32_t position)
{
    merge_ = mark;  // same sizes as before: the vectors keep their storage
    merge_.position = position;
}

namespace {

void SiftDown(std::vector<uint64_t>& queue, size_t at)
{
    const size_t n = queue.size();
    const uint64_t key = queue[at];
    for (;;) {
        size_t child = 2 * at + 1;
        if (child >= n)
            break;
        if (child + 1 < n && queue[child + 1] < queue[child])
            ++child;
        if (key <= queue[child])
            break;
        queue[at] = queue[child];
        at = child;
    }
    queue[at] = key;
}

void PopFront(std::vector<uint64_t>& queue)
{
    queue.front() = queue.back();
    queue.pop_back();
    if (!queue.empty())
        SiftDown(queue, 0);
}

}  // namespace

// Every track's first event, in track order, into the queue.
SmfResult SmfReader::StartMerge(SmfMerge& merge) const
{
    merge.started = true;
    merge.queue.clear();
    for (uint32_t i = 0; i < trackCount_; ++i) {
        SmfTrackCursor& track = merge.cursors[i];
        track = {spans_[i].start, spans_[i].start + spans_[i].length, 0, 0, false};
        const SmfResult result = ReadDelta(image_.data(), track);
        if (result != SmfResult::Ok)
            return result;
        merge.queue.push_back(static_cast<MergeKey>(track.time) << 16 | i);
    }
    for (size_t at = merge.queue.size() / 2; at-- > 0;)
        SiftDown(merge.queue, at);
    return SmfResult::Ok;
}

SmfResult SmfReader::NextEvent(uint32_t limit, bool includeLimit, SmfEvent* event)
{
    return Walk(merge_, limit, includeLimit, event);
}

SmfResult SmfReader::Walk(SmfMerge& merge, uint32_t limit, bool includeLimit, SmfEvent* event) const
{
    if (merge.broken)
        return SmfResult::InvalidFile;
    if (merge.ended)
        return SmfResult::EndOfFile;
    SmfResult result = SmfResult::Ok;
    if (!merge.started) {
        result = StartMerge(merge);
    } else if (merge.consumed != kNoTrack) {
        // The track of the last event moves back into place with its next one.
        result = ReadDelta(image_.data(), merge.cursors[merge.consumed]);
        if (result == SmfResult::Ok) {
            merge.queue.front() = static_cast<MergeKey>(merge.cursors[merge.consumed].time) << 16 | merge.consumed;
            SiftDown(merge.queue, 0);
            merge.consumed = kNoTrack;
        }
    }
    if (result != SmfResult::Ok) {
        merge.broken = true;
        return result;
    }
    if (merge.queue.empty()) {
        merge.ended = true;
        return SmfResult::EndOfFile;
    }
    const uint32_t index = static_cast<uint32_t>(merge.queue.front() & 0xFFFF);
    SmfTrackCursor& track = merge.cursors[index];
    if (track.time > limit || (track.time == limit && !includeLimit))
        return SmfResult::LimitReached;
    if (track.end - track.pos < 3) {
        merge.broken = true;
        return SmfResult::InvalidFile;
    }
    event->tick = track.time;
    event->delta = track.time - merge.position;
    event->track = static_cast<uint16_t>(index);
    merge.position = track.time;
    result = DecodeEvent(image_.data(), track, event);
    if (result != SmfResult::Ok) {
        merge.broken = true;
        return result;
    }
    if (track.ended)
        PopFront(merge.queue);
    else
        merge.consumed = index;
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

uint32_t SmfReader::MsToTicks(uint32_t ms) const
{
    if (division_ == 0 || tempoMap_.empty())
        return 0;
    if (TicksToMs(length_) <= ms)
        return length_;
    // TicksToMs never falls as the tick grows: the first tick that reaches `ms`.
    uint32_t low = 0, high = length_;
    while (low < high) {
        const uint32_t mid = low + (high - low) / 2;
        if (TicksToMs(mid) < ms)
            low = mid + 1;
        else
            high = mid;
    }
    return low;
}
