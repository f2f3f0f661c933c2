#include "pixel_depth.h"

#include "frames.h"

namespace zel {

int32_t PixelDepthFromGreenMask(uint32_t greenMask) {
    switch (greenMask) {
    case 0xFF00:
        return kDepth24;
    case 0x3E0:
        return kDepth15;
    case 0x7E0:
        return kDepth16;
    default:
        return 0;
    }
}

const char* UnsupportedDisplayText(Dialect dialect) {
    return dialect == Dialect::Plugin ? "Unsupport Display Mode!" : "Unsupported Display Mode!";
}

}  // namespace zel
