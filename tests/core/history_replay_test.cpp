#include "aggregate/history_replay.h"
#include "calculation_fixtures.h"
#include "domain/parameter_catalogue.h"
#include "history/draw_history.h"
#include "language/expression.h"
#include "store/history_table.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <random>

using namespace qeltaro;

namespace {

std::vector<int> totals(const ErrCounts& counts)
{
    std::vector<int> out;
    for (const ErrCount& c : counts)
        out.push_back(c.total);
    return out;
}

ErrCounts tally(bool kill, std::initializer_list<int> digits)
{
    PeriodTally t;
    for (int d : digits)
        t.add(kindOfKillFlag(kill), d);
    return t.counts();
}

StoredFormula formula(int idx, const QString& code, bool kill)
{
    StoredFormula f;
    f.idx = idx;
    f.code = code;
    f.kind = kindOfKillFlag(kill);
    return f;
}

}  // namespace

TEST(HistoryReplay, KillFormulasCountTheDigitsTheyName)
{
    const ErrCounts counts = tally(true, {3, 5, 3, -3, kNoDigit});
    EXPECT_EQ(totals(counts), (std::vector<int>{0, 0, 0, 2, 0, 1, 0, 0, 0, 0}));
    EXPECT_EQ(counts[3], (ErrCount{2, 2, 0}));
    EXPECT_EQ(counts[5], (ErrCount{1, 1, 0}));
    // Two formulas naming 3 put it at rank 10 when no other digit is named twice.
    const DigitRanking ranking = rankDigits(counts);
    EXPECT_EQ(ranking[9], (RankedDigit{3, 2}));
    EXPECT_EQ(ranking[8], (RankedDigit{5, 1}));
    EXPECT_EQ(ranking[0], (RankedDigit{0, 0}));  // equal counts: by digit
    EXPECT_EQ(ranking[7], (RankedDigit{9, 0}));
}

TEST(HistoryReplay, KeepFormulasEliminateEverythingButAStillUneliminatedDigit)
{
    // Keep 4, then 7: after the first every digit but 4 has T1 = 1; the second eliminates 4 too
    // and does not spare 7, which was already eliminated.
    ErrCounts first = tally(false, {4});
    EXPECT_EQ(totals(first), (std::vector<int>{1, 1, 1, 1, 0, 1, 1, 1, 1, 1}));
    ErrCounts both = tally(false, {4, 7});
    EXPECT_EQ(totals(both), (std::vector<int>{2, 2, 2, 2, 1, 2, 2, 2, 2, 2}));
    EXPECT_EQ(both[4], (ErrCount{1, 0, 3}));  // T3: two formulas plus the one that kept 4
    EXPECT_EQ(both[7], (ErrCount{2, 0, 2}));
    EXPECT_EQ(rankDigits(both)[0], (RankedDigit{4, 1}));

    // All keeping 5: 5 stays at 0, every other digit at the number of formulas.
    ErrCounts fives = tally(false, {5, 5, 5});
    EXPECT_EQ(totals(fives), (std::vector<int>{3, 3, 3, 3, 3, 0, 3, 3, 3, 3}));
    EXPECT_EQ(fives[5], (ErrCount{0, 0, 6}));

    // A digit outside 0-9 keeps nothing and eliminates nothing.
    EXPECT_EQ(tally(false, {-2, kNoDigit}), ErrCounts{});
    EXPECT_EQ(tally(false, {-2, 6}), tally(false, {6}));
}

