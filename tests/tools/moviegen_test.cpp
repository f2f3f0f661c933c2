#include "moviegen.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "decoded_jpeg.h"
#include "description.h"
#include "temp_dir.h"

namespace zel::moviegen {
namespace {

MovieOptions SmallGrid(int rows, int cols, bool wrapCols, bool wrapRows = false) {
    MovieOptions options;
    options.rows = rows;
    options.cols = cols;
    options.width = 32;
    options.height = 24;
    options.wrapCols = wrapCols;
    options.wrapRows = wrapRows;
    options.viewPattern = "v%d_%d.jpg";
    return options;
}

std::string FileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The control opens morph files relative to its current folder.
class InFolder {
public:
    explicit InFolder(const std::filesystem::path& folder) : m_previous(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~InFolder() { std::filesystem::current_path(m_previous); }
    InFolder(const InFolder&) = delete;
    InFolder& operator=(const InFolder&) = delete;

private:
    std::filesystem::path m_previous;
};

struct GridCase {
    int rows, cols;
    bool wrapCols, wrapRows;
    const char* text;
};

TEST(moviegen_Description, SlotsLeadDownUpRightAndLeftWithOrWithoutWrapping) {
    const GridCase cases[] = {
        {2, 3, false, false,
         "6 32 24 0\n"
         "v0_0.jpg 3 -1 1 -1\n"
         "v0_1.jpg 4 -1 2 0\n"
         "v0_2.jpg 5 -1 -1 1\n"
         "v1_0.jpg -1 0 4 -1\n"
         "v1_1.jpg -1 1 5 3\n"
         "v1_2.jpg -1 2 -1 4\n"},
        {2, 3, true, false,
         "6 32 24 0\n"
         "v0_0.jpg 3 -1 1 2\n"
         "v0_1.jpg 4 -1 2 0\n"
         "v0_2.jpg 5 -1 0 1\n"
         "v1_0.jpg -1 0 4 5\n"
         "v1_1.jpg -1 1 5 3\n"
         "v1_2.jpg -1 2 3 4\n"},
        {3, 2, true, true,
         "6 32 24 0\n"
         "v0_0.jpg 2 4 1 1\n"
         "v0_1.jpg 3 5 0 0\n"
         "v1_0.jpg 4 0 3 3\n"
         "v1_1.jpg 5 1 2 2\n"
         "v2_0.jpg 0 2 5 5\n"
         "v2_1.jpg 1 3 4 4\n"},
        {3, 1, false, true, "3 32 24 0\nv0_0.jpg 1 2 -1 -1\nv1_0.jpg 2 0 -1 -1\nv2_0.jpg 0 1 -1 -1\n"},
        {1, 1, true, false, "1 32 24 0\nv0_0.jpg -1 -1 0 0\n"},
        {1, 1, false, false, "1 32 24 0\nv0_0.jpg -1 -1 -1 -1\n"},
    };
    for (const GridCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.rows) + " x " + std::to_string(c.cols) + (c.wrapCols ? " wrapCols" : "") +
                     (c.wrapRows ? " wrapRows" : ""));
        EXPECT_EQ(DescriptionText(SmallGrid(c.rows, c.cols, c.wrapCols, c.wrapRows)), c.text);
    }
}

struct MorphCase {
    int rows, cols;
    bool wrapCols;
    int flag;
    const char* header;
    const char* section;  // after the records
};

TEST(moviegen_Description, MorphSectionListsEachHorizontallyAdjacentPairOnce) {
    const MorphCase cases[] = {
        {1, 3, true, 0, "3 32 24 1\n", "\n3\nmorph_r0_c00.txt 0 1\nmorph_r0_c01.txt 1 2\nmorph_r0_c02.txt 2 0\n"},
        {1, 3, false, 0, "3 32 24 1\n", "\n2\nmorph_r0_c00.txt 0 1\nmorph_r0_c01.txt 1 2\n"},
        {2, 2, true, 0, "4 32 24 1\n", "\n2\nmorph_r0_c00.txt 0 1\nmorph_r1_c00.txt 2 3\n"},
        {1, 1, true, 7, "1 32 24 7\n", "\n1\nmorph_r0_c00.txt 0 0\n"},
        {1, 1, false, 0, "1 32 24 1\n", "\n0\n"},
    };
    for (const MorphCase& c : cases) {
        MovieOptions options = SmallGrid(c.rows, c.cols, c.wrapCols);
        options.flag = c.flag;
        options.morph = true;
        const std::string text = DescriptionText(options);
        const std::string section(c.section);
        EXPECT_EQ(text.substr(0, std::string(c.header).size()), c.header);
        ASSERT_GE(text.size(), section.size());
        EXPECT_EQ(text.substr(text.size() - section.size()), section) << text;
    }
}

TEST(moviegen_Description, ViewNamesTakeTheRowThenTheColumn) {
    EXPECT_EQ(ViewName(MovieOptions(), 2, 7), "view_r2_c07.jpg");
    MovieOptions options;
    options.viewPattern = "%%%03d-%d.jpg";
    EXPECT_EQ(ViewName(options, 4, 12), "%004-12.jpg");
    options.viewPattern = "%d_%s.jpg";
    EXPECT_EQ(ViewName(options, 4, 12), "");
}

struct RefusalCase {
    const char* what;
    void (*change)(MovieOptions&);
    const char* reason;  // part of the error
};

TEST(moviegen_Options, RefusesWhatTheViewerCouldNotUse) {
    const RefusalCase cases[] = {
        {"no rows", [](MovieOptions& o) { o.rows = 0; }, "rows must be from 1 to 64"},
        {"11 wide", [](MovieOptions& o) { o.width = 11; }, "width must be from 12 to 4096"},
        {"quality 0", [](MovieOptions& o) { o.jpeg.quality = 0; }, "quality must be from 1 to 100"},
        {"negative restart", [](MovieOptions& o) { o.jpeg.restartRows = -1; }, "restart rows"},
        {"one conversion", [](MovieOptions& o) { o.viewPattern = "v%d.jpg"; }, "two %d conversions"},
        {"space padding", [](MovieOptions& o) { o.viewPattern = "v%d_%3d.jpg"; }, "without white space"},
        {"a folder", [](MovieOptions& o) { o.viewPattern = "sub/v%d_%d.jpg"; }, "without white space or folders"},
        {"81 characters",
         [](MovieOptions& o) { o.viewPattern = std::string(75, 'v') + "%d%d.jpg"; },
         "1 to 79 characters"},
        {"two views one name",
         [](MovieOptions& o) {
             o.rows = o.cols = 12;
             o.viewPattern = "%d%d.jpg";  // row 1, column 10 and row 11, column 0
         },
         "names two views \"110.jpg\""},
        {"description in a folder", [](MovieOptions& o) { o.descriptionName = "a/movie.zel"; }, "plain file name"},
    };
    test::TempDir dir;
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.what);
        MovieOptions options = SmallGrid(2, 3, true);
        c.change(options);
        std::string error, writeError;
        EXPECT_FALSE(ValidateOptions(options, &error));
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
        EXPECT_EQ(WriteMovie(dir.File("movie"), options, &writeError), "");
        EXPECT_EQ(writeError, error);
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("movie")));
    MovieOptions limits = SmallGrid(64, 1, false);
    limits.width = 4096;
    limits.height = 12;
    limits.viewPattern = std::string(73, 'v') + "%d%02d.x";  // 79 characters at row 63
    EXPECT_TRUE(ValidateOptions(limits, nullptr));
}

