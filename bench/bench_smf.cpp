// Opening and indexing a large generated song (16 tracks, one million
// events) and walking its merge, beside reading the same bytes from memory
// and beside the portSMF reader (Alg_smf) on the same file.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <cstring>  // allegro.h uses memcpy without including it

#include <allegro.h>

#include "smfbytes.h"
#include "smfreader.h"

namespace {

using smf::PutBe32;
using smf::PutVlq;

// 16 tracks of 62500 events: notes with running status, a controller now
// and then, End of Track.
const std::vector<uint8_t>& LargeSong()
{
    static std::vector<uint8_t> song;
    if (!song.empty())
        return song;
    song = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 16, 0x01, 0xE0};
    uint32_t seed = 12345;
    for (int t = 0; t < 16; ++t) {
        std::vector<uint8_t> track;
        const uint8_t channel = static_cast<uint8_t>(t);
        track.insert(track.end(), {0, static_cast<uint8_t>(0xC0 | channel), static_cast<uint8_t>(t * 3)});
        track.insert(track.end(), {0, static_cast<uint8_t>(0x90 | channel), 60, 100});
        for (int i = 2; i < 62499; ++i) {
            seed = seed * 1103515245 + 12345;
            PutVlq(track, (seed >> 16) % 60);
            if (i % 50 == 0) {
                track.insert(track.end(), {static_cast<uint8_t>(0xB0 | channel), 7, static_cast<uint8_t>(seed % 128)});
                track.insert(track.end(), {0, static_cast<uint8_t>(0x90 | channel), 60, 1});
                ++i;
            } else {
                track.insert(track.end(), {static_cast<uint8_t>(36 + (seed >> 8) % 60), static_cast<uint8_t>(i & 1 ? 0 : 90)});
            }
        }
        track.insert(track.end(), {0, 0xFF, 0x2F, 0});
        song.insert(song.end(), {'M', 'T', 'r', 'k'});
        PutBe32(song, static_cast<uint32_t>(track.size()));
        song.insert(song.end(), track.begin(), track.end());
    }
    return song;
}

void SetBytes(benchmark::State& state)
{
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(LargeSong().size()));
}

void MemoryRead(benchmark::State& state)
{
    const std::vector<uint8_t>& song = LargeSong();
    for (auto _ : state) {
        std::vector<uint8_t> copy(song);
        uint64_t sum = 0;
        for (uint8_t b : copy)
            sum += b;
        benchmark::DoNotOptimize(sum);
    }
    SetBytes(state);
}

void SmfReaderOpenAndMerge(benchmark::State& state)
{
    const std::vector<uint8_t>& song = LargeSong();
    uint64_t events = 0;
    for (auto _ : state) {
        std::unique_ptr<SmfReader> reader;
        if (SmfReader::OpenImage(song.data(), song.size(), &reader) != SmfResult::Ok) {
            state.SkipWithError("open failed");
            break;
        }
        SmfEvent e;
        events = 0;
        while (reader->NextEvent(kSmfNoLimit, true, &e) == SmfResult::Ok)
            ++events;
    }
    state.counters["events"] = static_cast<double>(events);
    SetBytes(state);
}

void AlgSmfRead(benchmark::State& state)
{
    const std::string bytes(LargeSong().begin(), LargeSong().end());
    for (auto _ : state) {
        std::istringstream in(bytes);
        Alg_seq seq(in, true);
        benchmark::DoNotOptimize(seq.tracks());
    }
    SetBytes(state);
}

class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter() : ConsoleReporter(OO_Tabular) {}  // plain text: the output goes into reports
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            seconds[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> seconds;
};

}  // namespace

BENCHMARK(MemoryRead)->Unit(benchmark::kMillisecond);
BENCHMARK(SmfReaderOpenAndMerge)->Unit(benchmark::kMillisecond);
BENCHMARK(AlgSmfRead)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double mb = static_cast<double>(LargeSong().size()) / 1e6;
    const double ours = reporter.seconds["SmfReaderOpenAndMerge"] / 1e3;
    const double memory = reporter.seconds["MemoryRead"] / 1e3;
    const double peer = reporter.seconds["AlgSmfRead"] / 1e3;
    if (ours > 0 && memory > 0 && peer > 0) {
        std::printf("song: %.2f MB, 16 tracks, 1000000 events\n", mb);
        std::printf("SmfReader open + merge: %8.1f MB/s\n", mb / ours);
        std::printf("memory copy + read:     %8.1f MB/s (SmfReader takes %.1fx as long)\n", mb / memory, ours / memory);
        std::printf("Alg_smf read:           %8.1f MB/s (SmfReader is %.1fx faster; target 5x)\n", mb / peer, peer / ours);
    }
    return 0;
}
