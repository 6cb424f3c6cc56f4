// Memory, thread and timer services of Tsf.dll through their slots.
#include <mutex>
#include <set>

#include "tsf_harness.h"

using tsf::Library;

namespace {

Library& Lib()
{
    return Library::Get();
}

TEST(TsfMemoryBlocks, ThresholdChoosesPoolOrReservation)
{
    IQfMemory* m = Lib().memory();
    char* small = static_cast<char*>(m->AllocBlock(8191));
    char* large = static_cast<char*>(m->AllocBlock(8192));
    ASSERT_NE(small, nullptr);
    ASSERT_NE(large, nullptr);
    memset(small, 1, 8191);
    memset(large, 2, 8192);  // usable at once
    void* smallOwner = nullptr;
    void* largeOwner = nullptr;
    EXPECT_EQ(m->FindBlock(small, &smallOwner), QF_S_OK);
    EXPECT_EQ(m->FindBlock(large + 8000, &largeOwner), QF_S_OK);
    EXPECT_NE(smallOwner, largeOwner);
    MEMORY_BASIC_INFORMATION info;
    ASSERT_EQ(VirtualQuery(large, &info, sizeof info), sizeof info);
    EXPECT_EQ(info.AllocationBase, large) << "a block of 8192 bytes is a reservation of its own";

    EXPECT_EQ(m->FreeBlock(large, 8192), QF_S_OK);
    void* owner = reinterpret_cast<void*>(1);
    EXPECT_EQ(m->FindBlock(large, &owner), QF_E_FAIL);
    EXPECT_EQ(owner, nullptr);
    EXPECT_EQ(m->FreeBlock(small, 8191), QF_S_OK);
    int local = 0;
    EXPECT_EQ(m->FindBlock(&local, &owner), QF_E_FAIL);
    EXPECT_EQ(m->FreePoolBlock(&local), QF_E_FAIL);
}

TEST(TsfMemoryBlocks, PoolBlocksAreDistinctAndFoundAgain)
{
    IQfMemory* m = Lib().memory();
    std::set<void*> seen;
    std::vector<void*> blocks;
    for (uint32_t size : {1u, 16u, 17u, 100u, 1000u, 5000u}) {
        for (int i = 0; i < 50; ++i) {
            void* b = m->AllocBlock(size);
            ASSERT_NE(b, nullptr);
            EXPECT_TRUE(seen.insert(b).second);
            memset(b, 0xAB, size);
            blocks.push_back(b);
        }
    }
    for (void* b : blocks) {
        void* owner = nullptr;
        EXPECT_EQ(m->FindBlock(b, &owner), QF_S_OK);
        EXPECT_EQ(m->FreePoolBlock(b), QF_S_OK);
    }
}

TEST(TsfHeap, ZeroFilledBlocksAndRangeChecks)
{
    IQfMemory* m = Lib().memory();
    unsigned char* a = static_cast<unsigned char*>(m->Alloc(100));
    ASSERT_NE(a, nullptr);
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(a[i], 0);
    memset(a, 0x77, 100);
    unsigned char* grown = static_cast<unsigned char*>(m->ReAlloc(a, 400));
    ASSERT_NE(grown, nullptr);
    EXPECT_EQ(grown[99], 0x77);
    EXPECT_EQ(grown[399], 0) << "growth is zero-filled";
    int local = 0;
    EXPECT_EQ(m->Free(&local), 0);
    EXPECT_EQ(m->Free(nullptr), 0);
    EXPECT_EQ(m->ReAlloc(&local, 10), nullptr);
    EXPECT_EQ(m->Free(grown), 1);
    EXPECT_EQ(m->Free(grown), 0) << "the emptied heap is gone, so the stale pointer is outside it";
}

TEST(TsfHeap, ExhaustionReportsAndReturnsNull)
{
    IQfMemory* m = Lib().memory();
    tsf::DiagnosticSink sink;
    Lib().root->SetDiagnosticWindow(sink.window());
    void* keep = m->Alloc(16);
    ASSERT_NE(keep, nullptr);
    sink.lines.clear();
    // The heap is limited to one megabyte.
    EXPECT_EQ(m->Alloc(0x200000), nullptr);
    EXPECT_EQ(sink.lines, std::vector<std::string>{"TS: (QfHeap) Local or global heap exhausted."});
    EXPECT_EQ(m->Free(keep), 1);
    Lib().root->SetDiagnosticWindow(nullptr);
}

TEST(TsfHeap, TaggedBlocksWalkAndFreeByTag)
{
    IQfMemory* m = Lib().memory();
    void* a = m->AllocTagged(10, 1);
    void* b = m->AllocTagged(20, 2);
    void* c = m->AllocTagged(30, 1);
    ASSERT_TRUE(a && b && c);
    std::set<void*> ones;
    for (void* p = m->NextTagged(nullptr, 1); p; p = m->NextTagged(p, 1))
        ones.insert(p);
    EXPECT_EQ(ones, (std::set<void*>{a, c}));
    int count = 0;
    for (void* p = m->NextTagged(nullptr, 0); p; p = m->NextTagged(p, 0))
        ++count;
    EXPECT_EQ(count, 3);
    static char notOnList[64];
    EXPECT_EQ(m->NextTagged(notOnList + 16, 0), nullptr) << "a block not on the list ends the walk";
    EXPECT_EQ(m->FreeTagged(b, 1), 0u) << "tag mismatch";
    EXPECT_EQ(m->FreeTagged(b, 0), 1u);
    EXPECT_EQ(m->FreeTagged(nullptr, 1), 2u);
    EXPECT_EQ(m->NextTagged(nullptr, 0), nullptr);
}

TEST(TsfThreadBanks, HandlesAndPrivateStorage)
{
    IQfThreadMgr* t = Lib().thread();
    uint32_t four = t->AllocBank(4, nullptr);
    uint32_t big = t->AllocBank(260, nullptr);
    ASSERT_NE(four, QF_BANK_FAILED);
    ASSERT_NE(big, QF_BANK_FAILED);
    EXPECT_EQ(four >> 16, 1u);
    EXPECT_EQ(big >> 16, 17u);
    EXPECT_EQ((big & 0xFFFF) - (four & 0xFFFF), 4u) << "first fit: right after the 4-byte bank";
    EXPECT_EQ(t->AllocBank(1024, nullptr), QF_BANK_FAILED);

    uint32_t* mine = static_cast<uint32_t*>(t->GetBank(four));
    ASSERT_NE(mine, nullptr);
    EXPECT_TRUE(t->IsThreadReady());
    *mine = 0xC0FFEE;
    uint32_t* theirs = nullptr;
    uint32_t theirValue = 1;
    int readyBefore = -1;
    tsf::RunOnThread([&] {
        readyBefore = t->IsThreadReady();
        theirs = static_cast<uint32_t*>(t->GetBank(four));
        theirValue = theirs ? *theirs : 1;
    });
    EXPECT_EQ(readyBefore, 0);
    EXPECT_NE(theirs, mine);
    EXPECT_EQ(theirValue, 0u) << "a new thread's bank starts zero-filled";
    EXPECT_EQ(*mine, 0xC0FFEEu);
}

std::vector<uint32_t> g_cleaned;
void QFAPI RecordCleanup(void* bank)
{
    g_cleaned.push_back(*static_cast<uint32_t*>(bank));
}

TEST(TsfThreadBanks, DetachRunsCleanupsAndMoreThreadsThanBuiltInBlocks)
{
    IQfThreadMgr* t = Lib().thread();
    uint32_t bank = t->AllocBank(8, RecordCleanup);
    ASSERT_NE(bank, QF_BANK_FAILED);
    g_cleaned.clear();
    // Eight threads at once need more than the four built-in blocks.
    HANDLE go = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    struct Arg {
        IQfThreadMgr* t;
        uint32_t bank;
        uint32_t value;
        HANDLE go;
        bool got;
    } args[8];
    HANDLE threads[8];
    for (int i = 0; i < 8; ++i) {
        args[i] = {t, bank, 100u + i, go, false};
        Arg* a = &args[i];
        threads[i] = tsf::StartThread([a] {
            uint32_t* slot = static_cast<uint32_t*>(a->t->GetBank(a->bank));
            a->got = slot != nullptr;
            if (slot)
                *slot = a->value;
            WaitForSingleObject(a->go, 10000);
        });
    }
    tsf::PumpUntil([&] {
        for (const Arg& a : args)
            if (!a.got)
                return false;
        return true;
    });
    SetEvent(go);
    WaitForMultipleObjects(8, threads, TRUE, 10000);
    for (HANDLE h : threads)
        CloseHandle(h);
    CloseHandle(go);
    for (const Arg& a : args)
        EXPECT_TRUE(a.got);
    std::set<uint32_t> cleaned(g_cleaned.begin(), g_cleaned.end());
    for (uint32_t v = 100; v < 108; ++v)
        EXPECT_TRUE(cleaned.count(v)) << "clean-up at thread exit saw " << v;
}

struct Notified : IQfWindowObject {
    std::vector<uint32_t> codes;
    QfWindowRecord record = {};
    QfResult QFAPI QueryInterface(const QfGuid&, void** out) override
    {
        *out = nullptr;
        return QF_E_NOINTERFACE;
    }
    uint32_t QFAPI AddRef() override { return 1; }
    uint32_t QFAPI Release() override { return 1; }
    int32_t QFAPI HandleMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override
    {
        EXPECT_EQ(wParam, 0u);
        EXPECT_EQ(lParam, 0);
        codes.push_back(message);
        record.result.value = message == 1038 ? 5 : 0;  // the handler's result
        return 1;                                        // handled
    }
    QfWindowRecord* QFAPI GetRecord() override { return &record; }
};

// Slots 8 and 9 return the handler's result, not its handled flag
// (regression: they returned the flag).
TEST(TsfThreadNotifications, GoToTheThreadsObjectAndReturnItsResult)
{
    IQfThreadMgr* t = Lib().thread();
    IQfWndMgr* w = Lib().window();
    uintptr_t before = w->SetThreadValue(0);
    EXPECT_EQ(t->Notify1038(), 0) << "no object: nothing to notify";
    Notified object;
    object.record.result.value = 77;
    w->SetThreadValue(reinterpret_cast<uintptr_t>(static_cast<IQfWindowObject*>(&object)));
    EXPECT_EQ(t->Notify1038(), 5);
    EXPECT_EQ(t->Notify1039(), 0) << "handled with the result 0";
    EXPECT_EQ(object.codes, (std::vector<uint32_t>{1038, 1039}));
    EXPECT_EQ(object.record.result.value, 77) << "the record's result around the call is kept";
    EXPECT_EQ(t->ThreadAttach(), 1);
    w->SetThreadValue(before);
}

struct TimerClient {
    QfTimerClient timer = {OnTimer, nullptr};
    std::vector<uint32_t> fired;
    DWORD thread = 0;
    static void QFAPI OnTimer(QfTimerClient* t, uint32_t id)
    {
        TimerClient* c = reinterpret_cast<TimerClient*>(t);
        c->fired.push_back(id);
        c->thread = GetCurrentThreadId();
    }
};

TEST(TsfTimers, BoundsAndRepeatedPositions)
{
    IQfTimerMgr* timers = Lib().timer();
    TimerClient c;
    EXPECT_EQ(timers->AddTimer(&c.timer, 0), 0u);
    EXPECT_EQ(timers->AddTimer(&c.timer, 255), 0u);
    uint32_t last = timers->AddTimer(&c.timer, 254);
    EXPECT_NE(last, 0u);
    uint32_t five = timers->AddTimer(&c.timer, 5);
    EXPECT_EQ(timers->AddTimer(&c.timer, 5), five);
    EXPECT_EQ((last - 1 + 255 - (five - 1)) % 255, 249u) << "positions are 249 ticks apart";
    EXPECT_EQ(timers->RemoveTimer(&c.timer, five), QF_S_OK);
    EXPECT_EQ(timers->RemoveAllTimers(&c.timer), QF_S_OK);
    EXPECT_EQ(c.timer.node, nullptr);
    EXPECT_EQ(reinterpret_cast<char*>(timers->GetInner()), reinterpret_cast<char*>(timers) + sizeof(void*));
}

TEST(TsfTimers, FireOnTheAddingThreadInTickOrder)
{
    IQfTimerMgr* timers = Lib().timer();
    TimerClient early, late;
    uint32_t a = timers->AddTimer(&late.timer, 6);
    uint32_t b = timers->AddTimer(&early.timer, 2);
    ASSERT_TRUE(a && b);
    DWORD start = GetTickCount();
    ASSERT_TRUE(tsf::PumpUntil([&] { return !late.fired.empty(); }));
    EXPECT_EQ(early.fired, std::vector<uint32_t>{b});
    EXPECT_EQ(late.fired, std::vector<uint32_t>{a});
    EXPECT_EQ(late.thread, GetCurrentThreadId());
    EXPECT_GE(GetTickCount() - start, 5 * QF_TIMER_TICK_MS - 20);
    EXPECT_EQ(late.timer.node, nullptr);
}

TEST(TsfTimers, RemovedTimerNeverFires)
{
    IQfTimerMgr* timers = Lib().timer();
    TimerClient gone, witness;
    uint32_t id = timers->AddTimer(&gone.timer, 2);
    timers->AddTimer(&witness.timer, 4);
    timers->RemoveTimer(&gone.timer, id);
    ASSERT_TRUE(tsf::PumpUntil([&] { return !witness.fired.empty(); }));
    EXPECT_TRUE(gone.fired.empty());
}

// A client the timer service calls from several threads.
struct SharedTimerClient {
    QfTimerClient timer = {OnTimer, nullptr};
    std::mutex lock;
    std::set<DWORD> threads;
    static void QFAPI OnTimer(QfTimerClient* t, uint32_t)
    {
        SharedTimerClient* c = reinterpret_cast<SharedTimerClient*>(t);
        std::lock_guard<std::mutex> guard(c->lock);
        c->threads.insert(GetCurrentThreadId());
    }
    bool FiredOn(DWORD thread)
    {
        std::lock_guard<std::mutex> guard(lock);
        return threads.count(thread) != 0;
    }
};

// Regression: a second thread's timer for a client that already had one on
// the first thread went into the first thread's record and never fired.
TEST(TsfTimers, OneClientFiresOnEachThreadThatAddedATimer)
{
    IQfTimerMgr* timers = Lib().timer();
    SharedTimerClient c;
    ASSERT_NE(timers->AddTimer(&c.timer, 2), 0u);
    DWORD second = 0;
    bool firedThere = false;
    tsf::RunOnThread([&] {
        second = GetCurrentThreadId();
        if (timers->AddTimer(&c.timer, 3) == 0)
            return;
        firedThere = tsf::PumpUntil([&] { return c.FiredOn(second); });
    });
    EXPECT_TRUE(firedThere) << "the second thread's timer fires on the second thread";
    EXPECT_TRUE(tsf::PumpUntil([&] { return c.FiredOn(GetCurrentThreadId()); }))
        << "the first thread's timer fires on the first thread";
    EXPECT_EQ(c.timer.node, nullptr) << "nothing left pending anywhere";
}

TEST(TsfRegions, PooledRectangleRecords)
{
    IQfRgnMgr* r = Lib().region();
    int32_t rect[4] = {1, 2, 30, 40};
    QfRectRecord* record = r->AllocRect(rect);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->left, 1);
    EXPECT_EQ(record->top, 2);
    EXPECT_EQ(record->right, 30);
    EXPECT_EQ(record->bottom, 40);
    EXPECT_EQ(record->reserved[0], 0u);
    EXPECT_EQ(record->reserved[1], 0u);
    void* owner = nullptr;
    EXPECT_EQ(Lib().memory()->FindBlock(record, &owner), QF_S_OK);
    EXPECT_EQ(r->FreeRect(record), QF_S_OK);
    EXPECT_EQ(r->FreeRect(nullptr), QF_S_FALSE);
}

}  // namespace
