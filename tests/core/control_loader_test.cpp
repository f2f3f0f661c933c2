// The control's loader thread on local files written by moviegen.
#include "control_loader.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "frames.h"
#include "grid_movie.h"
#include "local_fetcher.h"
#include "movie_viewer.h"
#include "moviegen.h"
#include "recording_window.h"
#include "temp_dir.h"
#include "web_skip.h"

namespace zel {
namespace {

constexpr int kSide = 24;

// Views v0.jpg ... v<count-1>.jpg of kSide x kSide pixels.
void WriteViews(const test::TempDir& dir, int count) {
    moviegen::MovieOptions options;
    options.width = kSide;
    options.height = kSide;
    options.rows = 1;
    options.cols = count;
    for (int v = 0; v < count; ++v) {
        std::string error;
        ASSERT_TRUE(moviegen::WriteJpeg(dir.File("v" + std::to_string(v) + ".jpg"), moviegen::RenderView(options, 0, v),
                                        options.jpeg, &error))
            << error;
    }
}

// "N 24 24 0" and one record per line of `slots`, naming v<i>.jpg.
std::string Describe(const std::vector<std::array<int, 4>>& slots) {
    std::string text = std::to_string(slots.size()) + " 24 24 0\n";
    for (size_t v = 0; v < slots.size(); ++v) {
        text += "v" + std::to_string(v) + ".jpg";
        for (int s : slots[v]) text += " " + std::to_string(s);
        text += "\n";
    }
    return text;
}

class ControlLoading : public ::testing::Test {
protected:
    void SetUp() override { ZEL_SKIP_ON_WEB(test::kWebHasNoThreads); }
    MovieViewer& Load(const std::vector<std::array<int, 4>>& slots) {
        WriteViews(m_dir, int(slots.size()));
        m_viewer.Trace().SetPath(m_dir.File("debug.out"));
        m_viewer.ReadDescription(m_dir.Write("movie.zel", Describe(slots)));
        return m_viewer;
    }
    void WaitUntilLoaded() {
        for (int i = 0; i < 3000 && !m_loader->Finished(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ASSERT_TRUE(m_loader->Finished()) << "the loader did not finish";
    }
    std::vector<std::string> FetchedNames() const { return m_fetcher->Fetched(); }

    test::TempDir m_dir;
    test::RecordingWindow m_window;
    std::shared_ptr<test::LocalFetcher> m_fetcher = std::make_shared<test::LocalFetcher>(m_dir.Path().string());
    ControlLoader* m_loader = new ControlLoader(m_fetcher);
    MovieViewer m_viewer{Dialect::Control, m_window, std::unique_ptr<ViewLoader>(m_loader)};
};

TEST_F(ControlLoading, WalksBreadthFirstTakingRightLeftDownUp) {
    // View 0's slots 1..4 name 4, 3, 1, 2: right (1) and left (2) come first.
    Load({{4, 3, 1, 2}, {-1, -1, -1, 0}, {-1, -1, 0, -1}, {0, -1, -1, -1}, {-1, 0, -1, -1}});
    WaitUntilLoaded();
    EXPECT_EQ(FetchedNames(), (std::vector<std::string>{"v0.jpg", "v1.jpg", "v2.jpg", "v4.jpg", "v3.jpg"}));
    for (int v = 0; v < 5; ++v) EXPECT_TRUE(m_viewer.Frames().GetAs<RgbFrame>(v)) << v;
    EXPECT_EQ(m_viewer.GetLoadState(), kLoadFinished);
    EXPECT_EQ(m_window.Snapshot(), (std::vector<std::string>{"invalidate+update", "beep"}));
    const std::string folder = m_dir.Path().string();
    std::string trace = "in ReadJPGFileThreadProc\n";
    std::vector<std::string> locals;
    for (int v : {0, 1, 2, 4, 3}) {
        const std::string name = "v" + std::to_string(v) + ".jpg";
        locals.push_back(m_fetcher->Fetch(name, {}).localfile);
        trace += "remotefile = " + folder + " " + name + "\nlocalfile = " + locals.back() + "\n";
    }
    EXPECT_EQ(m_dir.Read("debug.out"), trace);
    // Each local file is handed back once its view is decoded.
    EXPECT_EQ(m_fetcher->DoneWith(), locals);
}

TEST_F(ControlLoading, TheFirstViewIsShownAsSoonAsItIsDecoded) {
    std::vector<int32_t> statesAtPaint;
    std::vector<bool> frameAtPaint;
    m_window.onPaint = [&] {
        statesAtPaint.push_back(m_viewer.GetLoadState());
        frameAtPaint.push_back(m_viewer.Frames().Has(0) && !m_viewer.Frames().Has(1));
    };
    m_fetcher->HoldFrom(1);  // view 1 is not fetched until view 0 is on screen
    Load({{-1, -1, 1, -1}, {-1, -1, -1, 0}});
    m_fetcher->WaitUntilHolding();
    m_fetcher->Release();
    WaitUntilLoaded();
    EXPECT_EQ(statesAtPaint, (std::vector<int32_t>{kStillLoading}));
    EXPECT_EQ(frameAtPaint, (std::vector<bool>{true}));
}

TEST_F(ControlLoading, ASingleViewPassesTwoThenOneAndBeepsOnce) {
    std::vector<int32_t> statesAtPaint;
    m_window.onPaint = [&] { statesAtPaint.push_back(m_viewer.GetLoadState()); };
    Load({{-1, -1, -1, -1}});
    WaitUntilLoaded();
    EXPECT_EQ(statesAtPaint, (std::vector<int32_t>{kStillLoading}));
    EXPECT_EQ(m_viewer.GetLoadState(), kLoadFinished);
    EXPECT_EQ(m_window.Count("beep"), 1u);
}

TEST_F(ControlLoading, FetchesEachReachableViewOnceSkippingSelfLinksAndNeverTheUnreachable) {
    // 1 and 2 both lead to 3; 0 and 3 name themselves; 4 leads to 0 but nothing leads to 4.
    Load({{0, -1, 1, 2}, {3, 1, -1, -1}, {-1, 3, 2, 0}, {3, 3, 3, 3}, {0, 0, 0, 0}});
    WaitUntilLoaded();
    EXPECT_EQ(FetchedNames(), (std::vector<std::string>{"v0.jpg", "v1.jpg", "v2.jpg", "v3.jpg"}));
    EXPECT_FALSE(m_viewer.Frames().Has(4));
    EXPECT_EQ(m_viewer.GetLoadState(), kLoadFinished);
    EXPECT_EQ(m_window.Count("beep"), 1u);
}

TEST_F(ControlLoading, AFailedFetchOrDecodeLeavesABlackViewAndLoadingGoesOn) {
    m_fetcher->Fail("v1.jpg");
    m_fetcher->HoldFrom(0);  // until v2.jpg is spoilt
    testing::internal::CaptureStderr();
    Load({{-1, -1, 1, -1}, {-1, -1, 2, 0}, {-1, -1, -1, 1}});
    m_dir.Write("v2.jpg", "this is not a JPEG");
    m_fetcher->Release();
    WaitUntilLoaded();
    const std::string messages = testing::internal::GetCapturedStderr();
    for (int v : {1, 2}) {
        const RgbFrame* frame = m_viewer.Frames().GetAs<RgbFrame>(v);
        ASSERT_TRUE(frame) << v;
        const std::vector<uint8_t> pixels = frame->Pixels();
        EXPECT_EQ(std::count(pixels.begin(), pixels.end(), 0), kSide * kSide * 3) << v;
    }
    const RgbFrame* first = m_viewer.Frames().GetAs<RgbFrame>(0);
    ASSERT_TRUE(first);
    const std::vector<uint8_t> pixels = first->Pixels();
    EXPECT_GT(std::count_if(pixels.begin(), pixels.end(), [](uint8_t p) { return p > 0; }), 0);
    EXPECT_EQ(m_viewer.GetLoadState(), kLoadFinished);
    // Only the file that arrived is decoded; the failed fetch is traced where it would have been stored.
    EXPECT_EQ(std::count(messages.begin(), messages.end(), '\n'), 1) << messages;
    EXPECT_NE(m_dir.Read("debug.out").find("\nlocalfile = " + m_dir.File("v1.jpg") + "\n"), std::string::npos);
}

TEST_F(ControlLoading, AViewThatRunsOutOfMemoryFailsAloneAndLoadingGoesOn) {
    m_fetcher->Throw("v1.jpg");
    Load({{-1, -1, 1, -1}, {-1, -1, 2, 0}, {-1, -1, -1, 1}});
    WaitUntilLoaded();
    EXPECT_FALSE(m_viewer.Frames().Has(1));
    EXPECT_TRUE(m_viewer.Frames().Has(2));
    EXPECT_EQ(m_viewer.GetLoadState(), kLoadFinished);
    EXPECT_EQ(m_window.Count("beep"), 1u);
}

TEST_F(ControlLoading, ALocalPathBeyondOneHundredCharactersIsNoLimit) {
    // The local path is not kept in a fixed buffer, so a long view name (the
    // control allows 127 characters) loads like any other.
    const std::string name = std::string(120, 'n') + ".jpg";
    std::string text = "1 24 24 0\n" + name + " -1 -1 -1 -1\n";
    WriteViews(m_dir, 1);
    std::filesystem::rename(m_dir.File("v0.jpg"), m_dir.File(name));
    m_viewer.Trace().SetPath(m_dir.File("debug.out"));
    m_viewer.ReadDescription(m_dir.Write("long.zel", text));
    WaitUntilLoaded();
    ASSERT_GT(m_fetcher->Fetch(name, {}).localfile.size(), 124u);
    const RgbFrame* frame = m_viewer.Frames().GetAs<RgbFrame>(0);
    ASSERT_TRUE(frame);
    const std::vector<uint8_t> pixels = frame->Pixels();
    EXPECT_GT(std::count_if(pixels.begin(), pixels.end(), [](uint8_t p) { return p > 0; }), 0);
}

TEST_F(ControlLoading, DestroyingTheViewerStopsItsLoaderMidMovie) {
    m_fetcher->HoldFrom(2);
    auto viewer = std::make_unique<MovieViewer>(Dialect::Control, m_window, std::make_unique<ControlLoader>(m_fetcher));
    WriteViews(m_dir, 4);
    viewer->Trace().SetPath(m_dir.File("debug.out"));
    viewer->ReadDescription(m_dir.Write("four.zel", Describe({{-1, -1, 1, -1}, {-1, -1, 2, 0}, {-1, -1, 3, 1}, {-1, -1, -1, 2}})));
    m_fetcher->WaitUntilHolding();
    EXPECT_EQ(viewer->GetLoadState(), kStillLoading);
    viewer.reset();  // must return: the held fetch sees the cancel flag
    EXPECT_EQ(m_window.Count("beep"), 0u);
    EXPECT_EQ(FetchedNames().size(), 3u);
}

TEST_F(ControlLoading, ANewDescriptionReplacesAMovieStillLoading) {
    m_fetcher->HoldFrom(1);
    Load({{-1, -1, 1, -1}, {-1, -1, -1, 0}});
    m_fetcher->WaitUntilHolding();
    m_viewer.ReadDescription(m_dir.Write("one.zel", Describe({{-1, -1, -1, -1}})));
    m_fetcher->Release();
    WaitUntilLoaded();
    EXPECT_EQ(m_viewer.Table().viewCount, 1);
    EXPECT_EQ(m_viewer.GetLoadState(), kLoadFinished);
    EXPECT_EQ(FetchedNames(), (std::vector<std::string>{"v0.jpg", "v1.jpg", "v0.jpg"}));
}

TEST(ControlLoaders, TwoViewersLoadTheirOwnMoviesAtOnce) {
    ZEL_SKIP_ON_WEB(test::kWebHasNoThreads);
    test::TempDir dirA, dirB;
    struct Movie {
        test::TempDir& dir;
        std::shared_ptr<test::LocalFetcher> fetcher;
        test::RecordingWindow window;
        std::unique_ptr<MovieViewer> viewer;
    };
    Movie a{dirA, std::make_shared<test::LocalFetcher>(dirA.Path().string()), {}, nullptr};
    Movie b{dirB, std::make_shared<test::LocalFetcher>(dirB.Path().string()), {}, nullptr};
    for (Movie* m : {&a, &b}) {
        moviegen::MovieOptions options;
        options.width = 48;
        options.height = 36;
        options.rows = m == &a ? 2 : 3;
        options.cols = 6;
        std::string error;
        const std::string path = moviegen::WriteMovie(m->dir.Path().string(), options, &error);
        ASSERT_FALSE(path.empty()) << error;
        m->viewer = std::make_unique<MovieViewer>(Dialect::Control, m->window, std::make_unique<ControlLoader>(m->fetcher));
        m->viewer->Trace().SetPath(m->dir.File("debug.out"));
    }
    a.viewer->ReadDescription(dirA.File("movie.zel"));
    b.viewer->ReadDescription(dirB.File("movie.zel"));
    for (Movie* m : {&a, &b}) {
        for (int i = 0; i < 3000 && m->viewer->GetLoadState() != kLoadFinished; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        EXPECT_EQ(m->viewer->GetLoadState(), kLoadFinished);
        for (int v = 0; v < m->viewer->Table().viewCount; ++v) EXPECT_TRUE(m->viewer->Frames().Has(v));
        EXPECT_EQ(m->fetcher->Fetched().size(), size_t(m->viewer->Table().viewCount));
        EXPECT_EQ(m->window.Count("beep"), 1u);
    }
}

}  // namespace
}  // namespace zel
