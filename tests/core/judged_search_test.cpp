// The search judged: its best rate against the best of luck, the reality check, and the whole
// search-then-calculate method walked forward.

#include "method/searched_walk_forward.h"

#include "backtest/backtest_engine.h"
#include "backtest/full_backtest.h"
#include "calculation_fixtures.h"
#include "draw_builder.h"
#include "predictions/kept_digits.h"
#include "run_to_end.h"
#include "search/found_formula_save.h"
#include "search/reality_check.h"
#include "search/search_category.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <random>

using namespace qeltaro;

namespace {

const SearchThresholds kAnyRecord = {0, 100, 0, 32768, 0, 32768, 0, 32768, 0, 32768};

// 直选一星 kill, 8 operands, random constant: many candidates pass loose thresholds.
SearchRequest killRequest(float lowestRate, std::uint64_t seed)
{
    SearchRequest r;
    r.shape = {{1, false}, Kind::Kill, 8, TailConstant::randomDigit(), FormulaForm::Prefix};
    r.thresholds = kAnyRecord;
    r.thresholds[0] = lowestRate;
    r.window = {300, false};
    r.seed = seed;
    r.threads = 2;
    return r;
}

// 直选一星 keep with two operands: on the planted history 万位码+个位码 keeps every next 个位.
SearchRequest plantedRequest()
{
    SearchRequest r = killRequest(99.5f, 2024);
    r.shape = {{1, false}, Kind::Keep, 2, TailConstant{}, FormulaForm::Prefix};
    return r;
}

float bestOver(const CandidateEvaluator& evaluator, const CandidateGenerator& generator, std::uint64_t count, Kind kind)
{
    EvaluationScratch scratch = evaluator.makeScratch();
    float best = -1;
    for (std::uint64_t k = 0; k < count; ++k)
        best = std::max(best, evaluator.evaluate(generator.candidate(k), kind, scratch).rate);
    return best;
}

}  // namespace

TEST(BestRates, EqualADirectScanOfTheVerifiedCandidatesWhateverTheThresholds)
{
    const HistoryColumns history(test::randomDraws(400, 5));
    SearchRequest request = killRequest(91, 77);
    request.stopCount = 40;  // met inside the first block: later candidates must not count
    const SearchOutcome outcome = test::runToEnd(history, request);
    ASSERT_TRUE(outcome.targetReached);
    ASSERT_LT(outcome.verified, CandidateSearch::kBlock);

    const CandidateGenerator generator(request.shape, request.seed);
    const CandidateEvaluator evaluator(history, request.shape.category, request.window);
    const RunHistories histories = runHistories(history, request.window, 0, true, request.seed);
    const std::vector<CandidateEvaluator> controls = histories.controlEvaluators(request.shape.category, request.window);
    float shuffled = -1;
    EvaluationScratch scratch = evaluator.makeScratch();
    for (std::uint64_t k = 0; k < outcome.verified; ++k)
        shuffled = std::max(shuffled, controls[k % controls.size()].evaluate(generator.candidate(k), Kind::Kill, scratch).rate);
    EXPECT_EQ(outcome.best.real, bestOver(evaluator, generator, outcome.verified, Kind::Kill));
    EXPECT_EQ(outcome.best.shuffled, shuffled);

    // A fixed number of candidates: the best is the same under thresholds that find all or none.
    request.stopCount.reset();
    request.maxCandidates = 5000;
    request.thresholds = kAnyRecord;
    const SearchOutcome all = test::runToEnd(history, request);
    request.thresholds[0] = 100;
    request.threads = 1;
    const SearchOutcome none = test::runToEnd(history, request);
    EXPECT_EQ(all.found.size(), 5000u);
    EXPECT_TRUE(none.found.empty());
    EXPECT_EQ(all.best, none.best);
    EXPECT_EQ(all.best.real, bestOver(evaluator, generator, 5000, Kind::Kill));

    request.shuffledControl = false;
    EXPECT_FALSE(test::runToEnd(history, request).best.shuffled);
}

TEST(RealityCheck, CountsTheCopiesThatReachTheRealBest)
{
    const HistoryColumns history(test::randomDraws(360, 8));
    SearchRequest request = killRequest(95, 31);
    request.maxCandidates = 3000;
    request.holdoutPeriods = 20;  // the copies shuffle the history the run screened on
    const SearchOutcome outcome = test::runToEnd(history, request);
    auto checked = runRealityCheck(history, realityCheckOf(request, outcome, 3));
    ASSERT_TRUE(checked) << checked.error().message.toStdString();
    ASSERT_EQ(checked->size(), 1u);
    const RealityCheck& check = checked->front();

    // By hand: each copy's best over the same 3000 candidates, counted against the real best.
    const HistoryColumns screened = history.firstRows(340);
    const int fromRow = firstScoredRow(340, request.window.backtestSettings()) - 1;
    const CandidateGenerator generator(request.shape, request.seed);
    int reached = 0;
    for (int copy = 0; copy < 3; ++copy) {
        const CandidateEvaluator evaluator(realityCopy(screened, request.seed, copy, fromRow), {1, false}, request.window);
        const float best = bestOver(evaluator, generator, 3000, Kind::Kill);
        EXPECT_EQ(check.copyBests[size_t(copy)], best);
        reached += best >= *outcome.best.real;
    }
    EXPECT_EQ(check.realBest, *outcome.best.real);
    EXPECT_EQ(check.atLeastAsGood, reached);
    EXPECT_DOUBLE_EQ(check.pValue, (1.0 + reached) / 4.0);

    EXPECT_DOUBLE_EQ(judgeReality({1, false}, 95, {94, 95, 96, 93}).pValue, 3.0 / 5.0);
    EXPECT_FALSE(runRealityCheck(history, realityCheckOf(request, outcome, 0)));
    EXPECT_FALSE(runRealityCheck(history, realityCheckOf(request, SearchOutcome{}, 3)));  // nothing verified
}

