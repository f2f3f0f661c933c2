// Decoding, packing and blending one 640 x 480 view of a moviegen movie, each
// against its yardstick measured in the same run: a bare libjpeg-turbo decode of
// the same file, or a memcpy of the same bytes. Views whose headers claim far
// more than their frame are measured against the decode of the view itself.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "bare_decode.h"
#include "blend.h"
#include "moviegen.h"
#include "pack.h"
#include "ratio_reporter.h"
#include "view_decode.h"

namespace zel::bench {
namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

// Two neighbouring views written once per run into a private folder.
struct Views {
    Views() {
        folder = std::filesystem::temp_directory_path() / "zel-bench-pictures";
        std::filesystem::create_directories(folder);
        moviegen::MovieOptions options;
        options.width = kWidth;
        options.height = kHeight;
        std::string error;
        for (int col : {0, 1}) {
            paths[col] = (folder / ("view" + std::to_string(col) + ".jpg")).string();
            if (!moviegen::WriteJpeg(paths[col], moviegen::RenderView(options, 1, col), options.jpeg, &error)) {
                std::fprintf(stderr, "moviegen: %s\n", error.c_str());
                std::exit(1);
            }
            DecodeIntoRgbFrame(paths[col], rgb[col]);
        }
        // The same view claiming the widest picture its frame still lets the
        // decoder read (64 times the frame's pixels of rows), and one claiming
        // the largest picture a JPEG can have, which is refused.
        giant = (folder / "giant.jpg").string();
        refused = (folder / "refused.jpg").string();
        for (const auto& [path, width] : {std::pair{giant, 64 * kWidth}, std::pair{refused, 65500}}) {
            std::filesystem::copy_file(paths[0], path, std::filesystem::copy_options::overwrite_existing);
            if (!moviegen::ClaimSize(path, uint16_t(width), 65500)) std::exit(1);
        }
    }
    ~Views() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    std::filesystem::path folder;
    std::string paths[2];
    std::string giant;
    std::string refused;
    RgbFrame rgb[2] = {RgbFrame(kWidth, kHeight), RgbFrame(kWidth, kHeight)};
};

const Views& TheViews() {
    static const Views views;
    return views;
}

void BareLibjpegDecode(benchmark::State& state) {
    std::vector<uint8_t> pixels(size_t(kWidth) * kHeight * 3);
    for (auto _ : state) {
        if (!BareDecode(TheViews().paths[0], pixels)) state.SkipWithError("bare decode failed");
        benchmark::DoNotOptimize(pixels.data());
    }
}

void ControlDecodeRgb(benchmark::State& state) {
    RgbFrame frame(kWidth, kHeight);
    for (auto _ : state) {
        if (DecodeIntoRgbFrame(TheViews().paths[0], frame) != 1) state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(frame.Row(0));
    }
}

void PluginDecodePack16(benchmark::State& state) {
    PlaneBuffer planes;
    std::unique_ptr<PackedFrame> result;
    for (auto _ : state) {
        auto request = std::make_unique<DecodeRequest>();
        *request = {kHeight, kWidth, kDepth16, &result, TheViews().paths[0]};
        DecodeAndPack(std::move(request), planes);
        if (!result) state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(result.get());
    }
}

// A hostile header costs no more than the frame it is decoded for. Its file
// ends early, so every decode warns: the warnings go nowhere while it runs.
class QuietStderr {
public:
    QuietStderr() : m_saved(dup(2)) {
#if defined(_WIN32)
        const int null = open("NUL", O_WRONLY);  // mingw's <unistd.h> brings the POSIX names
#else
        const int null = open("/dev/null", O_WRONLY);
#endif
        dup2(null, 2);
        close(null);
    }
    ~QuietStderr() {
        dup2(m_saved, 2);
        close(m_saved);
    }
    QuietStderr(const QuietStderr&) = delete;
    QuietStderr& operator=(const QuietStderr&) = delete;

private:
    int m_saved;
};

void GiantClaimDecodeRgb(benchmark::State& state) {
    RgbFrame frame(kWidth, kHeight);
    const QuietStderr quiet;
    for (auto _ : state) {
        if (DecodeIntoRgbFrame(TheViews().giant, frame) != 1) state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(frame.Row(0));
    }
}

void RefusedClaimDecodeRgb(benchmark::State& state) {
    RgbFrame frame(kWidth, kHeight);
    const QuietStderr quiet;
    for (auto _ : state) {
        if (DecodeIntoRgbFrame(TheViews().refused, frame) != 0) state.SkipWithError("a 65500 x 65500 claim decoded");
        benchmark::DoNotOptimize(frame.Row(0));
    }
}

void GiantClaimDecodePack16(benchmark::State& state) {
    PlaneBuffer planes;
    std::unique_ptr<PackedFrame> result;
    const QuietStderr quiet;
    for (auto _ : state) {
        auto request = std::make_unique<DecodeRequest>();
        *request = {kHeight, kWidth, kDepth16, &result, TheViews().giant};
        DecodeAndPack(std::move(request), planes);
        if (!result) state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(result.get());
    }
}

void CopyBytes(benchmark::State& state, size_t bytes) {
    std::vector<uint8_t> from(bytes, 1), to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}

void MemcpyRgbFrame(benchmark::State& state) { CopyBytes(state, size_t(kWidth) * kHeight * 3); }
void MemcpyPacked16(benchmark::State& state) { CopyBytes(state, PackedRowBytes(kWidth, kDepth16) * kHeight); }
void MemcpyPacked24(benchmark::State& state) { CopyBytes(state, PackedRowBytes(kWidth, kDepth24) * kHeight); }

// Packing and blending into a frame kept from one iteration to the next, as
// the control's paint packs: the pixel loops' work. A new frame of a view's
// size costs more than that on Windows, where it comes fresh from the system.
void Pack(benchmark::State& state, int32_t depth) {
    PackedFrame packed(kWidth, kHeight, depth);
    for (auto _ : state) {
        if (!PackFrameInto(TheViews().rgb[0], packed)) state.SkipWithError("no frame");
        benchmark::DoNotOptimize(packed.Row(0));
        benchmark::ClobberMemory();
    }
}
void Pack16(benchmark::State& state) { Pack(state, kDepth16); }
void Pack24(benchmark::State& state) { Pack(state, kDepth24); }

void Blend(benchmark::State& state, int32_t depth) {
    const auto a = PackFrame(TheViews().rgb[0], depth);
    const auto b = PackFrame(TheViews().rgb[1], depth);
    PackedFrame mixed(kWidth, kHeight, depth);
    for (auto _ : state) {
        if (!BlendPackedFramesInto(*a, *b, mixed)) state.SkipWithError("no frame");
        benchmark::DoNotOptimize(mixed.Row(0));
        benchmark::ClobberMemory();
    }
}
void Blend16(benchmark::State& state) { Blend(state, kDepth16); }
void Blend24(benchmark::State& state) { Blend(state, kDepth24); }

BENCHMARK(BareLibjpegDecode);
BENCHMARK(ControlDecodeRgb);
BENCHMARK(PluginDecodePack16);
BENCHMARK(GiantClaimDecodeRgb);
BENCHMARK(GiantClaimDecodePack16);
BENCHMARK(RefusedClaimDecodeRgb);
BENCHMARK(MemcpyRgbFrame);
BENCHMARK(MemcpyPacked16);
BENCHMARK(MemcpyPacked24);
BENCHMARK(Pack16);
BENCHMARK(Pack24);
BENCHMARK(Blend16);
BENCHMARK(Blend24);

[[maybe_unused]] const int kRatios = AddRatios({
    {"decode_rgb_vs_libjpeg", "ControlDecodeRgb", {"BareLibjpegDecode"}},
    {"decode_pack16_vs_libjpeg", "PluginDecodePack16", {"BareLibjpegDecode"}},
    {"giant_claim_rgb_vs_view_decode", "GiantClaimDecodeRgb", {"ControlDecodeRgb"}},
    {"giant_claim_pack16_vs_view_decode", "GiantClaimDecodePack16", {"PluginDecodePack16"}},
    {"refused_claim_vs_view_decode", "RefusedClaimDecodeRgb", {"ControlDecodeRgb"}},
    {"pack16_vs_memcpy", "Pack16", {"MemcpyRgbFrame"}},
    {"pack24_vs_memcpy", "Pack24", {"MemcpyRgbFrame"}},
    {"blend16_vs_memcpy", "Blend16", {"MemcpyPacked16"}},
    {"blend24_vs_memcpy", "Blend24", {"MemcpyPacked24"}},
});

}  // namespace
}  // namespace zel::bench
