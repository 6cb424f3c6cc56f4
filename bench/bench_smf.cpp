// The MIDI file reader against the portSMF reader and plain reads of the
// same bytes, all in one run:
// 1. A big song (16 tracks, one million events, 4.2 MB; or the file given):
//    `zubcli info` in this process and as a process of its own, beside
//    portSMF reading the same file into an Alg_seq and walking its events
//    (in this process, and as the small program portsmf_walk). Goal: zubcli
//    at least 5 times as fast.
// 2. About as many events in 50000 tiny tracks: opening and merging must
//    not slow down with the track count.
// 3. The lengths of 2000 typical songs (50 KB each), as the playlist
//    measures them, beside reading the same files' bytes.
// Times are medians of alternating rounds, so that a busy machine slows
// every contender alike.
//   bench_smf [SONG.MID] [--rounds N]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "hostfile.h"
#include "portsmf_read.h"
#include "sequencer.h"
#include "smfbytes.h"
#include "smfreader.h"
#include "zubcli.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

using smf::PutBe32;
using smf::PutVlq;

// ---- Songs ---------------------------------------------------------------

struct SongWriter {
    std::vector<uint8_t> bytes;
    uint16_t tracks = 0;

    explicit SongWriter(uint16_t division, uint16_t trackCount) : tracks(trackCount)
    {
        bytes = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, static_cast<uint8_t>(trackCount >> 8),
                 static_cast<uint8_t>(trackCount), static_cast<uint8_t>(division >> 8), static_cast<uint8_t>(division)};
    }
    void AddTrack(std::vector<uint8_t> body)
    {
        body.insert(body.end(), {0, 0xFF, 0x2F, 0});
        bytes.insert(bytes.end(), {'M', 'T', 'r', 'k'});
        PutBe32(bytes, static_cast<uint32_t>(body.size()));
        bytes.insert(bytes.end(), body.begin(), body.end());
    }
};

// `pairs` notes: a note-on and the note-off of the same key, deltas as a
// played song has them.
void AddNotes(std::vector<uint8_t>& body, std::mt19937& rnd, uint8_t channel, int pairs)
{
    static const uint32_t kDeltas[] = {0, 0, 10, 60, 120, 240};
    for (int i = 0; i < pairs; ++i) {
        const uint8_t key = static_cast<uint8_t>(36 + rnd() % 60);
        PutVlq(body, kDeltas[rnd() % 6]);
        body.insert(body.end(), {static_cast<uint8_t>(0x90 | channel), key, static_cast<uint8_t>(1 + rnd() % 127)});
        PutVlq(body, kDeltas[rnd() % 6]);
        body.insert(body.end(), {static_cast<uint8_t>(0x80 | channel), key, 64});
    }
}

// `tracks` tracks of `pairs` notes each; the first starts with a tempo.
std::vector<uint8_t> NoteSong(uint16_t tracks, int pairs, uint32_t seed)
{
    std::mt19937 rnd(seed);
    SongWriter song(480, tracks);
    for (uint16_t t = 0; t < tracks; ++t) {
        std::vector<uint8_t> body;
        if (t == 0)
            body = {0, 0xFF, 0x51, 3, 0x07, 0xA1, 0x20};
        const uint8_t channel = static_cast<uint8_t>(t % 16);
        body.insert(body.end(), {0, static_cast<uint8_t>(0xC0 | channel), static_cast<uint8_t>(rnd() % 128)});
        AddNotes(body, rnd, channel, pairs);
        song.AddTrack(std::move(body));
    }
    return song.bytes;
}

