// Decoding one view file for each shell.
//
// Control: the picture goes straight into the view's RgbFrame (the description's
// size). Plug-in: into the PlaneBuffer and, in the same pass, row by row into a
// PackedFrame of the screen's format.
//
// A picture whose size differs from the description's shows the overlap of the
// two, with black where the picture does not reach; nothing is read beyond the
// decoded picture. A view whose decode failed is black in the control and has no
// PackedFrame in the plug-in.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "frames.h"
#include "plane_buffer.h"

namespace zel {

class MovieViewer;

// Control: 1 when `path` decoded. Every byte of the frame is written either way
// (black where the picture does not reach, all black when it did not decode),
// so the frame may come Unset.
int DecodeIntoRgbFrame(const std::string& path, RgbFrame& frame);

// Plug-in: what one decode is asked to produce. The path has no length limit.
struct DecodeRequest {
    int32_t height = 0;
    int32_t width = 0;
    int32_t depth = 0;
    std::unique_ptr<PackedFrame>* resultSlot = nullptr;
    std::string path;
};

// Decodes the request's file into `planes` and, when that worked, stores the
// packed frame through the result slot; otherwise the slot receives no frame.
// Consumes the request; always returns 0.
int DecodeAndPack(std::unique_ptr<DecodeRequest> request, PlaneBuffer& planes);

// The plug-in viewer's decode of one delivered view file into `lastDecoded`,
// then the trace line "JPEG filename = <name>", whether or not it decoded.
void DecodeViewFile(MovieViewer& viewer, PlaneBuffer& planes, const std::string& name,
                    std::unique_ptr<PackedFrame>& lastDecoded);

}  // namespace zel
