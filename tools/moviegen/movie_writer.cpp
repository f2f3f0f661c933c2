// Writes a whole movie into one folder: every view, the morph files when asked
// for, and the description last, so a description on disk means a full movie.
#include <filesystem>
#include <fstream>
#include <system_error>

#include "grid.h"
#include "moviegen.h"
#include "morph_text.h"
#include "view_names.h"

namespace zel::moviegen {

namespace {

// Binary mode: the same bytes, with "\n" line ends, on every platform.
bool WriteTextFile(const std::filesystem::path& path, const std::string& text, std::string* error) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(text.data(), std::streamsize(text.size()));
    out.close();
    if (out.fail()) {
        if (error) *error = "cannot write " + path.string();
        return false;
    }
    return true;
}

}  // namespace

std::string WriteMovie(const std::string& folder, const MovieOptions& options, std::string* error) {
    if (!ValidateOptions(options, error)) return "";
    const std::filesystem::path root(folder);
    std::error_code failure;
    std::filesystem::create_directories(root, failure);
    if (failure) {
        if (error) *error = "cannot create the folder " + folder + ": " + failure.message();
        return "";
    }
    for (int row = 0; row < options.rows; ++row) {
        for (int col = 0; col < options.cols; ++col) {
            const std::string path = (root / ViewName(options, row, col)).string();
            if (!WriteJpeg(path, RenderView(options, row, col), options.jpeg, error)) return "";
        }
    }
    if (options.morph) {
        for (const AdjacentPair& pair : AdjacentPairs(options)) {
            if (!WriteTextFile(root / MorphFileName(pair.row, pair.col), MorphText(options, pair), error)) return "";
        }
    }
    const std::filesystem::path description = root / options.descriptionName;
    if (!WriteTextFile(description, DescriptionText(options), error)) return "";
    return description.string();
}

}  // namespace zel::moviegen
