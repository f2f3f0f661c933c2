// The plug-in's request-and-arrival walk, with a browser fake that records the
// requests and lets the test deliver files and notifications in any order.
#include "plugin_loader.h"

#include <gtest/gtest.h>

#include "movie_viewer.h"
#include "moviegen.h"
#include "recording_window.h"
#include "view_decode.h"
#include "temp_dir.h"

namespace zel {
namespace {

class FakeBrowser : public BrowserRequests {
public:
    void GetURLNotify(const std::string& url, int32_t view) override { requests.emplace_back(url, view); }
    void ShowStatus(const std::string& text) override { statuses.push_back(text); }

    std::vector<int32_t> RequestedViews() const {
        std::vector<int32_t> views;
        for (const auto& request : requests) views.push_back(request.second);
        return views;
    }

    std::vector<std::pair<std::string, int32_t>> requests;
    std::vector<std::string> statuses;
};

class PluginLoading : public ::testing::Test {
protected:
    void SetUp() override {
        m_viewer.Trace().SetPath(m_dir.File("debug.txt"));
        m_viewer.SetPixelDepth(24);
    }
    // `slots` per view; views are v<i>.jpg of 24 x 24, each a different picture.
    void Read(const std::vector<std::array<int, 4>>& slots) {
        std::string text = std::to_string(slots.size()) + " 24 24 0\n";
        moviegen::MovieOptions options;
        options.width = options.height = 24;
        options.rows = 1;
        options.cols = int(slots.size());
        for (size_t v = 0; v < slots.size(); ++v) {
            const std::string name = "v" + std::to_string(v) + ".jpg";
            std::string error;
            ASSERT_TRUE(moviegen::WriteJpeg(m_dir.File(name), moviegen::RenderView(options, 0, int(v)), options.jpeg,
                                            &error));
            text += name;
            for (int s : slots[v]) text += " " + std::to_string(s);
            text += "\n";
        }
        m_viewer.ReadDescription(m_dir.Write("movie.zel", text));
    }
    // The browser delivers view `v`'s file and then its notification.
    void Deliver(int32_t v) {
        m_loader->DecodeViewFile(m_viewer, m_dir.File("v" + std::to_string(v) + ".jpg"), v);
        m_loader->OnViewArrived(m_viewer, v, true);
    }
    std::vector<uint8_t> Pixels(int32_t v) const {
        const PackedFrame* frame = m_viewer.Frames().GetAs<PackedFrame>(v);
        return frame ? frame->Bytes() : std::vector<uint8_t>{};
    }

