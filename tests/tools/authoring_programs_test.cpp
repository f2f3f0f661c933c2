// zelcheck and zelmake run as programs: what they print, on which stream, and
// their exit statuses.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <memory>

#include "authoring_movie.h"
#include "moviegen.h"

namespace zel::test {
namespace {

struct PipeCloser {
    void operator()(std::FILE* pipe) const { pclose(pipe); }
};

struct ProgramRun {
    int status = -1;
    std::string out;
    std::string err;
};

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

ProgramRun RunProgram(const std::string& command, const TempDir& dir) {
    const std::string errors = dir.File("stderr.txt");
    ProgramRun run;
    std::unique_ptr<std::FILE, PipeCloser> pipe(popen((command + " 2>" + Quoted(errors)).c_str(), "r"));
    if (!pipe) return run;
    char buffer[4096];
    for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0;) run.out.append(buffer, got);
    const int status = pclose(pipe.release());
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = ReadBytes(errors);
    return run;
}

std::string Zelcheck(const std::string& args) { return Quoted(ZELCHECK_PATH) + " " + args; }
std::string Zelmake(const std::string& args) { return Quoted(ZELMAKE_PATH) + " " + args; }

std::string WriteSampleMovie(const TempDir& dir) {
    moviegen::MovieOptions options;
    options.rows = 2;
    options.cols = 4;
    options.width = 32;
    options.height = 24;
    std::string error;
    const std::string description = moviegen::WriteMovie(dir.Path().string(), options, &error);
    EXPECT_FALSE(description.empty()) << error;
    return description;
}

TEST(authoring_Programs, ZelmakeRebuildsMoviegensDescriptionAndChecksItAsZelcheckDoes) {
    TempDir dir;
    const std::string original = WriteSampleMovie(dir);
    const std::string made = dir.File("made.zel");
    const ProgramRun make = RunProgram(Zelmake("--rows 2 --cols 4 --wrap-cols --pattern 'view_r%d_c%02d.jpg' " +
                                        Quoted(dir.Path().string()) + " -o " + Quoted(made)),
                                dir);
    EXPECT_EQ(make.status, 0) << make.out << make.err;
    EXPECT_EQ(ReadBytes(made), ReadBytes(original));
    const ProgramRun check = RunProgram(Zelcheck(Quoted(made)), dir);
    EXPECT_EQ(check.status, 0);
    EXPECT_EQ(make.out, check.out);
    EXPECT_NE(check.out.find(made + ": summary: 8 views, 8 reachable from view 0"), std::string::npos) << check.out;
    EXPECT_NE(check.out.find(made + ": 0 errors, 0 warnings\n"), std::string::npos) << check.out;
}

TEST(authoring_Programs, ZelcheckReportsABrokenMovieAsTextAndAsJson) {
    TempDir dir;
    const std::string description = WriteSampleMovie(dir);
    std::filesystem::remove(dir.File("view_r0_c01.jpg"));

    const ProgramRun text = RunProgram(Zelcheck(Quoted(description)), dir);
    EXPECT_EQ(text.status, 2);
    EXPECT_NE(text.out.find(description + ":3: error: \"view_r0_c01.jpg\": the view file is missing"),
              std::string::npos)
        << text.out;

    const ProgramRun json = RunProgram(Zelcheck("--json " + Quoted(description)), dir);
    EXPECT_EQ(json.status, 2);
    for (const char* part : {"\"kind\":\"missing-file\"", "\"line\":3", "\"token\":\"view_r0_c01.jpg\"",
                             "\"errors\":1", "\"exitStatus\":2"}) {
        EXPECT_NE(json.out.find(part), std::string::npos) << part << " in " << json.out;
    }
}

TEST(authoring_Programs, ZelmakeWritesNothingForPicturesOfAnotherSize) {
    TempDir dir;
    WritePicture(dir, "a.jpg", 32, 24);
    WritePicture(dir, "b.jpg", 30, 24);
    const std::string output = dir.File("out.zel");
    const ProgramRun run = RunProgram(
        Zelmake("--rows 1 --cols 2 -o " + Quoted(output) + " " + Quoted(dir.File("a.jpg")) + " " +
                Quoted(dir.File("b.jpg"))),
        dir);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("b.jpg: the picture is 30 x 24, but the first picture"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("nothing written"), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(output));
}

TEST(authoring_Programs, BadArgumentsExitWithThreeAndHelpWithZero) {
    TempDir dir;
    const ProgramRun unknown = RunProgram(Zelcheck("--frobnicate movie.zel"), dir);
    EXPECT_EQ(unknown.status, 3);
    EXPECT_EQ(unknown.err, "zelcheck: unknown option \"--frobnicate\" (see --help)\n");
    EXPECT_TRUE(unknown.out.empty());

    const ProgramRun count = RunProgram(Zelmake("--rows 2 --cols 2 a.jpg"), dir);
    EXPECT_EQ(count.status, 3);
    EXPECT_NE(count.err.find("need 4 pictures, but 1 were given"), std::string::npos) << count.err;

    for (const std::string& command : {Zelcheck("--help"), Zelmake("--help")}) {
        const ProgramRun help = RunProgram(command, dir);
        EXPECT_EQ(help.status, 0);
        EXPECT_EQ(help.out.rfind("usage: zel", 0), 0u) << help.out;
    }
}

}  // namespace
}  // namespace zel::test
