#pragma once
// The Err count record: per digit 0-9 how many formulas named it in total (ETrrcount), as kill
// formulas (Errcount) and as keep formulas (Trrcount).

#include <array>

namespace qeltaro {

struct ErrCount {
    int ETrrcount = 0;  // total, the 杀留Err值
    int Errcount = 0;   // from kill formulas, the 杀码Err值
    int Trrcount = 0;   // from keep formulas, the 留码Err值

    friend bool operator==(const ErrCount&, const ErrCount&) = default;
};

// Indexed by the digit (num).
using ErrCounts = std::array<ErrCount, 10>;

inline bool isCountableDigit(int digit) { return digit >= 0 && digit <= 9; }

}  // namespace qeltaro
