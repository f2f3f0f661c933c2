#include "description.h"

#include <gtest/gtest.h>

#include "temp_dir.h"

namespace zel {
namespace {

DescriptionRead ReadText(const std::string& text, Dialect dialect) {
    test::TempDir dir;
    return ReadDescriptionFile(dir.Write("movie.zel", text), dialect);
}

using Slots = std::array<std::vector<int32_t>, 4>;

TEST(Description, ReadsTheTwoViewExampleInBothDialects) {
    for (Dialect dialect : {Dialect::Plugin, Dialect::Control}) {
        DescriptionRead read = ReadText("2 320 240 0\nfront.jpg -1 -1 1 1\nback.jpg -1 -1 0 0\n", dialect);
        ASSERT_EQ(read.status, ReadStatus::Ok) << DescribeProblem(read.problem);
        const ViewTable& t = read.table;
        EXPECT_EQ(t.viewCount, 2);
        EXPECT_EQ(t.width, 320);
        EXPECT_EQ(t.height, 240);
        EXPECT_EQ(t.flag, 0);
        EXPECT_EQ(t.names, (std::vector<std::string>{"front.jpg", "back.jpg"}));
        EXPECT_EQ(t.slots, (Slots{{{-1, -1}, {-1, -1}, {1, 0}, {1, 0}}}));
        EXPECT_TRUE(t.pairs.empty());
        EXPECT_TRUE(read.morphProblems.empty());
    }
}

TEST(Description, LineStructureCarriesNoMeaning) {
    const std::string oneLine = "3 36 24 7 a.jpg 1 2 -1 0 b.jpg -1 0 2 2 c.jpg 0 -1 1 -1";
    const std::string scattered = "3\n36\t24\r\n7\n\na.jpg\n1 2\n-1 0 b.jpg -1 0 2 2\n\f c.jpg 0\n-1 1 -1";
    DescriptionRead a = ReadText(oneLine, Dialect::Plugin);
    DescriptionRead b = ReadText(scattered, Dialect::Plugin);
    ASSERT_EQ(a.status, ReadStatus::Ok);
    ASSERT_EQ(b.status, ReadStatus::Ok);
    EXPECT_EQ(a.table.names, b.table.names);
    EXPECT_EQ(a.table.slots, b.table.slots);
    EXPECT_EQ(a.table.slots, (Slots{{{1, -1, 0}, {2, 0, -1}, {-1, 2, 1}, {0, 2, -1}}}));
    EXPECT_EQ(a.table.flag, 7);
}

TEST(Description, AcceptsStillPicturesAndSelfNeighbours) {
    DescriptionRead read = ReadText("2 12 12 0 still.jpg -1 -1 -1 -1 self.jpg 1 1 1 1", Dialect::Control);
    ASSERT_EQ(read.status, ReadStatus::Ok);
    EXPECT_EQ(read.table.slots, (Slots{{{-1, 1}, {-1, 1}, {-1, 1}, {-1, 1}}}));
}

TEST(Description, TextAfterTheRecordsIsNotReadWhenNoMorphSectionFollows) {
    const std::string text = "1 320 240 0 a.jpg -1 -1 -1 -1 trailing garbage ~~ 1 2";
    for (Dialect dialect : {Dialect::Plugin, Dialect::Control}) {
        DescriptionRead read = ReadText(text, dialect);
        ASSERT_EQ(read.status, ReadStatus::Ok);
        EXPECT_TRUE(read.table.pairs.empty());
        EXPECT_TRUE(read.table.pairIndex[0].empty());
    }
}

TEST(Description, TheControlReadsACrossfadingPluginDescriptionAsOneWithoutMorphPairs) {
    // The flag is set, and the file ends right after the view records.
    DescriptionRead read = ReadText("1 320 240 1 a.jpg -1 -1 -1 -1\n", Dialect::Control);
    ASSERT_EQ(read.status, ReadStatus::Ok);
    EXPECT_EQ(read.table.flag, 1);
    EXPECT_TRUE(read.table.pairs.empty());
    EXPECT_TRUE(read.morphProblems.empty());
}

TEST(Description, ThePluginTreatsTheFlagAsCrossfadeAndIgnoresAMorphSection) {
    // Even a morph section the control would refuse is nothing to the plug-in.
    DescriptionRead read = ReadText("1 320 240 1 a.jpg -1 -1 -1 -1 1 missing.txt 0 9", Dialect::Plugin);
    ASSERT_EQ(read.status, ReadStatus::Ok);
    EXPECT_EQ(read.table.flag, 1);
    EXPECT_TRUE(read.table.pairs.empty());
    EXPECT_TRUE(read.morphProblems.empty());
}

TEST(Description, NameLimitsDifferByDialect) {
    auto withName = [](size_t length) {
        return "1 320 240 0 " + std::string(length, 'n') + " -1 -1 -1 -1";
    };
    EXPECT_EQ(ReadText(withName(79), Dialect::Plugin).status, ReadStatus::Ok);
    EXPECT_EQ(ReadText(withName(80), Dialect::Plugin).status, ReadStatus::Refused);
    EXPECT_EQ(ReadText(withName(127), Dialect::Control).status, ReadStatus::Ok);
    DescriptionRead refused = ReadText(withName(128), Dialect::Control);
    EXPECT_EQ(refused.status, ReadStatus::Refused);
    EXPECT_EQ(refused.problem.message, "view 0's file name is 128 characters long; at most 127 fit");
}

TEST(Description, AMissingFileCannotBeOpened) {
    test::TempDir dir;
    DescriptionRead read = ReadDescriptionFile(dir.File("absent.zel"), Dialect::Control);
    EXPECT_EQ(read.status, ReadStatus::CantOpen);
    EXPECT_TRUE(read.table.Empty());
}

struct RefusedCase {
    const char* name;
    Dialect dialect;
    std::string text;
    int line;
    std::string token;
    std::string message;
};

TEST(Description, RefusesWhatTheViewerCannotUseSafely) {
    const std::string big(1 << 20, 'x');
    const RefusedCase cases[] = {
        {"empty file", Dialect::Plugin, "", 1, "", "the file ends where the view count belongs"},
        {"short header", Dialect::Control, "2 320\n240\n", 2, "", "the file ends where the header's fourth value belongs"},
        {"no views", Dialect::Plugin, "0 320 240 0", 1, "", "the view count 0 is below 1"},
        {"negative views", Dialect::Control, "-4 320 240 0", 1, "", "the view count -4 is below 1"},
        {"narrow", Dialect::Plugin, "1 11 240 0 a.jpg -1 -1 -1 -1", 1, "",
         "the picture width 11 is below 12: a drag step is a twelfth of it"},
        {"flat", Dialect::Control, "1 320 0 0 a.jpg -1 -1 -1 -1", 1, "",
         "the picture height 0 is below 12: a drag step is a twelfth of it"},
        {"wider than JPEG", Dialect::Plugin, "1 65501 240 0", 1, "",
         "the picture width 65501 is beyond 65500, the largest JPEG picture"},
        {"frames beyond memory", Dialect::Control, "5000 640 480 0", 1, "",
         "5000 views of 640 x 480 pixels would need more than 1024 MiB of frames"},
        {"huge count, huge size", Dialect::Plugin, "2147483647 65500 65500 0", 1, "",
         "2147483647 views of 65500 x 65500 pixels would need more than 1024 MiB of frames"},
        {"non-number width", Dialect::Plugin, "1 320.5 240 0", 1, "320.5", "the picture width is not a 32-bit integer"},
        {"overflowing number", Dialect::Control, "1 320 240 99999999999", 1, "99999999999",
         "the header's fourth value is not a 32-bit integer"},
        {"non-number slot", Dialect::Control, "1 320 240 0\nview.jpg -1 -1 oops -1\n", 2, "oops",
         "view 0's slot 3 is not a 32-bit integer"},
        {"ends in a record", Dialect::Plugin, "2 320 240 0\na.jpg -1 -1 1 1\nb.jpg -1\n", 3, "",
         "the file ends where view 1's slot 2 belongs"},
        {"ends before a name", Dialect::Control, "2 320 240 0\na.jpg -1 -1 1 1\n", 2, "",
         "the file ends where view 1's file name belongs"},
        {"neighbour past the end", Dialect::Plugin, "2 320 240 0 a.jpg -1 -1 2 -1 b.jpg -1 -1 -1 -1", 1, "",
         "view 0's slot 3 names view 2, but views run from 0 to 1 (-1 for none)"},
        {"neighbour below -1", Dialect::Control, "2 320 240 0 a.jpg -1 -1 1 -1 b.jpg -2 -1 -1 -1", 1, "",
         "view 1's slot 1 names view -2, but views run from 0 to 1 (-1 for none)"},
        {"NUL in a name", Dialect::Plugin, std::string("1 320 240 0 a\0b.jpg -1 -1 -1 -1", 31), 1, "a?b.jpg",
         "view 0's file name holds a NUL byte"},
        {"token without white space", Dialect::Plugin, "1 320 240 0 " + big, 1, std::string(40, 'x') + "...",
         "view 0's file name is 1048576 characters long; at most 79 fit"},
        {"morph count negative", Dialect::Control, "1 320 240 1 a.jpg -1 -1 -1 -1 -1", 1, "",
         "the morph pair count -1 is below 0"},
        {"pair view past the end", Dialect::Control, "2 320 240 1 a.jpg -1 -1 1 1 b.jpg -1 -1 0 0 1 m.txt 0 2", 1, "",
         "morph pair 0's view B is 2, but views run from 0 to 1"},
        {"pair view negative", Dialect::Control, "2 320 240 1 a.jpg -1 -1 1 1 b.jpg -1 -1 0 0 1 m.txt -1 1", 1, "",
         "morph pair 0's view A is -1, but views run from 0 to 1"},
        {"pair record short", Dialect::Control, "2 320 240 1 a.jpg -1 -1 1 1 b.jpg -1 -1 0 0 2 m.txt 0 1 n.txt 1", 1,
         "", "the file ends where morph pair 1's view B belongs"},
        {"morph path too long", Dialect::Control,
         "1 320 240 1 a.jpg -1 -1 -1 -1 1 " + std::string(80, 'm') + " 0 0", 1, std::string(40, 'm') + "...",
         "morph pair 0's file is 80 characters long; at most 79 fit"},
    };
    for (const RefusedCase& c : cases) {
        SCOPED_TRACE(c.name);
        DescriptionRead read = ReadText(c.text, c.dialect);
        EXPECT_EQ(read.status, ReadStatus::Refused);
        EXPECT_EQ(read.problem.line, c.line);
        EXPECT_EQ(read.problem.token, c.token);
        EXPECT_EQ(read.problem.message, c.message);
        EXPECT_TRUE(read.table.Empty());
    }
}

TEST(Description, ProblemsReadAsOneLine) {
    EXPECT_EQ(DescribeProblem({2, "oops", "view 0's slot 3 is not a 32-bit integer"}),
              "line 2, \"oops\": view 0's slot 3 is not a 32-bit integer");
    EXPECT_EQ(DescribeProblem({3, "", "the file ends where view 1's file name belongs"}),
              "line 3: the file ends where view 1's file name belongs");
}

}  // namespace
}  // namespace zel
