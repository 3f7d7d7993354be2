#include "aggregate/history_replay.h"

#include "language/column_evaluator.h"
#include "language/expression.h"

#include <cstdint>

namespace qeltaro {

void PeriodTally::add(Kind kind, int digit)
{
    if (!isCountableDigit(digit))
        return;
    const size_t d = size_t(digit);
    if (isKill(kind)) {
        eliminated_[d] = true;
        ++counts_[d].total;
        ++counts_[d].kill;
        return;
    }
    const bool eliminatedBefore = eliminated_[d];
    for (size_t x = 0; x < 10; ++x) {
        eliminated_[x] = true;
        ++counts_[x].total;
        ++counts_[x].keep;
    }
    if (!eliminatedBefore) {
        eliminated_[d] = false;
        --counts_[d].total;
        ++counts_[d].keep;
    }
}

DigitRanking rankDigits(const ErrCounts& counts)
{
    DigitRanking ranking;
    const auto digits = digitsByTotalAscending(counts);
    for (size_t r = 0; r < 10; ++r)
        ranking[r] = {digits[r], counts[size_t(digits[r])].total};
    return ranking;
}

Result<HistoryReplay> replayHistory(const HistoryColumns& history, const std::vector<StoredFormula>& formulas,
                                    const std::optional<FormulaSelection>& selection, const ReplayProgress& progress)
{
    HistoryReplay replay;
    struct Taking {
        Kind kind;
        CompiledFormula compiled;
    };
    std::vector<Taking> taking;
    for (const StoredFormula& f : formulas) {
        if (selection && !selection->isSelected(f.idx))
            continue;
        auto compiled = compileFormula(f.code);
        if (!compiled) {
            replay.problems << QStringLiteral("第%1号公式“%2”无法计算，未计入：%3")
                                   .arg(f.idx).arg(f.code, compiled.error().message);
            continue;
        }
        taking.push_back({f.kind, std::move(*compiled)});
    }

    // Digits row by row, formulas in idx order within a row: the tally walks them that way.
    const size_t rows = size_t(history.rowCount());
    const size_t width = taking.size();
    std::vector<std::int8_t> digitsByRow(rows * width);
    ColumnEvaluator evaluator;
    std::vector<int> digits;
    for (size_t f = 0; f < width; ++f) {
        evaluator.predictDigits(taking[f].compiled, history, digits);
        for (size_t r = 0; r < rows; ++r)
            digitsByRow[r * width + f] = std::int8_t(digits[r]);  // -9..9 or kNoDigit (-128)
        if (progress && !progress(int(f + 1), int(width)))
            return Error{ErrorKind::Cancelled, QStringLiteral("已停止往期结果对照")};
    }
    replay.evaluatedFormulas = int(width);

    replay.periods.reserve(rows);
    for (size_t r = 0; r < rows; ++r) {
        PeriodTally tally;
        const std::int8_t* row = digitsByRow.data() + r * width;
        for (size_t f = 0; f < width; ++f)
            tally.add(taking[f].kind, row[f]);
        replay.periods.push_back({history.period(int(r)), history.digits(int(r)), rankDigits(tally.counts())});
        if (r + 1 == rows)
            replay.lastTallies = tally.counts();
    }
    return replay;
}

Result<HistoryReplay> replayCategory(Store& store, const HistoryColumns& history, const Category& category,
                                     Kind kind, const std::optional<FormulaSelection>& selection,
                                     const ReplayProgress& progress)
{
    auto formulas = FormulaTable(store, category).list(kind);
    if (!formulas)
        return formulas.error();
    auto replay = replayHistory(history, *formulas, selection, progress);
    if (!replay)
        return replay;
    if (Status s = keepReplayTallies(store, *replay); !s)
        return s.error();
    return replay;
}

Status keepReplayTallies(Store& store, const HistoryReplay& replay)
{
    if (replay.periods.empty())
        return success();
    return storeReplayTallies(store, replay.lastTallies);
}

}  // namespace qeltaro
