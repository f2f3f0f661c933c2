// The control's loader bringing a whole movie from local files into published
// frames, against bare libjpeg-turbo decodes of the same files and against
// those decodes plus the fresh memory the frames need, in one run; and the
// memory a loaded movie holds.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>

#include "bare_decode.h"
#include "control_loader.h"
#include "frames.h"
#include "movie_viewer.h"
#include "moviegen.h"
#include "ratio_reporter.h"

namespace zel::bench {
namespace {

// 3 rows of 12 views, 640 x 480: 36 views, written once per run.
struct Movie {
    Movie() {
        folder = std::filesystem::temp_directory_path() / "zel-bench-movie";
        options.width = 640;
        options.height = 480;
        options.rows = 3;
        options.cols = 12;
        std::string error;
        description = moviegen::WriteMovie(folder.string(), options, &error);
        if (description.empty()) {
            std::fprintf(stderr, "moviegen: %s\n", error.c_str());
            std::exit(1);
        }
        for (int r = 0; r < options.rows; ++r) {
            for (int c = 0; c < options.cols; ++c) views.push_back((folder / moviegen::ViewName(options, r, c)).string());
        }
    }
    ~Movie() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    std::filesystem::path folder;
    moviegen::MovieOptions options;
    std::string description;
    std::vector<std::string> views;
};

const Movie& TheMovie() {
    static const Movie movie;
    return movie;
}

class FolderFetcher : public ViewFetcher {
public:
    std::string RemoteFolder() const override { return TheMovie().folder.string(); }
    FetchedFile Fetch(const std::string& name, const std::atomic<bool>&) override {
        return FetchedFile{(TheMovie().folder / name).string(), true};
    }
};

class QuietWindow : public ViewerWindow {
public:
    void Invalidate() override {}
    void InvalidateAndUpdate() override {}
    void ShowCursor(ViewerCursor) override {}
    void ShowMessage(const std::string&, const std::string&, MessageIcon) override {}
    void Beep() override {}
    void WaitServing(const std::function<bool()>& finished) override {
        while (!finished()) std::this_thread::yield();
    }
};

void LoadMovie(benchmark::State& state) {
    QuietWindow window;
    const std::string trace = (TheMovie().folder / "debug.out").string();
    for (auto _ : state) {
        auto* loader = new ControlLoader(std::make_shared<FolderFetcher>());
        MovieViewer viewer(Dialect::Control, window, std::unique_ptr<ViewLoader>(loader));
        viewer.Trace().SetPath(trace);
        viewer.ReadDescription(TheMovie().description);
        while (!loader->Finished()) std::this_thread::sleep_for(std::chrono::microseconds(200));
        if (viewer.GetLoadState() != kLoadFinished) state.SkipWithError("the movie did not load");
    }
}

void BareDecodeEveryView(benchmark::State& state) {
    std::vector<uint8_t> pixels;
    for (auto _ : state) {
        for (const std::string& view : TheMovie().views) {
            if (!BareDecode(view, pixels)) state.SkipWithError("bare decode failed");
            benchmark::DoNotOptimize(pixels.data());
        }
    }
}

// What the loader cannot avoid besides decoding: one new frame a view, made on
// a thread of its own as the loader makes them and written whole, its memory
// handed over by the system page by page as it is first touched; freed by this
// thread, as the viewer frees its frames. On this virtual machine that costs
// about half the decodes.
void TouchFreshFrames(benchmark::State& state) {
    const size_t count = TheMovie().views.size();
    for (auto _ : state) {
        std::vector<std::unique_ptr<RgbFrame>> frames(count);
        std::thread([&frames] {
            for (auto& frame : frames) {
                frame = NewRgbFrame(640, 480, RgbFrame::Fill::Unset);
                if (frame) std::memset(frame->Row(0), 1, frame->Size());
            }
        }).join();
        if (!frames.back()) state.SkipWithError("no memory for the frames");
        benchmark::DoNotOptimize(frames.back()->Row(0));
    }
}

// The memory a whole movie's load adds to the process at its peak, over the
// bytes of its frames. Measured before any benchmark runs, with the peak reset
// first, so the memory they leave behind neither counts nor is reused.
long StatusKilobytes(const char* field) {
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (!status) return -1;
    char line[256];
    long kilobytes = -1;
    const size_t length = std::strlen(field);
    while (std::fgets(line, sizeof line, status)) {
        if (std::strncmp(line, field, length) == 0) kilobytes = std::strtol(line + length, nullptr, 10);
    }
    std::fclose(status);
    return kilobytes;
}

double PeakRssOverFrameBytes() {
    const Movie& movie = TheMovie();  // rendering the movie is not part of its load
    std::FILE* clear = std::fopen("/proc/self/clear_refs", "w");
    if (!clear || std::fputs("5", clear) < 0 || std::fclose(clear) != 0) return -1;
    const long before = StatusKilobytes("VmRSS:");
    QuietWindow window;
    auto* loader = new ControlLoader(std::make_shared<FolderFetcher>());
    MovieViewer viewer(Dialect::Control, window, std::unique_ptr<ViewLoader>(loader));
    viewer.Trace().SetPath((movie.folder / "debug.out").string());
    viewer.ReadDescription(movie.description);
    while (!loader->Finished()) std::this_thread::sleep_for(std::chrono::microseconds(200));
    const long peak = StatusKilobytes("VmHWM:");
    const double frameBytes = double(movie.views.size()) * 640 * 480 * 3;
    if (before < 0 || peak < 0 || viewer.GetLoadState() != kLoadFinished) return -1;
    return double(peak - before) * 1024 / frameBytes;
}

BENCHMARK(TouchFreshFrames)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(LoadMovie)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BareDecodeEveryView)->Unit(benchmark::kMillisecond)->UseRealTime();

[[maybe_unused]] const int kRatios = AddRatios({
    {"load_movie_vs_decodes", "LoadMovie/real_time", {"BareDecodeEveryView/real_time"}},
    {"load_movie_vs_decodes_and_touch", "LoadMovie/real_time",
     {"BareDecodeEveryView/real_time", "TouchFreshFrames/real_time"}},
    {"fresh_frames_vs_decodes", "TouchFreshFrames/real_time", {"BareDecodeEveryView/real_time"}},
});
[[maybe_unused]] const int kPeakRss = AddFigure({"peak_rss_vs_frame_bytes", PeakRssOverFrameBytes});

}  // namespace
}  // namespace zel::bench
