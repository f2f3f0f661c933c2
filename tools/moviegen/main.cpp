// The moviegen program: parses its arguments, writes the movie and prints the
// description's path. Exit status 0 on success, 1 when writing fails, 2 for a
// bad argument.
#include <cstdio>
#include <string>
#include <vector>

#include "command_line.h"
#include "moviegen.h"

int main(int argc, char** argv) {
    using namespace zel::moviegen;
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    CommandLine commandLine;
    std::string error;
    if (!ParseCommandLine(args, &commandLine, &error)) {
        std::fprintf(stderr, "moviegen: %s\n", error.c_str());
        return 2;
    }
    if (commandLine.help) {
        std::fputs(Usage(), stdout);
        return 0;
    }
    const std::string description = WriteMovie(commandLine.folder, commandLine.options, &error);
    if (description.empty()) {
        std::fprintf(stderr, "moviegen: %s\n", error.c_str());
        return 1;
    }
    std::printf("%s\n", description.c_str());
    return 0;
}
