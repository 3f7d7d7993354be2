#pragma once
// The formula filter: ten bounds, lowest and highest of the rate, the longest miss run, the
// longest hit run, the final miss run and the final hit run, in this order. A selected formula
// stays selected only when every statistic lies inside its bounds with a margin of 0.0001; the
// filter never selects a formula.

#include "backtest/formula_list.h"
#include "backtest/formula_stats_table.h"
#include "common/result.h"

#include <QString>
#include <QStringList>

#include <array>

namespace qeltaro {

inline constexpr int kFilterBoundCount = 10;
using FilterBounds = std::array<double, kFilterBoundCount>;

// The bounds the filter dialog opens with: each statistic's least and greatest value over the
// selected formulas that have statistics. With none, 100, 0, 32767, 0, 32767, 0, 32767, 0, 32767, 0.
FilterBounds prefillBounds(const FormulaList& list, const FormulaStatsTable& table);
// A bound as its box shows it: the rate as the shortest text of its single-precision value,
// the runs as integers.
QString boundText(int item, double value);

// Ten numbers from the boxes' texts; a text that is not a number is refused with the name of
// its box, rather than counted as 0, which would silently filter out nearly everything.
Result<FilterBounds> parseBounds(const QStringList& texts);

// Removes from the selection every formula outside the bounds, and every formula without
// statistics (its code text could not be evaluated). Returns how many stay selected.
int applyFilter(const FilterBounds& bounds, FormulaList& list, const FormulaStatsTable& table);

// "过滤后公式剩余N条"
QString filterResultText(int remaining);

}  // namespace qeltaro
