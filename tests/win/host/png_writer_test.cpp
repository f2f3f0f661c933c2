// The PNG writer against an independent reader: signature, chunk CRCs, IHDR,
// zlib framing, stored blocks no longer than 65535 bytes, Adler-32, filter bytes.
#include <gtest/gtest.h>

#include <ostream>

#include "png_writer.h"
#include "stored_png.h"

namespace zel::test {
namespace {

std::vector<uint32_t> Pattern(int width, int height) {
    std::vector<uint32_t> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) pixels.push_back(uint32_t(x * 7 % 256) << 16 | uint32_t(y * 5 % 256) << 8 | uint32_t((x ^ y) & 0xFF));
    return pixels;
}

TEST(HostPngWriter, ChecksumsMatchTheirPublishedCheckValues) {
    const std::string digits = "123456789";
    EXPECT_EQ(host::Crc32(reinterpret_cast<const uint8_t*>(digits.data()), digits.size()), 0xCBF43926u);
    const std::string word = "Wikipedia";
    EXPECT_EQ(host::Adler32(reinterpret_cast<const uint8_t*>(word.data()), word.size()), 0x11E60398u);
}

struct SizeCase {
    int width, height;
};

void PrintTo(const SizeCase& c, std::ostream* out) { *out << c.width << "x" << c.height; }

class HostPngSizes : public ::testing::TestWithParam<SizeCase> {};

TEST_P(HostPngSizes, ReadsBackPixelForPixel) {
    const auto [width, height] = GetParam();
    const std::vector<uint32_t> pixels = Pattern(width, height);
    const std::string file = host::EncodePng(width, height, pixels);
    StoredPng png;
    std::string error;
    ASSERT_TRUE(ReadStoredPng(file, &png, &error)) << error;
    EXPECT_EQ(png.width, width);
    EXPECT_EQ(png.height, height);
    EXPECT_EQ(png.pixels, pixels);
    const size_t raw = size_t(height) * (1 + size_t(width) * 3);
    EXPECT_EQ(png.idatBlocks, static_cast<int>((raw + 65534) / 65535));
}

// One pixel; rows of odd length; 65533 bytes of rows, one block just under the
// limit; 65536 bytes, one byte more than a block holds; several blocks.
INSTANTIATE_TEST_SUITE_P(Sizes, HostPngSizes,
                         ::testing::Values(SizeCase{1, 1}, SizeCase{3, 2}, SizeCase{21844, 1}, SizeCase{21845, 1},
                                           SizeCase{320, 240}));

TEST(HostPngWriter, RefusesASizeThatDoesNotMatchThePixels) {
    EXPECT_EQ(host::EncodePng(2, 2, std::vector<uint32_t>(3)), "");
    EXPECT_EQ(host::EncodePng(0, 1, {}), "");
    std::string error;
    EXPECT_FALSE(host::WritePngFile("unused.png", 2, 2, {}, &error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace zel::test
