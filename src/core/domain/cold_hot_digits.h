#pragma once
// 冷码 and 热码 of one position, row by row, so a formula can name them: the cold digit is the one
// with the largest omission at the row, the hot digit the one drawn most often in the last
// kHotRows rows up to and including the row (fewer at the history's start); the smallest digit
// on a tie. Both depend only on the rows up to the row, so a back-test uses nothing it could not
// have known.

#include "domain/omission.h"

#include <array>

namespace qeltaro {

class ColdHotDigits {
public:
    static constexpr int kHotRows = 10;

    // The position's digit (0-9) in the next row.
    void advance(int digit);
    int cold() const { return omission_.longestMissing(); }
    int hot() const;

private:
    OmissionTracker omission_{10};
    std::array<int, 10> recentCounts_{};
    std::array<int, kHotRows> recent_{};  // the last kHotRows digits, by row modulo kHotRows
};

}  // namespace qeltaro
