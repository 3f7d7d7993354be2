#include "predictions/calculation_run.h"

#include "predictions/prediction_journal.h"
#include "store/err_table.h"

namespace qeltaro {

Result<CalculationRun> runCalculation(Store& store, const HistoryColumns& history, const CalculationRequest& request,
                                      bool record, const QDateTime& when)
{
    auto calculation = calculateCategory(store, history, request);
    if (!calculation)
        return calculation.error();
    CalculationRun run;
    run.calculation = std::move(*calculation);
    run.warnings = run.calculation.problems();
    // The window shows every slot; the staging table keeps the one shown last, for the export.
    if (!run.calculation.slotResults.empty()) {
        if (Status s = storeShownCounts(store, run.calculation.slotResults.back().counts); !s)
            run.stagingFailure = s.error();
    }
    if (run.calculation.plan.period == CalculationPeriod::Past) {
        run.recording = Recording::NotAPrediction;
    } else if (!record) {
        run.recording = Recording::Skipped;
    } else if (Status s = recordPrediction(store, run.calculation, request.sort, when); !s) {
        run.recording = Recording::Failed;
        run.recordFailure = s.error();
    } else {
        run.recording = Recording::Recorded;
    }
    return run;
}

}  // namespace qeltaro
