// Portable pieces of tracing: the per-thread line buffer, the shortened
// registry paths of the registration trace, and the statistics records.
#ifndef ZUB_FRAMEWORK_QFTRACE_H
#define ZUB_FRAMEWORK_QFTRACE_H

#include <stddef.h>
#include <stdint.h>

// Where complete lines go (the debugger output on Windows).
typedef void (*QfTraceSink)(const char* text, void* context);

// 256 characters of text followed by the count collected so far: the shape
// of the 260-byte per-thread bank. A line of up to 256 characters, its
// newline included, comes out whole; a longer line is written out in pieces
// rather than cut, so nothing traced is lost. The text is NUL-terminated
// only while it is shorter than 256 characters.
struct QfTraceLine {
    char text[256];
    uint32_t count;
};
static_assert(sizeof(QfTraceLine) == 260, "the trace line is a 260-byte bank");

// Appends length characters; writes the buffer to the sink whenever the
// text ends in a newline (or the buffer is full) and empties it.
void QfTraceAppend(QfTraceLine* line, const char* text, size_t length, QfTraceSink sink, void* context);

// Writes out whatever is collected (a partial line at thread exit).
void QfTraceFlush(QfTraceLine* line, QfTraceSink sink, void* context);

// A key path of more than 48 characters becomes its first 22, "...", and its
// last 23; shorter paths stay as they are. out holds at least 49 bytes.
void QfShortenKeyPath(const char* path, char* out);

// A statistics record ("Paint", "Event"): elapsed and processor time over a
// period of events, reported as one line per period.
struct QfStatsRecord {
    const char* name;
    uint32_t period;
    uint32_t events;
    uint64_t elapsedMicros;
    uint64_t cpuMicros;
};

void QfStatsInit(QfStatsRecord* record, const char* name, uint32_t period);

// Adds one event. elapsedCounts is in ticks of a counter running at
// frequency per second; cpu100ns is processor time in 100 ns units. When the
// period is complete the report line is written into out (at least 128
// bytes), the record starts a new period, and true is returned.
bool QfStatsAdd(QfStatsRecord* record, uint64_t elapsedCounts, uint64_t frequency, uint64_t cpu100ns, char* out,
                size_t outSize);

#endif
