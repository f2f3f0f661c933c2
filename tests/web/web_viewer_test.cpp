// The web module's viewer on real moviegen movies, driven as the page drives
// it: requests taken, files written and reported, input, and the RGBA pixels
// the canvas gets, compared with the core's own decode of each view.
#include "web_viewer.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "blend.h"
#include "exports.h"
#include "moviegen.h"
#include "pack.h"
#include "temp_dir.h"
#include "view_decode.h"

namespace zel::web {
namespace {

class WebMovie : public ::testing::Test {
protected:
    // A ring of `cols` views of 48 x 36 (a drag step of 4 pixels).
    std::string Write(int cols, int flag = 0) {
        m_options.rows = 1;
        m_options.cols = cols;
        m_options.width = 48;
        m_options.height = 36;
        m_options.flag = flag;
        std::string error;
        const std::string path = moviegen::WriteMovie(m_dir.Path().string(), m_options, &error);
        EXPECT_FALSE(path.empty()) << error;
        return path;
    }
    std::string ViewFile(int view) const { return m_dir.File(moviegen::ViewName(m_options, 0, view)); }
    std::vector<int32_t> TakeAll(WebViewer& viewer) {
        std::vector<int32_t> views;
        while (std::optional<int32_t> view = viewer.TakeRequest()) views.push_back(*view);
        return views;
    }
    // What the canvas must show for a view: the core's decode, opaque.
    std::vector<uint8_t> Expected(int view) const {
        RgbFrame frame(48, 36);
        EXPECT_EQ(DecodeIntoRgbFrame(ViewFile(view), frame), 1);
        std::vector<uint8_t> rgba;
        const uint8_t* rgb = frame.Row(0);
        for (size_t i = 0; i < frame.Size(); i += 3) rgba.insert(rgba.end(), {rgb[i], rgb[i + 1], rgb[i + 2], 255});
        return rgba;
    }
    static std::vector<uint8_t> Shown(const uint8_t* rgba) {
        return rgba ? std::vector<uint8_t>(rgba, rgba + 48 * 36 * 4) : std::vector<uint8_t>{};
    }

