// The checks beside a search: the shuffled-history control and the held-out periods.

#include "search/search_run.h"

#include "backtest/holdout.h"
#include "domain/chance_statistics.h"
#include "draw_builder.h"
#include "run_to_end.h"
#include "search/shuffled_control.h"

#include <gtest/gtest.h>

using namespace qeltaro;

namespace {

// 直选一星 keep with two operands and the constant 0, passing only near-perfect records. On the
// planted history 万位码+个位码 keeps the next 个位 every time; by chance a keep formula is right
// one time in ten, so a record this good practically never happens.
SearchRequest plantedRequest()
{
    SearchRequest r;
    r.shape = {{1, false}, Kind::Keep, 2, TailConstant{}, FormulaForm::Prefix};
    r.thresholds = {99.5f, 100, 0, 32768, 0, 32768, 0, 32768, 0, 32768};
    r.window = {300, false};
    r.seed = 2024;
    r.threads = 2;
    return r;
}

// 直选一星 kill with loose thresholds: a good share of random formulas pass on any history.
SearchRequest looseKillRequest(float lowestRate)
{
    SearchRequest r = plantedRequest();
    r.shape.kind = Kind::Kill;
    r.shape.operandCount = 8;
    r.shape.constant = TailConstant::randomDigit();
    r.thresholds = {lowestRate, 100, 0, 32768, 0, 32768, 0, 32768, 0, 32768};
    return r;
}

}  // namespace

TEST(ShuffledControl, APlantedRuleLetsTheRealHistoryPassFarMoreOftenThanTheShuffledOne)
{
    const HistoryColumns history(test::drawsWithPlantedLastDigit(600, 1));
    SearchRequest request = plantedRequest();
    request.maxCandidates = 200000;
    const SearchOutcome outcome = test::runToEnd(history, request);
    ASSERT_TRUE(outcome.control);
    const ShuffledControl& control = *outcome.control;
    EXPECT_EQ(control.verified, 200000u);
    EXPECT_EQ(control.realPasses, outcome.found.size());
    EXPECT_GE(control.realPasses, 10u);
    EXPECT_LE(control.shuffledPasses * 10, control.realPasses);
    EXPECT_TRUE(control.informative());
    EXPECT_TRUE(shuffledControlVerdict(control).contains(QStringLiteral("明显高于")));

    // Each found formula is far above chance on its own record too.
    std::vector<FormulaRecord> records;
    for (const FoundFormula& f : outcome.found)
        records.push_back({int(f.stats.hitSum), f.stats.scoredRows, f.stats.maxHitRun, f.stats.maxMissRun, f.stats.scoredRows});
    for (const ChanceAssessment& a : assessAgainstChance(request.shape.category, Kind::Keep, records))
        EXPECT_TRUE(a.beatsChance);
}

TEST(ShuffledControl, OnIndependentDrawsBothHistoriesPassAlike)
{
    const HistoryColumns history(test::randomDraws(600, 77));
    SearchRequest request = looseKillRequest(93);
    request.maxCandidates = 20000;
    const SearchOutcome outcome = test::runToEnd(history, request);
    ASSERT_TRUE(outcome.control);
    const ShuffledControl& control = *outcome.control;
    EXPECT_GT(control.realPasses, 100u);
    EXPECT_GT(control.shuffledPasses, 100u);
    EXPECT_LT(control.realRate(), 2 * control.shuffledRate());
    EXPECT_GT(control.realRate(), 0.5 * control.shuffledRate());
    EXPECT_FALSE(control.informative());
    EXPECT_TRUE(shuffledControlVerdict(control).contains(QStringLiteral("相近")));
}

TEST(ShuffledControl, CountsTheSameCandidatesAsTheRealPassesWhateverTheThreads)
{
    const HistoryColumns history(test::randomDraws(400, 5));
    SearchRequest request = looseKillRequest(91);
    request.stopCount = 40;  // stops inside a block: later candidates must not count
    request.threads = 1;
    const SearchOutcome one = test::runToEnd(history, request);
    request.threads = 2;
    const SearchOutcome two = test::runToEnd(history, request);
    ASSERT_TRUE(one.targetReached);
    EXPECT_EQ(one.verified, two.verified);
    ASSERT_TRUE(one.control && two.control);
    EXPECT_EQ(one.control->passesByCopy, two.control->passesByCopy);
    EXPECT_EQ(one.control->verified, one.verified);
    EXPECT_LT(one.verified, CandidateSearch::kBlock);

    request.shuffledControl = false;
    EXPECT_FALSE(test::runToEnd(history, request).control);
}

