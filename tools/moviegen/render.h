// Rendering helpers shared by the views and the morph files.
#pragma once

#include <cstdint>

#include "vec3.h"

namespace zel::moviegen {

// The backdrop, a vertical gradient: `fraction` 0 at the top row, 1 at the bottom.
Vec3 BackgroundColour(double fraction);
uint8_t ToByte(double channel);

}  // namespace zel::moviegen
