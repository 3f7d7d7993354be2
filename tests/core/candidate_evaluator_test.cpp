#include "search/candidate_evaluator.h"

#include "calculation_fixtures.h"
#include "draw_builder.h"
#include "history/draw_history.h"
#include "search/scheme_settings.h"
#include "search_reference.h"
#include "store/history_table.h"
#include "test_support.h"

#include "score_checks.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace qeltaro;

namespace {

Candidate sumOf(std::initializer_list<int> operands, int constant)
{
    Candidate c;
    for (int op : operands)
        c.operands[size_t(c.operandCount++)] = std::uint8_t(op);
    c.constant = constant;
    return c;
}

}  // namespace

// The fast road against the compiled formula scored by the back-test's context, over every
// category and kind, windows inside, at and beyond the history, both rates, and constants that
// make values negative.
TEST(CandidateEvaluator, GivesExactlyTheStatisticsOfTheGeneralEngine)
{
    const HistoryColumns history = test::sampleHistoryColumns(700);
    const int n = history.rowCount();
    const std::vector<SearchWindow> windows = {{300, true}, {300, false}, {0, true}, {0, false},
                                               {n - 1, true}, {n - 2, false}, {n + 50, true}, {1, true}};
    const std::vector<TailConstant> constants = {TailConstant::randomDigit(), {false, -3}, {false, -40},
                                                 {false, -32768}, {false, 32767}};
    std::uint64_t seed = 1;
    int compared = 0;
    for (const SearchWindow& window : windows) {
        for (const Category& category : Category::all()) {
            const CandidateEvaluator evaluator(history, category, window);
            EvaluationScratch scratch = evaluator.makeScratch();
            for (Kind kind : kAllKinds) {
                for (const TailConstant& constant : constants) {
                    const CandidateGenerator generator({category, kind, 2 + int(seed % 23), constant, FormulaForm::Prefix},
                                                       seed++);
                    for (std::uint64_t k = 0; k < 4; ++k) {
                        const Candidate c = generator.candidate(k);
                        const QString code = generator.codeText(c);
                        qeltaro::test::expectSameScores(evaluator.evaluate(c, kind, scratch),
                                             test::referenceStatistics(history, category, window, kind, code),
                                             code.toStdString() + " " + category.suffix().toStdString() + " window " +
                                                 std::to_string(window.periodWindow));
                        ++compared;
                    }
                }
            }
        }
    }
    EXPECT_EQ(compared, int(windows.size()) * 9 * 2 * int(constants.size()) * 4);
}

TEST(CandidateEvaluator, ScoresTheNewestWindowPlusOneRowsNeverTheFirst)
{
    struct Case {
        int rows;
        int window;
        int firstScored;  // 0-based
        int scored;
    };
    const HistoryColumns history = test::sampleHistoryColumns(1000);
    for (const Case& c : {Case{1000, 300, 699, 301}, Case{1000, 0, 1, 999}, Case{1000, 999, 1, 999},
                          Case{1000, 998, 1, 999}, Case{1000, 5000, 1, 999}}) {
        const CandidateEvaluator evaluator(history, {1, false}, {c.window, true});
        EXPECT_EQ(evaluator.firstScoredRow(), c.firstScored) << c.window;
        EXPECT_EQ(evaluator.scoredRows(), c.scored) << c.window;
    }
    for (int rows : {0, 1}) {
        const HistoryColumns tiny(test::randomDraws(rows, 3));
        const CandidateEvaluator evaluator(tiny, {3, true}, {300, true});
        EvaluationScratch scratch = evaluator.makeScratch();
        const CandidateStatistics s = evaluator.evaluate(sumOf({1, 2}, 0), Kind::Kill, scratch);
        EXPECT_EQ(s.scoredRows, 0);
        EXPECT_EQ(s.rate, 0.0f);
        EXPECT_EQ(s.maxMissRun + s.maxHitRun + s.lastMissRun + s.lastHitRun, 0);
    }
}

// 个位 1, 2, 4, 3, 6 and the candidate 个位码+个位码+0 (values 2, 4, 8, 6, 12): with a window of 2
// rows 3 to 5 are scored, predicted 4, 8, 6 against 4, 3, 6 - a kill misses, hits, misses.
TEST(CandidateEvaluator, WorkedExample)
{
    const HistoryColumns history(test::drawsOf(QStringList{"00001", "00002", "00004", "00003", "00006"}));
    const Candidate c = sumOf({5, 5}, 0);
    {
        const CandidateEvaluator evaluator(history, {1, false}, {2, true});
        EvaluationScratch scratch = evaluator.makeScratch();
        const CandidateStatistics s = evaluator.evaluate(c, Kind::Kill, scratch);
        EXPECT_EQ(s.hitSum, 4);
        EXPECT_EQ(s.totalSum, 14);
        EXPECT_EQ(s.rate, float(4.0 / 14.0 * 100.0));
        EXPECT_EQ(s.maxMissRun, 1);
        EXPECT_EQ(s.maxHitRun, 1);
        EXPECT_EQ(s.lastMissRun, 1);
        EXPECT_EQ(s.lastHitRun, 0);
        const CandidateStatistics keep = evaluator.evaluate(c, Kind::Keep, scratch);
        EXPECT_EQ(keep.hitSum, 1 + 9);
        EXPECT_EQ(keep.lastHitRun, 1);
    }
    {
        const CandidateEvaluator evaluator(history, {1, false}, {2, false});
        EvaluationScratch scratch = evaluator.makeScratch();
        EXPECT_EQ(evaluator.evaluate(c, Kind::Kill, scratch).rate, float(1.0 / 3.0 * 100.0));
    }
}

// Screening stops early, which must change nothing but the time: it passes exactly the
// candidates whose full statistics pass, and then with the same statistics.
TEST(CandidateEvaluator, ScreeningAgreesWithTheFullStatistics)
{
    const HistoryColumns history = test::sampleHistoryColumns(600);
    int passed = 0;
    for (const Category& category : Category::all()) {
        for (Kind kind : kAllKinds) {
            const CandidateEvaluator evaluator(history, category, {300, true});
            EvaluationScratch scratch = evaluator.makeScratch();
            // Loosened defaults, so that some pass and some fail at each check.
            SearchThresholds t = defaultThresholds(kind, category.positions + (category.group ? 5 : 0));
            t[0] -= 8;
            t[3] += 2;
            t[4] = std::floor(t[4] / 4);
            t[8] = 0;
            const ScreeningBounds bounds(t);
            const CandidateGenerator generator({category, kind, 8, TailConstant::randomDigit(), FormulaForm::Prefix}, 11);
            for (std::uint64_t k = 0; k < 300; ++k) {
                const Candidate c = generator.candidate(k);
                CandidateStatistics screened;
                const CandidateStatistics full = evaluator.evaluate(c, kind, scratch);
                const bool passes = evaluator.screen(c, kind, bounds, scratch, screened);
                ASSERT_EQ(passes, bounds.passes(full)) << generator.codeText(c).toStdString();
                if (passes) {
                    ++passed;
                    EXPECT_EQ(screened.maxMissRun, full.maxMissRun);
                    EXPECT_EQ(screened.maxHitRun, full.maxHitRun);
                    EXPECT_EQ(screened.lastMissRun, full.lastMissRun);
                    EXPECT_EQ(screened.lastHitRun, full.lastHitRun);
                    EXPECT_EQ(screened.rate, full.rate);
                }
            }
        }
    }
    EXPECT_GT(passed, 10);
    EXPECT_LT(passed, 9 * 2 * 300);
}