    test::TempDir m_dir;
    moviegen::MovieOptions m_options;
};

TEST_F(WebMovie, AnEmbedsMovieLoadsInThePluginsOrderAndTurnsByDragAndKey) {
    WebViewer viewer(Dialect::Plugin);
    ASSERT_EQ(viewer.ReadDescription(Write(4)), ReadStatus::Ok);
    EXPECT_EQ(viewer.ViewsToLoad(), 4);
    EXPECT_EQ(TakeAll(viewer), std::vector<int32_t>{0});
    EXPECT_EQ(viewer.Paint(), nullptr);
    viewer.ViewArrived(0, ViewFile(0));
    EXPECT_TRUE(viewer.Window().TakePaintDue());
    EXPECT_EQ(Shown(viewer.Paint()), Expected(0));
    // After an arrival its neighbours down, up, right, left, several at once.
    EXPECT_EQ(TakeAll(viewer), (std::vector<int32_t>{1, 3}));
    viewer.ViewArrived(3, ViewFile(3));
    viewer.ViewArrived(1, ViewFile(1));
    EXPECT_EQ(TakeAll(viewer), std::vector<int32_t>{2});
    EXPECT_EQ(viewer.LoadState(), kStillLoading);
    viewer.ViewArrived(2, ViewFile(2));
    EXPECT_EQ(viewer.LoadState(), kLoadFinished);
    EXPECT_EQ(viewer.ViewsDone(), 4);

    viewer.DragStart(10, 10);
    viewer.DragMove(10 + 4 * 2, 10, true);  // two steps right
    EXPECT_EQ(viewer.CurrentView(), 2);
    EXPECT_EQ(Shown(viewer.Paint()), Expected(2));
    viewer.DragMove(30, 10, false);  // no button: nothing turns
    EXPECT_EQ(viewer.CurrentView(), 2);
    viewer.KeyStep(kSlotLeft);
    EXPECT_EQ(Shown(viewer.Paint()), Expected(1));
}

TEST_F(WebMovie, AnObjectsMovieWalksFromViewZeroOneViewAtATimeAndAFailedViewIsBlack) {
    Write(5);
    // Views 0..3 lead round the ring; nothing leads to view 4.
    std::string text = "5 48 36 0\n";
    const int slots[5][4] = {{-1, -1, 1, 3}, {-1, -1, 2, 0}, {-1, -1, 3, 1}, {-1, -1, 0, 2}, {-1, -1, 0, 0}};
    for (int v = 0; v < 5; ++v) {
        text += moviegen::ViewName(m_options, 0, v);
        for (int s : slots[v]) text += " " + std::to_string(s);
        text += "\n";
    }
    WebViewer viewer(Dialect::Control);
    ASSERT_EQ(viewer.ReadDescription(m_dir.Write("object.zel", text)), ReadStatus::Ok);
    EXPECT_EQ(viewer.ViewsToLoad(), 4);
    std::vector<int32_t> order;
    for (int i = 0; i < 6; ++i) {
        const std::optional<int32_t> view = viewer.TakeRequest();
        if (!view) break;
        order.push_back(*view);
        EXPECT_FALSE(viewer.TakeRequest()) << "a second view while " << *view << " is fetched";
        viewer.ViewArrived(*view, *view == 2 ? "" : ViewFile(*view));
        if (*view == 0) {
            EXPECT_EQ(Shown(viewer.Paint()), Expected(0));
        }
    }
    // Breadth-first from view 0, each view's right, left, down, up.
    EXPECT_EQ(order, (std::vector<int32_t>{0, 1, 3, 2}));
    EXPECT_EQ(viewer.LoadState(), kLoadFinished);
    EXPECT_EQ(viewer.Window().Beeps(), 1);
    viewer.KeyStep(kSlotRight);
    viewer.KeyStep(kSlotRight);
    EXPECT_EQ(viewer.CurrentView(), 2);
    const std::vector<uint8_t> shown = Shown(viewer.Paint());
    for (size_t i = 0; i < shown.size(); ++i) ASSERT_EQ(shown[i], i % 4 == 3 ? 255 : 0) << i;
}

TEST_F(WebMovie, AnEmbedsFailedViewStaysOutOfReachAndARefusedDescriptionSaysWhere) {
    WebViewer viewer(Dialect::Plugin);
    ASSERT_EQ(viewer.ReadDescription(Write(3)), ReadStatus::Ok);
    EXPECT_EQ(TakeAll(viewer), std::vector<int32_t>{0});
    viewer.ViewArrived(0, ViewFile(0));
    EXPECT_EQ(TakeAll(viewer), (std::vector<int32_t>{1, 2}));
    viewer.ViewArrived(1, "");
    viewer.ViewArrived(2, ViewFile(2));
    EXPECT_EQ(viewer.LoadState(), kLoadFinished);
    viewer.KeyStep(kSlotRight);  // view 1 never arrived
    EXPECT_EQ(viewer.CurrentView(), 0);
    viewer.KeyStep(kSlotLeft);
    EXPECT_EQ(viewer.CurrentView(), 2);

    WebViewer refused(Dialect::Control);
    EXPECT_EQ(refused.ReadDescription(m_dir.Write("bad.zel", "2 48 36 0\nfront.jpg -1 -1 1 x1\n")),
              ReadStatus::Refused);
    EXPECT_EQ(refused.Problem(), "line 2, \"x1\": view 0's slot 4 is not a 32-bit integer");
    EXPECT_EQ(refused.Paint(), nullptr);
    EXPECT_FALSE(refused.TakeRequest());
    EXPECT_EQ(refused.ReadDescription(m_dir.File("missing.zel")), ReadStatus::CantOpen);
}

TEST_F(WebMovie, WithTheCrossfadeFlagAStepOnceLoadedShowsTheMixFirst) {
    WebViewer viewer(Dialect::Plugin);
    ASSERT_EQ(viewer.ReadDescription(Write(3, 1)), ReadStatus::Ok);
    viewer.ViewArrived(0, ViewFile(0));
    viewer.ViewArrived(1, ViewFile(1));
    viewer.KeyStep(kSlotRight);
    EXPECT_EQ(viewer.PaintBlend(), nullptr);  // not while loading
    viewer.KeyStep(kSlotLeft);
    viewer.ViewArrived(2, ViewFile(2));
    viewer.KeyStep(kSlotRight);

    RgbFrame a(48, 36), b(48, 36);
    ASSERT_EQ(DecodeIntoRgbFrame(ViewFile(1), a), 1);
    ASSERT_EQ(DecodeIntoRgbFrame(ViewFile(0), b), 1);
    const auto mix = BlendPackedFrames(*PackFrame(a, kDepth24), *PackFrame(b, kDepth24));
    ASSERT_TRUE(mix);
    std::vector<uint8_t> expected;
    for (int32_t y = 0; y < 36; ++y) {
        for (int32_t x = 0; x < 48; ++x) {
            const uint8_t* p = mix->Row(y) + 3 * x;
            expected.insert(expected.end(), {p[2], p[1], p[0], 255});
        }
    }
    EXPECT_EQ(Shown(viewer.PaintBlend()), expected);
    EXPECT_EQ(Shown(viewer.Paint()), Expected(1));
}

TEST_F(WebMovie, TheBenchmarksYardsticksDecodeBareAndCountTheHeldFrames) {
    const std::string description = Write(4);
    EXPECT_EQ(zel_bare_decode(ViewFile(0).c_str()), 1);
    EXPECT_EQ(zel_bare_decode(description.c_str()), 0);
    EXPECT_EQ(zel_bare_decode(m_dir.File("missing.jpg").c_str()), 0);
    EXPECT_EQ(zel_bare_decode(nullptr), 0);

    const double before = zel_heap_bytes();
    ZelViewer* viewer = zel_viewer_new(1);
    ASSERT_EQ(zel_read_description(viewer, description.c_str()), 0);
    for (int view = zel_take_request(viewer); view >= 0; view = zel_take_request(viewer)) {
        zel_view_arrived(viewer, view, ViewFile(view).c_str());
    }
    ASSERT_EQ(zel_load_state(viewer), kLoadFinished);
    // Four RGB frames of 48 x 36 at least, and not many times that.
    const double held = zel_heap_bytes() - before;
    EXPECT_GE(held, 4 * 48 * 36 * 3);
    EXPECT_LT(held, 4 * 48 * 36 * 3 * 4);
    zel_viewer_delete(viewer);
    EXPECT_LT(zel_heap_bytes() - before, 4 * 48 * 36 * 3);
}

}  // namespace
}  // namespace zel::web
