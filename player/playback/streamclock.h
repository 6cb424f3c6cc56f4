// Clocks for SoftMidiStream. The stream thread schedules every event at an
// absolute time in microseconds and asks its clock to wait for it.
#ifndef ZUB_PLAYBACK_STREAMCLOCK_H
#define ZUB_PLAYBACK_STREAMCLOCK_H

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

class StreamClock {
public:
    virtual ~StreamClock() = default;
    // The stream tells the clock the lock and condition it waits on, so that
    // a clock moved from outside can wake it.
    virtual void Attach(std::mutex* lock, std::condition_variable* wake) { (void)lock; (void)wake; }
    virtual uint64_t NowMicros() = 0;
    // Called with `lock` held; returns when NowMicros() >= deadline, when
    // `wake` is notified, or spuriously. The caller loops.
    virtual void WaitUntil(uint64_t deadline, std::condition_variable& wake,
                           std::unique_lock<std::mutex>& lock) = 0;
};

// Real time from the monotonic clock, from construction.
class SteadyStreamClock : public StreamClock {
public:
    SteadyStreamClock() : origin_(std::chrono::steady_clock::now()) {}
    uint64_t NowMicros() override;
    void WaitUntil(uint64_t deadline, std::condition_variable& wake,
                   std::unique_lock<std::mutex>& lock) override;

private:
    std::chrono::steady_clock::time_point origin_;
};

// As fast as possible: every wait jumps the clock to its deadline, so the
// same events come out in the same order at the same ticks, at once.
class FastStreamClock : public StreamClock {
public:
    uint64_t NowMicros() override { return now_.load(); }
    void WaitUntil(uint64_t deadline, std::condition_variable& wake,
                   std::unique_lock<std::mutex>& lock) override;

private:
    std::atomic<uint64_t> now_{0};
};

// Moved only by Advance: for exact, repeatable stream tests.
class ManualStreamClock : public StreamClock {
public:
    void Attach(std::mutex* lock, std::condition_variable* wake) override;
    uint64_t NowMicros() override { return now_.load(); }
    void WaitUntil(uint64_t deadline, std::condition_variable& wake,
                   std::unique_lock<std::mutex>& lock) override;
    // Moves the clock on and wakes the attached stream.
    void Advance(uint64_t micros);

private:
    std::atomic<uint64_t> now_{0};
    std::mutex* lock_ = nullptr;
    std::condition_variable* wake_ = nullptr;
};

#endif
