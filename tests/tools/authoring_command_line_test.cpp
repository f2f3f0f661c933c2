// The arguments of zelcheck and zelmake: what each option sets, and a clear
// one-line reason for every argument that is refused.
#include "command_lines.h"

#include <gtest/gtest.h>

namespace zel::authoring {
namespace {

TEST(authoring_CommandLine, ZelmakeReadsEveryOption) {
    MakeCommandLine line;
    std::string error;
    ASSERT_TRUE(ParseMakeCommandLine({"--rows", "2", "--wrap-cols", "--cols", "3", "--wrap-rows", "--reverse",
                                      "--crossfade", "-o", "out/m.zel", "--json", "--pattern", "v%d_%d.jpg", "dir"},
                                     &line, &error))
        << error;
    const MakeOptions& o = line.options;
    EXPECT_EQ(o.shape.rows, 2);
    EXPECT_EQ(o.shape.cols, 3);
    EXPECT_TRUE(o.shape.wrapCols && o.shape.wrapRows && o.shape.reverse && o.crossfade && line.json);
    EXPECT_EQ(o.output, "out/m.zel");
    EXPECT_EQ(o.pattern, "v%d_%d.jpg");
    EXPECT_EQ(o.folder, "dir");

    ASSERT_TRUE(ParseMakeCommandLine({"--rows", "1", "--cols", "2", "a.jpg", "--", "-b.jpg"}, &line, &error))
        << error;
    EXPECT_EQ(line.options.pictures, (std::vector<std::string>{"a.jpg", "-b.jpg"}));
    EXPECT_EQ(line.options.output, "movie.zel");
    EXPECT_FALSE(line.options.shape.wrapCols || line.options.shape.reverse || line.options.crossfade);
}

TEST(authoring_CommandLine, ZelcheckTakesOneDescriptionAndJson) {
    CheckCommandLine line;
    std::string error;
    ASSERT_TRUE(ParseCheckCommandLine({"--json", "m.zel"}, &line, &error)) << error;
    EXPECT_EQ(line.description, "m.zel");
    EXPECT_TRUE(line.json);
    ASSERT_TRUE(ParseCheckCommandLine({"m.zel", "--bogus", "--help"}, &line, &error));
    EXPECT_TRUE(line.help);
}

struct BadArguments {
    bool make;
    std::vector<std::string> args;
    const char* reason;
};

TEST(authoring_CommandLine, BadArgumentsAreRefusedWithTheirReason) {
    const BadArguments cases[] = {
        {false, {}, "no description given"},
        {false, {"a.zel", "b.zel"}, "one description at a time"},
        {false, {"--verbose", "a.zel"}, "unknown option \"--verbose\""},
        {true, {"--rows", "2", "--cols", "2", "a.jpg", "b.jpg", "c.jpg"},
         "2 rows x 2 columns need 4 pictures, but 3 were given"},
        {true, {"--cols", "2", "a.jpg", "b.jpg"}, "--rows and --cols are required"},
        {true, {"--rows", "1", "--cols"}, "--cols needs a value"},
        {true, {"--rows", "0", "--cols", "1", "a.jpg"}, "--rows needs an integer from 1 to 4096, not \"0\""},
        {true, {"--rows", "2x", "--cols", "1"}, "not \"2x\""},
        {true, {"--rows", "1", "--cols", "1", "-o", "", "a.jpg"}, "-o needs a value"},
        {true, {"--rows", "1", "--cols", "1", "--wrap", "a.jpg"}, "unknown option \"--wrap\""},
        {true, {"--rows", "1", "--cols", "2", "--pattern", "v%d_%d.jpg", "d1", "d2"}, "exactly one FOLDER"},
        {true, {"--rows", "1", "--cols", "2", "--pattern", "v%d_%d.jpg"}, "exactly one FOLDER"},
    };
    for (const BadArguments& c : cases) {
        std::string error;
        bool parsed = false;
        if (c.make) {
            MakeCommandLine line;
            parsed = ParseMakeCommandLine(c.args, &line, &error);
        } else {
            CheckCommandLine line;
            parsed = ParseCheckCommandLine(c.args, &line, &error);
        }
        EXPECT_FALSE(parsed) << c.reason;
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    }
}

}  // namespace
}  // namespace zel::authoring
