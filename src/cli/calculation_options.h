#pragma once
// Options shared by the calculation commands (calc, replay, breakdown, walkforward, export): the
// history as columns, the selected formulas given as idx lists, the method and the back-test
// window.

#include "cli_context.h"

#include "backtest/category_calculation.h"
#include "domain/backtest_window.h"
#include "domain/formula_selection.h"
#include "domain/history_columns.h"
#include "settings/settings.h"
#include "history/draw_history.h"
#include "library/formula_library.h"

#include <optional>
#include <string>
#include <vector>

namespace qeltaro::cli {

// The formulas of a category and kind, those `select` names ("3,5,12"; empty: every one) and the
// history: what the calculation, the replay and their exports start from.
struct SelectedFormulas {
    std::vector<StoredFormula> formulas;
    std::optional<FormulaSelection> selection;
    HistoryColumns history;
};
// `selectNumbers` names them by 序号 instead ("1,2,7"); at most one of the two is given.
Result<SelectedFormulas> loadSelectedFormulas(Store& store, const ListOptions& list, const std::string& select,
                                              const std::string& selectNumbers = {});

// --method: "selected", "best", or empty for the setting.
Result<CalculationMethod> parseMethodOption(const std::string& text, const SettingsMirror& settings);

// `option` all|N into a count of newest periods (0: all); left as it is when not given.
Status readPeriodCount(const std::string& text, const QString& option, int& periods);
// --window all|N into the newest periods scored (0: all); left as it is when not given.
inline Status readPeriodWindow(const std::string& text, int& periodWindow)
{
    return readPeriodCount(text, QStringLiteral("--window"), periodWindow);
}

// --window, --include-current/--exclude-current, --weighted/--plain: the back-test window of
// one command, over the per-user settings.
struct WindowOptions {
    std::string window;
    bool includeCurrent = false;
    bool excludeCurrent = false;
    bool weighted = false;
    bool plain = false;
    BacktestSettings settings;

    void bind(CLI::App* command);
    Status read(Context& context);
};

// --method, --quota, --sort and --select of calc and walkforward (calc's --period too), --method
// and --sort read over the settings.
struct CalculationOptions {
    std::string methodText;
    std::string quota;
    std::string sortText;
    std::string select;
    std::string selectNumbers;
    std::string pastPeriod;
    CalculationMethod method = CalculationMethod::Best;
    SortSettings sort;

    // `pastPeriodOption`: also --period, listed after --method.
    void bind(CLI::App* command, const char* sortHelp, bool pastPeriodOption = false);
    Status read(Context& context);
};

// The formulas --select names, loaded; the list, method, sort, selection and past period of a
// calculating command set on `request`.
Result<SelectedFormulas> loadCalculationRequest(Store& store, const ListOptions& list,
                                                const CalculationOptions& calculation, CalculationRequest& request);

// "3D 杀码" as the headings of the calculation name a list: the caption and the kind's word.
QString listHeading(const ListOptions& list);

}  // namespace qeltaro::cli
