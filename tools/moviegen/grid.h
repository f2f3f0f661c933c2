// How the views of a grid lead to one another: the four neighbour slots of each
// view and the horizontally adjacent pairs that get morph files.
#pragma once

#include <vector>

#include "moviegen.h"

namespace zel::moviegen {

inline constexpr int kNoView = -1;

struct Neighbours {
    int down = kNoView, up = kNoView, right = kNoView, left = kNoView;  // the description's slot order
};

inline int ViewIndex(const MovieOptions& options, int row, int col) { return row * options.cols + col; }

Neighbours NeighboursOf(const MovieOptions& options, int row, int col);

struct AdjacentPair {
    int row = 0, col = 0;  // view A
    int rightCol = 0;      // view B, A's right neighbour in the same row
};

// Each view with its right neighbour, in index order, skipping a view that has
// none and a pair already listed the other way round (two columns that wrap).
std::vector<AdjacentPair> AdjacentPairs(const MovieOptions& options);

}  // namespace zel::moviegen
