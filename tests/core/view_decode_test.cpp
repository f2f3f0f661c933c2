// Each shell's decode of one view: straight into the control's RgbFrame, or
// through the plug-in's planes into a PackedFrame.
#include "view_decode.h"

#include <gtest/gtest.h>

#include <cstring>

#include "grid_movie.h"
#include "movie_viewer.h"
#include "moviegen.h"
#include "pack.h"
#include "recording_window.h"
#include "temp_dir.h"
#include "web_skip.h"

namespace zel {
namespace {

using ::testing::internal::CaptureStderr;
using ::testing::internal::GetCapturedStderr;

// A flat colour picture, exact enough after compression to compare within a few levels.
std::string WriteFlat(const test::TempDir& dir, const std::string& name, int width, int height, uint8_t r,
                      uint8_t g, uint8_t b) {
    moviegen::RgbImage image;
    image.width = width;
    image.height = height;
    for (int i = 0; i < width * height; ++i) image.pixels.insert(image.pixels.end(), {r, g, b});
    std::string error;
    EXPECT_TRUE(moviegen::WriteJpeg(dir.File(name), image, {95, false, false, 0}, &error)) << error;
    return dir.File(name);
}

bool PixelNear(const uint8_t* p, int r, int g, int b) {
    return std::abs(p[0] - r) <= 3 && std::abs(p[1] - g) <= 3 && std::abs(p[2] - b) <= 3;
}

TEST(DecodeIntoRgbFrame, FillsAFrameOfTheSameSizeRowByRow) {
    test::TempDir dir;
    RgbFrame frame(40, 24);
    ASSERT_EQ(DecodeIntoRgbFrame(WriteFlat(dir, "v.jpg", 40, 24, 10, 120, 240), frame), 1);
    for (int32_t y = 0; y < 24; ++y) {
        for (int32_t x = 0; x < 40; ++x) ASSERT_TRUE(PixelNear(frame.Row(y) + 3 * x, 10, 120, 240)) << x << "," << y;
    }
}

TEST(DecodeIntoRgbFrame, APictureOfAnotherSizeShowsTheOverlapOverBlack) {
    test::TempDir dir;
    struct Case {
        int width, height;
    };
    for (Case c : {Case{24, 16}, Case{64, 40}, Case{24, 40}, Case{64, 16}}) {
        SCOPED_TRACE(::testing::Message() << c.width << " x " << c.height);
        RgbFrame frame(40, 24, RgbFrame::Fill::Unset);
        for (int32_t y = 0; y < 24; ++y) std::memset(frame.Row(y), 0x5A, 40 * 3);  // whatever the memory held
        ASSERT_EQ(DecodeIntoRgbFrame(WriteFlat(dir, "v.jpg", c.width, c.height, 250, 250, 250), frame), 1);
        for (int32_t y = 0; y < 24; ++y) {
            for (int32_t x = 0; x < 40; ++x) {
                const bool inside = x < c.width && y < c.height;
                ASSERT_TRUE(PixelNear(frame.Row(y) + 3 * x, inside ? 250 : 0, inside ? 250 : 0, inside ? 250 : 0))
                    << x << "," << y;
            }
        }
    }
}

TEST(DecodeIntoRgbFrame, AFailedDecodeLeavesTheFrameBlack) {
    test::TempDir dir;
    RgbFrame frame(16, 16, RgbFrame::Fill::Unset);
    std::fill_n(frame.Row(0), 16 * 16 * 3, uint8_t{0x77});
    const std::string path = dir.Write("broken.jpg", "plain text, not a JPEG");
    CaptureStderr();
    EXPECT_EQ(DecodeIntoRgbFrame(path, frame), 0);
    const std::vector<uint8_t> pixels = frame.Pixels();
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), 0), 16 * 16 * 3);
    const std::string messages = GetCapturedStderr();
    ZEL_SKIP_ON_WEB(test::kWebCannotCaptureStderr);
    EXPECT_EQ(std::count(messages.begin(), messages.end(), '\n'), 1) << messages;
}

TEST(PlaneBuffer, AFullPictureFillsThePlanesAndASmallerOneKeepsTheRest) {
    test::TempDir dir;
    PlaneBuffer planes;
    auto slot = std::make_unique<std::unique_ptr<PackedFrame>>();
    auto decode = [&](const std::string& path, int32_t width, int32_t height) {
        auto request = std::make_unique<DecodeRequest>();
        *request = {height, width, 24, slot.get(), path};
        return DecodeAndPack(std::move(request), planes);
    };
    decode(WriteFlat(dir, "big.jpg", 480, 640, 250, 0, 0), 480, 640);
    ASSERT_TRUE(*slot);
    EXPECT_EQ(planes.Stride(), 480);
    EXPECT_NEAR(planes.Red()[639 * 480 + 479], 250, 3);
    decode(WriteFlat(dir, "small.jpg", 320, 240, 0, 0, 250), 320, 240);
    ASSERT_TRUE(*slot);
    EXPECT_NEAR(planes.Blue()[239 * 480 + 319], 250, 3);
    EXPECT_NEAR(planes.Red()[239 * 480 + 319], 0, 3);
    EXPECT_NEAR(planes.Red()[0 * 480 + 400], 250, 3);  // beyond the small picture: the older one
    EXPECT_NEAR(planes.Red()[300 * 480 + 0], 250, 3);
    const uint8_t* packed = (*slot)->Row(239) + 3 * 319;
    EXPECT_TRUE(PixelNear(packed, 250, 0, 0));  // packed B, G, R: blue first
}

