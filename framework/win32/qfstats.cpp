// The window service's statistics, kept per thread because windows run on
// several threads: "Paint" times each paint message a window object
// handles, "Event" every message. Each record writes a trace line at the
// end of each period of 200 events. Timing every message costs about a
// microsecond under Wine, as much as a grid message itself, so "Event"
// counts only while a diagnostic window is attached: someone is looking.
#include "qfinternal.h"
#include "qftrace.h"

#include <atomic>

namespace {

const uint32_t kPeriod = 200;

struct ThreadStats {
    QfStatsRecord paint;
    QfStatsRecord event;
    uint64_t eventCpuStart;  // the thread's processor time when the event period began
};

uint32_t g_bank = QF_BANK_FAILED;
std::atomic<bool> g_eventStatsOn{false};
uint64_t g_frequency = 0;  // 0: no performance counter, the tick count instead

uint64_t Now()
{
    LARGE_INTEGER counter;
    if (g_frequency == 0 || !QueryPerformanceCounter(&counter))
        return GetTickCount();
    return static_cast<uint64_t>(counter.QuadPart);
}

uint64_t ThreadCpu100ns()
{
    FILETIME created, exited, kernel, user;
    if (!GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user))
        return 0;
    ULARGE_INTEGER k, u;
    k.LowPart = kernel.dwLowDateTime;
    k.HighPart = kernel.dwHighDateTime;
    u.LowPart = user.dwLowDateTime;
    u.HighPart = user.dwHighDateTime;
    return k.QuadPart + u.QuadPart;
}

ThreadStats* ThisThreadStats()
{
    if (g_bank == QF_BANK_FAILED || !QfThreads())
        return nullptr;
    ThreadStats* stats = static_cast<ThreadStats*>(QfThreads()->GetBank(g_bank));
    if (stats && !stats->paint.name) {  // a bank starts zero-filled
        QfStatsInit(&stats->paint, "Paint", kPeriod);
        QfStatsInit(&stats->event, "Event", kPeriod);
        stats->eventCpuStart = ThreadCpu100ns();
    }
    return stats;
}

// True when the event ended a period (its line is written).
bool Add(QfStatsRecord* record, uint64_t elapsed, uint64_t cpu100ns)
{
    char line[160];
    if (!QfStatsAdd(record, elapsed, g_frequency ? g_frequency : 1000, cpu100ns, line, sizeof line))
        return false;
    QfTraceOutput("%s", line);
    return true;
}

}  // namespace

void QfWindowStatsInit()
{
    LARGE_INTEGER frequency;
    g_frequency = QueryPerformanceFrequency(&frequency) ? static_cast<uint64_t>(frequency.QuadPart) : 0;
    if (IQfThreadMgr* threads = QfThreads())
        g_bank = threads->AllocBank(sizeof(ThreadStats), nullptr);
}

void QfEnableEventStats(bool on)
{
    g_eventStatsOn.store(on, std::memory_order_relaxed);
}

QfMessageTiming::QfMessageTiming(uint32_t message) : stats_(nullptr), paint_(message == WM_PAINT)
{
    event_ = g_eventStatsOn.load(std::memory_order_relaxed);
    if (!paint_ && !event_)
        return;
    stats_ = ThisThreadStats();
    if (!stats_)
        return;
    if (paint_)
        paintCpu_ = ThreadCpu100ns();
    start_ = Now();
}

QfMessageTiming::~QfMessageTiming()
{
    if (!stats_)
        return;
    ThreadStats* stats = static_cast<ThreadStats*>(stats_);
    uint64_t elapsed = Now() - start_;
    if (paint_)
        Add(&stats->paint, elapsed, ThreadCpu100ns() - paintCpu_);
    if (!event_)
        return;
    // Asking for the processor time costs more than most messages take, so
    // an event period reads it only at its ends. Messages handled inside
    // this one have ended their own timing already.
    if (stats->event.events + 1 < stats->event.period) {
        Add(&stats->event, elapsed, 0);
        return;
    }
    uint64_t cpu = ThreadCpu100ns();
    Add(&stats->event, elapsed, cpu - stats->eventCpuStart);
    stats->eventCpuStart = cpu;
}
