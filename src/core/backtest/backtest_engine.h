#pragma once
// The back-test of a formula list: each formula is evaluated once over the history's columns,
// in memory, and scored by its hits. Formulas are spread over threads in blocks; each result
// depends on its formula alone, so the results are the same whatever the number of threads.
//
// The three back-tests of the formula list:
// - backtest (the core of Yansuan): every formula's statistics; next-period digits for the
//   selected formulas. runFullBacktest() adds the write-back and renumbering (statistics_write_back.h).
// - backtestPage (YansuanA): a range of the list only; the other entries keep their values.
// - backtestQuiet (YansuanCalcu): only the text, the final run of hits and the next digit.

#include "backtest/backtest_context.h"
#include "backtest/formula_list.h"
#include "backtest/formula_stats_table.h"
#include "backtest/formula_verification.h"
#include "domain/backtest_window.h"
#include "domain/history_columns.h"
#include "domain/vector_kernels.h"

#include <vector>

namespace qeltaro {

class BacktestEngine {
public:
    // threads <= 0: one per processor core. `kernels`: the vector units' instruction set, or
    // nullptr for plain loops.
    explicit BacktestEngine(int threads = 0, const VectorKernels* kernels = bestVectorKernels());
    int threads() const { return threads_; }

    // Every formula of the list. A formula whose code text does not compile gets its message in
    // `error` and empty statistics. A formula not selected gets no new next-period digit: it
    // keeps the one `previous` holds for it when that was computed on the same newest row.
    FormulaStatsTable backtest(const FormulaList& list, const HistoryColumns& history, const BacktestSettings& settings,
                               const FormulaStatsTable* previous = nullptr) const;

    // Formulas at ordinals first .. first + count - 1 (clipped to the list) into `table`, which
    // must be the list's table (same ordinals); the other entries keep their values.
    void backtestPage(const FormulaList& list, int first, int count, const HistoryColumns& history,
                      const BacktestSettings& settings, FormulaStatsTable& table) const;

    // Into `table` (the list's): each entry's text, its final run of hits and, for selected
    // formulas, the next-period digit. The other fields keep their values.
    void backtestQuiet(const FormulaList& list, const HistoryColumns& history, const BacktestSettings& settings,
                       FormulaStatsTable& table) const;

    // The verification columns of formulas first .. first + count - 1 (clipped to the list). A
    // formula that does not compile gets an empty column.
    std::vector<FormulaVerification> verify(const FormulaList& list, int first, int count,
                                            const HistoryColumns& history) const;

private:
    // Runs work(ordinal, values) for each ordinal in [first, end) with the formula's value on
    // every row from `fromRow` on (values[0] is row fromRow's), spread over the threads.
    template <typename Work>
    void forEachEvaluated(const FormulaList& list, int first, int end, const HistoryColumns& history, int fromRow,
                          const Work& work) const;

    int threads_ = 1;
    const VectorKernels* kernels_ = nullptr;
};

}  // namespace qeltaro
