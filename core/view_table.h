// The ViewTable: what a description file says about a movie. Both shells keep
// one in their MovieViewer; the morph pairs and PairIndex are filled only by
// the control's reader and read by nothing else.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace zel {

// Neighbour slots as the description numbers them, with the drag that reaches each.
enum Slot : int {
    kSlotDown = 1,
    kSlotUp = 2,
    kSlotRight = 3,
    kSlotLeft = 4,
};
inline constexpr int kSlotCount = 4;
inline constexpr int32_t kNoView = -1;

struct Correspondence {
    std::array<int32_t, 4> values{};
};

struct MorphTriangle {
    std::array<Correspondence, 3> vertices;
};

struct MorphPair {
    std::array<int32_t, 3> background{};
    int32_t viewA = 0;
    int32_t viewB = 0;
    std::vector<MorphTriangle> triangles;
    std::string path;  // the morph file as the description names it
};

struct ViewTable {
    int32_t viewCount = 0;
    int32_t width = 0;
    int32_t height = 0;
    int32_t flag = 0;  // crossfade switch (plug-in) or morph-section flag (control)
    std::vector<std::string> names;
    std::array<std::vector<int32_t>, kSlotCount> slots;  // slots[s - 1][view]
    std::vector<MorphPair> pairs;
    std::array<std::vector<int32_t>, kSlotCount> pairIndex;  // control only

    bool Empty() const { return viewCount == 0; }
    bool HasView(int32_t view) const { return view >= 0 && view < viewCount; }
    // The view in slot 1..4 of `view`, or kNoView; never reads outside the table.
    int32_t Neighbour(int32_t view, int slot) const;
    int32_t PairIndex(int32_t view, int slot) const;
};

}  // namespace zel
