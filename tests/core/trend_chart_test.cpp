#include "draw_builder.h"
#include "trend/streaks.h"
#include "trend/trend_chart.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>

using namespace qeltaro;

namespace {

HistoryColumns historyOf(const QStringList& draws)
{
    return HistoryColumns(test::drawsOf(draws));
}

std::vector<int> omissionsOf(const TrendChart& chart, int value)
{
    std::vector<int> out;
    for (int r = 0; r < chart.rowCount(); ++r)
        out.push_back(chart.omission(r, value));
    return out;
}

}  // namespace

TEST(TrendChart, OmissionsAndStatisticsOfAWindow)
{
    // 个位: 3 3 7 0 3 5 5; the window is the newest five rows (rows 2-6: 7 0 3 5 5).
    const HistoryColumns h = historyOf({"00003", "00003", "00007", "00000", "00003", "00005", "00005"});
    const TrendChart chart = trendChart(h, {TrendForm::Digit, 5}, 5);
    EXPECT_EQ(chart.firstRow, 2);
    EXPECT_EQ(chart.values, (std::vector<int>{7, 0, 3, 5, 5}));
    // Counted over the whole history: 3 was drawn at rows 0 and 1 before the window.
    EXPECT_EQ(omissionsOf(chart, 3), (std::vector<int>{1, 2, 0, 1, 2}));
    // Never drawn: row t carries t + 1.
    EXPECT_EQ(omissionsOf(chart, 9), (std::vector<int>{3, 4, 5, 6, 7}));
    const TrendStatistics& s = chart.statistics;
    EXPECT_EQ(s.appearances, (std::vector<int>{1, 0, 0, 1, 0, 2, 0, 1, 0, 0}));
    EXPECT_EQ(s.maxOmission[3], 2);
    EXPECT_EQ(s.maxOmission[9], 7);
    EXPECT_EQ(s.maxOmission[5], 5);
    EXPECT_EQ(s.currentOmission[9], 7);
    EXPECT_EQ(s.currentOmission[5], 0);
    // The run of 3 before the window does not count; the run of 5 ends at the newest row.
    EXPECT_EQ(s.maxRun[3], 1);
    EXPECT_EQ(s.maxRun[5], 2);
    EXPECT_DOUBLE_EQ(s.averageOmission[5], 1.0);  // (5 − 2) / (2 + 1)
    EXPECT_DOUBLE_EQ(s.averageOmission[9], 5.0);
    EXPECT_DOUBLE_EQ(s.currentOmissionChance[9], std::pow(0.9, 7));
    EXPECT_DOUBLE_EQ(s.currentOmissionChance[5], 1.0);

    // A run cut by the window's first row counts from there: 5 5 over the newest row is one.
    EXPECT_EQ(trendChart(h, {TrendForm::Digit, 5}, 1).statistics.maxRun[5], 1);
    // A window larger than the history, or none, is the whole history.
    EXPECT_EQ(trendChart(h, {TrendForm::Digit, 5}, 50).rowCount(), 7);
    EXPECT_EQ(trendChart(h, {TrendForm::Digit, 5}, std::nullopt).statistics.maxRun[3], 2);
}

TEST(TrendChart, EmptyAndOneRowHistories)
{
    const TrendChart empty = trendChart(HistoryColumns(), {TrendForm::Sum, 5}, 100);
    EXPECT_EQ(empty.rowCount(), 0);
    EXPECT_EQ(empty.statistics.appearances, std::vector<int>(28, 0));
    EXPECT_EQ(empty.statistics.currentOmissionChance, std::vector<double>(28, 0.0));
    EXPECT_EQ(empty.statistics.averageOmission, std::vector<double>(28, 0.0));

    const TrendChart one = trendChart(historyOf({"12345"}), {TrendForm::BigSmall, 5}, 30);
    EXPECT_EQ(one.values, (std::vector<int>{0}));  // 5 is 大
    EXPECT_EQ(omissionsOf(one, 1), (std::vector<int>{1}));
    EXPECT_DOUBLE_EQ(one.statistics.averageOmission[0], 0.0);
    EXPECT_DOUBLE_EQ(one.statistics.averageOmission[1], 1.0);
    EXPECT_DOUBLE_EQ(one.statistics.currentOmissionChance[1], 0.5);
}

