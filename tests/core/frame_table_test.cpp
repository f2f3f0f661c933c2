#include "frame_table.h"

#include <gtest/gtest.h>

#include <thread>

#include "web_skip.h"

namespace zel {
namespace {

// Counts live frames so the tests can see that each is freed exactly once.
struct CountedFrame : Frame {
    explicit CountedFrame(int& liveCount, int v = 0) : live(liveCount), value(v) { ++live; }
    ~CountedFrame() override { --live; }
    int& live;
    int value;
};

TEST(FrameTable, AViewKeepsItsFirstFrameAndRefusesOthers) {
    int live = 0;
    {
        FrameTable table;
        table.Reset(3);
        EXPECT_TRUE(table.Publish(1, std::make_unique<CountedFrame>(live, 11)));
        EXPECT_FALSE(table.Publish(1, std::make_unique<CountedFrame>(live, 12)));
        EXPECT_FALSE(table.Publish(3, std::make_unique<CountedFrame>(live)));
        EXPECT_FALSE(table.Publish(-1, std::make_unique<CountedFrame>(live)));
        EXPECT_FALSE(table.Publish(0, nullptr));
        EXPECT_EQ(live, 1);
        EXPECT_EQ(table.GetAs<CountedFrame>(1)->value, 11);
        EXPECT_FALSE(table.Has(0));
        EXPECT_EQ(table.Get(7), nullptr);
        table.Reset(2);
        EXPECT_EQ(live, 0);
        EXPECT_FALSE(table.Has(1));
        table.Publish(0, std::make_unique<CountedFrame>(live));
    }
    EXPECT_EQ(live, 0);
}

TEST(FrameTable, AReaderThatSeesAFrameSeesItsContent) {
    ZEL_SKIP_ON_WEB(test::kWebHasNoThreads);
    // The loader thread's pattern: fill, then publish; the window thread polls.
    int live = 0;
    FrameTable table;
    table.Reset(64);
    std::thread loader([&] {
        for (int v = 0; v < 64; ++v) table.Publish(v, std::make_unique<CountedFrame>(live, v * 3));
    });
    int seen = 0;
    while (seen < 64) {
        if (const auto* frame = table.GetAs<CountedFrame>(seen)) {
            EXPECT_EQ(frame->value, seen * 3);
            ++seen;
        }
    }
    loader.join();
}

}  // namespace
}  // namespace zel
