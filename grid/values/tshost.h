// What the grid's portable core needs from its platform: the framework's
// text service for values, page-wise memory for block arrays, and the two
// output channels (the diagnostic window and the trace output). The library
// installs one host at load; native tests and tools install their own.
#ifndef ZUB_GRID_VALUES_TSHOST_H
#define ZUB_GRID_VALUES_TSHOST_H

#include <stdint.h>

#include "qf.h"

// Memory for block arrays. A block below 8192 bytes is usable as a whole at
// once; a larger one is reserved address space whose pages are committed
// and decommitted as its user grows and shrinks.
class TsMemory {
public:
    virtual void* Reserve(uint32_t bytes) = 0;
    virtual bool Commit(void* at, uint32_t bytes) = 0;
    virtual void Decommit(void* at, uint32_t bytes) = 0;
    virtual void Release(void* block, uint32_t bytes) = 0;

protected:
    ~TsMemory() = default;
};

enum : uint32_t { TS_PAGE = 4096, TS_LARGE_BLOCK = 8192 };

struct TsHost {
    IQfTextMgr* text = nullptr;
    TsMemory* memory = nullptr;
    // A line for the diagnostic window ("TS: (TsDataMgr) Selections exhausted.").
    void (*diagnostic)(const char* line) = nullptr;
    // Text for the trace output; lines end in "\n".
    void (*trace)(const char* text) = nullptr;
};

// The installed host; never null once one was installed.
TsHost* TsGetHost();
// Installs a host; returns the previous one. The host must outlive its use.
TsHost* TsSetHost(TsHost* host);

// printf-style helpers over the host's channels.
void TsDiagnostic(const char* format, ...);
void TsTrace(const char* format, ...);

// A host for native programs and tests: values from the heap through the
// framework's portable string code, memory from the heap.
TsHost* TsNativeHost();
// Strings of the native host not yet freed (for leak checks in tests).
int TsNativeLiveStrings();

#endif
