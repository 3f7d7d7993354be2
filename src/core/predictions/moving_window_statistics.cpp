#include "predictions/moving_window_statistics.h"

#include <algorithm>
#include <utility>

namespace qeltaro {

MovingWindowStatistics::MovingWindowStatistics(std::vector<std::uint8_t> hits, bool weighted)
    : hits_(std::move(hits)), runEnd_(hits_.size()), weighted_(weighted)
{
    const int n = int(hits_.size());
    for (int r = n - 1; r >= 1; --r)
        runEnd_[size_t(r)] = (r + 1 < n && hits_[size_t(r + 1)] == hits_[size_t(r)]) ? runEnd_[size_t(r + 1)] : r;
}

void MovingWindowStatistics::moveTo(int first, int end)
{
    if (end_ == first_ && first > first_) {
        // Nothing scored yet: the window starts afresh at its new first row.
        first_ = end_ = first;
    }
    while (end_ < end)
        append();
    while (first_ < first)
        dropFirst();
}

// A row with the run's value opens or extends its open run; any other row closes it.
void MovingWindowStatistics::appendTo(LongestRun& run, int row, bool hit) const
{
    if (hit == run.value) {
        if (run.openStart < 0)
            run.openStart = row;
        return;
    }
    if (run.openStart < 0)
        return;
    const int length = row - run.openStart;
    while (!run.runs.empty() && run.runs.back().second <= length)
        run.runs.pop_back();
    run.runs.emplace_back(run.openStart, length);
    run.openStart = -1;
}

void MovingWindowStatistics::append()
{
    const int r = end_++;
    const bool hit = hits_[size_t(r)] != 0;
    const long long j = end_ - first_;
    if (hit) {
        ++hitCount_;
        placeSum_ += j;
        squareSum_ += j * j;
        lastHit_ = r;
    } else {
        lastMiss_ = r;
    }
    appendTo(hitRun_, r, hit);
    appendTo(missRun_, r, hit);
}

void MovingWindowStatistics::dropFirst()
{
    if (hits_[size_t(first_)] != 0) {
        --hitCount_;
        placeSum_ -= 1;
        squareSum_ -= 1;
    }
    ++first_;
    // Every remaining row moves one place down: (j - 1)^2 = j^2 - 2j + 1.
    squareSum_ = squareSum_ - 2 * placeSum_ + hitCount_;
    placeSum_ -= hitCount_;
}

int MovingWindowStatistics::longest(LongestRun& run) const
{
    if (end_ <= first_)
        return 0;
    // Runs starting at or before the first row are measured from it instead.
    while (!run.runs.empty() && run.runs.front().first <= first_)
        run.runs.pop_front();
    int best = run.runs.empty() ? 0 : run.runs.front().second;
    if (run.openStart > first_)
        best = std::max(best, end_ - run.openStart);
    if ((hits_[size_t(first_)] != 0) == run.value)
        best = std::max(best, std::min(runEnd_[size_t(first_)], end_ - 1) - first_ + 1);
    return best;
}

StoredStatistics MovingWindowStatistics::statistics() const
{
    const long long scored = std::max(0, end_ - first_);
    const long long hitSum = weighted_ ? squareSum_ : hitCount_;
    const long long totalSum = weighted_ ? scored * (scored + 1) * (2 * scored + 1) / 6 : scored;
    const float rate = totalSum > 0 ? float(double(hitSum) / double(totalSum) * 100.0) : 0.0f;
    StoredStatistics s;
    s.rate = double(rate);
    s.maxHitRun = longest(hitRun_);
    s.maxMissRun = longest(missRun_);
    const int lastMiss = std::max(lastMiss_, first_ - 1);
    const int lastHit = std::max(lastHit_, first_ - 1);
    s.lastHitRun = scored > 0 ? end_ - 1 - lastMiss : 0;
    s.lastMissRun = scored > 0 ? end_ - 1 - lastHit : 0;
    return s;
}

}  // namespace qeltaro
