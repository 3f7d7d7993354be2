#include "search/search_run.h"

#include "domain/backtest_window.h"
#include "domain/chance_statistics.h"

namespace qeltaro {

std::vector<FoundFormula> describeFound(const CandidateGenerator& generator, const std::vector<FoundCandidate>& found)
{
    std::vector<FoundFormula> out;
    out.reserve(found.size());
    for (const FoundCandidate& f : found) {
        out.push_back({generator.codeText(f.candidate), generator.chineseText(f.candidate),
                       generator.shape().category, f.stats, f.ordinal, std::nullopt});
    }
    return out;
}

CandidateSearchReport relayProgress(const CandidateGenerator& generator, const CandidateEvaluator& evaluator, Kind kind,
                                    FoundFeed* feed, ProgressRelay relay)
{
    if (!relay)
        return {};
    // The search calls its report from one thread at a time, so one scratch serves every call.
    return [&generator, &evaluator, kind, feed, relay = std::move(relay), scratch = evaluator.makeScratch()](
               std::uint64_t verified, long long found, std::uint64_t controlPasses, const BestRates& best,
               const std::vector<FoundCandidate>& newlyFound) mutable {
        if (feed)
            feed->append(describeFound(generator, newlyFound));
        LatestCandidate latest;
        if (verified > 0) {
            const Candidate candidate = generator.candidate(verified - 1);
            latest = {generator.chineseText(candidate), generator.codeText(candidate),
                      evaluator.evaluate(candidate, kind, scratch)};
        }
        relay(verified, found, controlPasses, best, latest);
    };
}

RunHistories runHistories(const HistoryColumns& history, const SearchWindow& window, int holdoutPeriods,
                          bool shuffledControl, std::uint64_t seed)
{
    RunHistories histories{historyBeforeHoldout(history, holdoutPeriods), {}};
    if (shuffledControl) {
        // The rows the run reads: the scored ones and the one before them.
        const int firstScored = firstScoredRow(histories.screened.rowCount(), window.backtestSettings());
        for (int copy = 0; copy < kControlCopies; ++copy)
            histories.controls.push_back(controlHistory(histories.screened, seed, copy, std::max(firstScored - 1, 0)));
    }
    return histories;
}

std::vector<CandidateEvaluator> RunHistories::controlEvaluators(const Category& category, const SearchWindow& window) const
{
    std::vector<CandidateEvaluator> evaluators;
    evaluators.reserve(controls.size());
    for (const HistoryColumns& control : controls)
        evaluators.emplace_back(control, category, window);
    return evaluators;
}

std::vector<const CandidateEvaluator*> pointersTo(const std::vector<CandidateEvaluator>& evaluators)
{
    std::vector<const CandidateEvaluator*> pointers;
    for (const CandidateEvaluator& e : evaluators)
        pointers.push_back(&e);
    return pointers;
}

namespace {

// One candidate on the newest `periods` rows of the full history, unweighted.
HoldoutResult scoreOnHoldout(const HistoryColumns& history, int periods, const Category& category, Kind kind,
                             const Candidate& candidate)
{
    const CandidateEvaluator evaluator = CandidateEvaluator::newestRows(history, category, periods);
    EvaluationScratch scratch = evaluator.makeScratch();
    const CandidateEvaluator::NamedRecord named = evaluator.namedRecord(candidate, kind, scratch);
    return holdoutResult(named.hits, named.trials, chanceHitRate(category, kind));
}

}  // namespace

void scoreFoundOnHoldout(const HistoryColumns& history, int holdoutPeriods, Kind kind,
                    const std::vector<FoundCandidate>& candidates, std::vector<FoundFormula>& found)
{
    for (size_t i = 0; i < found.size() && i < candidates.size(); ++i)
        found[i].holdout = scoreOnHoldout(history, holdoutPeriods, found[i].category, kind, candidates[i].candidate);
}

void judgeOnHoldout(std::vector<FoundFormula>& found)
{
    std::vector<HoldoutResult> results;
    for (const FoundFormula& f : found)
        results.push_back(f.holdout.value_or(HoldoutResult{}));
    judgeHoldout(results);
    for (size_t i = 0; i < found.size(); ++i)
        found[i].holdout = results[i];
}

SearchOutcome runSearch(const HistoryColumns& history, const SearchRequest& request, RunControl& control,
                        const std::function<void(const SearchProgress&)>& report, std::chrono::milliseconds interval,
                        FoundFeed* feed)
{
    const RunHistories histories =
        runHistories(history, request.window, request.holdoutPeriods, request.shuffledControl, request.seed);
    const CandidateEvaluator evaluator(histories.screened, request.shape.category, request.window);
    const std::vector<CandidateEvaluator> controls = histories.controlEvaluators(request.shape.category, request.window);
    const CandidateGenerator generator(request.shape, request.seed);
    const CandidateSearch search(evaluator, generator, request.thresholds, pointersTo(controls));

    CandidateSearchLimits limits;
    if (request.stopCount)
        limits.target = *request.stopCount - request.alreadyFound;
    limits.maxCandidates = request.maxCandidates;

    control.startClock();
    SearchOutcome outcome;
    outcome.threads = searchThreadCount(request.threads);
    ProgressRelay toReport;
    if (report)
        toReport = [&](std::uint64_t verified, long long found, std::uint64_t controlPasses, const BestRates& best,
                       const LatestCandidate& latest) {
            report(SearchProgress{verified, found, latest.text, latest.code, latest.stats, controlPasses, best});
        };
    const CandidateSearchReport relay = relayProgress(generator, evaluator, request.shape.kind, feed, std::move(toReport));
    const CandidateSearchOutcome result = search.run(limits, outcome.threads, control, relay, interval);
    outcome.seconds = control.activeSeconds();
    outcome.verified = result.verified;
    outcome.found = describeFound(generator, result.found);
    outcome.targetReached = result.targetReached;
    outcome.limitReached = result.limitReached;
    outcome.stopped = result.stopped;
    outcome.best = result.best;
    if (!controls.empty())
        outcome.control = compareWithShuffled(result.verified, result.found.size(), result.controlPassesByCopy);
    if (request.holdoutPeriods > 0) {
        outcome.holdoutPeriods = request.holdoutPeriods;
        scoreFoundOnHoldout(history, request.holdoutPeriods, request.shape.kind, result.found, outcome.found);
        judgeOnHoldout(outcome.found);
    }
    return outcome;
}

}  // namespace qeltaro
