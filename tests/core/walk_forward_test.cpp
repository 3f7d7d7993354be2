// The walk-forward test of the calculation method, and the outcome of a prediction.

#include "predictions/walk_forward.h"

#include "backtest/backtest_engine.h"
#include "backtest/category_calculation.h"
#include "backtest/formula_list.h"
#include "backtest/full_backtest.h"
#include "calculation_fixtures.h"
#include "domain/poisson_binomial.h"
#include "domain/prediction_outcome.h"
#include "draw_builder.h"
#include "money/prize_settings.h"
#include "domain/parameter_catalogue.h"
#include "predictions/kept_digits.h"
#include "predictions/moving_window_statistics.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace qeltaro;

namespace {

Digits digitsOf(const char* text) { return *parseDigits(QString::fromLatin1(text)); }

// Sums of two to four catalogue columns and a constant: formulas whose records differ enough
// for the ranking to matter.
QString randomCode(std::mt19937& random)
{
    std::uniform_int_distribution<int> column(1, kParameterCount);
    QStringList terms;
    const int count = 2 + int(random() % 3);
    for (int i = 0; i < count; ++i)
        terms << parameterCode(column(random));
    return terms.join(u'+') + QStringLiteral("+%1").arg(random() % 10);
}

std::vector<test::FormulaRow> randomFormulas(std::mt19937& random, int count, bool kill)
{
    static std::vector<QByteArray> codes;  // FormulaRow holds a char pointer
    std::vector<test::FormulaRow> rows;
    for (int i = 0; i < count; ++i) {
        codes.push_back(randomCode(random).toLatin1());
        rows.push_back({codes.back().constData(), std::nullopt, kill});
    }
    return rows;
}

}  // namespace

