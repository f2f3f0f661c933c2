// What a window shows, read back as the screen has it: BitBlt from the
// window's DC into a 32-bit top-down DIB section. For the tests and the demo's
// pictures; the viewer itself never reads the screen.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace zel::win32 {

// `width` x `height` pixels from the top left of the client area as
// 0x00RRGGBB, rows from the top; empty when the read-back fails.
std::vector<uint32_t> ReadWindowPixels(HWND window, int width, int height);

}  // namespace zel::win32
