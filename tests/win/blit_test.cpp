// BlitPackedFrame and PaintCrossfade in a real window, with the pixels read
// back: exact on the 32-bit null display for 24-bit frames, within the
// quantisation of 5- and 6-bit channels otherwise.
#include <gtest/gtest.h>

#include <cstdlib>

#include "blend.h"
#include "blit.h"
#include "pack.h"
#include "readback.h"
#include "scoped_handle.h"
#include "test_window.h"

namespace zel {
namespace {

constexpr uint32_t kMagenta = 0xFF00FF;

int ScreenBits() {
    HDC screen = GetDC(nullptr);
    const int bits = GetDeviceCaps(screen, BITSPIXEL);
    ReleaseDC(nullptr, screen);
    return bits;
}

// The background every test paints first, so that drawing beyond the picture shows.
void FillMagenta(HDC dc, int width, int height) {
    win32::ScopedGdiObject brush(CreateSolidBrush(RGB(255, 0, 255)));
    RECT all = {0, 0, width, height};
    FillRect(dc, &all, static_cast<HBRUSH>(brush.Get()));
}

RgbFrame Pattern(int32_t width, int32_t height) {
    RgbFrame frame(width, height);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            uint8_t* p = frame.Row(y) + 3 * x;
            p[0] = uint8_t(40 + 13 * x);
            p[1] = uint8_t(200 - 17 * y);
            p[2] = uint8_t(7 * (x + y));
        }
    }
    return frame;
}

// What a packed pixel stands for, with its dropped low bits as zero.
uint32_t Shown(const RgbFrame& frame, int32_t x, int32_t y, int32_t depth) {
    const uint8_t* p = frame.Row(y) + 3 * x;
    const uint32_t greenMask = depth == 16 ? 0xFC : depth == 15 ? 0xF8 : 0xFF;
    const uint32_t otherMask = depth == 24 ? 0xFF : 0xF8;
    return test::Rgb(p[0] & otherMask, p[1] & greenMask, p[2] & otherMask);
}

bool Near(uint32_t a, uint32_t b, int tolerance) {
    for (int shift : {0, 8, 16}) {
        if (std::abs(int(a >> shift & 0xFF) - int(b >> shift & 0xFF)) > tolerance) return false;
    }
    return true;
}

class Blit : public ::testing::TestWithParam<int32_t> {
protected:
    // Exact where both the frame and the screen keep 8 bits a channel.
    int Tolerance() const { return GetParam() == 24 && ScreenBits() >= 24 ? 0 : ScreenBits() == 16 ? 8 : 7; }
};

TEST_P(Blit, DrawsAtTheTopLeftUnscaledAndNothingBeyond) {
    for (int32_t width : {13, 12}) {
        SCOPED_TRACE(::testing::Message() << "width " << width);
        const int32_t height = 7;
        const RgbFrame source = Pattern(width, height);
        std::unique_ptr<PackedFrame> packed = PackFrame(source, GetParam());
        test::TestWindow window(40, 20);
        window.onPaint = [&](HDC dc) {
            FillMagenta(dc, 40, 20);
            win32::BlitPackedFrame(dc, packed.get(), width, height, GetParam());
        };
        InvalidateRect(window.Handle(), nullptr, FALSE);
        UpdateWindow(window.Handle());
        const std::vector<uint32_t> pixels = test::ReadWindowPixels(window.Handle(), 40, 20);
        ASSERT_EQ(pixels.size(), 800u);
        for (int32_t y = 0; y < 20; ++y) {
            for (int32_t x = 0; x < 40; ++x) {
                const uint32_t seen = pixels[size_t(y) * 40 + size_t(x)];
                if (x < width && y < height) {
                    ASSERT_TRUE(Near(seen, Shown(source, x, y, GetParam()), Tolerance()))
                        << "pixel " << x << "," << y << " shows " << std::hex << seen;
                } else {
                    ASSERT_TRUE(Near(seen, kMagenta, ScreenBits() == 16 ? 8 : 0)) << "pixel " << x << "," << y;
                }
            }
        }
    }
}

