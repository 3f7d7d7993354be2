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

QString kindWord(bool kill)
{
    return kill ? QStringLiteral("杀码") : QStringLiteral("留码");
}

Result<std::optional<FormulaSelection>> parseSelectOption(const std::string& text, const Category& category,
                                                          bool kill, const std::vector<StoredFormula>& listed)
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
            return badInput(QStringLiteral("%1%2公式中没有序号为%3的公式").arg(category.caption(), kindWord(kill)).arg(idx));
        selection.set(idx, true);
    }
    return std::optional<FormulaSelection>(selection);
}

Result<SelectedFormulas> loadSelectedFormulas(Store& store, const Category& category, bool kill,
                                              const std::string& select)
{
    auto formulas = FormulaTable(store, category).list(kill);
    if (!formulas)
        return formulas.error();
    auto selection = parseSelectOption(select, category, kill, *formulas);
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

}  // namespace qeltaro::cli
