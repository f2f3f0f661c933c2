// The neighbour graph of a ViewTable as the loaders walk it: view v leads to the
// views in its four slots. Both shells fetch a view only once some fetched view
// names it, so what a shell ever loads is what is reachable from its start view.
#pragma once

#include <cstdint>
#include <vector>

#include "view_table.h"

namespace zel::authoring {

// One flag per view: reachable from `start` (start included).
std::vector<char> ReachableFrom(const ViewTable& table, int32_t start);

// One flag per view: every view is reachable from it. Linear in the table: the
// root of the last tree of a traversal that covers the whole graph is the only
// candidate worth testing (it reaches every view if any view does), and then
// exactly the views that reach it reach everything.
std::vector<char> ViewsReachingAll(const ViewTable& table);

// The slot that should lead back: down <-> up, right <-> left.
int OppositeSlot(int slot);

struct OneWayLink {
    int32_t view = 0;
    int slot = 0;           // the slot of `view` that names `neighbour`
    int32_t neighbour = 0;  // whose opposite slot does not name `view`
};

std::vector<OneWayLink> OneWayLinks(const ViewTable& table);

// True when some slot of `from` names `to`.
bool NamesNeighbour(const ViewTable& table, int32_t from, int32_t to);

}  // namespace zel::authoring
