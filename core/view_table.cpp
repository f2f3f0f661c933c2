#include "view_table.h"

namespace zel {

namespace {

int32_t Lookup(const std::array<std::vector<int32_t>, kSlotCount>& arrays, int32_t view, int slot) {
    if (slot < 1 || slot > kSlotCount) return kNoView;
    const auto& entries = arrays[static_cast<size_t>(slot - 1)];
    if (view < 0 || static_cast<size_t>(view) >= entries.size()) return kNoView;
    return entries[static_cast<size_t>(view)];
}

}  // namespace

int32_t ViewTable::Neighbour(int32_t view, int slot) const { return Lookup(slots, view, slot); }

int32_t ViewTable::PairIndex(int32_t view, int slot) const { return Lookup(pairIndex, view, slot); }

}  // namespace zel
