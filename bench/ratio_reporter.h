// Runs the registered benchmarks and prints each figure as "<name> <ratio>":
// the time of one benchmark over the time of its yardstick, both from this run.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace zel::bench {

struct Ratio {
    std::string name;
    std::string measured;  // benchmark names as registered
    std::string yardstick;
};

// Runs every benchmark (Google Benchmark's own flags apply), prints the ratios
// to standard output and the usual table to standard error. Returns the exit status.
int RunAndPrintRatios(int argc, char** argv, const std::vector<Ratio>& ratios);

}  // namespace zel::bench
