// CheckMovie on small movies with one fault each: the finding's kind, severity,
// shell, line and token, and the exit status the fault leads to.
#include "movie_check.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <functional>
#include <ostream>

#include "authoring_movie.h"
#include "grid_movie.h"

namespace zel::authoring {
namespace {

using test::TempDir;

// A 2 x 3 grid of 32 x 24 pictures; view v's record is on line v + 2.
constexpr int kRows = 2, kCols = 3, kWidth = 32, kHeight = 24;

std::string ReplaceLine(const std::string& text, int line, const std::string& replacement) {
    size_t start = 0;
    for (int l = 1; l < line; ++l) start = text.find('\n', start) + 1;
    const size_t end = text.find('\n', start);
    return text.substr(0, start) + replacement + text.substr(end);
}

// A progressive picture whose second scan names a component the frame lacks:
// the header reads, the decode stops.
void WriteUndecodable(const TempDir& dir, const std::string& name) {
    moviegen::JpegOptions jpeg;
    jpeg.progressive = true;
    test::WritePicture(dir, name, kWidth, kHeight, jpeg);
    std::string bytes = test::ReadBytes(dir.File(name));
    const size_t first = bytes.find("\xFF\xDA");
    const size_t second = bytes.find("\xFF\xDA", first + 2);
    ASSERT_NE(second, std::string::npos);
    bytes[second + 5] = '\x77';
    dir.Write(name, bytes);
}

struct FaultCase {
    const char* what;
    std::function<void(const TempDir&, std::string&)> setUp;  // changes the files or the description
    const char* kind;
    Severity severity;
    Shell shell;
    int line;
    std::string token;
    const char* text;  // part of the message
    int exitStatus;
    const char* file = nullptr;  // the finding's file inside the folder; the description when null
};

std::string MorphLine(const TempDir& dir, const std::string& morph, int a, int b) {
    return "1\n" + dir.File(morph) + " " + std::to_string(a) + " " + std::to_string(b) + "\n";
}

std::string WithFlag(const std::string& text) { return ReplaceLine(text, 1, "6 32 24 1"); }

const std::string kLongName = std::string(86, 'n') + ".jpg";

const FaultCase kFaults[] = {
    {"missing view file", [](const TempDir& d, std::string&) { std::filesystem::remove(d.File("r1c2.jpg")); },
     "missing-file", Severity::Error, Shell::Both, 7, "r1c2.jpg", "missing", kExitErrors},
    {"not a JPEG", [](const TempDir& d, std::string&) { d.Write("r0c1.jpg", "hello"); }, "not-jpeg",
     Severity::Error, Shell::Both, 3, "r0c1.jpg", "not a JPEG", kExitErrors},
    {"zero-byte JPEG", [](const TempDir& d, std::string&) { d.Write("r0c0.jpg", ""); }, "not-jpeg",
     Severity::Error, Shell::Both, 2, "r0c0.jpg", "not a JPEG", kExitErrors},
    {"folder for a view",
     [](const TempDir& d, std::string&) {
         std::filesystem::remove(d.File("r0c2.jpg"));
         std::filesystem::create_directory(d.File("r0c2.jpg"));
     },
     "not-a-file", Severity::Error, Shell::Both, 4, "r0c2.jpg", "is a folder", kExitErrors},
    {"picture that does not decode", [](const TempDir& d, std::string&) { WriteUndecodable(d, "r1c0.jpg"); },
     "no-decode", Severity::Error, Shell::Both, 5, "r1c0.jpg", "does not decode", kExitErrors},
    {"picture whose header claims 65500 x 65500",
     [](const TempDir& d, std::string&) { ASSERT_TRUE(moviegen::ClaimSize(d.File("r1c1.jpg"), 65500, 65500)); },
     "picture-size", Severity::Error, Shell::Both, 6, "r1c1.jpg", "picture is 65500 x 65500", kExitErrors},
    {"picture of another size", [](const TempDir& d, std::string&) { test::WritePicture(d, "r0c1.jpg", 32, 20); },
     "picture-size", Severity::Error, Shell::Both, 3, "r0c1.jpg",
     "picture is 32 x 20, the description says 32 x 24", kExitErrors},
    {"picture beyond the plug-in's planes",
     [](const TempDir& d, std::string& text) {
         test::WriteGridPictures(d, kRows, kCols, 12, 641);
         text = ReplaceLine(text, 1, "6 12 641 0");
     },
     "plane-growth", Severity::Warning, Shell::Plugin, 2, "r0c0.jpg", "grows them", kExitWarnings},
    {"grayscale picture",
     [](const TempDir& d, std::string&) {
         moviegen::JpegOptions jpeg;
         jpeg.grayscale = true;
         test::WritePicture(d, "r0c0.jpg", kWidth, kHeight, jpeg);
     },
     "grayscale", Severity::Warning, Shell::Both, 2, "r0c0.jpg", "grayscale", kExitWarnings},
    {"progressive picture",
     [](const TempDir& d, std::string&) {
         moviegen::JpegOptions jpeg;
         jpeg.progressive = true;
         test::WritePicture(d, "r1c1.jpg", kWidth, kHeight, jpeg);
     },
     "progressive", Severity::Warning, Shell::Both, 6, "r1c1.jpg", "progressive", kExitWarnings},
    {"view unreachable from view 0",
     [](const TempDir&, std::string& text) {
         text = "3 32 24 0\nr0c0.jpg -1 -1 1 1\nr0c1.jpg -1 -1 0 0\nr0c2.jpg -1 -1 0 0\n";
     },
     "unreachable", Severity::Warning, Shell::Both, 4, "r0c2.jpg", "never loads it", kExitWarnings},
    {"start view from which not every view is reachable",
     [](const TempDir&, std::string& text) {
         text = "3 32 24 0\nr0c0.jpg -1 -1 1 -1\nr0c1.jpg -1 -1 2 -1\nr0c2.jpg -1 -1 -1 -1\n";
     },
     "never-done", Severity::Warning, Shell::Plugin, 3, "r0c1.jpg",
     "from only 1 of the 3 start views; restored to view 1, it never requests view 0", kExitWarnings},
    {"one-way link", [](const TempDir&, std::string& text) { text = ReplaceLine(text, 2, "r0c0.jpg 3 -1 2 2"); },
     "one-way-link", Severity::Warning, Shell::Both, 2, "r0c0.jpg",
     "view 0's right neighbour is view 2, but view 2's left neighbour is view 1", kExitWarnings},
    {"names differing in letter case",
     [](const TempDir& d, std::string& text) {
         test::WritePicture(d, "R0C1.jpg", kWidth, kHeight);
         text = ReplaceLine(text, 6, "R0C1.jpg -1 1 5 3");
     },
     "letter-case", Severity::Warning, Shell::Both, 6, "R0C1.jpg", "view 1's \"r0c1.jpg\"", kExitWarnings},
    {"name the plug-in does not take for a picture",
     [](const TempDir& d, std::string& text) {
         test::WritePicture(d, "r0c0.jpeg", kWidth, kHeight);
         text = ReplaceLine(text, 2, "r0c0.jpeg 3 -1 1 2");
     },
     "plugin-name", Severity::Error, Shell::Plugin, 2, "r0c0.jpeg", "\".jpg\" or \".JPG\"", kExitErrors},
    {"name in a subfolder, which the control does not fetch",
     [](const TempDir& d, std::string& text) {
         std::filesystem::create_directory(d.File("sub"));
         test::WritePicture(d, "sub/r0c1.jpg", kWidth, kHeight);
         text = ReplaceLine(text, 3, "sub/r0c1.jpg 4 -1 2 0");
     },
     "control-name", Severity::Error, Shell::Control, 3, "sub/r0c1.jpg", "plain names", kExitErrors},
    {"name too long for the plug-in alone",
     [](const TempDir& d, std::string& text) {
         test::WritePicture(d, kLongName, kWidth, kHeight);
         text = ReplaceLine(text, 4, kLongName + " 5 -1 0 1");
     },
     "refused", Severity::Error, Shell::Plugin, 4, std::string(40, 'n') + "...", "at most 79 fit", kExitErrors},
    {"morph section cut short",
     [](const TempDir& d, std::string& text) { text = WithFlag(text) + "2\n" + d.File("m.txt") + " 0 1\n"; },
     "refused", Severity::Error, Shell::Control, 9, "", "morph pair 1's file", kExitErrors},
    {"non-number that both shells refuse",
     [](const TempDir&, std::string& text) { text = ReplaceLine(text, 3, "r0c1.jpg 4 -1 x 0"); }, "refused",
     Severity::Error, Shell::Both, 3, "x", "not a 32-bit integer", kExitErrors},
    {"missing morph file",
     [](const TempDir& d, std::string& text) { text = WithFlag(text) + MorphLine(d, "absent.txt", 0, 1); },
     "morph-missing", Severity::Error, Shell::Control, 9, "", "does not open", kExitErrors},
    {"relative morph path beside the description",
     [](const TempDir& d, std::string& text) {
         d.Write("m.txt", "BACKGROUND 1 2 3\n");
         text = WithFlag(text) + "1\nm.txt 0 1\n";
     },
     "morph-missing", Severity::Error, Shell::Control, 9, "m.txt", "beside the description", kExitErrors},
    {"POLY naming no correspondence",
     [](const TempDir& d, std::string& text) {
         d.Write("m.txt", "CORR 1 2 3 4\nPOLY 0 0 5\n");
         text = WithFlag(text) + MorphLine(d, "m.txt", 0, 1);
     },
     "morph-refused", Severity::Error, Shell::Control, 2, "POLY", "POLY names correspondence 5", kExitErrors,
     "m.txt"},
    {"morph pair of views that are not neighbours",
     [](const TempDir& d, std::string& text) {
         d.Write("m.txt", "BACKGROUND 1 2 3\n");
         text = WithFlag(text) + MorphLine(d, "m.txt", 0, 4);
     },
     "pair-not-neighbours", Severity::Warning, Shell::Control, 9, "", "view 0 and view 4", kExitWarnings},
    {"morph pair that only one of its views leads to",
     [](const TempDir& d, std::string& text) {
         d.Write("m.txt", "BACKGROUND 1 2 3\n");
         text = ReplaceLine(WithFlag(text), 3, "r0c1.jpg 4 -1 2 2") + MorphLine(d, "m.txt", 0, 1);
     },
     "pair-one-sided", Severity::Warning, Shell::Control, 9, "", "only view 0 names the other", kExitWarnings},
    {"morph pair with a view outside the table",
     [](const TempDir& d, std::string& text) {
         d.Write("m.txt", "BACKGROUND 1 2 3\n");
         text = WithFlag(text) + MorphLine(d, "m.txt", 0, 6);
     },
     "refused", Severity::Error, Shell::Control, 9, "", "views run from 0 to 5", kExitErrors},
};

void PrintTo(const FaultCase& fault, std::ostream* out) { *out << fault.what; }

std::string CaseName(const testing::TestParamInfo<FaultCase>& info) {
    std::string name;
    for (const char* c = info.param.what; *c != '\0'; ++c) {
        name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
    }
    return name;
}

class authoring_CheckFaults : public testing::TestWithParam<FaultCase> {};

TEST_P(authoring_CheckFaults, FindsTheFaultWhereItIs) {
    const FaultCase& fault = GetParam();
    TempDir dir;
    test::WriteGridPictures(dir, kRows, kCols, kWidth, kHeight);
    std::string text = test::GridDescription(kRows, kCols, kWidth, kHeight);
    fault.setUp(dir, text);
    const std::string description = dir.Write("movie.zel", text);

    const Report report = CheckMovie(description);
    const Finding* found = nullptr;
    for (const Finding& finding : report.findings) {
        if (finding.kind == fault.kind && finding.line == fault.line && finding.shell == fault.shell) found = &finding;
    }
    ASSERT_NE(found, nullptr) << fault.what << ": no " << fault.kind << " finding at line " << fault.line;
    EXPECT_EQ(found->severity, fault.severity);
    EXPECT_EQ(found->file, fault.file ? dir.File(fault.file) : description);
    // An empty token is left unchecked: there is none, or it is a path in the test's folder.
    if (!fault.token.empty()) {
        EXPECT_EQ(found->token, fault.token);
    }
    EXPECT_NE(found->message.find(fault.text), std::string::npos) << found->message;
    EXPECT_EQ(report.ExitStatus(), fault.exitStatus) << fault.what;
}

INSTANTIATE_TEST_SUITE_P(Faults, authoring_CheckFaults, testing::ValuesIn(kFaults), CaseName);

TEST(authoring_Check, AWellMadeGridHasNoFindingAndItsSizesAddUp) {
    TempDir dir;
    test::WriteGridPictures(dir, kRows, kCols, kWidth, kHeight);
    const Report report = CheckMovie(dir.Write("movie.zel", test::GridDescription(kRows, kCols, kWidth, kHeight)));
    EXPECT_TRUE(report.findings.empty()) << (report.findings.empty() ? "" : report.findings[0].message);
    EXPECT_EQ(report.ExitStatus(), kExitClean);
    ASSERT_TRUE(report.summary);
    uint64_t bytes = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        if (entry.path().extension() == ".jpg") bytes += entry.file_size();
    }
    EXPECT_EQ(report.summary->viewFileBytes, bytes);
    EXPECT_EQ(report.summary->views, 6);
    EXPECT_EQ(report.summary->reachableViews, 6);
    EXPECT_EQ(report.summary->controlRgbBytes, 6u * 32 * 24 * 3);
    EXPECT_EQ(report.summary->pluginPacked16Bytes, 6u * 32 * 2 * 24);
    EXPECT_EQ(report.summary->pluginPacked24Bytes, 6u * 32 * 3 * 24);
    EXPECT_EQ(report.summary->pluginPlaneBytes, 3u * 480 * 640);
}

// What a hostile header claims is reported, but the memory figures stay those
// of the description: the shells never decode beyond its frame.
TEST(authoring_Check, AGiantClaimIsAnErrorButGrowsNoFigure) {
    TempDir dir;
    test::WriteGridPictures(dir, kRows, kCols, kWidth, kHeight);
    ASSERT_TRUE(moviegen::ClaimSize(dir.File("r0c0.jpg"), 65500, 65500));
    const Report report = CheckMovie(dir.Write("movie.zel", test::GridDescription(kRows, kCols, kWidth, kHeight)));
    ASSERT_TRUE(report.summary);
    EXPECT_EQ(report.summary->pluginPlaneBytes, 3u * 480 * 640);
    for (const Finding& finding : report.findings) EXPECT_NE(finding.kind, "plane-growth") << finding.message;
}

TEST(authoring_Check, MemoryCountsOnlyTheViewsTheShellsLoadWithPaddedOddRows) {
    TempDir dir;
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) test::WritePicture(dir, name, 33, 24);
    const Report report =
        CheckMovie(dir.Write("movie.zel", "3 33 24 0\na.jpg -1 -1 1 1\nb.jpg -1 -1 0 0\nc.jpg -1 -1 0 0\n"));
    ASSERT_TRUE(report.summary);
    EXPECT_EQ(report.summary->reachableViews, 2);
    EXPECT_EQ(report.summary->controlRgbBytes, 2u * 33 * 24 * 3);
    EXPECT_EQ(report.summary->pluginPacked16Bytes, 2u * 66 * 24);
    EXPECT_EQ(report.summary->pluginPacked24Bytes, 2u * 100 * 24);  // 99 bytes and a pad byte a row
}

