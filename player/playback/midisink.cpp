#include "midisink.h"

#include <algorithm>

#include "smfbytes.h"
#include "smftime.h"

using smf::PutBe32;
using smf::PutVlq;


void MemorySink::OnEvent(const MidiSinkEvent& event)
{
    Entry entry{event.kind, event.tick, event.scheduledUs, event.actualUs,
                std::vector<uint8_t>(event.bytes, event.bytes + event.length), event.tempo};
    std::lock_guard<std::mutex> guard(lock_);
    entries_.push_back(std::move(entry));
}

std::vector<MemorySink::Entry> MemorySink::Entries() const
{
    std::lock_guard<std::mutex> guard(lock_);
    return entries_;
}

void MemorySink::Clear()
{
    std::lock_guard<std::mutex> guard(lock_);
    entries_.clear();
}

namespace {

// Microseconds per tick as a fraction: per second for time code, per
// quarter note otherwise.
struct TickLength {
    double us;
    double ticks;
};

TickLength LengthOfTick(uint32_t division, uint32_t tempo)
{
    if (IsTimeCode(division))
        return {1e6, static_cast<double>(TimeCodeTicksPerSecond(division))};
    return {static_cast<double>(tempo), static_cast<double>(division)};
}

}  // namespace

void CaptureSink::OnTimeDivision(uint32_t division)
{
    FlushExclusive();
    if (!divisionSet_) {
        division_ = static_cast<uint16_t>(division);
        divisionSet_ = true;
        anchorTick_ = 0;
    } else {
        anchorTick_ = endTick_;  // another stream: it continues after the last one
        newStream_ = anyRecord_;
    }
    streamDivision_ = division;
    streamTempo_ = kDefaultTempo;  // a new stream runs at the default until told otherwise
    anchorStreamTick_ = 0;
    // The capture's tempo goes back with the stream's, unless ticks of the
    // capture are not quarter notes.
    if (!IsTimeCode(division_) && captureTempo_ != kDefaultTempo)
        WriteTempo(anchorTick_, kDefaultTempo);
    UpdateRate();
}

// The capture tick of a tick of the present stream.
uint32_t CaptureSink::CaptureTick(uint32_t streamTick) const
{
    const double tick = anchorTick_ + (streamTick - anchorStreamTick_) * ticksPerStreamTick_ + 0.5;
    return tick >= 4294967295.0 ? 0xFFFFFFFFu : static_cast<uint32_t>(tick);
}

// Stream ticks from `streamTick` on convert from the capture tick it falls on.
void CaptureSink::Anchor(uint32_t streamTick)
{
    anchorTick_ = CaptureTick(streamTick);
    anchorStreamTick_ = streamTick;
}

// Capture ticks per stream tick at the present divisions and tempos.
void CaptureSink::UpdateRate()
{
    if (!IsTimeCode(division_) && !IsTimeCode(streamDivision_)) {
        ticksPerStreamTick_ = static_cast<double>(division_) / streamDivision_;  // the tempo is the same on both
        return;
    }
    const TickLength stream = LengthOfTick(streamDivision_, streamTempo_);
    const TickLength capture = LengthOfTick(division_, captureTempo_);
    const double captureUs = capture.us * stream.ticks;
    ticksPerStreamTick_ = captureUs > 0 ? stream.us * capture.ticks / captureUs : 0;
}

// The first record of a later stream: the time between the end of the last
// stream and this stream's start, beyond what its own ticks account for,
// moves the stream on by as many capture ticks.
void CaptureSink::KeepPauseBefore(const MidiSinkEvent& first)
{
    const TickLength stream = LengthOfTick(streamDivision_, streamTempo_);
    const double intoStream = (first.tick - anchorStreamTick_) * stream.us / stream.ticks;
    const double pauseUs = static_cast<double>(first.scheduledUs) - static_cast<double>(endUs_) - intoStream;
    if (pauseUs <= 0)
        return;
    const TickLength capture = LengthOfTick(division_, captureTempo_);
    const double ticks = pauseUs * capture.ticks / capture.us + 0.5;
    anchorTick_ += ticks >= 4294967295.0 - anchorTick_ ? 0 : static_cast<uint32_t>(ticks);
}

