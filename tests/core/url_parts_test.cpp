#include <gtest/gtest.h>

#include "url_parts.h"

namespace zel {
namespace {

TEST(SplitUrl, SplitsAtTheLastSeparatorAsTheRuntimeLibraryDoes) {
    struct Case {
        const char* url;
        const char* folder;
        const char* file;
    };
    const Case cases[] = {
        {"http://127.0.0.1:8000/movies/car/car.zel", "http://127.0.0.1:8000/movies/car/", "car.zel"},
        {"C:\\movies\\car.zel", "C:\\movies\\", "car.zel"},
        {"C:car.zel", "C:", "car.zel"},
        {"D:/a\\b/c.d.zel", "D:/a\\b/", "c.d.zel"},
        {"car.zel", "", "car.zel"},
        {"http://host/movies/", "http://host/movies/", ""},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        const UrlParts parts = SplitUrl(c.url);
        EXPECT_EQ(parts.folder, c.folder) << c.url;
        EXPECT_EQ(parts.file, c.file) << c.url;
        EXPECT_EQ(parts.folder + parts.file, c.url);
    }
}

}  // namespace
}  // namespace zel
