#include "search/search_run.h"

namespace qeltaro {

std::vector<FoundFormula> describeFound(const CandidateGenerator& generator, const std::vector<FoundCandidate>& found)
{
    std::vector<FoundFormula> out;
    out.reserve(found.size());
    for (const FoundCandidate& f : found) {
        out.push_back({generator.codeText(f.candidate), generator.chineseText(f.candidate),
                       generator.shape().category, f.stats, f.ordinal});
    }
    return out;
}

SearchOutcome runSearch(const HistoryColumns& history, const SearchRequest& request, RunControl& control,
                        const std::function<void(const SearchProgress&)>& report, std::chrono::milliseconds interval,
                        FoundFeed* feed)
{
    const CandidateEvaluator evaluator(history, request.shape.category, request.window);
    const CandidateGenerator generator(request.shape, request.seed);
    const CandidateSearch search(evaluator, generator, request.thresholds);

    CandidateSearchLimits limits;
    if (request.stopCount)
        limits.target = *request.stopCount - request.alreadyFound;
    limits.maxCandidates = request.maxCandidates;

    control.startClock();
    SearchOutcome outcome;
    outcome.threads = searchThreadCount(request.threads);
    CandidateSearchReport relay;
    EvaluationScratch scratch = evaluator.makeScratch();
    if (report) {
        relay = [&](std::uint64_t verified, long long found, const std::vector<FoundCandidate>& newlyFound) {
            if (feed)
                feed->append(describeFound(generator, newlyFound));
            SearchProgress progress{verified, found, {}, {}, {}};
            if (verified > 0) {
                const Candidate latest = generator.candidate(verified - 1);
                progress.currentText = generator.chineseText(latest);
                progress.currentCode = generator.codeText(latest);
                progress.currentStats = evaluator.evaluate(latest, request.shape.kill, scratch);
            }
            report(progress);
        };
    }
    const CandidateSearchOutcome result = search.run(limits, outcome.threads, control, relay, interval);
    outcome.seconds = control.activeSeconds();
    outcome.verified = result.verified;
    outcome.found = describeFound(generator, result.found);
    outcome.targetReached = result.targetReached;
    outcome.limitReached = result.limitReached;
    outcome.stopped = result.stopped;
    return outcome;
}

void SearchRun::start()
{
    startWork([history = history_, request = request_, interval = interval(), feed = feed_](
                  RunControl& control, const ProgressHandler& report) {
        return runSearch(*history, request, control, report, interval, feed.get());
    });
}

}  // namespace qeltaro
