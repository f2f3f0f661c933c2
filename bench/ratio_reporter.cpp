#include "ratio_reporter.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <iostream>
#include <map>

namespace zel::bench {

namespace {

// Keeps each benchmark's real time per iteration and passes everything on to
// the console table.
class CollectingReporter : public benchmark::ConsoleReporter {
public:
    CollectingReporter() { SetOutputStream(&std::cerr); SetErrorStream(&std::cerr); }

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
                m_seconds[run.benchmark_name()] = run.GetAdjustedRealTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    const std::map<std::string, double>& Times() const { return m_seconds; }

private:
    std::map<std::string, double> m_seconds;
};

}  // namespace

int RunAndPrintRatios(int argc, char** argv, const std::vector<Ratio>& ratios) {
    benchmark::Initialize(&argc, argv);
    CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    int status = 0;
    for (const Ratio& ratio : ratios) {
        const auto measured = reporter.Times().find(ratio.measured);
        const auto yardstick = reporter.Times().find(ratio.yardstick);
        if (measured == reporter.Times().end() || yardstick == reporter.Times().end() || yardstick->second <= 0) {
            std::fprintf(stderr, "%s: %s or %s did not run\n", ratio.name.c_str(), ratio.measured.c_str(),
                         ratio.yardstick.c_str());
            status = 1;
            continue;
        }
        std::printf("%s %.2f\n", ratio.name.c_str(), measured->second / yardstick->second);
    }
    return status;
}

}  // namespace zel::bench
