#pragma once
// The prediction journal as the user meets it: every next-period calculation is kept with the
// digits it kept per slot, and judged against the draw of its period once that draw is in the
// history (and waits again if the draw is deleted). Summaries set the successes against what
// chance alone would give, and what the predictions would have cost and paid at the prize table
// as it is now.

#include "backtest/category_calculation.h"
#include "common/result.h"
#include "domain/kind.h"
#include "domain/prediction_money.h"
#include "domain/prediction_outcome.h"
#include "domain/category.h"

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace qeltaro {

class Store;

// The method's settings as the journal keeps them: "quota=3;sort=KEY:desc,KEY:desc,KEY:desc" for
// the best-formula method, "select=1-4,7" (the selected formulas of the category's own table)
// for the selected-formula method.
QString methodSettingsText(const CategoryCalculation& calculation, const SortSettings& sort);

// Records a calculation of the next period; a re-check of a past period is no prediction and is
// refused. The same calculation run again for the same period replaces its earlier entry.
Status recordPrediction(Store& store, const CategoryCalculation& calculation, const SortSettings& sort,
                        const QDateTime& when = QDateTime::currentDateTime());

struct JournalSlot {
    int slot = 0;
    Category table;
    std::vector<int> kept;
    SlotOutcome outcome;
};

struct JournalEntry {
    std::int64_t id = 0;
    QString recordedAt;
    QString period;
    Category category;
    Kind kind = Kind::Kill;
    CalculationMethod method = CalculationMethod::Best;
    QString settings;
    int formulaCount = 0;
    std::vector<JournalSlot> slotResults;
    std::optional<PredictionMoney> money;  // once judged
};

struct JournalGroup {
    Category category;
    Kind kind = Kind::Kill;
    int entries = 0;
    PredictionSummary summary;
};

struct JournalReport {
    std::vector<JournalEntry> entries;  // oldest period first
    PredictionSummary summary;          // over every slot listed
    std::vector<JournalGroup> groups;   // per category and kind, in table order, kill first
    MoneySummary money;                 // over the judged entries listed
    PrizeTable prizes;                  // the table they are valued with
};

Result<JournalReport> readJournal(Store& store, std::optional<Category> category = {}, std::optional<Kind> kind = {});
// Removes every entry; returns how many there were.
Result<int> clearJournal(Store& store);

}  // namespace qeltaro
