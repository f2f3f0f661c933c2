// The screen's pixel format as the viewer uses it, from the display's green mask.
#pragma once

#include <cstdint>

#include "description.h"

namespace zel {

// 0xFF00 (24- and 32-bit displays) gives 24, 0x3E0 gives 15, 0x7E0 gives 16;
// any other mask gives 0, an unsupported display.
int32_t PixelDepthFromGreenMask(uint32_t greenMask);

inline constexpr const char* kDirectDrawCreateFailed = "DirectDrawCreate Fail !";
inline constexpr const char* kGetDisplayModeFailed = "GetDisplayMode Failed!";

// Each shell words this message its own way.
const char* UnsupportedDisplayText(Dialect dialect);

}  // namespace zel
