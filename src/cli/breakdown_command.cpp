// qeltaro-cli breakdown: a formula's calculation history (公式计算步骤).

#include "calculation_options.h"

#include "backtest/formula_breakdown.h"

#include <QJsonArray>
#include <QJsonObject>

namespace qeltaro::cli {
namespace {

struct BreakdownOptions {
    std::string category;
    std::string kind;
    int idx = 0;
};

int runBreakdown(Context& context, const BreakdownOptions& o)
{
    auto category = parseCategory(o.category);
    if (!category)
        return context.fail(category.error());
    auto kill = parseKind(o.kind);
    if (!kill)
        return context.fail(kill.error());
    auto store = context.store();
    if (!store)
        return context.fail(store.error());
    auto listed = FormulaTable(**store, *category).list(*kill);
    if (!listed)
        return context.fail(listed.error());
    const auto formula = std::find_if(listed->begin(), listed->end(),
                                      [&o](const StoredFormula& f) { return f.idx == o.idx; });
    if (formula == listed->end())
        return context.fail(badInput(
            QStringLiteral("%1%2公式中没有序号为%3的公式").arg(category->caption(), kindWord(*kill)).arg(o.idx)));
    auto history = loadHistoryColumns(**store);
    if (!history)
        return context.fail(history.error());
    auto breakdown = breakDownFormula(*history, formula->code, formula->text);
    if (!breakdown)
        return context.fail(breakdown.error());

    if (context.json) {
        QJsonArray rows;
        for (const BreakdownRow& row : breakdown->rows) {
            rows.append(QJsonObject{{QStringLiteral("period"), row.period},
                                    {QStringLiteral("digits"), row.digits},
                                    {QStringLiteral("expression"), row.expression},
                                    {QStringLiteral("value"), row.value}});
        }
        context.printJson(QJsonDocument(QJsonObject{{QStringLiteral("headers"), QJsonArray::fromStringList(breakdown->headers)},
                                                    {QStringLiteral("termwise"), breakdown->termwise},
                                                    {QStringLiteral("rows"), rows}}));
        return kSuccess;
    }
    context.print(breakdown->headers.join(u'\t'));
    for (const BreakdownRow& row : breakdown->rows)
        context.print(QStringList{row.period, row.digits, row.expression, row.value}.join(u'\t'));
    return kSuccess;
}

}  // namespace

void addBreakdownCommand(CLI::App& app, Context& context)
{
    auto o = std::make_shared<BreakdownOptions>();
    CLI::App* breakdown = app.add_subcommand("breakdown", "show a formula's value on every period, term by term (公式计算步骤)");
    breakdown->add_option("--category", o->category, "category: 1D 2D 3D 4D 5D 2G 3G 4G 5G")->required();
    breakdown->add_option("--kind", o->kind, "kill or keep")->required();
    breakdown->add_option("--idx", o->idx, "the formula's idx in the list")->required();
    setAction(breakdown, [&context, o] { return runBreakdown(context, *o); });
}

}  // namespace qeltaro::cli
