// A timing wheel of 255 positions for many small clients. Each client has,
// in each wheel, a node with a 256-bit map of the positions at which it has
// a timer pending; the wheel keeps a map of the positions that have any
// timer. Tick() advances one position and calls every client pending there.
// A wheel belongs to one thread and finds its nodes itself, so one client
// may have timers on several threads' wheels at once; the client's own
// node field only counts those wheels, atomically.
#ifndef ZUB_FRAMEWORK_QFTIMERWHEEL_H
#define ZUB_FRAMEWORK_QFTIMERWHEEL_H

#include <stdint.h>

#include "qf.h"

enum : uint32_t { QF_WHEEL_POSITIONS = 255 };

struct QfTimerNode {
    uint32_t map[8];
    uint32_t count;
    uint32_t busy;
    QfTimerNode* next;
    QfTimerNode* prev;
    QfTimerClient* client;
};

class QfTimerWheel {
public:
    QfTimerWheel() = default;
    ~QfTimerWheel();
    QfTimerWheel(const QfTimerWheel&) = delete;
    QfTimerWheel& operator=(const QfTimerWheel&) = delete;

    // ticks 1 to 254: the timer identifier (position plus 1), else 0.
    uint32_t Add(QfTimerClient* client, uint32_t ticks);
    void Remove(QfTimerClient* client, uint32_t timerId);
    void RemoveAll(QfTimerClient* client);
    // Advances the wheel and fires the timers at the new position; returns
    // how many clients were called.
    uint32_t Tick();

    uint32_t Current() const { return current_; }
    uint32_t PendingPositions() const { return anyCount_; }
    uint32_t ClientCount() const;
    // The client's timers pending on this wheel.
    uint32_t PendingOf(const QfTimerClient* client) const;

private:
    static bool TestBit(const uint32_t* map, uint32_t bit) { return (map[bit >> 5] >> (bit & 31)) & 1u; }
    static void SetBit(uint32_t* map, uint32_t bit) { map[bit >> 5] |= 1u << (bit & 31); }
    static void ClearBit(uint32_t* map, uint32_t bit) { map[bit >> 5] &= ~(1u << (bit & 31)); }
    QfTimerNode* FindNode(const QfTimerClient* client) const;
    static void CountWheel(QfTimerClient* client, int delta);
    bool AnyClientAt(uint32_t position) const;
    void SetAny(uint32_t position);
    void ClearAnyIfUnused(uint32_t position);
    void Unlink(QfTimerNode* node);
    void DropIfIdle(QfTimerNode* node);

    uint32_t current_ = 0;
    uint32_t anyMap_[8] = {};
    uint32_t anyCount_ = 0;
    QfTimerNode* clients_ = nullptr;
};

#endif
