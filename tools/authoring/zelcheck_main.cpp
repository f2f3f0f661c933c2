// zelcheck: checks one object movie and prints what it finds (see CheckUsage).
// Exit status 0 clean, 1 warnings only, 2 errors, 3 bad arguments.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "command_lines.h"
#include "movie_check.h"
#include "report_format.h"

int main(int argc, char** argv) {
    using namespace zel::authoring;
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    try {
        CheckCommandLine line;
        std::string error;
        if (!ParseCheckCommandLine(args, &line, &error)) {
            std::fprintf(stderr, "zelcheck: %s\n", error.c_str());
            return kExitUsage;
        }
        if (line.help) {
            std::fputs(CheckUsage(), stdout);
            return kExitClean;
        }
        const Report report = CheckMovie(line.description);
        std::fputs((line.json ? FormatJson(report) : FormatText(report)).c_str(), stdout);
        return report.ExitStatus();
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "zelcheck: %s\n", failure.what());
        return kExitErrors;
    }
}
