#include "domain/chance_statistics.h"

#include <boost/math/distributions/binomial.hpp>
#include <boost/math/distributions/chi_squared.hpp>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <unordered_map>
#include <utility>

namespace qeltaro {

double chanceHitRate(const Category& category, Kind kind)
{
    const int tested = category.group ? category.positions : 1;
    const double absent = std::pow(0.9, tested);
    return isKill(kind) ? absent : 1.0 - absent;
}

double binomialTwoSidedPValue(int hits, int trials, double p)
{
    if (trials <= 0)
        return 1.0;
    if (p <= 0.0)
        return hits == 0 ? 1.0 : 0.0;
    if (p >= 1.0)
        return hits == trials ? 1.0 : 0.0;
    const boost::math::binomial_distribution<double> distribution(trials, p);
    const double observed = boost::math::pdf(distribution, hits) * (1 + 1e-7);
    const int mode = std::clamp(int(std::floor((trials + 1) * p)), 0, trials);
    auto pdf = [&](int i) { return boost::math::pdf(distribution, i); };
    double total = 0;
    if (hits == mode)
        return 1.0;
    if (hits < mode) {
        // Lower tail up to `hits`, plus the upper tail from the first outcome no likelier.
        int low = mode, high = trials + 1;
        while (low + 1 < high) {
            const int middle = (low + high) / 2;
            (pdf(middle) <= observed ? high : low) = middle;
        }
        total = boost::math::cdf(distribution, hits);
        if (high <= trials)
            total += boost::math::cdf(boost::math::complement(distribution, high - 1));
    } else {
        int low = -1, high = mode;
        while (low + 1 < high) {
            const int middle = (low + high) / 2;
            (pdf(middle) <= observed ? low : high) = middle;
        }
        total = boost::math::cdf(boost::math::complement(distribution, hits - 1));
        if (low >= 0)
            total += boost::math::cdf(distribution, low);
    }
    return std::min(1.0, total);
}

std::vector<double> holmAdjusted(const std::vector<double>& pValues)
{
    const size_t m = pValues.size();
    std::vector<size_t> order(m);
    std::iota(order.begin(), order.end(), size_t(0));
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return pValues[a] < pValues[b]; });
    std::vector<double> adjusted(m);
    double running = 0;
    for (size_t rank = 0; rank < m; ++rank) {
        running = std::max(running, std::min(1.0, double(m - rank) * pValues[order[rank]]));
        adjusted[order[rank]] = running;
    }
    return adjusted;
}

double longestRunAtLeastProbability(int trials, double p, int runLength)
{
    if (runLength <= 0)
        return 1.0;
    if (runLength > trials || p <= 0.0)
        return 0.0;
    if (p >= 1.0)
        return 1.0;
    // none[t]: probability that the first t trials hold no run of `runLength` successes.
    // A run ends the first time at trial t when trials t-L+1..t succeed, trial t-L failed and
    // the t-L-1 before held none: none[t] = none[t-1] - (1-p) p^L none[t-L-1].
    const double runChance = std::pow(p, runLength);
    std::vector<double> none(size_t(trials) + 1, 1.0);
    none[size_t(runLength)] = 1.0 - runChance;
    for (int t = runLength + 1; t <= trials; ++t)
        none[size_t(t)] = std::max(0.0, none[size_t(t - 1)] - (1 - p) * runChance * none[size_t(t - runLength - 1)]);
    return std::clamp(1.0 - none[size_t(trials)], 0.0, 1.0);
}

RankHistogramTest rankHistogramTest(const std::array<int, 10>& counts)
{
    RankHistogramTest test;
    test.counts = counts;
    const int total = std::accumulate(counts.begin(), counts.end(), 0);
    if (total == 0)
        return test;
    const double expected = total / 10.0;
    for (int c : counts)
        test.chiSquare += (c - expected) * (c - expected) / expected;
    const boost::math::chi_squared_distribution<double> distribution(9);
    test.pValue = boost::math::cdf(boost::math::complement(distribution, test.chiSquare));
    return test;
}

namespace {

// Values of a pure function of two ints, each computed once: a list of thousands of formulas
// over one history repeats the same (hits, trials) and (trials, run) pairs many times.
template <class Compute>
class PairMemo {
public:
    explicit PairMemo(Compute compute) : compute_(std::move(compute)) {}
    double operator()(int a, int b)
    {
        const std::uint64_t key = (std::uint64_t(std::uint32_t(a)) << 32) | std::uint32_t(b);
        const auto [it, inserted] = values_.try_emplace(key, 0.0);
        if (inserted)
            it->second = compute_(a, b);
        return it->second;
    }

private:
    Compute compute_;
    std::unordered_map<std::uint64_t, double> values_;
};

}  // namespace

std::vector<ChanceAssessment> assessAgainstChance(const Category& category, Kind kind,
                                                  const std::vector<FormulaRecord>& records)
{
    const double chance = chanceHitRate(category, kind);
    PairMemo pValueOf([chance](int hits, int trials) { return binomialTwoSidedPValue(hits, trials, chance); });
    PairMemo pHitRunOf([chance](int trials, int run) { return longestRunAtLeastProbability(trials, chance, run); });
    PairMemo pMissRunOf([chance](int trials, int run) { return longestRunAtLeastProbability(trials, 1.0 - chance, run); });
    std::vector<ChanceAssessment> out(records.size());
    std::vector<double> pValues;
    std::vector<size_t> tested;
    for (size_t i = 0; i < records.size(); ++i) {
        const FormulaRecord& r = records[i];
        ChanceAssessment& a = out[i];
        a.chance = chance;
        if (r.trials <= 0)
            continue;
        a.evidence = true;
        a.lift = (double(r.hits) / r.trials - chance) * 100.0;
        a.pValue = pValueOf(r.hits, r.trials);
        a.pMaxHit = pHitRunOf(r.scoredRows, r.maxHitRun);
        a.pMaxMiss = pMissRunOf(r.scoredRows, r.maxMissRun);
        pValues.push_back(a.pValue);
        tested.push_back(i);
    }
    const std::vector<double> adjusted = holmAdjusted(pValues);
    for (size_t t = 0; t < tested.size(); ++t) {
        ChanceAssessment& a = out[tested[t]];
        a.beatsChance = a.lift > 0 && adjusted[t] < kBeatsChanceLevel;
    }
    return out;
}

}  // namespace qeltaro
