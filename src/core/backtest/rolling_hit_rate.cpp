#include "backtest/rolling_hit_rate.h"

#include <algorithm>

namespace qeltaro {

RollingHitRate rollingHitRate(const FormulaVerification& verification, int window)
{
    RollingHitRate result;
    const int rows = verification.rowCount();
    result.predictions = std::max(rows - 1, 0);
    window = std::max(window, 1);
    int inWindow = 0;
    for (int row = 1; row < rows; ++row) {
        const bool hit = verification.hitAt(row);
        result.hits += hit ? 1 : 0;
        inWindow += hit ? 1 : 0;
        if (row - window >= 1)
            inWindow -= verification.hitAt(row - window) ? 1 : 0;
        if (row >= window)
            result.points.push_back({row, double(inWindow) / double(window)});
    }
    return result;
}

}  // namespace qeltaro
