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
    std::string category;
    std::string kind;
    int periods = 0;
    CalculationOptions calculation;
    WindowOptions window;
};

int runWalkForward(Context& context, const WalkForwardOptions& o)
{
    auto category = parseCategory(o.category);
    if (!category)
        return context.fail(category.error());
    auto kill = parseKind(o.kind);
    if (!kill)
        return context.fail(kill.error());
    auto window = windowSettings(context, o.window);
    if (!window)
        return context.fail(window.error());
    auto input = prepareCalculation(context, *category, *kill, o.calculation);
    if (!input)
        return context.fail(input.error());
    WalkForwardRequest request;
    request.category = *category;
    request.kind = *kill;
    request.periods = o.periods;
    request.method = input->method;
    request.sort = input->sort;
    request.window = *window;
    request.selection = input->formulas.selection;
    auto walked = walkForward(*input->store, input->formulas.history, request);
    if (!walked)
        return context.fail(walked.error());
    for (const QString& problem : walked->problems)
        printWarning(problem);

    if (context.json) {
        QJsonArray periods;
        for (const WalkForwardPeriod& period : walked->periods) {
            QJsonArray slotArray;
            for (const WalkForwardSlot& slot : period.slotResults)
                slotArray.append(slotOutcomeJson(slot.slot, slot.kept, slot.outcome));
            periods.append(QJsonObject{{QStringLiteral("period"), period.period}, {QStringLiteral("slots"), slotArray}});
        }
        context.printJson(QJsonDocument(QJsonObject{{QStringLiteral("periods"), periods},
                                                    {QStringLiteral("summary"), predictionSummaryJson(walked->summary)}}));
        return kSuccess;
    }
    QString heading = QStringLiteral("%1 历史模拟检验 最新%2期 %3")
                          .arg(predictionKindText(*category, *kill))
                          .arg(walked->periods.size())
                          .arg(calculationMethodWord(request.method));
    if (request.method == CalculationMethod::Best)
        heading += QStringLiteral("（排序：%1；保留个数限额%2）").arg(sortKeysText(request.sort.choices())).arg(request.sort.keepLimit);
    context.print(heading);
    printPredictionRows(context, walkForwardRows(*walked, request));
    context.print(predictionSummaryLine(walked->summary));
    context.print(predictionVerdict(walked->summary));
    return kSuccess;
}

}  // namespace

void addWalkForwardCommand(CLI::App& app, Context& context)
{
    auto o = std::make_shared<WalkForwardOptions>();
    CLI::App* command = app.add_subcommand(
        "walkforward", "test the calculation period by period on the history before each period (历史模拟检验)");
    command->add_option("--category", o->category, "category: 1D 2D 3D 4D 5D 2G 3G 4G 5G")->required();
    command->add_option("--kind", o->kind, "kill or keep")->required();
    command->add_option("--periods", o->periods, "the newest periods to test, each on the history before it")->required();
    command->add_option("--method", o->calculation.method, "selected (计算选中公式) or best (最优公式法); default: the JSFF setting");
    command->add_option("--quota", o->calculation.quota, "best method: digits to keep, 0..10 (default 3)");
    command->add_option("--sort", o->calculation.sort, "best method: three keys KEY[:asc|desc],KEY,KEY (default sglGsRate,intGsTrueCon,intGsTrueLst)");
    command->add_option("--select", o->calculation.select, "selected formulas of the category's own table by idx, e.g. 1,3,5 (default all)");
    addWindowOptions(command, o->window);
    setAction(command, [&context, o] { return runWalkForward(context, *o); });
}

}  // namespace qeltaro::cli
