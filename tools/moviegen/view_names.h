// File names of views and morph files. A name pattern is copied as it is except
// for "%%" (a percent sign) and exactly two integer conversions, "%d" with an
// optional 0 flag and a width of up to two digits, which take the row and then
// the column. Anything else after a "%" makes the pattern unusable. Patterns
// are expanded here rather than by printf because they come from the user.
#pragma once

#include <string>

namespace zel::moviegen {

// False when `pattern` is unusable; *name then holds part of an expansion and
// *error (when given) says why.
bool ExpandNamePattern(const std::string& pattern, int row, int col, std::string* name,
                       std::string* error = nullptr);

std::string MorphFileName(int row, int col);

}  // namespace zel::moviegen
