#include "moviegen.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "decoded_jpeg.h"
#include "description.h"
#include "temp_dir.h"

namespace zel::moviegen {
namespace {

MovieOptions SmallGrid(int rows, int cols, bool wrapCols, bool wrapRows) {
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

// The control opens morph files relative to its current folder, so reading a
// description back as the control does happens from the movie's folder.
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
        {3, 1, false, true,
         "3 32 24 0\n"
         "v0_0.jpg 1 2 -1 -1\n"
         "v1_0.jpg 2 0 -1 -1\n"
         "v2_0.jpg 0 1 -1 -1\n"},
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
    int cols;
    bool wrapCols;
    int flag;
    const char* text;  // after the view records
};

TEST(moviegen_Description, MorphSectionListsEachHorizontallyAdjacentPairOnce) {
    const MorphCase cases[] = {
        {3, true, 0, "3\nmorph_r0_c00.txt 0 1\nmorph_r0_c01.txt 1 2\nmorph_r0_c02.txt 2 0\n"},
        {3, false, 0, "2\nmorph_r0_c00.txt 0 1\nmorph_r0_c01.txt 1 2\n"},
        {2, true, 0, "1\nmorph_r0_c00.txt 0 1\n"},
        {1, true, 7, "1\nmorph_r0_c00.txt 0 0\n"},
        {1, false, 0, "0\n"},
    };
    for (const MorphCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.cols) + (c.wrapCols ? " wrapping" : "") + " columns");
        MovieOptions options = SmallGrid(1, c.cols, c.wrapCols, false);
        options.flag = c.flag;
        options.morph = true;
        std::istringstream text(DescriptionText(options));
        int views = 0, width = 0, height = 0, flag = 0;
        text >> views >> width >> height >> flag;
        EXPECT_EQ(flag, c.flag == 0 ? 1 : c.flag);
        std::string line;
        for (int i = 0; i <= views; ++i) std::getline(text, line);  // the header's end and the records
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(text), std::istreambuf_iterator<char>()), c.text);
    }
    MovieOptions twoRows = SmallGrid(2, 2, false, false);
    twoRows.morph = true;
    EXPECT_NE(DescriptionText(twoRows).find("\n2\nmorph_r0_c00.txt 0 1\nmorph_r1_c00.txt 2 3\n"), std::string::npos);
}

TEST(moviegen_Description, ViewNamesTakeTheRowThenTheColumn) {
    const MovieOptions defaults;
    EXPECT_EQ(ViewName(defaults, 2, 7), "view_r2_c07.jpg");
    EXPECT_EQ(ViewName(defaults, 1, 11), "view_r1_c11.jpg");
    MovieOptions options;
    options.viewPattern = "%%%03d-%d.jpg";
    EXPECT_EQ(ViewName(options, 4, 12), "%004-12.jpg");
    for (const char* unusable : {"%d.jpg", "%d_%d_%d.jpg", "%s_%d_%d", "%d_%x", "%d_%d%", "%d_%100d"}) {
        options.viewPattern = unusable;
        EXPECT_EQ(ViewName(options, 0, 0), "") << unusable;
    }
}

struct RefusalCase {
    const char* what;
    void (*change)(MovieOptions&);
    const char* reason;  // part of the error
};

TEST(moviegen_Options, RefusesWhatTheViewerCouldNotUse) {
    const RefusalCase cases[] = {
        {"no rows", [](MovieOptions& o) { o.rows = 0; }, "rows must be from 1 to 64"},
        {"65 columns", [](MovieOptions& o) { o.cols = 65; }, "columns must be from 1 to 64"},
        {"11 wide", [](MovieOptions& o) { o.width = 11; }, "width must be from 12 to 4096"},
        {"4097 high", [](MovieOptions& o) { o.height = 4097; }, "height must be from 12 to 4096"},
        {"quality 0", [](MovieOptions& o) { o.jpeg.quality = 0; }, "quality must be from 1 to 100"},
        {"negative restart", [](MovieOptions& o) { o.jpeg.restartRows = -1; }, "restart rows"},
        {"one conversion", [](MovieOptions& o) { o.viewPattern = "v%d.jpg"; }, "two %d conversions"},
        {"white space", [](MovieOptions& o) { o.viewPattern = "v %d_%d.jpg"; }, "without white space"},
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
        {"no description name", [](MovieOptions& o) { o.descriptionName.clear(); }, "plain file name"},
    };
    test::TempDir dir;
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.what);
        MovieOptions options = SmallGrid(2, 3, true, false);
        c.change(options);
        std::string error;
        EXPECT_FALSE(ValidateOptions(options, &error));
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
        std::string writeError;
        EXPECT_EQ(WriteMovie(dir.File("movie"), options, &writeError), "");
        EXPECT_EQ(writeError, error);
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("movie")));
    EXPECT_TRUE(ValidateOptions(MovieOptions(), nullptr));
    MovieOptions limits = SmallGrid(64, 1, false, false);
    limits.width = 4096;
    limits.height = 12;
    limits.viewPattern = std::string(73, 'v') + "%d%02d.x";  // 79 characters at row 63
    EXPECT_TRUE(ValidateOptions(limits, nullptr));
}

