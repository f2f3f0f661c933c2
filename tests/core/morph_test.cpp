#include "morph.h"

#include <gtest/gtest.h>

#include "description.h"
#include "temp_dir.h"

namespace zel {
namespace {

// Four views around a ring: 0 -> 1 -> 2 -> 3 to the right, the reverse to the left.
const char* const kRing =
    "4 320 240 1\n"
    "v0.jpg -1 -1 1 3\n"
    "v1.jpg -1 -1 2 0\n"
    "v2.jpg -1 -1 3 1\n"
    "v3.jpg -1 -1 0 2\n";

class MorphSection : public ::testing::Test {
protected:
    DescriptionRead ReadWithPairs(const std::string& pairs) {
        return ReadDescriptionFile(m_dir.Write("ring.zel", std::string(kRing) + pairs), Dialect::Control);
    }
    std::string Morph(const std::string& name, const std::string& text) { return m_dir.Write(name, text); }

    test::TempDir m_dir;
};

TEST_F(MorphSection, ReadsCorrespondencesTrianglesAndBackgroundInAnyCase) {
    const std::string path = Morph("m01.txt",
                                   "corr 1 2 3 4\n"
                                   "stray 17 words -5\n"
                                   "Corr 5 6 7 8\n"
                                   "CORR -1 -2 -3 -4\n"
                                   "PoLy 2 0 1\n"
                                   "background 10 20 30\n");
    DescriptionRead read = ReadWithPairs("1 " + path + " 0 1\n");
    ASSERT_EQ(read.status, ReadStatus::Ok) << DescribeProblem(read.problem);
    ASSERT_EQ(read.table.pairs.size(), 1u);
    const MorphPair& pair = read.table.pairs[0];
    EXPECT_EQ(pair.viewA, 0);
    EXPECT_EQ(pair.viewB, 1);
    EXPECT_EQ(pair.background, (std::array<int32_t, 3>{10, 20, 30}));
    ASSERT_EQ(pair.triangles.size(), 1u);
    EXPECT_EQ(pair.triangles[0].vertices[0].values, (std::array<int32_t, 4>{-1, -2, -3, -4}));
    EXPECT_EQ(pair.triangles[0].vertices[1].values, (std::array<int32_t, 4>{1, 2, 3, 4}));
    EXPECT_EQ(pair.triangles[0].vertices[2].values, (std::array<int32_t, 4>{5, 6, 7, 8}));
    EXPECT_TRUE(read.morphProblems.empty());
}

TEST_F(MorphSection, BackgroundDefaultsToBlackAndTheLaterOneWins) {
    const std::string none = Morph("none.txt", "CORR 0 0 0 0\n");
    const std::string two = Morph("two.txt", "BACKGROUND 1 2 3\nBACKGROUND 4 5 6\n");
    DescriptionRead read = ReadWithPairs("2 " + none + " 0 1 " + two + " 1 2\n");
    ASSERT_EQ(read.status, ReadStatus::Ok);
    EXPECT_EQ(read.table.pairs[0].background, (std::array<int32_t, 3>{0, 0, 0}));
    EXPECT_EQ(read.table.pairs[1].background, (std::array<int32_t, 3>{4, 5, 6}));
}

TEST_F(MorphSection, PairIndexPointsFromTheFirstMatchingSlotOfEachSide) {
    const std::string m = Morph("m.txt", "");
    // Pair 0 joins 0 and 1 (right/left neighbours); pair 1 joins 0 and 2, which
    // are not neighbours; pair 2 joins 1 and 2 and pair 3 overwrites it.
    DescriptionRead read = ReadWithPairs("4 " + m + " 0 1 " + m + " 0 2 " + m + " 1 2 " + m + " 2 1\n");
    ASSERT_EQ(read.status, ReadStatus::Ok);
    const ViewTable& t = read.table;
    EXPECT_EQ(t.PairIndex(0, kSlotRight), 0);
    EXPECT_EQ(t.PairIndex(1, kSlotLeft), 0);
    EXPECT_EQ(t.PairIndex(1, kSlotRight), 3);
    EXPECT_EQ(t.PairIndex(2, kSlotLeft), 3);
    for (int slot = 1; slot <= 4; ++slot) {
        EXPECT_NE(t.PairIndex(0, slot), 1);
        EXPECT_NE(t.PairIndex(2, slot), 1);
    }
    EXPECT_EQ(t.PairIndex(3, kSlotRight), kNoView);
    EXPECT_EQ(t.pairs.size(), 4u);
}

TEST_F(MorphSection, OnlyTheFirstOfTwoSlotsNamingTheSameViewIsIndexed) {
    const std::string m = Morph("m.txt", "");
    const std::string text = "2 320 240 1 a.jpg 1 -1 1 -1 b.jpg -1 -1 -1 0 1 " + m + " 0 1\n";
    DescriptionRead read = ReadDescriptionFile(m_dir.Write("twice.zel", text), Dialect::Control);
    ASSERT_EQ(read.status, ReadStatus::Ok);
    EXPECT_EQ(read.table.PairIndex(0, kSlotDown), 0);
    EXPECT_EQ(read.table.PairIndex(0, kSlotRight), kNoView);
    EXPECT_EQ(read.table.PairIndex(1, kSlotLeft), 0);
}

TEST_F(MorphSection, AMissingOrBrokenMorphFileCostsItsPairTheTrianglesButNotTheMovie) {
    const std::string good = Morph("good.txt", "CORR 1 1 1 1 POLY 0 0 0 BACKGROUND 9 9 9");
    const std::string badIndex = Morph("bad-index.txt", "BACKGROUND 7 7 7 CORR 1 2 3 4 POLY 0 1 0");
    const std::string cutShort = Morph("cut.txt", "CORR 1 2");
    const std::string notNumber = Morph("nan.txt", "\n\nBACKGROUND 1 two 3");
    const std::string missing = m_dir.File("missing.txt");
    DescriptionRead read = ReadWithPairs("5 " + missing + " 0 1 " + good + " 1 2 " + badIndex + " 2 3 " + cutShort +
                                         " 3 0 " + notNumber + " 0 3\n");
    ASSERT_EQ(read.status, ReadStatus::Ok);
    ASSERT_EQ(read.table.pairs.size(), 5u);
    EXPECT_EQ(read.table.pairs[1].triangles.size(), 1u);
    for (size_t p : {0u, 2u, 3u, 4u}) {
        EXPECT_TRUE(read.table.pairs[p].triangles.empty()) << p;
        EXPECT_EQ(read.table.pairs[p].background, (std::array<int32_t, 3>{0, 0, 0})) << p;
    }
    EXPECT_EQ(read.table.PairIndex(0, kSlotRight), 0);  // indexed all the same

    ASSERT_EQ(read.morphProblems.size(), 4u);
    EXPECT_TRUE(read.morphProblems[0].cantOpen);
    EXPECT_EQ(read.morphProblems[0].path, missing);
    EXPECT_EQ(read.morphProblems[1].pair, 2);
    EXPECT_EQ(DescribeProblem(read.morphProblems[1].detail),
              "line 1, \"POLY\": POLY names correspondence 1, but 1 have been listed before it");
    EXPECT_EQ(DescribeProblem(read.morphProblems[2].detail),
              "line 1, \"CORR\": the file ends before the 4 numbers of CORR");
    EXPECT_EQ(DescribeProblem(read.morphProblems[3].detail),
              "line 3, \"two\": a number of BACKGROUND is not a 32-bit integer");
}

TEST_F(MorphSection, AMorphFileIsReadUpToItsByteLimitAndRefusedBeyondIt) {
    std::string text = "BACKGROUND 4 5 6\n";
    text += std::string(kMaxMorphFileBytes - text.size(), ' ');
    const std::string atLimit = Morph("at-limit.txt", text);
    const std::string beyond = Morph("beyond.txt", text + "x");
    DescriptionRead read = ReadWithPairs("2 " + atLimit + " 0 1 " + beyond + " 1 2\n");
    ASSERT_EQ(read.status, ReadStatus::Ok);
    EXPECT_EQ(read.table.pairs[0].background, (std::array<int32_t, 3>{4, 5, 6}));
    ASSERT_EQ(read.morphProblems.size(), 1u);
    EXPECT_EQ(read.morphProblems[0].pair, 1);
    EXPECT_FALSE(read.morphProblems[0].cantOpen);
    EXPECT_EQ(DescribeProblem(read.morphProblems[0].detail),
              "line 2: the file is longer than 1048576 bytes, the most the control reads of one morph file");
}

TEST_F(MorphSection, AZeroFlagOrAZeroCountKeepsNoPairs) {
    DescriptionRead read = ReadWithPairs("0\n");
    ASSERT_EQ(read.status, ReadStatus::Ok);
    EXPECT_TRUE(read.table.pairs.empty());
    EXPECT_EQ(read.table.pairIndex[0], std::vector<int32_t>(4, kNoView));
}

}  // namespace
}  // namespace zel
