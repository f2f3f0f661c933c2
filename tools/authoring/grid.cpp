// Wiring a grid of views and writing its description text.
#include "grid.h"

namespace zel::authoring {

namespace {

constexpr int32_t kNone = -1;

// The position `step` away along a line of `count`, wrapping or falling off its ends.
int Step(int position, int step, int count, bool wrap) {
    const int next = position + step;
    if (next >= 0 && next < count) return next;
    return wrap ? (next + count) % count : kNone;
}

}  // namespace

std::vector<ViewSlots> WireGrid(const GridShape& shape) {
    std::vector<ViewSlots> slots;
    if (shape.rows < 1 || shape.cols < 1) return slots;
    const int forward = shape.reverse ? -1 : 1;
    for (int row = 0; row < shape.rows; ++row) {
        for (int col = 0; col < shape.cols; ++col) {
            const auto view = [&](int r, int c) { return r == kNone || c == kNone ? kNone : r * shape.cols + c; };
            const int down = Step(row, 1, shape.rows, shape.wrapRows);
            const int up = Step(row, -1, shape.rows, shape.wrapRows);
            const int right = Step(col, forward, shape.cols, shape.wrapCols);
            const int left = Step(col, -forward, shape.cols, shape.wrapCols);
            slots.push_back({view(down, col), view(up, col), view(row, right), view(row, left)});
        }
    }
    return slots;
}

std::string GridDescriptionText(const std::vector<std::string>& names, const std::vector<ViewSlots>& slots,
                                int32_t width, int32_t height, int32_t flag) {
    std::string text = std::to_string(names.size()) + " " + std::to_string(width) + " " + std::to_string(height) +
                       " " + std::to_string(flag) + "\n";
    for (size_t view = 0; view < names.size() && view < slots.size(); ++view) {
        text += names[view];
        for (int32_t neighbour : slots[view]) text += " " + std::to_string(neighbour);
        text += "\n";
    }
    if (flag != 0) text += "0\n";
    return text;
}

}  // namespace zel::authoring
