#pragma once
// The Err count record: per digit 0-9 how many formulas named it in total, as kill formulas and
// as keep formulas (stored as the columns ETrrcount, Errcount and Trrcount of the Err tables).

#include <array>

namespace qeltaro {

struct ErrCount {
    int total = 0;  // the 杀留Err值
    int kill = 0;   // from kill formulas, the 杀码Err值
    int keep = 0;   // from keep formulas, the 留码Err值

    friend bool operator==(const ErrCount&, const ErrCount&) = default;
};

// Indexed by the digit (num).
using ErrCounts = std::array<ErrCount, 10>;

inline bool isCountableDigit(int digit) { return digit >= 0 && digit <= 9; }

}  // namespace qeltaro
