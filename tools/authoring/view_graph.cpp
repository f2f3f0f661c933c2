// Walks over the neighbour graph: reachability, start views that reach every
// view, one-way links.
#include "view_graph.h"

#include <deque>

namespace zel::authoring {

namespace {

using Edges = std::vector<std::vector<int32_t>>;

// Marks in `seen` every view reachable from `start` along `next`; a start that
// is already marked was walked before and is left alone.
void Walk(const Edges& next, int32_t start, std::vector<char>& seen) {
    if (seen[size_t(start)]) return;
    std::deque<int32_t> queue{start};
    seen[size_t(start)] = 1;
    while (!queue.empty()) {
        const int32_t view = queue.front();
        queue.pop_front();
        for (int32_t to : next[size_t(view)]) {
            if (!seen[size_t(to)]) {
                seen[size_t(to)] = 1;
                queue.push_back(to);
            }
        }
    }
}

Edges ForwardEdges(const ViewTable& table) {
    Edges edges(size_t(table.viewCount));
    for (int32_t view = 0; view < table.viewCount; ++view) {
        for (int slot = 1; slot <= kSlotCount; ++slot) {
            const int32_t to = table.Neighbour(view, slot);
            if (table.HasView(to)) edges[size_t(view)].push_back(to);
        }
    }
    return edges;
}

Edges Reversed(const Edges& edges) {
    Edges reversed(edges.size());
    for (size_t from = 0; from < edges.size(); ++from) {
        for (int32_t to : edges[from]) reversed[size_t(to)].push_back(int32_t(from));
    }
    return reversed;
}

}  // namespace

std::vector<char> ReachableFrom(const ViewTable& table, int32_t start) {
    std::vector<char> seen(size_t(table.viewCount), 0);
    if (table.HasView(start)) Walk(ForwardEdges(table), start, seen);
    return seen;
}

std::vector<char> ViewsReachingAll(const ViewTable& table) {
    const size_t count = size_t(table.viewCount);
    std::vector<char> result(count, 0);
    if (count == 0) return result;
    const Edges edges = ForwardEdges(table);
    std::vector<char> seen(count, 0);
    int32_t lastRoot = 0;
    for (int32_t view = 0; view < table.viewCount; ++view) {
        if (!seen[size_t(view)]) {
            lastRoot = view;
            Walk(edges, view, seen);
        }
    }
    std::vector<char> fromRoot(count, 0);
    Walk(edges, lastRoot, fromRoot);
    for (char reached : fromRoot) {
        if (!reached) return result;
    }
    Walk(Reversed(edges), lastRoot, result);
    return result;
}

int OppositeSlot(int slot) {
    switch (slot) {
        case kSlotDown: return kSlotUp;
        case kSlotUp: return kSlotDown;
        case kSlotRight: return kSlotLeft;
        case kSlotLeft: return kSlotRight;
        default: return 0;
    }
}

std::vector<OneWayLink> OneWayLinks(const ViewTable& table) {
    std::vector<OneWayLink> links;
    for (int32_t view = 0; view < table.viewCount; ++view) {
        for (int slot = 1; slot <= kSlotCount; ++slot) {
            const int32_t neighbour = table.Neighbour(view, slot);
            if (!table.HasView(neighbour)) continue;
            if (table.Neighbour(neighbour, OppositeSlot(slot)) != view) links.push_back({view, slot, neighbour});
        }
    }
    return links;
}

bool NamesNeighbour(const ViewTable& table, int32_t from, int32_t to) {
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        if (table.Neighbour(from, slot) == to) return true;
    }
    return false;
}

}  // namespace zel::authoring
