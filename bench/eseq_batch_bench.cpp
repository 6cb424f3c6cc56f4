// `zubcli batch` on a generated tree of 2000 ESEQ songs (50 floppies of 40),
// beside a plain recursive copy of the same tree in the same run. Prints
// files per second and the ratio batch / copy (goal: at most 2).
//   eseq_batch_bench [WORK_FOLDER] [ROUNDS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "best_of.h"
#include "eseq_testdata.h"
#include "zubcli.h"

namespace fs = std::filesystem;

namespace {

constexpr int kDisks = 50;
constexpr int kSongsPerDisk = 40;

double TimeCopy(const fs::path& source, const fs::path& target)
{
    fs::remove_all(target);
    const auto start = std::chrono::steady_clock::now();
    fs::copy(source, target, fs::copy_options::recursive);
    return SecondsSince(start);
}

double TimeBatch(const fs::path& source, const fs::path& target, int* status)
{
    fs::remove_all(target);
    const std::string from = source.string(), to = target.string();
    const char* argv[] = {"zubcli", "batch", from.c_str(), to.c_str()};
    std::ostringstream out, err;
    const auto start = std::chrono::steady_clock::now();
    *status = RunZubcli(4, argv, out, err);
    const double seconds = SecondsSince(start);
    if (*status != 0)
        std::fprintf(stderr, "zubcli batch failed: %s", err.str().c_str());
    return seconds;
}

size_t CountFiles(const fs::path& root)
{
    size_t n = 0;
    for (const auto& e : fs::recursive_directory_iterator(root))
        n += e.is_regular_file() ? 1 : 0;
    return n;
}

}  // namespace

int main(int argc, char** argv)
{
    const fs::path work = argc > 1 ? fs::path(argv[1])
                                   : fs::temp_directory_path() / ("zub_eseq_bench_" + std::to_string(getpid()));
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    fs::remove_all(work);
    fs::create_directories(work);
    const fs::path source = work / "floppies", copied = work / "copy", converted = work / "converted";
    const int songs = eseqtest::WriteFloppyTree(source.string(), kDisks, kSongsPerDisk, 1);
    const size_t treeFiles = CountFiles(source);

    double bestCopy = 1e9, bestBatch = 1e9;
    int status = 0;
    for (int round = 0; round < rounds && status == 0; ++round) {
        bestCopy = std::min(bestCopy, TimeCopy(source, copied));
        bestBatch = std::min(bestBatch, TimeBatch(source, converted, &status));
    }
    const size_t outputs = status == 0 ? CountFiles(converted) : 0;
    fs::remove_all(work);
    if (status != 0 || outputs != static_cast<size_t>(songs)) {
        std::fprintf(stderr, "batch wrote %zu of %d songs\n", outputs, songs);
        return 1;
    }
    std::printf("tree: %d songs in %d folders, %zu files in all (best of %d rounds)\n", songs, kDisks, treeFiles,
                rounds);
    std::printf("plain copy:   %8.1f ms  %9.0f files/s\n", bestCopy * 1000, treeFiles / bestCopy);
    std::printf("zubcli batch: %8.1f ms  %9.0f songs/s\n", bestBatch * 1000, songs / bestBatch);
    std::printf("ratio batch/copy: %.2f (goal: at most 2)\n", bestBatch / bestCopy);
    return 0;
}
