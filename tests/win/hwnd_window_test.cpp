// The viewer core driving a real window: steps repaint synchronously in the
// plug-in and only invalidate in the control, message boxes and cursors are the
// real ones, and mouse messages reach the drag arithmetic intact.
#include <gtest/gtest.h>

#include "dialog_watcher.h"
#include "grid_movie.h"
#include "hwnd_window.h"
#include "movie_viewer.h"
#include "print.h"
#include "temp_dir.h"
#include "test_window.h"

namespace zel {
namespace {

struct TestFrame : Frame {};

class ViewerInWindow : public ::testing::TestWithParam<Dialect> {
protected:
    void SetUp() override {
        m_viewer.Trace().SetPath(m_dir.File("debug.txt"));
        m_viewer.ReadDescription(m_dir.Write("grid.zel", test::GridDescription(1, 6, 240, 120)));
        ASSERT_EQ(m_viewer.Table().viewCount, 6);
        for (int v = 0; v < 6; ++v) m_viewer.Frames().Publish(v, std::make_unique<TestFrame>());
        m_viewer.SetLoadState(kStillLoading);
        m_window.onMouse = [this](UINT message, WPARAM flags, int x, int y) {
            if (message == WM_LBUTTONDOWN) m_viewer.OnDragStart(unsigned(flags), x, y);
            if (message == WM_MOUSEMOVE) m_viewer.OnDragMove(unsigned(flags), x, y);
        };
        m_window.onPaint = [this](HDC) { m_paintedViews.push_back(m_viewer.GetCurrentView()); };
    }

    void Send(UINT message, WPARAM flags, int x, int y) {
        SendMessageA(m_window.Handle(), message, flags, MAKELPARAM(x, y));
    }

    test::TempDir m_dir;
    test::TestWindow m_window{240, 120};
    win32::HwndWindow m_hwndWindow{m_window.Handle()};
    MovieViewer m_viewer{GetParam(), m_hwndWindow};
    std::vector<int> m_paintedViews;
};

TEST_P(ViewerInWindow, ThreeStepsInOneMouseMessage) {
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 10, 10);
    Send(WM_MOUSEMOVE, MK_LBUTTON, 10 + 3 * 20 + 4, 10);  // steps of 240 / 12 = 20
    EXPECT_EQ(m_viewer.GetCurrentView(), 3);
    if (GetParam() == Dialect::Plugin) {
        // Painted inside the message, once per step, and nothing left to paint.
        EXPECT_EQ(m_paintedViews, (std::vector<int>{1, 2, 3}));
        EXPECT_FALSE(m_window.HasPendingPaint());
    } else {
        EXPECT_TRUE(m_paintedViews.empty());
        EXPECT_TRUE(m_window.HasPendingPaint());
        test::TestWindow::Pump();
        EXPECT_EQ(m_paintedViews, (std::vector<int>{3}));
    }
}

TEST_P(ViewerInWindow, NegativeClientCoordinatesDragLeft) {
    // A drag that leaves the window to the left still arrives as negative x.
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 5, 5);
    Send(WM_MOUSEMOVE, MK_LBUTTON, -36, 5);
    EXPECT_EQ(m_viewer.GetCurrentView(), 4);  // 0 -> 5 -> 4 around the row
}

INSTANTIATE_TEST_SUITE_P(BothShells, ViewerInWindow, ::testing::Values(Dialect::Plugin, Dialect::Control),
                         [](const auto& param) { return param.param == Dialect::Plugin ? "Plugin" : "Control"; });

TEST(HwndWindow, TheControlsRefusalIsARealMessageBoxWithTheExclamationIcon) {
    test::TempDir dir;
    test::TestWindow window(100, 100);
    win32::HwndWindow hwndWindow(window.Handle());
    MovieViewer viewer(Dialect::Control, hwndWindow);
    const std::string missing = dir.File("missing.zel");
    test::DialogWatcher watcher("ERROR !!");
    viewer.ReadDescription(missing);  // returns once the watcher pressed OK
    ASSERT_TRUE(watcher.Wait());
    EXPECT_EQ(watcher.Text(), "can't open file\n" + missing);
    EXPECT_EQ(watcher.Icon(), LoadIconA(nullptr, IDI_EXCLAMATION));
}

TEST(HwndWindow, TheMousePositionMessageHasItsCaptionAndTheInformationIcon) {
    test::TempDir dir;
    test::TestWindow window(100, 100);
    win32::HwndWindow hwndWindow(window.Handle());
    MovieViewer viewer(Dialect::Control, hwndWindow);
    viewer.ReadDescription(dir.Write("one.zel", "1 120 120 0 a.jpg -1 -1 -1 -1"));
    viewer.Frames().Publish(0, std::make_unique<TestFrame>());
    viewer.SetLoadState(kLoadFinished);
    test::DialogWatcher watcher("Mouse Position");
    viewer.ShowMousePosition(0, 12, 34);
    ASSERT_TRUE(watcher.Wait());
    EXPECT_EQ(watcher.Text(), "( 12 , 34 )");
    EXPECT_EQ(watcher.Icon(), LoadIconA(nullptr, IDI_INFORMATION));
}

TEST(HwndWindow, EachViewerCursorIsASystemCursor) {
    test::TestWindow window(100, 100);
    win32::HwndWindow hwndWindow(window.Handle());
    const std::pair<ViewerCursor, LPCSTR> cursors[] = {{ViewerCursor::Wait, IDC_WAIT},
                                                       {ViewerCursor::Arrow, IDC_ARROW},
                                                       {ViewerCursor::DragLoaded, IDC_SIZEALL},
                                                       {ViewerCursor::DragLoading, IDC_APPSTARTING}};
    for (const auto& [cursor, system] : cursors) {
        hwndWindow.ShowCursor(cursor);
        EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, system));
    }
}

}  // namespace
}  // namespace zel
