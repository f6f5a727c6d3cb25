#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

// Mean real and CPU time per iteration of one repetition.
struct Timing {
    double realNs = 0;
    double cpuNs = 0;
};

// Prints as the console reporter does and keeps each benchmark's fastest repetition, by
// function name: on a shared machine other processes only ever add time.
class FastestReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.iterations == 0)
                continue;
            const Timing timing{run.real_accumulated_time * 1e9 / double(run.iterations),
                                run.cpu_accumulated_time * 1e9 / double(run.iterations)};
            const std::string& name = run.run_name.function_name;
            if (run.run_type == Run::RT_Iteration) {
                const auto [it, inserted] = times.try_emplace(name, timing);
                if (!inserted) {
                    it->second.realNs = std::min(it->second.realNs, timing.realNs);
                    it->second.cpuNs = std::min(it->second.cpuNs, timing.cpuNs);
                }
            } else if (run.aggregate_name == "median") {
                // Only seen alone with --benchmark_report_aggregates_only.
                times.try_emplace(name, timing);
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    std::map<std::string, Timing> times;
};
