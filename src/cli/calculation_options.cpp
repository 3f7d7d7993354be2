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

}  // namespace qeltaro::cli
