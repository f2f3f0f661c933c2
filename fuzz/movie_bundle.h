// The zelcheck target's input: a whole movie in one file. The description
// comes first; each further file follows a line "@@ NAME" of its own:
//   DESCRIPTION "\n@@ " NAME "\n" CONTENT "\n@@ " NAME "\n" CONTENT ...
// A NAME is 1 to 64 letters, digits, '.', '_' or '-', neither "." nor ".." nor
// the description's own name; a file under any other name, or a name met a
// second time, is left out, so every file lands inside the scratch folder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zel::fuzz {

inline constexpr char kBundleDescription[] = "movie.zel";

struct BundleFile {
    std::string name;
    const uint8_t* data = nullptr;
    size_t size = 0;
};

// The description (named kBundleDescription) first, then the other files.
std::vector<BundleFile> SplitBundle(const uint8_t* data, size_t size);

}  // namespace zel::fuzz
