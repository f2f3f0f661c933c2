// Reads back what a window shows, for the tests' pixel checks.
#pragma once

#include <cstdint>

#include "window_pixels.h"

namespace zel::test {

using win32::ReadWindowPixels;

inline uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return r << 16 | g << 8 | b; }

}  // namespace zel::test
