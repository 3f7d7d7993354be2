#include "calc_report.h"

#include <QJsonArray>
#include <QJsonObject>

namespace qeltaro::cli {
namespace {

QString colourText(Rgb colour)
{
    return QStringLiteral("#%1").arg(colour.value(), 6, 16, QLatin1Char('0'));
}

QString pageCaption(const CategoryCalculation& calculation, const SlotCalculation& slot)
{
    return slot.slot == 0 ? calculation.category.caption() : errWindowTabCaption(slot.slot);
}

QJsonObject windowJson(const CategoryCalculation& calculation, const SlotCalculation& slot, const ErrWindowTable& table)
{
    QJsonArray rows;
    for (const ErrWindowRow& row : table.rows()) {
        rows.append(QJsonObject{{QStringLiteral("order"), row.order},
                                {QStringLiteral("digit"), row.digit},
                                {QStringLiteral("total"), row.count.total},
                                {QStringLiteral("kill"), row.count.kill},
                                {QStringLiteral("keep"), row.count.keep},
                                {QStringLiteral("verdict"), row.verdict},
                                {QStringLiteral("colour"), colourText(row.textColour)}});
    }
    QJsonArray statistics;
    for (const ErrStatisticsRow& row : table.statistics()) {
        statistics.append(QJsonObject{{QStringLiteral("count"), row.count},
                                      {QStringLiteral("digits"), row.digitCount},
                                      {QStringLiteral("list"), row.digits}});
    }
    return QJsonObject{{QStringLiteral("slot"), slot.slot},
                       {QStringLiteral("caption"), pageCaption(calculation, slot)},
                       {QStringLiteral("table"), slot.table.suffix()},
                       {QStringLiteral("counted"), slot.countedFormulas},
                       {QStringLiteral("rows"), rows},
                       {QStringLiteral("statistics"), statistics}};
}

void writeWindowText(TextOut& out, const CategoryCalculation& calculation, const SlotCalculation& slot,
                     const ErrWindowTable& table)
{
    out.line(QStringLiteral("[%1] %2%3公式%4条计入")
                 .arg(pageCaption(calculation, slot), slot.table.caption(), kindWord(calculation.kind))
                 .arg(slot.countedFormulas));
    out.line(table.headers().join(u'\t'));
    for (const ErrWindowRow& row : table.rows()) {
        QStringList cells;
        for (int c = 0; c < ErrWindowTable::kColumnCount; ++c)
            cells << ErrWindowTable::cellText(row, c);
        out.line(cells.join(u'\t'));
    }
    out.line(ErrWindowTable::statisticsHeaders().join(u'\t'));
    for (const ErrStatisticsRow& row : table.statistics())
        out.line(QStringLiteral("%1\t%2\t%3").arg(row.count).arg(row.digitCount).arg(row.digits.trimmed()));
}

QJsonArray countsJson(const ErrCounts& counts)
{
    QJsonArray digits;
    for (int d = 0; d < 10; ++d) {
        const ErrCount& c = counts[size_t(d)];
        digits.append(QJsonObject{{QStringLiteral("digit"), d},
                                  {QStringLiteral("total"), c.total},
                                  {QStringLiteral("kill"), c.kill},
                                  {QStringLiteral("keep"), c.keep}});
    }
    return digits;
}

}  // namespace

CalcReport::CalcReport(QString listHeading, CategoryCalculation calculation, SortSettings sort)
    : listHeading_(std::move(listHeading)), calculation_(std::move(calculation)), sort_(std::move(sort))
{
    for (const SlotCalculation& slot : calculation_.slotResults) {
        tables_.emplace_back();
        tables_.back().fill(slot.counts, calculation_.kind);
    }
}

void CalcReport::writeText(TextOut& out) const
{
    const bool best = calculation_.plan.method == CalculationMethod::Best;
    QString heading = QStringLiteral("%1公式 第%2期 %3")
                          .arg(listHeading_, calculation_.period,
                               best ? QStringLiteral("最优公式法") : QStringLiteral("计算选中公式"));
    if (best)
        heading += QStringLiteral("（排序：%1；保留个数限额%2）").arg(sortKeysText(sort_.choices())).arg(sort_.keepLimit);
    if (calculation_.drawn)
        heading += QStringLiteral(" 开奖号码%1").arg(digitsText(*calculation_.drawn));
    out.line(heading);
    for (size_t i = 0; i < calculation_.slotResults.size(); ++i)
        writeWindowText(out, calculation_, calculation_.slotResults[i], tables_[i]);
}

void CalcReport::writeJson(JsonOut& out) const
{
    out.beginObject();
    out.member(QStringLiteral("period"), calculation_.period);
    QJsonObject slotCounts;
    for (const SlotCalculation& slot : calculation_.slotResults)
        slotCounts.insert(QString::number(slot.slot), countsJson(slot.counts));
    out.member(QStringLiteral("slots"), slotCounts);
    out.key(QStringLiteral("window")).beginArray();
    for (size_t i = 0; i < calculation_.slotResults.size(); ++i)
        out.value(windowJson(calculation_, calculation_.slotResults[i], tables_[i]));
    out.endArray();
    out.endObject();
}

}  // namespace qeltaro::cli
