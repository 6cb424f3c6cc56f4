#include "streamclock.h"

uint64_t SteadyStreamClock::NowMicros()
{
    const auto elapsed = std::chrono::steady_clock::now() - origin_;
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count());
}

void SteadyStreamClock::WaitUntil(uint64_t deadline, std::condition_variable& wake,
                                  std::unique_lock<std::mutex>& lock)
{
    wake.wait_until(lock, origin_ + std::chrono::microseconds(deadline));
}

void FastStreamClock::WaitUntil(uint64_t deadline, std::condition_variable&, std::unique_lock<std::mutex>&)
{
    if (deadline > now_.load())
        now_.store(deadline);
}

void ManualStreamClock::Attach(std::mutex* lock, std::condition_variable* wake)
{
    lock_ = lock;
    wake_ = wake;
}

void ManualStreamClock::WaitUntil(uint64_t deadline, std::condition_variable& wake,
                                  std::unique_lock<std::mutex>& lock)
{
    if (now_.load() < deadline)
        wake.wait(lock);
}

void ManualStreamClock::Advance(uint64_t micros)
{
    if (!lock_) {
        now_ += micros;
        return;
    }
    {
        // Under the stream's lock, so the stream cannot miss the wake-up
        // between checking the time and starting to wait.
        std::lock_guard<std::mutex> guard(*lock_);
        now_ += micros;
    }
    wake_->notify_all();
}
