#include <gtest/gtest.h>

#include "grid_movie.h"
#include "movie_viewer.h"
#include "print.h"
#include "recording_window.h"
#include "temp_dir.h"

namespace zel {
namespace {

struct TestFrame : Frame {};

constexpr unsigned kHeld = kLeftButtonFlag;

// A 3 x 4 grid of 320 x 240 views: steps of 26 pixels across and 20 down.
class Drag : public ::testing::TestWithParam<Dialect> {
protected:
    // Presses start at the grid's middle row unless told otherwise, so that
    // every direction has a neighbour.
    void SetUp() override {
        const std::string path = m_dir.Write("grid.zel", test::GridDescription(3, 4, 320, 240));
        m_viewer.Trace().SetPath(m_dir.File("debug.txt"));
        m_viewer.ReadDescription(path);
        ASSERT_EQ(m_viewer.Table().viewCount, 12);
        for (int v = 0; v < 12; ++v) Arrive(v);
        m_viewer.SetLoadState(kStillLoading);
        m_window.Clear();
    }

    void Arrive(int view) { m_viewer.Frames().Publish(view, std::make_unique<TestFrame>()); }
    int View(int row, int col) const { return test::GridView(4, row, col); }
    void PressAt(int x, int y, int row = 1, int col = 1) {
        ASSERT_TRUE(m_viewer.SetCurrentView(View(row, col)));
        m_viewer.OnDragStart(kHeld, x, y);
        m_window.Clear();
    }
    int Current() const { return m_viewer.GetCurrentView(); }
    DragAnchor Anchor() const { return *m_viewer.GetDragAnchor(); }

