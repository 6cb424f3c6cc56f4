// Framework pools beside the C library: string allocate/release through the
// pool set and the string class table against malloc/free of the same
// sizes, and a per-thread bank lookup. Prints each pair's ratio at the end.
#include <benchmark/benchmark.h>

#include <map>
#include <stdio.h>
#include <stdlib.h>
#include <string>

#include "qfbank.h"
#include "qfpool.h"
#include "qfstring.h"
#include "ratio_reporter.h"

namespace {

class AlignedSource : public QfSegmentSource {
public:
    void* ReserveSegment() override { return aligned_alloc(QF_SEGMENT_BYTES, QF_SEGMENT_BYTES); }
    void ReleaseSegment(void* s) override { free(s); }
    void* ReserveLarge(size_t size) override { return aligned_alloc(QF_SEGMENT_BYTES, (size + 0xFFFF) & ~size_t(0xFFFF)); }
    void ReleaseLarge(void* b, size_t) override { free(b); }
};

// Requests cycling through the five string classes.
const uint32_t kRequests[8] = {5, 20, 40, 100, 200, 9, 25, 249};

void BM_FrameworkString(benchmark::State& state)
{
    AlignedSource source;
    QfPoolSet pools(source);
    size_t i = 0;
    for (auto _ : state) {
        int sizeClass = QfStringClassFor(kRequests[i++ & 7]);
        QfString* s = QfStringInitBlock(pools.AllocBlock(QfStringClassBytes(sizeClass)), sizeClass);
        benchmark::DoNotOptimize(s);
        pools.FreePoolBlock(s);
    }
}
BENCHMARK(BM_FrameworkString);

void BM_MallocString(benchmark::State& state)
{
    size_t i = 0;
    for (auto _ : state) {
        void* p = malloc(kRequests[i++ & 7] + 7);
        benchmark::DoNotOptimize(p);
        free(p);
    }
}
BENCHMARK(BM_MallocString);

thread_local QfThreadBlock* t_block = nullptr;

void BM_BankLookup(benchmark::State& state)
{
    static QfBankTable table;
    static uint32_t handle = table.Alloc(260, nullptr);
    static QfThreadBlock block = {};
    t_block = &block;
    for (auto _ : state) {
        void* bank = QfBankTable::Address(t_block->bank, handle);
        benchmark::DoNotOptimize(bank);
    }
}
BENCHMARK(BM_BankLookup);

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter([](std::map<std::string, double>& ns) {
        double pool = ns["BM_FrameworkString"], heap = ns["BM_MallocString"], bank = ns["BM_BankLookup"];
        if (heap > 0) {
            printf("framework string alloc/release: %.1f ns/op, %.2f x malloc/free\n", pool, pool / heap);
            printf("bank lookup: %.1f ns/op, %.3f x malloc/free\n", bank, bank / heap);
        }
    });
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
