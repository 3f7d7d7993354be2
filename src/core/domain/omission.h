#pragma once
// Omission (遗漏): how many rows a value has been missing. Over rows t = 0, 1, …, the omission of
// value v at row t is t − s, where s is the latest row up to t holding v, or t + 1 when no row up
// to t holds it; it is 0 in a row that holds v.

#include <cstddef>
#include <vector>

namespace qeltaro {

class OmissionTracker {
public:
    explicit OmissionTracker(int valueCount) : lastSeen_(std::size_t(valueCount), -1) {}

    // The next row holds `value` (0 .. valueCount − 1).
    void advance(int value)
    {
        lastSeen_[std::size_t(value)] = rows_;
        ++rows_;
    }
    int rows() const { return rows_; }
    int valueCount() const { return int(lastSeen_.size()); }
    // At the newest row; a value never seen counts from before the first row.
    int omission(int value) const { return rows_ - 1 - lastSeen_[std::size_t(value)]; }
    // The value missing longest at the newest row, the smallest on a tie.
    int longestMissing() const;

private:
    std::vector<int> lastSeen_;
    int rows_ = 0;
};

}  // namespace qeltaro
