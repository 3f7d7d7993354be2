#pragma once
// The category calculation as every caller runs it (the command line, the window, the watcher):
// calculate, keep the counts of the page the Err value window shows last in the staging table,
// and, when it is a prediction, record it in the journal. A calculation of the next period is a
// prediction; a re-check of a past period is not; the caller may keep one out of the journal.

#include "backtest/category_calculation.h"
#include "common/result.h"
#include "domain/history_columns.h"

#include <QDateTime>
#include <QStringList>

#include <optional>

namespace qeltaro {

class Store;

enum class Recording {
    NotAPrediction,  // a past period re-checked
    Skipped,         // the caller asked for none
    Recorded,
    Failed,          // the calculation stands; its journal entry could not be written
};

struct CalculationRun {
    CategoryCalculation calculation;
    QStringList warnings;                  // formulas left out, one message each
    std::optional<Error> stagingFailure;   // the staging table could not be written
    Recording recording = Recording::NotAPrediction;
    std::optional<Error> recordFailure;    // why, when recording failed

    // The first failure after the calculation itself, for a caller that stops at one.
    std::optional<Error> firstFailure() const { return stagingFailure ? stagingFailure : recordFailure; }
};

// Refused only when the calculation itself cannot be made; later failures are told in the run.
Result<CalculationRun> runCalculation(Store& store, const HistoryColumns& history, const CalculationRequest& request,
                                      bool record = true, const QDateTime& when = QDateTime::currentDateTime());

}  // namespace qeltaro
