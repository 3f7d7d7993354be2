#pragma once
// The write-back after a full back-test (ArrGs): walks the whole formula table in idx order,
// stores each listed formula's statistics in its row and renumbers idx 1, 2, 3, ... over the
// table, formulas of the other kind included, keeping their order. One transaction: the table
// is either fully written or left as it was.
//
// The list and the statistics table follow the new numbers, so each formula keeps its own
// selection flag and statistics. A listed formula that could not be evaluated has its stored
// statistics emptied: it has none, and stale ones would rank it among formulas that work.

#include "backtest/formula_list.h"
#include "backtest/formula_stats_table.h"
#include "common/result.h"

namespace qeltaro {

class Store;

Status writeBackStatistics(Store& store, FormulaList& list, FormulaStatsTable& table);

}  // namespace qeltaro
