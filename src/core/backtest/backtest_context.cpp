#include "backtest/backtest_context.h"

#include "backtest/hit_rule.h"
#include "formula/expression.h"

#include <algorithm>
#include <cmath>

namespace qeltaro {

BacktestContext::BacktestContext(const HistoryColumns& history, const Category& category, const BacktestSettings& settings)
    : history_(history), settings_(settings), firstScored_(qeltaro::firstScoredRow(history.rowCount(), settings))
{
    const std::vector<int> positions = testedPositions(category);
    const size_t n = size_t(history.rowCount());
    killHits_.resize(n);
    keepHits_.resize(n);
    for (size_t r = 0; r < n; ++r) {
        const Digits draw = history.digits(int(r));
        std::uint32_t kill = 0;
        std::uint32_t keep = 0;
        for (int digit = -9; digit <= 9; ++digit) {
            const std::uint32_t bit = 1u << unsigned(digit + 9);
            if (isHit(true, digit, draw, positions))
                kill |= bit;
            if (isHit(false, digit, draw, positions))
                keep |= bit;
        }
        killHits_[r] = kill;
        keepHits_[r] = keep;
    }
}

int BacktestContext::digitCode(double value)
{
    // Values that fit an int take the fast road: adding and removing 1.5 * 2^52 rounds half to
    // even, as predictedDigit does. NaN and huge values go the general way.
    if (!(std::fabs(value) < 2147483647.0)) {
        const int digit = predictedDigit(value);
        return digit == kNoDigit ? kNoValueCode : digit + 9;
    }
    constexpr double kRounder = 6755399441055744.0;
    const double rounded = (value + kRounder) - kRounder;
    return int(rounded) % 10 + 9;
}

void BacktestContext::score(const double* values, bool kill, FormulaStats& stats) const
{
    const std::uint32_t* hitMasks = kill ? killHits_.data() : keepHits_.data();
    const int n = rowCount();
    const bool weighted = settings_.weightedRate;
    long long hitSum = 0;
    long long totalSum = 0;
    long long j = 0;
    int hitRun = 0;
    int missRun = 0;
    int maxHitRun = 0;
    int maxMissRun = 0;
    for (int r = firstScored_; r < n; ++r) {
        ++j;
        const int hit = int((hitMasks[r] >> unsigned(digitCode(values[r - 1]))) & 1u);
        const long long weight = weighted ? j * j : 1;
        totalSum += weight;
        hitSum += weight * hit;
        hitRun = (hitRun + 1) * hit;
        missRun = (missRun + 1) * (1 - hit);
        maxHitRun = std::max(maxHitRun, hitRun);
        maxMissRun = std::max(maxMissRun, missRun);
    }
    stats.hitSum = hitSum;
    stats.totalSum = totalSum;
    stats.scoredRows = int(j);
    // No scored row: no evidence of hitting, so the rate is 0 rather than undefined.
    stats.rate = totalSum > 0 ? float(double(hitSum) / double(totalSum) * 100.0) : 0.0f;
    stats.maxHitRun = maxHitRun;
    stats.maxMissRun = maxMissRun;
    stats.lastHitRun = hitRun;
    stats.lastMissRun = missRun;
}

FormulaVerification BacktestContext::verify(const double* values, bool kill) const
{
    const std::uint32_t* hitMasks = kill ? killHits_.data() : keepHits_.data();
    const size_t n = size_t(rowCount());
    std::vector<std::int8_t> digits(n);
    std::vector<std::uint8_t> hits(n, 0);
    for (size_t r = 0; r < n; ++r) {
        const int code = digitCode(values[r]);
        digits[r] = std::int8_t(code == kNoValueCode ? kNoDigit : code - 9);
        if (r > 0)
            hits[r] = std::uint8_t((hitMasks[r] >> unsigned(digitCode(values[r - 1]))) & 1u);
    }
    return FormulaVerification(std::move(digits), std::move(hits));
}

}  // namespace qeltaro
