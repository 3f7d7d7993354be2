#pragma once
// The full back-test run after every change of the history, the category or the formula
// library (Yansuan): every formula of the list is scored, and the statistics are written back
// with idx renumbered over the whole table. On success the list and the returned table carry
// the new idx.

#include "backtest/backtest_engine.h"
#include "common/result.h"

namespace qeltaro {

class Store;

Result<FormulaStatsTable> runFullBacktest(Store& store, FormulaList& list, const HistoryColumns& history,
                                  const BacktestSettings& settings, const BacktestEngine& engine,
                                  const FormulaStatsTable* previous = nullptr);

}  // namespace qeltaro
