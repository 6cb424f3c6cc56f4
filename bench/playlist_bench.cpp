// Loading a playlist of 2000 songs (50 folders of 40 generated ESEQ songs):
// once with time stamps that match (nothing measured) and once with time
// stamps that do not (every song read and measured), beside reading the
// same files from disk in the same run. Prints the ratios.
//   playlist_bench [WORK_FOLDER] [ROUNDS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "best_of.h"
#include "eseq_testdata.h"
#include "hostfile.h"
#include "length_probe.h"
#include "playlist_builder.h"
#include "playlist_files.h"
#include "playlist_save.h"
#include "row_store.h"

namespace fs = std::filesystem;
using namespace playlist;

namespace {

constexpr int kDisks = 50;
constexpr int kSongsPerDisk = 40;

// Loads the list; returns the song rows.
int Load(const std::string& list)
{
    HostPlaylistFiles files;
    VectorRowStore rows;
    SequencerLengthProbe probe;
    PlaylistBuilder builder(rows, files, &probe);
    builder.LoadPlaylistFile(list);
    int songs = 0;
    for (const PlaylistRow& row : rows.Rows())
        songs += row.IsFolder() ? 0 : 1;
    return songs;
}

// Every song as a plain entry, saved with the files' time stamps; the stale
// copy has every time stamp a second off.
void WriteLists(const std::vector<std::string>& songs, const std::string& fresh, const std::string& stale)
{
    HostPlaylistFiles files;
    VectorRowStore rows;
    SequencerLengthProbe probe;
    PlaylistBuilder builder(rows, files, &probe);
    for (const std::string& song : songs)
        builder.AddEntry(fs::path(song).parent_path().string(), fs::path(song).filename().string());
    const std::string text = ZubText(rows, files);
    WriteFileImage(fresh.c_str(), reinterpret_cast<const uint8_t*>(text.data()), text.size());
    std::string changed = text;
    for (size_t end = changed.find("\r\n"); end != std::string::npos; end = changed.find("\r\n", end + 2)) {
        if (end > 0 && changed[end - 1] != '\t')
            changed[end - 1] = changed[end - 1] == '9' ? '8' : '9';  // the seconds of the time stamp
    }
    WriteFileImage(stale.c_str(), reinterpret_cast<const uint8_t*>(changed.data()), changed.size());
}

}  // namespace

int main(int argc, char** argv)
{
    const fs::path work = argc > 1 ? fs::path(argv[1])
                                   : fs::temp_directory_path() / ("zub_playlist_bench_" + std::to_string(getpid()));
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    fs::remove_all(work);
    fs::create_directories(work);
    eseqtest::WriteFloppyTree((work / "songs").string(), kDisks, kSongsPerDisk, 1);
    std::vector<std::string> songs;
    for (const auto& e : fs::recursive_directory_iterator(work / "songs")) {
        if (e.path().extension() == ".FIL" && e.path().filename() != "Pianodir.fil")
            songs.push_back(e.path().string());
    }
    std::sort(songs.begin(), songs.end());
    const std::string fresh = (work / "fresh.zub").string(), stale = (work / "stale.zub").string();
    WriteLists(songs, fresh, stale);

    std::vector<uint8_t> bytes;
    size_t songBytes = 0;
    const double readList = BestOf(rounds * 5, [&] { ReadFileImage(fresh.c_str(), &bytes); });
    const size_t listBytes = bytes.size();
    const double readSongs = BestOf(rounds, [&] {
        songBytes = 0;
        for (const std::string& song : songs) {
            ReadFileImage(song.c_str(), &bytes);
            songBytes += bytes.size();
        }
    });
    HostPlaylistFiles host;
    const double statSongs = BestOf(rounds, [&] {
        FileFacts facts;
        for (const std::string& song : songs)
            host.Facts(song, &facts);
    });
    int freshSongs = 0, staleSongs = 0;
    const double loadFresh = BestOf(rounds, [&] { freshSongs = Load(fresh); });
    const double loadStale = BestOf(rounds, [&] { staleSongs = Load(stale); });
    fs::remove_all(work);
    if (freshSongs != static_cast<int>(songs.size()) || staleSongs != static_cast<int>(songs.size())) {
        std::fprintf(stderr, "loaded %d and %d of %zu songs\n", freshSongs, staleSongs, songs.size());
        return 1;
    }
    std::printf("playlist: %zu songs in %d folders, %zu bytes; songs: %zu bytes (best of %d rounds)\n", songs.size(),
                kDisks, listBytes, songBytes, rounds);
    std::printf("read the playlist file:          %8.2f ms\n", readList * 1000);
    std::printf("time stamps of every song:       %8.2f ms\n", statSongs * 1000);
    std::printf("read every song's bytes:         %8.2f ms\n", readSongs * 1000);
    std::printf("load, time stamps match:         %8.2f ms\n", loadFresh * 1000);
    std::printf("load, every song measured:       %8.2f ms\n", loadStale * 1000);
    std::printf("ratio matching load / playlist file read: %.2f (goal: at most 2)\n", loadFresh / readList);
    std::printf("ratio matching load / (file read + time stamps): %.2f\n", loadFresh / (readList + statSongs));
    std::printf("ratio measuring load / song bytes read: %.2f (goal: at most 3)\n", loadStale / readSongs);
    return 0;
}
