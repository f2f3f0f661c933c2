// Writing moviegen pictures for the authors' tools' tests.
#include "authoring_movie.h"

#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

namespace zel::test {

void WritePicture(const TempDir& dir, const std::string& name, int width, int height,
                  const moviegen::JpegOptions& jpeg) {
    moviegen::MovieOptions options;
    options.width = width;
    options.height = height;
    std::string error;
    ASSERT_TRUE(moviegen::WriteJpeg(dir.File(name), moviegen::RenderView(options, 0, 0), jpeg, &error)) << error;
}

void WriteGridPictures(const TempDir& dir, int rows, int cols, int width, int height) {
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            WritePicture(dir, "r" + std::to_string(r) + "c" + std::to_string(c) + ".jpg", width, height);
        }
    }
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace zel::test
