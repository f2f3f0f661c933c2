#include "command_line.h"

#include <gtest/gtest.h>

namespace zel::moviegen {
namespace {

TEST(moviegen_CommandLine, ReadsEveryOption) {
    CommandLine line;
    std::string error;
    ASSERT_TRUE(ParseCommandLine({"--out", "dir", "--rows", "2", "--cols", "5", "--width", "100", "--height", "80",
                                  "--no-wrap-cols", "--wrap-rows", "--quality", "40", "--progressive", "--grayscale",
                                  "--restart-rows", "3", "--flag", "-7", "--morph", "--name", "turn.zel"},
                                 &line, &error))
        << error;
    EXPECT_FALSE(line.help);
    EXPECT_EQ(line.folder, "dir");
    const MovieOptions& o = line.options;
    EXPECT_EQ(o.rows, 2);
    EXPECT_EQ(o.cols, 5);
    EXPECT_EQ(o.width, 100);
    EXPECT_EQ(o.height, 80);
    EXPECT_FALSE(o.wrapCols);
    EXPECT_TRUE(o.wrapRows);
    EXPECT_EQ(o.jpeg.quality, 40);
    EXPECT_TRUE(o.jpeg.progressive);
    EXPECT_TRUE(o.jpeg.grayscale);
    EXPECT_EQ(o.jpeg.restartRows, 3);
    EXPECT_EQ(o.flag, -7);
    EXPECT_TRUE(o.morph);
    EXPECT_EQ(o.descriptionName, "turn.zel");
}

TEST(moviegen_CommandLine, DefaultsAreTheLibrarysAndTheLastRepeatWins) {
    CommandLine line;
    std::string error;
    ASSERT_TRUE(ParseCommandLine({"--out", "a"}, &line, &error)) << error;
    const MovieOptions defaults;
    EXPECT_EQ(DescriptionText(line.options), DescriptionText(defaults));
    EXPECT_EQ(line.options.jpeg.quality, defaults.jpeg.quality);

    ASSERT_TRUE(ParseCommandLine({"--rows", "4", "--out", "a", "--no-wrap-cols", "--rows", "6", "--wrap-cols", "--out",
                                  "b"},
                                 &line, &error))
        << error;
    EXPECT_EQ(line.options.rows, 6);
    EXPECT_TRUE(line.options.wrapCols);
    EXPECT_EQ(line.folder, "b");
}

TEST(moviegen_CommandLine, HelpNeedsNothingElse) {
    CommandLine line;
    std::string error;
    ASSERT_TRUE(ParseCommandLine({"--help", "--rows", "0"}, &line, &error));
    EXPECT_TRUE(line.help);
    EXPECT_NE(std::string(Usage()).find("--restart-rows N"), std::string::npos);
}

struct BadCase {
    std::vector<std::string> args;
    const char* reason;  // the whole one-line error
};

TEST(moviegen_CommandLine, RefusesBadArgumentsInOneLine) {
    const BadCase cases[] = {
        {{}, "--out DIR is required (see --help)"},
        {{"--out", ""}, "--out needs a folder"},
        {{"--out", "d", "--frobnicate"}, "unknown argument \"--frobnicate\" (see --help)"},
        {{"--out", "d", "--rows"}, "--rows needs a value"},
        {{"--out"}, "--out needs a value"},
        {{"--out", "d", "--rows", "0"}, "--rows needs an integer from 1 to 64, not \"0\""},
        {{"--out", "d", "--cols", "65"}, "--cols needs an integer from 1 to 64, not \"65\""},
        {{"--out", "d", "--cols", "3x"}, "--cols needs an integer from 1 to 64, not \"3x\""},
        {{"--out", "d", "--width", "11"}, "--width needs an integer from 12 to 4096, not \"11\""},
        {{"--out", "d", "--height", "4097"}, "--height needs an integer from 12 to 4096, not \"4097\""},
        {{"--out", "d", "--height", "99999999999"}, "--height needs an integer from 12 to 4096, not \"99999999999\""},
        {{"--out", "d", "--quality", "0"}, "--quality needs an integer from 1 to 100, not \"0\""},
        {{"--out", "d", "--quality", "101"}, "--quality needs an integer from 1 to 100, not \"101\""},
        {{"--out", "d", "--restart-rows", "-1"}, "--restart-rows needs an integer from 0 to 65535, not \"-1\""},
        {{"--out", "d", "--flag", "1.5"}, "--flag needs an integer, not \"1.5\""},
        {{"--out", "d", "--name", "sub/movie.zel"}, "the description name \"sub/movie.zel\" is not a plain file name"},
    };
    for (const BadCase& c : cases) {
        std::string joined;
        for (const std::string& arg : c.args) joined += "[" + arg + "]";
        CommandLine line;
        std::string error;
        EXPECT_FALSE(ParseCommandLine(c.args, &line, &error)) << joined;
        EXPECT_EQ(error, c.reason) << joined;
    }
}

}  // namespace
}  // namespace zel::moviegen
