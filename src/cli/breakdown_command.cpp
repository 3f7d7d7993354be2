// qeltaro-cli breakdown: a formula's calculation history (公式计算步骤).

#include "calculation_options.h"
#include "formula_choice.h"

#include "backtest/formula_breakdown.h"
#include "history/draw_history.h"
#include "library/formula_library.h"

#include <QJsonArray>
#include <QJsonObject>

namespace qeltaro::cli {
namespace {

struct BreakdownOptions {
    ListOptions list;
    FormulaChoice formula;

    void bind(CLI::App* command)
    {
        list.bind(command);
        formula.bind(command);
    }
    std::optional<QString> missing() const { return formula.missing(); }
    Status read() { return list.read(); }
};

// The formula's value on every period, a line or a row each.
class BreakdownReport : public Report {
public:
    explicit BreakdownReport(FormulaBreakdown breakdown) : breakdown_(std::move(breakdown)) {}

    void writeText(TextOut& out) const override
    {
        out.line(breakdown_.headers.join(u'\t'));
        for (const BreakdownRow& row : breakdown_.rows)
            out.line(QStringList{row.period, row.digits, row.expression, row.value}.join(u'\t'));
    }

    void writeJson(JsonOut& out) const override
    {
        out.beginObject();
        out.member(QStringLiteral("headers"), QJsonArray::fromStringList(breakdown_.headers));
        out.key(QStringLiteral("rows")).beginArray();
        for (const BreakdownRow& row : breakdown_.rows)
            out.value(QJsonObject{{QStringLiteral("period"), row.period},
                                  {QStringLiteral("digits"), row.digits},
                                  {QStringLiteral("expression"), row.expression},
                                  {QStringLiteral("value"), row.value}});
        out.endArray();
        out.member(QStringLiteral("termwise"), breakdown_.termwise);
        out.endObject();
    }

private:
    FormulaBreakdown breakdown_;
};

Outcome breakdown(Context&, Store& store, const BreakdownOptions& o)
{
    auto listed = listFormulas(store, o.list.key());
    if (!listed)
        return listed.error();
    auto idx = o.formula.idxAmong(*listed, listHeading(o.list));
    if (!idx)
        return idx.error();
    const auto formula = std::find_if(listed->begin(), listed->end(), [&](const StoredFormula& f) { return f.idx == *idx; });
    auto history = loadHistoryColumns(store);
    if (!history)
        return history.error();
    auto steps = breakDownFormula(*history, formula->code, formula->text);
    if (!steps)
        return steps.error();
    return makeReport<BreakdownReport>(std::move(*steps));
}

}  // namespace

void addBreakdownCommand(CLI::App& app, Context& context)
{
    addStoreCommand(app.add_subcommand("breakdown", "show a formula's value on every period, term by term (公式计算步骤)"),
                    context, breakdown);
}

}  // namespace qeltaro::cli
