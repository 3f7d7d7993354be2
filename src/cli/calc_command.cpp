// qeltaro-cli calc: the category calculation and the Err value window it opens.

#include "calculation_options.h"

#include "aggregate/err_window_rows.h"
#include "backtest/category_calculation.h"
#include "predictions/prediction_journal.h"

#include <QJsonArray>
#include <QJsonObject>

namespace qeltaro::cli {
namespace {

struct CalcOptions {
    std::string category;
    std::string kind;
    CalculationOptions calculation;
    std::string period;
    bool noRecord = false;
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

void printWindowText(Context& context, const CategoryCalculation& calculation, const SlotCalculation& slot,
                     const ErrWindowTable& table)
{
    context.print(QStringLiteral("[%1] %2%3公式%4条计入")
                      .arg(pageCaption(calculation, slot), slot.table.caption(), kindWord(calculation.kind))
                      .arg(slot.countedFormulas));
    context.print(table.headers().join(u'\t'));
    for (const ErrWindowRow& row : table.rows()) {
        QStringList cells;
        for (int c = 0; c < ErrWindowTable::kColumnCount; ++c)
            cells << ErrWindowTable::cellText(row, c);
        context.print(cells.join(u'\t'));
    }
    context.print(ErrWindowTable::statisticsHeaders().join(u'\t'));
    for (const ErrStatisticsRow& row : table.statistics())
        context.print(QStringLiteral("%1\t%2\t%3").arg(row.count).arg(row.digitCount).arg(row.digits.trimmed()));
}

int runCalc(Context& context, const CalcOptions& o)
{
    auto category = parseCategory(o.category);
    if (!category)
        return context.fail(category.error());
    auto kind = parseKind(o.kind);
    if (!kind)
        return context.fail(kind.error());

    auto input = prepareCalculation(context, *category, *kind, o.calculation);
    if (!input)
        return context.fail(input.error());
    Store* store = input->store;
    CalculationRequest request;
    request.category = *category;
    request.kind = *kind;
    request.method = input->method;
    if (!o.period.empty())
        request.pastPeriod = fromStd(o.period);
    request.sort = input->sort;
    request.selection = input->formulas.selection;
    auto calculation = calculateCategory(*store, input->formulas.history, request);
    if (!calculation)
        return context.fail(calculation.error());
    for (const QString& problem : calculation->problems())
        printWarning(problem);

    // The window shows every slot; the staging table keeps the one shown last.
    std::vector<ErrWindowTable> tables;
    for (const SlotCalculation& slot : calculation->slotResults) {
        tables.emplace_back();
        tables.back().fill(slot.counts, *kind);
    }
    if (!calculation->slotResults.empty()) {
        if (Status s = storeShownCounts(*store, calculation->slotResults.back().counts); !s)
            return context.fail(s.error());
    }
    // A calculation of the next period is a prediction: the journal keeps it until its draw comes.
    if (!o.noRecord && !request.pastPeriod) {
        if (Status s = recordPrediction(*store, *calculation, request.sort); !s)
            return context.fail(s.error());
    }

    if (context.json) {
        QJsonObject slotCounts;
        QJsonArray window;
        for (size_t i = 0; i < calculation->slotResults.size(); ++i) {
            const SlotCalculation& slot = calculation->slotResults[i];
            QJsonArray digits;
            for (int d = 0; d < 10; ++d) {
                const ErrCount& c = slot.counts[size_t(d)];
                digits.append(QJsonObject{{QStringLiteral("digit"), d},
                                          {QStringLiteral("total"), c.total},
                                          {QStringLiteral("kill"), c.kill},
                                          {QStringLiteral("keep"), c.keep}});
            }
            slotCounts.insert(QString::number(slot.slot), digits);
            window.append(windowJson(*calculation, slot, tables[i]));
        }
        context.printJson(QJsonDocument(QJsonObject{{QStringLiteral("period"), calculation->period},
                                                    {QStringLiteral("slots"), slotCounts},
                                                    {QStringLiteral("window"), window}}));
        return kSuccess;
    }
    const bool best = calculation->plan.method == CalculationMethod::Best;
    QString heading = QStringLiteral("%1%2公式 第%3期 %4")
                          .arg(category->caption(), kindWord(*kind), calculation->period,
                               best ? QStringLiteral("最优公式法") : QStringLiteral("计算选中公式"));
    if (best)
        heading += QStringLiteral("（排序：%1；保留个数限额%2）").arg(sortKeysText(request.sort.choices())).arg(request.sort.keepLimit);
    if (calculation->drawn)
        heading += QStringLiteral(" 开奖号码%1").arg(digitsText(*calculation->drawn));
    context.print(heading);
    for (size_t i = 0; i < calculation->slotResults.size(); ++i)
        printWindowText(context, *calculation, calculation->slotResults[i], tables[i]);
    return kSuccess;
}

}  // namespace

void addCalcCommand(CLI::App& app, Context& context)
{
    auto o = std::make_shared<CalcOptions>();
    CLI::App* calc = app.add_subcommand("calc", "count the digits named by the selected or the best formulas (计算公式)");
    calc->add_option("--category", o->category, "category: 1D 2D 3D 4D 5D 2G 3G 4G 5G")->required();
    calc->add_option("--kind", o->kind, "kill or keep")->required();
    calc->add_option("--method", o->calculation.method, "selected (计算选中公式) or best (最优公式法); default: the JSFF setting");
    calc->add_option("--period", o->period, "re-check this past period instead of calculating the next one");
    calc->add_option("--quota", o->calculation.quota, "best method: digits to keep, 0..10 (default 3)");
    calc->add_option("--sort", o->calculation.sort,
                     "best method: three keys KEY[ DIRECTION],KEY,KEY; KEY 正确率 最大连错 最大连对 最后连错 最后连对 (or "
                     "sglGsRate intGsErrCon intGsTrueCon intGsErrLst intGsTrueLst), DIRECTION 从大到小|从小到大 (or "
                     "desc|asc, also after a colon), best first when left out (default 正确率,最大连对,最后连对)");
    calc->add_option("--select", o->calculation.select, "selected formulas of the category's own table by idx, e.g. 1,3,5 (default all)");
    calc->add_flag("--no-record", o->noRecord, "do not keep this calculation in the prediction journal");
    setAction(calc, [&context, o] { return runCalc(context, *o); });
}

}  // namespace qeltaro::cli
