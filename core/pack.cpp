#include "pack.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace zel {

size_t PackedRowBytes(int32_t width, int32_t depth) {
    if (width <= 0 || !IsPackedDepth(depth)) return 0;
    const uint64_t bytes =
        uint64_t(width) * (depth == kDepth24 ? 3 : 2) + (depth == kDepth24 ? uint64_t(width & 1) : 0);
    return CheckedBytes({bytes}).value_or(0);
}

// Left unset: packers write every byte, pad bytes and the area no picture
// reached included, so the frame is not cleared first.
std::unique_ptr<PackedFrame> NewPackedFrame(int32_t width, int32_t height, int32_t depth) {
    if (!IsPackedDepth(depth) || width <= 0 || height <= 0) return nullptr;
    std::unique_ptr<PackedFrame> frame(new (std::nothrow) PackedFrame(width, height, depth, PackedFrame::Fill::Unset));
    return frame && frame->Valid() ? std::move(frame) : nullptr;
}

RowPacker RowPackerFor(int32_t depth, const PixelLoops& loops) {
    if (depth == kDepth15) return {loops.packRgb15, loops.packPlanes15};
    if (depth == kDepth16) return {loops.packRgb16, loops.packPlanes16};
    if (depth == kDepth24) return {loops.packRgb24, loops.packPlanes24};
    return {};
}

void BlackenRowFrom(PackedFrame& frame, int32_t y, int32_t from) {
    const size_t start = size_t(from) * (frame.Depth() == kDepth24 ? 3 : 2);
    std::memset(frame.Row(y) + start, 0, frame.RowBytes() - start);
}

bool PackFrameInto(const RgbFrame& source, PackedFrame& frame, const PixelLoops& loops) {
    if (!frame.Valid() || !IsPackedDepth(frame.Depth()) || frame.Width() != source.Width() ||
        frame.Height() != source.Height() || !source.Valid()) {
        return false;
    }
    const RowPacker packer = RowPackerFor(frame.Depth(), loops);
    // Without pad bytes both frames' rows follow each other without a gap:
    // one run over the whole frame saves a call a row.
    if (frame.RowBytes() == size_t(source.Width()) * (frame.Depth() == kDepth24 ? 3 : 2)) {
        packer.fromRgb(source.Row(0), size_t(source.Width()) * size_t(source.Height()), frame.Row(0));
        return true;
    }
    for (int32_t y = 0; y < source.Height(); ++y) {
        packer.fromRgb(source.Row(y), size_t(source.Width()), frame.Row(y));
        BlackenRowFrom(frame, y, source.Width());
    }
    return true;
}

std::unique_ptr<PackedFrame> PackFrame(const RgbFrame& source, int32_t depth, const PixelLoops& loops) {
    std::unique_ptr<PackedFrame> frame = NewPackedFrame(source.Width(), source.Height(), depth);
    return frame && PackFrameInto(source, *frame, loops) ? std::move(frame) : nullptr;
}

std::unique_ptr<PackedFrame> PackFrame(const PlaneBuffer& source, int32_t width, int32_t height, int32_t depth,
                                       const PixelLoops& loops) {
    std::unique_ptr<PackedFrame> frame = NewPackedFrame(width, height, depth);
    if (!frame) return nullptr;
    const RowPacker packer = RowPackerFor(depth, loops);
    const int32_t columns = std::max(0, std::min(width, source.ImageWidth()));
    const int32_t rows = std::max(0, std::min(height, source.ImageHeight()));
    for (int32_t y = 0; y < height; ++y) {
        if (y >= rows) {
            BlackenRowFrom(*frame, y, 0);
            continue;
        }
        const size_t offset = size_t(y) * size_t(source.Stride());
        packer.fromPlanes(source.Red() + offset, source.Green() + offset, source.Blue() + offset, size_t(columns),
                          frame->Row(y));
        BlackenRowFrom(*frame, y, columns);
    }
    return frame;
}

}  // namespace zel
