#include "window_pixels.h"

#include <cstring>

#include "scoped_handle.h"

namespace zel::win32 {

std::vector<uint32_t> ReadWindowPixels(HWND window, int width, int height) {
    if (!window || width <= 0 || height <= 0) return {};
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    WindowDc screen(window);
    void* bits = nullptr;
    ScopedGdiObject bitmap(CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    ScopedMemoryDc memory(CreateCompatibleDC(screen.Get()));
    if (!screen || !bitmap || !memory || !bits) return {};
    {
        SelectedObject selected(memory.Get(), bitmap.Get());
        if (!BitBlt(memory.Get(), 0, 0, width, height, screen.Get(), 0, 0, SRCCOPY)) return {};
        GdiFlush();
    }
    std::vector<uint32_t> pixels(size_t(width) * size_t(height));
    std::memcpy(pixels.data(), bits, pixels.size() * sizeof(uint32_t));
    for (uint32_t& p : pixels) p &= 0xFFFFFF;
    return pixels;
}

}  // namespace zel::win32
