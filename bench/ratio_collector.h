#pragma once
// The console report of a benchmark run that also keeps each run's time per iteration
// (nanoseconds), from which a benchmark prints its ratios.
#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

class Collector : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            times[run.benchmark_name()] =
                run.GetAdjustedRealTime() * 1e9 / benchmark::GetTimeUnitMultiplier(run.time_unit);
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;
};
