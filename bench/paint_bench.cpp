// The control's paint of its current view on Windows (here under Wine): what
// Repaint does for one WM_PAINT of a 640 x 480 view, against a bare blit of a
// frame of the same size packed beforehand, both into the same shown window.
#include <benchmark/benchmark.h>

#include <windows.h>

#include <filesystem>

#include "blit.h"
#include "control_paint.h"
#include "display_format.h"
#include "hwnd_window.h"
#include "movie_viewer.h"
#include "moviegen.h"
#include "pack.h"
#include "ratio_reporter.h"
#include "scoped_handle.h"
#include "view_decode.h"

namespace zel::bench {
namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

// A shown top-level window whose client area holds the view, and a control
// viewer on it with one decoded view and a movie of one view, as the control
// holds them once its loader has finished.
struct PaintedView {
    PaintedView() {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "ZelPaintBench";
        RegisterClassA(&windowClass);
        RECT frame = {0, 0, kWidth, kHeight};
        AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
        window.Reset(CreateWindowA("ZelPaintBench", "paint", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                   frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                                   windowClass.hInstance, nullptr));
        hwndWindow.SetHandle(window.Get());

        folder = std::filesystem::temp_directory_path() / "zel-bench-paint";
        moviegen::MovieOptions options;
        options.width = kWidth;
        options.height = kHeight;
        options.rows = 1;
        options.cols = 1;
        std::string error;
        const std::string description = moviegen::WriteMovie(folder.string(), options, &error);
        viewer.ReadDescription(description);
        auto frame0 = NewRgbFrame(kWidth, kHeight);
        if (!window || description.empty() || !frame0 ||
            DecodeIntoRgbFrame((folder / moviegen::ViewName(options, 0, 0)).string(), *frame0) != 1) {
            std::fprintf(stderr, "paint bench: no window or no view (%s)\n", error.c_str());
            std::exit(1);
        }
        viewer.Frames().Publish(0, std::move(frame0));
        viewer.SetLoadState(kLoadFinished);
        win32::DetectPixelDepth(viewer);
    }
    ~PaintedView() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    win32::ScopedWindow window;
    win32::HwndWindow hwndWindow;
    MovieViewer viewer{Dialect::Control, hwndWindow};
    std::filesystem::path folder;
};

PaintedView& TheView() {
    static PaintedView view;
    return view;
}

void ControlPaint(benchmark::State& state) {
    PaintedView& view = TheView();
    win32::ControlPainter painter;
    for (auto _ : state) painter.Repaint(view.viewer, view.window.Get());
    state.SetLabel("depth " + std::to_string(view.viewer.GetPixelDepth()));
}

void BareBlit(benchmark::State& state) {
    PaintedView& view = TheView();
    const int32_t depth = view.viewer.GetPixelDepth();
    const auto packed = PackFrame(*view.viewer.Frames().GetAs<RgbFrame>(0), depth);
    for (auto _ : state) {
        win32::WindowDc dc(view.window.Get());
        win32::BlitPackedFrame(dc.Get(), packed.get(), kWidth, kHeight, depth);
    }
}

BENCHMARK(ControlPaint);
BENCHMARK(BareBlit);

[[maybe_unused]] const int kRatios = AddRatios({{"control_paint_vs_blit", "ControlPaint", {"BareBlit"}}});

}  // namespace
}  // namespace zel::bench
