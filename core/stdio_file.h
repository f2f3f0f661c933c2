// An owned C stdio stream: closed exactly once, whichever way the owner leaves.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

namespace zel {

struct StdioCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using StdioFile = std::unique_ptr<std::FILE, StdioCloser>;

inline StdioFile OpenStdioFile(const std::string& path, const char* mode) {
    return StdioFile(std::fopen(path.c_str(), mode));
}

}  // namespace zel
