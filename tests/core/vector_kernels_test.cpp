// The vector road against the plain road, its yardstick, on every instruction set this processor
// runs: the search's candidates, the column evaluator's values and the back-test's scores must
// come out bit for bit the same.

#include "backtest/backtest_context.h"
#include "draw_builder.h"
#include "language/column_evaluator.h"
#include "random_formula.h"
#include "score_checks.h"
#include "search/candidate_search.h"
#include "search/scheme_settings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

using namespace qeltaro;

namespace {

// Random draws, of which every column past the digits is spread over -range..range on some
// rows when `range` is set: negative columns, and sums past the reach of each vector road.
HistoryColumns historyOf(int rows, std::uint32_t seed, int range = 0)
{
    std::vector<DrawRecord> draws = test::randomDraws(rows, seed);
    std::mt19937 random(seed);
    for (DrawRecord& draw : draws) {
        for (int c = 5; c < kParameterCount && range > 0; ++c) {
            if (random() % 4 == 0)
                draw.values[size_t(c)] = int(random() % (2 * unsigned(range) + 1)) - range;
        }
    }
    return HistoryColumns(draws);
}

std::vector<HistoryColumns> histories()
{
    std::vector<HistoryColumns> all;
    for (int rows : {0, 1, 2, 3, 65, 700})
        all.push_back(historyOf(rows, std::uint32_t(rows + 1)));
    all.push_back(historyOf(400, 7, 30));        // negative columns
    all.push_back(historyOf(300, 8, 250000));    // sums beyond 2^22
    all.push_back(historyOf(5000, 9));           // weights whose lanes fill 32 bits
    return all;
}

void expectSameValues(const std::vector<double>& vector, const std::vector<double>& plain, const std::string& what)
{
    ASSERT_EQ(vector.size(), plain.size()) << what;
    for (size_t i = 0; i < plain.size(); ++i) {
        if (std::isnan(plain[i]))
            ASSERT_TRUE(std::isnan(vector[i])) << what << " row " << i;
        else
            ASSERT_EQ(std::memcmp(&vector[i], &plain[i], sizeof(double)), 0)
                << what << " row " << i << ": " << vector[i] << " vs " << plain[i];
    }
}

// A random formula, every third one after a MOD edge: fractions, zero divisors, negative
// divisors, huge dividends.
QString randomFormula(std::mt19937& random)
{
    const char* edges[] = {"(L1A-5) MOD 3", "(0-L1A) MOD (L2A-4)", "(L1A/2) MOD 3", "(L1A*1000000000) MOD 7",
                           "L1A MOD 0.4", "(L1A-4.5) MOD (0-2)", "(L1A-L2A) MOD 1", "-L2A MOD 3", "LH/(L1A-L2A)",
                           // near 2^31 and whole quotients, where a reciprocal falls short
                           "(L1A*214748364+L2A) MOD 214748363", "(L1A*49-L2A+L2A) MOD 49"};
    const QString code = test::randomFormula(random, 5);
    return random() % 3 == 0 ? QString::fromLatin1(edges[random() % std::size(edges)]) + QStringLiteral(" MOD ") + code : code;
}

}  // namespace

TEST(VectorRoad, SearchScoresEveryCandidateAsThePlainRoadOnEveryInstructionSet)
{
    if (everyVectorKernels().empty())
        GTEST_SKIP() << "no vector unit";
    const std::vector<HistoryColumns> all = histories();
    const std::vector<TailConstant> constants = {TailConstant::randomDigit(), {false, -3}, {false, -32768}, {false, 32767}};
    std::uint64_t seed = 1;
    for (const VectorKernels* kernels : everyVectorKernels()) {
        SCOPED_TRACE(kernels->target);
        for (const HistoryColumns& history : all) {
            const int n = history.rowCount();
            for (const SearchWindow& window : {SearchWindow{300, true}, SearchWindow{0, false}, SearchWindow{1, true},
                                               SearchWindow{n + 5, true}}) {
                for (const Category& category : Category::all()) {
                    const CandidateEvaluator plain(history, category, window, nullptr);
                    const CandidateEvaluator vector(history, category, window, kernels);
                    EvaluationScratch plainScratch = plain.makeScratch();
                    EvaluationScratch vectorScratch = vector.makeScratch();
                    for (Kind kind : kAllKinds) {
                        // Loosened defaults, so that candidates pass and fail at each check.
                        SearchThresholds t = defaultThresholds(kind, category.positions + (category.group ? 5 : 0));
                        t[0] -= 8;
                        t[8] = 0;
                        const ScreeningBounds bounds(t);
                        for (const TailConstant& constant : constants) {
                            const CandidateGenerator generator(
                                {category, kind, 2 + int(seed % 23), constant, FormulaForm::Prefix}, seed);
                            ++seed;
                            for (std::uint64_t k = 0; k < 3; ++k) {
                                const Candidate c = generator.candidate(k);
                                const std::string what = generator.codeText(c).toStdString() + " rows " +
                                                         std::to_string(n) + " window " +
                                                         std::to_string(window.periodWindow);
                                test::expectSameScores(vector.evaluate(c, kind, vectorScratch),
                                                       plain.evaluate(c, kind, plainScratch), what);
                                CandidateStatistics a, b;
                                ASSERT_EQ(vector.screen(c, kind, bounds, vectorScratch, a),
                                          plain.screen(c, kind, bounds, plainScratch, b))
                                    << what;
                            }
                        }
                    }
                }
            }
        }
    }
}

