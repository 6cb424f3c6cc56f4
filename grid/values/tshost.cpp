#include "tshost.h"

#include <stdarg.h>
#include <stdio.h>

namespace {

TsHost* g_host = nullptr;

void Format(char* line, size_t size, const char* format, va_list args)
{
    int n = vsnprintf(line, size, format, args);
    if (n < 0)
        line[0] = '\0';
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
    TsHost* host = TsGetHost();
    if (!host->diagnostic)
        return;
    char line[256];
    va_list args;
    va_start(args, format);
    Format(line, sizeof line, format, args);
    va_end(args);
    host->diagnostic(line);
}

void TsTrace(const char* format, ...)
{
    TsHost* host = TsGetHost();
    if (!host->trace)
        return;
    char line[512];
    va_list args;
    va_start(args, format);
    Format(line, sizeof line, format, args);
    va_end(args);
    host->trace(line);
}
