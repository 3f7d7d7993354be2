#include "domain/cold_hot_digits.h"

namespace qeltaro {

void ColdHotDigits::advance(int digit)
{
    const std::size_t slot = std::size_t(omission_.rows() % kHotRows);
    if (omission_.rows() >= kHotRows)
        --recentCounts_[std::size_t(recent_[slot])];
    recent_[slot] = digit;
    ++recentCounts_[std::size_t(digit)];
    omission_.advance(digit);
}

int ColdHotDigits::hot() const
{
    int hottest = 0;
    for (int d = 1; d < 10; ++d) {
        if (recentCounts_[std::size_t(d)] > recentCounts_[std::size_t(hottest)])
            hottest = d;
    }
    return hottest;
}

}  // namespace qeltaro
