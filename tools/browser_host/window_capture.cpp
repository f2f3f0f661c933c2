#include "window_capture.h"

#include <cstring>

#include "scoped_handle.h"

namespace zel::host {

std::vector<uint32_t> CaptureClientPixels(HWND window, int* width, int* height) {
    *width = *height = 0;
    RECT client = {};
    if (!window || !GetClientRect(window, &client) || client.right <= 0 || client.bottom <= 0) return {};
    const int w = client.right, h = client.bottom;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    win32::WindowDc screen(window);
    void* bits = nullptr;
    win32::ScopedGdiObject bitmap(CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    win32::ScopedMemoryDc memory(CreateCompatibleDC(screen.Get()));
    if (!screen || !bitmap || !memory || !bits) return {};
    {
        win32::SelectedObject selected(memory.Get(), bitmap.Get());
        if (!BitBlt(memory.Get(), 0, 0, w, h, screen.Get(), 0, 0, SRCCOPY)) return {};
        GdiFlush();
    }
    std::vector<uint32_t> pixels(size_t(w) * size_t(h));
    std::memcpy(pixels.data(), bits, pixels.size() * sizeof(uint32_t));
    for (uint32_t& p : pixels) p &= 0xFFFFFF;
    *width = w;
    *height = h;
    return pixels;
}

}  // namespace zel::host
