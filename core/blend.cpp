#include "blend.h"

#include <cstring>
#include <new>

#include "load_state.h"
#include "pixel_loops.h"

namespace zel {

namespace {

// floor((a + b) / 2) per field is (a & b) + ((a ^ b) >> 1), provided the shift
// cannot carry a field's low bit into its neighbour: the mask clears the lowest
// bit of every field before the shift.
constexpr uint16_t kKeep15 = 0x7BDE;  // not bits 0, 5, 10 (nor 15)
constexpr uint16_t kKeep16 = 0xF7DE;  // not bits 0, 5, 11

// Packed words are little-endian, as every target of ours is, so a native load reads them.
ZEL_PIXEL_LOOP void BlendWords(const uint8_t* a, const uint8_t* b, uint8_t* out, size_t count, uint16_t keep) {
    for (size_t i = 0; i < count; ++i) {
        uint16_t p, q;
        std::memcpy(&p, a + 2 * i, 2);
        std::memcpy(&q, b + 2 * i, 2);
        const uint16_t mean = uint16_t((p & q) + (((p ^ q) & keep) >> 1));
        std::memcpy(out + 2 * i, &mean, 2);
    }
}

ZEL_PIXEL_LOOP void BlendBytes(const uint8_t* a, const uint8_t* b, uint8_t* out, size_t count) {
    for (size_t i = 0; i < count; ++i) out[i] = uint8_t((a[i] & b[i]) + ((a[i] ^ b[i]) >> 1));
}

}  // namespace

bool CrossfadeBeforePaint(int32_t loadState, int32_t crossfadeFlag) {
    return loadState == kLoadFinished && crossfadeFlag != 0;
}

std::unique_ptr<PackedFrame> BlendPackedFrames(const PackedFrame& current, const PackedFrame& previous) {
    const int32_t depth = current.Depth();
    if (!IsPackedDepth(depth) || depth != previous.Depth() || current.Width() != previous.Width() ||
        current.Height() != previous.Height() || current.Width() <= 0 || current.Height() <= 0) {
        return nullptr;
    }
    // Unset: every pixel byte is written below and the pad byte after it.
    std::unique_ptr<PackedFrame> blend(
        new (std::nothrow) PackedFrame(current.Width(), current.Height(), depth, PackedFrame::Fill::Unset));
    if (!blend || !blend->Valid()) return nullptr;
    const size_t pixels = size_t(current.Width());
    for (int32_t y = 0; y < current.Height(); ++y) {
        if (depth == kDepth24) {
            BlendBytes(current.Row(y), previous.Row(y), blend->Row(y), pixels * 3);
            if (pixels & 1) blend->Row(y)[pixels * 3] = 0;
        } else {
            BlendWords(current.Row(y), previous.Row(y), blend->Row(y), pixels, depth == kDepth15 ? kKeep15 : kKeep16);
        }
    }
    return blend;
}

}  // namespace zel
