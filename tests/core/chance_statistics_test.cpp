#include "domain/chance_statistics.h"
#include "domain/hit_rule.h"

#include <gtest/gtest.h>

#include <random>

using namespace qeltaro;

TEST(ChanceStatistics, ChanceRatesMatchAnExactEnumerationOfEveryDraw)
{
    for (const Category& category : Category::all()) {
        const auto positions = testedPositions(category);
        for (bool kill : {true, false}) {
            // Every draw of the tested positions, against every predicted digit.
            const int tested = int(positions.size());
            long long outcomes = 1, hits = 0;
            for (int i = 0; i < tested; ++i)
                outcomes *= 10;
            for (int digit = 0; digit <= 9; ++digit) {
                for (long long code = 0; code < outcomes; ++code) {
                    Digits draw{0, 0, 0, 0, 0};
                    long long rest = code;
                    for (int p : positions) {
                        draw[size_t(p - 1)] = int(rest % 10);
                        rest /= 10;
                    }
                    hits += isHit(kindOfKillFlag(kill), digit, draw, positions) ? 1 : 0;
                }
            }
            EXPECT_NEAR(chanceHitRate(category, kindOfKillFlag(kill)), double(hits) / double(outcomes * 10), 1e-12)
                << category.suffix().toStdString() << (kill ? " kill" : " keep");
        }
    }
    EXPECT_DOUBLE_EQ(chanceHitRate({1, false}, Kind::Kill), 0.9);
    EXPECT_NEAR(chanceHitRate({3, true}, Kind::Kill), 0.729, 1e-12);
}

TEST(ChanceStatistics, BinomialPValuesAgreeWithKnownValues)
{
    // Reference values of the two-sided exact test (minimum-likelihood method).
    EXPECT_NEAR(binomialTwoSidedPValue(7, 10, 0.5), 0.34375, 1e-9);
    EXPECT_NEAR(binomialTwoSidedPValue(3, 10, 0.5), 0.34375, 1e-9);
    EXPECT_NEAR(binomialTwoSidedPValue(5, 10, 0.5), 1.0, 1e-9);
    EXPECT_NEAR(binomialTwoSidedPValue(10, 10, 0.5), 0.001953125, 1e-12);
    // 0.9^20 plus the upper tail P(X >= 4): the outcomes no likelier than none at all.
    EXPECT_NEAR(binomialTwoSidedPValue(0, 20, 0.1), 0.1215767 + 0.1329533, 1e-6);
    EXPECT_NEAR(binomialTwoSidedPValue(8, 20, 0.1), 0.000415635, 1e-8);  // P(X >= 8) only
    EXPECT_DOUBLE_EQ(binomialTwoSidedPValue(0, 0, 0.9), 1.0);
    // Symmetric around a rate of one half.
    EXPECT_NEAR(binomialTwoSidedPValue(60, 100, 0.5), binomialTwoSidedPValue(40, 100, 0.5), 1e-12);
    // A large count stays accurate and fast.
    EXPECT_LT(binomialTwoSidedPValue(9300, 10000, 0.9), 1e-20);
    EXPECT_GT(binomialTwoSidedPValue(9010, 10000, 0.9), 0.5);
}

TEST(ChanceStatistics, HolmAdjustmentOnAHandWorkedList)
{
    // Sorted 0.01, 0.02, 0.03, 0.04 -> 0.04, 0.06, 0.06, 0.06 (monotone), returned in list order.
    const std::vector<double> adjusted = holmAdjusted({0.03, 0.01, 0.04, 0.02});
    ASSERT_EQ(adjusted.size(), 4u);
    EXPECT_NEAR(adjusted[1], 0.04, 1e-12);
    EXPECT_NEAR(adjusted[3], 0.06, 1e-12);
    EXPECT_NEAR(adjusted[0], 0.06, 1e-12);
    EXPECT_NEAR(adjusted[2], 0.06, 1e-12);
    EXPECT_DOUBLE_EQ(holmAdjusted({0.5, 0.9})[1], 1.0);
    EXPECT_TRUE(holmAdjusted({}).empty());
}

