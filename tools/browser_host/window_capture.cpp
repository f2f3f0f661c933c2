#include "window_capture.h"

#include "window_pixels.h"

namespace zel::host {

std::vector<uint32_t> CaptureClientPixels(HWND window, int* width, int* height) {
    *width = *height = 0;
    RECT client = {};
    if (!window || !GetClientRect(window, &client) || client.right <= 0 || client.bottom <= 0) return {};
    std::vector<uint32_t> pixels = win32::ReadWindowPixels(window, client.right, client.bottom);
    if (pixels.empty()) return {};
    *width = client.right;
    *height = client.bottom;
    return pixels;
}

}  // namespace zel::host