TEST(moviegen_WriteMovie, ViewsDescriptionAndMorphFilesReadBackAsTheViewerReadsThem) {
    test::TempDir dir;
    MovieOptions options = SmallGrid(2, 4, true);
    options.width = 48;
    options.height = 36;
    options.morph = true;
    std::string error;
    const std::string path = WriteMovie(dir.File("movie"), options, &error);
    ASSERT_EQ(path, (dir.Path() / "movie" / "movie.zel").string()) << error;

    const DescriptionRead plugin = ReadDescriptionFile(path, Dialect::Plugin);
    ASSERT_EQ(plugin.status, ReadStatus::Ok) << DescribeProblem(plugin.problem);
    EXPECT_EQ(plugin.table.viewCount, 8);
    for (const std::string& name : plugin.table.names) {
        const test::DecodedJpeg view = test::DecodeJpegFile((dir.Path() / "movie" / name).string());
        EXPECT_TRUE(view.ok && view.warnings == 0) << name << ": " << view.error;
    }

    InFolder inMovie(dir.Path() / "movie");
    const DescriptionRead control = ReadDescriptionFile(path, Dialect::Control);
    ASSERT_EQ(control.status, ReadStatus::Ok) << DescribeProblem(control.problem);
    EXPECT_TRUE(control.morphProblems.empty());
    ASSERT_EQ(control.table.pairs.size(), 8u);
    for (const MorphPair& pair : control.table.pairs) {
        SCOPED_TRACE(pair.path);
        EXPECT_EQ(control.table.Neighbour(pair.viewA, kSlotRight), pair.viewB);
        for (int32_t channel : pair.background) EXPECT_TRUE(channel > 0 && channel <= 255) << channel;
        ASSERT_FALSE(pair.triangles.empty());
        bool moved = false;  // the object turned, so some point moves between the views
        for (const MorphTriangle& triangle : pair.triangles) {
            for (const Correspondence& c : triangle.vertices) {
                const auto [x1, y1, x2, y2] = c.values;
                EXPECT_TRUE(x1 >= 0 && x2 >= 0 && x1 < 48 && x2 < 48 && y1 >= 0 && y2 >= 0 && y1 < 36 && y2 < 36);
                moved = moved || x1 != x2 || y1 != y2;
            }
        }
        EXPECT_TRUE(moved);
    }
}

