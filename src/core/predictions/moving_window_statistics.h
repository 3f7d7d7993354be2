#pragma once
// A formula's back-test statistics over a window of scored rows that only moves forward: the
// walk-forward test asks, period after period, what a back-test of the history cut just before
// that period would have stored. Each move costs a constant amortised time instead of a pass
// over the window, and the figures equal a fresh back-test's to the bit (rate as single
// precision, weights j squared, runs clipped at the window's first row).

#include "store/formula_table.h"

#include <cstdint>
#include <deque>
#include <vector>

namespace qeltaro {

class MovingWindowStatistics {
public:
    // hits[r]: whether the formula's digit for row r (computed on row r - 1) was right; hits[0]
    // is never read.
    MovingWindowStatistics(std::vector<std::uint8_t> hits, bool weighted);

    // The scored rows become [first, end): what a back-test scores on a history of `end` rows.
    // Neither bound may move back.
    void moveTo(int first, int end);

    // The statistics a back-test stores for the current window (the rate as the single-precision
    // percentage it keeps).
    StoredStatistics statistics() const;

private:
    // The longest run of rows with one hit value inside the window. Runs that lie wholly inside
    // wait in a deque, longest first among those still to come; the run holding the window's
    // first row is measured from there.
    struct LongestRun {
        explicit LongestRun(bool runValue) : value(runValue) {}
        bool value = false;
        int openStart = -1;               // start of the run the newest row belongs to, if of this value
        std::deque<std::pair<int, int>> runs;  // completed runs (start, length), lengths descending
    };

    void append();
    void dropFirst();
    void appendTo(LongestRun& run, int row, bool hit) const;
    int longest(LongestRun& run) const;

    std::vector<std::uint8_t> hits_;
    std::vector<int> runEnd_;  // last row of the run of equal values holding each row
    bool weighted_ = true;
    int first_ = 1;
    int end_ = 1;
    // Over the window, with j the place of a row in it from 1: hits, sum of j, sum of j squared.
    long long hitCount_ = 0;
    long long placeSum_ = 0;
    long long squareSum_ = 0;
    int lastHit_ = -1;
    int lastMiss_ = -1;
    mutable LongestRun hitRun_{true};
    mutable LongestRun missRun_{false};
};

}  // namespace qeltaro