namespace {

// The replay as first designed: for every history row, every formula in idx order is evaluated
// and tallied on that row, the eliminated flags snapshotted before each formula.
std::vector<PeriodRanking> perRowReplay(const HistoryColumns& history, const std::vector<StoredFormula>& formulas,
                                        const FormulaSelection& selection, ErrCounts& last)
{
    std::vector<PeriodRanking> out;
    std::vector<Result<CompiledFormula>> compiled;
    for (const StoredFormula& f : formulas)
        compiled.push_back(compileFormula(f.code));
    for (int n = 0; n < history.rowCount(); ++n) {
        std::array<bool, 10> eliminated{};
        std::array<int, 10> t1{}, t2{}, t3{};
        for (size_t i = 0; i < formulas.size(); ++i) {
            const StoredFormula& f = formulas[i];
            const std::array<bool, 10> snapshot = eliminated;
            if (!selection.isSelected(f.idx) || !compiled[i])
                continue;
            const int d = predictedDigit(compiled[i]->evaluate(history.rowValues(n)));
            if (d < 0 || d > 9)
                continue;
            if (isKill(f.kind)) {
                eliminated[size_t(d)] = true;
                ++t1[size_t(d)];
                ++t2[size_t(d)];
            } else {
                for (size_t x = 0; x < 10; ++x) {
                    eliminated[x] = true;
                    ++t1[x];
                    ++t3[x];
                }
                if (!snapshot[size_t(d)]) {
                    eliminated[size_t(d)] = false;
                    --t1[size_t(d)];
                    ++t3[size_t(d)];
                }
            }
        }
        // "ORDER BY ETrrcount" over the rows num 0..9, equal counts by num.
        std::vector<int> order = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return t1[size_t(a)] < t1[size_t(b)]; });
        PeriodRanking p{history.period(n), history.digits(n), {}};
        for (size_t r = 0; r < 10; ++r)
            p.ranking[r] = {order[r], t1[size_t(order[r])]};
        out.push_back(p);
        for (size_t x = 0; x < 10; ++x)
            last[x] = {t1[x], t2[x], t3[x]};
    }
    return out;
}

QString randomCode(std::mt19937& random)
{
    std::uniform_int_distribution<int> column(1, kParameterCount);
    std::uniform_int_distribution<int> small(1, 12);
    std::uniform_int_distribution<int> shape(0, 5);
    QStringList terms;
    const int count = 2 + int(random() % 6);
    for (int i = 0; i < count; ++i) {
        const QString c = parameterCode(column(random));
        switch (shape(random)) {
        case 0: terms << QStringLiteral("(%1 MOD %2)").arg(c).arg(small(random)); break;
        case 1: terms << QStringLiteral("%1*%2").arg(c).arg(small(random)); break;
        case 2: terms << QStringLiteral("%1/%2").arg(c, parameterCode(column(random))); break;  // may divide by 0
        case 3: terms << QStringLiteral("-%1").arg(c); break;
        default: terms << c; break;
        }
    }
    return terms.join(u'+') + QStringLiteral("+%1").arg(small(random));
}

}  // namespace

TEST(HistoryReplay, OneEvaluationPerFormulaGivesThePerRowDesignsResults)
{
    test::TempStore temp;
    ASSERT_TRUE(DrawHistory(temp.store()).importText(test::sampleHistoryLines(240)));
    auto rows = HistoryTable(temp.store()).all();
    ASSERT_TRUE(rows);
    const HistoryColumns history(*rows);

    std::mt19937 random(20240611);
    for (int round = 0; round < 6; ++round) {
        std::vector<StoredFormula> formulas;
        FormulaSelection selection;
        for (int i = 1; i <= 25; ++i) {
            // Rounds 0-1 kill lists, 2-3 keep lists, 4-5 mixed lists (each formula's own flag counts).
            const bool kill = round < 2 || (round >= 4 && random() % 2 == 0);
            formulas.push_back(formula(i, randomCode(random), kill));
            selection.set(i, random() % 5 != 0);
        }
        if (round == 5) {
            formulas.push_back(formula(26, QStringLiteral("L1A+QQQ"), true));  // refused, counts nothing
            selection.set(26, true);
        }
        ErrCounts expectedLast{};
        const auto expected = perRowReplay(history, formulas, selection, expectedLast);
        auto replay = replayHistory(history, formulas, selection);
        ASSERT_TRUE(replay);
        ASSERT_EQ(replay->periods.size(), expected.size());
        for (size_t n = 0; n < expected.size(); ++n) {
            EXPECT_EQ(replay->periods[n].period, expected[n].period);
            EXPECT_EQ(replay->periods[n].draw, expected[n].draw);
            ASSERT_EQ(replay->periods[n].ranking, expected[n].ranking) << "round " << round << " row " << n;
        }
        EXPECT_EQ(replay->lastTallies, expectedLast) << round;
        EXPECT_EQ(replay->problems.size(), round == 5 ? 1 : 0);
    }
}

