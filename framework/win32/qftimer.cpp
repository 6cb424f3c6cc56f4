// IQfTimerMgr: a timing wheel per thread, kept in a thread bank, advanced
// every QF_TIMER_TICK_MS milliseconds by a thread timer of the calling
// thread while any timer is pending there. Clients are called on the thread
// that added their timers, from its message loop.
#include "qfinternal.h"
#include "qftimerwheel.h"

namespace {

struct ThreadWheel {
    QfTimerWheel wheel;
    UINT_PTR tickTimer = 0;
};

// The inner object's table: the three base operations again. A type of its
// own, so that the service's one set of base operations overrides both
// tables.
struct InnerObject {
    virtual QfResult QFAPI QueryInterface(const QfGuid& iid, void** out) = 0;
    virtual uint32_t QFAPI AddRef() = 0;
    virtual uint32_t QFAPI Release() = 0;
};

// The interface table first, the inner object's right after it.
struct TimerTables : IQfTimerMgr, InnerObject {
};

class QfTimerMgr : public QfServiceBase<TimerTables> {
public:
    // The thread service is acquired before this one, so the bank is
    // reserved once, before any thread can race for it.
    QfTimerMgr() : QfServiceBase(&g_qfIds.timer, "IQfTimerMgr")
    {
        bank_ = QfThreads() ? QfThreads()->AllocBank(sizeof(ThreadWheel*), Cleanup) : QF_BANK_FAILED;
    }

    ICafeObject* QFAPI GetInner() override
    {
        return reinterpret_cast<ICafeObject*>(static_cast<InnerObject*>(this));
    }
    uint32_t QFAPI AddTimer(QfTimerClient* client, uint32_t ticks) override
    {
        if (ticks < 1 || ticks > 254)
            return 0;
        ThreadWheel* state = State(true);
        if (!state)
            return 0;
        uint32_t id = state->wheel.Add(client, ticks);
        UpdateTickSource(state);
        return id;
    }
    QfResult QFAPI RemoveTimer(QfTimerClient* client, uint32_t timerId) override
    {
        ThreadWheel* state = State(false);
        if (!state)
            return QF_S_FALSE;
        state->wheel.Remove(client, timerId);
        UpdateTickSource(state);
        return QF_S_OK;
    }
    QfResult QFAPI RemoveAllTimers(QfTimerClient* client) override
    {
        ThreadWheel* state = State(false);
        if (!state)
            return QF_S_FALSE;
        state->wheel.RemoveAll(client);
        UpdateTickSource(state);
        return QF_S_OK;
    }

    static void QFAPI Cleanup(void* bank)
    {
        ThreadWheel** slot = static_cast<ThreadWheel**>(bank);
        if (*slot) {
            if ((*slot)->tickTimer)
                KillTimer(nullptr, (*slot)->tickTimer);
            delete *slot;
            *slot = nullptr;
        }
    }

private:
    ThreadWheel* State(bool create) { return QfThreadObject<ThreadWheel>(bank_, create); }

    static void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD);

    // The thread timer runs only while something is pending on this thread.
    void UpdateTickSource(ThreadWheel* state)
    {
        bool pending = state->wheel.PendingPositions() > 0;
        if (pending && !state->tickTimer) {
            state->tickTimer = SetTimer(nullptr, 0, QF_TIMER_TICK_MS, OnTick);
        } else if (!pending && state->tickTimer) {
            KillTimer(nullptr, state->tickTimer);
            state->tickTimer = 0;
        }
    }

    uint32_t bank_ = 0;
};

QfTimerMgr* Service()
{
    return QfSingleton<QfTimerMgr>();
}

void CALLBACK QfTimerMgr::OnTick(HWND, UINT, UINT_PTR, DWORD)
{
    ThreadWheel* state = Service()->State(false);
    if (!state)
        return;
    state->wheel.Tick();
    Service()->UpdateTickSource(state);
}

}  // namespace

QfResult QfCreateTimerMgr(const QfGuid& iid, void** out, ICafeObject* outer, uint32_t context)
{
    return QfLocalCreate<QfTimerMgr>(iid, out, outer, context);
}
