// A JPEG file read back with libjpeg, as the viewer reads its views, so tests
// check what moviegen wrote rather than what it meant to write.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zel::test {

struct DecodedJpeg {
    bool ok = false;
    std::string error;
    int width = 0, height = 0;
    int components = 0;            // in the file: 3 for colour, 1 for grayscale
    bool progressive = false;      // more than one scan
    unsigned restartInterval = 0;  // MCUs between restart markers, 0 for none
    long warnings = 0;             // a damaged file still decodes, with warnings
    std::vector<uint8_t> pixels;   // `components` bytes per pixel, rows top to bottom
};

DecodedJpeg DecodeJpegFile(const std::string& path);

}  // namespace zel::test
