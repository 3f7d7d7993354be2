#include "backtest/detail_list_rows.h"

namespace qeltaro {

QString DetailListRow::cellText(int column) const
{
    switch (column) {
    case 0: return QString::number(number);
    case 1: return formula;
    case 2: return starWord;
    case 3: return killWord;
    case 4: return result;
    case 5: return rateText;
    default: return {};
    }
}

QStringList detailListHeaders()
{
    return {QStringLiteral("序号"), QStringLiteral("公式"), QStringLiteral("类型"),
            QStringLiteral("生杀"), QStringLiteral("结果"), QStringLiteral("号码")};
}

std::vector<DetailListRow> detailListRows(const CategoryCalculation& calculation, bool showChinese,
                                          const std::function<QString(int idx)>& rateText)
{
    std::vector<DetailListRow> rows;
    if (calculation.slotResults.empty())
        return rows;
    // The formula list shows the table calculated last.
    for (const CalculatedFormula& f : calculation.slotResults.back().formulas) {
        if (!f.selected)
            continue;
        DetailListRow row;
        row.number = int(rows.size()) + 1;
        row.idx = f.idx;
        row.formula = showChinese ? f.text : f.code;
        row.starWord = calculation.category.starWord();
        row.killWord = isKill(f.kind) ? QStringLiteral("杀") : QStringLiteral("生");
        row.result = digitText(f.nextDigit);
        row.rateText = rateText ? rateText(f.idx) : QString();
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace qeltaro
