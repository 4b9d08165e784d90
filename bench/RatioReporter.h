// RatioReporter: the console report of Google Benchmark, which also keeps the
// CPU time per frame of every run, so a program can end with ratios from the
// same run.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override;

    // Nanoseconds of CPU time per item (per frame) of the named benchmark,
    // the fastest of its repetitions; 0 when it did not run.
    double nsPerItem(const std::string& name) const;

private:
    std::map<std::string, double> perItem;
};
