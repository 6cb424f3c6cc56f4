// QfTraceOutput: per-thread line buffers written to the debugger output at
// each newline, and the assertion report.
#include <stdarg.h>

#include "qfinternal.h"
#include "qflock.h"
#include "qftrace.h"

namespace {

// Serves while a thread has no bank (before the module is known, or when
// thread blocks are exhausted). Shared, so it takes a lock.
QfTraceLine g_processLine;
QfRecursiveLock g_processLock;

void ToDebugger(const char* text, void*)
{
    OutputDebugStringA(text);
}

}  // namespace

// Bank clean-up at thread detach: a partial line is written, not lost.
void QFAPI QfTraceBankCleanup(void* bank)
{
    QfTraceFlush(static_cast<QfTraceLine*>(bank), ToDebugger, nullptr);
}

extern "C" int QfTraceOutput(const char* format, ...)
{
    if (!format)
        return 1;
    char text[1025];
    va_list args;
    va_start(args, format);
    int n = wvsprintfA(text, format, args);
    va_end(args);
    if (n <= 0)
        return 1;
    // Any thread gets its own buffer on first use once the library knows
    // its module; the shared buffer is only a fallback.
    QfTraceLine* line = nullptr;
    if (g_qfModule && QfThreads() && g_qfTraceBank != QF_BANK_FAILED && g_qfTraceBank != 0)
        line = static_cast<QfTraceLine*>(QfThreads()->GetBank(g_qfTraceBank));
    if (line) {
        QfTraceAppend(line, text, static_cast<size_t>(n), ToDebugger, nullptr);
    } else {
        QfLockGuard guard(g_processLock);
        QfTraceAppend(&g_processLine, text, static_cast<size_t>(n), ToDebugger, nullptr);
    }
    return 1;
}

int QfAssertReport(const char* expression, int line)
{
    char number[16];
    wsprintfA(number, "%d", line);
    QfTraceOutput("Qf:  E - Assertion (%s) failed on line %s.\n", expression, number);
    // Breaking without a debugger would end the program, so only break
    // into one that is there.
    if ((GetAsyncKeyState(VK_SCROLL) & 1) && IsDebuggerPresent())
        DebugBreak();
    return 0;
}
