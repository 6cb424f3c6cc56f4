// Run by hand under Wine: framework string allocate/release and bank lookup
// through Tsf.dll's slots, beside HeapAlloc/HeapFree of the process heap,
// measured in the same run. Prints ns per operation and ratios.
#include <windows.h>

#include <stdio.h>

#include "qf.h"

namespace {

typedef QfMgr*(__stdcall* GetInterfaceFn)(void);

const int kRounds = 2000000;
const uint32_t kRequests[8] = {5, 20, 40, 100, 200, 9, 25, 249};

double Now()
{
    LARGE_INTEGER c, f;
    QueryPerformanceCounter(&c);
    QueryPerformanceFrequency(&f);
    return static_cast<double>(c.QuadPart) * 1e9 / static_cast<double>(f.QuadPart);
}

template <class F>
double NsPerOp(F f)
{
    for (int i = 0; i < kRounds / 10; ++i)  // warm up
        f(i);
    double start = Now();
    for (int i = 0; i < kRounds; ++i)
        f(i);
    return (Now() - start) / kRounds;
}

}  // namespace

int main()
{
    HMODULE tsf = LoadLibraryA("Tsf.dll");
    GetInterfaceFn get =
        tsf ? reinterpret_cast<GetInterfaceFn>(reinterpret_cast<void (*)()>(GetProcAddress(tsf, "QfGetInterface")))
            : nullptr;
    if (!get) {
        printf("Tsf.dll not found\n");
        return 1;
    }
    QfMgr* root = get();
    IQfTextMgr* text = *root->TextHolder();
    IQfThreadMgr* threads = *root->ThreadHolder();
    uint32_t bank = threads->AllocBank(16, nullptr);
    HANDLE heap = GetProcessHeap();
    volatile uintptr_t sink = 0;

    double strings = NsPerOp([&](int i) {
        QfString* s = text->AllocString(kRequests[i & 7]);
        sink = sink + reinterpret_cast<uintptr_t>(s);
        text->ReleaseString(s);
    });
    double heapOps = NsPerOp([&](int i) {
        void* p = HeapAlloc(heap, 0, kRequests[i & 7] + 7);
        sink = sink + reinterpret_cast<uintptr_t>(p);
        HeapFree(heap, 0, p);
    });
    double lookups = NsPerOp([&](int) { sink = sink + reinterpret_cast<uintptr_t>(threads->GetBank(bank)); });

    printf("framework string alloc/release: %.1f ns/op\n", strings);
    printf("HeapAlloc/HeapFree:             %.1f ns/op\n", heapOps);
    printf("bank lookup (GetBank):          %.1f ns/op\n", lookups);
    printf("ratio string / heap: %.2f\n", strings / heapOps);
    printf("ratio bank lookup / heap: %.3f\n", lookups / heapOps);
    return 0;
}
