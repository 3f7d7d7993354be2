#pragma once
// A formula's hit rate over time: at every period, the share of hits among the latest `window`
// predictions, so a user sees whether a formula's record is steady or a lucky stretch. The
// chance rate (chance_statistics.h) is the line to compare it with.

#include "backtest/formula_verification.h"

#include <vector>

namespace qeltaro {

inline constexpr int kDefaultRollingWindow = 120;  // one day of draws

struct HitRatePoint {
    int row = 0;       // the period the window ends at
    double rate = 0;   // 0..1
};

struct RollingHitRate {
    std::vector<HitRatePoint> points;  // from the first period with a full window on
    int predictions = 0;               // periods the formula predicted over the whole history
    int hits = 0;

    double overallRate() const { return predictions > 0 ? double(hits) / double(predictions) : 0; }
};

// Every period but the first carries a prediction (made on the period before). A window larger
// than the predictions gives no points.
RollingHitRate rollingHitRate(const FormulaVerification& verification, int window);

}  // namespace qeltaro
