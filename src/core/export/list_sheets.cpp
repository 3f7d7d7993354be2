#include "export/list_sheets.h"

#include <QRegularExpression>

#include <algorithm>
#include <numeric>

namespace qeltaro {
namespace {

SheetRow headerRow(const QStringList& headers)
{
    SheetRow row;
    for (const QString& header : headers)
        row.push_back(SheetCell::ofText(header));
    return row;
}

SheetCell optionalNumber(const std::optional<int>& value)
{
    return value ? SheetCell::ofNumber(*value) : SheetCell{};
}

}  // namespace

SheetCell shownCell(const QString& text)
{
    static const QRegularExpression wholeNumber(QStringLiteral("^-?(0|[1-9][0-9]{0,14})$"));
    if (wholeNumber.match(text).hasMatch())
        return SheetCell::ofNumber(text.toDouble());
    return SheetCell::ofText(text);
}

std::vector<FormulaSheetRow> formulaSheetRows(const FormulaList& list, const FormulaStatsTable& statistics)
{
    std::vector<FormulaSheetRow> rows;
    rows.reserve(size_t(list.size()));
    const QString star = list.category().starWord();
    for (const ListedFormula& f : list.formulas()) {
        FormulaSheetRow row;
        row.number = int(rows.size()) + 1;
        row.kind = f.kind;
        row.code = f.code;
        row.text = f.text;
        row.starWord = star;
        if (const FormulaStats* stats = statistics.find(f.idx)) {
            row.next = stats->next;
            // Nothing scored (an empty history): no figures, rather than "00.0000% (0/0)".
            if (stats->evaluated() && stats->scoredRows == 0) {
                rows.push_back(std::move(row));
                continue;
            }
            row.rateText = stats->evaluated() ? rateText(*stats) : stats->error;
            if (stats->evaluated()) {
                row.maxMissRun = stats->maxMissRun;
                row.maxHitRun = stats->maxHitRun;
                row.lastMissRun = stats->lastMissRun;
                row.lastHitRun = stats->lastHitRun;
            }
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

SheetRows formulaListSheet(const std::vector<FormulaSheetRow>& rows, bool showChinese, bool weightedRate)
{
    SheetRows sheet;
    sheet.reserve(rows.size() + 1);
    sheet.push_back(headerRow({QStringLiteral("序号"), QStringLiteral("公式"), QStringLiteral("种类"), QStringLiteral("生杀"),
                               QStringLiteral("计算值"),
                               weightedRate ? QStringLiteral("正确率（加权算法）") : QStringLiteral("正确率"),
                               QStringLiteral("最大连错"), QStringLiteral("最大连对"), QStringLiteral("最后连错"),
                               QStringLiteral("最后连对")}));
    for (const FormulaSheetRow& row : rows) {
        sheet.push_back({SheetCell::ofNumber(double(row.number)), SheetCell::ofText(showChinese ? row.text : row.code),
                         SheetCell::ofText(row.starWord), SheetCell::ofText(isKill(row.kind) ? QStringLiteral("杀") : QStringLiteral("生")),
                         shownCell(row.next), SheetCell::ofText(row.rateText), optionalNumber(row.maxMissRun),
                         optionalNumber(row.maxHitRun), optionalNumber(row.lastMissRun), optionalNumber(row.lastHitRun)});
    }
    return sheet;
}

SheetRows errValuesSheet(const ErrCounts& counts)
{
    std::array<int, 10> digits;
    std::iota(digits.begin(), digits.end(), 0);
    std::stable_sort(digits.begin(), digits.end(),
                     [&counts](int a, int b) { return counts[size_t(a)].kill < counts[size_t(b)].kill; });
    SheetRows sheet;
    sheet.push_back(headerRow({QStringLiteral("排序序号"), QStringLiteral("号码"), QStringLiteral("杀留Err值（公式错误值）")}));
    for (size_t n = 0; n < digits.size(); ++n) {
        sheet.push_back({SheetCell::ofNumber(double(n + 1)), SheetCell::ofNumber(digits[n]),
                         SheetCell::ofNumber(counts[size_t(digits[n])].total)});
    }
    return sheet;
}

SheetRows rankingListSheet(const RankingList& list)
{
    const int columns = list.columnCount();
    SheetRows sheet;
    sheet.reserve(list.rows().size() + 1);
    QStringList headers;
    for (int c = 0; c < columns; ++c)
        headers << list.headerText(c);
    sheet.push_back(headerRow(headers));
    for (int r = 0; r < int(list.rows().size()); ++r) {
        SheetRow row;
        row.reserve(size_t(columns));
        row.push_back(SheetCell::ofText(list.cellText(r, 0)));  // the period stays text
        for (int c = 1; c < columns; ++c)
            row.push_back(shownCell(list.cellText(r, c)));
        sheet.push_back(std::move(row));
    }
    return sheet;
}

SheetRows detailListSheet(const std::vector<DetailListRow>& rows)
{
    SheetRows sheet;
    sheet.reserve(rows.size() + 1);
    sheet.push_back(headerRow(detailListHeaders()));
    for (const DetailListRow& row : rows) {
        sheet.push_back({SheetCell::ofNumber(row.number), SheetCell::ofText(row.formula), SheetCell::ofText(row.starWord),
                         SheetCell::ofText(row.killWord), shownCell(row.result), SheetCell::ofText(row.rateText)});
    }
    return sheet;
}

SheetRows formulaStepsSheet(const FormulaBreakdown& breakdown)
{
    SheetRows sheet;
    sheet.reserve(breakdown.rows.size() + 1);
    sheet.push_back(headerRow(breakdown.headers));
    for (const BreakdownRow& row : breakdown.rows) {
        // The draw's digits stay text so a leading 0 is kept.
        sheet.push_back({SheetCell::ofText(row.period), SheetCell::ofText(row.digits), SheetCell::ofText(row.expression),
                         shownCell(row.value)});
    }
    return sheet;
}

}  // namespace qeltaro