TEST(TrendChart, FormsAndTheirChances)
{
    EXPECT_EQ(positionFormValue(TrendForm::BigSmall, 4), 1);  // 小
    EXPECT_EQ(positionFormValue(TrendForm::BigSmall, 5), 0);  // 大
    EXPECT_EQ(positionFormValue(TrendForm::OddEven, 0), 1);   // 双
    EXPECT_EQ(positionFormValue(TrendForm::PrimeComposite, 1), 0);  // 质
    EXPECT_EQ(positionFormValue(TrendForm::PrimeComposite, 0), 1);  // 合
    EXPECT_EQ(positionFormValue(TrendForm::PrimeComposite, 9), 1);
    EXPECT_EQ(positionFormValue(TrendForm::Remainder3, 8), 2);
    EXPECT_EQ(lastThreeFormValue(TrendForm::Shape, 4, 4, 4), 0);  // 豹子
    EXPECT_EQ(lastThreeFormValue(TrendForm::Shape, 4, 1, 4), 1);  // 组三
    EXPECT_EQ(lastThreeFormValue(TrendForm::Shape, 4, 1, 0), 2);  // 组六
    EXPECT_EQ(lastThreeFormValue(TrendForm::Span, 9, 0, 4), 9);
    EXPECT_EQ(lastThreeFormValue(TrendForm::Sum, 9, 9, 9), 27);

    // The last-three chances by counting: sum 13 can be made 75 ways, span 1 54 ways (9 pairs,
    // 6 arrangements), span 0 ten ways.
    const auto& sums = trendValueChances(TrendForm::Sum);
    EXPECT_DOUBLE_EQ(sums[0], 0.001);
    EXPECT_DOUBLE_EQ(sums[13], 0.075);
    EXPECT_NEAR(std::accumulate(sums.begin(), sums.end(), 0.0), 1.0, 1e-12);
    EXPECT_DOUBLE_EQ(trendValueChances(TrendForm::Span)[0], 0.01);
    EXPECT_DOUBLE_EQ(trendValueChances(TrendForm::Span)[1], 0.054);
    EXPECT_EQ(trendValueChances(TrendForm::Shape), (std::vector<double>{0.01, 0.27, 0.72}));
    EXPECT_EQ(trendValueChances(TrendForm::Remainder3), (std::vector<double>{0.4, 0.3, 0.3}));
}

TEST(Streaks, CurrentRunsLongestFirstWithTheirChances)
{
    // 万位 ends in three 大 (6 8 9 after 1), 千位 in four 双 (6 2 4 0 after 3) and three 小,
    // 十位 in three 小; every 个位 is 0: 小 and 双 for all five rows.
    const HistoryColumns h = historyOf({"33210", "16370", "62310", "84000", "90510"});
    const std::vector<Streak> streaks = currentStreaks(h);
    ASSERT_EQ(streaks.size(), 10u);
    auto describe = [](const Streak& s) {
        return QStringLiteral("%1%2%3×%4").arg(s.position).arg(trendFormName(s.form), s.valueLabel()).arg(s.length);
    };
    EXPECT_EQ(describe(streaks[0]), QStringLiteral("5大小小×5"));
    EXPECT_EQ(describe(streaks[1]), QStringLiteral("5单双双×5"));
    EXPECT_EQ(describe(streaks[2]), QStringLiteral("2单双双×4"));
    EXPECT_EQ(describe(streaks[3]), QStringLiteral("1大小大×3"));
    EXPECT_DOUBLE_EQ(streaks[0].chance, 0.0625);
    EXPECT_DOUBLE_EQ(streaks[3].chance, 0.25);
    EXPECT_DOUBLE_EQ(streaks[3].nextChance, 0.5);
    EXPECT_EQ(streaks.back().length, 1);
    EXPECT_TRUE(currentStreaks(HistoryColumns()).empty());
}
