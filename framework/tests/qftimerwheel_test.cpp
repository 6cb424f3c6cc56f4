#include "qftimerwheel.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Client {
    QfTimerClient timer = {OnTimer, nullptr};
    std::vector<uint32_t> fired;
    QfTimerWheel* wheel = nullptr;
    uint32_t rearm = 0;           // ticks to add again when fired
    Client* removeOther = nullptr;  // removes all of another client's timers when fired
    static void QFAPI OnTimer(QfTimerClient* t, uint32_t id)
    {
        Client* c = reinterpret_cast<Client*>(t);
        c->fired.push_back(id);
        if (c->rearm)
            c->wheel->Add(&c->timer, c->rearm);
        if (c->removeOther)
            c->wheel->RemoveAll(&c->removeOther->timer);
    }
};

void Advance(QfTimerWheel& wheel, int ticks)
{
    for (int i = 0; i < ticks; ++i)
        wheel.Tick();
}

}  // namespace

TEST(QfTimerWheelAdd, DelayBounds)
{
    QfTimerWheel wheel;
    Client c;
    struct Case {
        uint32_t ticks;
        uint32_t id;
    } cases[] = {{0, 0}, {255, 0}, {1000, 0}, {1, 2}, {254, 255}, {100, 101}};
    for (const Case& k : cases)
        EXPECT_EQ(wheel.Add(&c.timer, k.ticks), k.id) << k.ticks;
    EXPECT_EQ(wheel.PendingOf(&c.timer), 3u);
    EXPECT_EQ(wheel.PendingPositions(), 3u);
    EXPECT_EQ(wheel.Add(nullptr, 5), 0u);
}

TEST(QfTimerWheelAdd, RepeatedPositionDoesNotRaiseCounts)
{
    QfTimerWheel wheel;
    Client a, b;
    EXPECT_EQ(wheel.Add(&a.timer, 10), 11u);
    EXPECT_EQ(wheel.Add(&a.timer, 10), 11u);
    EXPECT_EQ(wheel.PendingOf(&a.timer), 1u);
    EXPECT_EQ(wheel.Add(&b.timer, 10), 11u);
    EXPECT_EQ(wheel.PendingPositions(), 1u);
    EXPECT_EQ(wheel.ClientCount(), 2u);
}

TEST(QfTimerWheelAdd, PositionsWrapAroundTheWheel)
{
    QfTimerWheel wheel;
    Client c;
    Advance(wheel, 250);
    EXPECT_EQ(wheel.Current(), 250u);
    EXPECT_EQ(wheel.Add(&c.timer, 10), (250u + 10) % 255 + 1);
    Advance(wheel, 9);
    EXPECT_TRUE(c.fired.empty());
    wheel.Tick();
    ASSERT_EQ(c.fired.size(), 1u);
    EXPECT_EQ(c.fired[0], 6u);
}

TEST(QfTimerWheelFire, EachTimerFiresOnceAfterItsTicks)
{
    QfTimerWheel wheel;
    Client c;
    uint32_t one = wheel.Add(&c.timer, 1);
    uint32_t last = wheel.Add(&c.timer, 254);
    wheel.Tick();
    ASSERT_EQ(c.fired.size(), 1u);
    EXPECT_EQ(c.fired[0], one);
    Advance(wheel, 252);
    EXPECT_EQ(c.fired.size(), 1u);
    wheel.Tick();
    ASSERT_EQ(c.fired.size(), 2u);
    EXPECT_EQ(c.fired[1], last);
    EXPECT_EQ(c.timer.node, nullptr) << "a client with nothing pending leaves the list";
    EXPECT_EQ(wheel.ClientCount(), 0u);
    Advance(wheel, 300);
    EXPECT_EQ(c.fired.size(), 2u);
}

TEST(QfTimerWheelRemove, RemoveOneThenAll)
{
    QfTimerWheel wheel;
    Client c;
    uint32_t a = wheel.Add(&c.timer, 3);
    wheel.Add(&c.timer, 5);
    wheel.Add(&c.timer, 7);
    wheel.Remove(&c.timer, a);
    wheel.Remove(&c.timer, a);  // already cleared: nothing changes
    EXPECT_EQ(wheel.PendingOf(&c.timer), 2u);
    EXPECT_EQ(wheel.PendingPositions(), 2u);
    wheel.Remove(&c.timer, 0);
    wheel.Remove(&c.timer, 256);
    wheel.RemoveAll(&c.timer);
    EXPECT_EQ(c.timer.node, nullptr);
    EXPECT_EQ(wheel.PendingPositions(), 0u);
    Advance(wheel, 10);
    EXPECT_TRUE(c.fired.empty());
    wheel.RemoveAll(&c.timer);  // no node: harmless
}

