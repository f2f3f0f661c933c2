// The control's paint packs the current view into a frame it keeps from one
// paint to the next: every paint still shows exactly the view current then,
// through changes of view and a new movie of another size (read back exactly
// on Wine's 32-bit null display).
#include <gtest/gtest.h>

#include "control_paint.h"
#include "grid_movie.h"
#include "hwnd_window.h"
#include "movie_viewer.h"
#include "readback.h"
#include "temp_dir.h"
#include "test_window.h"

namespace zel {
namespace {

std::unique_ptr<RgbFrame> Pattern(int32_t width, int32_t height, int seed) {
    auto frame = NewRgbFrame(width, height);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            uint8_t* p = frame->Row(y) + 3 * x;
            p[0] = uint8_t(seed * 50 + 7 * x);
            p[1] = uint8_t(seed * 90 + 11 * y);
            p[2] = uint8_t(seed * 30 + 5 * (x ^ y));
        }
    }
    return frame;
}

::testing::AssertionResult Shows(HWND window, const RgbFrame& frame) {
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
    const std::vector<uint32_t> shown = test::ReadWindowPixels(window, frame.Width(), frame.Height());
    if (shown.size() != size_t(frame.Width()) * size_t(frame.Height())) return ::testing::AssertionFailure();
    for (int32_t y = 0; y < frame.Height(); ++y) {
        for (int32_t x = 0; x < frame.Width(); ++x) {
            const uint8_t* p = frame.Row(y) + 3 * x;
            if (shown[size_t(y) * size_t(frame.Width()) + size_t(x)] != test::Rgb(p[0], p[1], p[2])) {
                return ::testing::AssertionFailure() << "differs at (" << x << ", " << y << ")";
            }
        }
    }
    return ::testing::AssertionSuccess();
}

TEST(ControlPainter, EveryPaintShowsExactlyTheViewCurrentThen) {
    test::TempDir dir;
    test::TestWindow window(40, 20);
    win32::HwndWindow hwndWindow(window.Handle());
    MovieViewer viewer(Dialect::Control, hwndWindow);
    win32::ControlPainter painter;
    window.onPaint = [&](HDC) { painter.Repaint(viewer, window.Handle()); };
    viewer.SetPixelDepth(24);

    // Odd widths: packed 24-bit rows carry a pad byte the screen must not show.
    std::vector<std::unique_ptr<RgbFrame>> first;
    viewer.ReadDescription(dir.Write("first.zel", test::GridDescription(1, 2, 33, 17)));
    for (int v = 0; v < 2; ++v) {
        first.push_back(Pattern(33, 17, v));
        viewer.Frames().Publish(v, Pattern(33, 17, v));
    }
    viewer.SetLoadState(kLoadFinished);
    EXPECT_TRUE(Shows(window.Handle(), *first[0]));
    ASSERT_TRUE(viewer.SetCurrentView(1));
    EXPECT_TRUE(Shows(window.Handle(), *first[1]));
    ASSERT_TRUE(viewer.SetCurrentView(0));
    EXPECT_TRUE(Shows(window.Handle(), *first[0]));

    viewer.ReadDescription(dir.Write("second.zel", test::GridDescription(1, 1, 15, 13)));
    const std::unique_ptr<RgbFrame> second = Pattern(15, 13, 3);
    viewer.Frames().Publish(0, Pattern(15, 13, 3));
    viewer.SetLoadState(kLoadFinished);
    EXPECT_TRUE(Shows(window.Handle(), *second));
}

}  // namespace
}  // namespace zel
