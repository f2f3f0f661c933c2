#include "readback.h"

#include <cstring>

#include "scoped_handle.h"

namespace zel::test {

std::vector<uint32_t> ReadWindowPixels(HWND window, int width, int height) {
    std::vector<uint32_t> pixels(size_t(width) * size_t(height));
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    win32::WindowDc screen(window);
    void* bits = nullptr;
    win32::ScopedGdiObject bitmap(CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    win32::ScopedMemoryDc memory(CreateCompatibleDC(screen.Get()));
    if (!bitmap || !memory || !bits) return {};
    {
        win32::SelectedObject selected(memory.Get(), bitmap.Get());
        BitBlt(memory.Get(), 0, 0, width, height, screen.Get(), 0, 0, SRCCOPY);
        GdiFlush();
    }
    std::memcpy(pixels.data(), bits, pixels.size() * 4);
    for (uint32_t& p : pixels) p &= 0xFFFFFF;
    return pixels;
}

}  // namespace zel::test
