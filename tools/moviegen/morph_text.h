// The text of a morph file for two horizontally adjacent views: the picture's
// four corners, which the backdrop keeps in place, and where the marker
// sphere's centre shows in each view; four triangles fanned from the marker
// over the picture; and the backdrop's middle colour.
#pragma once

#include <string>

#include "grid.h"
#include "moviegen.h"

namespace zel::moviegen {

std::string MorphText(const MovieOptions& options, const AdjacentPair& pair);

}  // namespace zel::moviegen