TEST(moviegen_WriteMovie, TheDescriptionAndMorphFilesReadBackInBothDialects) {
    test::TempDir dir;
    MovieOptions options = SmallGrid(2, 4, true, false);
    options.width = 48;
    options.height = 36;
    options.morph = true;
    std::string error;
    const std::string path = WriteMovie(dir.File("movie"), options, &error);
    ASSERT_EQ(path, (dir.Path() / "movie" / "movie.zel").string()) << error;

    const DescriptionRead plugin = ReadDescriptionFile(path, Dialect::Plugin);
    ASSERT_EQ(plugin.status, ReadStatus::Ok) << DescribeProblem(plugin.problem);
    EXPECT_EQ(plugin.table.viewCount, 8);
    EXPECT_EQ(plugin.table.flag, 1);
    for (const std::string& name : plugin.table.names) {
        const test::DecodedJpeg view = test::DecodeJpegFile((dir.Path() / "movie" / name).string());
        EXPECT_TRUE(view.ok) << name << ": " << view.error;
        EXPECT_EQ(view.warnings, 0) << name;
    }

    InFolder inMovie(dir.Path() / "movie");
    const DescriptionRead control = ReadDescriptionFile(path, Dialect::Control);
    ASSERT_EQ(control.status, ReadStatus::Ok) << DescribeProblem(control.problem);
    EXPECT_TRUE(control.morphProblems.empty());
    ASSERT_EQ(control.table.pairs.size(), 8u);
    for (const MorphPair& pair : control.table.pairs) {
        EXPECT_EQ(pair.triangles.size(), 4u) << pair.path;
        EXPECT_NE(pair.background, (std::array<int32_t, 3>{0, 0, 0})) << pair.path;
        EXPECT_EQ(control.table.Neighbour(pair.viewA, kSlotRight), pair.viewB) << pair.path;
    }
}

TEST(moviegen_WriteMovie, MorphFilesFollowTheFormatAndTrackTheMarker) {
    test::TempDir dir;
    MovieOptions options = SmallGrid(1, 6, false, false);
    options.width = 64;
    options.height = 48;
    options.morph = true;
    std::string error;
    ASSERT_NE(WriteMovie(dir.Path().string(), options, &error), "") << error;
    for (int col = 0; col < 5; ++col) {
        const std::string name = "morph_r0_c0" + std::to_string(col) + ".txt";
        SCOPED_TRACE(name);
        std::istringstream lines(dir.Read(name));
        std::vector<std::array<int, 4>> correspondences;
        int triangles = 0, backgrounds = 0;
        std::string line;
        while (std::getline(lines, line)) {
            std::istringstream words(line);
            std::string keyword, rest;
            words >> keyword;
            if (keyword == "CORR") {
                std::array<int, 4> c{};
                ASSERT_TRUE(words >> c[0] >> c[1] >> c[2] >> c[3]) << line;
                for (int i = 0; i < 4; ++i) {
                    EXPECT_GE(c[i], 0) << line;
                    EXPECT_LT(c[i], i % 2 == 0 ? options.width : options.height) << line;
                }
                correspondences.push_back(c);
            } else if (keyword == "POLY") {
                int corners[3];
                ASSERT_TRUE(words >> corners[0] >> corners[1] >> corners[2]) << line;
                for (int corner : corners) {
                    EXPECT_GE(corner, 0) << line;
                    EXPECT_LT(size_t(corner), correspondences.size()) << line;
                }
                ++triangles;
            } else {
                ASSERT_EQ(keyword, "BACKGROUND") << line;
                int r = -1, g = -1, b = -1;
                ASSERT_TRUE(words >> r >> g >> b) << line;
                for (int channel : {r, g, b}) EXPECT_TRUE(channel >= 0 && channel <= 255) << line;
                ++backgrounds;
            }
            EXPECT_FALSE(words >> rest) << "extra words in " << line;
        }
        EXPECT_GE(correspondences.size(), 3u);
        EXPECT_GE(triangles, 1);
        EXPECT_EQ(backgrounds, 1);
        // Some correspondence moves between the views: the object turned.
        bool moved = false;
        for (const auto& c : correspondences) moved = moved || c[0] != c[2] || c[1] != c[3];
        EXPECT_TRUE(moved);
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("morph_r0_c05.txt")));
}

