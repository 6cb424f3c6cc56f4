// The console reporter of Google Benchmark, keeping each benchmark's time
// so that a program can print its ratios after the table.
#ifndef ZUB_BENCH_RATIO_REPORTER_H
#define ZUB_BENCH_RATIO_REPORTER_H

#include <benchmark/benchmark.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

class RatioReporter : public benchmark::ConsoleReporter {
public:
    // finish receives the adjusted real time of each benchmark by name.
    explicit RatioReporter(std::function<void(std::map<std::string, double>&)> finish) : finish_(std::move(finish)) {}
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs)
            times_[r.benchmark_name()] = r.GetAdjustedRealTime();
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        finish_(times_);
    }

private:
    std::function<void(std::map<std::string, double>&)> finish_;
    std::map<std::string, double> times_;
};

#endif
