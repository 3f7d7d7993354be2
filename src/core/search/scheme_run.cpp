#include "search/scheme_run.h"

#include "domain/random_stream.h"
#include "search/candidate_search.h"
#include "search/search_category.h"
#include "search/search_run.h"

namespace qeltaro {

std::uint64_t SchemeOutcome::verified() const
{
    std::uint64_t total = 0;
    for (const SchemeCategoryOutcome& c : visited)
        total += c.verified;
    return total;
}

std::uint64_t schemeCategorySeed(std::uint64_t seed, int searchNumber)
{
    return deriveSeed(seed, std::uint64_t(searchNumber));
}

SchemeOutcome runScheme(const HistoryColumns& history, const SchemeRequest& request, RunControl& control,
                        const std::function<void(const SchemeProgress&)>& report, std::chrono::milliseconds interval,
                        FoundFeed* feed)
{
    control.startClock();
    SchemeOutcome outcome;
    outcome.threads = searchThreadCount(request.threads);
    std::uint64_t verifiedBefore = 0;
    std::uint64_t controlPassesBefore = 0;
    const RunHistories histories =
        runHistories(history, request.window, request.holdoutPeriods, request.shuffledControl, request.seed);
    std::vector<std::uint64_t> passesByCopy(histories.controls.size(), 0);
    std::vector<std::uint64_t> verifiedByCopy(histories.controls.size(), 0);

    for (int number : schemeOrder()) {
        if (request.stopAfter == 0)
            break;
        if (control.stopRequested()) {
            outcome.stopped = true;
            break;
        }
        const size_t i = size_t(number - 1);
        SchemeCategoryOutcome visit;
        visit.number = number;
        visit.target = schemeTarget(request.wanted, request.held, request.mode, number);
        visit.thresholds = request.thresholds[i];
        visit.operandCount = request.operandCounts[i];
        if (report)
            report({number, verifiedBefore, (long long)outcome.found.size(), 0, {}, {}, controlPassesBefore, {}});
        if (visit.target) {
            const Category category = *categoryOfSearchNumber(number);
            const CandidateShape shape{category, request.kind, visit.operandCount, request.constant, request.form};
            const CandidateEvaluator evaluator(histories.screened, category, request.window);
            const std::vector<CandidateEvaluator> controls = histories.controlEvaluators(category, request.window);
            const CandidateGenerator generator(shape, schemeCategorySeed(request.seed, number));
            const CandidateSearch search(evaluator, generator, visit.thresholds, pointersTo(controls));
            CandidateSearchLimits limits;
            limits.target = *visit.target;
            limits.maxCandidates = request.maxCandidatesPerCategory;
            if (const auto replay = request.replayCandidates.find(number); replay != request.replayCandidates.end())
                limits.maxCandidates = replay->second;
            ProgressRelay toReport;
            if (report)
                toReport = [&](std::uint64_t verified, long long found, std::uint64_t controlPasses,
                               const BestRates& best, const LatestCandidate& latest) {
                    report(SchemeProgress{number, verifiedBefore + verified, (long long)outcome.found.size() + found,
                                          found, latest.text, latest.stats, controlPassesBefore + controlPasses, best});
                };
            const CandidateSearchReport relay = relayProgress(generator, evaluator, request.kind, feed, std::move(toReport));
            const CandidateSearchOutcome result = search.run(limits, outcome.threads, control, relay, interval);
            visit.verified = result.verified;
            visit.found = (long long)result.found.size();
            visit.end = result.targetReached ? SchemeCategoryEnd::TargetReached
                        : result.limitReached ? SchemeCategoryEnd::LimitReached
                                              : SchemeCategoryEnd::Stopped;
            visit.controlPasses = result.controlPasses;
            visit.best = result.best;
            verifiedBefore += result.verified;
            controlPassesBefore += result.controlPasses;
            for (size_t copy = 0; copy < result.controlPassesByCopy.size(); ++copy)
                passesByCopy[copy] += result.controlPassesByCopy[copy];
            // Candidate k of a category went to copy k mod copies: count each copy's share.
            for (size_t copy = 0; copy < verifiedByCopy.size(); ++copy)
                verifiedByCopy[copy] += copyShare(result.verified, copy, verifiedByCopy.size());
            std::vector<FoundFormula> found = describeFound(generator, result.found);
            if (request.holdoutPeriods > 0)
                scoreFoundOnHoldout(history, request.holdoutPeriods, request.kind, result.found, found);
            outcome.found.insert(outcome.found.end(), found.begin(), found.end());
        }
        outcome.visited.push_back(visit);
        if (visit.end == SchemeCategoryEnd::Stopped) {
            outcome.stopped = true;
            break;
        }
        if (request.stopAfter && number == *request.stopAfter)
            break;
    }
    outcome.completed = !outcome.stopped && outcome.visited.size() == schemeOrder().size();
    if (!histories.controls.empty())
        outcome.control = compareWithShuffled(outcome.found.size(), verifiedByCopy, passesByCopy);
    if (request.holdoutPeriods > 0) {
        // One list over all categories, so the correction counts every formula found.
        outcome.holdoutPeriods = request.holdoutPeriods;
        judgeOnHoldout(outcome.found);
    }
    outcome.seconds = control.activeSeconds();
    return outcome;
}

}  // namespace qeltaro
