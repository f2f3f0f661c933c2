// Small movies for the tests of zelcheck and zelmake: moviegen pictures written
// into a test's folder under the names a description gives them.
#pragma once

#include <string>
#include <vector>

#include "moviegen.h"
#include "temp_dir.h"

namespace zel::test {

// Writes a moviegen view of width x height as the JPEG file `name` in `dir`.
void WritePicture(const TempDir& dir, const std::string& name, int width, int height,
                  const moviegen::JpegOptions& jpeg = {});

// Writes the pictures of the grid that GridDescription(rows, cols, ...) names.
void WriteGridPictures(const TempDir& dir, int rows, int cols, int width, int height);

// The file's bytes, or "" when it does not open.
std::string ReadBytes(const std::string& path);

}  // namespace zel::test
