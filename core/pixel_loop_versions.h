// The tables of each version of the pixel loops, for the chooser and for the
// versions' own tails: a vector loop leaves the last few pixels of a row to
// the portable loops. Only the build's x86 versions exist (ZEL_X86_PIXEL_LOOPS).
#pragma once

#include "pixel_loops.h"

namespace zel {

extern const PixelLoops kPortablePixelLoops;
#if defined(ZEL_X86_PIXEL_LOOPS)
extern const PixelLoops kSse2PixelLoops;
extern const PixelLoops kSsse3PixelLoops;
extern const PixelLoops kAvx2PixelLoops;
#endif

}  // namespace zel