// About 50 KB: a conductor track (title, meter, tempo changes) and eight
// instrument tracks with controllers and notes.
std::vector<uint8_t> TypicalSong(uint32_t seed)
{
    std::mt19937 rnd(seed);
    SongWriter song(480, 9);
    std::vector<uint8_t> conductor = {0, 0xFF, 0x03, 10, 'S', 'o', 'n', 'g', ' ', 't', 'i', 't', 'l', 'e',
                                      0, 0xFF, 0x58, 4, 4, 2, 24, 8};
    for (int i = 0; i < 20; ++i) {
        const uint32_t tempo = 400000 + rnd() % 200000;
        PutVlq(conductor, i == 0 ? 0 : 1920);
        conductor.insert(conductor.end(), {0xFF, 0x51, 3, static_cast<uint8_t>(tempo >> 16),
                                           static_cast<uint8_t>(tempo >> 8), static_cast<uint8_t>(tempo)});
    }
    song.AddTrack(std::move(conductor));
    for (uint8_t channel = 0; channel < 8; ++channel) {
        std::vector<uint8_t> body = {0, static_cast<uint8_t>(0xB0 | channel), 7, 100, 0,
                                     static_cast<uint8_t>(0xC0 | channel), static_cast<uint8_t>(rnd() % 128)};
        AddNotes(body, rnd, channel, 760);
        song.AddTrack(std::move(body));
    }
    return song.bytes;
}

// ---- Timing --------------------------------------------------------------

