// The framework's lock that its holder may take again: an atomic-exchange
// flag, the owning thread and a nesting count; waiting threads yield.
#ifndef ZUB_FRAMEWORK_QFLOCK_H
#define ZUB_FRAMEWORK_QFLOCK_H

#include <atomic>
#include <thread>

class QfRecursiveLock {
public:
    void Lock()
    {
        std::thread::id me = std::this_thread::get_id();
        if (owner_.load(std::memory_order_acquire) == me) {
            ++depth_;
            return;
        }
        while (flag_.exchange(1, std::memory_order_acquire) != 0)
            std::this_thread::yield();
        owner_.store(me, std::memory_order_release);
        depth_ = 1;
    }
    void Unlock()
    {
        if (--depth_ == 0) {
            owner_.store(std::thread::id(), std::memory_order_release);
            flag_.store(0, std::memory_order_release);
        }
    }

private:
    std::atomic<int> flag_{0};
    std::atomic<std::thread::id> owner_{};
    int depth_ = 0;
};

class QfLockGuard {
public:
    explicit QfLockGuard(QfRecursiveLock& lock) : lock_(lock) { lock_.Lock(); }
    ~QfLockGuard() { lock_.Unlock(); }
    QfLockGuard(const QfLockGuard&) = delete;
    QfLockGuard& operator=(const QfLockGuard&) = delete;

private:
    QfRecursiveLock& lock_;
};

#endif
