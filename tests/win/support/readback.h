// Reads back what a window shows: BitBlt from its client area into a 32-bit
// DIB section, pixels as 0x00RRGGBB, row by row from the top.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace zel::test {

std::vector<uint32_t> ReadWindowPixels(HWND window, int width, int height);

inline uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return r << 16 | g << 8 | b; }

}  // namespace zel::test
