// zelcheck and the shells never disagree on whether a description is usable:
// for each broken (or merely odd) description, zelcheck reports a refusal for
// exactly the shells whose reader refuses it, and has a summary exactly when
// some shell accepts it.
#include <gtest/gtest.h>

#include "authoring_movie.h"
#include "description.h"
#include "movie_check.h"

namespace zel::authoring {
namespace {

struct AgreementCase {
    const char* what;
    std::string text;
};

const std::string kViews = "a.jpg -1 -1 1 1\nb.jpg -1 -1 0 0\n";

const AgreementCase kDescriptions[] = {
    {"empty file", ""},
    {"header cut short", "2 32 24"},
    {"records cut short", "2 32 24 0\na.jpg -1 -1 1 1\nb.jpg -1 -1"},
    {"name where a number belongs", "2 32 24 0\na.jpg -1 -1 b.jpg 1\n"},
    {"number beyond 32 bits", "2147483648 32 24 0\n" + kViews},
    {"no views", "0 32 24 0\n"},
    {"negative view count", "-2 32 24 0\n" + kViews},
    {"width below 12", "2 11 24 0\n" + kViews},
    {"height beyond 65500", "2 32 65501 0\n" + kViews},
    {"frames beyond the memory budget", "100000 65500 65500 0\n" + kViews},
    {"neighbour outside the table", "2 32 24 0\na.jpg -1 -1 2 1\nb.jpg -1 -1 0 0\n"},
    {"neighbour below -1", "2 32 24 0\na.jpg -1 -2 1 1\nb.jpg -1 -1 0 0\n"},
    {"name of 80 characters", "2 32 24 0\n" + std::string(76, 'a') + ".jpg -1 -1 1 1\nb.jpg -1 -1 0 0\n"},
    {"name of 128 characters", "2 32 24 0\n" + std::string(124, 'a') + ".jpg -1 -1 1 1\nb.jpg -1 -1 0 0\n"},
    {"NUL byte in a name", std::string("2 32 24 0\na\0.jpg -1 -1 1 1\nb.jpg -1 -1 0 0\n", 40)},
    {"binary garbage", std::string("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00\x01\x02", 14)},
    {"flag without a morph section", "2 32 24 1\n" + kViews},
    {"negative morph pair count", "2 32 24 1\n" + kViews + "-1\n"},
    {"morph pair cut short", "2 32 24 1\n" + kViews + "1\nm.txt 0\n"},
    {"morph pair view outside the table", "2 32 24 1\n" + kViews + "1\nm.txt 0 2\n"},
    {"morph path of 80 characters", "2 32 24 1\n" + kViews + "1\n" + std::string(80, 'm') + " 0 1\n"},
    {"empty morph section", "2 32 24 1\n" + kViews + "0\n"},
    {"text after the records", "2 32 24 0\n" + kViews + "anything at all\n"},
    {"one line, tabs and CRLF", "2\t32 24 0 a.jpg -1 -1 1 1\r\nb.jpg\t-1 -1 0 0\r\n"},
    {"signed numbers", "+2 +32 24 -0\na.jpg -1 -1 +1 1\nb.jpg -1 -1 0 0\n"},
    {"view naming itself", "2 32 24 0\na.jpg -1 -1 0 1\nb.jpg -1 -1 0 0\n"},
};

bool ReportsRefusal(const Report& report, Shell shell) {
    for (const Finding& finding : report.findings) {
        if (finding.kind == "refused" && (finding.shell == shell || finding.shell == Shell::Both)) return true;
    }
    return false;
}

TEST(authoring_Agreement, ZelcheckRefusesForExactlyTheShellsThatRefuse) {
    test::TempDir dir;
    test::WritePicture(dir, "a.jpg", 32, 24);
    test::WritePicture(dir, "b.jpg", 32, 24);
    int refusedSomewhere = 0, acceptedSomewhere = 0;
    for (const AgreementCase& entry : kDescriptions) {
        SCOPED_TRACE(entry.what);
        const std::string path = dir.Write("movie.zel", entry.text);
        const bool pluginAccepts = ReadDescriptionFile(path, Dialect::Plugin).status == ReadStatus::Ok;
        const bool controlAccepts = ReadDescriptionFile(path, Dialect::Control).status == ReadStatus::Ok;
        const Report report = CheckMovie(path);
        EXPECT_EQ(ReportsRefusal(report, Shell::Plugin), !pluginAccepts);
        EXPECT_EQ(ReportsRefusal(report, Shell::Control), !controlAccepts);
        EXPECT_EQ(report.summary.has_value(), pluginAccepts || controlAccepts);
        if (!pluginAccepts || !controlAccepts) {
            EXPECT_EQ(report.ExitStatus(), kExitErrors);
        }
        refusedSomewhere += !pluginAccepts || !controlAccepts;
        acceptedSomewhere += pluginAccepts || controlAccepts;
    }
    // The table holds both kinds, so neither half of the comparison is idle.
    EXPECT_GT(refusedSomewhere, 15);
    EXPECT_GT(acceptedSomewhere, 5);
}

}  // namespace
}  // namespace zel::authoring
