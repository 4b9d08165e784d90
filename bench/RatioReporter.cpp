// RatioReporter: keeps the best time per item of each benchmark it prints.
#include "RatioReporter.h"

void RatioReporter::ReportRuns(const std::vector<Run>& runs)
{
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        if (run.error_occurred || run.run_type != Run::RT_Iteration)
            continue;
        const auto rate = run.counters.find("items_per_second");
        if (rate == run.counters.end() || rate->second.value <= 0.0)
            continue;
        const double ns = 1e9 / rate->second.value;
        auto [it, added] = perItem.emplace(run.benchmark_name(), ns);
        if (!added && ns < it->second)
            it->second = ns;
    }
}

double RatioReporter::nsPerItem(const std::string& name) const
{
    const auto it = perItem.find(name);
    return it == perItem.end() ? 0.0 : it->second;
}
