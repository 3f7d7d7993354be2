#pragma once
// The search's back-test of a candidate, on the cheapest road a sum allows: the history's
// parameter columns are copied once as integers over just the rows the window needs (the scored
// rows and the one before them); a candidate is then its columns added into one integer buffer
// and one pass that turns each value's digit into a hit through per-row hit masks. Nothing is
// compiled or allocated per candidate.
//
// On the vector road (the default where the processor has vector units) a candidate whose sum
// can never be negative is added as remainders by 10, 64 rows to a vector of bytes; any other as
// 32-bit integers. Both give the plain road's statistics bit for bit.
//
// The window differs from the main back-test's: a window of W periods scores the newest W + 1
// rows whatever "检索期数前溯不含当前期" says, and never the first row. The digit of a value is its
// remainder by 10 with the value's sign; a negative digit matches no drawn digit.

#include "domain/backtest_window.h"
#include "domain/category.h"
#include "domain/vector_kernels.h"
#include "domain/history_columns.h"
#include "domain/kind.h"
#include "search/candidate_generator.h"
#include "search/search_thresholds.h"
#include "settings/settings.h"

#include <cstdint>
#include <vector>

namespace qeltaro {

struct SearchWindow {
    int periodWindow = 300;    // JSQS: the newest periods; 0 = all
    bool weightedRate = true;  // ZqlJq

    static SearchWindow fromMirror(const SettingsMirror& mirror) { return {mirror.periodWindow, mirror.weightedRate}; }
    // The same window as the main back-test's settings: the window takes one period more.
    BacktestSettings backtestSettings() const { return {periodWindow, false, weightedRate}; }

    friend bool operator==(const SearchWindow&, const SearchWindow&) = default;
};

// Buffers one thread reuses for every candidate it evaluates.
struct EvaluationScratch {
    std::vector<std::int32_t> values;
    std::vector<std::uint8_t> hits;
    std::vector<std::uint64_t> hitBits;
};

class CandidateEvaluator {
public:
    // `kernels`: the vector road's instruction set, or nullptr for the plain road.
    CandidateEvaluator(const HistoryColumns& history, const Category& category, const SearchWindow& window,
                       const VectorKernels* kernels = bestVectorKernels());
    // Scores exactly the newest `rows` rows (never the first row), unweighted: the check of a
    // formula on periods held out of its search.
    static CandidateEvaluator newestRows(const HistoryColumns& history, const Category& category, int rows,
                                         const VectorKernels* kernels = bestVectorKernels());

    const Category& category() const { return category_; }
    const SearchWindow& window() const { return window_; }
    int rowCount() const { return rowCount_; }
    int firstScoredRow() const { return firstScored_; }  // 0-based
    int scoredRows() const { return scored_; }

    EvaluationScratch makeScratch() const;

    // All five statistics.
    CandidateStatistics evaluate(const Candidate& candidate, Kind kind, EvaluationScratch& scratch) const;
    // Hits and trials over the scored rows where the candidate names a digit 0-9, unweighted:
    // its evidence against chance.
    struct NamedRecord {
        int hits = 0;
        int trials = 0;
    };
    NamedRecord namedRecord(const Candidate& candidate, Kind kind, EvaluationScratch& scratch) const;
    // Whether the candidate meets every threshold; `stats.rate` is always set (the search keeps
    // the best of every candidate), the rest when it passes. Checks stop at the first failure.
    bool screen(const Candidate& candidate, Kind kind, const ScreeningBounds& bounds, EvaluationScratch& scratch,
                CandidateStatistics& stats) const;

private:
    CandidateEvaluator(const HistoryColumns& history, const Category& category, const SearchWindow& window,
                       int firstScored, const VectorKernels* kernels);
    void prepareVectorRoad();

    // The hit flags of the scored rows and their (weighted) hit sum.
    long long scoreHits(const Candidate& candidate, Kind kind, EvaluationScratch& scratch) const;
    // The same, and values[i] = the candidate's value on row firstScored - 1 + i.
    long long scoreHitsPlain(const Candidate& candidate, Kind kind, EvaluationScratch& scratch) const;
    // False when the candidate's sums may leave the range the vector road is exact in.
    bool scoreHitsVector(const Candidate& candidate, Kind kind, EvaluationScratch& scratch, long long& hitSum) const;
    // All four runs at once from the hits packed as bits.
    void runsOfPacked(EvaluationScratch& scratch, CandidateStatistics& stats) const;
    void rate(long long hitSum, CandidateStatistics& stats) const;
    void lastRuns(const std::uint8_t* hits, CandidateStatistics& stats) const;
    void longestRuns(const std::uint8_t* hits, CandidateStatistics& stats) const;
    const std::int32_t* column(int catalogueIndex) const { return columns_.data() + size_t(catalogueIndex - 1) * stride_; }

    Category category_;
    SearchWindow window_;
    int rowCount_ = 0;
    int firstScored_ = 0;
    int scored_ = 0;
    size_t stride_ = 0;  // scored_ rounded up to whole blocks of rows
    long long totalSum_ = 0;
    std::vector<std::int32_t> columns_;  // column-major, stride_ values per catalogue column
    std::vector<std::uint32_t> killHits_;  // per scored row, bit (digit + 9) set when that digit hits
    std::vector<std::uint32_t> keepHits_;
    std::vector<long long> weights_;       // j squared, for the weighted rate

    // The vector road (kernels_ set): the columns' remainders by 10 (0..9), each column's least
    // value and largest magnitude, the hit masks of the digits 0..7 and 8..9 as bytes, the weights.
    const VectorKernels* kernels_ = nullptr;
    std::vector<std::uint8_t> residues_;
    std::vector<long long> columnLeast_;
    std::vector<long long> columnLargest_;
    std::vector<std::uint8_t> killLow_, killHigh_, keepLow_, keepHigh_;
    std::vector<std::uint32_t> weights32_;
    std::uint32_t maxWeight_ = 0;
};

}  // namespace qeltaro
