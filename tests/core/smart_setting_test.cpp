#include "search/smart_setting.h"

#include "calculation_fixtures.h"
#include "history/draw_history.h"
#include "run_to_end.h"
#include "search/scheme_settings.h"
#include "store/history_table.h"
#include "test_support.h"

#include <gtest/gtest.h>

using namespace qeltaro;

namespace {

std::shared_ptr<const HistoryColumns> sampleHistory(int rows)
{
    return std::make_shared<const HistoryColumns>(test::sampleHistoryColumns(rows));
}

}  // namespace

TEST(RunningBest, MovesHalfWayTowardStrictlyBetterSamplesOnly)
{
    RunningBest best;
    best.add(CandidateStatistics{90, 4, 10, 2, 3});  // the first sample sets every value
    EXPECT_EQ(best.rate(), 90.0f);
    best.add(CandidateStatistics{90, 4, 10, 2, 3});  // equal: nothing moves
    EXPECT_EQ(best.rate(), 90.0f);
    EXPECT_EQ(best.maxMiss(), 4.0f);
    best.add(CandidateStatistics{94, 6, 8, 3, 1});   // better rate only
    EXPECT_EQ(best.rate(), 92.0f);
    EXPECT_EQ(best.maxMiss(), 4.0f);
    EXPECT_EQ(best.maxHit(), 10.0f);
    best.add(CandidateStatistics{80, 1, 20, 0, 9});  // better runs, worse rate
    EXPECT_EQ(best.rate(), 92.0f);
    EXPECT_EQ(best.maxMiss(), 2.5f);
    EXPECT_EQ(best.maxHit(), 15.0f);
    EXPECT_EQ(best.lastMiss(), 1.0f);
    EXPECT_EQ(best.lastHit(), 6.0f);
    EXPECT_EQ(best.samples(), 4);
}

TEST(RunningBest, ResultReplacesFiveThresholdsAndKeepsTheOthers)
{
    const SearchThresholds base{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    RunningBest best;
    best.add(CandidateStatistics{92.5f, 3, 10, 1, 0});
    best.add(CandidateStatistics{80, 2, 11, 0, 0});  // miss runs 2.5 and 0.5, hit run 10.5
    const SearchThresholds t = best.applyTo(base);
    EXPECT_EQ(t[0], double(92.5f));
    EXPECT_EQ(t[3], 3);   // 2.5 rounds half up
    EXPECT_EQ(t[4], 11);  // 10.5
    EXPECT_EQ(t[7], 1);   // 0.5
    EXPECT_EQ(t[8], 1);   // every final hit run was 0
    for (int i : {1, 2, 5, 6, 9})
        EXPECT_EQ(t[size_t(i)], base[size_t(i)]) << i;

    RunningBest hits;
    hits.add(CandidateStatistics{50, 1, 1, 0, 2});
    hits.add(CandidateStatistics{50, 1, 1, 0, 5});  // 3.5
    EXPECT_EQ(hits.applyTo(base)[8], 4);
    // No sample: the values as they started.
    EXPECT_EQ(RunningBest().applyTo(base)[0], 0);
    EXPECT_EQ(RunningBest().applyTo(base)[8], 1);
}

TEST(SmartSetting, TakesExactlyTheSamplesAskedAndIsReproducible)
{
    const auto history = sampleHistory(500);
    SmartSettingRequest r;
    r.kind = Kind::Kill;
    r.samples = 20;
    r.seed = 8;
    r.window = {300, true};
    r.categories.push_back({3, defaultThresholds(Kind::Kill, 3), 8});
    const SmartSettingOutcome a = test::runToEnd(*history, r);
    ASSERT_EQ(a.results.size(), 1u);
    EXPECT_EQ(a.results[0].samples, 20);
    EXPECT_EQ(a.results[0].best.samples(), 20);
    const SearchThresholds base = defaultThresholds(Kind::Kill, 3);
    for (int i : {1, 2, 5, 6, 9})
        EXPECT_EQ(a.results[0].thresholds[size_t(i)], base[size_t(i)]);
    EXPECT_GT(a.results[0].thresholds[0], 80);  // a kill rate of 三星直选 is near 90%
    const SmartSettingOutcome b = test::runToEnd(*history, r);
    EXPECT_EQ(a.results[0].thresholds, b.results[0].thresholds);
}

TEST(SmartSetting, AllCategoriesRunInTheirOrderInTheBackground)
{
    const auto history = sampleHistory(400);
    SmartSettingRequest r;
    r.kind = Kind::Keep;
    r.samples = 40;
    r.seed = 2;
    for (int number : smartSettingAllOrder())
        r.categories.push_back({number, defaultThresholds(Kind::Keep, number), 6});
    SmartSettingRun run(history, r);
    run.start();
    run.wait();
    const SmartSettingOutcome& outcome = run.outcome();
    ASSERT_EQ(outcome.results.size(), 9u);
    std::vector<int> order;
    for (const SmartSettingResult& result : outcome.results)
        order.push_back(result.searchNumber);
    EXPECT_EQ(order, (std::vector<int>{10, 9, 8, 7, 5, 4, 3, 2, 1}));
    // A keep formula of 组选五星 hits far more often than one of 直选一星.
    EXPECT_GT(outcome.results.front().thresholds[0], outcome.results.back().thresholds[0]);
}
