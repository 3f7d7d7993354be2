#pragma once
// One category's search, spread over threads and still reproducible: candidates are numbered
// 0, 1, 2, ...; threads take blocks of numbers, and a block's finds count only once every block
// before it is done. So the found list is in candidate order, and a run that stops at its target
// or its limit evaluated exactly the same candidates with one thread or with many. A run stopped
// by the user keeps the unbroken prefix of candidates that were fully evaluated.

#include "search/best_rates.h"
#include "search/candidate_evaluator.h"
#include "search/candidate_generator.h"
#include "search/run_control.h"
#include "search/search_thresholds.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace qeltaro {

struct FoundCandidate {
    std::uint64_t ordinal = 0;
    Candidate candidate;
    CandidateStatistics stats;
};

struct CandidateSearchLimits {
    // Stop once this many are found (checked after every candidate, so a target of 0 or less
    // stops after the first candidate).
    std::optional<long long> target;
    // Evaluate at most this many candidates.
    std::optional<std::uint64_t> maxCandidates;
};

struct CandidateSearchOutcome {
    std::uint64_t verified = 0;  // candidates 0 .. verified - 1 were evaluated
    std::vector<FoundCandidate> found;
    bool targetReached = false;
    bool limitReached = false;
    bool stopped = false;  // by the user
    // Of the verified candidates, how many passed on the control histories (when there are any),
    // in all and on each copy.
    std::uint64_t controlPasses = 0;
    std::vector<std::uint64_t> controlPassesByCopy;
    // The highest rate among the verified candidates, on the real history and on the controls.
    BestRates best;
};

// Called on the calling thread while the search runs: candidates evaluated so far (the unbroken
// prefix), how many formulas were found among them, how many of them passed on the control
// history, the best rates among them, and the formulas found since the previous report, in
// candidate order (over all reports, exactly the outcome's found list).
using CandidateSearchReport = std::function<void(std::uint64_t verified, long long found, std::uint64_t controlPasses,
                                                 const BestRates& best, const std::vector<FoundCandidate>& newlyFound)>;

class CandidateSearch {
public:
    // With `controls` (the same category and window over shuffled copies of the history), every
    // candidate is also screened on one of them, candidate k on copy k mod the number of copies,
    // and counted, so the run can tell its passes from luck at twice the work, not more. All
    // controls must score as many rows as `evaluator`.
    CandidateSearch(const CandidateEvaluator& evaluator, const CandidateGenerator& generator,
                    const SearchThresholds& thresholds, std::vector<const CandidateEvaluator*> controls = {});

    // Blocks the calling thread until the target, the limit or a stop; `threads` workers (at
    // least one) evaluate. Reports about every `interval`.
    CandidateSearchOutcome run(const CandidateSearchLimits& limits, int threads, RunControl& control,
                               const CandidateSearchReport& report = {},
                               std::chrono::milliseconds interval = std::chrono::milliseconds(100)) const;

    static constexpr std::uint64_t kBlock = 2048;

private:
    const CandidateEvaluator& evaluator_;
    const CandidateGenerator& generator_;
    ScreeningBounds bounds_;
    std::vector<const CandidateEvaluator*> controls_;
};

// Threads to use: `requested` when positive, else one per processor core.
int searchThreadCount(int requested);

}  // namespace qeltaro
