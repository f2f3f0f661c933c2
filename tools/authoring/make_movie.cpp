// Gathering and reading zelmake's pictures, and writing the description once
// every picture has passed.
#include "make_movie.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "jpeg_probe.h"
#include "view_names.h"

namespace zel::authoring {

namespace {

namespace fs = std::filesystem;

bool HasWhiteSpace(const std::string& name) {
    return name.find_first_of(" \t\n\r\v\f") != std::string::npos;
}

std::string Size(int32_t width, int32_t height) { return std::to_string(width) + " x " + std::to_string(height); }

std::string Unreadable(const std::string& path, const PictureHeader& header) {
    switch (header.status) {
        case PictureStatus::Missing: return path + ": no such picture";
        case PictureStatus::NotAFile: return path + ": a folder, not a picture";
        case PictureStatus::CantOpen: return path + ": the picture does not open";
        case PictureStatus::NotJpeg: return path + ": not a JPEG file: " + header.problem;
        case PictureStatus::Ok: break;
    }
    return "";
}

}  // namespace

bool PicturePaths(const MakeOptions& options, std::vector<std::string>* paths, std::string* error) {
    paths->clear();
    if (options.pattern.empty()) {
        *paths = options.pictures;
        return true;
    }
    for (int row = 0; row < options.shape.rows; ++row) {
        for (int col = 0; col < options.shape.cols; ++col) {
            std::string name;
            if (!moviegen::ExpandNamePattern(options.pattern, row, col, &name, error)) return false;
            paths->push_back((fs::path(options.folder) / name).string());
        }
    }
    return true;
}

std::string NameFromDescription(const std::string& description, const std::string& picture) {
    std::error_code failure;
    const fs::path base = fs::absolute(fs::path(description), failure).lexically_normal().parent_path();
    const fs::path target = fs::absolute(fs::path(picture), failure).lexically_normal();
    const fs::path relative = target.lexically_relative(base);
    return (relative.empty() ? target : relative).generic_string();
}

bool MakeMovie(const MakeOptions& options, std::vector<std::string>* problems) {
    problems->clear();
    std::vector<std::string> paths;
    std::string error;
    if (!PicturePaths(options, &paths, &error)) {
        problems->push_back(error);
        return false;
    }
    const size_t expected = size_t(options.shape.rows) * size_t(options.shape.cols);
    if (paths.size() != expected) {
        problems->push_back(std::to_string(options.shape.rows) + " rows x " + std::to_string(options.shape.cols) +
                            " columns need " + std::to_string(expected) + " pictures, not " +
                            std::to_string(paths.size()));
        return false;
    }

    std::vector<std::string> names;
    int32_t width = 0, height = 0;
    std::string first;
    for (const std::string& path : paths) {
        const PictureHeader header = ProbePicture(path);
        if (header.status != PictureStatus::Ok) {
            problems->push_back(Unreadable(path, header));
            continue;
        }
        if (first.empty()) {
            first = path;
            width = header.width;
            height = header.height;
        } else if (header.width != width || header.height != height) {
            problems->push_back(path + ": the picture is " + Size(header.width, header.height) +
                                ", but the first picture, " + first + ", is " + Size(width, height));
        }
        names.push_back(NameFromDescription(options.output, path));
        if (HasWhiteSpace(names.back())) {
            problems->push_back(path + ": a description cannot name a file with white space in its name");
        }
    }
    std::error_code failure;
    if (fs::is_directory(options.output, failure)) problems->push_back(options.output + ": a folder, not a file");
    if (!problems->empty()) return false;

    const std::string text =
        GridDescriptionText(names, WireGrid(options.shape), width, height, options.crossfade ? 1 : 0);
    std::ofstream out(options.output, std::ios::binary | std::ios::trunc);
    out.write(text.data(), std::streamsize(text.size()));
    out.close();
    if (out.fail()) {
        problems->push_back(options.output + ": cannot write the description");
        return false;
    }
    return true;
}

}  // namespace zel::authoring
