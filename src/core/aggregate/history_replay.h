#pragma once
// The history replay behind "公式往期位置值结果列表": for every period of the history, the
// selected formulas of the current category and kind each name a digit from that period's draw,
// the names are tallied per digit, and the ten digits are ranked from the least to the most
// eliminated. The ranking of a period is the forecast for the period after it.
//
// Each selected formula is evaluated once over the whole history and its digit read on every
// row, so a replay costs one evaluation per formula plus a tally per period and formula.

#include "aggregate/err_counts.h"
#include "common/result.h"
#include "domain/category.h"
#include "domain/draw_record.h"
#include "domain/formula_selection.h"
#include "domain/history_columns.h"
#include "domain/kind.h"
#include "store/formula_table.h"

#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>
#include <vector>

namespace qeltaro {

class Store;

// The tallies of one period, formula by formula in idx order.
//  - kill formula naming d: d is eliminated; T1[d] and T2[d] go up by one.
//  - keep formula naming d: every digit is eliminated and counted once in T1 and T3; d escapes
//    (T1[d] back down, T3[d] up once more) only when no earlier formula of the period had
//    eliminated it. Once eliminated, a digit stays so for the rest of the period.
// A digit outside 0-9 names nothing and contributes nothing.
class PeriodTally {
public:
    void add(Kind kind, int digit);
    const ErrCounts& counts() const { return counts_; }  // total = T1, kill = T2, keep = T3

private:
    ErrCounts counts_{};
    std::array<bool, 10> eliminated_{};
};

struct RankedDigit {
    int digit = 0;
    int count = 0;  // the total count

    friend bool operator==(const RankedDigit&, const RankedDigit&) = default;
};

// Rank 1 first: ascending by the total count, equal counts by digit.
using DigitRanking = std::array<RankedDigit, 10>;
DigitRanking rankDigits(const ErrCounts& counts);

// One row of the period ranking table: a history row and the ranking its values produce.
struct PeriodRanking {
    QString period;
    Digits draw{};
    DigitRanking ranking{};
};

struct HistoryReplay {
    std::vector<PeriodRanking> periods;  // in period order; the last is a forecast
    ErrCounts lastTallies{};             // the tallies of the last period, as Errarr holds them
    int evaluatedFormulas = 0;
    QStringList problems;                // formulas whose code text could not be evaluated
};

// Called after each evaluated formula with (done, total); returning false stops the replay
// with a Cancelled error.
using ReplayProgress = std::function<bool(int done, int total)>;

// The replay over formulas given in idx order; `selection` none = every formula selected.
// Unselected formulas are not evaluated: they change no tally.
Result<HistoryReplay> replayHistory(const HistoryColumns& history, const std::vector<StoredFormula>& formulas,
                                    const std::optional<FormulaSelection>& selection,
                                    const ReplayProgress& progress = {});

// The last period's tallies of a replay written to Errarr (in one transaction; a replay of an
// empty history writes nothing): for a caller that replayed on a thread of its own.
Status keepReplayTallies(Store& store, const HistoryReplay& replay);

// The replay of a category's formulas of one kind, with the last period's tallies written to
// Errarr (in one transaction; an empty history writes nothing).
Result<HistoryReplay> replayCategory(Store& store, const HistoryColumns& history, const Category& category,
                                     Kind kind, const std::optional<FormulaSelection>& selection,
                                     const ReplayProgress& progress = {});

}  // namespace qeltaro