TEST(moviegen_WriteMovie, SameOptionsGiveByteIdenticalFiles) {
    test::TempDir dir;
    MovieOptions options = SmallGrid(2, 3, true);
    options.morph = true;
    options.jpeg.progressive = true;
    std::string error;
    ASSERT_NE(WriteMovie(dir.File("a"), options, &error), "") << error;
    ASSERT_NE(WriteMovie(dir.File("b"), options, &error), "") << error;
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path() / "a")) {
        EXPECT_EQ(FileBytes(entry.path()), FileBytes(dir.Path() / "b" / entry.path().filename()))
            << entry.path().filename();
        ++files;
    }
    EXPECT_EQ(files, 6 + 6 + 1);  // views, morph files, the description
}

TEST(moviegen_WriteMovie, SaysWhyWhenItCannotWrite) {
    test::TempDir dir;
    dir.Write("file", "not a folder");
    std::string error;
    EXPECT_EQ(WriteMovie(dir.File("file") + "/movie", SmallGrid(1, 2, true), &error), "");
    EXPECT_NE(error.find("cannot create the folder"), std::string::npos) << error;

    const RgbImage shortImage{4, 4, std::vector<uint8_t>(4 * 4 * 3 - 1)};
    EXPECT_FALSE(WriteJpeg(dir.File("short.jpg"), shortImage, {}, &error));
    EXPECT_NE(error.find("4 x 4"), std::string::npos) << error;
    EXPECT_FALSE(std::filesystem::exists(dir.File("short.jpg")));
}

struct JpegCase {
    const char* what;
    JpegOptions jpeg;
    int components;
    unsigned restartInterval;  // MCUs: 16 pixels wide in colour, 8 in grayscale
};

TEST(moviegen_WriteJpeg, TheOptionsReachTheFile) {
    const JpegCase cases[] = {
        {"baseline", {85, false, false, 0}, 3, 0},
        {"progressive", {85, true, false, 0}, 3, 0},
        {"grayscale", {85, false, true, 0}, 1, 0},
        {"progressive grayscale", {60, true, true, 0}, 1, 0},
        {"restart every row", {85, false, false, 1}, 3, 7},
        {"restart every 2 rows, grayscale", {85, false, true, 2}, 1, 26},
    };
    test::TempDir dir;
    MovieOptions options;
    options.width = 100;  // not a multiple of the MCU
    options.height = 70;
    const RgbImage image = RenderView(options, 1, 3);
    for (const JpegCase& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = dir.File(std::string(c.what) + ".jpg");
        std::string error;
        ASSERT_TRUE(WriteJpeg(path, image, c.jpeg, &error)) << error;
        const test::DecodedJpeg decoded = test::DecodeJpegFile(path);
        ASSERT_TRUE(decoded.ok) << decoded.error;
        EXPECT_EQ(decoded.warnings, 0);
        EXPECT_EQ(decoded.width, 100);
        EXPECT_EQ(decoded.height, 70);
        EXPECT_EQ(decoded.components, c.components);
        EXPECT_EQ(decoded.progressive, c.jpeg.progressive);
        EXPECT_EQ(decoded.restartInterval, c.restartInterval);
    }
}

TEST(moviegen_WriteJpeg, DecodesCloseToTheRenderedPixelsAndQualityTradesSize) {
    test::TempDir dir;
    MovieOptions options;
    options.width = 96;
    options.height = 72;
    const RgbImage image = RenderView(options, 0, 1);
    std::string error;
    ASSERT_TRUE(WriteJpeg(dir.File("q95.jpg"), image, {95, false, false, 0}, &error)) << error;
    ASSERT_TRUE(WriteJpeg(dir.File("q20.jpg"), image, {20, false, false, 0}, &error)) << error;
    const test::DecodedJpeg decoded = test::DecodeJpegFile(dir.File("q95.jpg"));
    ASSERT_EQ(decoded.pixels.size(), image.pixels.size()) << decoded.error;
    double difference = 0;
    for (size_t i = 0; i < image.pixels.size(); ++i) difference += std::abs(decoded.pixels[i] - image.pixels[i]);
    EXPECT_LT(difference / double(image.pixels.size()), 4.0);
    EXPECT_LT(std::filesystem::file_size(dir.File("q20.jpg")), std::filesystem::file_size(dir.File("q95.jpg")));
}

}  // namespace
}  // namespace zel::moviegen
