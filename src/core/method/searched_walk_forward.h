#pragma once
// The whole method walked forward: does searching, then calculating, predict draws it has not
// seen? For each of the newest periods, every formula table the category's calculation uses is
// searched afresh on the history before that period (exactly N candidates, no stop at a count,
// no shuffled control), with that table's thresholds and the search's window settings; the
// formulas found stand in for the table's, and the period is calculated as the calculation would
// (ranked by their back-test on the history before it, best method with its quota and sort, or
// all of them) and judged against its draw, as the walk-forward test judges. A period's
// candidates come from the seed and its period number, so they do not depend on how many
// periods are walked, nor on the threads. Nothing is stored.

#include "common/progress.h"
#include "common/result.h"
#include "domain/history_columns.h"
#include "domain/prize_table.h"
#include "predictions/walk_forward.h"
#include "search/candidate_evaluator.h"
#include "search/candidate_generator.h"
#include "search/search_thresholds.h"

#include <array>
#include <cstdint>
#include <optional>

namespace qeltaro {

class SchemeSettings;
class Store;

inline constexpr std::uint64_t kDefaultWalkCandidates = 100000;

struct SearchedWalkRequest {
    // Category, kind, periods, method, sort, back-test window and threads; the selection is
    // not used, every formula found takes part.
    WalkForwardRequest walk;
    std::uint64_t candidates = kDefaultWalkCandidates;  // per table and period
    std::uint64_t seed = 0;
    TailConstant constant;
    FormulaForm form = FormulaForm::Prefix;
    // Per search number at index number - 1; only the calculation's tables are read.
    std::array<SearchThresholds, 10> thresholds{};
    std::array<int, 10> operandCounts{};
};

// A walk as a front end asks for it: the thresholds and operand count given for every table,
// or each table's own settings.
struct SearchedWalkOrder {
    SearchedWalkRequest request;
    std::optional<SearchThresholds> thresholds;
    std::optional<int> operandCount;
};

// The request completed from the settings, with the prize table the periods are valued with.
struct SearchedWalkPlan {
    SearchedWalkRequest request;
    PrizeTable prizes;
};

// Read on the store's thread. Refused when the candidates are fewer than one or a table's
// stored thresholds hold one that is not a number.
Result<SearchedWalkPlan> planSearchedWalk(Store& store, const SchemeSettings& settings, const SearchedWalkOrder& order);

// The seed of one table's candidates for the period `period`.
std::uint64_t periodSearchSeed(std::uint64_t seed, const QString& period, int searchNumber);
// The search's window in the back-test window's settings: the same periods and weighting.
SearchWindow searchWindowOf(const BacktestSettings& window);

// The walk, spread over the request's threads period by period. Each period carries how many
// formulas its search found; a table where none were found gives no slot that period.
Result<WalkForwardResult> walkForwardWithSearch(const SearchedWalkPlan& plan, const HistoryColumns& history,
                                                Progress* progress = nullptr);

}  // namespace qeltaro