void CaptureSink::WriteTempo(uint32_t tick, uint32_t tempo)
{
    const uint8_t meta[6] = {0xFF, 0x51, 0x03, static_cast<uint8_t>(tempo >> 16), static_cast<uint8_t>(tempo >> 8),
                             static_cast<uint8_t>(tempo)};
    AddEvent(tick, nullptr, 0, meta, sizeof meta);
    captureTempo_ = tempo;
}

void CaptureSink::AddEvent(uint32_t tick, const uint8_t* prefix, uint32_t prefixLength, const uint8_t* bytes,
                           uint32_t length)
{
    PutVlq(track_, tick - lastTick_);
    lastTick_ = tick;
    track_.insert(track_.end(), prefix, prefix + prefixLength);
    track_.insert(track_.end(), bytes, bytes + length);
}

// A whole system exclusive message as one 0xF0 event; bytes outside any
// message as an escape (0xF7) event.
void CaptureSink::AddMessage(const LongMessageJoiner::Message& message)
{
    std::vector<uint8_t> head = {message.exclusive ? uint8_t{0xF0} : uint8_t{0xF7}};
    const uint32_t skip = message.exclusive ? 1 : 0;  // the 0xF0 is the event's status
    PutVlq(head, message.length - skip);
    AddEvent(message.tick, head.data(), static_cast<uint32_t>(head.size()), message.bytes + skip,
             message.length - skip);
}

// Writes the system exclusive message joined so far.
void CaptureSink::FlushExclusive()
{
    joiner_.Flush([this](const LongMessageJoiner::Message& m) { AddMessage(m); });
}

void CaptureSink::OnEvent(const MidiSinkEvent& event)
{
    if (newStream_) {
        newStream_ = false;
        KeepPauseBefore(event);
    }
    const uint32_t tick = CaptureTick(event.tick);
    if (!anyRecord_ || tick >= endTick_) {
        endTick_ = tick;
        endUs_ = event.scheduledUs;
    }
    anyRecord_ = true;
    switch (event.kind) {
    case MidiSinkKind::Short:
        FlushExclusive();
        AddEvent(tick, nullptr, 0, event.bytes, event.length);
        break;
    case MidiSinkKind::Tempo:
        FlushExclusive();
        Anchor(event.tick);
        streamTempo_ = event.tempo;
        // A time-code stream ignores tempo; in a capture counted in quarter
        // notes its tempo records would change the capture's time.
        if (!IsTimeCode(streamDivision_) || IsTimeCode(division_))
            WriteTempo(tick, event.tempo);
        UpdateRate();
        break;
    case MidiSinkKind::Long:
        joiner_.Add(tick, event.bytes, event.length, [this](const LongMessageJoiner::Message& m) { AddMessage(m); });
        break;
    case MidiSinkKind::Nop:
        break;
    }
}

std::vector<uint8_t> CaptureSink::Build() const
{
    CaptureSink copy = *this;
    copy.FlushExclusive();
    std::vector<uint8_t> track = copy.track_;
    PutVlq(track, copy.endTick_ - copy.lastTick_);
    track.insert(track.end(), {0xFF, 0x2F, 0x00});

    std::vector<uint8_t> file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1,
                                 static_cast<uint8_t>(division_ >> 8), static_cast<uint8_t>(division_)};
    file.insert(file.end(), {'M', 'T', 'r', 'k'});
    PutBe32(file, static_cast<uint32_t>(track.size()));
    file.insert(file.end(), track.begin(), track.end());
    return file;
}

FileResult CaptureSink::Save(const char* path) const
{
    const std::vector<uint8_t> file = Build();
    return WriteFileImage(path, file.data(), file.size());
}