TEST(moviegen_WriteMovie, SameOptionsGiveByteIdenticalFiles) {
    test::TempDir dir;
    MovieOptions options = SmallGrid(2, 3, true, false);
    options.width = 40;
    options.height = 30;
    options.morph = true;
    options.jpeg.progressive = true;
    std::string error;
    ASSERT_NE(WriteMovie(dir.File("a"), options, &error), "") << error;
    ASSERT_NE(WriteMovie(dir.File("b"), options, &error), "") << error;
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path() / "a")) {
        const std::filesystem::path twin = dir.Path() / "b" / entry.path().filename();
        ASSERT_TRUE(std::filesystem::exists(twin)) << twin;
        EXPECT_EQ(FileBytes(entry.path()), FileBytes(twin)) << entry.path().filename();
        ++files;
    }
    EXPECT_EQ(files, 6 + 6 + 1);  // views, morph files, the description
}

struct JpegCase {
    const char* what;
    JpegOptions jpeg;
    int components;
};

TEST(moviegen_WriteJpeg, TheOptionsReachTheFile) {
    const JpegCase cases[] = {
        {"baseline", {85, false, false, 0}, 3},
        {"progressive", {85, true, false, 0}, 3},
        {"grayscale", {85, false, true, 0}, 1},
        {"progressive grayscale", {60, true, true, 0}, 1},
        {"restart every row", {85, false, false, 1}, 3},
        {"restart every 2 rows, progressive", {85, true, false, 2}, 3},
    };
    test::TempDir dir;
    MovieOptions options;
    options.width = 100;  // not a multiple of the 16-pixel MCU
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
        if (c.jpeg.restartRows == 0) {
            EXPECT_EQ(decoded.restartInterval, 0u);
            EXPECT_EQ(decoded.restartMarkers, 0);
        } else {
            // Colour is subsampled into 16-pixel MCUs, grayscale into 8.
            const int mcuSide = c.components == 3 ? 16 : 8;
            const unsigned mcusPerRow = unsigned((100 + mcuSide - 1) / mcuSide);
            EXPECT_EQ(decoded.restartInterval, mcusPerRow * unsigned(c.jpeg.restartRows));
            EXPECT_GT(decoded.restartMarkers, 0);
        }
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
    ASSERT_TRUE(decoded.ok) << decoded.error;
    ASSERT_EQ(decoded.pixels.size(), image.pixels.size());
    double difference = 0;
    for (size_t i = 0; i < image.pixels.size(); ++i) difference += std::abs(decoded.pixels[i] - image.pixels[i]);
    EXPECT_LT(difference / double(image.pixels.size()), 4.0);
    EXPECT_LT(std::filesystem::file_size(dir.File("q20.jpg")), std::filesystem::file_size(dir.File("q95.jpg")));
}

TEST(moviegen_WriteJpeg, RefusesAnImageWhoseSizeDoesNotMatchAndAFolderItCannotWrite) {
    test::TempDir dir;
    RgbImage image{4, 4, std::vector<uint8_t>(4 * 4 * 3 - 1)};
    std::string error;
    EXPECT_FALSE(WriteJpeg(dir.File("short.jpg"), image, {}, &error));
    EXPECT_NE(error.find("4 x 4"), std::string::npos) << error;
    EXPECT_FALSE(std::filesystem::exists(dir.File("short.jpg")));

    image.pixels.push_back(0);
    error.clear();
    EXPECT_FALSE(WriteJpeg(dir.File("missing/view.jpg"), image, {}, &error));
    EXPECT_NE(error.find("cannot create"), std::string::npos) << error;
}

TEST(moviegen_WriteMovie, SaysWhyWhenTheFolderCannotBeMade) {
    test::TempDir dir;
    dir.Write("file", "not a folder");
    std::string error;
    EXPECT_EQ(WriteMovie(dir.File("file") + "/movie", SmallGrid(1, 2, true, false), &error), "");
    EXPECT_NE(error.find("cannot create the folder"), std::string::npos) << error;
}

}  // namespace
}  // namespace zel::moviegen
