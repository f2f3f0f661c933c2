#include "blit.h"

#include <algorithm>
#include <cstring>

#include "blend.h"
#include "scoped_handle.h"

namespace zel::win32 {

namespace {

struct PackedBitmapInfo {
    BITMAPINFOHEADER header;
    DWORD masks[3];
};

PackedBitmapInfo DescribePacked(int32_t width, int32_t height, int32_t depth) {
    PackedBitmapInfo info = {};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = width;
    info.header.biHeight = -height;  // top row first, as the frame is
    info.header.biPlanes = 1;
    info.header.biBitCount = WORD(depth == kDepth24 ? 24 : 16);
    info.header.biCompression = BI_RGB;
    if (depth == kDepth16) {
        info.header.biCompression = BI_BITFIELDS;
        info.masks[0] = 0xF800;
        info.masks[1] = 0x07E0;
        info.masks[2] = 0x001F;
    }
    return info;
}

}  // namespace

void BlitPackedFrame(HDC dc, const PackedFrame* frame, int32_t width, int32_t height, int32_t depth) {
    if (!frame || !IsPackedDepth(depth) || frame->Depth() != depth) return;
    width = std::min(width, frame->Width());
    height = std::min(height, frame->Height());
    if (width <= 0 || height <= 0) return;

    const PackedBitmapInfo info = DescribePacked(width, height, depth);
    void* bits = nullptr;
    ScopedGdiObject bitmap(CreateDIBSection(dc, reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits,
                                            nullptr, 0));
    if (!bitmap || !bits) return;
    // DIB rows are 4-byte aligned; packed rows are only 2-byte aligned.
    const size_t dibRow = (PackedRowBytes(width, depth) + 3) & ~size_t{3};
    const size_t copied = size_t(width) * (depth == kDepth24 ? 3 : 2);
    for (int32_t y = 0; y < height; ++y) {
        std::memcpy(static_cast<uint8_t*>(bits) + size_t(y) * dibRow, frame->Row(y), copied);
    }
    GdiFlush();

    ScopedMemoryDc memory(CreateCompatibleDC(dc));
    if (!memory) return;
    SelectedObject selected(memory.Get(), bitmap.Get());
    BitBlt(dc, 0, 0, width, height, memory.Get(), 0, 0, SRCCOPY);
}

void PaintCrossfade(HDC dc, const PackedFrame* current, const PackedFrame* previous, int32_t width, int32_t height,
                    int32_t depth) {
    if (!current || !previous) return;
    std::unique_ptr<PackedFrame> blend = BlendPackedFrames(*current, *previous);
    BlitPackedFrame(dc, blend.get(), width, height, depth);
}

}  // namespace zel::win32
