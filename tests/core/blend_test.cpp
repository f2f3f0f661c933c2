#include "blend.h"

#include <gtest/gtest.h>

#include <array>
#include <random>

#include "load_state.h"

namespace zel {
namespace {

PackedFrame FrameOf(int32_t width, int32_t height, int32_t depth, const std::vector<uint8_t>& pixels) {
    PackedFrame frame(width, height, depth);
    const size_t pixelBytes = size_t(width) * (depth == 24 ? 3 : 2);
    for (int32_t y = 0; y < height; ++y) {
        std::copy_n(pixels.begin() + long(pixelBytes * size_t(y)), pixelBytes, frame.Row(y));
    }
    return frame;
}

std::vector<uint8_t> Blended(int32_t depth, const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    const int32_t width = int32_t(a.size()) / (depth == 24 ? 3 : 2);
    auto blend = BlendPackedFrames(FrameOf(width, 1, depth, a), FrameOf(width, 1, depth, b));
    return blend ? blend->Bytes() : std::vector<uint8_t>{};
}

// The byte-pair arithmetic on the low and high byte of each word, kept here as
// the oracle the word-wide implementation must match byte for byte.
std::array<uint8_t, 2> ByteRuleBlend(uint8_t a0, uint8_t a1, uint8_t b0, uint8_t b1, int32_t depth) {
    const int m = depth == 15 ? 0x04 : 0x08;
    int s0 = a0 + b0;
    if (((a0 ^ b0) & 0x20) != 0) s0 -= 0x20;
    int s1 = a1 + b1;
    if (((a1 ^ b1) & m) != 0) s1 -= m;
    if (s0 & 0x100) {
        s1 += 1;
        if (s1 % 2 == 0) s0 -= 0x100;
    } else if (s1 & 1) {
        s0 += 0x100;
    }
    return {uint8_t((s0 >> 1) & 0xFF), uint8_t((s1 >> 1) & 0xFF)};
}

TEST(BlendPackedFrames, WorkedValues) {
    struct Case {
        int32_t depth;
        std::vector<uint8_t> current, previous, blended;
    };
    const Case cases[] = {
        {15, {0x86, 0x65}, {0x70, 0x17}, {0x6B, 0x3E}},
        {15, {0xFF, 0x07}, {0x21, 0x00}, {0x10, 0x02}},
        {16, {0x26, 0xCB}, {0xF0, 0x2E}, {0x0B, 0x7D}},
        {16, {0xFF, 0xFF}, {0x21, 0x08}, {0x10, 0x84}},
        {16, {0x1F, 0xF8}, {0xE0, 0x07}, {0xEF, 0x7B}},
        {24, {0x32, 0x64, 0xC8}, {0x82, 0xDC, 0x28}, {0x5A, 0xA0, 0x78}},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> expected = c.blended;
        if (c.depth == 24) expected.push_back(0);  // width 1: the pad byte
        EXPECT_EQ(Blended(c.depth, c.current, c.previous), expected) << "depth " << c.depth;
    }
}

TEST(BlendPackedFrames, MatchesTheByteRuleOnEveryKindOfPixelPair) {
    std::mt19937 random(11);
    for (int32_t depth : {15, 16}) {
        std::vector<uint8_t> a(2 * 4096), b(2 * 4096);
        for (size_t i = 0; i < a.size(); i += 2) {
            a[i] = uint8_t(random());
            b[i] = uint8_t(random());
            a[i + 1] = uint8_t(random() & (depth == 15 ? 0x7F : 0xFF));
            b[i + 1] = uint8_t(random() & (depth == 15 ? 0x7F : 0xFF));
        }
        const std::vector<uint8_t> out = Blended(depth, a, b);
        ASSERT_EQ(out.size(), a.size());
        for (size_t i = 0; i < a.size(); i += 2) {
            const auto expected = ByteRuleBlend(a[i], a[i + 1], b[i], b[i + 1], depth);
            ASSERT_EQ(out[i], expected[0]) << "depth " << depth << " pixel " << i / 2;
            ASSERT_EQ(out[i + 1], expected[1]) << "depth " << depth << " pixel " << i / 2;
            if (depth == 15) {
                ASSERT_EQ(out[i + 1] & 0x80, 0);
            }
        }
    }
}

TEST(BlendPackedFrames, IsSymmetricAndASelfBlendIsTheFrame) {
    std::mt19937 random(3);
    for (int32_t depth : {15, 16, 24}) {
        std::vector<uint8_t> a(3 * 333), b(3 * 333);
        for (size_t i = 0; i < a.size(); ++i) {
            a[i] = uint8_t(random());
            b[i] = uint8_t(random());
        }
        if (depth != 24) {
            a.resize(2 * 333);
            b.resize(2 * 333);
            if (depth == 15) {
                for (size_t i = 1; i < a.size(); i += 2) a[i] &= 0x7F, b[i] &= 0x7F;
            }
        }
        EXPECT_EQ(Blended(depth, a, b), Blended(depth, b, a)) << depth;
        std::vector<uint8_t> self = Blended(depth, a, a);
        if (depth == 24) self.pop_back();  // 333 is odd: drop the pad byte
        EXPECT_EQ(self, a) << depth;
    }
}

TEST(BlendPackedFrames, PadBytesAreZeroAndNeverReadAsPixels) {
    PackedFrame a = FrameOf(3, 2, 24, std::vector<uint8_t>(18, 0x10));
    PackedFrame b = FrameOf(3, 2, 24, std::vector<uint8_t>(18, 0x30));
    for (int32_t y = 0; y < 2; ++y) {
        a.Row(y)[9] = 0xAB;
        b.Row(y)[9] = 0xCD;
    }
    auto blend = BlendPackedFrames(a, b);
    ASSERT_TRUE(blend);
    std::vector<uint8_t> row(9, 0x20);
    row.push_back(0);
    std::vector<uint8_t> expected = row;
    expected.insert(expected.end(), row.begin(), row.end());
    EXPECT_EQ(blend->Bytes(), expected);
}

TEST(BlendPackedFrames, TheMeanRoundsDown) {
    EXPECT_EQ(Blended(24, {0, 255, 0}, {255, 0, 1}), (std::vector<uint8_t>{127, 127, 0, 0}));
    // Green 0 and 63 at 16 bits: 31, that is bits 5 to 10 = 0x3E0.
    EXPECT_EQ(Blended(16, {0x00, 0x00}, {0xE0, 0x07}), (std::vector<uint8_t>{0xE0, 0x03}));
}

TEST(CrossfadeBeforePaint, OnlyOnceLoadingHasFinishedAndTheFlagIsSet) {
    EXPECT_TRUE(CrossfadeBeforePaint(kLoadFinished, 1));
    EXPECT_TRUE(CrossfadeBeforePaint(kLoadFinished, -7));
    EXPECT_FALSE(CrossfadeBeforePaint(kLoadFinished, 0));
    EXPECT_FALSE(CrossfadeBeforePaint(kStillLoading, 1));
    EXPECT_FALSE(CrossfadeBeforePaint(kNothingToShow, 1));
}

TEST(BlendPackedFrames, RefusesFramesThatDoNotMatch) {
    const PackedFrame a(4, 2, 16), b(4, 2, 15), c(4, 3, 16), d(5, 2, 16), e(4, 2, 8);
    EXPECT_FALSE(BlendPackedFrames(a, b));
    EXPECT_FALSE(BlendPackedFrames(a, c));
    EXPECT_FALSE(BlendPackedFrames(a, d));
    EXPECT_FALSE(BlendPackedFrames(e, e));
    PackedFrame kept(4, 3, 16);
    EXPECT_FALSE(BlendPackedFramesInto(a, a, kept));
    EXPECT_EQ(kept.Bytes(), std::vector<uint8_t>(24, 0));
}

}  // namespace
}  // namespace zel