    test::TempDir m_dir;
    test::RecordingWindow m_window;
    MovieViewer m_viewer{GetParam(), m_window};
};

TEST_P(Drag, Width320TakesTwoStepsFromAnchor100ToX160AndLeavesTheAnchorAt152) {
    PressAt(100, 50);
    m_viewer.OnDragMove(kHeld, 160, 50);
    EXPECT_EQ(Current(), View(1, 3));
    EXPECT_EQ(Anchor().x, 152);
    EXPECT_EQ(Anchor().y, 50);
}

TEST_P(Drag, ExactlyOneStepMovesAndOnePixelShortDoesNot) {
    struct Case {
        const char* direction;
        int dx, dy;
        int row, col;  // where one step leads from (1, 1)
    };
    const Case cases[] = {
        {"right", 26, 0, 1, 2},
        {"left", -26, 0, 1, 0},
        {"down", 0, 20, 2, 1},
        {"up", 0, -20, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.direction);
        PressAt(100, 100);
        const int shortX = c.dx == 0 ? 0 : c.dx - (c.dx > 0 ? 1 : -1);
        const int shortY = c.dy == 0 ? 0 : c.dy - (c.dy > 0 ? 1 : -1);
        m_viewer.OnDragMove(kHeld, 100 + shortX, 100 + shortY);
        EXPECT_EQ(Current(), View(1, 1));
        EXPECT_EQ(Anchor().x, 100);
        EXPECT_EQ(Anchor().y, 100);
        m_viewer.OnDragMove(kHeld, 100 + c.dx, 100 + c.dy);
        EXPECT_EQ(Current(), View(c.row, c.col));
        EXPECT_EQ(m_viewer.GetPreviousView(), View(1, 1));
        EXPECT_EQ(Anchor().x, 100 + c.dx);
        EXPECT_EQ(Anchor().y, 100 + c.dy);
    }
}

TEST_P(Drag, ALongMoveStepsSeveralTimesEachFromTheViewReached) {
    PressAt(0, 0, 1, 0);
    // Three and a bit steps to the right: 1,0 -> 1,1 -> 1,2 -> 1,3.
    m_viewer.OnDragMove(kHeld, 3 * 26 + 5, 0);
    EXPECT_EQ(Current(), View(1, 3));
    EXPECT_EQ(m_viewer.GetPreviousView(), View(1, 2));
    EXPECT_EQ(Anchor().x, 78);
    if (GetParam() == Dialect::Plugin) {
        EXPECT_EQ(m_window.paints, 3);  // every step painted before the next
        EXPECT_EQ(m_window.Count("invalidate"), 0u);
    } else {
        EXPECT_EQ(m_window.paints, 0);  // invalidated only: one paint of the last view
        EXPECT_EQ(m_window.Count("invalidate"), 3u);
        EXPECT_EQ(m_viewer.GetDirectionCode(), kDirectionRight);
    }
}

TEST_P(Drag, ADiagonalMoveAlternatesAcrossAndDown) {
    PressAt(0, 0, 0, 0);
    std::vector<int> seen;
    m_window.onPaint = [&] { seen.push_back(Current()); };
    m_viewer.OnDragMove(kHeld, 2 * 26, 2 * 20);
    EXPECT_EQ(Current(), View(2, 2));
    EXPECT_EQ(Anchor().x, 52);
    EXPECT_EQ(Anchor().y, 40);
    if (GetParam() == Dialect::Plugin) {
        EXPECT_EQ(seen, (std::vector<int>{View(0, 1), View(1, 1), View(1, 2), View(2, 2)}));
    } else {
        EXPECT_EQ(m_viewer.GetDirectionCode(), kDirectionDown);
    }
}

TEST_P(Drag, AMissingNeighbourMovesTheAnchorButNotTheView) {
    PressAt(0, 0, 0, 2);
    m_viewer.OnDragMove(kHeld, 0, -20);  // row 0 has nothing above it
    EXPECT_EQ(Current(), View(0, 2));
    EXPECT_EQ(Anchor().y, -20);
    // Nothing was stored up: one step back down leaves at once.
    m_viewer.OnDragMove(kHeld, 0, 0);
    EXPECT_EQ(Current(), View(1, 2));
    EXPECT_EQ(m_window.Count("invalidate") + size_t(m_window.paints), 1u);
}

TEST_P(Drag, AViewNotYetArrivedIsSkippedUntilItArrives) {
    const std::string path = m_dir.Write("line.zel", "3 120 120 0 a.jpg -1 -1 1 -1 b.jpg -1 -1 2 0 c.jpg -1 -1 -1 1");
    m_viewer.ReadDescription(path);
    Arrive(0);
    Arrive(2);
    m_viewer.SetLoadState(kStillLoading);
    m_viewer.OnDragStart(kHeld, 0, 0);
    m_viewer.OnDragMove(kHeld, 10, 0);
    EXPECT_EQ(Current(), 0);
    EXPECT_EQ(Anchor().x, 10);
    Arrive(1);
    m_viewer.OnDragMove(kHeld, 20, 0);
    EXPECT_EQ(Current(), 1);
    m_viewer.OnDragMove(kHeld, 30, 0);
    EXPECT_EQ(Current(), 2);
}

TEST_P(Drag, MovingWithoutTheLeftButtonChangesNothing) {
    PressAt(10, 10);
    m_viewer.OnDragMove(0x0002 /* right button */, 300, 200);
    EXPECT_EQ(Current(), View(1, 1));
    EXPECT_EQ(Anchor().x, 10);
    EXPECT_EQ(Anchor().y, 10);
    EXPECT_TRUE(m_window.calls.empty());
}

TEST_P(Drag, NothingHappensWhileNothingIsShown) {
    PressAt(10, 10);
    m_viewer.SetLoadState(kNothingToShow);
    m_viewer.OnDragStart(kHeld, 200, 200);
    m_viewer.OnDragMove(kHeld, 300, 300);
    m_viewer.ShowMousePosition(0, 5, 7);
    EXPECT_EQ(Anchor().x, 10);
    EXPECT_EQ(Current(), View(1, 1));
    EXPECT_TRUE(m_window.calls.empty());
}

TEST_P(Drag, ADragFromBeforeTheFirstViewStartsWhereItIsFirstSeen) {
    MovieViewer fresh(GetParam(), m_window);
    fresh.Trace().SetPath(m_dir.File("debug.txt"));
    fresh.ReadDescription(m_dir.Write("two.zel", "2 120 120 0 a.jpg -1 -1 1 1 b.jpg -1 -1 0 0"));
    fresh.OnDragStart(kHeld, 5, 5);  // pressed before any view arrived: ignored
    EXPECT_FALSE(fresh.GetDragAnchor());
    fresh.Frames().Publish(0, std::make_unique<TestFrame>());
    fresh.Frames().Publish(1, std::make_unique<TestFrame>());
    fresh.SetLoadState(kStillLoading);
    fresh.OnDragMove(kHeld, 100, 100);  // no jump by the distance from (0, 0)
    EXPECT_EQ(fresh.GetCurrentView(), 0);
    ASSERT_TRUE(fresh.GetDragAnchor());
    EXPECT_EQ(fresh.GetDragAnchor()->x, 100);
    fresh.OnDragMove(kHeld, 110, 100);
    EXPECT_EQ(fresh.GetCurrentView(), 1);
}

TEST_P(Drag, AnEarlierPressStillCountsOnceLoadingHasBegun) {
    PressAt(10, 10);
    m_viewer.SetLoadState(kNothingToShow);
    m_viewer.OnDragStart(kHeld, 200, 200);
    m_viewer.SetLoadState(kStillLoading);
    m_viewer.OnDragMove(kHeld, 10 + 26, 10);
    EXPECT_EQ(Current(), View(1, 2));
}

INSTANTIATE_TEST_SUITE_P(BothShells, Drag, ::testing::Values(Dialect::Plugin, Dialect::Control),
                         [](const auto& param) { return param.param == Dialect::Plugin ? "Plugin" : "Control"; });

class ControlDrag : public ::testing::Test {
protected:
    void SetUp() override {
        m_viewer.ReadDescription(m_dir.Write("two.zel", "2 120 120 0 a.jpg -1 -1 1 1 b.jpg -1 -1 0 0"));
        m_viewer.Frames().Publish(0, std::make_unique<TestFrame>());
        m_viewer.Frames().Publish(1, std::make_unique<TestFrame>());
    }
    test::TempDir m_dir;
    test::RecordingWindow m_window;
    MovieViewer m_viewer{Dialect::Control, m_window};
};

TEST_F(ControlDrag, ShowsTheLoadingOrLoadedCursorOnPressAndDuringTheDrag) {
    m_viewer.SetLoadState(kStillLoading);
    m_viewer.OnDragStart(kHeld, 0, 0);
    m_viewer.OnDragMove(kHeld, 1, 0);
    m_viewer.SetLoadState(kLoadFinished);
    m_viewer.OnDragMove(kHeld, 2, 0);
    m_viewer.OnDragMove(0, 3, 0);
    EXPECT_EQ(m_window.calls,
              (std::vector<std::string>{"cursor drag-loading", "cursor drag-loading", "cursor drag-loaded"}));
}

TEST_F(ControlDrag, RecordsTheDirectionOfEachKindOfStep) {
    const std::string path = m_dir.Write("cross.zel",
                                         "2 120 120 0 a.jpg 1 1 1 1 b.jpg 0 0 0 0");
    m_viewer.ReadDescription(path);
    m_viewer.Frames().Publish(0, std::make_unique<TestFrame>());
    m_viewer.Frames().Publish(1, std::make_unique<TestFrame>());
    m_viewer.SetLoadState(kLoadFinished);
    m_viewer.OnDragStart(kHeld, 0, 0);
    const std::pair<std::pair<int, int>, DirectionCode> moves[] = {
        {{10, 0}, kDirectionRight}, {{0, 0}, kDirectionLeft}, {{0, 10}, kDirectionDown}, {{0, 0}, kDirectionUp}};
    for (const auto& [to, code] : moves) {
        m_viewer.OnDragMove(kHeld, to.first, to.second);
        EXPECT_EQ(m_viewer.GetDirectionCode(), code);
    }
}

TEST_F(ControlDrag, ShowsTheMousePositionOnlyOnceAViewIsShown) {
    m_viewer.ShowMousePosition(0, 5, 7);
    EXPECT_TRUE(m_window.messages.empty());
    m_viewer.SetLoadState(kStillLoading);
    m_viewer.ShowMousePosition(0, 5, -7);
    EXPECT_EQ(m_window.messages, (std::vector<std::string>{"Mouse Position|( 5 , -7 )|information"}));
}

}  // namespace
}  // namespace zel
