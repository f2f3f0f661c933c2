// zelmake: writes a grid movie's description and checks it as zelcheck does
// (see MakeUsage). Exit status as zelcheck's; 2 also when nothing was written.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "command_lines.h"
#include "make_movie.h"
#include "movie_check.h"
#include "report_format.h"

int main(int argc, char** argv) {
    using namespace zel::authoring;
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    try {
        MakeCommandLine line;
        std::string error;
        if (!ParseMakeCommandLine(args, &line, &error)) {
            std::fprintf(stderr, "zelmake: %s\n", error.c_str());
            return kExitUsage;
        }
        if (line.help) {
            std::fputs(MakeUsage(), stdout);
            return kExitClean;
        }
        std::vector<std::string> problems;
        if (!MakeMovie(line.options, &problems)) {
            for (const std::string& problem : problems) std::fprintf(stderr, "zelmake: %s\n", problem.c_str());
            std::fprintf(stderr, "zelmake: nothing written\n");
            return kExitErrors;
        }
        const Report report = CheckMovie(line.options.output);
        std::fputs((line.json ? FormatJson(report) : FormatText(report)).c_str(), stdout);
        return report.ExitStatus();
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "zelmake: %s\n", failure.what());
        return kExitErrors;
    }
}
