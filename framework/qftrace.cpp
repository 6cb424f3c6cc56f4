#include "qftrace.h"

#include <stdio.h>
#include <string.h>

namespace {

const size_t kLineRoom = sizeof(QfTraceLine::text);

void Emit(QfTraceLine* line, QfTraceSink sink, void* context)
{
    // A full line uses all 256 characters, so the sink gets a terminated copy.
    char out[kLineRoom + 1];
    memcpy(out, line->text, line->count);
    out[line->count] = '\0';
    if (line->count > 0 && sink)
        sink(out, context);
    line->count = 0;
    line->text[0] = '\0';
}

}  // namespace

void QfTraceAppend(QfTraceLine* line, const char* text, size_t length, QfTraceSink sink, void* context)
{
    // A count from a corrupt bank must never index outside the text.
    if (line->count > kLineRoom)
        line->count = 0;
    while (length > 0) {
        size_t room = kLineRoom - line->count;
        size_t take = length < room ? length : room;
        // Stop a piece at its first newline so that each line is written alone.
        const void* nl = memchr(text, '\n', take);
        if (nl)
            take = static_cast<size_t>(static_cast<const char*>(nl) - text) + 1;
        memcpy(line->text + line->count, text, take);
        line->count += static_cast<uint32_t>(take);
        if (line->count < kLineRoom)
            line->text[line->count] = '\0';
        text += take;
        length -= take;
        if (line->text[line->count - 1] == '\n' || line->count == kLineRoom)
            Emit(line, sink, context);
    }
}

void QfTraceFlush(QfTraceLine* line, QfTraceSink sink, void* context)
{
    if (line->count > kLineRoom)
        line->count = 0;
    Emit(line, sink, context);
}

void QfShortenKeyPath(const char* path, char* out)
{
    size_t n = strlen(path);
    if (n <= 48) {
        memcpy(out, path, n + 1);
        return;
    }
    memcpy(out, path, 22);
    memcpy(out + 22, "...", 3);
    memcpy(out + 25, path + n - 23, 23);
    out[48] = '\0';
}

void QfStatsInit(QfStatsRecord* record, const char* name, uint32_t period)
{
    record->name = name;
    record->period = period ? period : 1;
    record->events = 0;
    record->elapsedMicros = 0;
    record->cpuMicros = 0;
}

bool QfStatsAdd(QfStatsRecord* record, uint64_t elapsedCounts, uint64_t frequency, uint64_t cpu100ns, char* out,
                size_t outSize)
{
    if (frequency == 0)
        frequency = 1000;
    // Split the division so that large counts do not overflow.
    record->elapsedMicros += elapsedCounts / frequency * 1000000u + elapsedCounts % frequency * 1000000u / frequency;
    record->cpuMicros += cpu100ns / 10;
    if (++record->events < record->period)
        return false;
    uint64_t events = record->events;
    uint64_t avgMicros = record->elapsedMicros / events;
    uint64_t cpuMicros = record->cpuMicros / events;
    // Events per second in thousandths; no time at all reports 0.
    uint64_t rateMilli = record->elapsedMicros ? events * 1000000000u / record->elapsedMicros : 0;
    snprintf(out, outSize, "Qf: %s - %d.%03d (%d.%03d cpu) ms/event avg  %d.%03d events/s\n", record->name,
             static_cast<int>(avgMicros / 1000), static_cast<int>(avgMicros % 1000),
             static_cast<int>(cpuMicros / 1000), static_cast<int>(cpuMicros % 1000),
             static_cast<int>(rateMilli / 1000), static_cast<int>(rateMilli % 1000));
    record->events = 0;
    record->elapsedMicros = 0;
    record->cpuMicros = 0;
    return true;
}