TEST(authoring_Check, LinesFollowTheTokensWhereverTheRecordsAreBroken) {
    TempDir dir;
    test::WritePicture(dir, "a.jpg", 32, 24);
    const Report report = CheckMovie(dir.Write("movie.zel", "2 32 24 0 a.jpg -1 -1 1 1\n\n\nb.jpg\n-1 -1 0 0\n"));
    ASSERT_EQ(report.findings.size(), 1u);
    EXPECT_EQ(report.findings[0].kind, "missing-file");
    EXPECT_EQ(report.findings[0].line, 4);
    EXPECT_EQ(report.findings[0].token, "b.jpg");
}

TEST(authoring_Check, FindingsComeInReadingOrderWithMorphFilesLast) {
    TempDir dir;
    test::WriteGridPictures(dir, kRows, kCols, kWidth, kHeight);
    std::filesystem::remove(dir.File("r1c1.jpg"));
    dir.Write("m.txt", "POLY 0 1 2\n");
    std::string text = WithFlag(test::GridDescription(kRows, kCols, kWidth, kHeight)) + MorphLine(dir, "m.txt", 0, 4);
    text = ReplaceLine(text, 2, "r0c0.jpg 3 -1 2 2");
    const std::string description = dir.Write("movie.zel", text);
    std::vector<std::pair<std::string, int>> places;
    for (const Finding& finding : CheckMovie(description).findings) places.emplace_back(finding.kind, finding.line);
    const std::vector<std::pair<std::string, int>> expected = {
        {"one-way-link", 2}, {"one-way-link", 3}, {"missing-file", 6}, {"pair-not-neighbours", 9}, {"morph-refused", 1}};
    EXPECT_EQ(places, expected);
}