double Seconds(const std::function<void()>& run)
{
    const auto start = std::chrono::steady_clock::now();
    run();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Runs each contender once per round, in turn; the median of each.
std::vector<double> Race(int rounds, const std::vector<std::function<void()>>& contenders)
{
    std::vector<std::vector<double>> times(contenders.size());
    for (int r = 0; r < rounds; ++r) {
        for (size_t i = 0; i < contenders.size(); ++i)
            times[i].push_back(Seconds(contenders[i]));
    }
    std::vector<double> medians;
    for (const std::vector<double>& t : times)
        medians.push_back(Median(t));
    return medians;
}

void Fail(const std::string& what)
{
    std::fprintf(stderr, "bench_smf: %s\n", what.c_str());
    std::exit(1);
}

void ZubcliInfo(const std::string& path)
{
    const char* argv[] = {"zubcli", "info", path.c_str()};
    std::ostringstream out, err;
    if (RunZubcli(3, argv, out, err) != 0)
        Fail("zubcli info " + path + ": " + err.str());
}

void Portsmf(const std::string& path)
{
    if (PortsmfReadAndWalk(path.c_str()) < 0)
        Fail("portSMF cannot read " + path);
}

void ReadBytes(const std::string& path)
{
    std::vector<uint8_t> bytes;
    if (ReadFileImage(path.c_str(), &bytes) != FileResult::Ok)
        Fail("cannot read " + path);
}

// A program run to its end, its output discarded.
void RunProcess(const std::vector<std::string>& args)
{
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (spawned != 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        Fail("cannot run " + args[0]);
}

std::string WriteSong(const fs::path& dir, const std::string& name, const std::vector<uint8_t>& song)
{
    const std::string path = (dir / name).string();
    if (WriteFileImage(path.c_str(), song.data(), song.size()) != FileResult::Ok)
        Fail("cannot write " + path);
    return path;
}

size_t EventCount(const std::string& path)
{
    std::unique_ptr<SmfReader> reader;
    if (SmfReader::Open(path.c_str(), &reader) != SmfResult::Ok)
        Fail("cannot open " + path);
    size_t events = 0;
    SmfEvent e;
    while (reader->NextEvent(kSmfNoLimit, true, &e) == SmfResult::Ok)
        ++events;
    return events;
}

// ---- The three measurements -----------------------------------------------

void BigSong(const std::string& path, int rounds)
{
    const size_t events = EventCount(path);
    const double mb = static_cast<double>(fs::file_size(path)) / 1e6;
    std::printf("big song: %s, %.2f MB, %zu events\n", path.c_str(), mb, events);
    const std::vector<double> t = Race(rounds, {[&] { ZubcliInfo(path); }, [&] { Portsmf(path); },
                                                [&] { ReadBytes(path); }});
    std::printf("  in this process:  zubcli info %7.2f ms   portSMF read + walk %7.2f ms   ratio %.1fx (goal 5x)\n",
                t[0] * 1e3, t[1] * 1e3, t[1] / t[0]);
    std::printf("                    reading the bytes %.2f ms (zubcli info takes %.1fx as long)\n", t[2] * 1e3,
                t[0] / t[2]);
    const std::vector<double> p = Race(rounds, {[&] { RunProcess({ZUB_ZUBCLI, "info", path}); },
                                                [&] { RunProcess({ZUB_PORTSMF_WALK, path}); }});
    std::printf("  whole process:    zubcli info %7.2f ms   portsmf_walk        %7.2f ms   ratio %.1fx (goal 5x)\n",
                p[0] * 1e3, p[1] * 1e3, p[1] / p[0]);
}

// Open and merge every event, as playing or `zubcli events` does.
void OpenAndMerge(const std::string& path)
{
    if (EventCount(path) == 0)
        Fail("no events in " + path);
}

void TinyTracks(const fs::path& dir, const std::string& bigPath, int rounds)
{
    const std::string path = WriteSong(dir, "tiny-tracks.mid", NoteSong(50000, 10, 3));
    const size_t events = EventCount(path), bigEvents = EventCount(bigPath);
    const std::vector<double> t = Race(rounds, {[&] { ZubcliInfo(path); }, [&] { OpenAndMerge(path); },
                                                [&] { ZubcliInfo(bigPath); }, [&] { OpenAndMerge(bigPath); }});
    auto ns = [](double seconds, size_t n) { return seconds * 1e9 / static_cast<double>(n); };
    std::printf("50000 tracks, %zu events:  zubcli info %6.2f ms, open + merge %6.2f ms (%.0f ns per event)\n",
                events, t[0] * 1e3, t[1] * 1e3, ns(t[1], events));
    std::printf("16 tracks, %zu events:     zubcli info %6.2f ms, open + merge %6.2f ms (%.0f ns per event)\n",
                bigEvents, t[2] * 1e3, t[3] * 1e3, ns(t[3], bigEvents));
}

void SongLengths(const fs::path& dir, int rounds)
{
    constexpr int kSongs = 2000;
    std::vector<std::string> paths;
    uintmax_t bytes = 0;
    for (int i = 0; i < kSongs; ++i) {
        paths.push_back(WriteSong(dir, "song" + std::to_string(i) + ".mid", TypicalSong(100 + i)));
        bytes += fs::file_size(paths.back());
    }
    // The playlist's length probe: a Sequencer without a stream.
    std::unique_ptr<Sequencer> probe = Sequencer::Create(nullptr, nullptr);
    uint64_t totalMs = 0;
    const std::vector<double> t = Race(std::max(3, rounds / 2), {
        [&] {
            totalMs = 0;
            for (const std::string& path : paths) {
                if (probe->Open(path.c_str()) != kSeqOk)
                    Fail("length probe cannot open " + path);
                totalMs += probe->TicksToMs(probe->Length());
                probe->Close();
            }
        },
        [&] {
            for (const std::string& path : paths)
                ReadBytes(path);
        }});
    std::printf("%d songs of %.0f KB (%.1f hours in all): lengths %.1f ms, reading the bytes %.1f ms "
                "(lengths take %.1fx as long)\n",
                kSongs, static_cast<double>(bytes) / kSongs / 1024, static_cast<double>(totalMs) / 3.6e6,
                t[0] * 1e3, t[1] * 1e3, t[0] / t[1]);
}

}  // namespace

int main(int argc, char** argv)
{
    std::string given;
    int rounds = 7;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--rounds") == 0 && i + 1 < argc)
            rounds = std::max(1, std::atoi(argv[++i]));
        else
            given = argv[i];
    }
    char pattern[] = "/tmp/bench_smf.XXXXXX";
    if (!mkdtemp(pattern))
        Fail("cannot make a temporary folder");
    const fs::path dir = pattern;
    const std::string big = given.empty() ? WriteSong(dir, "big.mid", NoteSong(16, 31250, 7)) : given;
    BigSong(big, rounds);
    TinyTracks(dir, big, rounds);
    SongLengths(dir, rounds);
    fs::remove_all(dir);
    return 0;
}
