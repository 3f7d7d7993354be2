#pragma once
// Evaluates a compiled formula over every row of the history at once, one instruction over a
// whole column at a time, so a sum of parameters costs a few tight loops per formula.

#include "domain/history_columns.h"
#include "language/expression.h"

#include <vector>

namespace qeltaro {

class ColumnEvaluator {
public:
    // out[r - fromRow] = the formula's value on row r, for rows fromRow to the last; NaN where
    // it has none. A row's value depends on that row alone, so a suffix costs only its rows.
    void evaluate(const CompiledFormula& formula, const HistoryColumns& history, std::vector<double>& out,
                  int fromRow = 0);
    // The predicted digit of every row (kNoDigit where there is no value).
    void predictDigits(const CompiledFormula& formula, const HistoryColumns& history, std::vector<int>& out);

private:
    std::vector<std::vector<double>> stack_;
    std::vector<double> values_;
};

}  // namespace qeltaro
