#pragma once
// The run of hits the formula text files print ("连准：N期"), fresh from a quiet back-test of each
// list over the current history with the back-test settings.

#include "backtest/backtest_engine.h"
#include "domain/backtest_window.h"
#include "export/formula_text_export.h"

namespace qeltaro {

// The history and engine must outlive the returned source.
HitRunSource backtestHitRuns(Store& store, const HistoryColumns& history, const BacktestSettings& settings,
                             const BacktestEngine& engine);

}  // namespace qeltaro
