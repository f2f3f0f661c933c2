// The control's loader bringing a whole movie from local files into published
// frames, against bare libjpeg-turbo decodes of the same files, in one run.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <thread>

#include "bare_decode.h"
#include "control_loader.h"
#include "frames.h"
#include "movie_viewer.h"
#include "moviegen.h"

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

// What the loader cannot avoid besides decoding: one new frame a view, whose
// memory the system must hand over page by page on first touch.
void FreshFrames(benchmark::State& state) {
    const size_t count = TheMovie().views.size();
    for (auto _ : state) {
        std::vector<std::unique_ptr<RgbFrame>> frames;
        for (size_t v = 0; v < count; ++v) frames.push_back(NewRgbFrame(640, 480));
        benchmark::DoNotOptimize(frames.back()->Row(0));
    }
}

BENCHMARK(FreshFrames)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(LoadMovie)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BareDecodeEveryView)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace zel::bench