TEST(PlaneBuffer, APictureWiderThan480GrowsTheStrideInsteadOfOverrunning) {
    test::TempDir dir;
    PlaneBuffer planes;
    std::unique_ptr<PackedFrame> result;
    auto request = std::make_unique<DecodeRequest>();
    *request = {480, 640, 16, &result, WriteFlat(dir, "wide.jpg", 640, 480, 0, 255, 0)};
    DecodeAndPack(std::move(request), planes);
    ASSERT_TRUE(result);
    EXPECT_EQ(planes.Stride(), 640);
    const uint8_t* last = result->Row(479) + 2 * 639;
    EXPECT_EQ(last[0] | last[1] << 8, 0x07E0);  // pure green at 5-6-5
}

// The plug-in packs each row as it is decoded: its frame is exactly what
// packing the control's decode of the same file gives, whatever the picture's
// size against the frame (smaller, larger, cropped) and at every depth, with
// one PlaneBuffer for all as the plug-in keeps it.
TEST(DecodeAndPack, PacksExactlyWhatPackingTheControlsDecodeGives) {
    test::TempDir dir;
    struct Case {
        int pictureWidth, pictureHeight, frameWidth, frameHeight;
    };
    const Case cases[] = {{67, 45, 67, 45}, {67, 45, 50, 30}, {50, 30, 67, 45}, {130, 21, 41, 40}, {33, 64, 64, 33}};
    PlaneBuffer planes;
    for (const Case& c : cases) {
        moviegen::MovieOptions movie;
        movie.width = c.pictureWidth;
        movie.height = c.pictureHeight;
        const std::string path = dir.File("view.jpg");
        std::string error;
        ASSERT_TRUE(moviegen::WriteJpeg(path, moviegen::RenderView(movie, 0, 1), {90, false, false, 0}, &error))
            << error;
        RgbFrame control(c.frameWidth, c.frameHeight);
        ASSERT_EQ(DecodeIntoRgbFrame(path, control), 1);
        for (int32_t depth : {15, 16, 24}) {
            SCOPED_TRACE(::testing::Message() << c.pictureWidth << " x " << c.pictureHeight << " into "
                                              << c.frameWidth << " x " << c.frameHeight << " at " << depth);
            std::unique_ptr<PackedFrame> packed;
            auto request = std::make_unique<DecodeRequest>();
            *request = {c.frameHeight, c.frameWidth, depth, &packed, path};
            DecodeAndPack(std::move(request), planes);
            ASSERT_TRUE(packed);
            EXPECT_EQ(packed->Bytes(), PackFrame(control, depth)->Bytes());
        }
    }
}

class PluginDecode : public ::testing::Test {
protected:
    void SetUp() override {
        m_viewer.Trace().SetPath(m_dir.File("debug.txt"));
        m_viewer.ReadDescription(m_dir.Write("m.zel", test::GridDescription(1, 2, 32, 16)));
        m_viewer.SetPixelDepth(16);
        m_dir.Write("debug.txt", "");
    }
    test::TempDir m_dir;
    test::RecordingWindow m_window;
    MovieViewer m_viewer{Dialect::Plugin, m_window};
    PlaneBuffer m_planes;
    std::unique_ptr<PackedFrame> m_last;
};

TEST_F(PluginDecode, DecodesAtTheViewersSizeAndDepthAndTracesTheName) {
    const std::string path = WriteFlat(m_dir, "v0.jpg", 32, 16, 255, 255, 255);
    DecodeViewFile(m_viewer, m_planes, path, m_last);
    ASSERT_TRUE(m_last);
    EXPECT_EQ(m_last->Depth(), 16);
    EXPECT_EQ(m_last->Width(), 32);
    EXPECT_EQ(m_last->Height(), 16);
    EXPECT_EQ(m_dir.Read("debug.txt"), "JPEG filename = " + path + "\n");
}

TEST_F(PluginDecode, AFailedDecodeLeavesNoFrameButStillTraces) {
    m_last = std::make_unique<PackedFrame>(32, 16, 16);
    const std::string missing = m_dir.File("missing.jpg");
    CaptureStderr();
    DecodeViewFile(m_viewer, m_planes, missing, m_last);
    const std::string messages = GetCapturedStderr();
    EXPECT_FALSE(m_last);
    EXPECT_EQ(m_dir.Read("debug.txt"), "JPEG filename = " + missing + "\n");
    ZEL_SKIP_ON_WEB(test::kWebCannotCaptureStderr);
    EXPECT_EQ(messages, "Can't open file : " + missing + "\n");
}

TEST_F(PluginDecode, WithoutAPixelDepthNothingIsPacked) {
    m_viewer.SetPixelDepth(0);
    DecodeViewFile(m_viewer, m_planes, WriteFlat(m_dir, "v0.jpg", 32, 16, 1, 2, 3), m_last);
    EXPECT_FALSE(m_last);
}

}  // namespace
}  // namespace zel
