// zelcheck's checks of one movie: the description read by both shells' own
// readers, then its names, its neighbour graph, its morph pairs and its view
// files, each fault a Finding (findings.h).
#pragma once

#include <string>

#include "findings.h"

namespace zel::authoring {

Report CheckMovie(const std::string& descriptionPath);

}  // namespace zel::authoring
