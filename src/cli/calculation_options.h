#pragma once
// Options shared by the calculation commands (calc, replay, breakdown): the history as columns,
// the selected formulas given as idx lists.

#include "cli_context.h"

#include "backtest/category_calculation.h"
#include "domain/formula_selection.h"
#include "settings/settings.h"
#include "domain/history_columns.h"
#include "store/formula_table.h"

#include <optional>
#include <string>
#include <vector>

namespace qeltaro::cli {

Result<HistoryColumns> loadHistoryColumns(Store& store);

// "3,5,12": formulas of `listed` by idx. Empty text: none given (every formula selected).
Result<std::optional<FormulaSelection>> parseSelectOption(const std::string& text, const Category& category,
                                                          bool kill, const std::vector<StoredFormula>& listed);

// The formulas of a category and kind, those `select` names ("3,5,12"; empty: every one) and the
// history: what the calculation, the replay and their exports start from.
struct SelectedFormulas {
    std::vector<StoredFormula> formulas;
    std::optional<FormulaSelection> selection;
    HistoryColumns history;
};
Result<SelectedFormulas> loadSelectedFormulas(Store& store, const Category& category, bool kill,
                                              const std::string& select);

// --method: "selected", "best", or empty for the setting.
Result<CalculationMethod> parseMethodOption(const std::string& text, const SettingsMirror& settings);

// A message on stderr that does not stop the command (a formula left out, for instance).
void printWarning(const QString& message);

// "杀码" or "留码", as the formula lists are named.
QString kindWord(bool kill);

}  // namespace qeltaro::cli