TEST(ShuffledControl, JudgesTheRealRateAgainstTheSpreadOfTheCopies)
{
    // Candidates are dealt round the copies: 1005 over 10 copies gives the first five 101.
    EXPECT_EQ(copyShare(1005, 4, 10), 101u);
    EXPECT_EQ(copyShare(1005, 5, 10), 100u);
    const std::vector<std::uint64_t> steady(10, 10);  // 1% on every copy of 1000 candidates
    const ShuffledControl same = compareWithShuffled(10000, 100, steady);
    EXPECT_EQ(same.shuffledPasses, 100u);
    EXPECT_DOUBLE_EQ(same.shuffledRate(), 0.01);
    EXPECT_NEAR(same.pValue, 0.5, 1e-9);
    EXPECT_FALSE(same.informative());
    EXPECT_TRUE(shuffledControlVerdict(same).contains(QStringLiteral("相近")));

    // Three times the copies' rate, which hardly vary: far beyond them.
    const ShuffledControl above = compareWithShuffled(10000, 300, steady);
    EXPECT_LT(above.pValue, 0.01);
    EXPECT_TRUE(shuffledControlVerdict(above).contains(QStringLiteral("明显高于")));

    // The same real count against copies that swing from 0% to 4%: within their spread.
    const std::vector<std::uint64_t> swinging{0, 40, 5, 30, 2, 25, 10, 0, 35, 3};
    EXPECT_GT(compareWithShuffled(10000, 300, swinging).pValue, 0.05);

    // Nothing passed anywhere: nothing to say.
    const ShuffledControl none = compareWithShuffled(10000, 0, std::vector<std::uint64_t>(10, 0));
    EXPECT_DOUBLE_EQ(none.pValue, 1.0);
    EXPECT_TRUE(shuffledControlVerdict(none).isEmpty());
    // No copy that passed, but real passes far beyond counting noise.
    EXPECT_TRUE(compareWithShuffled(10000, 80, std::vector<std::uint64_t>(10, 0)).informative());
    EXPECT_EQ(passRateText(0.0005), QStringLiteral("0.05%"));
}

TEST(HoldoutCheck, APlantedRuleHoldsOnPeriodsItNeverSaw)
{
    const HistoryColumns history(test::drawsWithPlantedLastDigit(720, 2));
    SearchRequest request = plantedRequest();
    request.holdoutPeriods = 120;
    request.stopCount = 3;
    const SearchOutcome outcome = test::runToEnd(history, request);
    ASSERT_EQ(outcome.found.size(), 3u);
    EXPECT_EQ(outcome.holdoutPeriods, 120);
    for (const FoundFormula& f : outcome.found) {
        ASSERT_TRUE(f.holdout);
        EXPECT_EQ(f.holdout->trials, 120);
        EXPECT_EQ(f.holdout->hits, 120) << f.code.toStdString();
        EXPECT_DOUBLE_EQ(f.holdout->chance, 0.1);
        EXPECT_TRUE(f.holdout->beatsChance);
        // Screened on the 600 periods before: the newest 301 of those.
        EXPECT_EQ(f.stats.scoredRows, 301);
    }
}

TEST(HoldoutCheck, FormulasFoundOnIndependentDrawsFallBackToChance)
{
    const HistoryColumns history(test::randomDraws(720, 3));
    SearchRequest request = looseKillRequest(95);
    request.holdoutPeriods = 120;
    request.stopCount = 30;
    const SearchOutcome outcome = test::runToEnd(history, request);
    ASSERT_EQ(outcome.found.size(), 30u);
    double rates = 0;
    for (const FoundFormula& f : outcome.found) {
        ASSERT_TRUE(f.holdout);
        EXPECT_FALSE(f.holdout->beatsChance) << f.code.toStdString();
        rates += f.holdout->rate();
    }
    // 95% and more before; about the chance rate of 90% after.
    EXPECT_NEAR(rates / 30, 0.9, 0.03);
}

TEST(HoldoutCheck, RefusesToHoldOutTheWholeHistory)
{
    EXPECT_TRUE(checkHoldoutPeriods(0, 0));
    EXPECT_TRUE(checkHoldoutPeriods(120, 122));
    EXPECT_FALSE(checkHoldoutPeriods(120, 121));
    EXPECT_FALSE(checkHoldoutPeriods(-1, 500));
    EXPECT_EQ(historyBeforeHoldout(HistoryColumns(test::randomDraws(50, 1)), 20).rowCount(), 30);
}

TEST(HoldoutCheck, TheCorrectionRunsOverTheWholeList)
{
    // Each alone would beat chance at 0.01; over a list of three, Holm needs 0.0033 for the
    // smallest, so only the first one does.
    std::vector<HoldoutResult> results(3);
    const double p[] = {0.001, 0.006, 0.008};
    for (int i = 0; i < 3; ++i) {
        results[size_t(i)].hits = 100;
        results[size_t(i)].trials = 100;
        results[size_t(i)].chance = 0.9;
        results[size_t(i)].pValue = p[i];
    }
    judgeHoldout(results);
    EXPECT_TRUE(results[0].beatsChance);
    EXPECT_FALSE(results[1].beatsChance);
    EXPECT_FALSE(results[2].beatsChance);
    // Below chance is never "above chance", however small p is.
    results = {HoldoutResult{0, 100, 0.9, 1e-9, false}};
    judgeHoldout(results);
    EXPECT_FALSE(results[0].beatsChance);
}