TEST_P(Blit, AWindowSmallerThanThePictureClipsIt) {
    const RgbFrame source = Pattern(31, 23);
    std::unique_ptr<PackedFrame> packed = PackFrame(source, GetParam());
    test::TestWindow window(10, 6);
    window.onPaint = [&](HDC dc) { win32::BlitPackedFrame(dc, packed.get(), 31, 23, GetParam()); };
    InvalidateRect(window.Handle(), nullptr, FALSE);
    UpdateWindow(window.Handle());
    const std::vector<uint32_t> pixels = test::ReadWindowPixels(window.Handle(), 10, 6);
    for (int32_t y = 0; y < 6; ++y) {
        for (int32_t x = 0; x < 10; ++x) {
            ASSERT_TRUE(Near(pixels[size_t(y) * 10 + size_t(x)], Shown(source, x, y, GetParam()), Tolerance()));
        }
    }
}

TEST_P(Blit, TheCrossfadeShowsTheMeanAndNothingWithoutBothFrames) {
    RgbFrame dark(9, 5), light(9, 5);
    for (int32_t y = 0; y < 5; ++y) {
        for (int32_t x = 0; x < 9; ++x) {
            std::fill_n(dark.Row(y) + 3 * x, 3, uint8_t{0x20});
            uint8_t* p = light.Row(y) + 3 * x;
            p[0] = 0xE0;
            p[1] = 0xA0;
            p[2] = 0x60;
        }
    }
    auto current = PackFrame(light, GetParam());
    auto previous = PackFrame(dark, GetParam());
    test::TestWindow window(16, 8);
    bool withPrevious = true;
    window.onPaint = [&](HDC dc) {
        FillMagenta(dc, 16, 8);
        win32::PaintCrossfade(dc, current.get(), withPrevious ? previous.get() : nullptr, 9, 5, GetParam());
    };
    InvalidateRect(window.Handle(), nullptr, FALSE);
    UpdateWindow(window.Handle());
    std::vector<uint32_t> pixels = test::ReadWindowPixels(window.Handle(), 16, 8);
    EXPECT_TRUE(Near(pixels[0], test::Rgb(0x80, 0x60, 0x40), Tolerance())) << std::hex << pixels[0];
    EXPECT_TRUE(Near(pixels[4 * 16 + 8], test::Rgb(0x80, 0x60, 0x40), Tolerance()));
    EXPECT_TRUE(Near(pixels[5 * 16 + 9], kMagenta, ScreenBits() == 16 ? 8 : 0));

    withPrevious = false;
    InvalidateRect(window.Handle(), nullptr, FALSE);
    UpdateWindow(window.Handle());
    pixels = test::ReadWindowPixels(window.Handle(), 16, 8);
    EXPECT_TRUE(Near(pixels[0], kMagenta, ScreenBits() == 16 ? 8 : 0));
}

TEST(BlitWithoutAFrame, DrawsNothing) {
    test::TestWindow window(8, 8);
    window.onPaint = [&](HDC dc) {
        FillMagenta(dc, 8, 8);
        win32::BlitPackedFrame(dc, nullptr, 8, 8, 24);
        PackedFrame wrongDepth(8, 8, 16);
        win32::BlitPackedFrame(dc, &wrongDepth, 8, 8, 24);
    };
    InvalidateRect(window.Handle(), nullptr, FALSE);
    UpdateWindow(window.Handle());
    const std::vector<uint32_t> pixels = test::ReadWindowPixels(window.Handle(), 8, 8);
    for (uint32_t p : pixels) ASSERT_TRUE(Near(p, kMagenta, ScreenBits() == 16 ? 8 : 0));
}

INSTANTIATE_TEST_SUITE_P(EachDepth, Blit, ::testing::Values(15, 16, 24),
                         [](const auto& param) { return "Depth" + std::to_string(param.param); });

}  // namespace
}  // namespace zel
