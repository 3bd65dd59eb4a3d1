#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>

/// The console report that also keeps each benchmark's time per iteration,
/// in the benchmark's own unit, by its name: a benchmark's summary prints
/// ratios from them after the run.
class TimesReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& reports) override {
        ConsoleReporter::ReportRuns(reports);
        for (const Run& run : reports) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred)
                m_times[run.run_name.function_name] = run.GetAdjustedRealTime();
        }
    }

protected:
    /// The time of the benchmark of that name; null when it did not run.
    const double* time(const std::string& name) const {
        const auto found = m_times.find(name);
        return found == m_times.end() ? nullptr : &found->second;
    }

private:
    std::map<std::string, double> m_times;
};
