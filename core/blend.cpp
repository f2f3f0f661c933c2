#include "blend.h"

#include "load_state.h"
#include "pack.h"

namespace zel {

bool CrossfadeBeforePaint(int32_t loadState, int32_t crossfadeFlag) {
    return loadState == kLoadFinished && crossfadeFlag != 0;
}

bool BlendPackedFramesInto(const PackedFrame& current, const PackedFrame& previous, PackedFrame& blend,
                           const PixelLoops& loops) {
    const int32_t depth = current.Depth();
    const auto matches = [&](const PackedFrame& frame) {
        return frame.Valid() && frame.Depth() == depth && frame.Width() == current.Width() &&
               frame.Height() == current.Height();
    };
    if (!IsPackedDepth(depth) || !matches(current) || !matches(previous) || !matches(blend)) return false;
    // Rows follow each other without a gap, so the frame is mixed in one run
    // rather than a call a row; at 24 bits the pad bytes are mixed too and
    // then set to 0.
    if (depth != kDepth24) {
        const size_t pixels = size_t(current.Width()) * size_t(current.Height());
        (depth == kDepth15 ? loops.blend15 : loops.blend16)(current.Row(0), previous.Row(0), pixels, blend.Row(0));
        return true;
    }
    loops.blendBytes(current.Row(0), previous.Row(0), blend.Size(), blend.Row(0));
    if (current.Width() & 1) {
        for (int32_t y = 0; y < current.Height(); ++y) blend.Row(y)[blend.RowBytes() - 1] = 0;
    }
    return true;
}

std::unique_ptr<PackedFrame> BlendPackedFrames(const PackedFrame& current, const PackedFrame& previous,
                                               const PixelLoops& loops) {
    std::unique_ptr<PackedFrame> blend = NewPackedFrame(current.Width(), current.Height(), current.Depth());
    if (!blend || !BlendPackedFramesInto(current, previous, *blend, loops)) return nullptr;
    return blend;
}

}  // namespace zel