TEST(QfTimerWheelRemove, SharedPositionStaysForTheOtherClient)
{
    QfTimerWheel wheel;
    Client a, b;
    uint32_t id = wheel.Add(&a.timer, 4);
    wheel.Add(&b.timer, 4);
    wheel.Remove(&a.timer, id);
    EXPECT_EQ(wheel.PendingPositions(), 1u);
    Advance(wheel, 4);
    EXPECT_TRUE(a.fired.empty());
    EXPECT_EQ(b.fired.size(), 1u);
}

TEST(QfTimerWheelFire, ClientsMayRearmAndRemoveOthersDuringATick)
{
    QfTimerWheel wheel;
    Client repeater, killer, victim;
    repeater.wheel = killer.wheel = &wheel;
    repeater.rearm = 2;
    killer.removeOther = &victim;
    wheel.Add(&repeater.timer, 2);
    wheel.Add(&killer.timer, 2);
    wheel.Add(&victim.timer, 2);
    wheel.Add(&victim.timer, 3);
    Advance(wheel, 2);
    EXPECT_EQ(repeater.fired.size(), 1u);
    EXPECT_EQ(killer.fired.size(), 1u);
    // Whether the victim's due call ran depends on list order; its later timer must not.
    size_t victimCalls = victim.fired.size();
    EXPECT_LE(victimCalls, 1u);
    Advance(wheel, 2);
    EXPECT_EQ(repeater.fired.size(), 2u);
    EXPECT_EQ(victim.fired.size(), victimCalls);
    EXPECT_EQ(victim.timer.node, nullptr);
    EXPECT_EQ(wheel.ClientCount(), 1u);
}

// Each thread has its own wheel; a client shared by two threads (the
// framework's tooltip, a window object) keeps a place in each. Regression:
// the second wheel reused the first wheel's node, so its timer never fired
// and its removal edited the first wheel's list.
TEST(QfTimerWheelThreads, OneClientKeepsItsOwnPlaceInEachWheel)
{
    QfTimerWheel first, second;
    Client c;
    uint32_t early = first.Add(&c.timer, 3);
    uint32_t late = second.Add(&c.timer, 5);
    EXPECT_EQ(first.PendingOf(&c.timer), 1u);
    EXPECT_EQ(second.PendingOf(&c.timer), 1u);
    EXPECT_EQ(first.ClientCount(), 1u);
    EXPECT_EQ(second.ClientCount(), 1u);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(c.timer.node), 2u) << "the node field counts the wheels holding the client";

    Advance(second, 5);
    EXPECT_EQ(c.fired, std::vector<uint32_t>{late}) << "the second wheel fires its own timer";
    EXPECT_EQ(second.ClientCount(), 0u);
    EXPECT_EQ(first.PendingOf(&c.timer), 1u) << "the first wheel is untouched";
    EXPECT_NE(c.timer.node, nullptr);

    second.Add(&c.timer, 2);
    second.RemoveAll(&c.timer);
    EXPECT_EQ(first.PendingOf(&c.timer), 1u) << "removing on one wheel leaves the other's timers";
    Advance(first, 3);
    EXPECT_EQ(c.fired, (std::vector<uint32_t>{late, early}));
    EXPECT_EQ(c.timer.node, nullptr) << "nothing pending anywhere";
}

TEST(QfTimerWheelThreads, AWheelGoingAwayReleasesItsClients)
{
    Client c;
    QfTimerWheel kept;
    kept.Add(&c.timer, 9);
    {
        QfTimerWheel gone;
        gone.Add(&c.timer, 4);
        EXPECT_EQ(reinterpret_cast<uintptr_t>(c.timer.node), 2u);
    }
    EXPECT_EQ(reinterpret_cast<uintptr_t>(c.timer.node), 1u);
    kept.RemoveAll(&c.timer);
    EXPECT_EQ(c.timer.node, nullptr);
}
