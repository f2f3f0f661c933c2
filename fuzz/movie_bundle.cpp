#include "movie_bundle.h"

#include <algorithm>
#include <cstring>
#include <set>

namespace zel::fuzz {

namespace {

constexpr char kMarker[] = "\n@@ ";
constexpr size_t kMarkerLength = sizeof kMarker - 1;
constexpr size_t kMaxNameLength = 64;

const uint8_t* FindMarker(const uint8_t* from, const uint8_t* end) {
    const auto* marker = reinterpret_cast<const uint8_t*>(kMarker);
    return std::search(from, end, marker, marker + kMarkerLength);
}

bool IsBundleName(const std::string& name) {
    if (name.empty() || name.size() > kMaxNameLength || name == "." || name == ".." || name == kBundleDescription) {
        return false;
    }
    return std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '_' ||
               c == '-';
    });
}

}  // namespace

std::vector<BundleFile> SplitBundle(const uint8_t* data, size_t size) {
    const uint8_t* const end = data + size;
    const uint8_t* marker = FindMarker(data, end);
    std::vector<BundleFile> files{{kBundleDescription, data, size_t(marker - data)}};
    std::set<std::string> seen;
    while (marker != end) {
        const uint8_t* nameStart = marker + kMarkerLength;
        const uint8_t* nameEnd = std::find(nameStart, end, uint8_t('\n'));
        if (nameEnd == end) break;
        const uint8_t* content = nameEnd + 1;
        marker = FindMarker(content, end);
        std::string name(nameStart, nameEnd);
        if (IsBundleName(name) && seen.insert(name).second) {
            files.push_back({std::move(name), content, size_t(marker - content)});
        }
    }
    return files;
}

}  // namespace zel::fuzz
