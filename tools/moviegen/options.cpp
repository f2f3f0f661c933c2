// What WriteMovie accepts: a grid and picture within the limits in moviegen.h,
// JPEG settings libjpeg takes as they are, and view names the viewer can read
// back as single distinct tokens.
#include <set>

#include "moviegen.h"
#include "view_names.h"

namespace zel::moviegen {

namespace {

bool OutOfRange(const char* what, int value, int low, int high, std::string* error) {
    if (value >= low && value <= high) return false;
    if (error) {
        *error = std::string(what) + " must be from " + std::to_string(low) + " to " + std::to_string(high) +
                 ", not " + std::to_string(value);
    }
    return true;
}

bool Refuse(std::string* error, const std::string& message) {
    if (error) *error = message;
    return false;
}

bool HasWhiteSpace(const std::string& text) {
    return text.find_first_of(" \t\r\n\v\f") != std::string::npos;
}

}  // namespace

bool ValidateOptions(const MovieOptions& options, std::string* error) {
    if (OutOfRange("rows", options.rows, 1, kMaxGridSide, error) ||
        OutOfRange("columns", options.cols, 1, kMaxGridSide, error) ||
        OutOfRange("the width", options.width, kMinPictureSide, kMaxPictureSide, error) ||
        OutOfRange("the height", options.height, kMinPictureSide, kMaxPictureSide, error) ||
        OutOfRange("the JPEG quality", options.jpeg.quality, 1, 100, error) ||
        OutOfRange("restart rows", options.jpeg.restartRows, 0, kMaxRestartRows, error)) {
        return false;
    }
    const std::string& description = options.descriptionName;
    if (description.empty() || description == "." || description == ".." ||
        description.find_first_of("/\\") != std::string::npos) {
        return Refuse(error, "the description name \"" + description + "\" is not a plain file name");
    }
    std::set<std::string> names;
    for (int row = 0; row < options.rows; ++row) {
        for (int col = 0; col < options.cols; ++col) {
            std::string name;
            if (!ExpandNamePattern(options.viewPattern, row, col, &name)) {
                return Refuse(error, "the view pattern \"" + options.viewPattern +
                                         "\" must hold two %d conversions (row, column) and nothing else after a %");
            }
            if (name.empty() || name.size() > kMaxViewNameLength || HasWhiteSpace(name) ||
                name.find_first_of("/\\") != std::string::npos) {
                return Refuse(error, "the view name \"" + name + "\" must be 1 to " +
                                         std::to_string(kMaxViewNameLength) +
                                         " characters without white space or folders");
            }
            if (!names.insert(name).second) {
                return Refuse(error, "the view pattern \"" + options.viewPattern + "\" names two views \"" + name +
                                         "\"");
            }
        }
    }
    return true;
}

}  // namespace zel::moviegen
