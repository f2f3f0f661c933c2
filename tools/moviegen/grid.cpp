#include "grid.h"

#include <algorithm>
#include <set>
#include <utility>

namespace zel::moviegen {

namespace {

// The position `step` away along a line of `count`, wrapping or falling off its ends.
int Step(int position, int step, int count, bool wrap) {
    const int next = position + step;
    if (next >= 0 && next < count) return next;
    return wrap ? (next + count) % count : kNoView;
}

}  // namespace

Neighbours NeighboursOf(const MovieOptions& options, int row, int col) {
    Neighbours n;
    const int down = Step(row, 1, options.rows, options.wrapRows);
    const int up = Step(row, -1, options.rows, options.wrapRows);
    const int right = Step(col, 1, options.cols, options.wrapCols);
    const int left = Step(col, -1, options.cols, options.wrapCols);
    if (down != kNoView) n.down = ViewIndex(options, down, col);
    if (up != kNoView) n.up = ViewIndex(options, up, col);
    if (right != kNoView) n.right = ViewIndex(options, row, right);
    if (left != kNoView) n.left = ViewIndex(options, row, left);
    return n;
}

std::vector<AdjacentPair> AdjacentPairs(const MovieOptions& options) {
    std::vector<AdjacentPair> pairs;
    std::set<std::pair<int, int>> listed;
    for (int row = 0; row < options.rows; ++row) {
        for (int col = 0; col < options.cols; ++col) {
            const int right = Step(col, 1, options.cols, options.wrapCols);
            if (right == kNoView) continue;
            const int a = ViewIndex(options, row, col), b = ViewIndex(options, row, right);
            if (!listed.insert({std::min(a, b), std::max(a, b)}).second) continue;
            pairs.push_back({row, col, right});
        }
    }
    return pairs;
}

}  // namespace zel::moviegen
