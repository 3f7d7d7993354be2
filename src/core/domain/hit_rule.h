#pragma once
// Which positions a category tests and when a predicted digit is a hit. Direct play tests the
// n-th position from the right (一星 个位, 五星 万位); group play tests all of the last n
// positions. A kill formula hits when its digit is absent from the tested positions, a keep
// formula when it is present. A negative digit matches no drawn digit.

#include "domain/category.h"
#include "domain/draw_record.h"
#include "domain/kind.h"
#include "domain/predicted_digit.h"

#include <vector>

namespace qeltaro {

// Tested positions, 1..5 (1 = 万位), in ascending order.
inline std::vector<int> testedPositions(const Category& category)
{
    std::vector<int> positions;
    if (category.group) {
        for (int p = 6 - category.positions; p <= 5; ++p)
            positions.push_back(p);
    } else {
        positions.push_back(6 - category.positions);
    }
    return positions;
}

// Whether the digit occurs at one of the tested positions of the draw.
inline bool digitDrawnAt(int digit, const Digits& draw, const std::vector<int>& positions)
{
    for (int p : positions) {
        if (draw[size_t(p - 1)] == digit)
            return true;
    }
    return false;
}

// A missing prediction (kNoDigit: division or MOD by zero) is a miss for both kinds: the formula
// named no digit, so it cannot be credited with one.
inline bool isHit(Kind kind, int predicted, const Digits& draw, const std::vector<int>& positions)
{
    if (predicted == kNoDigit)
        return false;
    const bool drawn = digitDrawnAt(predicted, draw, positions);
    return isKill(kind) ? !drawn : drawn;
}

}  // namespace qeltaro
