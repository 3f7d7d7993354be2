#pragma once
// The category calculation behind "计算公式(&C)": every taking-part formula names one digit for
// the next period (or for a past period being re-checked), and the names are counted per digit
// and per position table. The counts feed the Err value windows.
//
// Which formulas take part: every selected formula ("计算选中公式"), or the best formulas by the
// stored statistics of the last back-test ("最优公式法"), taken in sort order until their digits
// cover M distinct digits (10 - C for kill formulas, C for keep formulas).

#include "aggregate/err_counts.h"
#include "backtest/sort_settings.h"
#include "common/result.h"
#include "domain/category.h"
#include "domain/draw_record.h"
#include "domain/formula_selection.h"
#include "domain/history_columns.h"
#include "domain/kind.h"
#include "language/expression.h"

#include <QString>

#include <optional>
#include <utility>
#include <vector>

namespace qeltaro {

class Store;

enum class CalculationMethod { Best, Selected };
enum class CalculationPeriod { Next, Past };

// The dispatch of the calculation button: code = 1 for direct play + 2 for the selected-formula
// method + 4 for a past period. Group play fills slot 0 from the category's own table; direct
// play of s positions fills slots 1..s from the tables 1D..sD.
struct CalculationPlan {
    int code = 0;
    bool direct = false;
    CalculationMethod method = CalculationMethod::Best;
    CalculationPeriod period = CalculationPeriod::Next;
    std::vector<std::pair<int, Category>> slotTables;  // slot and the table that fills it, in order
    // The Err value window offers the detail list ("详细结果列表(&D)") after the selected-formula
    // method only.
    bool detailListAvailable = false;
};

CalculationPlan planOfCode(int code, const Category& category);
int calculationCode(const Category& category, CalculationMethod method, CalculationPeriod period);

// The digits the walk stops at: M = 10 - C for kill formulas, C for keep formulas.
int quotaDistinctDigits(Kind kind, int keepLimit);

// One formula as the walk sees it, in walk order.
struct WalkedFormula {
    bool selected = true;
    int digit = kNoDigit;
};

struct DigitWalk {
    ErrCounts counts{};         // in total and kill; keep formulas' counts moved to keep
    std::vector<bool> counted;  // per formula: its digit went into the counts
    int walked = 0;             // formulas looked at before the walk stopped
};

// Counts the digits of the selected formulas. With `stopAtDistinct` the walk stops as soon as the
// counted digits cover that many distinct digits; a digit outside 0-9 counts nowhere. `digitOf`
// is asked only for formulas the walk reaches, so the caller evaluates no more than needed.
template <typename DigitOf>
DigitWalk walkDigits(int formulaCount, DigitOf&& digitOf, const std::vector<bool>& selected, Kind kind,
                     std::optional<int> stopAtDistinct);
DigitWalk walkDigits(const std::vector<WalkedFormula>& formulas, Kind kind, std::optional<int> stopAtDistinct);

struct CalculationRequest {
    Category category;
    Kind kind = Kind::Kill;  // KillMode
    CalculationMethod method = CalculationMethod::Selected;
    std::optional<QString> pastPeriod;  // re-check this period; none: the next period
    SortSettings sort;
    // Flags of the category's own table, the list the user works on; none: every formula is
    // selected, as after the list is loaded. The smaller direct-play tables take part with all
    // their formulas.
    std::optional<FormulaSelection> selection;
};

struct CalculatedFormula {
    int idx = 0;
    Kind kind = Kind::Kill;
    QString code;
    QString text;
    bool selected = false;
    bool counted = false;        // its digit went into the counts
    int digit = kNoDigit;        // for the calculated period; only formulas the walk reached
    int nextDigit = kNoDigit;    // 计算值: for the next period; selected formulas only
    QString problem;             // why the code text could not be evaluated
};

struct SlotCalculation {
    int slot = 0;
    Category table;
    ErrCounts counts{};
    std::vector<CalculatedFormula> formulas;  // the table's formulas of the kind, in list (idx) order
    int countedFormulas = 0;
};

struct CategoryCalculation {
    Category category;  // the category chosen for the calculation
    CalculationPlan plan;
    Kind kind = Kind::Kill;  // KillMode
    QString period;                 // the period calculated
    std::optional<Digits> drawn;    // its draw, when a past period is re-checked
    std::vector<SlotCalculation> slotResults;

    // One message per formula whose code text could not be evaluated.
    QStringList problems() const;
    // The counts into the next-period count tables; only the processed slots change.
    void storeInto(NextPeriodCounts& tables) const;
};

// The history is given as columns so that a caller holding them evaluates nothing twice.
Result<CategoryCalculation> calculateCategory(Store& store, const HistoryColumns& history,
                                              const CalculationRequest& request);

// --- implementation of the template ---

template <typename DigitOf>
DigitWalk walkDigits(int formulaCount, DigitOf&& digitOf, const std::vector<bool>& selected, Kind kind,
                     std::optional<int> stopAtDistinct)
{
    DigitWalk walk;
    walk.counted.assign(size_t(formulaCount), false);
    std::array<bool, 10> marked{};
    int distinct = 0;
    for (int i = 0; i < formulaCount; ++i) {
        if (stopAtDistinct && distinct >= *stopAtDistinct)
            break;
        ++walk.walked;
        if (!selected[size_t(i)])
            continue;
        const int digit = digitOf(i);
        if (!isCountableDigit(digit))
            continue;
        ErrCount& count = walk.counts[size_t(digit)];
        ++count.total;
        ++count.kill;
        walk.counted[size_t(i)] = true;
        if (!marked[size_t(digit)]) {
            marked[size_t(digit)] = true;
            ++distinct;
        }
    }
    if (!isKill(kind))
        moveKillCountsToKeep(walk.counts);
    return walk;
}

}  // namespace qeltaro
