// The demo's command line:
//   zeldemo PAGE.html --plugin PATH [--interactive | --script OUTDIR [--steps N]]
// One mode is required; a missing value, an unknown switch, a second page or a
// step count outside 1..99 is refused with a one-line message.
#pragma once

#include <string>
#include <vector>

namespace zel::host {

struct DemoOptions {
    std::string page;
    std::string plugin;
    bool interactive = false;
    std::string scriptFolder;  // set in script mode
    int steps = 8;
};

bool ParseDemoOptions(const std::vector<std::string>& args, DemoOptions* options, std::string* error);

inline constexpr char kDemoUsage[] =
    "usage: zeldemo PAGE.html --plugin PATH\\NpZel.dll (--interactive | --script OUTDIR [--steps N])";

}  // namespace zel::host