    test::TempDir m_dir;
    test::RecordingWindow m_window;
    FakeBrowser m_browser;
    PluginLoader* m_loader = new PluginLoader(m_browser);
    MovieViewer m_viewer{Dialect::Plugin, m_window, std::unique_ptr<ViewLoader>(m_loader)};
};

TEST_F(PluginLoading, AsksForTheStartViewThenEachArrivalsNeighboursDownUpRightLeft) {
    Read({{4, 3, 1, 2}, {-1, -1, -1, 0}, {-1, -1, 0, -1}, {0, -1, -1, -1}, {-1, 0, -1, -1}});
    EXPECT_EQ(m_browser.requests, (std::vector<std::pair<std::string, int32_t>>{{"v0.jpg", 0}}));
    EXPECT_EQ(m_viewer.GetLoadState(), kNothingToShow);
    Deliver(0);
    EXPECT_EQ(m_browser.RequestedViews(), (std::vector<int32_t>{0, 4, 3, 1, 2}));
    EXPECT_EQ(m_viewer.GetLoadState(), kStillLoading);
    for (int v : {4, 3, 1, 2}) Deliver(v);
    EXPECT_EQ(m_browser.RequestedViews().size(), 5u);  // each view asked for once
    EXPECT_EQ(m_viewer.GetLoadState(), kLoadFinished);
    EXPECT_EQ(m_browser.statuses, (std::vector<std::string>{"Done !!"}));
    EXPECT_EQ(m_window.Count("invalidate+update"), 5u);
}

TEST_F(PluginLoading, ASingleViewIsPaintedWhileLoadingAndThenIsDone) {
    std::vector<int32_t> statesAtPaint;
    m_window.onPaint = [&] { statesAtPaint.push_back(m_viewer.GetLoadState()); };
    Read({{-1, -1, -1, -1}});
    m_window.Clear();
    Deliver(0);
    EXPECT_EQ(statesAtPaint, (std::vector<int32_t>{kStillLoading}));
    EXPECT_EQ(m_viewer.GetLoadState(), kLoadFinished);
    EXPECT_EQ(m_window.calls, (std::vector<std::string>{"invalidate+update", "cursor arrow"}));
    EXPECT_EQ(m_browser.statuses, (std::vector<std::string>{"Done !!"}));
    EXPECT_FALSE(Pixels(0).empty());
}

TEST_F(PluginLoading, ASavedStartViewIsAskedForFirstAndTheWalkStartsThere) {
    m_viewer.RestoreSavedView(2);
    Read({{-1, -1, 1, -1}, {-1, -1, 2, 0}, {-1, -1, -1, 1}});
    EXPECT_EQ(m_browser.RequestedViews(), (std::vector<int32_t>{2}));
    Deliver(2);
    EXPECT_EQ(m_browser.RequestedViews(), (std::vector<int32_t>{2, 1}));
}

TEST_F(PluginLoading, AnUnreachableViewKeepsLoadingGoingForGood) {
    Read({{-1, -1, 1, 1}, {-1, -1, 0, 0}, {0, 0, 0, 0}});
    Deliver(0);
    Deliver(1);
    EXPECT_EQ(m_browser.RequestedViews(), (std::vector<int32_t>{0, 1}));
    EXPECT_EQ(m_viewer.GetLoadState(), kStillLoading);
    EXPECT_TRUE(m_browser.statuses.empty());
}

TEST_F(PluginLoading, AFailedRequestCountsButFilesNoFrameNotEvenAnotherRequestsFrame) {
    Read({{-1, -1, 1, 2}, {-1, -1, 2, 0}, {-1, -1, 0, 1}});
    Deliver(0);
    // View 1's file arrives; view 2's request fails before view 1's notification.
    m_loader->DecodeViewFile(m_viewer, m_dir.File("v1.jpg"), 1);
    m_loader->OnViewArrived(m_viewer, 2, false);
    EXPECT_FALSE(m_viewer.Frames().Has(2));
    m_loader->OnViewArrived(m_viewer, 1, true);
    EXPECT_TRUE(m_viewer.Frames().Has(1));
    EXPECT_EQ(m_viewer.GetLoadState(), kLoadFinished);
    EXPECT_EQ(m_loader->PendingFrame(1), nullptr);
}

TEST_F(PluginLoading, AFrameIsFiledOnlyUnderTheRequestWhoseFileProducedIt) {
    Read({{-1, -1, 1, -1}, {-1, -1, 2, 0}, {-1, -1, -1, 1}});
    Deliver(0);
    // A stray file no request brought, then view 1's notification without its
    // own file (the browser could not store it): view 1 gets nothing.
    m_loader->DecodeViewFile(m_viewer, m_dir.File("v2.jpg"), kNoView);
    m_loader->OnViewArrived(m_viewer, 1, true);
    EXPECT_FALSE(m_viewer.Frames().Has(1));
    // A file for a view that already arrived is not filed either.
    m_loader->DecodeViewFile(m_viewer, m_dir.File("v2.jpg"), 1);
    m_loader->OnViewArrived(m_viewer, 1, true);  // a repeated notification changes nothing
    EXPECT_FALSE(m_viewer.Frames().Has(1));
    Deliver(2);
    EXPECT_EQ(m_loader->ArrivalCount(), 3);
    EXPECT_EQ(m_browser.statuses, (std::vector<std::string>{"Done !!"}));
    MovieViewer other(Dialect::Plugin, m_window);
    other.SetPixelDepth(24);
    other.ReadDescription(m_dir.File("movie.zel"));
    PlaneBuffer planes;
    std::unique_ptr<PackedFrame> expected;
    DecodeViewFile(other, planes, m_dir.File("v2.jpg"), expected);
    ASSERT_TRUE(expected);
    EXPECT_EQ(Pixels(2), expected->Bytes());
    // Every delivered view file is traced, filed or not.
    const std::string trace = m_dir.Read("debug.txt");
    size_t lines = 0;
    for (size_t at = trace.find("JPEG filename = "); at != std::string::npos; at = trace.find("JPEG filename = ", at + 1)) {
        ++lines;
    }
    EXPECT_EQ(lines, 4u);
}

TEST_F(PluginLoading, AFailedDecodeCountsTheViewWithoutAFrame) {
    Read({{-1, -1, 1, -1}, {-1, -1, -1, 0}});
    Deliver(0);
    m_dir.Write("v1.jpg", "not a JPEG");
    testing::internal::CaptureStderr();
    Deliver(1);
    testing::internal::GetCapturedStderr();
    EXPECT_FALSE(m_viewer.Frames().Has(1));
    EXPECT_EQ(m_viewer.GetLoadState(), kLoadFinished);
}

TEST_F(PluginLoading, NotificationsOfAnEarlierMovieAreIgnored) {
    Read({{-1, -1, 1, -1}, {-1, -1, -1, 0}});
    Read({{-1, -1, -1, -1}, {-1, -1, -1, -1}, {-1, -1, -1, -1}});
    m_loader->OnViewArrived(m_viewer, 1, true);  // asked for by the first movie only
    EXPECT_EQ(m_loader->ArrivalCount(), 0);
    EXPECT_EQ(m_viewer.GetLoadState(), kNothingToShow);
    m_loader->OnViewArrived(m_viewer, 7, true);
    EXPECT_EQ(m_loader->ArrivalCount(), 0);
}

}  // namespace
}  // namespace zel
