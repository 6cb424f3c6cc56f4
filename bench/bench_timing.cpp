// Timing accuracy of SoftMidiStream in real time: a dense song (2000 events
// per second for 20 seconds) played through the Sequencer into memory;
// prints the 50th and 99th percentiles and the maximum of |actual -
// scheduled|, beside the same figures for plain sleeps to the same
// deadlines on this machine (the operating system's own timer accuracy).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "donelatch.h"
#include "midisink.h"
#include "smfbytes.h"
#include "sequencer.h"
#include "softmidistream.h"

namespace {

using smf::PutVlq;

// Division 1000 at 500000 us per quarter: 2000 ticks per second, one event per tick.
std::vector<uint8_t> DenseSong(int seconds)
{
    std::vector<uint8_t> track = {0, 0x90, 60, 100};
    const int events = 2000 * seconds;
    for (int i = 1; i < events; ++i) {
        PutVlq(track, 1);
        track.insert(track.end(), {static_cast<uint8_t>(40 + i % 40), static_cast<uint8_t>(i & 1 ? 0 : 100)});
    }
    track.insert(track.end(), {0, 0xFF, 0x2F, 0});
    std::vector<uint8_t> song = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x03, 0xE8, 'M', 'T', 'r', 'k'};
    const uint32_t n = static_cast<uint32_t>(track.size());
    song.insert(song.end(), {static_cast<uint8_t>(n >> 24), static_cast<uint8_t>(n >> 16), static_cast<uint8_t>(n >> 8),
                             static_cast<uint8_t>(n)});
    song.insert(song.end(), track.begin(), track.end());
    return song;
}

void Report(const char* what, std::vector<double> errors)
{
    std::sort(errors.begin(), errors.end());
    const auto at = [&](double q) { return errors[static_cast<size_t>(q * (errors.size() - 1))]; };
    std::printf("%-34s p50 %.3f ms  p99 %.3f ms  max %.3f ms  (%zu events)\n", what, at(0.5), at(0.99),
                errors.back(), errors.size());
}

}  // namespace

int main(int argc, char** argv)
{
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 20;
    const std::vector<uint8_t> song = DenseSong(seconds);
    MemorySink sink;
    SoftMidiStream stream(nullptr, &sink);
    DoneLatch done;
    std::unique_ptr<Sequencer> sequencer = Sequencer::Create(&stream, &done);
    if (sequencer->OpenImage(song.data(), song.size()) != kSeqOk ||
        sequencer->Preroll(0, sequencer->Length()) != kSeqOk || sequencer->Start() != kSeqOk) {
        std::fprintf(stderr, "bench_timing: cannot play the song\n");
        return 1;
    }
    done.WaitFor(1);
    sequencer->EndPlayback();
    std::vector<double> errors;
    for (const MemorySink::Entry& e : sink.Entries()) {
        if (e.kind == MidiSinkKind::Short) {
            const double diff = static_cast<double>(e.actualUs) - static_cast<double>(e.scheduledUs);
            errors.push_back((diff < 0 ? -diff : diff) / 1000.0);
        }
    }
    Report("SoftMidiStream |actual - scheduled|", errors);

    // Baseline: sleeping to one deadline every 500 us for 2 seconds.
    std::vector<double> baseline;
    const auto origin = std::chrono::steady_clock::now();
    for (int i = 1; i <= 4000; ++i) {
        const auto deadline = origin + std::chrono::microseconds(500 * i);
        std::this_thread::sleep_until(deadline);
        const double late = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - deadline).count();
        baseline.push_back(late < 0 ? -late : late);
    }
    Report("sleep_until baseline", baseline);
    std::printf("target: p99 under 1 ms on an idle machine\n");
    return 0;
}
