// qeltaro-cli calc: the category calculation and the Err value window it opens.

#include "calc_report.h"
#include "calculation_options.h"

#include "predictions/calculation_run.h"

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
    return makeReport<CalcReport>(listHeading(o.list), std::move(run->calculation), request.sort);
}

}  // namespace

void addCalcCommand(CLI::App& app, Context& context)
{
    addStoreCommand(app.add_subcommand("calc", "count the digits named by the selected or the best formulas (计算公式)"),
                    context, calc);
}

}  // namespace qeltaro::cli
