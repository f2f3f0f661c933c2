// Pictures whose headers claim more than the frame they are decoded for: the
// decode never costs more than the frame, in rows, row width or memory, and
// what the frame shows is what a whole decode of the same picture shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "collecting_sink.h"
#include "jpeg_decode.h"
#include "moviegen.h"
#include "sizes.h"
#include "temp_dir.h"
#include "view_decode.h"
#include "web_skip.h"

namespace zel {
namespace {

using ::testing::internal::CaptureStderr;
using ::testing::internal::GetCapturedStderr;

std::string WriteScene(const test::TempDir& dir, const std::string& name, int width, int height,
                       bool progressive = false) {
    moviegen::MovieOptions movie;
    movie.width = width;
    movie.height = height;
    std::string error;
    const std::string path = dir.File(name);
    EXPECT_TRUE(moviegen::WriteJpeg(path, moviegen::RenderView(movie, 0, 1), {90, progressive, false, 0}, &error))
        << error;
    return path;
}

// A small real picture that claims the largest size a JPEG can have.
std::string WriteClaimingGiant(const test::TempDir& dir, const std::string& name, bool progressive = false) {
    const std::string path = WriteScene(dir, name, 32, 24, progressive);
    EXPECT_TRUE(moviegen::ClaimSize(path, 65500, 65500));
    return path;
}

TEST(HostilePicture, AGiantClaimIsDecodedOnlyAsFarAsTheFrameReaches) {
    test::TempDir dir;
    const std::string path = WriteClaimingGiant(dir, "giant.jpg");
    test::CollectingSink sink;
    const auto start = std::chrono::steady_clock::now();
    CaptureStderr();
    EXPECT_EQ(DecodeJpegFile(path, sink, {64, 48}), 1);
    const std::string messages = GetCapturedStderr();
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::printf("figure: a 65500 x 65500 claim decoded into a 64 x 48 frame in %.1f ms\n", ms);
    EXPECT_EQ(sink.width, 64 + kCropMargin);
    EXPECT_EQ(sink.height, 48);
    EXPECT_EQ(sink.rowsDone, 48);
    ZEL_SKIP_ON_WEB(test::kWebCannotCaptureStderr);
    EXPECT_EQ(std::count(messages.begin(), messages.end(), '\n'), 1) << messages;  // the data ends early
}

// A narrow, tall frame is no licence to read rows 65500 pixels wide: the claim
// is refused before a row is decoded, and the view fails as a broken one does.
TEST(HostilePicture, AClaimBeyondTheFramesWorkBoundIsAFailedView) {
    test::TempDir dir;
    const std::string path = WriteClaimingGiant(dir, "giant.jpg");
    test::CollectingSink sink;
    CaptureStderr();
    EXPECT_EQ(DecodeJpegFile(path, sink, {40, 1000}), 0);
    const std::string messages = GetCapturedStderr();
    EXPECT_EQ(sink.rowsDone, 0);
    ZEL_SKIP_ON_WEB(test::kWebCannotCaptureStderr);
    EXPECT_EQ(messages, "A picture of 65500 x 65500 pixels is beyond what a 40 x 1000 frame may decode\n");
}

TEST(HostilePicture, EachShellDecodesAGiantClaimIntoItsFrameWithoutGrowing) {
    test::TempDir dir;
    const std::string path = WriteClaimingGiant(dir, "giant.jpg");
    CaptureStderr();
    RgbFrame frame(64, 48, RgbFrame::Fill::Unset);
    EXPECT_EQ(DecodeIntoRgbFrame(path, frame), 1);

    PlaneBuffer planes;
    std::unique_ptr<PackedFrame> packed;
    auto request = std::make_unique<DecodeRequest>();
    *request = {48, 64, 24, &packed, path};
    DecodeAndPack(std::move(request), planes);
    GetCapturedStderr();
    ASSERT_TRUE(packed);
    EXPECT_EQ(planes.Stride(), PlaneBuffer::kStride);
    EXPECT_EQ(planes.Rows(), PlaneBuffer::kRows);
    // The real picture's first blocks lead the claimed one, in both shells alike.
    for (int32_t y = 0; y < 8; ++y) {
        for (int32_t x = 0; x < 8; ++x) {
            const uint8_t* rgb = frame.Row(y) + 3 * x;
            const uint8_t* bgr = packed->Row(y) + 3 * x;
            ASSERT_EQ(rgb[0], bgr[2]) << x << "," << y;
            ASSERT_EQ(rgb[1], bgr[1]);
            ASSERT_EQ(rgb[2], bgr[0]);
        }
    }
}

TEST(HostilePicture, AProgressiveGiantClaimFailsOnItsMemoryBoundAndLeavesTheViewFailed) {
    test::TempDir dir;
    const std::string path = WriteClaimingGiant(dir, "giant.jpg", true);
    CaptureStderr();
    RgbFrame frame(64, 48, RgbFrame::Fill::Unset);
    EXPECT_EQ(DecodeIntoRgbFrame(path, frame), 0);
    PlaneBuffer planes;
    std::unique_ptr<PackedFrame> packed = std::make_unique<PackedFrame>(64, 48, 16);
    auto request = std::make_unique<DecodeRequest>();
    *request = {48, 64, 16, &packed, path};
    DecodeAndPack(std::move(request), planes);
    const std::string messages = GetCapturedStderr();
    EXPECT_FALSE(packed);
    const std::vector<uint8_t> pixels = frame.Pixels();
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), 0), 64 * 48 * 3);
    ZEL_SKIP_ON_WEB(test::kWebCannotCaptureStderr);
    EXPECT_EQ(std::count(messages.begin(), messages.end(), '\n'), 2) << messages;  // one line a decode
}

