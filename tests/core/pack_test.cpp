#include "pack.h"

#include <gtest/gtest.h>

#include <random>

namespace zel {
namespace {

std::vector<uint8_t> Bytes(const PackedFrame& frame) { return frame.Bytes(); }

RgbFrame OnePixel(uint8_t r, uint8_t g, uint8_t b) {
    RgbFrame frame(1, 1);
    frame.Row(0)[0] = r;
    frame.Row(0)[1] = g;
    frame.Row(0)[2] = b;
    return frame;
}

TEST(PackFrame, WorkedValuesAtEachDepth) {
    struct Case {
        uint8_t r, g, b;
        std::vector<uint8_t> packed15, packed16, packed24;
    };
    const Case cases[] = {
        {200, 100, 50, {0x86, 0x65}, {0x26, 0xCB}, {0x32, 0x64, 0xC8, 0x00}},
        {255, 255, 255, {0xFF, 0x7F}, {0xFF, 0xFF}, {0xFF, 0xFF, 0xFF, 0x00}},
        {0, 128, 255, {0x1F, 0x02}, {0x1F, 0x04}, {0xFF, 0x80, 0x00, 0x00}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << int(c.r) << "," << int(c.g) << "," << int(c.b));
        const RgbFrame source = OnePixel(c.r, c.g, c.b);
        EXPECT_EQ(Bytes(*PackFrame(source, 15)), c.packed15);
        EXPECT_EQ(Bytes(*PackFrame(source, 16)), c.packed16);
        EXPECT_EQ(Bytes(*PackFrame(source, 24)), c.packed24);  // width 1 is odd: one pad byte
    }
}

TEST(PackFrame, RowsOfOddWidthArePaddedOnlyAt24Bits) {
    struct Case {
        int32_t width, depth;
        size_t rowBytes;
    };
    const Case cases[] = {{5, 24, 16}, {4, 24, 12}, {5, 16, 10}, {5, 15, 10}, {1, 16, 2}};
    for (const Case& c : cases) {
        RgbFrame source(c.width, 3);
        std::fill(source.Row(0), source.Row(0) + size_t(c.width) * 9, uint8_t{0xFF});
        auto packed = PackFrame(source, c.depth);
        ASSERT_TRUE(packed);
        EXPECT_EQ(packed->RowBytes(), c.rowBytes);
        EXPECT_EQ(packed->Bytes().size(), c.rowBytes * 3);
        for (int32_t y = 0; y < 3; ++y) {
            const uint8_t* row = packed->Row(y);
            const size_t pixelBytes = size_t(c.width) * (c.depth == 24 ? 3 : 2);
            EXPECT_TRUE(std::all_of(row, row + pixelBytes, [](uint8_t v) { return v == 0xFF || v == 0x7F; }));
            EXPECT_TRUE(std::all_of(row + pixelBytes, row + c.rowBytes, [](uint8_t v) { return v == 0; }));
        }
    }
}

TEST(PackFrame, FifteenBitWordsNeverSetBit15AndDropLowBits) {
    std::mt19937 random(7);
    RgbFrame source(97, 31);
    for (int32_t y = 0; y < 31; ++y) {
        for (int32_t i = 0; i < 97 * 3; ++i) source.Row(y)[i] = uint8_t(random());
    }
    auto packed15 = PackFrame(source, 15);
    auto packed16 = PackFrame(source, 16);
    for (int32_t y = 0; y < 31; ++y) {
        for (int32_t x = 0; x < 97; ++x) {
            const uint8_t* rgb = source.Row(y) + 3 * x;
            const uint16_t w15 = uint16_t(packed15->Row(y)[2 * x] | packed15->Row(y)[2 * x + 1] << 8);
            const uint16_t w16 = uint16_t(packed16->Row(y)[2 * x] | packed16->Row(y)[2 * x + 1] << 8);
            EXPECT_EQ(w15 & 0x8000, 0);
            EXPECT_EQ(w15 >> 10, rgb[0] >> 3);
            EXPECT_EQ((w15 >> 5) & 31, rgb[1] >> 3);
            EXPECT_EQ(w16 >> 11, rgb[0] >> 3);
            EXPECT_EQ((w16 >> 5) & 63, rgb[1] >> 2);
            EXPECT_EQ(w16 & 31, rgb[2] >> 3);
        }
    }
}

TEST(PackFrame, OtherDepthsGiveNoFrame) {
    const RgbFrame source = OnePixel(1, 2, 3);
    for (int32_t depth : {0, 8, 17, 32, -16}) EXPECT_FALSE(PackFrame(source, depth)) << depth;
}

TEST(PackFrame, IntoAKeptFrameOverwritesItOnlyWhenSizeAndDepthFit) {
    const RgbFrame source = OnePixel(200, 100, 50);
    PackedFrame kept(1, 1, 16, PackedFrame::Fill::Unset);
    kept.Row(0)[0] = 0xAA;
    kept.Row(0)[1] = 0xBB;
    ASSERT_TRUE(PackFrameInto(source, kept));
    EXPECT_EQ(kept.Bytes(), (std::vector<uint8_t>{0x26, 0xCB}));
    PackedFrame wider(2, 1, 16), noDepth(1, 1, 8);
    EXPECT_FALSE(PackFrameInto(source, wider));
    EXPECT_EQ(wider.Bytes(), std::vector<uint8_t>(4, 0));
    EXPECT_FALSE(PackFrameInto(source, noDepth));
}

TEST(PackFrame, FromPlanesReadsOnlyTheDecodedPictureWithTheirStride) {
    PlaneBuffer planes;
    // A 3 x 2 picture; the description says 4 x 3, so a column and a row are black.
    planes.SetImageSize(3, 2);
    for (int32_t y = 0; y < 2; ++y) {
        for (int32_t x = 0; x < 3; ++x) {
            planes.Red()[y * PlaneBuffer::kStride + x] = uint8_t(10 * x + 1);
            planes.Green()[y * PlaneBuffer::kStride + x] = uint8_t(100 + y);
            planes.Blue()[y * PlaneBuffer::kStride + x] = 200;
        }
        planes.Red()[y * PlaneBuffer::kStride + 3] = 0xEE;  // beyond the picture: never read
    }
    auto packed = PackFrame(planes, 4, 3, 24);
    ASSERT_TRUE(packed);
    const std::vector<uint8_t> expected = {
        200, 100, 1,   200, 100, 11,  200, 100, 21,  0, 0, 0,  //
        200, 101, 1,   200, 101, 11,  200, 101, 21,  0, 0, 0,  //
        0,   0,   0,   0,   0,   0,   0,   0,   0,   0, 0, 0};
    EXPECT_EQ(packed->Bytes(), expected);
}

}  // namespace
}  // namespace zel
