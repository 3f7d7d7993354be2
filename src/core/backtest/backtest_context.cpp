#include "backtest/backtest_context.h"

#include "domain/hit_rule.h"
#include "language/expression.h"

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
    const int scored = std::max(0, n - first);
    // First every row's hit, in a loop of its own that carries nothing from row to row; then the
    // sums and runs over those flags, where the only carried work is a few adds and masks.
    // Bit 0 of a row's mark: a hit; bit 1: the formula named a digit 0-9 there, the only rows
    // that say anything about it against chance.
    constexpr std::uint32_t kNamedDigits = 0x3FFu << 9;
    thread_local std::vector<std::uint8_t> hits;
    hits.resize(size_t(scored));
    for (int r = first; r < n; ++r) {
        const unsigned code = unsigned(digitCode(values[r - 1 - valuesFrom]));
        hits[size_t(r - first)] = std::uint8_t(((hitMasks[r] >> code) & 1u) | (((kNamedDigits >> code) & 1u) << 1));
    }

    // The runs of hits and of misses ending at the current row; a hit ends the miss run and the
    // other way round, as masks: a branch here would be mispredicted on every other row.
    int hitRun = 0;
    int missRun = 0;
    int maxHitRun = 0;
    int maxMissRun = 0;
    long long hitSum = 0;
    int hitCount = 0;
    int namedRows = 0;
    int namedHits = 0;
    for (int i = 0; i < scored; ++i) {
        const int mark = hits[size_t(i)];
        const int hit = mark & 1;
        hitCount += hit;
        namedRows += mark >> 1;
        namedHits += mark == 3;
        if (settings_.weightedRate)
            hitSum += rowWeight(i + 1, true) & -(long long)hit;
        hitRun = (hitRun + 1) & -hit;
        missRun = (missRun + 1) & (hit - 1);
        maxHitRun = std::max(maxHitRun, hitRun);
        maxMissRun = std::max(maxMissRun, missRun);
    }
    if (!settings_.weightedRate)
        hitSum = hitCount;
    stats.scoredRows = scored;
    stats.hitSum = hitSum;
    stats.hits = hitCount;
    stats.namedRows = namedRows;
    stats.namedHits = namedHits;
    stats.totalSum = totalWeight(scored, settings_.weightedRate);
    // No scored row: no evidence of hitting, so the rate is 0 rather than undefined.
    stats.rate = stats.totalSum > 0 ? float(double(hitSum) / double(stats.totalSum) * 100.0) : 0.0f;
    stats.maxHitRun = maxHitRun;
    stats.maxMissRun = maxMissRun;
    stats.lastHitRun = hitRun;
    stats.lastMissRun = missRun;
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
