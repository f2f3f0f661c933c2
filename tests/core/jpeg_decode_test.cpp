// The decoding front end on real JPEG files written by libjpeg-turbo.
#include "jpeg_decode.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "collecting_sink.h"
#include "moviegen.h"
#include "temp_dir.h"
#include "web_skip.h"

namespace zel {
namespace {

using ::testing::internal::CaptureStderr;
using ::testing::internal::GetCapturedStderr;

using test::CollectingSink;

// Four flat 16 x 16 blocks, so the compressed colours come back nearly exact.
moviegen::RgbImage Blocks() {
    moviegen::RgbImage image;
    image.width = 32;
    image.height = 32;
    image.pixels.resize(32 * 32 * 3);
    const uint8_t colours[4][3] = {{200, 30, 30}, {30, 200, 30}, {30, 30, 200}, {220, 220, 40}};
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const uint8_t* c = colours[(y / 16) * 2 + x / 16];
            std::copy(c, c + 3, image.pixels.begin() + (y * 32 + x) * 3);
        }
    }
    return image;
}

std::string WriteBlocks(const test::TempDir& dir, const std::string& name, moviegen::JpegOptions options = {}) {
    options.quality = 95;
    std::string error;
    const std::string path = dir.File(name);
    EXPECT_TRUE(moviegen::WriteJpeg(path, Blocks(), options, &error)) << error;
    return path;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

int CountLines(const std::string& text) { return int(std::count(text.begin(), text.end(), '\n')); }

int MaxDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    int worst = 0;
    for (size_t i = 0; i < std::min(a.size(), b.size()); ++i) worst = std::max(worst, std::abs(a[i] - b[i]));
    return worst;
}

// The same inside the blocks only: the decoder's smooth chroma upsampling blends
// colours across block edges, as it should.
int MaxDifferenceInsideBlocks(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    int worst = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            if (y % 16 < 3 || y % 16 > 12 || x % 16 < 3 || x % 16 > 12) continue;
            for (int c = 0; c < 3; ++c) {
                const size_t i = size_t(y * 32 + x) * 3 + size_t(c);
                worst = std::max(worst, std::abs(a[i] - b[i]));
            }
        }
    }
    return worst;
}

// A real picture large enough that its scan data, not its tables, fills the file.
std::string WriteScene(const test::TempDir& dir, const std::string& name, int restartRows) {
    moviegen::MovieOptions options;
    options.width = 160;
    options.height = 120;
    std::string error;
    const std::string path = dir.File(name);
    EXPECT_TRUE(moviegen::WriteJpeg(path, moviegen::RenderView(options, 1, 2), {90, false, false, restartRows}, &error))
        << error;
    return path;
}

TEST(DecodeJpegFile, DeliversEveryRowOfBaselineProgressiveAndRestartFiles) {
    test::TempDir dir;
    const moviegen::RgbImage original = Blocks();
    std::vector<uint8_t> baseline;
    std::string messages;
    for (auto [name, progressive, restart] : {std::tuple{"baseline.jpg", false, 0}, std::tuple{"progressive.jpg", true, 0},
                                             std::tuple{"restart.jpg", false, 1}}) {
        SCOPED_TRACE(name);
        const std::string path = WriteBlocks(dir, name, {95, progressive, false, restart});
        CollectingSink sink;
        CaptureStderr();
        EXPECT_EQ(DecodeJpegFile(path, sink, test::kWholePicture), 1);
        messages += GetCapturedStderr();
        EXPECT_EQ(sink.width, 32);
        EXPECT_EQ(sink.height, 32);
        EXPECT_EQ(sink.rowsDone, 32);
        EXPECT_LE(MaxDifferenceInsideBlocks(sink.pixels, original.pixels), 6);
        if (baseline.empty()) baseline = sink.pixels;
        EXPECT_LE(MaxDifference(sink.pixels, baseline), 1);
    }
    ZEL_SKIP_ON_WEB(test::kWebCannotCaptureStderr);
    EXPECT_EQ(messages, "");
}

