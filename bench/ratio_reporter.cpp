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
    CollectingReporter() {
        SetOutputStream(&std::cerr);
        SetErrorStream(&std::cerr);
    }

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

// One printed line: a ratio, or a figure with its value once measured.
struct Entry {
    Ratio ratio;
    double (*measure)() = nullptr;
    double value = 0;
};

std::vector<Entry>& Entries() {
    static std::vector<Entry> entries;
    return entries;
}

}  // namespace

int AddRatios(const std::vector<Ratio>& ratios) {
    for (const Ratio& ratio : ratios) Entries().push_back({ratio});
    return 0;
}

int AddFigure(const Figure& figure) {
    Entries().push_back({{figure.name, {}, {}}, figure.measure});
    return 0;
}

int RunAndPrintFigures(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    for (Entry& entry : Entries()) {
        if (entry.measure) entry.value = entry.measure();
    }
    CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    int status = 0;
    for (const Entry& entry : Entries()) {
        const Ratio& ratio = entry.ratio;
        if (entry.measure) {
            std::printf("%s %.2f\n", ratio.name.c_str(), entry.value);
            continue;
        }
        const auto measured = reporter.Times().find(ratio.measured);
        double yardstick = 0;
        bool ran = measured != reporter.Times().end();
        for (const std::string& name : ratio.yardsticks) {
            const auto time = reporter.Times().find(name);
            ran = ran && time != reporter.Times().end();
            if (time != reporter.Times().end()) yardstick += time->second;
        }
        if (!ran || yardstick <= 0) {
            std::fprintf(stderr, "%s: %s or its yardstick did not run\n", ratio.name.c_str(), ratio.measured.c_str());
            status = 1;
            continue;
        }
        std::printf("%s %.2f\n", ratio.name.c_str(), measured->second / yardstick);
    }
    return status;
}

}  // namespace zel::bench

int main(int argc, char** argv) { return zel::bench::RunAndPrintFigures(argc, argv); }
