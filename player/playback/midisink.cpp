#include "midisink.h"

#include <algorithm>

#include "smfbytes.h"

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

void CaptureSink::OnTimeDivision(uint32_t division)
{
    if (!divisionSet_) {
        division_ = static_cast<uint16_t>(division);
        divisionSet_ = true;
    } else {
        offset_ = endTick_;  // another stream: it continues after the last one
    }
}

void CaptureSink::AddEvent(uint32_t tick, const uint8_t* prefix, uint32_t prefixLength, const uint8_t* bytes,
                           uint32_t length)
{
    PutVlq(track_, tick - lastTick_);
    lastTick_ = tick;
    track_.insert(track_.end(), prefix, prefix + prefixLength);
    track_.insert(track_.end(), bytes, bytes + length);
}

// Writes the system exclusive message joined so far as one 0xF0 event.
void CaptureSink::FlushExclusive()
{
    if (pending_.empty())
        return;
    std::vector<uint8_t> head = {0xF0};
    PutVlq(head, static_cast<uint32_t>(pending_.size() - 1));
    AddEvent(pendingTick_, head.data(), static_cast<uint32_t>(head.size()), pending_.data() + 1,
             static_cast<uint32_t>(pending_.size() - 1));
    pending_.clear();
}

void CaptureSink::OnEvent(const MidiSinkEvent& event)
{
    const uint32_t tick = event.tick + offset_;
    endTick_ = std::max(endTick_, tick);
    switch (event.kind) {
    case MidiSinkKind::Short:
        FlushExclusive();
        AddEvent(tick, nullptr, 0, event.bytes, event.length);
        break;
    case MidiSinkKind::Tempo: {
        FlushExclusive();
        const uint8_t meta[6] = {0xFF, 0x51, 0x03, static_cast<uint8_t>(event.tempo >> 16),
                                 static_cast<uint8_t>(event.tempo >> 8), static_cast<uint8_t>(event.tempo)};
        AddEvent(tick, nullptr, 0, meta, sizeof meta);
        break;
    }
    case MidiSinkKind::Long: {
        // Pieces are joined into whole messages; bytes outside any message
        // are kept as an escape (0xF7) event.
        uint32_t i = 0;
        while (i < event.length) {
            if (pending_.empty() && event.bytes[i] != 0xF0) {
                uint32_t j = i;
                while (j < event.length && event.bytes[j] != 0xF0)
                    ++j;
                std::vector<uint8_t> head = {0xF7};
                PutVlq(head, j - i);
                AddEvent(tick, head.data(), static_cast<uint32_t>(head.size()), event.bytes + i, j - i);
                i = j;
                continue;
            }
            if (pending_.empty())
                pendingTick_ = tick;
            pending_.push_back(event.bytes[i]);
            if (event.bytes[i++] == 0xF7)
                FlushExclusive();
        }
        break;
    }
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
