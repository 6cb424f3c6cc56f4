// Run by hand under Wine: 2000 songs whose lengths are known added to a
// playlist grid through the playlist's one entry-adding routine, beside the
// grid-only fill of the same 2000 rows (one selection, text and release per
// cell, as ts_fill_bench fills). Three ways in: a ".ZUB" playlist with its
// stored lengths, titles and time stamps; the same songs added one by one
// (as Add and drops add them); and the playlist again with its files in
// memory, which leaves out the file system's part. Prints the best of
// three rounds and each ratio to the grid-only fill (goal: within 2).
#include <windows.h>

#include <stdio.h>

#include <algorithm>
#include <string>
#include <vector>

#include "grid_setup.h"
#include "grid_window.h"
#include "playlist_files.h"
#include "playlist_session.h"
#include "song_paths.h"

namespace {

using namespace playlist;

const int kSongs = 2000;
const int kPerFolder = 40;
const int kRounds = 3;

double Now()
{
    LARGE_INTEGER c, f;
    QueryPerformanceCounter(&c);
    QueryPerformanceFrequency(&f);
    return static_cast<double>(c.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

// A format 0 song of one note with its title.
std::vector<uint8_t> Song(int n)
{
    const std::string title = "Song number " + std::to_string(n);
    std::vector<uint8_t> t = {0x00, 0xFF, 0x03, static_cast<uint8_t>(title.size())};
    t.insert(t.end(), title.begin(), title.end());
    t.insert(t.end(), {0x00, 0x90, 60, 90, 0x60, 0x80, 60, 64, 0x00, 0xFF, 0x2F, 0x00});
    const uint8_t head[] = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96, 'M', 'T', 'r', 'k', 0, 0, 0,
                            static_cast<uint8_t>(t.size())};
    std::vector<uint8_t> f(head, head + sizeof head);
    f.resize(sizeof head + t.size());
    std::copy(t.begin(), t.end(), f.begin() + sizeof head);
    return f;
}

struct Fixture {
    std::string root;
    std::vector<std::string> paths;
    std::string zub;
};

Fixture MakeSongs(PlaylistFiles& files)
{
    Fixture f;
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    f.root = std::string(temp) + "zub_playlist_bench";
    CreateDirectoryA(f.root.c_str(), nullptr);
    for (int i = 0; i < kSongs; ++i) {
        const std::string dir = f.root + "\\Disk" + std::to_string(i / kPerFolder);
        if (i % kPerFolder == 0)
            CreateDirectoryA(dir.c_str(), nullptr);
        const std::string path = dir + "\\SONG" + std::to_string(i) + ".MID";
        files.Write(path, Song(i));
        std::string stamp;
        files.TimeStamp(path, &stamp);
        f.paths.push_back(path);
        f.zub += path + "\t00:03:" + std::to_string(10 + i % 50) + "\tSong number " + std::to_string(i) + "\t" +
                 stamp + "\r\n";
    }
    files.Write(f.root + "\\list.zub", std::vector<uint8_t>(f.zub.begin(), f.zub.end()));
    return f;
}

class NoPlayer : public PlayerLink {
public:
    SequencerState State() override { return SequencerState::NoFile; }
    bool Option(PlayerOption) override { return false; }
    std::string CurrentSongPath() override { return ""; }
    void SetSong(const std::string&, const std::string&) override {}
    void SetUserStop() override {}
    void Command(int) override {}
    void Wait(uint32_t) override {}
};

class NoView : public PlaylistView {
public:
    void SetStatus(int, const std::string&) override {}
    void StartAnimation() override {}
    void StopAnimation() override {}
    void ShowArrows(bool) override {}
    void ShowError(const std::string& text) override { printf("error: %s\n", text.c_str()); }
};

HWND MakeGrid(HWND parent)
{
    return CreateWindowExA(0, "Tessaline", "MaxRows=8192 MaxCols=7", WS_CHILD | WS_VISIBLE, 0, 0, 780, 560, parent,
                           reinterpret_cast<HMENU>(1), GetModuleHandleA(nullptr), nullptr);
}

enum class Way { Playlist, OneByOne, PlaylistInMemory };

// Rows through the routine; the rows' texts are kept for the grid-only fill.
double AddThroughRoutine(HWND parent, Way way, PlaylistFiles& files, const Fixture& f,
                         std::vector<std::vector<std::string>>* texts)
{
    HWND frame = MakeGrid(parent);
    double elapsed = 0;
    {
        std::unique_ptr<GridWindow> grid = GridWindow::Make(frame);
        SetUpPlaylistGrid(grid->Grid());
        NoPlayer player;
        NoView view;
        PlaylistSession session(grid->Grid(), files, nullptr, player, view);
        const double start = Now();
        if (way == Way::OneByOne) {
            for (int i = 0; i < kSongs; ++i) {
                StoredEntry stored;
                stored.hasLength = true;
                stored.length = "00:03:" + std::to_string(10 + i % 50);
                std::string dir, name;
                SplitSongPath(f.paths[static_cast<size_t>(i)], &dir, &name);
                session.Builder().AddEntry(dir, name, stored);
            }
        } else {
            session.LoadPlaylist(f.root + "\\list.zub");
        }
        elapsed = Now() - start;
        const int rows = session.Rows().Count();
        if (rows != kSongs + kSongs / kPerFolder)
            printf("the routine made %d rows\n", rows);
        if (texts) {
            texts->clear();
            for (int r = 0; r < rows; ++r) {
                const PlaylistRow row = session.Rows().Read(r);
                texts->emplace_back(row.text.begin(), row.text.end());
            }
        }
    }
    DestroyWindow(frame);
    return elapsed;
}

LRESULT Send(HWND w, UINT message, uint32_t d0, uintptr_t d1)
{
    ParamBlock b = {d0, d1};
    return SendMessageA(w, message, 0, reinterpret_cast<LPARAM>(&b));
}

// The same rows, inserted and filled cell by cell.
double FillGridOnly(HWND parent, const std::vector<std::vector<std::string>>& texts)
{
    HWND frame = MakeGrid(parent);
    HWND grid = GetWindow(frame, GW_CHILD);
    const uint32_t setText = static_cast<uint32_t>(TS_PROP(TS_GROUP_CELLS, TS_PART_STRING, TS_ITEM_VALUE)) << 16;
    const double start = Now();
    Send(grid, TSM_SELECTIONOP, static_cast<uint32_t>(Send(grid, TSM_INSERTCOLS, 7, TS_APPEND)) | TS_SEL_RELEASE << 16, 0);
    for (size_t r = 0; r < texts.size(); ++r) {
        const uint32_t row = static_cast<uint32_t>(Send(grid, TSM_INSERTROWS, 1, TS_APPEND));
        for (int c = 0; c < 7; ++c) {
            TsSelRect cell = {c, static_cast<int32_t>(r), c, static_cast<int32_t>(r)};
            const uint32_t h = static_cast<uint32_t>(Send(grid, TSM_SETSELRANGE, 0, reinterpret_cast<uintptr_t>(&cell)));
            Send(grid, TSM_SETPROP, h | setText, reinterpret_cast<uintptr_t>(texts[r][static_cast<size_t>(c)].c_str()));
            Send(grid, TSM_SELECTIONOP, h | TS_SEL_RELEASE << 16, 0);
        }
        Send(grid, TSM_SELECTIONOP, row | TS_SEL_RELEASE << 16, 0);
    }
    const double elapsed = Now() - start;
    DestroyWindow(frame);
    return elapsed;
}

}  // namespace

int main()
{
    HWND top = CreateWindowExA(0, "STATIC", "add", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    HostPlaylistFiles disk;
    const Fixture fixture = MakeSongs(disk);
    MemoryPlaylistFiles memory;
    for (int i = 0; i < kSongs; ++i) {
        std::string stamp;
        FileFacts facts;
        disk.Facts(fixture.paths[static_cast<size_t>(i)], &facts);
        memory.Add(fixture.paths[static_cast<size_t>(i)], Song(i), facts.written);
    }
    memory.Add(fixture.root + "\\list.zub", fixture.zub);

    std::vector<std::vector<std::string>> texts;
    double best[4] = {1e30, 1e30, 1e30, 1e30};
    const char* names[4] = {"grid-only fill", "playlist (.ZUB)", "one by one", "playlist, files in memory"};
    for (int round = 0; round < kRounds; ++round) {
        const double times[4] = {
            0,
            AddThroughRoutine(top, Way::Playlist, disk, fixture, &texts),
            AddThroughRoutine(top, Way::OneByOne, disk, fixture, nullptr),
            AddThroughRoutine(top, Way::PlaylistInMemory, memory, fixture, nullptr),
        };
        const double grid = FillGridOnly(top, texts);
        printf("round %d: grid-only %.1f ms, playlist %.1f ms, one by one %.1f ms, in memory %.1f ms\n", round + 1,
               grid, times[1], times[2], times[3]);
        best[0] = grid < best[0] ? grid : best[0];
        for (int i = 1; i < 4; ++i)
            best[i] = times[i] < best[i] ? times[i] : best[i];
    }
    printf("best of %d, %d songs in %d folders (%zu rows):\n", kRounds, kSongs, kSongs / kPerFolder, texts.size());
    for (int i = 0; i < 4; ++i) {
        printf("  %-28s %8.1f ms", names[i], best[i]);
        if (i > 0)
            printf("   ratio to the grid-only fill %.2f", best[i] / best[0]);
        printf("\n");
    }
    DestroyWindow(top);
    return 0;
}
