// A SequencerNotify for programs that play songs to their end and wait for
// it (benchmarks, fuzzers): counts the "playback done" notices.
#ifndef ZUB_PLAYBACK_DONELATCH_H
#define ZUB_PLAYBACK_DONELATCH_H

#include <condition_variable>
#include <mutex>

#include "sequencer.h"

class DoneLatch : public SequencerNotify {
public:
    void ScheduleDone(uint32_t) override
    {
        std::lock_guard<std::mutex> guard(lock_);
        ++count_;
        changed_.notify_all();
    }
    int Count()
    {
        std::lock_guard<std::mutex> guard(lock_);
        return count_;
    }
    // Until `count` notices have come in all.
    void WaitFor(int count)
    {
        std::unique_lock<std::mutex> lk(lock_);
        changed_.wait(lk, [&] { return count_ >= count; });
    }

private:
    std::mutex lock_;
    std::condition_variable changed_;
    int count_ = 0;
};

#endif
