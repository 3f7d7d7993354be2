#include "calculation_options.h"

#include "store/history_table.h"

#include <QSet>
#include <QTextStream>

namespace qeltaro::cli {

Result<HistoryColumns> loadHistoryColumns(Store& store)
{
    auto rows = HistoryTable(store).all();
    if (!rows)
        return rows.error();
    return HistoryColumns(*rows);
}

void printWarning(const QString& message)
{
    QTextStream(stderr) << message << '\n';
}

Result<std::optional<FormulaSelection>> parseSelectOption(const std::string& text, const Category& category,
                                                          Kind kind, const std::vector<StoredFormula>& listed)
{
    if (text.empty())
        return std::optional<FormulaSelection>();
    QSet<int> known;
    for (const StoredFormula& f : listed)
        known.insert(f.idx);
    FormulaSelection selection;
    for (const QString& part : fromStd(text).split(u',')) {
        bool ok = false;
        const int idx = part.trimmed().toInt(&ok);
        if (!ok)
            return badInput(QStringLiteral("选中公式“%1”无效：须为以逗号分隔的公式序号，例如 1,3,5").arg(part.trimmed()));
        if (!known.contains(idx))
            return badInput(QStringLiteral("%1%2公式中没有序号为%3的公式").arg(category.caption(), kindWord(kind)).arg(idx));
        selection.set(idx, true);
    }
    return std::optional<FormulaSelection>(selection);
}

Result<SelectedFormulas> loadSelectedFormulas(Store& store, const Category& category, Kind kind,
                                              const std::string& select)
{
    auto formulas = FormulaTable(store, category).list(kind);
    if (!formulas)
        return formulas.error();
    auto selection = parseSelectOption(select, category, kind, *formulas);
    if (!selection)
        return selection.error();
    auto history = loadHistoryColumns(store);
    if (!history)
        return history.error();
    return SelectedFormulas{std::move(*formulas), std::move(*selection), std::move(*history)};
}

Result<CalculationMethod> parseMethodOption(const std::string& text, const SettingsMirror& settings)
{
    if (text.empty())
        return settings.calculateSelected ? CalculationMethod::Selected : CalculationMethod::Best;
    if (text == "selected")
        return CalculationMethod::Selected;
    if (text == "best")
        return CalculationMethod::Best;
    return badInput(QStringLiteral("未知计算方法“%1”：可用 selected（计算选中公式）或 best（最优公式法）").arg(fromStd(text)));
}

void addWindowOptions(CLI::App* command, WindowOptions& options)
{
    command->add_option("--window", options.window, "newest periods scored: all or a number (default: setting JSQS)");
    auto* include = command->add_flag("--include-current", options.includeCurrent,
                                      "the window takes one period more (setting SyBq False)");
    auto* exclude = command->add_flag("--exclude-current", options.excludeCurrent,
                                      "the window takes exactly its periods (setting SyBq True)");
    include->excludes(exclude);
    auto* weighted = command->add_flag("--weighted", options.weighted, "rate weighted by period (setting ZqlJq True)");
    auto* plain = command->add_flag("--plain", options.plain, "plain rate (setting ZqlJq False)");
    weighted->excludes(plain);
}

Result<BacktestSettings> windowSettings(Context& context, const WindowOptions& options)
{
    BacktestSettings settings = BacktestSettings::fromMirror(context.settings().read());
    if (!options.window.empty()) {
        if (options.window == "all") {
            settings.periodWindow = 0;
        } else {
            bool ok = false;
            const int window = fromStd(options.window).toInt(&ok);
            if (!ok || window < 1)
                return badInput(QStringLiteral("--window 应为 all 或正整数期数，而不是“%1”").arg(fromStd(options.window)));
            settings.periodWindow = window;
        }
    }
    if (options.includeCurrent)
        settings.windowExcludesCurrent = false;
    if (options.excludeCurrent)
        settings.windowExcludesCurrent = true;
    if (options.weighted)
        settings.weightedRate = true;
    if (options.plain)
        settings.weightedRate = false;
    return settings;
}

Result<SortSettings> parseSortOptions(const std::string& quota, const std::string& sort)
{
    SortSettings settings;
    if (!quota.empty()) {
        auto limit = parseKeepLimit(fromStd(quota));
        if (!limit)
            return limit.error();
        settings.keepLimit = *limit;
    }
    if (!sort.empty()) {
        auto keys = parseSortKeys(fromStd(sort));
        if (!keys)
            return keys.error();
        settings.setChoices(*keys);
    }
    return settings;
}

Result<CalculationInput> prepareCalculation(Context& context, const Category& category, Kind kind,
                                            const CalculationOptions& options)
{
    CalculationInput input;
    auto method = parseMethodOption(options.method, context.settings().read());
    if (!method)
        return method.error();
    input.method = *method;
    auto sort = parseSortOptions(options.quota, options.sort);
    if (!sort)
        return sort.error();
    input.sort = *sort;
    auto store = context.store();
    if (!store)
        return store.error();
    input.store = *store;
    auto selected = loadSelectedFormulas(**store, category, kind, options.select);
    if (!selected)
        return selected.error();
    input.formulas = std::move(*selected);
    return input;
}

}  // namespace qeltaro::cli
