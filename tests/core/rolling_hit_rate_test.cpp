#include "backtest/rolling_hit_rate.h"

#include <gtest/gtest.h>

using namespace qeltaro;

namespace {

// A verification whose predictions hit where `pattern` says '1' (the first row has none).
FormulaVerification verificationOf(const std::string& pattern)
{
    std::vector<std::int8_t> digits(pattern.size() + 1, 0);
    std::vector<std::uint8_t> hits{0};
    for (char c : pattern)
        hits.push_back(c == '1' ? 1 : 0);
    return FormulaVerification(digits, hits);
}

}  // namespace

TEST(RollingHitRate, EachPointIsTheShareOfHitsInTheWindowEndingThere)
{
    const RollingHitRate r = rollingHitRate(verificationOf("1101001111"), 4);
    EXPECT_EQ(r.predictions, 10);
    EXPECT_EQ(r.hits, 7);
    EXPECT_DOUBLE_EQ(r.overallRate(), 0.7);
    ASSERT_EQ(r.points.size(), 7u);  // windows ending at predictions 4..10
    const double expected[] = {0.75, 0.5, 0.25, 0.5, 0.5, 0.75, 1.0};
    for (size_t i = 0; i < r.points.size(); ++i) {
        EXPECT_EQ(r.points[i].row, int(i) + 4);
        EXPECT_DOUBLE_EQ(r.points[i].rate, expected[i]) << i;
    }
}

TEST(RollingHitRate, AWindowLongerThanTheHistoryGivesNoPoints)
{
    EXPECT_TRUE(rollingHitRate(verificationOf("111"), 4).points.empty());
    EXPECT_EQ(rollingHitRate(verificationOf("111"), 3).points.size(), 1u);
    const RollingHitRate empty = rollingHitRate(FormulaVerification(), 120);
    EXPECT_EQ(empty.predictions, 0);
    EXPECT_DOUBLE_EQ(empty.overallRate(), 0);
    // A window of 0 is taken as 1: every prediction on its own.
    EXPECT_EQ(rollingHitRate(verificationOf("10"), 0).points.size(), 2u);
}
