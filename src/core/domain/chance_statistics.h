#pragma once
// How a formula's record compares with chance. The chance model: the drawn digits are uniform
// and independent, and the formula's digit is independent of the draw it is tested against.

#include "domain/category.h"
#include "domain/kind.h"

#include <array>
#include <vector>

namespace qeltaro {

// The hit rate of a formula that knows nothing: direct play kill 0.9, keep 0.1; group play over
// n positions kill 0.9^n, keep 1 - 0.9^n.
double chanceHitRate(const Category& category, Kind kind);

// Two-sided binomial test of `hits` in `trials` at rate p: the probability of an outcome no more
// likely than the one seen (exact; 1 when there are no trials).
double binomialTwoSidedPValue(int hits, int trials, double p);

// Holm's step-down adjustment of a list of p-values, in the list's order.
std::vector<double> holmAdjusted(const std::vector<double>& pValues);

// The probability that `trials` Bernoulli(p) trials contain a run of at least `runLength`
// successes (exact recurrence over run lengths). 1 for a run length of 0 or less.
double longestRunAtLeastProbability(int trials, double p, int runLength);

// Chi-square test of how often the drawn digit stood at each rank 1..10 against 10% each.
struct RankHistogramTest {
    std::array<int, 10> counts{};
    double chiSquare = 0;
    double pValue = 1;
};
RankHistogramTest rankHistogramTest(const std::array<int, 10>& counts);

// A formula's unweighted record over the rows where it named a digit, judged against chance.
// Without such a row there is nothing to judge: no figures, and never above chance.
struct ChanceAssessment {
    bool evidence = false; // the formula named a digit 0-9 on at least one scored row
    double chance = 0;     // chance hit rate, 0..1
    double lift = 0;       // percentage points above chance (negative: below)
    double pValue = 1;     // two-sided binomial
    double pMaxHit = 1;    // chance of a longest hit run at least this long
    double pMaxMiss = 1;   // chance of a longest miss run at least this long
    bool beatsChance = false;  // "高于随机": above chance with a Holm-adjusted p below 0.01
};

struct FormulaRecord {
    int hits = 0;    // hits among the trials
    int trials = 0;  // scored rows on which the formula named a digit 0-9
    int maxHitRun = 0;
    int maxMissRun = 0;
    int scoredRows = 0;  // every scored row: the runs are counted over these
};

// Assesses every formula of a list; the Holm correction runs over the formulas with evidence.
std::vector<ChanceAssessment> assessAgainstChance(const Category& category, Kind kind,
                                                  const std::vector<FormulaRecord>& records);

inline constexpr double kBeatsChanceLevel = 0.01;

}  // namespace qeltaro
