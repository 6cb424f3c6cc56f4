// Building a playlist from a generated tree of 2000 songs, as "Build
// Playlist from Directory Tree" does with the pauses off (Shift held down):
// 25 floppy folders of 40 ESEQ songs with "Pianodir.fil" catalogs, and 1000
// MIDI songs in 25 folders two levels deep (the same pieces converted),
// beside reading every file of the tree in the same run: once measuring
// every song, once with the disk songs' lengths from their catalogs ("&Use
// Pianodir for Song Length", on by default). Prints the ratios best against
// best and the median of the rounds' ratios (goal: at most 3).
//   build_bench [WORK_FOLDER] [ROUNDS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "build_walk.h"
#include "eseq_convert.h"
#include "best_of.h"
#include "eseq_testdata.h"
#include "hostfile.h"
#include "length_probe.h"
#include "playlist_builder.h"
#include "playlist_files.h"
#include "row_store.h"

namespace fs = std::filesystem;
using namespace playlist;

namespace {

constexpr int kDisks = 25;
constexpr int kSongsPerFolder = 40;
constexpr int kMidiFolders = 25;

// MIDI songs: the generated pieces converted, in "Midi/Gnn/Fnn" folders.
int WriteMidiTree(const fs::path& root)
{
    int written = 0;
    for (int f = 1; f <= kMidiFolders; ++f) {
        const fs::path folder = root / ("G" + std::to_string((f - 1) / 5)) / ("F" + std::to_string(f));
        fs::create_directories(folder);
        for (int s = 1; s <= kSongsPerFolder; ++s) {
            const std::string title = "Tune " + std::to_string(f) + "-" + std::to_string(s);
            const std::vector<uint8_t> eseq = eseqtest::BuildEseq(eseqtest::SampleSong(7000 + f * 100 + s, title));
            std::vector<uint8_t> midi;
            eseq::ConvertImage(eseq.data(), eseq.size(), eseq::ConvertOptions(), &midi);
            const std::string path = (folder / ("tune" + std::to_string(s) + ".mid")).string();
            written += WriteFileImage(path.c_str(), midi.data(), midi.size()) == FileResult::Ok ? 1 : 0;
        }
    }
    return written;
}

struct Built {
    int songs = 0, disks = 0, rows = 0;
};

Built Build(const std::string& root, bool catalogLengths)
{
    HostPlaylistFiles files;
    HostFolderLister lister;
    VectorRowStore rows;
    SequencerLengthProbe probe;
    PlaylistBuilder builder(rows, files, &probe);
    builder.options.usePianodirLengths = catalogLengths;
    BuildWalk walk(builder, rows, files, lister);
    BuildOptions options;
    options.root = root;
    RunBuild(walk, options, [](const std::string& message) { std::fprintf(stderr, "%s\n", message.c_str()); });
    Built built;
    built.disks = walk.DisksAdded();
    built.rows = rows.Count();
    for (const PlaylistRow& row : rows.Rows())
        built.songs += row.IsFolder() ? 0 : 1;
    return built;
}

}  // namespace

int main(int argc, char** argv)
{
    const fs::path work =
        argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path() / ("zub_build_bench_" + std::to_string(getpid()));
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;
    fs::remove_all(work);
    const fs::path root = work / "tree";
    const int eseqSongs = eseqtest::WriteFloppyTree((root / "Floppies").string(), kDisks, kSongsPerFolder, 1);
    const int midiSongs = WriteMidiTree(root / "Midi");
    std::vector<std::string> paths;
    for (const auto& e : fs::recursive_directory_iterator(root)) {
        if (e.is_regular_file())
            paths.push_back(e.path().string());
    }

    // Rounds alternate between the three, so all meet the same load.
    std::vector<uint8_t> bytes;
    size_t total = 0;
    Built built, builtDefault;
    double read = 1e9, build = 1e9, buildDefault = 1e9;
    std::vector<double> ratios, ratiosDefault;
    for (int r = 0; r < rounds; ++r) {
        const double readRound = BestOf(1, [&] {
            total = 0;
            for (const std::string& path : paths) {
                ReadFileImage(path.c_str(), &bytes);
                total += bytes.size();
            }
        });
        const double buildRound = BestOf(1, [&] { built = Build(root.string(), false); });
        const double defaultRound = BestOf(1, [&] { builtDefault = Build(root.string(), true); });
        read = std::min(read, readRound);
        build = std::min(build, buildRound);
        buildDefault = std::min(buildDefault, defaultRound);
        ratios.push_back(buildRound / readRound);
        ratiosDefault.push_back(defaultRound / readRound);
    }
    std::sort(ratios.begin(), ratios.end());
    std::sort(ratiosDefault.begin(), ratiosDefault.end());
    fs::remove_all(work);
    if (built.songs != eseqSongs + midiSongs || built.disks != kDisks || builtDefault.songs != built.songs) {
        std::fprintf(stderr, "built %d songs and %d disks of %d songs and %d disks\n", built.songs, built.disks,
                     eseqSongs + midiSongs, kDisks);
        return 1;
    }
    std::printf("tree: %d ESEQ songs on %d disks with catalogs, %d MIDI songs in %d folders; %zu files, %zu bytes "
                "(best of %d rounds)\n",
                eseqSongs, kDisks, midiSongs, kMidiFolders, paths.size(), total, rounds);
    std::printf("read every file:                              %8.2f ms\n", read * 1000);
    std::printf("build, every song measured:                   %8.2f ms (%d rows)\n", build * 1000, built.rows);
    std::printf("build, disk songs' lengths from the catalogs: %8.2f ms (the player's default)\n",
                buildDefault * 1000);
    std::printf("ratio build / read, every song measured: %.2f best against best, %.2f the median round "
                "(goal: at most 3)\n",
                build / read, ratios[ratios.size() / 2]);
    std::printf("ratio build / read, catalog lengths:     %.2f best against best, %.2f the median round\n",
                buildDefault / read, ratiosDefault[ratiosDefault.size() / 2]);
    return 0;
}
