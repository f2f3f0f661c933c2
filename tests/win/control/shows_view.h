// What a control's window shows, compared pixel for pixel with a view file as
// the viewer decodes it (exact on Wine's 32-bit null display).
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "frames.h"
#include "readback.h"
#include "view_decode.h"

namespace zel::test {

inline ::testing::AssertionResult ShowsView(HWND window, const std::string& viewFile, int width, int height) {
    const auto expected = NewRgbFrame(width, height, RgbFrame::Fill::Black);
    if (!expected || DecodeIntoRgbFrame(viewFile, *expected) == 0)
        return ::testing::AssertionFailure() << "cannot decode " << viewFile;
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
    const std::vector<uint32_t> shown = ReadWindowPixels(window, width, height);
    if (shown.size() != size_t(width) * size_t(height)) return ::testing::AssertionFailure() << "no read-back";
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint8_t* p = expected->Row(y) + x * 3;
            if (shown[size_t(y) * size_t(width) + size_t(x)] != Rgb(p[0], p[1], p[2]))
                return ::testing::AssertionFailure() << viewFile << " differs at (" << x << ", " << y << ")";
        }
    return ::testing::AssertionSuccess();
}

}  // namespace zel::test
