#pragma once
// One history prepared for scoring formulas of one category under one window: per row, which
// predicted digits would be hits for a kill and for a keep formula. Scoring a formula is then
// one pass over its values. Read-only after construction, so threads share it. The pass runs on
// the vector units where the processor has them, else as a plain loop; both give the same
// statistics bit for bit.

#include "backtest/formula_stats_table.h"
#include "backtest/formula_verification.h"
#include "domain/backtest_window.h"
#include "domain/category.h"
#include "domain/history_columns.h"
#include "domain/kind.h"
#include "domain/vector_kernels.h"
#include "language/expression.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace qeltaro {

class BacktestContext {
public:
    // `kernels`: the vector units' instruction set, or nullptr for the plain loop.
    BacktestContext(const HistoryColumns& history, const Category& category, const BacktestSettings& settings,
                    const VectorKernels* kernels = bestVectorKernels());

    const HistoryColumns& history() const { return history_; }
    const BacktestSettings& settings() const { return settings_; }
    int rowCount() const { return history_.rowCount(); }
    int firstScoredRow() const { return firstScored_; }

    // Rate, runs and sums of a formula whose value on row r is values[r - valuesFrom] (NaN for
    // none). Row r is scored by the digit of row r - 1, so values from firstNeededRow() on are
    // enough. A missing value is a miss for either kind: the formula named no digit. `next` and
    // `text` are left to the caller.
    void score(const double* values, Kind kind, FormulaStats& stats, int valuesFrom = 0) const;
    // The first row whose value the score reads (the newest row's is the next period's digit).
    int firstNeededRow() const { return std::max(0, std::min(firstScored_, rowCount() - 1) - 1); }
    // The digit of every row and the hit flag of every row but the first, whatever the window.
    FormulaVerification verify(const double* values, Kind kind) const;

    // predictedDigit(value) + 9, or kNoValueCode: a lookup index into the hit masks.
    static constexpr int kNoValueCode = qeltaro::kNoValueCode;
    static int digitCode(double value) { return predictedDigitCode(value); }

private:
    void scoreVector(const double* values, int valuesFrom, const std::uint32_t* hitMasks, FormulaStats& stats) const;
    // The statistics from the counts and runs both roads find.
    void fill(FormulaStats& stats, int scored, long long hitSum, int hitCount, int namedRows, int namedHits,
              const HitRuns& runs) const;

    const HistoryColumns& history_;
    BacktestSettings settings_;
    int firstScored_ = 0;
    // Bit (digit + 9) of row r is set when that predicted digit hits on row r. Negative digits
    // match no drawn digit: a kill hits, a keep misses. Bit kNoValueCode is never set.
    std::vector<std::uint32_t> killHits_;
    std::vector<std::uint32_t> keepHits_;
    // The vector road (kernels_ set): the scored rows' weights, padded to whole blocks of rows.
    const VectorKernels* kernels_ = nullptr;
    std::vector<std::uint32_t> weights32_;
    std::uint32_t maxWeight_ = 0;
};

}  // namespace qeltaro
