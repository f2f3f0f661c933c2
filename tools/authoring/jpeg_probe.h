// What zelcheck and zelmake learn from one view file: whether it is there, its
// JPEG header (size, colour, progressive), and whether the viewer core's own
// decoder gets through the whole picture.
#pragma once

#include <cstdint>
#include <string>

namespace zel::authoring {

enum class PictureStatus {
    Missing,
    NotAFile,   // a folder or another non-regular file
    CantOpen,   // there, but not readable
    NotJpeg,    // libjpeg refused the header; `problem` holds its message
    Ok,         // the header was read
};

struct PictureHeader {
    PictureStatus status = PictureStatus::Missing;
    std::string problem;
    uint64_t fileBytes = 0;
    int32_t width = 0;
    int32_t height = 0;
    int components = 0;  // 1 for grayscale, 3 for colour
    bool progressive = false;
};

PictureHeader ProbePicture(const std::string& path);

// True when the core's decoder (zel::DecodeJpegFile, as both shells decode)
// reads the picture within the description's frame, as the shells do. It
// prints libjpeg's message on standard error when not.
bool DecodesForFrame(const std::string& path, int32_t width, int32_t height);

}  // namespace zel::authoring
