#pragma once
// How a command names one formula of a category and kind: by its idx, or by its 序号 (its place
// from 1 in the list of that category and kind, the number the window's list shows). The table
// numbers kill and keep formulas together, so the two differ once a table holds both.

#include "cli_context.h"

#include "library/formula_library.h"

#include <optional>
#include <string>
#include <vector>

namespace qeltaro::cli {

struct FormulaChoice {
    std::optional<int> idx;
    std::optional<int> number;

    // --idx or --number, not both.
    void bind(CLI::App* command);
    // A usage error when neither was given.
    std::optional<QString> missing() const;
    // The idx of the chosen formula among `listed` (one list, in idx order); refused when the
    // list has no such formula.
    Result<int> idxAmong(const std::vector<StoredFormula>& listed, const QString& listHeading) const;
};

// "3,5,12" as 序号 of `listed` into their idx numbers.
Result<std::vector<int>> idxOfNumbers(const std::string& text, const std::vector<StoredFormula>& listed,
                                      const QString& listHeading);

}  // namespace qeltaro::cli
