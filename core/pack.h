// Packing decoded pictures into the screen's format. Per pixel, from 8-bit R, G, B:
//   15: word (R >> 3) << 10 | (G >> 3) << 5 | (B >> 3), little-endian, bit 15 clear
//   16: word (R >> 3) << 11 | (G >> 2) << 5 | (B >> 3), little-endian
//   24: bytes B, G, R; a row of odd width ends with one 0 byte
// Low bits are dropped: no rounding, no dithering.
#pragma once

#include <cstdint>
#include <memory>

#include "frames.h"
#include "pixel_loops.h"
#include "plane_buffer.h"

namespace zel {

// A new PackedFrame of the RgbFrame, or none for a depth other than 15, 16, 24
// or when the memory cannot be had. `loops` is for tests that try each version.
std::unique_ptr<PackedFrame> PackFrame(const RgbFrame& source, int32_t depth,
                                       const PixelLoops& loops = ChosenPixelLoops());

// Packs the RgbFrame into `frame`, which already has its size and a depth of
// 15, 16 or 24, overwriting every byte: memory kept from one packing to the
// next. False, with the frame untouched, when the sizes differ.
bool PackFrameInto(const RgbFrame& source, PackedFrame& frame, const PixelLoops& loops = ChosenPixelLoops());

// The same from the plug-in's planes, at the description's width x height. Only
// the decoded picture is read; where it does not reach, the frame is black.
std::unique_ptr<PackedFrame> PackFrame(const PlaneBuffer& source, int32_t width, int32_t height, int32_t depth,
                                       const PixelLoops& loops = ChosenPixelLoops());

// A frame for a packer that writes every byte of it (pixels, pad bytes, black
// where no picture reaches): its memory is left as allocated. None for a depth
// other than 15, 16, 24 or when the memory cannot be had.
std::unique_ptr<PackedFrame> NewPackedFrame(int32_t width, int32_t height, int32_t depth);

// One depth's row loops, for packers of single rows (null for other depths).
struct RowPacker {
    void (*fromRgb)(const uint8_t* rgb, size_t count, uint8_t* out) = nullptr;
    void (*fromPlanes)(const uint8_t* red, const uint8_t* green, const uint8_t* blue, size_t count,
                       uint8_t* out) = nullptr;
};
RowPacker RowPackerFor(int32_t depth, const PixelLoops& loops = ChosenPixelLoops());

// Everything of row `y` from pixel `from` on, the pad byte included, becomes black.
void BlackenRowFrom(PackedFrame& frame, int32_t y, int32_t from);

}  // namespace zel