// Cropping a wider picture must not change a single pixel the frame shows:
// the crop's own edge, where upsampling differs, lies beyond the frame.
TEST(HostilePicture, AWiderPictureIsCroppedWithoutChangingAnyPixelTheFrameShows) {
    test::TempDir dir;
    for (bool progressive : {false, true}) {
        SCOPED_TRACE(progressive ? "progressive" : "baseline");
        const std::string path = WriteScene(dir, "wide.jpg", 400, 40, progressive);
        test::CollectingSink whole;
        ASSERT_EQ(DecodeJpegFile(path, whole, test::kWholePicture), 1);
        RgbFrame frame(96, 40, RgbFrame::Fill::Unset);
        ASSERT_EQ(DecodeIntoRgbFrame(path, frame), 1);
        for (int32_t y = 0; y < 40; ++y) {
            ASSERT_EQ(0, std::memcmp(frame.Row(y), whole.pixels.data() + size_t(y) * 400 * 3, 96 * 3)) << "row " << y;
        }
    }
}

TEST(HostilePicture, SizesThatWouldWrapA32BitSizeAreRefusedAndTheLargestMovieFits) {
    constexpr uint64_t k32 = 0xFFFFFFFFu;
    // What a 32-bit build computes for the planes of a 65500 x 65500 claim.
    EXPECT_FALSE(CheckedBytes({65500, 65500, 3}, k32));
    EXPECT_FALSE(CheckedBytes({0xFFFFFFFFFFull, 0xFFFFFFFFFFull}));  // wraps 64 bits too
    EXPECT_EQ(CheckedBytes({480, 640, 3}, k32), uint64_t{921600});
    EXPECT_EQ(CheckedBytes({65536, 65535}, k32), uint64_t{0xFFFF0000});
    EXPECT_FALSE(CheckedBytes({65536, 65536}, k32));
    // Planes for the widest and the tallest picture a description may name.
    EXPECT_TRUE(CheckedBytes({65500, uint64_t(PlaneBuffer::kRows), 3}, k32));
    EXPECT_TRUE(CheckedBytes({uint64_t(PlaneBuffer::kStride), 65500, 3}, k32));
    // The largest frames one accepted view may have, 1 GiB of them, at 24 bits.
    EXPECT_TRUE(CheckedBytes({65500 * 3, (uint64_t{1} << 30) / (65500 * 3)}, k32));
}

}  // namespace
}  // namespace zel
