#include "backtest/full_backtest.h"

#include "backtest/statistics_write_back.h"

namespace qeltaro {

Result<FormulaStatsTable> runFullBacktest(Store& store, FormulaList& list, const HistoryColumns& history,
                                  const BacktestSettings& settings, const BacktestEngine& engine,
                                  const FormulaStatsTable* previous)
{
    FormulaStatsTable table = engine.backtest(list, history, settings, previous);
    if (Status written = writeBackStatistics(store, list, table); !written)
        return written.error();
    return table;
}

}  // namespace qeltaro
