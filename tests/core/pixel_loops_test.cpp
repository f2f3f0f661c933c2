// Every version of the pixel loops this processor runs, each forced in turn,
// writes exactly the portable loops' bytes: whole frames of random pixels at
// widths around each version's step, and single rows at every alignment with
// guard bytes after them (under AddressSanitizer the inputs end exactly where
// the row does, so a read beyond it fails too).
#include "pixel_loops.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "blend.h"
#include "pack.h"

namespace zel {
namespace {

std::vector<const PixelLoops*> VectorVersions() {
    std::vector<const PixelLoops*> versions;
    for (PixelIsa isa : {PixelIsa::Sse2, PixelIsa::Ssse3, PixelIsa::Avx2}) {
        if (const PixelLoops* loops = PixelLoopsFor(isa)) versions.push_back(loops);
    }
    return versions;
}

std::vector<uint8_t> RandomBytes(std::mt19937& random, size_t count) {
    std::vector<uint8_t> bytes(count);
    for (uint8_t& b : bytes) b = uint8_t(random());
    return bytes;
}

TEST(PixelLoops, TheChosenVersionIsTheBestThisProcessorRuns) {
    const PixelLoops& portable = *PixelLoopsFor(PixelIsa::Portable);
    const std::vector<const PixelLoops*> versions = VectorVersions();
    const PixelLoops& best = versions.empty() ? portable : *versions.back();
    EXPECT_EQ(&ChosenPixelLoops(), &best) << PixelIsaName(ChosenPixelLoops().isa);
    std::printf("pixel loops: %s of %zu vector versions\n", PixelIsaName(ChosenPixelLoops().isa), versions.size());
}

TEST(PixelLoops, EveryVersionPacksAndBlendsWholeFramesToTheReferenceBytes) {
    const std::vector<const PixelLoops*> versions = VectorVersions();
    if (versions.empty()) GTEST_SKIP() << "this build has only the portable loops";
    const PixelLoops& portable = *PixelLoopsFor(PixelIsa::Portable);
    std::mt19937 random(14);
    for (int32_t width : {1, 2, 5, 15, 16, 17, 31, 32, 33, 47, 63, 64, 65, 97, 479, 641}) {
        RgbFrame rgb(width, 3);
        const std::vector<uint8_t> pixels = RandomBytes(random, rgb.Size());
        std::copy(pixels.begin(), pixels.end(), rgb.Row(0));
        PlaneBuffer planes;
        planes.Ensure(width, 3);
        const std::vector<uint8_t> samples = RandomBytes(random, size_t(planes.Stride()) * 3);
        for (uint8_t* plane : {planes.Red(), planes.Green(), planes.Blue()}) {
            std::copy(samples.begin(), samples.end(), plane);
        }
        planes.SetImageSize(width, 2);  // the last row is beyond the picture: black
        for (int32_t depth : {15, 16, 24}) {
            // Blend inputs of random bytes, pad bytes and bit 15 included.
            PackedFrame a(width, 3, depth), b(width, 3, depth);
            for (PackedFrame* frame : {&a, &b}) {
                const std::vector<uint8_t> bytes = RandomBytes(random, frame->Size());
                std::copy(bytes.begin(), bytes.end(), frame->Row(0));
            }
            const auto expected = std::make_tuple(PackFrame(rgb, depth, portable)->Bytes(),
                                                  PackFrame(planes, width, 3, depth, portable)->Bytes(),
                                                  BlendPackedFrames(a, b, portable)->Bytes());
            for (const PixelLoops* loops : versions) {
                SCOPED_TRACE(::testing::Message() << PixelIsaName(loops->isa) << ", width " << width << ", depth "
                                                  << depth);
                EXPECT_EQ(PackFrame(rgb, depth, *loops)->Bytes(), std::get<0>(expected));
                EXPECT_EQ(PackFrame(planes, width, 3, depth, *loops)->Bytes(), std::get<1>(expected));
                EXPECT_EQ(BlendPackedFrames(a, b, *loops)->Bytes(), std::get<2>(expected));
            }
        }
    }
}

// One row loop run by a version and by the reference on the same inputs,
// each into its own output with guard bytes after the row.
struct RowCase {
    size_t inputs;       // input buffers
    size_t inputBytes;   // bytes of each input per pixel
    size_t outputs;      // output buffers
    size_t outputBytes;  // bytes of each output per pixel
    void (*run)(const PixelLoops&, const uint8_t* const* in, size_t count, uint8_t* const* out);
};

const RowCase kRowCases[] = {
    {1, 3, 1, 2, [](const PixelLoops& l, auto in, size_t n, auto out) { l.packRgb15(in[0], n, out[0]); }},
    {1, 3, 1, 2, [](const PixelLoops& l, auto in, size_t n, auto out) { l.packRgb16(in[0], n, out[0]); }},
    {1, 3, 1, 3, [](const PixelLoops& l, auto in, size_t n, auto out) { l.packRgb24(in[0], n, out[0]); }},
    {3, 1, 1, 2, [](const PixelLoops& l, auto in, size_t n, auto out) { l.packPlanes15(in[0], in[1], in[2], n, *out); }},
    {3, 1, 1, 2, [](const PixelLoops& l, auto in, size_t n, auto out) { l.packPlanes16(in[0], in[1], in[2], n, *out); }},
    {3, 1, 1, 3, [](const PixelLoops& l, auto in, size_t n, auto out) { l.packPlanes24(in[0], in[1], in[2], n, *out); }},
    {1, 3, 3, 1, [](const PixelLoops& l, auto in, size_t n, auto out) { l.splitRgb(*in, n, out[0], out[1], out[2]); }},
    {2, 2, 1, 2, [](const PixelLoops& l, auto in, size_t n, auto out) { l.blend15(in[0], in[1], n, out[0]); }},
    {2, 2, 1, 2, [](const PixelLoops& l, auto in, size_t n, auto out) { l.blend16(in[0], in[1], n, out[0]); }},
    {2, 1, 1, 1, [](const PixelLoops& l, auto in, size_t n, auto out) { l.blendBytes(in[0], in[1], n, out[0]); }},
};

TEST(PixelLoops, EveryVersionKeepsToItsRowsAtEveryAlignmentAndLength) {
    const std::vector<const PixelLoops*> versions = VectorVersions();
    if (versions.empty()) GTEST_SKIP() << "this build has only the portable loops";
    const PixelLoops& portable = *PixelLoopsFor(PixelIsa::Portable);
    constexpr size_t kGuard = 40;
    std::mt19937 random(41);
    for (size_t c = 0; c < std::size(kRowCases); ++c) {
        const RowCase& row = kRowCases[c];
        for (size_t offset = 0; offset < 4; ++offset) {
            for (size_t count = 0; count <= 100; ++count) {
                std::vector<std::vector<uint8_t>> in(row.inputs);
                std::vector<const uint8_t*> inRows;
                for (auto& buffer : in) {
                    buffer = RandomBytes(random, offset + count * row.inputBytes);
                    inRows.push_back(buffer.data() + offset);
                }
                const size_t outSize = offset + count * row.outputBytes + kGuard;
                std::vector<std::vector<uint8_t>> expected(row.outputs, std::vector<uint8_t>(outSize, 0xA5));
                std::vector<uint8_t*> expectedRows;
                for (auto& buffer : expected) expectedRows.push_back(buffer.data() + offset);
                row.run(portable, inRows.data(), count, expectedRows.data());
                for (const PixelLoops* loops : versions) {
                    std::vector<std::vector<uint8_t>> got(row.outputs, std::vector<uint8_t>(outSize, 0xA5));
                    std::vector<uint8_t*> gotRows;
                    for (auto& buffer : got) gotRows.push_back(buffer.data() + offset);
                    row.run(*loops, inRows.data(), count, gotRows.data());
                    ASSERT_EQ(got, expected) << PixelIsaName(loops->isa) << ": loop " << c << ", offset " << offset
                                             << ", " << count << " pixels";
                }
            }
        }
    }
}

}  // namespace
}  // namespace zel