TEST(RealityCheck, APlantedRuleBeatsEveryCopyAndIndependentDrawsDoNot)
{
    const HistoryColumns planted(test::drawsWithPlantedLastDigit(500, 4));
    SearchRequest request = plantedRequest();
    request.maxCandidates = 20000;
    const SearchOutcome outcome = test::runToEnd(planted, request);
    ASSERT_FALSE(outcome.found.empty());
    auto checked = runRealityCheck(planted, realityCheckOf(request, outcome, kDefaultRealityCopies));
    ASSERT_TRUE(checked);
    EXPECT_EQ(checked->front().atLeastAsGood, 0);
    EXPECT_DOUBLE_EQ(checked->front().pValue, 0.05);
    EXPECT_TRUE(checked->front().beatsLuck());
    EXPECT_FALSE(realityCheckVerdict(checked->front()).contains(QStringLiteral("并不")));

    // On draws that carry no information the real best is one more draw from the copies' lot.
    double sum = 0;
    int small = 0;
    for (std::uint32_t seed = 1; seed <= 6; ++seed) {
        const HistoryColumns independent(test::randomDraws(360, seed));
        SearchRequest r = killRequest(100, seed);
        r.maxCandidates = 4000;
        const SearchOutcome o = test::runToEnd(independent, r);
        auto c = runRealityCheck(independent, realityCheckOf(r, o, 9));
        ASSERT_TRUE(c);
        sum += c->front().pValue;
        small += c->front().pValue <= 0.1;
    }
    EXPECT_GT(sum / 6, 0.25);
    EXPECT_LE(small, 1);
}

namespace {

SearchedWalkPlan walkPlan(const Category& category, Kind kind, int operands, const SearchThresholds& thresholds,
                          std::uint64_t candidates, int periods)
{
    SearchedWalkPlan plan;
    SearchedWalkRequest& r = plan.request;
    r.walk.category = category;
    r.walk.kind = kind;
    r.walk.periods = periods;
    r.walk.method = CalculationMethod::Best;
    r.walk.window = {100, true, true};
    r.walk.threads = 2;
    r.candidates = candidates;
    r.seed = 99;
    for (int number : schemeOrder()) {
        r.thresholds[size_t(number - 1)] = thresholds;
        r.operandCounts[size_t(number - 1)] = operands;
    }
    return plan;
}

WalkForwardResult walked(const SearchedWalkPlan& plan, const HistoryColumns& history)
{
    auto result = walkForwardWithSearch(plan, history);
    EXPECT_TRUE(result) << result.error().message.toStdString();
    return result ? *result : WalkForwardResult{};
}

// What a period's walk decided: the found count and each slot's kept digits.
std::vector<std::vector<int>> decisions(const WalkForwardPeriod& period)
{
    std::vector<std::vector<int>> out{{period.found.value_or(-1)}};
    for (const WalkForwardSlot& slot : period.slotResults)
        out.push_back(slot.kept);
    return out;
}

}  // namespace

