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

namespace {

using SchemeReport = std::function<void(const SchemeProgress&)>;

// The categories of one scheme run searched in turn, their counts added up as they finish.
class SchemeWalk {
public:
    SchemeWalk(const HistoryColumns& history, const SchemeRequest& request, RunControl& control,
              const SchemeReport& report, std::chrono::milliseconds interval, FoundFeed* feed)
        : history_(history), request_(request), control_(control), report_(report), interval_(interval), feed_(feed),
          histories_(runHistories(history, request.window, request.holdoutPeriods, request.shuffledControl,
                                  request.seed)),
          passesByCopy_(histories_.controls.size(), 0), verifiedByCopy_(histories_.controls.size(), 0)
    {
        outcome_.threads = searchThreadCount(request.threads);
    }

    SchemeOutcome run()
    {
        for (int number : schemeOrder()) {
            if (request_.stopAfter == 0)
                break;
            if (control_.stopRequested()) {
                outcome_.stopped = true;
                break;
            }
            const size_t i = size_t(number - 1);
            SchemeCategoryOutcome visit;
            visit.number = number;
            visit.target = schemeTarget(request_.wanted, request_.held, request_.mode, number);
            visit.thresholds = request_.thresholds[i];
            visit.operandCount = request_.operandCounts[i];
            if (report_)
                report_({number, verifiedBefore_, (long long)outcome_.found.size(), 0, {}, {}, controlPassesBefore_, {}});
            if (visit.target)
                searchCategory(visit);
            outcome_.visited.push_back(visit);
            if (visit.end == SchemeCategoryEnd::Stopped) {
                outcome_.stopped = true;
                break;
            }
            if (request_.stopAfter && number == *request_.stopAfter)
                break;
        }
        outcome_.completed = !outcome_.stopped && outcome_.visited.size() == schemeOrder().size();
        if (!histories_.controls.empty())
            outcome_.control = compareWithShuffled(outcome_.found.size(), verifiedByCopy_, passesByCopy_);
        if (request_.holdoutPeriods > 0) {
            // One list over all categories, so the correction counts every formula found.
            outcome_.holdoutPeriods = request_.holdoutPeriods;
            judgeOnHoldout(outcome_.found);
        }
        outcome_.seconds = control_.activeSeconds();
        return std::move(outcome_);
    }

private:
    // Searches the visit's category up to its target and adds what it found.
    void searchCategory(SchemeCategoryOutcome& visit)
    {
        const int number = visit.number;
        const Category category = *categoryOfSearchNumber(number);
        const CandidateShape shape{category, request_.kind, visit.operandCount, request_.constant, request_.form};
        const CandidateEvaluator evaluator(histories_.screened, category, request_.window);
        const std::vector<CandidateEvaluator> controls = histories_.controlEvaluators(category, request_.window);
        const CandidateGenerator generator(shape, schemeCategorySeed(request_.seed, number));
        const CandidateSearch search(evaluator, generator, visit.thresholds, pointersTo(controls));
        CandidateSearchLimits limits;
        limits.target = *visit.target;
        limits.maxCandidates = request_.maxCandidatesPerCategory;
        if (const auto replay = request_.replayCandidates.find(number); replay != request_.replayCandidates.end())
            limits.maxCandidates = replay->second;
        ProgressRelay toReport;
        if (report_)
            toReport = [&](std::uint64_t verified, long long found, std::uint64_t controlPasses, const BestRates& best,
                           const LatestCandidate& latest) {
                report_(SchemeProgress{number, verifiedBefore_ + verified, (long long)outcome_.found.size() + found,
                                       found, latest.text, latest.stats, controlPassesBefore_ + controlPasses, best});
            };
        const CandidateSearchReport relay =
            relayProgress(generator, evaluator, request_.kind, feed_, std::move(toReport));
        const CandidateSearchOutcome result = search.run(limits, outcome_.threads, control_, relay, interval_);
        visit.verified = result.verified;
        visit.found = (long long)result.found.size();
        visit.end = result.targetReached  ? SchemeCategoryEnd::TargetReached
                    : result.limitReached ? SchemeCategoryEnd::LimitReached
                                          : SchemeCategoryEnd::Stopped;
        visit.controlPasses = result.controlPasses;
        visit.best = result.best;
        tally(result);
        std::vector<FoundFormula> found = describeFound(generator, result.found);
        if (request_.holdoutPeriods > 0)
            scoreFoundOnHoldout(history_, request_.holdoutPeriods, request_.kind, result.found, found);
        outcome_.found.insert(outcome_.found.end(), found.begin(), found.end());
    }

    void tally(const CandidateSearchOutcome& result)
    {
        verifiedBefore_ += result.verified;
        controlPassesBefore_ += result.controlPasses;
        for (size_t copy = 0; copy < result.controlPassesByCopy.size(); ++copy)
            passesByCopy_[copy] += result.controlPassesByCopy[copy];
        // Candidate k of a category went to copy k mod copies: count each copy's share.
        for (size_t copy = 0; copy < verifiedByCopy_.size(); ++copy)
            verifiedByCopy_[copy] += copyShare(result.verified, copy, verifiedByCopy_.size());
    }

    const HistoryColumns& history_;
    const SchemeRequest& request_;
    RunControl& control_;
    const SchemeReport& report_;
    const std::chrono::milliseconds interval_;
    FoundFeed* const feed_;
    const RunHistories histories_;
    SchemeOutcome outcome_;
    std::uint64_t verifiedBefore_ = 0;
    std::uint64_t controlPassesBefore_ = 0;
    std::vector<std::uint64_t> passesByCopy_;
    std::vector<std::uint64_t> verifiedByCopy_;
};

}  // namespace

SchemeOutcome runScheme(const HistoryColumns& history, const SchemeRequest& request, RunControl& control,
                        const SchemeReport& report, std::chrono::milliseconds interval, FoundFeed* feed)
{
    control.startClock();
    return SchemeWalk(history, request, control, report, interval, feed).run();
}

}  // namespace qeltaro
