#include "pack.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "pixel_loops.h"

namespace zel {

size_t PackedRowBytes(int32_t width, int32_t depth) {
    if (width <= 0 || !IsPackedDepth(depth)) return 0;
    const uint64_t bytes = uint64_t(width) * (depth == kDepth24 ? 3 : 2) + (depth == kDepth24 ? uint64_t(width & 1) : 0);
    return CheckedBytes({bytes}).value_or(0);
}

namespace {

inline uint16_t Pack15(uint32_t r, uint32_t g, uint32_t b) { return uint16_t((r >> 3) << 10 | (g >> 3) << 5 | b >> 3); }
inline uint16_t Pack16(uint32_t r, uint32_t g, uint32_t b) { return uint16_t((r >> 3) << 11 | (g >> 2) << 5 | b >> 3); }

template <int32_t Depth>
ZEL_INLINE_BODY void PutPixel(uint32_t r, uint32_t g, uint32_t b, uint8_t* out, int32_t x) {
    if constexpr (Depth == kDepth24) {
        out[3 * x] = uint8_t(b);
        out[3 * x + 1] = uint8_t(g);
        out[3 * x + 2] = uint8_t(r);
    } else {
        const uint16_t word = Depth == kDepth15 ? Pack15(r, g, b) : Pack16(r, g, b);
        out[2 * x] = uint8_t(word);
        out[2 * x + 1] = uint8_t(word >> 8);
    }
}

// One pointer for the interleaved source, so the vectoriser sees one stream of
// R, G, B triples rather than three unrelated strided streams.
template <int32_t Depth>
ZEL_INLINE_BODY void PackInterleavedRow(const uint8_t* rgb, int32_t count, uint8_t* out) {
    for (int32_t x = 0; x < count; ++x) {
        const uint32_t r = rgb[3 * x], g = rgb[3 * x + 1], b = rgb[3 * x + 2];
        PutPixel<Depth>(r, g, b, out, x);
    }
}

template <int32_t Depth>
ZEL_INLINE_BODY void PackPlanarRow(const uint8_t* red, const uint8_t* green, const uint8_t* blue, int32_t count, uint8_t* out) {
    for (int32_t x = 0; x < count; ++x) PutPixel<Depth>(red[x], green[x], blue[x], out, x);
}

ZEL_PIXEL_LOOP void PackRgbRow15(const uint8_t* rgb, int32_t count, uint8_t* out) {
    PackInterleavedRow<kDepth15>(rgb, count, out);
}
ZEL_PIXEL_LOOP void PackRgbRow16(const uint8_t* rgb, int32_t count, uint8_t* out) {
    PackInterleavedRow<kDepth16>(rgb, count, out);
}
ZEL_PIXEL_LOOP void PackRgbRow24(const uint8_t* rgb, int32_t count, uint8_t* out) {
    PackInterleavedRow<kDepth24>(rgb, count, out);
}

void PackRgbRow(int32_t depth, const uint8_t* rgb, int32_t count, uint8_t* out) {
    if (depth == kDepth15) PackRgbRow15(rgb, count, out);
    if (depth == kDepth16) PackRgbRow16(rgb, count, out);
    if (depth == kDepth24) PackRgbRow24(rgb, count, out);
}

ZEL_PIXEL_LOOP void PackPlaneRow(int32_t depth, const uint8_t* red, const uint8_t* green, const uint8_t* blue,
                                 int32_t count, uint8_t* out) {
    if (depth == kDepth15) PackPlanarRow<kDepth15>(red, green, blue, count, out);
    if (depth == kDepth16) PackPlanarRow<kDepth16>(red, green, blue, count, out);
    if (depth == kDepth24) PackPlanarRow<kDepth24>(red, green, blue, count, out);
}

// Left unset: the packers below write every byte, pad bytes and the area no
// picture reached included, so the frame is not cleared first.
std::unique_ptr<PackedFrame> NewPackedFrame(int32_t width, int32_t height, int32_t depth) {
    if (!IsPackedDepth(depth) || width <= 0 || height <= 0) return nullptr;
    std::unique_ptr<PackedFrame> frame(new (std::nothrow) PackedFrame(width, height, depth, PackedFrame::Fill::Unset));
    return frame && frame->Valid() ? std::move(frame) : nullptr;
}

// Everything of row `y` from pixel `from` on, the pad byte included, is black.
void BlackenRowFrom(PackedFrame& frame, int32_t y, int32_t from) {
    const size_t start = size_t(from) * (frame.Depth() == kDepth24 ? 3 : 2);
    std::memset(frame.Row(y) + start, 0, frame.RowBytes() - start);
}

}  // namespace

std::unique_ptr<PackedFrame> PackFrame(const RgbFrame& source, int32_t depth) {
    std::unique_ptr<PackedFrame> frame = NewPackedFrame(source.Width(), source.Height(), depth);
    if (!frame) return nullptr;
    for (int32_t y = 0; y < source.Height(); ++y) {
        PackRgbRow(depth, source.Row(y), source.Width(), frame->Row(y));
        BlackenRowFrom(*frame, y, source.Width());
    }
    return frame;
}

std::unique_ptr<PackedFrame> PackFrame(const PlaneBuffer& source, int32_t width, int32_t height, int32_t depth) {
    std::unique_ptr<PackedFrame> frame = NewPackedFrame(width, height, depth);
    if (!frame) return nullptr;
    const int32_t columns = std::max(0, std::min(width, source.ImageWidth()));
    const int32_t rows = std::max(0, std::min(height, source.ImageHeight()));
    for (int32_t y = 0; y < height; ++y) {
        if (y >= rows) {
            BlackenRowFrom(*frame, y, 0);
            continue;
        }
        const size_t offset = size_t(y) * size_t(source.Stride());
        PackPlaneRow(depth, source.Red() + offset, source.Green() + offset, source.Blue() + offset, columns,
                     frame->Row(y));
        BlackenRowFrom(*frame, y, columns);
    }
    return frame;
}

}  // namespace zel
