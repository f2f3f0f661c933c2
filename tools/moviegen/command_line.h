// The moviegen program's arguments. Options with a value take it as the next
// argument; the last of a repeated option wins. A bad argument stops parsing
// with a one-line reason naming it.
#pragma once

#include <string>
#include <vector>

#include "moviegen.h"

namespace zel::moviegen {

struct CommandLine {
    std::string folder;  // --out
    MovieOptions options;
    bool help = false;  // --help: nothing else is checked
};

// `args` excludes the program name.
bool ParseCommandLine(const std::vector<std::string>& args, CommandLine* commandLine, std::string* error);

const char* Usage();

}  // namespace zel::moviegen
