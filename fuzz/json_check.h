// A strict JSON checker for the zelcheck target: zelcheck --json promises a
// valid document whatever bytes the names it quotes hold.
#pragma once

#include <string>

namespace zel::fuzz {

// True when `text` is one JSON value (RFC 8259) and white space, with every
// string well-formed UTF-8 and free of raw control characters.
bool IsValidJson(const std::string& text);

}  // namespace zel::fuzz
