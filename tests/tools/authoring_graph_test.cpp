// The neighbour graph as the loaders walk it: which start views reach every
// view (checked against a plain walk from each start on random tables) and
// which links are one-way.
#include "view_graph.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace zel::authoring {
namespace {

ViewTable MakeTable(const std::vector<std::array<int32_t, 4>>& records) {
    ViewTable table;
    table.viewCount = int32_t(records.size());
    for (const auto& record : records) {
        table.names.push_back("v.jpg");
        for (size_t s = 0; s < 4; ++s) table.slots[s].push_back(record[s]);
    }
    return table;
}

// Every start tried by itself: does a depth-first walk from it see every view?
std::vector<char> ReachingAllByBruteForce(const ViewTable& table) {
    std::vector<char> result;
    for (int32_t start = 0; start < table.viewCount; ++start) {
        std::vector<char> seen(size_t(table.viewCount), 0);
        std::vector<int32_t> stack{start};
        seen[size_t(start)] = 1;
        size_t count = 1;
        while (!stack.empty()) {
            const int32_t view = stack.back();
            stack.pop_back();
            for (size_t s = 0; s < 4; ++s) {
                const int32_t next = table.slots[s][size_t(view)];
                if (next >= 0 && !seen[size_t(next)]) {
                    seen[size_t(next)] = 1;
                    ++count;
                    stack.push_back(next);
                }
            }
        }
        result.push_back(count == size_t(table.viewCount) ? 1 : 0);
    }
    return result;
}

TEST(authoring_Graph, StartViewsReachingAllMatchAWalkFromEachStart) {
    std::mt19937 random(20261208);
    int someButNotAll = 0;
    for (int round = 0; round < 400; ++round) {
        const int count = 1 + int(random() % 9);
        std::uniform_int_distribution<int32_t> neighbour(-1, count - 1);
        std::vector<std::array<int32_t, 4>> records(static_cast<size_t>(count));
        for (auto& record : records) {
            // Sparse tables, so that many are not strongly connected.
            for (int32_t& slot : record) slot = random() % 3 == 0 ? neighbour(random) : -1;
        }
        const ViewTable table = MakeTable(records);
        const std::vector<char> expected = ReachingAllByBruteForce(table);
        ASSERT_EQ(ViewsReachingAll(table), expected) << "round " << round;
        const auto good = std::count(expected.begin(), expected.end(), 1);
        someButNotAll += good > 0 && good < count;
    }
    EXPECT_GT(someButNotAll, 20);
}

TEST(authoring_Graph, ReachableFromFollowsLinksOneWayOnly) {
    const ViewTable chain = MakeTable({{-1, -1, 1, -1}, {-1, -1, 2, -1}, {-1, -1, -1, -1}});
    EXPECT_EQ(ReachableFrom(chain, 0), (std::vector<char>{1, 1, 1}));
    EXPECT_EQ(ReachableFrom(chain, 1), (std::vector<char>{0, 1, 1}));
    EXPECT_EQ(ReachableFrom(chain, 7), (std::vector<char>{0, 0, 0}));
}

TEST(authoring_Graph, OneWayLinksAreThoseWhoseOppositeSlotDoesNotLeadBack) {
    // 0 <-> 1 sideways both ways; 0 down to 2, but 2 leads up nowhere; 1 names
    // itself to its right, and its left slot is 0, not itself.
    const ViewTable table = MakeTable({{2, -1, 1, 1}, {-1, -1, 1, 0}, {-1, -1, -1, -1}});
    std::vector<std::array<int32_t, 3>> links;
    for (const OneWayLink& link : OneWayLinks(table)) links.push_back({link.view, link.slot, link.neighbour});
    const std::vector<std::array<int32_t, 3>> expected = {
        {0, kSlotDown, 2}, {0, kSlotLeft, 1}, {1, kSlotRight, 1}};
    EXPECT_EQ(links, expected);
}

}  // namespace
}  // namespace zel::authoring
