// How soon a Playback Control change is heard, in real time: a song with a
// note every 10 ms plays through the Sequencer on the software stream into
// a capture file, while Transpose, Tempo and Track Volume change every
// second in turn. The capture is read back, and for each change the time
// from the moment it was made (the stream's position then) to the first
// event in the capture that carries it is measured. Beside it, in the same
// run, the same with buffers filled up (0 ms spans), as before. Goal: every
// change heard within 200 ms.
//   bench_control_latency [SECONDS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

#include "donelatch.h"
#include "midisink.h"
#include "sequencer.h"
#include "smfbytes.h"
#include "smfreader.h"
#include "softmidistream.h"

namespace fs = std::filesystem;

namespace {

using smf::PutBe32;
using smf::PutVlq;

constexpr uint8_t kKey = 60;
constexpr uint8_t kSongVolume = 100;

// Division 500 at the default tempo: a tick is a millisecond. The volume of
// channel 1 first, then a note-on every 10 ms.
std::vector<uint8_t> BusySong(int seconds)
{
    std::vector<uint8_t> track = {0, 0xB0, 7, kSongVolume};
    for (int i = 0; i < seconds * 100; ++i) {
        track.insert(track.end(), {static_cast<uint8_t>(i == 0 ? 0 : 5), 0x90, kKey, 90});
        track.insert(track.end(), {5, 0x80, kKey, 64});
    }
    track.insert(track.end(), {0, 0xFF, 0x2F, 0});
    std::vector<uint8_t> song = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x01, 0xF4, 'M', 'T', 'r', 'k'};
    PutBe32(song, static_cast<uint32_t>(track.size()));
    song.insert(song.end(), track.begin(), track.end());
    return song;
}

enum Control { kTranspose, kTempo, kVolume };
const char* const kControlNames[] = {"Transpose", "Tempo", "Track Volume"};

struct Change {
    Control control;
    bool on;        // to the changed value (else back to neutral)
    uint32_t tick;  // the stream's position when it was made
};

// Whether a captured event carries the change.
bool Carries(const Change& c, const SmfEvent& e)
{
    switch (c.control) {
    case kTranspose:
        return (e.status & 0xF0) == 0x90 && e.data1 == (c.on ? kKey + 2 : kKey);
    case kTempo:
        return e.status == 0xFF && e.data1 == 0x51 && e.length == 3 &&
               (e.data[0] << 16 | e.data[1] << 8 | e.data[2]) == (c.on ? 400000 : 500000);
    case kVolume:
        return (e.status & 0xF0) == 0xB0 && e.data1 == 7 && e.data2 == (c.on ? kSongVolume * 64 / 127 : kSongVolume);
    }
    return false;
}

// Plays the song in real time, making a change every second; returns the
// latencies in milliseconds per control (-1: not heard before the end).
std::vector<std::vector<int>> Measure(const std::vector<uint8_t>& song, uint32_t spanMs, const fs::path& file)
{
    CaptureSink capture;
    SoftMidiStream stream(nullptr, &capture);
    DoneLatch done;
    std::unique_ptr<Sequencer> sequencer = Sequencer::Create(&stream, &done);
    sequencer->SetBufferSpan(spanMs);
    if (sequencer->OpenImage(song.data(), song.size()) != kSeqOk ||
        sequencer->Preroll(0, sequencer->Length()) != kSeqOk || sequencer->Start() != kSeqOk) {
        std::fprintf(stderr, "bench_control_latency: cannot play the song\n");
        std::exit(1);
    }
    const auto origin = std::chrono::steady_clock::now();
    const int seconds = static_cast<int>(sequencer->TicksToMs(sequencer->Length()) / 1000);
    std::vector<Change> changes;
    PlayAdjustSettings s;
    for (int i = 1; i < seconds; ++i) {
        // A little off the whole second, so that changes meet the buffers at all phases.
        std::this_thread::sleep_until(origin + std::chrono::milliseconds(1000 * i + (i * 37) % 100));
        Change c = {static_cast<Control>((i - 1) % 3), false, 0};
        if (c.control == kTranspose) {
            c.on = s.transpose == 0;
            s.transpose = c.on ? 2 : 0;
        } else if (c.control == kTempo) {
            c.on = s.tempoPercent == 0;
            s.tempoPercent = c.on ? 25 : 0;
        } else {
            c.on = s.trackVolume == kTrackVolumeFull;
            s.trackVolume = c.on ? 64 : kTrackVolumeFull;
        }
        sequencer->SetAdjustments(s);
        sequencer->Position(&c.tick);
        changes.push_back(c);
    }
    done.WaitFor(1);
    sequencer->EndPlayback();
    sequencer.reset();
    if (capture.Save(file.string().c_str()) != FileResult::Ok) {
        std::fprintf(stderr, "bench_control_latency: cannot write %s\n", file.string().c_str());
        std::exit(1);
    }

    // Read back from the capture file.
    std::unique_ptr<SmfReader> reader;
    if (SmfReader::Open(file.string().c_str(), &reader) != SmfResult::Ok) {
        std::fprintf(stderr, "bench_control_latency: cannot read the capture\n");
        std::exit(1);
    }
    std::vector<std::vector<int>> latencies(3);
    for (const Change& c : changes) {
        reader->Rewind();
        int heard = -1;
        SmfEvent e;
        while (reader->NextEvent(kSmfNoLimit, true, &e) == SmfResult::Ok) {
            if (e.tick >= c.tick && Carries(c, e)) {
                heard = static_cast<int>(reader->TicksToMs(e.tick)) - static_cast<int>(reader->TicksToMs(c.tick));
                break;
            }
        }
        latencies[c.control].push_back(heard);
    }
    return latencies;
}

void Report(const char* what, const std::vector<std::vector<int>>& latencies)
{
    std::printf("%s\n", what);
    for (int control = 0; control < 3; ++control) {
        std::vector<int> heard;
        for (int ms : latencies[control]) {
            if (ms >= 0)
                heard.push_back(ms);
        }
        std::sort(heard.begin(), heard.end());
        if (heard.empty()) {
            std::printf("  %-13s none of %zu changes heard before the song ended\n", kControlNames[control],
                        latencies[control].size());
            continue;
        }
        std::printf("  %-13s median %5d ms, max %5d ms (%zu of %zu changes heard)\n", kControlNames[control],
                    heard[heard.size() / 2], heard.back(), heard.size(), latencies[control].size());
    }
}

}  // namespace

int main(int argc, char** argv)
{
    const int seconds = argc > 1 ? std::max(4, std::atoi(argv[1])) : 13;
    const std::vector<uint8_t> song = BusySong(seconds);
    const fs::path file = fs::temp_directory_path() / ("bench_control_latency." + std::to_string(getpid()) + ".mid");
    std::printf("a note every 10 ms for %d s; a change every second; times read back from the capture\n", seconds);
    Report("buffers of at most 30 ms (goal: every change within 200 ms):",
           Measure(song, Sequencer::kBufferSpanMs, file));
    Report("buffers filled up, as before:", Measure(song, 0, file));
    fs::remove(file);
    return 0;
}
