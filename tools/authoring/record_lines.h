// Where each record of an accepted description starts, so that findings about a
// view or a morph pair can name its line. The file is split with the core's
// TokenReader and records are found by position alone (four header tokens,
// five per view record, the pair count, three per pair record): the reader has
// already accepted the layout, so nothing here judges it. A file that changed
// since it was read (fewer tokens) leaves the missing lines at 0.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zel::authoring {

struct RecordLines {
    std::vector<int> views;  // the line of each view's name
    std::vector<int> pairs;  // the line of each morph pair's path
};

RecordLines LocateRecords(const std::string& path, int32_t viewCount, size_t pairCount);

}  // namespace zel::authoring
