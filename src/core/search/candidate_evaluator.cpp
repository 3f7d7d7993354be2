#include "search/candidate_evaluator.h"

#include "domain/hit_rule.h"
#include "domain/parameter_catalogue.h"

#include <algorithm>

namespace qeltaro {

CandidateEvaluator::CandidateEvaluator(const HistoryColumns& history, const Category& category,
                                       const SearchWindow& window)
    : CandidateEvaluator(history, category, window, qeltaro::firstScoredRow(history.rowCount(), window.backtestSettings()))
{
}

CandidateEvaluator CandidateEvaluator::newestRows(const HistoryColumns& history, const Category& category, int rows)
{
    const int n = history.rowCount();
    const int first = n < 2 ? n : std::clamp(n - rows, 1, n);
    return CandidateEvaluator(history, category, SearchWindow{0, false}, first);
}

CandidateEvaluator::CandidateEvaluator(const HistoryColumns& history, const Category& category,
                                       const SearchWindow& window, int firstScored)
    : category_(category), window_(window), rowCount_(history.rowCount()), firstScored_(firstScored)
{
    scored_ = std::max(0, rowCount_ - firstScored_);
    const long long m = scored_;
    totalSum_ = totalWeight(m, window_.weightedRate);

    columns_.resize(size_t(kParameterCount) * size_t(scored_));
    for (int c = 0; c < kParameterCount && scored_ > 0; ++c) {
        const double* source = history.column(c) + (firstScored_ - 1);
        std::int32_t* target = columns_.data() + size_t(c) * size_t(scored_);
        for (int i = 0; i < scored_; ++i)
            target[i] = std::int32_t(source[i]);
    }

    // The hit rule per digit as bits, as the main back-test spells it: a negative digit is never
    // drawn, so it hits for a kill and misses for a keep.
    const std::vector<int> positions = testedPositions(category);
    constexpr std::uint32_t kNegativeDigits = (1u << 9) - 1;
    killHits_.resize(size_t(scored_));
    keepHits_.resize(size_t(scored_));
    weights_.resize(size_t(scored_));
    for (int i = 0; i < scored_; ++i) {
        std::uint32_t drawn = 0;
        for (int p : positions)
            drawn |= 1u << unsigned(history.digit(firstScored_ + i, p));
        killHits_[size_t(i)] = kNegativeDigits | ((~drawn & 0x3FFu) << 9);
        keepHits_[size_t(i)] = drawn << 9;
        const long long j = i + 1;
        weights_[size_t(i)] = rowWeight(j, window_.weightedRate);
    }
}

EvaluationScratch CandidateEvaluator::makeScratch() const
{
    EvaluationScratch scratch;
    scratch.values.resize(size_t(scored_));
    scratch.hits.resize(size_t(scored_));
    return scratch;
}

long long CandidateEvaluator::scoreHits(const Candidate& candidate, Kind kind, EvaluationScratch& scratch) const
{
    const int m = scored_;
    std::int32_t* __restrict__ values = scratch.values.data();
    {
        const std::int32_t* __restrict__ a = column(candidate.operands[0]);
        const std::int32_t constant = candidate.constant;
        for (int i = 0; i < m; ++i)
            values[i] = a[i] + constant;
    }
    // Two columns per pass over the buffer: half the loads and stores of the accumulator.
    int t = 1;
    for (; t + 1 < candidate.operandCount; t += 2) {
        const std::int32_t* __restrict__ a = column(candidate.operands[size_t(t)]);
        const std::int32_t* __restrict__ b = column(candidate.operands[size_t(t + 1)]);
        for (int i = 0; i < m; ++i)
            values[i] += a[i] + b[i];
    }
    if (t < candidate.operandCount) {
        const std::int32_t* __restrict__ a = column(candidate.operands[size_t(t)]);
        for (int i = 0; i < m; ++i)
            values[i] += a[i];
    }

    const std::uint32_t* __restrict__ masks = isKill(kind) ? killHits_.data() : keepHits_.data();
    std::uint8_t* __restrict__ hits = scratch.hits.data();
    for (int i = 0; i < m; ++i)
        hits[i] = std::uint8_t((masks[i] >> unsigned(values[i] % 10 + 9)) & 1u);  // % keeps the sign
    long long hitSum = 0;
    if (window_.weightedRate) {
        const long long* __restrict__ w = weights_.data();
        for (int i = 0; i < m; ++i)
            hitSum += w[i] & -(long long)hits[i];
    } else {
        for (int i = 0; i < m; ++i)
            hitSum += hits[i];
    }
    return hitSum;
}

void CandidateEvaluator::rate(long long hitSum, CandidateStatistics& stats) const
{
    stats.hitSum = hitSum;
    stats.totalSum = totalSum_;
    stats.scoredRows = scored_;
    // No scored row: no evidence of hitting, as in the main back-test.
    stats.rate = totalSum_ > 0 ? float(double(hitSum) / double(totalSum_) * 100.0) : 0.0f;
}

void CandidateEvaluator::lastRuns(const std::uint8_t* hits, CandidateStatistics& stats) const
{
    stats.lastHitRun = 0;
    stats.lastMissRun = 0;
    if (scored_ == 0)
        return;
    const std::uint8_t last = hits[scored_ - 1];
    int run = 0;
    for (int i = scored_ - 1; i >= 0 && hits[i] == last; --i)
        ++run;
    (last ? stats.lastHitRun : stats.lastMissRun) = run;
}

void CandidateEvaluator::longestRuns(const std::uint8_t* hits, CandidateStatistics& stats) const
{
    // Runs from the rows of the latest hit and miss, without a branch per row.
    int lastHit = -1;
    int lastMiss = -1;
    int maxHit = 0;
    int maxMiss = 0;
    for (int i = 0; i < scored_; ++i) {
        const int hitMask = -int(hits[i]);
        lastHit = (i & hitMask) | (lastHit & ~hitMask);
        lastMiss = (lastMiss & hitMask) | (i & ~hitMask);
        maxHit = std::max(maxHit, i - lastMiss);
        maxMiss = std::max(maxMiss, i - lastHit);
    }
    stats.maxHitRun = maxHit;
    stats.maxMissRun = maxMiss;
}

CandidateStatistics CandidateEvaluator::evaluate(const Candidate& candidate, Kind kind, EvaluationScratch& scratch) const
{
    CandidateStatistics stats;
    rate(scoreHits(candidate, kind, scratch), stats);
    lastRuns(scratch.hits.data(), stats);
    longestRuns(scratch.hits.data(), stats);
    return stats;
}

CandidateEvaluator::NamedRecord CandidateEvaluator::namedRecord(const Candidate& candidate, Kind kind,
                                                                EvaluationScratch& scratch) const
{
    scoreHits(candidate, kind, scratch);
    NamedRecord record;
    for (int i = 0; i < scored_; ++i) {
        if (scratch.values[size_t(i)] % 10 < 0)
            continue;  // a negative digit names nothing that can be drawn
        ++record.trials;
        record.hits += scratch.hits[size_t(i)];
    }
    return record;
}

bool CandidateEvaluator::screen(const Candidate& candidate, Kind kind, const ScreeningBounds& bounds,
                                EvaluationScratch& scratch, CandidateStatistics& stats) const
{
    rate(scoreHits(candidate, kind, scratch), stats);
    if (!bounds.rateInside(stats.rate))
        return false;
    lastRuns(scratch.hits.data(), stats);
    if (!bounds.lastMissInside(stats.lastMissRun) || !bounds.lastHitInside(stats.lastHitRun))
        return false;
    longestRuns(scratch.hits.data(), stats);
    return bounds.maxMissInside(stats.maxMissRun) && bounds.maxHitInside(stats.maxHitRun);
}

}  // namespace qeltaro
