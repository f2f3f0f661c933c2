// The crossfade's 50% mix of two packed frames: every channel of the result is
// the floor of the mean of the two inputs' channels, with no bleeding between
// channels (bit 15 stays clear at 15 bits). At 24 bits with odd width the
// inputs' pad bytes are skipped and the result's are 0. Symmetric in its inputs.
#pragma once

#include <memory>

#include "frames.h"
#include "pixel_loops.h"

namespace zel {

// Whether a paint of the plug-in shows the mix before the current view: only
// once every view has arrived (LoadState 1), and only when the description's
// crossfade flag is set. Never while nothing is shown or loading goes on.
bool CrossfadeBeforePaint(int32_t loadState, int32_t crossfadeFlag);

// The mix written over `blend`, which already has the inputs' size and depth:
// memory kept from one mix to the next. False, with `blend` untouched, when
// the three frames differ in depth or size or the depth is not 15, 16 or 24.
bool BlendPackedFramesInto(const PackedFrame& current, const PackedFrame& previous, PackedFrame& blend,
                           const PixelLoops& loops = ChosenPixelLoops());

// None when the frames differ in depth or size, the depth is not 15, 16 or 24,
// or the memory cannot be had. `loops` is for tests that try each version.
std::unique_ptr<PackedFrame> BlendPackedFrames(const PackedFrame& current, const PackedFrame& previous,
                                               const PixelLoops& loops = ChosenPixelLoops());

}  // namespace zel
