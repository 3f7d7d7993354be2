#pragma once
// A candidate's statistics by the general road: its code text compiled, evaluated over every
// history row by the column evaluator, and scored by the back-test's context under the search's
// window (the newest W + 1 rows). The search's own fast evaluation must agree with it exactly.

#include "backtest/backtest_context.h"
#include "language/column_evaluator.h"
#include "language/expression.h"
#include "search/candidate_evaluator.h"

#include <gtest/gtest.h>

#include <vector>

namespace qeltaro::test {

inline FormulaStats referenceStatistics(const HistoryColumns& history, const Category& category,
                                        const SearchWindow& window, Kind kind, const QString& code)
{
    auto compiled = compileFormula(code);
    EXPECT_TRUE(compiled) << code.toStdString();
    std::vector<double> values;
    ColumnEvaluator().evaluate(*compiled, history, values);
    const BacktestContext context(history, category, window.backtestSettings());
    FormulaStats stats;
    context.score(values.data(), kind, stats);
    return stats;
}

}  // namespace qeltaro::test
