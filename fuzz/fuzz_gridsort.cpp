// Sort specifications on any bytes, and sorting lines whose key texts come
// from the input: the order matches std::stable_sort with the same
// comparison, and placing appended lines matches a full sort.
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tssort.h"

namespace {

struct Cells : TsSortSource {
    std::vector<std::string> texts[2];
    const char* KeyText(uint32_t line, uintptr_t column) override { return texts[column][line].c_str(); }
    uint32_t LineData(uint32_t line) override { return line * 2654435761u; }
};

bool Resolve(uint32_t argument, uintptr_t* line, void*)
{
    *line = argument;
    return argument < 2;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    const size_t newline = input.find('\n');
    const std::string spec = input.substr(0, newline);
    TsSortKeys keys = TsNoSortKeys();
    const uint32_t columns[8] = {0, 1, 0, 1, 2, 1, 0, 1};
    const TsSortStatus status = TsSetSortKeys(spec.c_str(), TS_SORT_ROWS, columns, 8, Resolve, nullptr, &keys);
    if (status != TS_SORT_OK && status != TS_SORT_SYNTAX && keys.Active())
        abort();
    if (keys.count > TS_SORT_KEYS_MAX || (keys.dataKey & 0x7F) > keys.count + 1)
        abort();
    if (newline == std::string::npos)
        return 0;

    // The rest: cells separated by ';', two per line.
    Cells cells;
    size_t start = newline + 1;
    for (int i = 0; start <= input.size(); ++i) {
        size_t end = input.find(';', start);
        if (end == std::string::npos)
            end = input.size();
        cells.texts[i % 2].push_back(input.substr(start, end - start));
        start = end + 1;
    }
    const size_t count = cells.texts[1].size();
    TsSortContext context{&keys, &cells, nullptr};
    std::vector<uint32_t> lines(count);
    for (size_t i = 0; i < count; ++i)
        lines[i] = static_cast<uint32_t>(i);
    std::vector<uint32_t> expected = lines;
    if (keys.Active())
        std::stable_sort(expected.begin(), expected.end(),
                         [&](uint32_t a, uint32_t b) { return TsCompareLines(context, a, b) < 0; });
    TsResortLines(context, lines.data(), count, 0);
    if (lines != expected)
        abort();
    // Half sorted, the rest appended and placed: the same order.
    std::vector<uint32_t> half(count);
    for (size_t i = 0; i < count; ++i)
        half[i] = static_cast<uint32_t>(i);
    TsResortLines(context, half.data(), count / 2, 0);
    TsResortLines(context, half.data(), count, count / 2);
    if (half != expected)
        abort();
    return 0;
}
