// The real NpZel.dll in the browser host: a moviegen movie embedded in a page
// loads to the end ("Done !!") and the window shows a picture, not a blank.
#include <gtest/gtest.h>

#include <algorithm>

#include "browser_host.h"
#include "moviegen.h"
#include "temp_dir.h"
#include "wine_path.h"

namespace zel::test {
namespace {

TEST(HostNpZel, ShowsAMoviegenMovieToTheEnd) {
    TempDir dir;
    moviegen::MovieOptions movie;
    movie.rows = 1;
    movie.cols = 12;
    std::string error;
    ASSERT_FALSE(moviegen::WriteMovie(dir.Path().string(), movie, &error).empty()) << error;
    const std::string page = dir.Write(
        "page.html", R"(<html><body><embed src="movie.zel" type="application/x-Zelscope" width=320 height=240></body></html>)");

    host::BrowserHost browser;
    ASSERT_TRUE(browser.LoadPlugin(WindowsPath(ZEL_NPZEL_PATH), &error)) << error;
    ASSERT_TRUE(browser.OpenPage(page, &error)) << error;
    ASSERT_TRUE(browser.PumpUntilIdle(30000));
    const auto& statuses = browser.Statuses();
    EXPECT_NE(std::find(statuses.begin(), statuses.end(), "Done !!"), statuses.end())
        << "statuses seen: " << ::testing::PrintToString(statuses);
    const std::vector<uint32_t> pixels = browser.CapturePixels();
    ASSERT_FALSE(pixels.empty());
    EXPECT_NE(std::count(pixels.begin(), pixels.end(), pixels.front()), static_cast<long>(pixels.size()))
        << "the plug-in window is one colour";
}

}  // namespace
}  // namespace zel::test
