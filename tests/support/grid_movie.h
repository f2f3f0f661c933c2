// Descriptions of grid movies for tests: R rows of C views, right and left
// wrapping around each row, down and up ending at the last and first row.
#pragma once

#include <string>

namespace zel::test {

inline int GridView(int cols, int row, int col) { return row * cols + col; }

std::string GridDescription(int rows, int cols, int width, int height, int flag = 0);

}  // namespace zel::test
