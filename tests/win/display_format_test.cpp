// DetectPixelDepth on Wine's real DirectDraw, on each display this program is
// registered for: Wine's null driver (32 bits per pixel) and Xvfb at 16 and 8.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "display_format.h"
#include "movie_viewer.h"
#include "print.h"
#include "recording_window.h"

namespace zel {
namespace {

int ScreenBits() {
    HDC screen = GetDC(nullptr);
    const int bits = GetDeviceCaps(screen, BITSPIXEL);
    ReleaseDC(nullptr, screen);
    return bits;
}

class DisplayFormat : public ::testing::TestWithParam<Dialect> {};

TEST_P(DisplayFormat, MatchesTheScreen) {
    test::RecordingWindow window;
    MovieViewer viewer(GetParam(), window);
    win32::DirectDrawObject kept;
    win32::DetectPixelDepth(viewer, &kept);
    switch (ScreenBits()) {
    case 32:
    case 24:
        EXPECT_EQ(viewer.GetPixelDepth(), 24);
        EXPECT_TRUE(window.messages.empty());
        EXPECT_NE(kept.Get(), nullptr);
        break;
    case 16:
        EXPECT_EQ(viewer.GetPixelDepth(), 16);
        EXPECT_TRUE(window.messages.empty());
        break;
    case 8:
        EXPECT_EQ(viewer.GetPixelDepth(), 0);
        EXPECT_EQ(window.messages,
                  (std::vector<std::string>{GetParam() == Dialect::Plugin ? "ERROR !!|Unsupport Display Mode!|exclamation"
                                                                          : "ERROR !!|Unsupported Display Mode!|exclamation"}));
        break;
    default:
        FAIL() << "unexpected display depth " << ScreenBits();
    }
}

TEST_P(DisplayFormat, TheScreenIsTheOneThisRunWasRegisteredFor) {
    const char* display = std::getenv("ZEL_WINE_DISPLAY");
    ASSERT_NE(display, nullptr);
    const std::string name = display;
    EXPECT_EQ(ScreenBits(), name == "null" ? 32 : std::atoi(name.c_str() + 4)) << name;
}

INSTANTIATE_TEST_SUITE_P(BothShells, DisplayFormat, ::testing::Values(Dialect::Plugin, Dialect::Control),
                         [](const auto& param) { return param.param == Dialect::Plugin ? "Plugin" : "Control"; });

TEST(DirectDrawObject, EachViewerReleasesOnlyTheObjectItCreated) {
    test::RecordingWindow window;
    MovieViewer first(Dialect::Plugin, window);
    MovieViewer second(Dialect::Plugin, window);
    win32::DirectDrawObject firstObject, secondObject;
    win32::DetectPixelDepth(first, &firstObject);
    win32::DetectPixelDepth(second, &secondObject);
    ASSERT_NE(firstObject.Get(), nullptr);
    ASSERT_NE(firstObject.Get(), secondObject.Get());
    // Another reference proves the first release leaves the object one reference.
    firstObject.Get()->AddRef();
    IDirectDraw* raw = firstObject.Get();
    firstObject.Reset();
    EXPECT_EQ(raw->Release(), 0u);
    EXPECT_EQ(secondObject.Get()->AddRef(), 2u);
    secondObject.Get()->Release();
}

}  // namespace
}  // namespace zel
