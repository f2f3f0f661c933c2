// zelmake's library: the grid wiring, name patterns, names relative to the
// description, and descriptions written for moviegen's pictures that both
// shells' readers accept with the wiring intended.
#include "make_movie.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "authoring_movie.h"
#include "view_names.h"
#include "description.h"
#include "moviegen.h"
#include "movie_check.h"

namespace zel::authoring {
namespace {

using test::TempDir;

struct WiringCase {
    GridShape shape;
    std::vector<ViewSlots> slots;  // down, up, right, left
};

TEST(authoring_Grid, SlotsFollowTheGridWithOrWithoutWrapAndReversed) {
    const WiringCase cases[] = {
        {{2, 3, false, false, false},
         {{3, -1, 1, -1}, {4, -1, 2, 0}, {5, -1, -1, 1}, {-1, 0, 4, -1}, {-1, 1, 5, 3}, {-1, 2, -1, 4}}},
        {{2, 3, true, false, false},
         {{3, -1, 1, 2}, {4, -1, 2, 0}, {5, -1, 0, 1}, {-1, 0, 4, 5}, {-1, 1, 5, 3}, {-1, 2, 3, 4}}},
        {{2, 3, false, true, false},
         {{3, 3, 1, -1}, {4, 4, 2, 0}, {5, 5, -1, 1}, {0, 0, 4, -1}, {1, 1, 5, 3}, {2, 2, -1, 4}}},
        {{2, 3, false, false, true},
         {{3, -1, -1, 1}, {4, -1, 0, 2}, {5, -1, 1, -1}, {-1, 0, -1, 4}, {-1, 1, 3, 5}, {-1, 2, 4, -1}}},
        {{1, 3, true, false, true}, {{-1, -1, 2, 1}, {-1, -1, 0, 2}, {-1, -1, 1, 0}}},
        {{1, 1, true, true, false}, {{0, 0, 0, 0}}},
    };
    for (const WiringCase& c : cases) {
        EXPECT_EQ(WireGrid(c.shape), c.slots)
            << c.shape.rows << " x " << c.shape.cols << " wrapCols " << c.shape.wrapCols << " wrapRows "
            << c.shape.wrapRows << " reverse " << c.shape.reverse;
    }
}

TEST(authoring_Grid, PatternsTakeTheRowThenTheColumn) {
    std::string name, error;
    ASSERT_TRUE(moviegen::ExpandNamePattern("view_r%d_c%02d.jpg", 2, 7, &name, &error)) << error;
    EXPECT_EQ(name, "view_r2_c07.jpg");
    ASSERT_TRUE(moviegen::ExpandNamePattern("%03d-%d%%.jpg", 4, 11, &name, &error)) << error;
    EXPECT_EQ(name, "004-11%.jpg");
    for (const char* bad : {"v%d.jpg", "v%d%d%d.jpg", "v%s_%d.jpg", "v%d_%d%", "v%d_%123d.jpg"}) {
        EXPECT_FALSE(moviegen::ExpandNamePattern(bad, 0, 0, &name, &error)) << bad;
        EXPECT_NE(error.find(bad), std::string::npos) << error;
    }
}

TEST(authoring_Make, NamesCountFromTheDescriptionsFolder) {
    EXPECT_EQ(NameFromDescription("/m/movie.zel", "/m/v.jpg"), "v.jpg");
    EXPECT_EQ(NameFromDescription("/m/movie.zel", "/m/views/v.jpg"), "views/v.jpg");
    EXPECT_EQ(NameFromDescription("/m/sub/movie.zel", "/m/v.jpg"), "../v.jpg");
    EXPECT_EQ(NameFromDescription("/m/./movie.zel", "/m/x/../v.jpg"), "v.jpg");
}

moviegen::MovieOptions Grid(int rows, int cols, bool wrapCols, bool wrapRows) {
    moviegen::MovieOptions options;
    options.rows = rows;
    options.cols = cols;
    options.width = 32;
    options.height = 24;
    options.wrapCols = wrapCols;
    options.wrapRows = wrapRows;
    return options;
}

// Makes the description for moviegen's movie in `dir` and returns both readers'
// results; the pictures are found by moviegen's own name pattern.
void MakeFor(const TempDir& dir, const moviegen::MovieOptions& movie, const GridShape& shape, bool crossfade,
             DescriptionRead* plugin, DescriptionRead* control) {
    std::string error;
    ASSERT_FALSE(moviegen::WriteMovie(dir.Path().string(), movie, &error).empty()) << error;
    MakeOptions options;
    options.shape = shape;
    options.crossfade = crossfade;
    options.output = dir.File("made.zel");
    options.pattern = movie.viewPattern;
    options.folder = dir.Path().string();
    std::vector<std::string> problems;
    ASSERT_TRUE(MakeMovie(options, &problems)) << (problems.empty() ? "" : problems[0]);
    *plugin = ReadDescriptionFile(options.output, Dialect::Plugin);
    *control = ReadDescriptionFile(options.output, Dialect::Control);
}

TEST(authoring_Make, DescriptionsForMoviegenPicturesMatchMoviegensOwnWiring) {
    struct Case {
        int rows, cols;
        bool wrapCols, wrapRows;
    };
    for (const Case c : {Case{3, 4, true, false}, Case{2, 5, false, false}, Case{3, 3, true, true}}) {
        SCOPED_TRACE(std::to_string(c.rows) + " x " + std::to_string(c.cols));
        TempDir dir;
        const moviegen::MovieOptions movie = Grid(c.rows, c.cols, c.wrapCols, c.wrapRows);
        DescriptionRead plugin, control;
        MakeFor(dir, movie, {c.rows, c.cols, c.wrapCols, c.wrapRows, false}, false, &plugin, &control);
        ASSERT_EQ(plugin.status, ReadStatus::Ok) << DescribeProblem(plugin.problem);
        ASSERT_EQ(control.status, ReadStatus::Ok) << DescribeProblem(control.problem);
        const DescriptionRead reference = ReadDescriptionFile(dir.File("movie.zel"), Dialect::Plugin);
        ASSERT_EQ(reference.status, ReadStatus::Ok);
        EXPECT_EQ(plugin.table.names, reference.table.names);
        EXPECT_EQ(plugin.table.slots, reference.table.slots);
        EXPECT_EQ(control.table.slots, reference.table.slots);
        EXPECT_EQ(plugin.table.width, 32);
        EXPECT_EQ(plugin.table.height, 24);
        EXPECT_EQ(plugin.table.flag, 0);
        EXPECT_EQ(CheckMovie(dir.File("made.zel")).ExitStatus(), kExitClean);
    }
}

TEST(authoring_Make, ReversedAndCrossfadingDescriptionsSatisfyBothReaders) {
    TempDir dir;
    DescriptionRead plugin, control;
    MakeFor(dir, Grid(2, 4, true, false), {2, 4, true, false, true}, true, &plugin, &control);
    ASSERT_EQ(plugin.status, ReadStatus::Ok) << DescribeProblem(plugin.problem);
    ASSERT_EQ(control.status, ReadStatus::Ok) << DescribeProblem(control.problem);
    EXPECT_EQ(plugin.table.flag, 1);
    EXPECT_TRUE(control.table.pairs.empty());
    for (int32_t view = 0; view < 8; ++view) {
        const int32_t row = view / 4, col = view % 4;
        EXPECT_EQ(plugin.table.Neighbour(view, kSlotRight), row * 4 + (col + 3) % 4) << view;
        EXPECT_EQ(plugin.table.Neighbour(view, kSlotLeft), row * 4 + (col + 1) % 4) << view;
    }
}

TEST(authoring_Make, PicturesOfAnotherSizeOrNoPictureWriteNothing) {
    TempDir dir;
    test::WritePicture(dir, "a.jpg", 32, 24);
    test::WritePicture(dir, "b.jpg", 32, 20);
    dir.Write("c.jpg", "not a picture");
    MakeOptions options;
    options.shape = {2, 2, false, false, false};
    options.output = dir.File("movie.zel");
    options.pictures = {dir.File("a.jpg"), dir.File("b.jpg"), dir.File("c.jpg"), dir.File("d.jpg")};
    std::vector<std::string> problems;
    EXPECT_FALSE(MakeMovie(options, &problems));
    ASSERT_EQ(problems.size(), 3u);
    EXPECT_NE(problems[0].find("b.jpg: the picture is 32 x 20, but the first picture"), std::string::npos)
        << problems[0];
    EXPECT_NE(problems[1].find("c.jpg: not a JPEG"), std::string::npos) << problems[1];
    EXPECT_NE(problems[2].find("d.jpg: no such picture"), std::string::npos) << problems[2];
    EXPECT_FALSE(std::filesystem::exists(options.output));
}

TEST(authoring_Make, NamesWithWhiteSpaceCannotBeWritten) {
    TempDir dir;
    test::WritePicture(dir, "a b.jpg", 32, 24);
    MakeOptions options;
    options.output = dir.File("movie.zel");
    options.pictures = {dir.File("a b.jpg")};
    std::vector<std::string> problems;
    EXPECT_FALSE(MakeMovie(options, &problems));
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("white space"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(options.output));
}

}  // namespace
}  // namespace zel::authoring
