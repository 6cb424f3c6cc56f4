// `zubcli render` of a 3-minute General MIDI song beside the `fluidsynth`
// program rendering the same song to a file with the same sound font, one
// run of each. Prints both times, how much faster than real time each is,
// and the ratio zubcli / fluidsynth (goal: at most 1).
//   render_bench [WORK_FOLDER]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "hostfile.h"
#include "songbuilder.h"
#include "sound_support.h"

namespace {

constexpr uint32_t kQuarter = 480;
constexpr int kBars = 90;  // 4/4 at 120 beats a minute: 2 seconds a bar

struct Timed {
    uint32_t tick;
    std::vector<uint8_t> bytes;
};

// Events at absolute ticks become a track with deltas.
Track Sequence(std::vector<Timed> events)
{
    std::stable_sort(events.begin(), events.end(), [](const Timed& a, const Timed& b) { return a.tick < b.tick; });
    Track track;
    uint32_t last = 0;
    for (const Timed& e : events) {
        track.Ev(e.tick - last, e.bytes);
        last = e.tick;
    }
    return track;
}

void Note(std::vector<Timed>* events, int channel, uint32_t at, uint32_t length, int note, int velocity)
{
    const uint8_t ch = static_cast<uint8_t>(channel - 1);
    events->push_back({at, {static_cast<uint8_t>(0x90 | ch), static_cast<uint8_t>(note), static_cast<uint8_t>(velocity)}});
    events->push_back({at + length, {static_cast<uint8_t>(0x80 | ch), static_cast<uint8_t>(note), 0}});
}

// Piano (two hands), bass, strings and drums over a four-chord round.
std::vector<uint8_t> ThreeMinuteSong()
{
    const int roots[] = {48, 45, 41, 43};  // C, A minor, F, G
    const int third[] = {4, 3, 4, 4};
    std::vector<Timed> piano = {{0, {0xC0, 0}}}, bass = {{0, {0xC1, 33}}}, strings = {{0, {0xC2, 48}}}, drums;
    for (int bar = 0; bar < kBars; ++bar) {
        const uint32_t at = bar * 4 * kQuarter;
        const int root = roots[bar % 4];
        const int chord[] = {root, root + third[bar % 4], root + 7};
        for (int half = 0; half < 2; ++half)
            for (int n : chord)
                Note(&piano, 1, at + half * 2 * kQuarter, 2 * kQuarter - 20, n + 12, 70);
        for (int eighth = 0; eighth < 8; ++eighth) {
            const int melody = chord[(eighth + bar) % 3] + 24 + (eighth % 2 ? 12 : 0);
            Note(&piano, 1, at + eighth * kQuarter / 2, kQuarter / 2 - 10, melody, 80 + (eighth % 4) * 8);
            Note(&drums, 10, at + eighth * kQuarter / 2, kQuarter / 4, 42, 60);  // closed hi-hat
        }
        for (int beat = 0; beat < 4; ++beat) {
            Note(&bass, 2, at + beat * kQuarter, kQuarter - 30, root - 12 + (beat == 2 ? 7 : 0), 90);
            Note(&drums, 10, at + beat * kQuarter, kQuarter / 4, beat % 2 ? 38 : 36, 100);  // snare, kick
        }
        for (int n : chord)
            Note(&strings, 3, at, 4 * kQuarter, n + 12, 50);
        Note(&strings, 3, at, 4 * kQuarter, root + 24, 50);
    }
    return BuildSong(1, kQuarter,
                     {Track().Tempo(0, 500000).End(kBars * 4 * kQuarter), Sequence(piano).End(),
                      Sequence(bass).End(), Sequence(strings).End(), Sequence(drums).End()});
}

// Wall-clock seconds of a shell command; negative when it fails.
double TimeCommand(const std::string& command)
{
    const auto start = std::chrono::steady_clock::now();
    const int status = std::system(command.c_str());
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (status != 0) {
        std::fprintf(stderr, "failed (status %d): %s\n", status, command.c_str());
        return -1;
    }
    return seconds;
}

double WavSeconds(const std::string& path)
{
    struct stat info;
    if (stat(path.c_str(), &info) != 0)
        return 0;
    return (info.st_size - 44) / (44100.0 * 4);
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string work = argc > 1 ? argv[1] : "/tmp";
    const std::string song = work + "/render_bench_song.mid";
    const std::string ours = work + "/render_bench_zubcli.wav", theirs = work + "/render_bench_fluidsynth.wav";
    std::string problem;
    const std::string font = ChooseSoundFont("", kSystemSoundFont, &problem);
    if (font.empty()) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        return 1;
    }
    const std::vector<uint8_t> bytes = ThreeMinuteSong();
    if (WriteFileImage(song.c_str(), bytes.data(), bytes.size()) != FileResult::Ok) {
        std::fprintf(stderr, "%s: cannot write\n", song.c_str());
        return 1;
    }
    const double songSeconds = kBars * 2.0;

    const double zubcli = TimeCommand("'" ZUBCLI_PATH "' render -o '" + ours + "' '" + song + "' >/dev/null");
    const double fluidsynth =
        TimeCommand("fluidsynth -ni -q -r 44100 -F '" + theirs + "' '" + font + "' '" + song + "' >/dev/null 2>&1");
    if (zubcli < 0 || fluidsynth < 0)
        return 1;
    std::printf("song: %.0f s, %zu bytes; sound font %s\n", songSeconds, bytes.size(), font.c_str());
    std::printf("zubcli render   %6.2f s  (%5.1f x real time, %.1f s of sound)\n", zubcli, songSeconds / zubcli,
                WavSeconds(ours));
    std::printf("fluidsynth -F   %6.2f s  (%5.1f x real time, %.1f s of sound)\n", fluidsynth,
                songSeconds / fluidsynth, WavSeconds(theirs));
    std::printf("ratio zubcli / fluidsynth: %.2f (goal: at most 1)\n", zubcli / fluidsynth);
    std::remove(song.c_str());
    std::remove(ours.c_str());
    std::remove(theirs.c_str());
    return 0;
}
