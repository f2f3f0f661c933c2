// zelmake's work: a description for a grid of pictures. The pictures are read
// before anything is written: each must be a JPEG file of the first picture's
// size, else nothing is written and every refused picture is named.
#pragma once

#include <string>
#include <vector>

#include "grid.h"

namespace zel::authoring {

struct MakeOptions {
    GridShape shape;
    bool crossfade = false;
    std::string output = "movie.zel";
    std::vector<std::string> pictures;  // row-major; empty when a pattern is given
    std::string pattern;                // with `folder`, instead of `pictures`
    std::string folder;
};

// The picture files in row-major order, from the list or the pattern; false
// with *error when the pattern is unusable.
bool PicturePaths(const MakeOptions& options, std::vector<std::string>* paths, std::string* error);

// `picture` as the description names it: relative to the folder of
// `description`, with "/" between folders, as the shells resolve view names.
std::string NameFromDescription(const std::string& description, const std::string& picture);

// Writes the description; false with one line per reason in *problems when
// nothing was written.
bool MakeMovie(const MakeOptions& options, std::vector<std::string>* problems);

}  // namespace zel::authoring
