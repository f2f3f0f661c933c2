// CMake names build outputs by their Unix paths; Wine shows the Unix root as
// drive Z:, so a test program reaches them there.
#pragma once

#include <algorithm>
#include <string>

namespace zel::test {

inline std::string WindowsPath(std::string path) {
    if (!path.empty() && path[0] == '/') path = "Z:" + path;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

}  // namespace zel::test