TEST(ChanceStatistics, LongestRunProbabilityMatchesEnumerationAndSimulation)
{
    // Exact enumeration of all 2^12 sequences at p = 0.5.
    for (int run = 1; run <= 12; ++run) {
        int withRun = 0;
        for (int bits = 0; bits < (1 << 12); ++bits) {
            int current = 0, longest = 0;
            for (int i = 0; i < 12; ++i) {
                current = (bits >> i) & 1 ? current + 1 : 0;
                longest = std::max(longest, current);
            }
            withRun += longest >= run ? 1 : 0;
        }
        EXPECT_NEAR(longestRunAtLeastProbability(12, 0.5, run), withRun / 4096.0, 1e-12) << run;
    }
    // Biased coin, against a seeded simulation.
    std::mt19937 random(7);
    std::bernoulli_distribution trial(0.9);
    int withRun = 0;
    const int runs = 20000;
    for (int s = 0; s < runs; ++s) {
        int current = 0, longest = 0;
        for (int i = 0; i < 300; ++i) {
            current = trial(random) ? current + 1 : 0;
            longest = std::max(longest, current);
        }
        withRun += longest >= 60 ? 1 : 0;
    }
    EXPECT_NEAR(longestRunAtLeastProbability(300, 0.9, 60), double(withRun) / runs, 0.015);
    EXPECT_DOUBLE_EQ(longestRunAtLeastProbability(10, 0.9, 0), 1.0);
    EXPECT_DOUBLE_EQ(longestRunAtLeastProbability(10, 0.9, 11), 0.0);
}

TEST(ChanceStatistics, RankHistogramAndAssessment)
{
    const auto uniform = rankHistogramTest({10, 10, 10, 10, 10, 10, 10, 10, 10, 10});
    EXPECT_DOUBLE_EQ(uniform.chiSquare, 0.0);
    EXPECT_NEAR(uniform.pValue, 1.0, 1e-12);
    const auto skewed = rankHistogramTest({30, 5, 5, 5, 5, 10, 10, 10, 10, 10});
    EXPECT_NEAR(skewed.chiSquare, 50.0, 1e-9);  // (20² + 4·5²) / 10
    EXPECT_LT(skewed.pValue, 1e-5);

    // One strong formula among chance-level ones is marked; a formula below chance never is.
    const std::vector<FormulaRecord> records = {{290, 300, 80, 1, 300}, {270, 300, 30, 2, 300}, {200, 300, 10, 4, 300}};
    const auto assessed = assessAgainstChance({1, false}, Kind::Kill, records);
    EXPECT_TRUE(assessed[0].beatsChance);
    EXPECT_FALSE(assessed[1].beatsChance);
    EXPECT_FALSE(assessed[2].beatsChance);
    EXPECT_LT(assessed[2].pValue, 1e-6);
    EXPECT_NEAR(assessed[1].lift, 0.0, 1e-9);
    EXPECT_LT(assessed[0].pMaxHit, 0.05);
}

TEST(ChanceStatistics, AListRepeatingRecordsGetsEachRecordsOwnValues)
{
    // Records sharing hits, trials or run lengths with others, and repeats of one record: each
    // entry must equal the assessment of its record alone.
    const std::vector<FormulaRecord> records = {{270, 300, 30, 2, 300}, {270, 301, 30, 2, 301}, {271, 300, 30, 2, 300},
                                                {270, 300, 31, 2, 300}, {270, 300, 30, 3, 300}, {270, 300, 30, 2, 300},
                                                {30, 300, 2, 30, 300},  {1, 1, 1, 0, 1},        {270, 300, 2, 30, 320}};
    for (const Kind kind : {Kind::Kill, Kind::Keep}) {
        const auto assessed = assessAgainstChance({2, true}, kind, records);
        ASSERT_EQ(assessed.size(), records.size());
        const double chance = chanceHitRate({2, true}, kind);
        for (size_t i = 0; i < records.size(); ++i) {
            const FormulaRecord& r = records[i];
            SCOPED_TRACE(i);
            EXPECT_EQ(assessed[i].pValue, binomialTwoSidedPValue(r.hits, r.trials, chance));
            EXPECT_EQ(assessed[i].pMaxHit, longestRunAtLeastProbability(r.scoredRows, chance, r.maxHitRun));
            EXPECT_EQ(assessed[i].pMaxMiss, longestRunAtLeastProbability(r.scoredRows, 1.0 - chance, r.maxMissRun));
        }
    }
}

TEST(ChanceStatistics, AFormulaThatNamesNoDigitIsNoTestAndTakesNoShareOfTheCorrection)
{
    // 55 hits in 55 trials at 0.9: p = 0.9^55 + the lower tail, about 0.0056. Alone it beats
    // chance; a second formula without evidence must not double its Holm-adjusted p.
    const double alone = binomialTwoSidedPValue(55, 55, 0.9);
    ASSERT_LT(alone, 0.01);
    ASSERT_GT(2 * alone, 0.01);
    const std::vector<FormulaRecord> records = {{55, 55, 55, 0, 55}, {0, 0, 0, 0, 400}};
    const auto assessed = assessAgainstChance({1, false}, Kind::Kill, records);
    EXPECT_TRUE(assessed[0].evidence);
    EXPECT_TRUE(assessed[0].beatsChance);
    EXPECT_FALSE(assessed[1].evidence);
    EXPECT_FALSE(assessed[1].beatsChance);
    EXPECT_DOUBLE_EQ(assessed[1].chance, 0.9);
}
