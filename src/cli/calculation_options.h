#pragma once
// Options shared by the calculation commands (calc, replay, breakdown): the history as columns,
// the selected formulas given as idx lists.

#include "cli_context.h"

#include "formula/formula_selection.h"
#include "history/history_columns.h"
#include "store/formula_table.h"

#include <optional>
#include <string>
#include <vector>

namespace qeltaro::cli {

Result<HistoryColumns> loadHistoryColumns(Store& store);

// "3,5,12": formulas of `listed` by idx. Empty text: none given (every formula selected).
Result<std::optional<FormulaSelection>> parseSelectOption(const std::string& text, const Category& category,
                                                          bool kill, const std::vector<StoredFormula>& listed);

// A message on stderr that does not stop the command (a formula left out, for instance).
void printWarning(const QString& message);

// "杀码" or "留码", as the formula lists are named.
QString kindWord(bool kill);

}  // namespace qeltaro::cli
