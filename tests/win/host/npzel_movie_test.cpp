// A whole movie in the real NpZel.dll inside the browser host: what the window
// shows after each arrival and each drag, the order of the requests, "Done !!".
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>

#include "browser_host.h"
#include "frames.h"
#include "moviegen.h"
#include "temp_dir.h"
#include "view_decode.h"
#include "wine_path.h"

namespace zel::test {
namespace {

constexpr int kWidth = 96;   // a drag step of 8 pixels
constexpr int kHeight = 72;

// A ring of four views, 0 -> 1 -> 2 -> 3 -> 0 to the right, beside a page.
class MovieInHost : public ::testing::Test {
protected:
    void Write(int flag) {
        moviegen::MovieOptions movie;
        movie.rows = 1;
        movie.cols = 4;
        movie.width = kWidth;
        movie.height = kHeight;
        movie.flag = flag;
        std::string error;
        ASSERT_FALSE(moviegen::WriteMovie(m_dir.Path().string(), movie, &error).empty()) << error;
        m_page = m_dir.Write("page.html", R"(<embed src="movie.zel" type="application/x-Zelscope" width=96 height=72>)");
        for (int c = 0; c < 4; ++c) m_views.push_back(moviegen::ViewName(movie, 0, c));
    }
    void Open() {
        std::string error;
        ASSERT_TRUE(m_host.LoadPlugin(WindowsPath(ZEL_NPZEL_PATH), &error)) << error;
        ASSERT_TRUE(m_host.OpenPage(m_page, &error)) << error;
        ASSERT_TRUE(m_host.PumpUntilIdle(30000));
    }
    // What view `v` must look like on the 32-bit display: its decoded pixels.
    std::vector<uint32_t> Expected(int v) const {
        RgbFrame frame(kWidth, kHeight);
        EXPECT_EQ(DecodeIntoRgbFrame(m_dir.File(m_views[size_t(v)]), frame), 1);
        std::vector<uint32_t> pixels;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                const uint8_t* p = frame.Row(y) + 3 * x;
                pixels.push_back(uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2]);
            }
        }
        return pixels;
    }
    std::vector<uint32_t> Shown() const {
        int width = 0, height = 0;
        std::vector<uint32_t> pixels = m_host.CapturePixels(&width, &height);
        EXPECT_EQ(width, kWidth);
        EXPECT_EQ(height, kHeight);
        return pixels;
    }
    std::vector<std::string> RequestedUrls() const {
        std::vector<std::string> urls;
        for (const auto& request : m_host.Requests()) urls.push_back(request.url);
        return urls;
    }

    TempDir m_dir;
    std::string m_page;
    std::vector<std::string> m_views;
    host::BrowserHost m_host;
};

TEST_F(MovieInHost, LoadsRingByRingShowsTheFirstViewAndSaysDoneOnce) {
    Write(0);
    Open();
    // After each arrival its neighbours down, up, right, left: 0 asks for 1 and 3, then 1 for 2.
    EXPECT_EQ(RequestedUrls(), (std::vector<std::string>{m_views[0], m_views[1], m_views[3], m_views[2]}));
    EXPECT_EQ(m_host.Statuses(), (std::vector<std::string>{"Done !!"}));
    EXPECT_EQ(Shown(), Expected(0));
}

TEST_F(MovieInHost, ViewsNoLinkReachesAreNeverAskedForAndDoneNeverComes) {
    Write(0);
    // Views 0, 1, 2 lead to each other; nothing leads to view 3.
    m_dir.Write("movie.zel", "4 96 72 0\n" + m_views[0] + " -1 -1 1 2\n" + m_views[1] + " -1 -1 2 0\n" +
                                 m_views[2] + " -1 -1 0 1\n" + m_views[3] + " -1 -1 0 0\n");
    Open();
    EXPECT_EQ(RequestedUrls(), (std::vector<std::string>{m_views[0], m_views[1], m_views[2]}));
    EXPECT_TRUE(m_host.Statuses().empty());
    EXPECT_EQ(Shown(), Expected(0));
}

TEST_F(MovieInHost, RealMouseMessagesTurnTheObjectViewByView) {
    Write(0);
    Open();
    m_host.MouseDown(40, 30);
    for (int step = 1; step <= 4; ++step) {
        m_host.MouseMove(40 + 8 * step, 30);
        EXPECT_EQ(Shown(), Expected(step % 4)) << "step " << step;
    }
    m_host.MouseMove(40 + 8 * 4 - 8 * 2, 30);  // two steps back in one message
    EXPECT_EQ(Shown(), Expected(2));
    m_host.MouseUp(24, 30);
    m_host.MouseMove(90, 30, false);  // no button: nothing turns
    EXPECT_EQ(Shown(), Expected(2));
}

TEST_F(MovieInHost, AViewWhoseFileIsMissingStaysUnreachable) {
    Write(0);
    std::filesystem::remove(m_dir.File(m_views[1]));
    Open();
    EXPECT_EQ(m_host.Statuses(), (std::vector<std::string>{"Done !!"}));  // it arrived, as a failure
    m_host.MouseDown(40, 30);
    m_host.MouseMove(48, 30);  // towards view 1
    EXPECT_EQ(Shown(), Expected(0));
    m_host.MouseMove(40, 30);  // the anchor moved on to 48: one step left is view 3
    EXPECT_EQ(Shown(), Expected(3));
}

// A view whose header claims 65500 x 65500 pixels: the browser's thread decodes
// no more than the frame, the movie loads to its end, and the view shows the
// part of the picture the frame covers, as the core decodes it.
TEST_F(MovieInHost, AViewWhoseHeaderClaimsAGiantPictureCostsOnlyItsFrame) {
    Write(0);
    ASSERT_TRUE(moviegen::ClaimSize(m_dir.File(m_views[1]), 65500, 65500));
    const auto start = std::chrono::steady_clock::now();
    Open();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("figure: a movie with a 65500 x 65500 claim loaded in %.2f s\n", seconds);
    EXPECT_EQ(m_host.Statuses(), (std::vector<std::string>{"Done !!"}));
    m_host.MouseDown(40, 30);
    m_host.MouseMove(48, 30);
    EXPECT_EQ(Shown(), Expected(1));
    m_host.MouseMove(56, 30);
    EXPECT_EQ(Shown(), Expected(2));
}

TEST_F(MovieInHost, WithTheCrossfadeFlagTheFinalPictureIsStillTheCurrentView) {
    Write(1);
    Open();
    m_host.MouseDown(40, 30);
    m_host.MouseMove(48, 30);
    EXPECT_EQ(Shown(), Expected(1));  // the mix is drawn first, then the view over it
}

}  // namespace
}  // namespace zel::test