TEST(DecodeJpegFile, AGrayscaleFileArrivesAsThreeEqualChannels) {
    test::TempDir dir;
    const std::string path = WriteBlocks(dir, "gray.jpg", {95, false, true, 0});
    CollectingSink sink;
    ASSERT_EQ(DecodeJpegFile(path, sink, test::kWholePicture), 1);
    for (size_t i = 0; i < sink.pixels.size(); i += 3) {
        ASSERT_EQ(sink.pixels[i], sink.pixels[i + 1]);
        ASSERT_EQ(sink.pixels[i], sink.pixels[i + 2]);
    }
    EXPECT_NE(sink.pixels[0], sink.pixels[(16 * 32 + 16) * 3]);  // the blocks still differ
}

TEST(DecodeJpegFile, CorruptDataPrintsOnlyTheFirstWarningAndDecodesToTheEnd) {
    test::TempDir dir;
    std::string bytes = ReadAll(WriteScene(dir, "clean.jpg", 1));
    // Garbage before the first two restart markers: two recoverable faults.
    int damaged = 0;
    for (size_t i = bytes.find("\xFF\xDA"); i + 1 < bytes.size() && damaged < 2; ++i) {
        if (uint8_t(bytes[i]) == 0xFF && (uint8_t(bytes[i + 1]) & 0xF8) == 0xD0) {
            bytes.insert(i, std::string(24, '\x5A'));
            i += 25;
            ++damaged;
        }
    }
    ASSERT_EQ(damaged, 2);
    const std::string path = dir.Write("corrupt.jpg", bytes);
    CollectingSink sink;
    CaptureStderr();
    EXPECT_EQ(DecodeJpegFile(path, sink, test::kWholePicture), 1);
    const std::string messages = GetCapturedStderr();
    EXPECT_EQ(sink.rowsDone, 120);
    ZEL_SKIP_ON_WEB(test::kWebCannotCaptureStderr);
    EXPECT_EQ(CountLines(messages), 1) << messages;
    EXPECT_EQ(messages.rfind("Corrupt JPEG data", 0), 0u) << messages;
}

TEST(DecodeJpegFile, ATruncatedFileDecodesWithOneWarning) {
    test::TempDir dir;
    const std::string bytes = ReadAll(WriteScene(dir, "whole.jpg", 0));
    const std::string path = dir.Write("truncated.jpg", bytes.substr(0, bytes.size() * 2 / 3));
    CollectingSink sink;
    CaptureStderr();
    EXPECT_EQ(DecodeJpegFile(path, sink, test::kWholePicture), 1);
    const std::string messages = GetCapturedStderr();
    EXPECT_EQ(sink.rowsDone, 120);
    ZEL_SKIP_ON_WEB(test::kWebCannotCaptureStderr);
    EXPECT_EQ(messages, "Premature end of JPEG file\n");
}

TEST(DecodeJpegFile, AFileThatIsNotAJpegFailsWithExactlyOneLineAndIsClosed) {
    test::TempDir dir;
    const std::string path = dir.Write("not.jpg", "GIF89a this is no JPEG at all");
    CollectingSink sink;
    CaptureStderr();
    EXPECT_EQ(DecodeJpegFile(path, sink, test::kWholePicture), 0);
    const std::string messages = GetCapturedStderr();
    EXPECT_EQ(sink.rowsDone, 0);
    std::error_code error;
    EXPECT_TRUE(std::filesystem::remove(path, error)) << error.message();  // no handle left open
    ZEL_SKIP_ON_WEB(test::kWebCannotCaptureStderr);
    EXPECT_EQ(messages, "Not a JPEG file: starts with 0x47 0x49\n");
}

TEST(DecodeJpegFile, AMissingFileSaysSo) {
    test::TempDir dir;
    const std::string path = dir.File("absent.jpg");
    CollectingSink sink;
    CaptureStderr();
    EXPECT_EQ(DecodeJpegFile(path, sink, test::kWholePicture), 0);
    const std::string messages = GetCapturedStderr();
    ZEL_SKIP_ON_WEB(test::kWebCannotCaptureStderr);
    EXPECT_EQ(messages, "Can't open file : " + path + "\n");
}

TEST(DecodeJpegFile, ASinkThatRefusesThePictureFailsTheDecode) {
    test::TempDir dir;
    CollectingSink sink;
    sink.refuse = true;
    EXPECT_EQ(DecodeJpegFile(WriteBlocks(dir, "b.jpg"), sink, test::kWholePicture), 0);
    EXPECT_EQ(sink.rowsDone, 0);
}

}  // namespace
}  // namespace zel
