// qeltaro-cli walkforward: the calculation method tested period by period on the history it
// would have had.

#include "calculation_options.h"

#include "prediction_output.h"
#include "predictions/walk_forward.h"

#include <QJsonArray>
#include <QJsonObject>

namespace qeltaro::cli {
namespace {

struct WalkForwardOptions {
    ListOptions list;
    int periods = 0;
    CalculationOptions calculation;
    WindowOptions window;

    void bind(CLI::App* command)
    {
        list.bind(command);
        command->add_option("--periods", periods, "the newest periods to test, each on the history before it")->required();
        calculation.bind(command, "best method: three keys KEY[:asc|desc],KEY,KEY (default sglGsRate,intGsTrueCon,intGsTrueLst)");
        window.bind(command);
    }
    Status read(Context& context)
    {
        if (Status s = list.read(); !s)
            return s;
        if (Status s = window.read(context); !s)
            return s;
        return calculation.read(context);
    }
};

// Each tested period with its judged slots, then the summary.
class WalkForwardReport : public Report {
public:
    WalkForwardReport(WalkForwardResult result, WalkForwardRequest request)
        : result_(std::move(result)), request_(std::move(request))
    {
    }

    void writeText(TextOut& out) const override
    {
        QString heading = QStringLiteral("%1 历史模拟检验 最新%2期 %3")
                              .arg(predictionKindText(request_.category, request_.kind))
                              .arg(result_.periods.size())
                              .arg(calculationMethodWord(request_.method));
        if (request_.method == CalculationMethod::Best)
            heading += QStringLiteral("（排序：%1；保留个数限额%2）")
                           .arg(sortKeysText(request_.sort.choices()))
                           .arg(request_.sort.keepLimit);
        out.line(heading);
        writePredictionRows(out, walkForwardRows(result_, request_));
        out.line(predictionSummaryLine(result_.summary));
        out.line(predictionVerdict(result_.summary));
        out.line(moneySummaryLine(result_.money, result_.prizes));
    }

    void writeJson(JsonOut& out) const override
    {
        out.beginObject();
        out.key(QStringLiteral("periods")).beginArray();
        for (const WalkForwardPeriod& period : result_.periods)
            out.value(QJsonObject{{QStringLiteral("period"), period.period},
                                  {QStringLiteral("slots"), slotOutcomesJson(period.slotResults)},
                                  {QStringLiteral("money"), predictionMoneyJson(period.money)}});
        out.endArray();
        out.member(QStringLiteral("summary"), predictionSummaryJson(result_.summary, result_.money));
        out.endObject();
    }

private:
    WalkForwardResult result_;
    WalkForwardRequest request_;
};

Outcome walkForwardCommand(Context&, Store& store, const WalkForwardOptions& o)
{
    CalculationRequest calculation;
    auto selected = loadCalculationRequest(store, o.list, o.calculation, calculation);
    if (!selected)
        return selected.error();
    WalkForwardRequest request = walkForwardOf(calculation);
    request.periods = o.periods;
    request.window = o.window.settings;
    auto walked = walkForward(store, selected->history, request);
    if (!walked)
        return walked.error();
    printWarnings(walked->problems);
    return makeReport<WalkForwardReport>(std::move(*walked), std::move(request));
}

}  // namespace

void addWalkForwardCommand(CLI::App& app, Context& context)
{
    addStoreCommand(app.add_subcommand("walkforward",
                                       "test the calculation period by period on the history before each period (历史模拟检验)"),
                    context, walkForwardCommand);
}

}  // namespace qeltaro::cli
