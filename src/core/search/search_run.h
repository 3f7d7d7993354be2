#pragma once
// The manual search of one category: random candidates until the user stops it, or until the
// stop count is reached when "自动中止" is on, or until a given number of candidates is tried.
// Runs on worker threads (see BackgroundRun); the found formulas come back in candidate order.

#include "domain/history_columns.h"
#include "domain/kind.h"
#include "search/candidate_evaluator.h"
#include "search/candidate_generator.h"
#include "search/candidate_search.h"
#include "search/feeding_run.h"
#include "search/found_feed.h"
#include "search/found_formula.h"
#include "search/search_thresholds.h"
#include "search/shuffled_control.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace qeltaro {

struct SearchRequest {
    CandidateShape shape;
    SearchThresholds thresholds{};
    SearchWindow window;
    // "自动中止": stop once the unsaved formulas, those of earlier runs included, reach this count.
    std::optional<long long> stopCount;
    long long alreadyFound = 0;  // unsaved formulas from earlier runs
    std::optional<std::uint64_t> maxCandidates;
    std::uint64_t seed = 0;
    int threads = 0;  // 0: one per processor core
    // Screen every candidate on a shuffled copy of the history too (shuffled_control.h).
    bool shuffledControl = true;
    // Hold out the newest periods: screen on the history before them, then score each found
    // formula on them (backtest/holdout.h). 0: none.
    int holdoutPeriods = 0;
};

struct SearchProgress {
    std::uint64_t verified = 0;  // 当前验证公式数
    long long found = 0;         // formulas found by this run
    QString currentText;         // the Chinese text of the latest candidate evaluated
    QString currentCode;
    CandidateStatistics currentStats;  // its statistics (当前公式参数值)
    std::uint64_t controlPasses = 0;   // of the verified, passed on the shuffled history
    BestRates best;                    // among the verified
};

struct SearchOutcome {
    std::uint64_t verified = 0;
    std::vector<FoundFormula> found;
    bool targetReached = false;
    bool limitReached = false;
    bool stopped = false;
    double seconds = 0;  // running time, pauses not counted
    int threads = 1;
    std::optional<ShuffledControl> control;  // when the request asked for it
    BestRates best;          // among the verified; the shuffled one with the control only
    int holdoutPeriods = 0;  // the found formulas carry their held-out results when positive

    double candidatesPerSecond() const { return seconds > 0 ? double(verified) / seconds : 0; }
};

// The texts and category of each found candidate.
std::vector<FoundFormula> describeFound(const CandidateGenerator& generator, const std::vector<FoundCandidate>& found);

// What a run's progress shows of the latest candidate verified (empty before the first).
struct LatestCandidate {
    QString text;
    QString code;
    CandidateStatistics stats;
};
using ProgressRelay = std::function<void(std::uint64_t verified, long long found, std::uint64_t controlPasses,
                                         const BestRates& best, const LatestCandidate& latest)>;

// The search's report for a run: newly found formulas go to `feed` (when given), the counts and
// the latest candidate, evaluated for `kind`, to `relay`. Empty when there is no relay.
CandidateSearchReport relayProgress(const CandidateGenerator& generator, const CandidateEvaluator& evaluator, Kind kind,
                                    FoundFeed* feed, ProgressRelay relay);

// The histories a run screens on: the real one without its held-out periods and, for the
// control, shuffled copies of that.
struct RunHistories {
    HistoryColumns screened;
    std::vector<HistoryColumns> controls;

    // Evaluators over the controls, for a category.
    std::vector<CandidateEvaluator> controlEvaluators(const Category& category, const SearchWindow& window) const;
};
std::vector<const CandidateEvaluator*> pointersTo(const std::vector<CandidateEvaluator>& evaluators);
RunHistories runHistories(const HistoryColumns& history, const SearchWindow& window, int holdoutPeriods,
                          bool shuffledControl, std::uint64_t seed);

// Scores found formulas (found[i] from candidates[i]) on the held-out periods of `history`.
void scoreFoundOnHoldout(const HistoryColumns& history, int holdoutPeriods, Kind kind,
                         const std::vector<FoundCandidate>& candidates, std::vector<FoundFormula>& found);
// Marks which of them beat chance there, the correction running over the whole list.
void judgeOnHoldout(std::vector<FoundFormula>& found);

// The search itself, on the calling thread (workers beneath it). With a report, each formula
// found is also appended to `feed` (when given) at the report after it was found; the held-out
// results come only with the outcome.
SearchOutcome runSearch(const HistoryColumns& history, const SearchRequest& request, RunControl& control,
                        const std::function<void(const SearchProgress&)>& report = {},
                        std::chrono::milliseconds interval = std::chrono::milliseconds(200), FoundFeed* feed = nullptr);

class SearchRun : public FeedingRun<SearchRequest, SearchProgress, SearchOutcome, &runSearch> {
public:
    using FeedingRun::FeedingRun;
};

}  // namespace qeltaro
