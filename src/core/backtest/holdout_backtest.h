#pragma once
// The back-test with the newest periods held out: each formula's statistics over the history
// before them, then its hits on the held-out periods, judged against chance over the list.
// Nothing is stored: these statistics are not the ones the formula list shows.

#include "backtest/backtest_engine.h"
#include "backtest/holdout.h"

#include <vector>

namespace qeltaro {

struct HoldoutBacktest {
    FormulaStatsTable statistics;        // on the history before the held-out periods
    std::vector<HoldoutResult> heldOut;  // per formula of the list, in list order
};

HoldoutBacktest backtestWithHoldout(const FormulaList& list, const HistoryColumns& history,
                                    const BacktestSettings& settings, int periods, const BacktestEngine& engine);

}  // namespace qeltaro
