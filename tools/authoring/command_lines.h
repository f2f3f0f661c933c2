// The arguments of zelcheck and zelmake. A bad argument stops parsing with a
// one-line reason that names it; --help anywhere asks for the usage text and
// nothing else is checked.
#pragma once

#include <string>
#include <vector>

#include "make_movie.h"

namespace zel::authoring {

struct CheckCommandLine {
    std::string description;
    bool json = false;
    bool help = false;
};

struct MakeCommandLine {
    MakeOptions options;
    bool json = false;
    bool help = false;
};

// `args` exclude the program name.
bool ParseCheckCommandLine(const std::vector<std::string>& args, CheckCommandLine* line, std::string* error);
bool ParseMakeCommandLine(const std::vector<std::string>& args, MakeCommandLine* line, std::string* error);

const char* CheckUsage();
const char* MakeUsage();

}  // namespace zel::authoring
