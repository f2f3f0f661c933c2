#include "tokens.h"

#include <gtest/gtest.h>

#include "temp_dir.h"
#include "stdio_file.h"

namespace zel {
namespace {

TEST(ParseInt32, AcceptsSignedDecimalsThatFitAndNothingElse) {
    struct Case {
        const char* text;
        std::optional<int32_t> value;
    };
    const Case cases[] = {
        {"0", 0},
        {"-1", -1},
        {"+12", 12},
        {"0000000000000320", 320},
        {"2147483647", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"2147483648", std::nullopt},
        {"-2147483649", std::nullopt},
        {"99999999999999999999999", std::nullopt},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"12abc", std::nullopt},
        {"0x10", std::nullopt},
        {"1.5", std::nullopt},
        {"--1", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseInt32(c.text), c.value) << "text \"" << c.text << "\"";
    }
}

TEST(TokenReader, SplitsOnEveryKindOfWhiteSpaceAndCountsLines) {
    test::TempDir dir;
    const std::string path = dir.Write("t.txt", "  a\tb\r\n\n c\v\fd\n\ne");
    StdioFile file = OpenStdioFile(path, "rb");
    ASSERT_TRUE(file);
    TokenReader reader(file.get());
    std::vector<std::pair<std::string, int>> seen;
    while (auto token = reader.Next()) seen.emplace_back(token->text, token->line);
    const std::vector<std::pair<std::string, int>> expected = {{"a", 1}, {"b", 1}, {"c", 3}, {"d", 3}, {"e", 5}};
    EXPECT_EQ(seen, expected);
}

TEST(TokenReader, MeasuresAnOverlongTokenWithoutKeepingIt) {
    test::TempDir dir;
    const std::string path = dir.Write("t.txt", std::string(100000, 'x') + " y");
    StdioFile file = OpenStdioFile(path, "rb");
    TokenReader reader(file.get());
    auto first = reader.Next();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->length, 100000u);
    EXPECT_EQ(first->text.size(), TokenReader::kMaxTokenKept);
    EXPECT_EQ(reader.Next()->text, "y");
    EXPECT_FALSE(reader.Next());
}

}  // namespace
}  // namespace zel
