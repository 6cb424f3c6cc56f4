// The framework's lock that its holder may take again: an atomic-exchange
// flag, the owning thread and a nesting count; waiting threads yield.
#ifndef ZUB_FRAMEWORK_QFLOCK_H
#define ZUB_FRAMEWORK_QFLOCK_H

#include <atomic>
#include <stdint.h>

#ifdef _WIN32
// The kernel's own calls, so that the lock works in a library's unload
// path, where the C++ thread runtime may already be gone.
extern "C" __declspec(dllimport) unsigned long __stdcall GetCurrentThreadId(void);
extern "C" __declspec(dllimport) void __stdcall Sleep(unsigned long);
inline uintptr_t QfThreadIdentity() { return GetCurrentThreadId(); }
inline void QfYield() { Sleep(0); }
#else
#include <pthread.h>
#include <sched.h>
inline uintptr_t QfThreadIdentity() { return reinterpret_cast<uintptr_t>(pthread_self()); }
inline void QfYield() { sched_yield(); }
#endif

class QfRecursiveLock {
public:
    void Lock()
    {
        uintptr_t me = QfThreadIdentity();
        if (owner_.load(std::memory_order_acquire) == me) {
            ++depth_;
            return;
        }
        while (flag_.exchange(1, std::memory_order_acquire) != 0)
            QfYield();
        owner_.store(me, std::memory_order_release);
        depth_ = 1;
    }
    void Unlock()
    {
        if (--depth_ == 0) {
            owner_.store(0, std::memory_order_release);
            flag_.store(0, std::memory_order_release);
        }
    }

private:
    std::atomic<int> flag_{0};
    std::atomic<uintptr_t> owner_{0};  // 0: no owner
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
