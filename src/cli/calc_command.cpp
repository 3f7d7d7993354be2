// qeltaro-cli calc: the category calculation and the Err value window it opens.

#include "calculation_options.h"

#include "aggregate/err_window_rows.h"
#include "backtest/category_calculation.h"
#include "predictions/calculation_run.h"

#include <QJsonArray>
#include <QJsonObject>

namespace qeltaro::cli {
namespace {

struct CalcOptions {
    ListOptions list;
    CalculationOptions calculation;
    bool noRecord = false;

    void bind(CLI::App* command)
    {
        list.bind(command);
        calculation.bind(command, "best method: three keys KEY[ DIRECTION],KEY,KEY; KEY 正确率 最大连错 最大连对 最后连错 "
                                  "最后连对 (or sglGsRate intGsErrCon intGsTrueCon intGsErrLst intGsTrueLst), DIRECTION "
                                  "从大到小|从小到大 (or desc|asc, also after a colon), best first when left out (default "
                                  "正确率,最大连对,最后连对)",
                         /*pastPeriodOption=*/true);
        command->add_flag("--no-record", noRecord, "do not keep this calculation in the prediction journal");
    }
    Status read(Context& context)
    {
        if (Status s = list.read(); !s)
            return s;
        return calculation.read(context);
    }
};

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

// The counts of every slot and the pages of the Err value window they fill.
class CalcReport : public Report {
public:
    CalcReport(QString listHeading, CategoryCalculation calculation, std::vector<ErrWindowTable> tables, SortSettings sort)
        : listHeading_(std::move(listHeading)), calculation_(std::move(calculation)), tables_(std::move(tables)),
          sort_(std::move(sort))
    {
    }

    void writeText(TextOut& out) const override
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

    void writeJson(JsonOut& out) const override
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

private:
    QString listHeading_;
    CategoryCalculation calculation_;
    std::vector<ErrWindowTable> tables_;
    SortSettings sort_;
};

Outcome calc(Context&, Store& store, const CalcOptions& o)
{
    CalculationRequest request;
    auto selected = loadCalculationRequest(store, o.list, o.calculation, request);
    if (!selected)
        return selected.error();
    auto run = runCalculation(store, selected->history, request, !o.noRecord);
    if (!run)
        return run.error();
    printWarnings(run->warnings);
    if (auto failure = run->firstFailure())
        return *failure;
    std::vector<ErrWindowTable> tables;
    for (const SlotCalculation& slot : run->calculation.slotResults) {
        tables.emplace_back();
        tables.back().fill(slot.counts, request.kind);
    }
    return makeReport<CalcReport>(listHeading(o.list), std::move(run->calculation), std::move(tables), request.sort);
}

}  // namespace

void addCalcCommand(CLI::App& app, Context& context)
{
    addStoreCommand(app.add_subcommand("calc", "count the digits named by the selected or the best formulas (计算公式)"),
                    context, calc);
}

}  // namespace qeltaro::cli
