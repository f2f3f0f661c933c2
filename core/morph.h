// Morph files of the control's morph section. A morph file is read token by
// token to its end; "CORR" (4 integers), "POLY" (3 integers) and "BACKGROUND"
// (3 integers) are recognised in any letter case and every other token is
// skipped. A keyword without its integers, a "POLY" that names a
// correspondence the file has not listed before it, or a file longer than
// kMaxMorphFileBytes refuses the file: its pair then keeps background 0, 0, 0
// and no triangles, as for a file that is missing. The path comes from a
// page: it is opened as written when relative or local, but a network share
// or a device is refused without being opened (IsOpenableMorphPath).
#pragma once

#include <string>

#include "description.h"
#include "view_table.h"

namespace zel {

// Far more than the correspondences and triangles of one pair of views, and
// little enough that a huge file neither holds the window's thread for long
// nor grows the triangle list without bound.
inline constexpr uint64_t kMaxMorphFileBytes = uint64_t{1} << 20;

struct MorphFileRead {
    ReadStatus status = ReadStatus::CantOpen;
    std::array<int32_t, 3> background{};
    std::vector<MorphTriangle> triangles;
    DescriptionProblem problem;
};

MorphFileRead ReadMorphFile(const std::string& path);

// Points PairIndex at pair `pair` from the first slot of view A that names view
// B, and from the first slot of B that names A; a later pair overwrites.
void IndexMorphPair(ViewTable& table, int32_t pair);

}  // namespace zel
