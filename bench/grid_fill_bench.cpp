// The playlist's way of filling a grid, natively through the message
// handlers: per row, insert one row, then for each of its 7 cells a one-cell
// selection, the cell's text and a release; then release the row. Beside it,
// the same texts copied into a vector of strings. Prints microseconds per
// row and the ratio.
#include <benchmark/benchmark.h>

#include <stdio.h>
#include <string>
#include <vector>

#include "fill_texts.h"
#include "grid_fill_messages.h"
#include "ratio_reporter.h"
#include "ts.h"
#include "tsgrid.h"

namespace {

const int kRows = kFillRows;
const int kCols = kFillCols;

void FillGrid(TsGrid& g)
{
    FillGridByMessages(
        [&g](uint32_t message, uint32_t d0, uintptr_t d1) {
            ParamBlock b = {d0, d1};
            return g.ClientMessage(message, &b);
        },
        kRows, kCols, FillText);
}

void BM_GridFill(benchmark::State& state)
{
    for (auto _ : state) {
        TsGrid g(kRows, kCols, nullptr);
        FillGrid(g);
        benchmark::DoNotOptimize(g.Data().RowCount());
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_GridFill)->Unit(benchmark::kMillisecond);

void BM_VectorFill(benchmark::State& state)
{
    for (auto _ : state) {
        std::vector<std::vector<std::string>> rows;
        for (int r = 0; r < kRows; ++r) {
            rows.emplace_back();
            for (int c = 0; c < kCols; ++c)
                rows.back().push_back(FillText(r, c));
        }
        benchmark::DoNotOptimize(rows.data());
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_VectorFill)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter([](std::map<std::string, double>& ms) {
        double grid = ms["BM_GridFill"], vec = ms["BM_VectorFill"];
        if (vec > 0)
            printf("grid fill of %d rows x %d cells: %.3f us/row, %.1f x a vector of strings\n", kRows, kCols,
                   grid * 1000.0 / kRows, grid / vec);
    });
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
