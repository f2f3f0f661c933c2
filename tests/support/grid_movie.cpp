#include "grid_movie.h"

namespace zel::test {

std::string GridDescription(int rows, int cols, int width, int height, int flag) {
    std::string text = std::to_string(rows * cols) + " " + std::to_string(width) + " " +
                       std::to_string(height) + " " + std::to_string(flag) + "\n";
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            const int down = r + 1 < rows ? GridView(cols, r + 1, c) : -1;
            const int up = r > 0 ? GridView(cols, r - 1, c) : -1;
            const int right = GridView(cols, r, (c + 1) % cols);
            const int left = GridView(cols, r, (c + cols - 1) % cols);
            text += "r" + std::to_string(r) + "c" + std::to_string(c) + ".jpg " + std::to_string(down) + " " +
                    std::to_string(up) + " " + std::to_string(right) + " " + std::to_string(left) + "\n";
        }
    }
    return text;
}

}  // namespace zel::test
