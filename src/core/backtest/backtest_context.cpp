#include "backtest/backtest_context.h"

#include "domain/hit_rule.h"
#include "language/expression.h"

#include <algorithm>
#include <cmath>

namespace qeltaro {
namespace {

// lastHit = r on a hit, lastMiss = r on a miss, as masks: a branch here would be mispredicted
// on every other row.
inline void selectRow(std::uint32_t hit, int r, int& lastHit, int& lastMiss)
{
    const int hitMask = -int(hit);
    lastHit = (r & hitMask) | (lastHit & ~hitMask);
    lastMiss = (lastMiss & hitMask) | (r & ~hitMask);
}

}  // namespace

BacktestContext::BacktestContext(const HistoryColumns& history, const Category& category, const BacktestSettings& settings)
    : history_(history), settings_(settings), firstScored_(qeltaro::firstScoredRow(history.rowCount(), settings))
{
    const std::vector<int> positions = testedPositions(category);
    const size_t n = size_t(history.rowCount());
    killHits_.resize(n);
    keepHits_.resize(n);
    // The hit rule per digit, spelled as bits: a negative digit is never drawn, so it hits for a
    // kill and misses for a keep; a digit 0..9 hits for a kill when not drawn, for a keep when drawn.
    constexpr std::uint32_t kNegativeDigits = (1u << 9) - 1;
    for (size_t r = 0; r < n; ++r) {
        std::uint32_t drawn = 0;
        for (int p : positions)
            drawn |= 1u << unsigned(history.digit(int(r), p));
        killHits_[r] = kNegativeDigits | ((~drawn & 0x3FFu) << 9);
        keepHits_[r] = drawn << 9;
    }
}

void BacktestContext::score(const double* values, Kind kind, FormulaStats& stats, int valuesFrom) const
{
    const std::uint32_t* hitMasks = isKill(kind) ? killHits_.data() : keepHits_.data();
    const int n = rowCount();
    const int first = firstScored_;
    // Runs from the rows of the latest hit and miss, so the loop carries no branch: the run of
    // hits ending at row r is r - lastMiss, the run of misses r - lastHit.
    int lastMiss = first - 1;
    int lastHit = first - 1;
    int maxHitRun = 0;
    int maxMissRun = 0;
    long long hitSum = 0;
    long long hits = 0;
    if (settings_.weightedRate) {
        long long j = 0;
        for (int r = first; r < n; ++r) {
            ++j;
            const std::uint32_t hit = (hitMasks[r] >> unsigned(digitCode(values[r - 1 - valuesFrom]))) & 1u;
            hitSum += rowWeight(j, true) & -(long long)hit;
            hits += hit;
            selectRow(hit, r, lastHit, lastMiss);
            maxHitRun = std::max(maxHitRun, r - lastMiss);
            maxMissRun = std::max(maxMissRun, r - lastHit);
        }
    } else {
        for (int r = first; r < n; ++r) {
            const std::uint32_t hit = (hitMasks[r] >> unsigned(digitCode(values[r - 1 - valuesFrom]))) & 1u;
            hitSum += hit;
            hits += hit;
            selectRow(hit, r, lastHit, lastMiss);
            maxHitRun = std::max(maxHitRun, r - lastMiss);
            maxMissRun = std::max(maxMissRun, r - lastHit);
        }
    }
    const long long scored = std::max(0, n - first);
    stats.scoredRows = int(scored);
    stats.hitSum = hitSum;
    stats.hits = int(hits);
    stats.totalSum = totalWeight(scored, settings_.weightedRate);
    // No scored row: no evidence of hitting, so the rate is 0 rather than undefined.
    stats.rate = stats.totalSum > 0 ? float(double(hitSum) / double(stats.totalSum) * 100.0) : 0.0f;
    stats.maxHitRun = maxHitRun;
    stats.maxMissRun = maxMissRun;
    stats.lastHitRun = scored > 0 ? n - 1 - lastMiss : 0;
    stats.lastMissRun = scored > 0 ? n - 1 - lastHit : 0;
}

FormulaVerification BacktestContext::verify(const double* values, Kind kind) const
{
    const std::uint32_t* hitMasks = isKill(kind) ? killHits_.data() : keepHits_.data();
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