TEST(HistoryReplay, UnselectedFormulasChangeNothingAndNoneSelectedLeavesZeros)
{
    const HistoryColumns history = test::columnsOf({"12345", "67890", "24680"});
    const std::vector<StoredFormula> formulas = {formula(1, "L5A", true), formula(2, "L1A+1", true),
                                                 formula(3, "7", true)};
    FormulaSelection one;
    one.set(1, true);
    auto replay = replayHistory(history, formulas, one);
    ASSERT_TRUE(replay);
    EXPECT_EQ(replay->evaluatedFormulas, 1);
    // Row n's ranking comes from row n's own draw: 12345 names 5, 67890 names 0, 24680 names 0.
    EXPECT_EQ(replay->periods[0].ranking[9], (RankedDigit{5, 1}));
    EXPECT_EQ(replay->periods[1].ranking[9], (RankedDigit{0, 1}));
    EXPECT_EQ(replay->periods[2].period, "160121003");
    EXPECT_EQ(replay->periods[2].draw, (Digits{2, 4, 6, 8, 0}));

    auto none = replayHistory(history, formulas, FormulaSelection());
    ASSERT_TRUE(none);
    ASSERT_EQ(none->periods.size(), 3u);
    for (const PeriodRanking& p : none->periods) {
        for (size_t r = 0; r < 10; ++r)
            EXPECT_EQ(p.ranking[r], (RankedDigit{int(r), 0}));
    }
    auto all = replayHistory(history, formulas, std::nullopt);  // no flags given: every formula
    ASSERT_TRUE(all);
    EXPECT_EQ(all->lastTallies[7].total, 1);
    EXPECT_EQ(all->lastTallies[0].total, 1);
    EXPECT_EQ(all->lastTallies[3].total, 1);

    auto stopped = replayHistory(history, formulas, std::nullopt, [](int done, int) { return done < 2; });
    ASSERT_FALSE(stopped);
    EXPECT_EQ(stopped.error().kind, ErrorKind::Cancelled);
}

TEST(HistoryReplay, TheCategoryReplayWritesTheLastPeriodsTalliesToErrarr)
{
    test::TempStore temp;
    const auto draws = test::drawsOf({"12345", "67890", "24680"});
    test::storeFormulas(temp.store(), {2, true}, {{"L5A", {}, false}, {"L4A", {}, false}, {"3"}});
    // An empty history yields no periods and leaves Errarr alone.
    auto empty = replayCategory(temp.store(), HistoryColumns(), {2, true}, Kind::Keep, std::nullopt);
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->periods.empty());
    EXPECT_EQ(*readErrCounts(temp.store(), ErrCountTable::ReplayTallies), ErrCounts{});

    auto replay = replayCategory(temp.store(), HistoryColumns(draws), {2, true}, Kind::Keep, std::nullopt);
    ASSERT_TRUE(replay);
    // Last row 24680: keep 0 (L5A), then keep 8 (L4A), already eliminated.
    auto stored = readErrCounts(temp.store(), ErrCountTable::ReplayTallies);
    ASSERT_TRUE(stored);
    EXPECT_EQ(*stored, replay->lastTallies);
    EXPECT_EQ((*stored)[0], (ErrCount{1, 0, 3}));
    EXPECT_EQ((*stored)[8], (ErrCount{2, 0, 2}));
}