TEST(authoring_Check, ADescriptionThatIsNotThereOrIsAFolderIsAnError) {
    TempDir dir;
    std::filesystem::create_directory(dir.File("folder.zel"));
    for (const std::string& path : {dir.File("absent.zel"), dir.File("folder.zel")}) {
        const Report report = CheckMovie(path);
        ASSERT_EQ(report.findings.size(), 1u) << path;
        EXPECT_EQ(report.findings[0].severity, Severity::Error);
        EXPECT_FALSE(report.summary);
        EXPECT_EQ(report.ExitStatus(), kExitErrors);
    }
}

TEST(authoring_Check, ThePluginReadsDescriptionsOnlyByTheirExtension) {
    TempDir dir;
    test::WriteGridPictures(dir, 1, 2, kWidth, kHeight);
    const std::string text = test::GridDescription(1, 2, kWidth, kHeight);
    EXPECT_EQ(CheckMovie(dir.Write("movie.ZEL", text)).ExitStatus(), kExitClean);
    const Report report = CheckMovie(dir.Write("movie.txt", text));
    ASSERT_EQ(report.findings.size(), 1u);
    EXPECT_EQ(report.findings[0].kind, "description-extension");
    EXPECT_EQ(report.findings[0].shell, Shell::Plugin);
}

}  // namespace
}  // namespace zel::authoring
