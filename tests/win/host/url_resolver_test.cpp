// URLs a plug-in asks for, resolved against the page's folder.
#include <gtest/gtest.h>

#include <ostream>

#include "url_resolver.h"

namespace zel::test {
namespace {

struct UrlCase {
    const char* name;
    const char* url;
    const char* path;  // "" when there is no local file
};

void PrintTo(const UrlCase& c, std::ostream* out) { *out << c.name; }

class HostUrlResolver : public ::testing::TestWithParam<UrlCase> {};

TEST_P(HostUrlResolver, ResolvesAgainstThePageFolder) {
    EXPECT_EQ(host::ResolveUrl("C:\\pages", GetParam().url), GetParam().path);
}

INSTANTIATE_TEST_SUITE_P(
    Urls, HostUrlResolver,
    ::testing::Values(UrlCase{"Relative", "movie.zel", "C:\\pages\\movie.zel"},
                      UrlCase{"SubfolderEscapedWithQuery", "views/a%20b.jpg?x=1#top", "C:\\pages\\views\\a b.jpg"},
                      UrlCase{"DrivePath", "D:/other/v.jpg", "D:\\other\\v.jpg"},
                      UrlCase{"FileUrlThreeSlashes", "file:///E:/m/v.jpg", "E:\\m\\v.jpg"},
                      UrlCase{"FileUrlTwoSlashes", "file://E:/m/v.jpg", "E:\\m\\v.jpg"},
                      UrlCase{"UncPath", "\\\\server\\share\\v.jpg", "\\\\server\\share\\v.jpg"},
                      UrlCase{"HttpHasNoFile", "http://example.com/v.jpg", ""}, UrlCase{"Empty", "", ""}));

TEST(HostUrlBaseName, IsTheLastSegmentWithoutQuery) {
    EXPECT_EQ(host::UrlBaseName("views/front.jpg?v=2"), "front.jpg");
    EXPECT_EQ(host::UrlBaseName("a\\b.zel"), "b.zel");
    EXPECT_EQ(host::UrlBaseName("plain.jpg"), "plain.jpg");
}

}  // namespace
}  // namespace zel::test
