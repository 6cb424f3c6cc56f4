// The texts of the grid fill benchmarks: 8192 playlist rows of 7 cells, as
// the player writes them (path, voice map, sort key, name, title, length,
// map name).
#ifndef ZUB_BENCH_FILL_TEXTS_H
#define ZUB_BENCH_FILL_TEXTS_H

#include <stdio.h>

#include <string>
#include <vector>

const int kFillRows = 8192;
const int kFillCols = 7;

inline const std::vector<std::string>& FillTexts()
{
    static const std::vector<std::string> texts = [] {
        std::vector<std::string> t;
        for (int r = 0; r < kFillRows; ++r) {
            char path[96];
            snprintf(path, sizeof path, "C:\\Songs\\Disk%03d\\SONG%04d.MID", r / 40, r);
            t.push_back(path);
            t.push_back("");
            t.push_back("Disk" + std::to_string(r / 40) + std::to_string(32768 + r));
            t.push_back("SONG" + std::to_string(r) + ".MID");
            t.push_back("Title of song number " + std::to_string(r));
            t.push_back("00:03:" + std::to_string(10 + r % 50));
            t.push_back("");
        }
        return t;
    }();
    return texts;
}

inline const char* FillText(int row, int col)
{
    return FillTexts()[static_cast<size_t>(row * kFillCols + col)].c_str();
}

#endif