TEST(SearchedWalkForward, EqualsSearchingThenCalculatingOnTheHistoryBeforeEachPeriod)
{
    const std::vector<DrawRecord> draws = test::randomDraws(180, 41);
    const HistoryColumns history(draws);
    SearchThresholds thresholds = kAnyRecord;
    thresholds[0] = 93;
    SearchedWalkPlan plan = walkPlan({2, false}, Kind::Kill, 6, thresholds, 1500, 3);
    plan.request.walk.sort.keepLimit = 4;
    plan.request.constant = TailConstant::randomDigit();
    const WalkForwardResult result = walked(plan, history);
    ASSERT_EQ(result.periods.size(), 3u);

    for (int i = 0; i < 3; ++i) {
        const int t = history.rowCount() - 3 + i;
        const WalkForwardPeriod& period = result.periods[size_t(i)];
        SCOPED_TRACE(period.period.toStdString());
        // The user's way: a store of the draws before t, each table searched and replaced by
        // what was found, back-tested, then "计算公式".
        test::TempStore cut;
        const std::vector<DrawRecord> before(draws.begin(), draws.begin() + t);
        test::storeDraws(cut.store(), before);
        const HistoryColumns beforeColumns(before);
        int found = 0;
        for (int positions : {1, 2}) {
            const Category table{positions, false};
            SearchRequest search;
            search.shape = {table, Kind::Kill, 6, plan.request.constant, FormulaForm::Prefix};
            search.thresholds = thresholds;
            search.window = searchWindowOf(plan.request.walk.window);
            search.maxCandidates = plan.request.candidates;
            search.seed = periodSearchSeed(plan.request.seed, history.period(t), searchNumberOf(table));
            search.shuffledControl = false;
            const SearchOutcome searched = test::runToEnd(beforeColumns, search);
            ASSERT_FALSE(searched.found.empty());
            ASSERT_TRUE(saveFoundFormulas(cut.store(), searched.found, SaveMode::Replace, Kind::Kill));
            auto list = FormulaList::load(cut.store(), table, Kind::Kill);
            ASSERT_TRUE(list);
            found += list->size();
            ASSERT_TRUE(runFullBacktest(cut.store(), *list, beforeColumns, plan.request.walk.window, BacktestEngine(1)));
        }
        CalculationRequest calculation;
        calculation.category = {2, false};
        calculation.kind = Kind::Kill;
        calculation.method = CalculationMethod::Best;
        calculation.sort.keepLimit = 4;
        auto calculated = calculateCategory(cut.store(), beforeColumns, calculation);
        ASSERT_TRUE(calculated);
        EXPECT_EQ(period.found, found);
        ASSERT_EQ(period.slotResults.size(), 2u);
        for (size_t s = 0; s < 2; ++s)
            EXPECT_EQ(period.slotResults[s].kept, keptDigits(calculated->slotResults[s].counts, Kind::Kill)) << "slot " << s;
    }
}

TEST(SearchedWalkForward, FindsAPlantedRuleAndBeatsChanceButNotOnIndependentDraws)
{
    SearchThresholds thresholds = kAnyRecord;
    thresholds[0] = 14;  // keep: chance is 10%
    SearchedWalkPlan plan = walkPlan({1, false}, Kind::Keep, 2, thresholds, 20000, 30);
    plan.request.walk.sort.keepLimit = 1;  // the best-ranked formula's digit alone

    const WalkForwardResult planted = walked(plan, HistoryColumns(test::drawsWithPlantedLastDigit(400, 6)));
    EXPECT_EQ(planted.noPrediction, 0);
    EXPECT_GE(planted.summary.successes, 29);
    EXPECT_TRUE(planted.summary.beatsChance());

    const WalkForwardResult independent = walked(plan, HistoryColumns(test::randomDraws(400, 6)));
    EXPECT_EQ(independent.summary.tested, 30);
    EXPECT_FALSE(independent.summary.beatsChance()) << independent.summary.successes;

    // Thresholds nothing meets: no period predicts.
    plan.request.thresholds[0][0] = 100;
    const WalkForwardResult none = walked(plan, HistoryColumns(test::randomDraws(400, 6)));
    EXPECT_EQ(none.noPrediction, 30);
    EXPECT_EQ(none.summary.tested, 0);
    EXPECT_EQ(none.periods.back().found, 0);
}

TEST(SearchedWalkForward, ReadsNothingAfterAPeriodAndGivesTheSameOnAnyThreads)
{
    std::mt19937 random(12);
    QStringList digits;
    for (int i = 0; i < 220; ++i)
        digits << QString::number(10000 + random() % 90000).right(5);
    const HistoryColumns history(test::drawsOf(digits));
    SearchThresholds thresholds = kAnyRecord;
    thresholds[0] = 93;
    SearchedWalkPlan plan = walkPlan({3, true}, Kind::Kill, 8, thresholds, 2000, 6);
    const WalkForwardResult two = walked(plan, history);
    plan.request.walk.threads = 1;
    const WalkForwardResult one = walked(plan, history);
    ASSERT_EQ(two.periods.size(), 6u);
    for (size_t i = 0; i < 6; ++i)
        EXPECT_EQ(decisions(one.periods[i]), decisions(two.periods[i])) << i;
    EXPECT_EQ(one.summary.successes, two.summary.successes);

    // The draw of the fourth period walked changed afterwards: the three before stay as they were,
    // and fewer periods walked change none of the periods they share.
    digits[217] = digits[217] == QStringLiteral("00000") ? QStringLiteral("11111") : QStringLiteral("00000");
    const WalkForwardResult changed = walked(plan, HistoryColumns(test::drawsOf(digits)));
    for (size_t i = 0; i < 3; ++i)
        EXPECT_EQ(decisions(changed.periods[i]), decisions(one.periods[i])) << i;
    plan.request.walk.periods = 2;
    const WalkForwardResult fewer = walked(plan, history);
    EXPECT_EQ(decisions(fewer.periods[0]), decisions(one.periods[4]));
}