// A whole search finds the same formulas, in the same order, with the same statistics.
TEST(VectorRoad, SearchFindsTheSameFormulasForTheSameSeed)
{
    const HistoryColumns history = historyOf(1500, 3);
    const Category category{3, false};
    for (const VectorKernels* kernels : everyVectorKernels()) {
        for (const SearchWindow& window : {SearchWindow{300, true}, SearchWindow{0, true}}) {
            const CandidateEvaluator plain(history, category, window, nullptr);
            const CandidateEvaluator vector(history, category, window, kernels);
            SearchThresholds t = defaultThresholds(Kind::Kill, 3);
            t[0] -= 3;
            const CandidateGenerator generator({category, Kind::Kill, 8, TailConstant::randomDigit(), FormulaForm::Prefix},
                                               20240601);
            RunControl control;
            const CandidateSearchOutcome a = CandidateSearch(vector, generator, t).run({std::nullopt, 20000}, 2, control);
            const CandidateSearchOutcome b = CandidateSearch(plain, generator, t).run({std::nullopt, 20000}, 2, control);
            ASSERT_EQ(a.found.size(), b.found.size()) << kernels->target;
            EXPECT_GT(b.found.size(), 5u);
            for (size_t i = 0; i < b.found.size(); ++i) {
                EXPECT_EQ(a.found[i].ordinal, b.found[i].ordinal);
                test::expectSameScores(a.found[i].stats, b.found[i].stats, kernels->target);
            }
        }
    }
}

// Random formulas and the MOD edges over every history: the same values, the sign of a zero
// included, and the same back-test statistics under every window.
TEST(VectorRoad, ColumnValuesAndBacktestScoresAreThoseOfThePlainRoad)
{
    const std::vector<HistoryColumns> all = histories();
    std::mt19937 random(20261209);
    for (const VectorKernels* kernels : everyVectorKernels()) {
        SCOPED_TRACE(kernels->target);
        ColumnEvaluator plainEvaluator(nullptr);
        ColumnEvaluator vectorEvaluator(kernels);
        std::vector<double> plainValues, vectorValues;
        for (const HistoryColumns& history : all) {
            for (int f = 0; f < 40; ++f) {
                const QString code = randomFormula(random);
                auto compiled = compileFormula(code);
                ASSERT_TRUE(compiled) << code.toStdString();
                // A suffix of the rows, then all of them for the scores.
                for (int from : {int(random() % 3) + 1, 0}) {
                    plainEvaluator.evaluate(*compiled, history, plainValues, from);
                    vectorEvaluator.evaluate(*compiled, history, vectorValues, from);
                    expectSameValues(vectorValues, plainValues, code.toStdString());
                }
                for (const BacktestSettings& settings :
                     {BacktestSettings{0, true, true}, BacktestSettings{300, false, true}, BacktestSettings{2, true, false}}) {
                    const Category category = Category::all()[size_t(f) % 9];
                    const BacktestContext plain(history, category, settings, nullptr);
                    const BacktestContext vector(history, category, settings, kernels);
                    for (Kind kind : kAllKinds) {
                        FormulaStats a, b;
                        vector.score(vectorValues.data(), kind, a);
                        plain.score(plainValues.data(), kind, b);
                        test::expectSameScores(a, b, code.toStdString());
                        EXPECT_EQ(a.hits, b.hits);
                        EXPECT_EQ(a.namedRows, b.namedRows);
                        EXPECT_EQ(a.namedHits, b.namedHits);
                    }
                }
            }
        }
    }
}
