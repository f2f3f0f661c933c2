// The page's windows as a user and a screen see them: mouse messages reach the
// plug-in's subclass and, passed on, the browser's own procedure; what the
// plug-in paints is what CapturePixels and WritePng give back.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "host_page.h"
#include "stored_png.h"

namespace zel::test {
namespace {

using host::BrowserHost;

class HostWindow : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(m_host.LoadPlugin(FakePluginPath(), &error)) << error;
        ASSERT_TRUE(m_host.OpenPage(m_page.PagePath(), &error)) << error;
        ASSERT_TRUE(m_host.PumpUntilIdle());
    }
    bool ReachedBrowser(UINT message) const {
        const auto seen = m_host.MessagesReachingBrowserProc();
        return std::find(seen.begin(), seen.end(), message) != seen.end();
    }

    HostPage m_page{std::string(kEmbedAttributes) + " color=20A0F0"};
    BrowserHost m_host;
};

TEST_F(HostWindow, MouseMessagesReachThePluginThenTheBrowsersProcedure) {
    EXPECT_FALSE(ReachedBrowser(WM_LBUTTONDOWN));
    m_host.MouseDown(10, 20);
    m_host.MouseMove(37, 21);
    m_host.MouseMove(40, 22, false);
    m_host.MouseUp(41, 23);
    const auto log = PluginLog(m_host);
    const int down = FindLine(log, "mouse down 10,20 flags=" + std::to_string(MK_LBUTTON));
    ASSERT_GE(down, 0);
    const int held = FindLine(log, "mouse move 37,21 flags=" + std::to_string(MK_LBUTTON), down);
    ASSERT_GT(held, down);
    const int free = FindLine(log, "mouse move 40,22 flags=0", held);
    ASSERT_GT(free, held);
    EXPECT_GT(FindLine(log, "mouse up 41,23", free), free);
    EXPECT_TRUE(ReachedBrowser(WM_LBUTTONDOWN));
    EXPECT_TRUE(ReachedBrowser(WM_MOUSEMOVE));
    EXPECT_TRUE(ReachedBrowser(WM_LBUTTONUP));
}

TEST_F(HostWindow, CapturedPixelsAreWhatThePluginPainted) {
    int width = 0, height = 0;
    const std::vector<uint32_t> pixels = m_host.CapturePixels(&width, &height);
    EXPECT_EQ(width, 200);
    EXPECT_EQ(height, 120);
    ASSERT_EQ(pixels.size(), size_t(width) * size_t(height));
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), 0x20A0F0u), static_cast<long>(pixels.size()));
    // The fake paints and does not pass WM_PAINT on.
    EXPECT_FALSE(ReachedBrowser(WM_PAINT));
}

TEST_F(HostWindow, WrittenPngHoldsTheCapturedPixels) {
    const std::string path = m_page.Dir().File("shot.png");
    std::string error;
    ASSERT_TRUE(m_host.WritePng(path, &error)) << error;
    StoredPng png;
    ASSERT_TRUE(ReadStoredPng(m_page.FileText("shot.png"), &png, &error)) << error;
    EXPECT_EQ(png.width, 200);
    EXPECT_EQ(png.height, 120);
    EXPECT_EQ(png.pixels, m_host.CapturePixels());
}

TEST_F(HostWindow, ClosingTheFrameDestroysThePluginAndEndsTheLoop) {
    HWND frame = m_host.FrameWindow();
    ASSERT_TRUE(PostMessageA(frame, WM_CLOSE, 0, 0));
    m_host.RunUntilPageClosed();
    EXPECT_FALSE(m_host.PageOpen());
    EXPECT_FALSE(IsWindow(frame));
    EXPECT_GE(FindLine(PluginLog(m_host), "NPP_Destroy saved="), 0);
}

}  // namespace
}  // namespace zel::test
