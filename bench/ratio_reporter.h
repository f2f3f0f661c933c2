// The figures the benchmark programs print, one "<name> <value>" line each on
// standard output (the usual table goes to standard error). Most are ratios of
// two times measured in the same run; a few are measured once before any
// benchmark runs, so nothing the benchmarks leave behind in the process counts.
#pragma once

#include <string>
#include <vector>

namespace zel::bench {

struct Ratio {
    std::string name;
    std::string measured;                 // benchmark names as registered
    std::vector<std::string> yardsticks;  // their times are added up
};

struct Figure {
    std::string name;
    double (*measure)();
};

// Each benchmark file adds its figures when the program starts; they are
// printed in the order added. Both return 0, for a namespace-scope constant.
int AddRatios(const std::vector<Ratio>& ratios);
int AddFigure(const Figure& figure);

// Measures the figures, runs every benchmark (Google Benchmark's own flags
// apply) and prints the figures. Returns the exit status.
int RunAndPrintFigures(int argc, char** argv);

}  // namespace zel::bench
