#include "domain/hit_rule.h"

#include <gtest/gtest.h>

using namespace qeltaro;

TEST(HitRule, DirectPlayTestsOnePositionGroupPlayTheLastN)
{
    EXPECT_EQ(testedPositions({1, false}), (std::vector<int>{5}));
    EXPECT_EQ(testedPositions({3, false}), (std::vector<int>{3}));
    EXPECT_EQ(testedPositions({5, false}), (std::vector<int>{1}));
    EXPECT_EQ(testedPositions({2, true}), (std::vector<int>{4, 5}));
    EXPECT_EQ(testedPositions({5, true}), (std::vector<int>{1, 2, 3, 4, 5}));
}

TEST(HitRule, KillAndKeepAgainstTheDraw)
{
    const Digits draw{1, 2, 4, 9, 5};  // 百位 4, 个位 5
    const auto direct3 = testedPositions({3, false});
    const auto group3 = testedPositions({3, true});
    // A three-star kill of 5: direct play looks only at 百位 (4) and hits; group play sees 个位 5.
    EXPECT_TRUE(isHit(Kind::Kill, 5, draw, direct3));
    EXPECT_FALSE(isHit(Kind::Kill, 5, draw, group3));
    EXPECT_FALSE(isHit(Kind::Keep, 5, draw, direct3));
    EXPECT_TRUE(isHit(Kind::Keep, 5, draw, group3));
    EXPECT_TRUE(isHit(Kind::Keep, 4, draw, direct3));
    // -13 predicts -3: matches nothing, so a kill hits and a keep misses.
    EXPECT_TRUE(isHit(Kind::Kill, -3, draw, group3));
    EXPECT_FALSE(isHit(Kind::Keep, -3, draw, group3));
    // No value: a miss either way.
    EXPECT_FALSE(isHit(Kind::Kill, kNoDigit, draw, group3));
    EXPECT_FALSE(isHit(Kind::Keep, kNoDigit, draw, group3));
}
