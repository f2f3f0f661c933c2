// Packing decoded pictures into the screen's format. Per pixel, from 8-bit R, G, B:
//   15: word (R >> 3) << 10 | (G >> 3) << 5 | (B >> 3), little-endian, bit 15 clear
//   16: word (R >> 3) << 11 | (G >> 2) << 5 | (B >> 3), little-endian
//   24: bytes B, G, R; a row of odd width ends with one 0 byte
// Low bits are dropped: no rounding, no dithering.
#pragma once

#include <cstdint>
#include <memory>

#include "frames.h"
#include "plane_buffer.h"

namespace zel {

// A new PackedFrame of the RgbFrame, or none for a depth other than 15, 16, 24
// or when the memory cannot be had.
std::unique_ptr<PackedFrame> PackFrame(const RgbFrame& source, int32_t depth);

// The same from the plug-in's planes, at the description's width x height. Only
// the decoded picture is read; where it does not reach, the frame is black.
std::unique_ptr<PackedFrame> PackFrame(const PlaneBuffer& source, int32_t width, int32_t height, int32_t depth);

}  // namespace zel
