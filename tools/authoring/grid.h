// zelmake's grid: R rows of C views, numbered row by row (row * C + col). Along
// a row a drag to the right leads to the next column and a drag to the left to
// the previous one (swapped with `reverse`); down leads to the next row and up
// to the previous one. Without wrapping the grid's edges lead nowhere (-1);
// with it the last column leads on to the first, or the last row to the first.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace zel::authoring {

struct GridShape {
    int rows = 1;
    int cols = 1;
    bool wrapCols = false;
    bool wrapRows = false;
    bool reverse = false;
};

// Per view, slots 1..4 (down, up, right, left) at indices 0..3.
using ViewSlots = std::array<int32_t, 4>;

std::vector<ViewSlots> WireGrid(const GridShape& shape);

// The .zel text: the header "N W H F", one "NAME DOWN UP RIGHT LEFT" line per
// view and, when the flag is not 0, an empty morph section ("0"), without
// which the control, which reads a morph section whenever the flag is set,
// would refuse the file.
std::string GridDescriptionText(const std::vector<std::string>& names, const std::vector<ViewSlots>& slots,
                                int32_t width, int32_t height, int32_t flag);

}  // namespace zel::authoring
