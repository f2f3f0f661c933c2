// What a window shows, read back as the screen has it: BitBlt from its DC into
// a 32-bit top-down DIB section.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace zel::host {

// The client area as 0x00RRGGBB, rows from the top; sets *width and *height
// (empty when the window has no client area or the read-back fails).
std::vector<uint32_t> CaptureClientPixels(HWND window, int* width, int* height);

}  // namespace zel::host
