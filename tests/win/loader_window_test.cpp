// The control's loader thread with a real window: its synchronous repaint is a
// message to the window's thread, so a window that waits for its loader must
// keep serving it.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "control_loader.h"
#include "hwnd_window.h"
#include "local_fetcher.h"
#include "movie_viewer.h"
#include "moviegen.h"
#include "temp_dir.h"
#include "test_window.h"

namespace zel {
namespace {

class LoaderInWindow : public ::testing::Test {
protected:
    void SetUp() override {
        moviegen::MovieOptions options;
        options.width = 48;
        options.height = 36;
        options.rows = 1;
        options.cols = 6;
        std::string error;
        m_description = moviegen::WriteMovie(m_dir.Path().string(), options, &error);
        ASSERT_FALSE(m_description.empty()) << error;
        m_viewer = std::make_unique<MovieViewer>(Dialect::Control, m_hwndWindow, std::make_unique<ControlLoader>(m_fetcher));
        m_viewer->Trace().SetPath(m_dir.File("debug.out"));
        m_window.onPaint = [this](HDC) {
            m_paintStates.push_back(m_viewer->GetLoadState());
            m_paintHadFrame.push_back(m_viewer->Frames().Has(0));
        };
    }

    // Spins without looking at the message queue, as a busy window thread would.
    bool WaitWithoutPumping(const std::function<bool()>& condition) {
        for (int i = 0; i < 3000 && !condition(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
        return condition();
    }

    test::TempDir m_dir;
    std::string m_description;
    test::TestWindow m_window{48, 36};
    win32::HwndWindow m_hwndWindow{m_window.Handle()};
    std::shared_ptr<test::LocalFetcher> m_fetcher = std::make_shared<test::LocalFetcher>(m_dir.Path().string());
    std::unique_ptr<MovieViewer> m_viewer;
    std::vector<int32_t> m_paintStates;
    std::vector<bool> m_paintHadFrame;
};

TEST_F(LoaderInWindow, TheFirstViewIsPaintedByTheWindowThreadWhileLoadingGoesOn) {
    m_viewer->ReadDescription(m_description);
    for (int i = 0; i < 3000 && m_viewer->GetLoadState() != kLoadFinished; ++i) {
        test::TestWindow::Pump();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    test::TestWindow::Pump();
    ASSERT_EQ(m_viewer->GetLoadState(), kLoadFinished);
    ASSERT_FALSE(m_paintStates.empty());
    EXPECT_EQ(m_paintStates.front(), kStillLoading);
    EXPECT_TRUE(m_paintHadFrame.front());
    for (int v = 0; v < 6; ++v) EXPECT_TRUE(m_viewer->Frames().Has(v));
}

TEST_F(LoaderInWindow, DestroyingTheViewerWhileItsLoaderWaitsOnARepaintDoesNotDeadlock) {
    m_viewer->ReadDescription(m_description);
    // LoadState 2 is set just before the loader's UpdateWindow, which now waits
    // for this thread; this thread has not looked at its queue since.
    ASSERT_TRUE(WaitWithoutPumping([this] { return m_viewer->GetLoadState() == kStillLoading; }));
    m_viewer.reset();
    EXPECT_LE(m_paintStates.size(), 1u);
    EXPECT_LT(m_fetcher->Fetched().size(), 6u + 1u);
}

}  // namespace
}  // namespace zel
