// The <embed> finder on pages as authors write them, and half-broken ones.
#include <gtest/gtest.h>

#include <ostream>

#include "embed_tag.h"

namespace zel::test {
namespace {

using Attributes = std::vector<std::pair<std::string, std::string>>;

struct EmbedCase {
    const char* name;
    const char* html;
    bool found;
    Attributes attributes;
};

void PrintTo(const EmbedCase& c, std::ostream* out) { *out << c.name; }

class HostEmbedTag : public ::testing::TestWithParam<EmbedCase> {};

TEST_P(HostEmbedTag, FindsTheFirstTagAndItsAttributes) {
    const auto tag = host::FindEmbedTag(GetParam().html);
    ASSERT_EQ(tag.has_value(), GetParam().found);
    if (tag) {
        EXPECT_EQ(tag->attributes, GetParam().attributes);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Pages, HostEmbedTag,
    ::testing::Values(
        EmbedCase{"QuotedAndBare", R"(<embed src="a.zel" width=320 height='240'>)", true,
                  {{"src", "a.zel"}, {"width", "320"}, {"height", "240"}}},
        EmbedCase{"AnyCaseSpacedValueless", "<p>x</p><EMBED\n SRC = a.zel\tType=\"application/x-Zelscope\" hidden>", true,
                  {{"SRC", "a.zel"}, {"Type", "application/x-Zelscope"}, {"hidden", ""}}},
        EmbedCase{"QuotesNestedSelfClosingFirstOnly", R"(<embed src="a b.zel" alt='say "hi"' /><embed src=second.zel>)", true,
                  {{"src", "a b.zel"}, {"alt", "say \"hi\""}}},
        EmbedCase{"LongerTagNameSkipped", "<embedded src=x><embed>", true, {}},
        EmbedCase{"NoTag", "<html><body>no plug-in here</body></html>", false, {}},
        EmbedCase{"UnclosedQuote", "<embed src=\"never closed>", false, {}},
        EmbedCase{"UnclosedTag", "<embed src=a.zel", false, {}}));

TEST(HostEmbedTagAttribute, LooksNamesUpInAnyCase) {
    const auto tag = host::FindEmbedTag("<embed WIDTH=10 width=20>");
    ASSERT_TRUE(tag);
    EXPECT_EQ(tag->Attribute("Width"), "10");
    EXPECT_FALSE(tag->Attribute("height"));
}

}  // namespace
}  // namespace zel::test