TEST(PredictionOutcome, DirectAndGroupSlotsAgainstHandMadeDraws)
{
    const Digits draw = digitsOf("38146");  // 万位 3 .. 个位 6
    struct Case {
        const char* name;
        Category table;
        std::vector<int> kept;
        bool success;
        double chance;
        QString drawn;
    };
    const std::vector<Case> cases = {
        {"1D tests 个位", {1, false}, {0, 2, 6}, true, 0.3, "6"},
        {"1D misses", {1, false}, {0, 2, 5}, false, 0.3, "6"},
        {"3D tests 百位", {3, false}, {1}, true, 0.1, "1"},
        {"5D tests 万位", {5, false}, {1, 2, 4, 6, 8}, false, 0.5, "3"},
        {"2G needs both of the last two", {2, true}, {4, 6, 9}, true, 0.09, "46"},
        {"3G misses one of three", {3, true}, {4, 6, 9}, false, 0.027, "146"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const SlotOutcome outcome = judgeSlot(c.table, c.kept, draw);
        ASSERT_TRUE(outcome.success.has_value());
        EXPECT_EQ(*outcome.success, c.success);
        EXPECT_NEAR(outcome.chance, c.chance, 1e-12);
        EXPECT_EQ(outcome.drawn, c.drawn);
        EXPECT_TRUE(outcome.evidence);
    }

    const SlotOutcome waiting = judgeSlot({3, true}, {1, 2}, std::nullopt);
    EXPECT_FALSE(waiting.success.has_value());
    EXPECT_TRUE(waiting.drawn.isEmpty());
    EXPECT_FALSE(judgeSlot({1, false}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, draw).evidence);
    EXPECT_FALSE(judgeSlot({1, false}, {}, draw).evidence);
}

TEST(PredictionOutcome, SummaryCountsOnlyEvidenceAndKeepsWaitingApart)
{
    std::vector<SlotOutcome> outcomes;
    outcomes.push_back(judgeSlot({1, false}, {6}, digitsOf("38146")));            // success, 0.1
    outcomes.push_back(judgeSlot({1, false}, {0, 1}, digitsOf("38146")));         // failure, 0.2
    outcomes.push_back(judgeSlot({1, false}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, digitsOf("38146")));  // no evidence
    outcomes.push_back(judgeSlot({1, false}, {6}, std::nullopt));                  // waiting
    const PredictionSummary summary = summarizeOutcomes(outcomes);
    EXPECT_EQ(summary.tested, 2);
    EXPECT_EQ(summary.successes, 1);
    EXPECT_NEAR(summary.expected, 0.3, 1e-12);
    EXPECT_NEAR(summary.pValue, 1 - 0.9 * 0.8, 1e-12);
    EXPECT_EQ(summary.withoutEvidence, 1);
    EXPECT_EQ(summary.waiting, 1);
    EXPECT_FALSE(summary.beatsChance());
    EXPECT_TRUE(predictionVerdict(summary).contains(QStringLiteral("相近")));
    EXPECT_TRUE(predictionVerdict(PredictionSummary{}).contains(QStringLiteral("还没有")));
}

TEST(PoissonBinomial, UpperTailEqualsTheSumOverEveryOutcome)
{
    // Every one of the 2^n outcomes of small trial sets, summed directly.
    const std::vector<std::vector<double>> sets = {
        {0.5}, {0.1, 0.9}, {0.3, 0.3, 0.3}, {0.1, 0.25, 0.5, 0.75, 0.9}, {0.027, 0.09, 0.3, 1.0, 0.0, 0.6, 0.44}};
    for (const std::vector<double>& chances : sets) {
        const int n = int(chances.size());
        std::vector<double> exact(size_t(n) + 1, 0.0);
        for (int mask = 0; mask < (1 << n); ++mask) {
            double p = 1;
            for (int i = 0; i < n; ++i)
                p *= (mask >> i) & 1 ? chances[size_t(i)] : 1 - chances[size_t(i)];
            exact[size_t(__builtin_popcount(unsigned(mask)))] += p;
        }
        double tail = 0;
        for (int s = n; s >= 0; --s) {
            tail += exact[size_t(s)];
            EXPECT_NEAR(poissonBinomialAtLeast(chances, s), std::min(1.0, tail), 1e-12) << "n=" << n << " s=" << s;
        }
        EXPECT_EQ(poissonBinomialAtLeast(chances, n + 1), 0.0);
    }
    // A tail far below one minus anything: 100 successes of 100 at 0.1 each.
    EXPECT_NEAR(std::log10(poissonBinomialAtLeast(std::vector<double>(100, 0.1), 100)), -100.0, 1e-9);
}

// Every cut of the history, the moving statistics against a fresh back-test of that cut.
TEST(MovingWindowStatistics, EqualsAFreshBacktestOfEveryCut)
{
    const std::vector<DrawRecord> draws = test::randomDraws(260, 7);
    const HistoryColumns history(draws);
    std::mt19937 random(11);
    for (const Category category : {Category{1, false}, Category{3, true}}) {
        for (const bool kill : {true, false}) {
            FormulaList list(category, kindOfKillFlag(kill));
            for (int i = 1; i <= 6; ++i)
                list.append(i, randomCode(random), QString(), kindOfKillFlag(kill));
            list.append(7, QStringLiteral("L1A/(L2A-L2A)"), QString(), kindOfKillFlag(kill));  // no value on any row
            const auto columns = BacktestEngine(1).verify(list, 0, list.size(), history);
            for (const BacktestSettings settings : {BacktestSettings{0, true, true}, BacktestSettings{40, true, true},
                                                    BacktestSettings{40, false, false}, BacktestSettings{1, true, false}}) {
                std::vector<MovingWindowStatistics> moving;
                for (const FormulaVerification& column : columns) {
                    std::vector<std::uint8_t> hits(size_t(column.rowCount()));
                    for (int r = 1; r < column.rowCount(); ++r)
                        hits[size_t(r)] = column.hitAt(r);
                    moving.emplace_back(std::move(hits), settings.weightedRate);
                }
                for (int t = 150; t <= history.rowCount(); ++t) {
                    const FormulaStatsTable fresh = BacktestEngine(1).backtest(list, history.firstRows(t), settings);
                    for (int k = 0; k < list.size(); ++k) {
                        moving[size_t(k)].moveTo(firstScoredRow(t, settings), t);
                        const StoredStatistics got = moving[size_t(k)].statistics();
                        const StoredStatistics want = fresh.at(k).stored();
                        ASSERT_EQ(got.rate, want.rate) << "t=" << t << " k=" << k;
                        ASSERT_EQ(got.maxMissRun, want.maxMissRun) << "t=" << t << " k=" << k;
                        ASSERT_EQ(got.maxHitRun, want.maxHitRun) << "t=" << t << " k=" << k;
                        ASSERT_EQ(got.lastMissRun, want.lastMissRun) << "t=" << t << " k=" << k;
                        ASSERT_EQ(got.lastHitRun, want.lastHitRun) << "t=" << t << " k=" << k;
                    }
                }
            }
        }
    }
}

namespace {

struct WalkCase {
    const char* name;
    Category category;
    bool kill;
    CalculationMethod method;
    BacktestSettings window;
    int quota;
};

// The calculation the user would have run before period t: a store holding only the draws
// before it, every slot table back-tested under the window settings, then "计算公式".
std::vector<std::vector<int>> calculateOnCut(const std::vector<DrawRecord>& draws, int t,
                                             const std::vector<std::pair<Category, std::vector<test::FormulaRow>>>& tables,
                                             const WalkCase& c, const FormulaSelection& selection)
{
    test::TempStore cut;
    test::storeDraws(cut.store(), std::vector<DrawRecord>(draws.begin(), draws.begin() + t));
    for (const auto& [table, rows] : tables)
        test::storeFormulas(cut.store(), table, rows);
    const HistoryColumns history(std::vector<DrawRecord>(draws.begin(), draws.begin() + t));
    for (const auto& [table, rows] : tables) {
        auto list = FormulaList::load(cut.store(), table, kindOfKillFlag(c.kill));
        EXPECT_TRUE(list);
        EXPECT_TRUE(runFullBacktest(cut.store(), *list, history, c.window, BacktestEngine(1)));
    }
    CalculationRequest request;
    request.category = c.category;
    request.kind = kindOfKillFlag(c.kill);
    request.method = c.method;
    request.sort.keepLimit = c.quota;
    request.selection = selection;
    auto calculation = calculateCategory(cut.store(), history, request);
    EXPECT_TRUE(calculation) << calculation.error().message.toStdString();
    std::vector<std::vector<int>> kept;
    for (const SlotCalculation& slot : calculation->slotResults)
        kept.push_back(keptDigits(slot.counts, kindOfKillFlag(c.kill)));
    return kept;
}

}  // namespace

TEST(WalkForward, EqualsBacktestAndCalculationOnTheHistoryCutBeforeEachPeriod)
{
    const std::vector<DrawRecord> draws = test::randomDraws(140, 23);
    const HistoryColumns history(draws);
    const std::vector<WalkCase> cases = {
        {"3D kill, best, window 60 weighted", {3, false}, true, CalculationMethod::Best, {60, true, true}, 3},
        {"2G keep, best, whole history plain", {2, true}, false, CalculationMethod::Best, {0, true, false}, 4},
        {"1D keep, best, window 30 taking one more", {1, false}, false, CalculationMethod::Best, {30, false, true}, 2},
        {"2D kill, selected", {2, false}, true, CalculationMethod::Selected, {60, true, true}, 3},
    };
    std::mt19937 random(5);
    for (const WalkCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::pair<Category, std::vector<test::FormulaRow>>> tables;
        const CalculationPlan plan = planOfCode(calculationCode(c.category, c.method, CalculationPeriod::Next), c.category);
        for (const auto& [slot, table] : plan.slotTables) {
            std::vector<test::FormulaRow> rows = randomFormulas(random, 12, c.kill);
            rows.push_back({"L1A/(L3A-L3A)", std::nullopt, c.kill});  // never has a value
            rows.push_back({"L1A+QQQ", std::nullopt, c.kill});        // does not compile
            tables.emplace_back(table, rows);
        }
        FormulaSelection selection;
        for (int idx = 1; idx <= 14; ++idx)
            selection.set(idx, idx % 3 != 0);

        test::TempStore whole;
        test::storeDraws(whole.store(), draws);
        for (const auto& [table, rows] : tables)
            test::storeFormulas(whole.store(), table, rows);
        WalkForwardRequest request;
        request.category = c.category;
        request.kind = kindOfKillFlag(c.kill);
        request.periods = 4;
        request.method = c.method;
        request.sort.keepLimit = c.quota;
        request.selection = selection;
        request.window = c.window;
        PrizeTable prizes;  // 1 yuan a bet, 0.9 back of every yuan
        prizes.stake = 1'000;
        for (int n = 1; n <= 5; ++n)
            prizes.prizes[size_t(n - 1)] = combinationsOf(n) * 900;
        ASSERT_TRUE(savePrizeTable(whole.store(), prizes));
        auto walked = walkForward(whole.store(), history, request);
        ASSERT_TRUE(walked) << walked.error().message.toStdString();
        ASSERT_EQ(walked->periods.size(), 4u);
        MoneySummary sums;
        // The formula that does not compile, once for each slot table it is in.
        EXPECT_EQ(walked->problems.size(), qsizetype(plan.slotTables.size()));
        for (int i = 0; i < 4; ++i) {
            const int t = history.rowCount() - 4 + i;
            const WalkForwardPeriod& period = walked->periods[size_t(i)];
            EXPECT_EQ(period.period, history.period(t));
            const auto expected = calculateOnCut(draws, t, tables, c, selection);
            ASSERT_EQ(period.slotResults.size(), expected.size());
            for (size_t s = 0; s < expected.size(); ++s) {
                EXPECT_EQ(period.slotResults[s].kept, expected[s]) << "period " << period.period.toStdString() << " slot " << s;
                EXPECT_EQ(*period.slotResults[s].outcome.success,
                          judgeSlot(period.slotResults[s].table, expected[s], history.digits(t)).success.value());
            }
            // One bet per combination of the kept digits; a win when every slot succeeded.
            std::int64_t bets = 1;
            bool won = true;
            for (size_t s = 0; s < expected.size(); ++s) {
                for (int p = 0; p < (c.category.group ? c.category.positions : 1); ++p)
                    bets *= std::int64_t(expected[s].size());
                won = won && *period.slotResults[s].outcome.success;
            }
            EXPECT_EQ(period.money.bets, bets);
            EXPECT_EQ(period.money.cost, bets * 1'000);
            EXPECT_EQ(period.money.payout, won && bets > 0 ? prizes.prize(c.category.positions) : 0);
            EXPECT_NEAR(period.money.expectedNet(), -0.1 * double(bets), 1e-9);
            sums.add(period.money);
        }
        EXPECT_EQ(walked->money.cost, sums.cost);
        EXPECT_EQ(walked->money.payout, sums.payout);
        EXPECT_NEAR(walked->money.expectedNet(), sums.expectedNet(), 1e-9);
        EXPECT_EQ(walked->money.predictions, 4);
    }
}

TEST(WalkForward, APlantedRuleBeatsChanceAndIndependentDrawsDoNot)
{
    std::mt19937 random(3);
    std::vector<test::FormulaRow> rows = randomFormulas(random, 20, false);
    rows.push_back({"L1A+L5A", std::nullopt, false});  // 万位码+个位码: the planted rule

    WalkForwardRequest request;
    request.category = {1, false};
    request.kind = Kind::Keep;
    request.periods = 200;
    request.method = CalculationMethod::Best;
    request.sort.keepLimit = 1;  // the best-ranked formula alone
    request.window = {100, true, true};

    struct Case {
        const char* name;
        std::vector<DrawRecord> draws;
        bool beats;
    };
    const std::vector<Case> cases = {{"planted", test::drawsWithPlantedLastDigit(400, 9), true},
                                     {"independent", test::randomDraws(400, 9), false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempStore temp;
        test::storeDraws(temp.store(), c.draws);
        test::storeFormulas(temp.store(), {1, false}, rows);
        auto walked = walkForward(temp.store(), HistoryColumns(c.draws), request);
        ASSERT_TRUE(walked);
        const PredictionSummary& summary = walked->summary;
        EXPECT_EQ(summary.tested, 200);
        EXPECT_NEAR(summary.expected, 20.0, 1e-9);
        EXPECT_EQ(summary.beatsChance(), c.beats) << summary.successes << " successes, p=" << summary.pValue;
        if (c.beats) {
            EXPECT_GT(summary.successes, 150);
        }
    }
}

TEST(WalkForward, RefusesWhatCannotBeWalkedAndStopsWhenCancelled)
{
    test::TempStore temp;
    const std::vector<DrawRecord> draws = test::randomDraws(30, 1);
    test::storeDraws(temp.store(), draws);
    test::storeFormulas(temp.store(), {1, false}, {{"L1A"}});
    WalkForwardRequest request;
    request.category = {1, false};
    request.periods = 0;
    EXPECT_FALSE(walkForward(temp.store(), HistoryColumns(draws), request));
    request.periods = 1000;  // more than there are: every period but the first
    auto all = walkForward(temp.store(), HistoryColumns(draws), request);
    ASSERT_TRUE(all);
    EXPECT_EQ(all->periods.size(), 29u);
    EXPECT_FALSE(walkForward(temp.store(), HistoryColumns(test::randomDraws(1, 1)), request));

    struct StopAtOnce : Progress {
        bool cancelled() const override { return true; }
    } stop;
    auto stopped = walkForward(temp.store(), HistoryColumns(draws), request, &stop);
    ASSERT_FALSE(stopped);
    EXPECT_EQ(stopped.error().kind, ErrorKind::Cancelled);
}
