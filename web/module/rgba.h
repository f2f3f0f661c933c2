// The canvas's pixels: 8-bit R, G, B, A rows without padding, opaque.
#pragma once

#include <cstdint>
#include <vector>

#include "frames.h"

namespace zel::web {

// Fills `rgba` (resized to width * height * 4) from either frame kind. A packed
// frame must be at 24 bits (B, G, R and a pad byte after odd rows).
void ToRgba(const RgbFrame& frame, std::vector<uint8_t>& rgba);
void ToRgba(const PackedFrame& frame, std::vector<uint8_t>& rgba);

}  // namespace zel::web
