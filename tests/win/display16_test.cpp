// Runs on the virtual X display of depth 16, which the tests of 16-bit packing
// and display detection need; this proves the display is what it claims.
#include <gtest/gtest.h>

#include "scoped_handle.h"
#include "test_window.h"

namespace zel {
namespace {

TEST(Display16, TheScreenHasSixteenBitsPerPixel) {
    test::TestWindow window(64, 64);
    win32::WindowDc dc(window.Handle());
    ASSERT_TRUE(dc);
    EXPECT_EQ(GetDeviceCaps(dc.Get(), BITSPIXEL), 16);
}

}  // namespace
}  // namespace zel
