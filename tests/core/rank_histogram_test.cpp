#include "aggregate/rank_histogram.h"

#include <gtest/gtest.h>

using namespace qeltaro;

namespace {

// Periods whose ranking is always 0..9 in digit order (rank r holds digit r - 1); the draw of
// each following period then puts its 个位 digit d at rank d + 1.
std::vector<PeriodRanking> periodsDrawing(const std::vector<int>& lastDigits)
{
    std::vector<PeriodRanking> periods;
    for (size_t i = 0; i < lastDigits.size(); ++i) {
        PeriodRanking p;
        p.period = QStringLiteral("1601%1").arg(i + 1, 5, 10, QLatin1Char('0'));
        p.draw = {9, 9, 9, 9, lastDigits[i]};
        for (int r = 0; r < 10; ++r)
            p.ranking[size_t(r)] = {r, r};
        periods.push_back(p);
    }
    return periods;
}

}  // namespace

TEST(RankHistogram, CountsTheRankOfThePositionDigitInEitherPlay)
{
    // The first period's draw is never judged (no ranking before it).
    const auto periods = periodsDrawing({5, 0, 0, 3, 9});
    for (bool group : {false, true}) {
        const auto list = RankingList::build(periods, 5, group);
        ASSERT_TRUE(list);
        const RankHistogram h = rankHistogram(*list);
        EXPECT_EQ(h.rows, 4);
        EXPECT_EQ(h.counts, (std::array<int, 10>{2, 0, 0, 1, 0, 0, 0, 0, 0, 1})) << group;
        EXPECT_DOUBLE_EQ(h.meanRank, (1 + 1 + 4 + 10) / 4.0);
    }
    // In group play from 万位 the 9s drawn elsewhere are marked too, but only the 万位 digit counts.
    const RankHistogram wan = rankHistogram(*RankingList::build(periods, 1, true));
    EXPECT_EQ(wan.counts[9], 4);
    EXPECT_EQ(wan.rows, 4);
}

TEST(RankHistogram, SummarySaysWhetherTheRankingBeatsChance)
{
    struct Case {
        std::vector<int> draws;
        const char* verdict;
    };
    std::vector<int> uniform{0};
    for (int i = 0; i < 200; ++i)
        uniform.push_back(i % 10);
    std::vector<int> early{0};
    for (int i = 0; i < 200; ++i)
        early.push_back(i % 3);  // always ranks 1-3
    std::vector<int> late{0};
    for (int i = 0; i < 200; ++i)
        late.push_back(7 + i % 3);
    std::vector<int> ends{0};
    for (int i = 0; i < 200; ++i)
        ends.push_back(i % 2 == 0 ? 0 : 9);  // ranks 1 and 10 only: uneven, mean 5.5
    const Case cases[] = {{uniform, "排位与随机无显著差别"},
                          {early, "排位明显偏前，排序优于随机"},
                          {late, "排位明显偏后，排序不如随机"},
                          {ends, "排位分布不均，但不偏前也不偏后"}};
    for (const Case& c : cases) {
        const QString text = rankHistogramSummary(rankHistogram(*RankingList::build(periodsDrawing(c.draws), 5, false)));
        EXPECT_TRUE(text.startsWith(QStringLiteral("共200期"))) << text.toStdString();
        EXPECT_TRUE(text.endsWith(QString::fromUtf8(c.verdict))) << text.toStdString();
    }
    const auto single = RankingList::build(periodsDrawing({4}), 5, false);
    EXPECT_EQ(rankHistogramSummary(rankHistogram(*single)), "没有可对照的期数：历史号码至少需要两期");
}
