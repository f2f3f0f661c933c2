// Names for values GoogleTest would otherwise print as raw bytes.
#pragma once

#include <ostream>

#include "description.h"

namespace zel {

inline void PrintTo(Dialect dialect, std::ostream* out) {
    *out << (dialect == Dialect::Plugin ? "Plugin" : "Control");
}

}  // namespace zel
