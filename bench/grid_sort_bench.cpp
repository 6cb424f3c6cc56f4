// Sorting 8192 playlist-like rows through the grid's sort (key list from a
// spec, keys fetched through the key source, a permutation of row
// references) beside std::stable_sort of the same keys with the same
// comparisons, in the same run. Prints medians and the ratio grid / baseline
// (goal: at most 2).
//   grid_sort_bench [ROUNDS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "tssort.h"

namespace {

constexpr size_t kRows = 8192;
enum { kPath, kFolder, kTitle, kLength, kColumns };

// Cells as the grid core keeps them: a text per row and column.
struct Playlist : TsSortSource {
    std::vector<std::string> cells[kColumns];
    const char* KeyText(uint32_t row, uintptr_t column) override { return cells[column][row].c_str(); }
    uint32_t LineData(uint32_t row) override { return row; }
};

Playlist MakePlaylist()
{
    static const char* const words[] = {"Moon", "River", "Sonata", "Waltz", "Blue", "Night", "Rag", "Etude",
                                        "Prelude", "Song", "Dance", "Autumn", "Leaves", "Star", "Dust", "Time"};
    std::mt19937 random(2024);
    Playlist p;
    for (size_t i = 0; i < kRows; ++i) {
        const std::string folder = "Disk " + std::to_string(random() % 60);
        std::string title;
        for (int w = 0; w < 3; ++w)
            title += std::string(w ? " " : "") + words[random() % 16];
        char length[16];
        std::snprintf(length, sizeof length, "00:%02u:%02u", static_cast<unsigned>(random() % 8),
                      static_cast<unsigned>(random() % 60));
        p.cells[kFolder].push_back(folder);
        p.cells[kTitle].push_back(title);
        p.cells[kLength].push_back(length);
        p.cells[kPath].push_back("C:\\Songs\\" + folder + "\\" + title + ".MID");
    }
    return p;
}

bool Resolve(uint32_t argument, uintptr_t* line, void*)
{
    *line = argument;
    return argument < kColumns;
}

double Millis(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct Keys3 {
    const char* folder;
    const char* length;
    const char* title;
};

void Run(const char* label, const char* spec, std::vector<uint32_t> columns, Playlist& p, int rounds)
{
    TsSortKeys keys = TsNoSortKeys();
    if (TsSetSortKeys(spec, TS_SORT_ROWS, columns.data(), static_cast<int>(columns.size()), Resolve, nullptr,
                      &keys) != TS_SORT_OK) {
        std::fprintf(stderr, "bad spec %s\n", spec);
        std::exit(1);
    }
    const TsSortContext context{&keys, &p, TsCompareTextOrdinal};
    std::vector<double> grid, baseline;
    std::vector<uint32_t> rows(kRows), checkGrid, checkBase;
    for (int round = 0; round < rounds; ++round) {
        for (size_t i = 0; i < kRows; ++i)
            rows[i] = static_cast<uint32_t>(i);
        auto start = std::chrono::steady_clock::now();
        TsResortLines(context, rows.data(), kRows, 0);
        grid.push_back(Millis(start));
        checkGrid = rows;

        // The baseline: the same key texts in an array, sorted directly.
        std::vector<std::pair<Keys3, uint32_t>> plain(kRows);
        for (size_t i = 0; i < kRows; ++i)
            plain[i] = {{p.cells[columns[0]][i].c_str(), p.cells[kLength][i].c_str(), p.cells[kTitle][i].c_str()},
                        static_cast<uint32_t>(i)};
        const bool three = keys.count == 3;
        start = std::chrono::steady_clock::now();
        std::stable_sort(plain.begin(), plain.end(), [three](const auto& a, const auto& b) {
            int r = TsCompareTextOrdinal(a.first.folder, b.first.folder);
            if (r || !three)
                return r < 0;
            if ((r = TsCompareNumericText(b.first.length, a.first.length)))
                return r < 0;
            return TsCompareTextOrdinal(a.first.title, b.first.title) < 0;
        });
        baseline.push_back(Millis(start));
        checkBase.clear();
        for (const auto& e : plain)
            checkBase.push_back(e.second);
    }
    if (checkGrid != checkBase) {
        std::fprintf(stderr, "%s: the two orders differ\n", label);
        std::exit(1);
    }
    const double g = Median(grid), b = Median(baseline);
    std::printf("%-34s grid %7.3f ms   std::stable_sort %7.3f ms   ratio %.2f (goal: at most 2)\n", label, g, b, g / b);
}

}  // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 31;
    Playlist p = MakePlaylist();
    std::printf("%zu rows, medians of %d rounds\n", kRows, rounds);
    Run("\"+a\" on the folder column", "+a", {kFolder}, p, rounds);
    Run("\"a,-n,a\" folder, length, title", "a,-n,a", {kFolder, kLength, kTitle}, p, rounds);
    return 0;
}
