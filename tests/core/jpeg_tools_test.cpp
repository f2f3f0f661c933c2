// The decoder on files made by Debian's own libjpeg-turbo programs (cjpeg,
// jpegtran), as an author's toolchain would make them. Native only: the
// programs are Linux ones.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "collecting_sink.h"
#include "jpeg_decode.h"
#include "moviegen.h"
#include "temp_dir.h"

namespace zel {
namespace {

using ::testing::internal::CaptureStderr;
using ::testing::internal::GetCapturedStderr;

void RunTool(const std::string& command) { ASSERT_EQ(std::system(command.c_str()), 0) << command; }

TEST(DecodeJpegFile, ReadsWhatCjpegAndJpegtranWrite) {
    test::TempDir dir;
    moviegen::MovieOptions options;
    options.width = 96;
    options.height = 64;
    const moviegen::RgbImage image = moviegen::RenderView(options, 0, 3);
    {
        std::ofstream ppm(dir.File("view.ppm"), std::ios::binary);
        ppm << "P6\n96 64\n255\n";
        ppm.write(reinterpret_cast<const char*>(image.pixels.data()), std::streamsize(image.pixels.size()));
    }
    const std::string ppm = "'" + dir.File("view.ppm") + "'";
    auto out = [&](const char* name) { return "'" + dir.File(name) + "'"; };
    RunTool("cjpeg -quality 90 -outfile " + out("baseline.jpg") + " " + ppm);
    RunTool("cjpeg -grayscale -outfile " + out("gray.jpg") + " " + ppm);
    RunTool("cjpeg -optimize -restart 1 -outfile " + out("restart.jpg") + " " + ppm);
    RunTool("jpegtran -progressive -outfile " + out("progressive.jpg") + " " + out("baseline.jpg"));
    RunTool("jpegtran -arithmetic -outfile " + out("arithmetic.jpg") + " " + out("baseline.jpg"));

    for (const char* name : {"baseline.jpg", "gray.jpg", "restart.jpg", "progressive.jpg", "arithmetic.jpg"}) {
        SCOPED_TRACE(name);
        test::CollectingSink sink;
        CaptureStderr();
        EXPECT_EQ(DecodeJpegFile(dir.File(name), sink, test::kWholePicture), 1);
        EXPECT_EQ(GetCapturedStderr(), "");
        EXPECT_EQ(sink.width, 96);
        EXPECT_EQ(sink.height, 64);
        EXPECT_EQ(sink.rowsDone, 64);
        EXPECT_EQ(sink.Grey(), std::string(name) == "gray.jpg");
    }
}

}  // namespace
}  // namespace zel
