#include "jumplog.h"

void JumpLog::Reset(SongPlace start)
{
    std::lock_guard<std::mutex> guard(lock_);
    entries_[0] = {0, start};
    count_ = 1;
    next_ = 1;
}

void JumpLog::Add(uint64_t streamTick, SongPlace place)
{
    std::lock_guard<std::mutex> guard(lock_);
    entries_[next_] = {streamTick, place};
    next_ = (next_ + 1) % kEntries;
    if (count_ < kEntries)
        ++count_;
}

SongPlace JumpLog::At(uint64_t streamTick) const
{
    std::lock_guard<std::mutex> guard(lock_);
    if (count_ == 0)
        return SongPlace();
    // Entries go up with the stream ticks; the newest one not after the tick
    // applies, or the oldest kept when even that one lies ahead.
    const size_t oldest = (next_ + kEntries - count_) % kEntries;
    const Entry* found = &entries_[oldest];
    for (size_t i = 0; i < count_; ++i) {
        const Entry& e = entries_[(oldest + i) % kEntries];
        if (e.streamTick > streamTick)
            break;
        found = &e;
    }
    SongPlace place = found->place;
    if (streamTick > found->streamTick) {
        const uint64_t tick = place.tick + (streamTick - found->streamTick);
        place.tick = tick > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(tick);
    }
    return place;
}
