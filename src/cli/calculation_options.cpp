#include "calculation_options.h"
#include "formula_choice.h"

#include "history/draw_history.h"
#include "library/formula_library.h"

#include <QSet>

namespace qeltaro::cli {
namespace {

// "3,5,12": formulas of `listed` by idx. Empty text: none given (every formula selected).
Result<std::optional<FormulaSelection>> parseSelectOption(const std::string& text, const ListOptions& list,
                                                          const std::vector<StoredFormula>& listed)
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
            return badInput(QStringLiteral("%1公式中没有序号为%2的公式").arg(listHeading(list)).arg(idx));
        selection.set(idx, true);
    }
    return std::optional<FormulaSelection>(selection);
}

// --quota and --sort of the best-formula method over the defaults; empty texts keep them.
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

}  // namespace

QString listHeading(const ListOptions& list)
{
    return list.category.caption() + kindWord(list.kind);
}

Result<SelectedFormulas> loadSelectedFormulas(Store& store, const ListOptions& list, const std::string& select,
                                              const std::string& selectNumbers)
{
    auto formulas = listFormulas(store, list.key());
    if (!formulas)
        return formulas.error();
    auto selection = parseSelectOption(select, list, *formulas);
    if (!selection)
        return selection.error();
    if (!selectNumbers.empty()) {
        auto idxs = idxOfNumbers(selectNumbers, *formulas, listHeading(list));
        if (!idxs)
            return idxs.error();
        FormulaSelection byNumber;
        for (int idx : *idxs)
            byNumber.set(idx, true);
        *selection = byNumber;
    }
    auto history = loadHistoryColumns(store);
    if (!history)
        return history.error();
    return SelectedFormulas{std::move(*formulas), std::move(*selection), std::move(*history)};
}

Result<SelectedFormulas> loadCalculationRequest(Store& store, const ListOptions& list,
                                                const CalculationOptions& calculation, CalculationRequest& request)
{
    auto selected = loadSelectedFormulas(store, list, calculation.select, calculation.selectNumbers);
    if (!selected)
        return selected;
    request.category = list.category;
    request.kind = list.kind;
    request.method = calculation.method;
    request.sort = calculation.sort;
    request.selection = selected->selection;
    if (!calculation.pastPeriod.empty())
        request.pastPeriod = fromStd(calculation.pastPeriod);
    return selected;
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

Status readPeriodCount(const std::string& text, const QString& option, int& periods)
{
    if (text.empty())
        return success();
    if (text == "all") {
        periods = 0;
        return success();
    }
    bool ok = false;
    const int count = fromStd(text).toInt(&ok);
    if (!ok || count < 1)
        return badInput(QStringLiteral("%1 应为 all 或正整数期数，而不是“%2”").arg(option, fromStd(text)));
    periods = count;
    return success();
}

void WindowOptions::bind(CLI::App* command)
{
    command->add_option("--window", window, "newest periods scored: all or a number (default: setting JSQS)");
    auto* include = command->add_flag("--include-current", includeCurrent,
                                      "the window takes one period more (setting SyBq False)");
    auto* exclude = command->add_flag("--exclude-current", excludeCurrent,
                                      "the window takes exactly its periods (setting SyBq True)");
    include->excludes(exclude);
    auto* weightedFlag = command->add_flag("--weighted", weighted, "rate weighted by period (setting ZqlJq True)");
    auto* plainFlag = command->add_flag("--plain", plain, "plain rate (setting ZqlJq False)");
    weightedFlag->excludes(plainFlag);
}

Status WindowOptions::read(Context& context)
{
    settings = BacktestSettings::fromMirror(context.settings().read());
    if (Status s = readPeriodWindow(window, settings.periodWindow); !s)
        return s;
    if (includeCurrent)
        settings.windowExcludesCurrent = false;
    if (excludeCurrent)
        settings.windowExcludesCurrent = true;
    if (weighted)
        settings.weightedRate = true;
    if (plain)
        settings.weightedRate = false;
    return success();
}

void CalculationOptions::bind(CLI::App* command, const char* sortHelp, bool pastPeriodOption)
{
    command->add_option("--method", methodText, "selected (计算选中公式) or best (最优公式法); default: the JSFF setting");
    if (pastPeriodOption)
        command->add_option("--period", pastPeriod, "re-check this past period instead of calculating the next one");
    command->add_option("--quota", quota, "best method: digits to keep, 0..10 (default 3)");
    command->add_option("--sort", sortText, sortHelp);
    auto* byIdx = command->add_option("--select", select,
                                      "selected formulas of the category's own table by idx, e.g. 1,3,5 (default all)");
    auto* byNumber = command->add_option("--select-numbers", selectNumbers,
                                         "the same by 序号 in the category and kind, as the window's list numbers them");
    byIdx->excludes(byNumber);
}

Status CalculationOptions::read(Context& context)
{
    auto parsedMethod = parseMethodOption(methodText, context.settings().read());
    if (!parsedMethod)
        return parsedMethod.error();
    method = *parsedMethod;
    auto parsedSort = parseSortOptions(quota, sortText);
    if (!parsedSort)
        return parsedSort.error();
    sort = *parsedSort;
    return success();
}

}  // namespace qeltaro::cli
