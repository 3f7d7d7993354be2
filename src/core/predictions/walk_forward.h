#pragma once
// The walk-forward test of the calculation method. For each of the newest periods, in order, the
// calculation runs as it would have run the moment before that period was drawn: on the history
// up to the draw before it and, with the best-formula method, with the formulas ranked by a
// back-test of that history under the window settings. Its kept digits are then judged against
// the draw that came, and valued at the prize table as it is now. Ranking on the whole history
// instead would look ahead. Nothing is stored.

#include "domain/backtest_window.h"
#include "backtest/category_calculation.h"
#include "backtest/formula_list.h"
#include "backtest/sort_settings.h"
#include "common/progress.h"
#include "common/result.h"
#include "domain/kind.h"
#include "domain/prediction_money.h"
#include "domain/prediction_outcome.h"
#include "domain/category.h"
#include "domain/formula_selection.h"
#include "domain/history_columns.h"

#include <QString>

#include <optional>
#include <vector>

namespace qeltaro {

class Store;

struct WalkForwardRequest {
    Category category;
    Kind kind = Kind::Kill;
    int periods = 0;  // the newest periods to walk; at most every period but the first
    CalculationMethod method = CalculationMethod::Best;
    SortSettings sort;
    // Flags of the category's own table; none: every formula selected. The smaller direct-play
    // tables take part with all their formulas, as in the calculation.
    std::optional<FormulaSelection> selection;
    BacktestSettings window;
    int threads = 0;  // for evaluating the formulas; 0: one per processor core
};

struct WalkForwardSlot {
    int slot = 0;          // 0: group play; 1..5: a direct-play position table
    Category table;
    ErrCounts counts{};
    std::vector<int> kept;
    SlotOutcome outcome;
};

struct WalkForwardPeriod {
    QString period;
    std::vector<WalkForwardSlot> slotResults;  // empty: no prediction
    PredictionMoney money;
    std::optional<int> found;  // with a search per period: the formulas it found, over the tables
};

struct WalkForwardResult {
    std::vector<WalkForwardPeriod> periods;
    PredictionSummary summary;
    MoneySummary money;
    PrizeTable prizes;  // the table the periods are valued with
    QStringList problems;  // formulas whose code text could not be evaluated (they count nowhere)
    int noPrediction = 0;  // periods without a slot (a search that found nothing)
};

// Progress is reported once per period; a cancel stops with ErrorKind::Cancelled.
// The walk of a next-period calculation: its list, method, sort and selection.
WalkForwardRequest walkForwardOf(const CalculationRequest& calculation);

Result<WalkForwardResult> walkForward(Store& store, const HistoryColumns& history, const WalkForwardRequest& request,
                                      Progress* progress = nullptr);

// The formula tables a walk reads, per slot in the calculation's order, and the prize table:
// loaded on the store's thread, so the walk itself can run on another without the store.
struct WalkForwardFormulas {
    std::vector<std::pair<int, FormulaList>> tables;  // slot and its table's formulas of the kind
    PrizeTable prizes;  // what each prediction is valued with
};
Result<WalkForwardFormulas> loadWalkForwardFormulas(Store& store, const WalkForwardRequest& request);
Result<WalkForwardResult> walkForward(const WalkForwardFormulas& formulas, const HistoryColumns& history,
                                      const WalkForwardRequest& request, Progress* progress = nullptr);

// Checks a walk's periods and quota before it starts.
Status checkWalkForward(const HistoryColumns& history, const WalkForwardRequest& request);
// The period at `row` calculated from `formulas` as a fresh list of each table (evaluated on
// `history`, of which no row after `row` is read) and judged against its draw. A table without
// formulas gives no slot. For a walk whose formulas change from period to period.
WalkForwardPeriod walkOnePeriod(const WalkForwardFormulas& formulas, const HistoryColumns& history,
                                const WalkForwardRequest& request, int row, QStringList& problems);
// The summary and the money of the periods walked.
void summarizeWalk(WalkForwardResult& result, const Category& category);

}  // namespace qeltaro
