// Timing for the benchmarks that run whole programs' work a few times: the
// best of several rounds, since these machines are shared and noisy.
#ifndef ZUB_BENCH_BEST_OF_H
#define ZUB_BENCH_BEST_OF_H

#include <algorithm>
#include <chrono>

inline double SecondsSince(const std::chrono::steady_clock::time_point& start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The shortest of `rounds` runs, in seconds.
template <typename F>
double BestOf(int rounds, F run)
{
    double best = 1e9;
    for (int i = 0; i < rounds; ++i) {
        const auto start = std::chrono::steady_clock::now();
        run();
        best = std::min(best, SecondsSince(start));
    }
    return best;
}

#endif
