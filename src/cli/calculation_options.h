#pragma once
// Options shared by the calculation commands (calc, replay, breakdown): the history as columns,
// the selected formulas given as idx lists.

#include "cli_context.h"

#include "domain/backtest_window.h"
#include "backtest/category_calculation.h"
#include "domain/formula_selection.h"
#include "domain/kind.h"
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
                                                          Kind kind, const std::vector<StoredFormula>& listed);

// The formulas of a category and kind, those `select` names ("3,5,12"; empty: every one) and the
// history: what the calculation, the replay and their exports start from.
struct SelectedFormulas {
    std::vector<StoredFormula> formulas;
    std::optional<FormulaSelection> selection;
    HistoryColumns history;
};
Result<SelectedFormulas> loadSelectedFormulas(Store& store, const Category& category, Kind kind,
                                              const std::string& select);

// --method: "selected", "best", or empty for the setting.
Result<CalculationMethod> parseMethodOption(const std::string& text, const SettingsMirror& settings);

// --window, --include-current/--exclude-current, --weighted/--plain: the back-test window of
// one command, over the per-user settings.
struct WindowOptions {
    std::string window;
    bool includeCurrent = false;
    bool excludeCurrent = false;
    bool weighted = false;
    bool plain = false;
};
void addWindowOptions(CLI::App* command, WindowOptions& options);
Result<BacktestSettings> windowSettings(Context& context, const WindowOptions& options);

// --quota and --sort of the best-formula method over the defaults; empty texts keep them.
Result<SortSettings> parseSortOptions(const std::string& quota, const std::string& sort);

// What calc and walkforward start from: --method, --quota and --sort read over the settings, then
// the store with the category's formulas (those --select names) and the history.
struct CalculationInput {
    CalculationMethod method = CalculationMethod::Best;
    SortSettings sort;
    Store* store = nullptr;
    SelectedFormulas formulas;
};
struct CalculationOptions {
    std::string method;
    std::string quota;
    std::string sort;
    std::string select;
};
Result<CalculationInput> prepareCalculation(Context& context, const Category& category, Kind kind,
                                            const CalculationOptions& options);

// A message on stderr that does not stop the command (a formula left out, for instance).
void printWarning(const QString& message);

}  // namespace qeltaro::cli
