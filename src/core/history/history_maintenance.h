#pragma once
// Trimming the history: all of it, everything after a period, the last N draws, the last draw.
// Each deletion is one transaction; refused answers change nothing.

#include "common/result.h"

#include <QString>

namespace qeltaro {

class Store;

struct DeleteReport {
    int removed = 0;
    int remaining = 0;
    QString backupPath;         // copy of the store kept before deleting everything
    QString compactionProblem;  // the rows are gone but the file could not be compacted
};

// Every draw, after keeping a copy of the store under backups/.
Result<DeleteReport> deleteAllDraws(Store& store);

// The answer proposed for "删除到选定期" when a draw is selected: the stored period just before
// it, so that accepting it removes the selected draw and every later one. Empty when nothing is
// stored before it.
Result<QString> proposeDeleteAfter(Store& store, const QString& selectedPeriod);

// Keeps the draws up to and including `answer` (a period YYMMDDNNN, which need not be stored)
// and removes every later one, then compacts the store.
Result<DeleteReport> deleteDrawsAfter(Store& store, const QString& answer);

// Removes the last N draws (`answer` a whole number N >= 1; more than stored removes all), then
// compacts the store.
Result<DeleteReport> deleteLastDraws(Store& store, const QString& answer);

// Removes the newest draw; an empty history is left as it is.
Result<DeleteReport> deleteLastDraw(Store& store);

}  // namespace qeltaro
