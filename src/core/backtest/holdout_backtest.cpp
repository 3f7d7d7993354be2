#include "backtest/holdout_backtest.h"

#include "domain/chance_statistics.h"

#include <algorithm>

namespace qeltaro {

HoldoutBacktest backtestWithHoldout(const FormulaList& list, const HistoryColumns& history,
                                    const BacktestSettings& settings, int periods, const BacktestEngine& engine)
{
    HoldoutBacktest result;
    result.statistics = engine.backtest(list, historyBeforeHoldout(history, periods), settings);
    // The verification over the whole history says, row by row, whether the digit computed on
    // the row before was right; the held-out rows are the newest ones.
    const std::vector<FormulaVerification> verification = engine.verify(list, 0, list.size(), history);
    const double chance = chanceHitRate(list.category(), list.kind());
    const int first = std::max(history.rowCount() - periods, 1);
    for (const FormulaVerification& v : verification) {
        int hits = 0;
        int trials = 0;
        // Only rows where the formula named a digit 0-9 are evidence for or against it.
        for (int row = first; row < v.rowCount(); ++row) {
            if (v.computedDigit(row - 1) < 0)
                continue;
            hits += v.hitAt(row) ? 1 : 0;
            ++trials;
        }
        result.heldOut.push_back(holdoutResult(hits, trials, chance));
    }
    judgeHoldout(result.heldOut);
    return result;
}

}  // namespace qeltaro
