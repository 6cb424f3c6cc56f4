// The rows of the grid sort benchmarks: 8192 playlist-like rows of a path,
// a folder ("Disk 0" to "Disk 59", so many rows are equal under it), a
// three-word title, a length "00:mm:ss" and the row's original index.
#ifndef ZUB_BENCH_SORT_TEXTS_H
#define ZUB_BENCH_SORT_TEXTS_H

#include <stdio.h>

#include <random>
#include <string>
#include <vector>

const int kSortRows = 8192;
enum { kSortPath, kSortFolder, kSortTitle, kSortLength, kSortIndex, kSortCols };

inline const std::vector<std::string>& SortTexts()
{
    static const std::vector<std::string> texts = [] {
        static const char* const words[] = {"Moon", "River", "Sonata", "Waltz", "Blue", "Night", "Rag", "Etude",
                                            "Prelude", "Song", "Dance", "Autumn", "Leaves", "Star", "Dust", "Time"};
        std::mt19937 random(2024);
        std::vector<std::string> t;
        for (int i = 0; i < kSortRows; ++i) {
            const std::string folder = "Disk " + std::to_string(random() % 60);
            std::string title;
            for (int w = 0; w < 3; ++w)
                title += std::string(w ? " " : "") + words[random() % 16];
            char length[16];
            snprintf(length, sizeof length, "00:%02u:%02u", static_cast<unsigned>(random() % 8),
                     static_cast<unsigned>(random() % 60));
            t.push_back("C:\\Songs\\" + folder + "\\" + title + ".MID");
            t.push_back(folder);
            t.push_back(title);
            t.push_back(length);
            t.push_back(std::to_string(i));
        }
        return t;
    }();
    return texts;
}

inline const char* SortText(int row, int col)
{
    return SortTexts()[static_cast<size_t>(row * kSortCols + col)].c_str();
}

// The two sorts measured: one alphabetic key, and three keys with a
// numeric one (folder, length descending, title).
struct SortCase {
    const char* label;
    const char* spec;
    int keys[3];
    int count;
};
inline const SortCase* SortCases()
{
    static const SortCase cases[] = {
        {"\"+a\" on the folder column", "+a", {kSortFolder, -1, -1}, 1},
        {"\"a,-n,a\" folder, length, title", "a,-n,a", {kSortFolder, kSortLength, kSortTitle}, 3},
    };
    return cases;
}
const int kSortCases = 2;

#endif
