#include "tshost.h"

#include <stdarg.h>
#include <stdio.h>

namespace {

TsHost* g_host = nullptr;

// Formats for one output channel; a missing channel formats nothing.
void Send(void (*channel)(const char*), const char* format, va_list args)
{
    if (!channel)
        return;
    char line[512];
    if (vsnprintf(line, sizeof line, format, args) < 0)
        line[0] = '\0';
    channel(line);
}

}  // namespace

TsHost* TsGetHost()
{
#ifndef _WIN32
    if (!g_host)
        g_host = TsNativeHost();
#endif
    return g_host;
}

TsHost* TsSetHost(TsHost* host)
{
    TsHost* old = g_host;
    g_host = host;
    return old;
}

void TsDiagnostic(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    Send(TsGetHost()->diagnostic, format, args);
    va_end(args);
}

void TsTrace(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    Send(TsGetHost()->trace, format, args);
    va_end(args);
}
