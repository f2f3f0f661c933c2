#include "blend.h"

#include <new>

#include "load_state.h"

namespace zel {

bool CrossfadeBeforePaint(int32_t loadState, int32_t crossfadeFlag) {
    return loadState == kLoadFinished && crossfadeFlag != 0;
}

std::unique_ptr<PackedFrame> BlendPackedFrames(const PackedFrame& current, const PackedFrame& previous,
                                               const PixelLoops& loops) {
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
            loops.blendBytes(current.Row(y), previous.Row(y), pixels * 3, blend->Row(y));
            if (pixels & 1) blend->Row(y)[pixels * 3] = 0;
        } else {
            (depth == kDepth15 ? loops.blend15 : loops.blend16)(current.Row(y), previous.Row(y), pixels, blend->Row(y));
        }
    }
    return blend;
}

}  // namespace zel
