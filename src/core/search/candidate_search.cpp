#include "search/candidate_search.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <limits>
#include <map>
#include <mutex>
#include <thread>

namespace qeltaro {
namespace {

// What one block of candidates yielded.
struct BlockResult {
    std::vector<FoundCandidate> found;
    std::vector<std::uint64_t> controlPasses;  // ordinals that passed on the control history
    RateRecords realRates;
    RateRecords controlRates;
};

// The state the workers share: finished blocks waiting for their predecessors, and the prefix
// committed so far. Every member function but the constructor expects the mutex held.
struct SharedProgress {
    SharedProgress(const CandidateSearchLimits& limits, std::uint64_t copies)
        : target(limits.target),
          end(limits.maxCandidates.value_or(std::numeric_limits<std::uint64_t>::max())),
          copies(copies)
    {
        outcome.controlPassesByCopy.assign(size_t(copies), 0);
    }

    // Adds a finished block, then every waiting block that now follows the prefix.
    void commit(std::uint64_t block, BlockResult&& result)
    {
        waiting.emplace(block, std::move(result));
        for (auto it = waiting.find(committedBlocks); it != waiting.end() && !finished.load();
             it = waiting.find(committedBlocks)) {
            countBeside(it->second, takeFound(it->second));
            if (finished.load())
                break;
            waiting.erase(it);
            ++committedBlocks;
            outcome.verified = std::min(end, committedBlocks * CandidateSearch::kBlock);
            if (outcome.verified >= end) {
                outcome.limitReached = true;
                finished.store(true);
            }
        }
    }

    // What was found since the last call.
    std::vector<FoundCandidate> newlyFound()
    {
        std::vector<FoundCandidate> fresh(outcome.found.begin() + std::ptrdiff_t(reportedFound), outcome.found.end());
        reportedFound = outcome.found.size();
        return fresh;
    }

    std::mutex mutex;
    std::condition_variable changed;
    CandidateSearchOutcome outcome;
    int workersRunning = 0;
    std::atomic<bool> finished{false};
    const std::optional<long long> target;
    const std::uint64_t end;  // candidates to evaluate at most

private:
    // The block's found candidates join the outcome, up to the one that meets the target; returns
    // the ordinal the block's other counts stop before.
    std::uint64_t takeFound(const BlockResult& result)
    {
        for (const FoundCandidate& f : result.found) {
            outcome.found.push_back(f);
            if (target && (long long)outcome.found.size() >= *target) {
                outcome.verified = f.ordinal + 1;
                outcome.targetReached = true;
                finished.store(true);
                return outcome.verified;
            }
        }
        return std::numeric_limits<std::uint64_t>::max();
    }

    // Control passes and best rates count over the same candidates as the real passes.
    void countBeside(const BlockResult& result, std::uint64_t cut)
    {
        for (std::uint64_t ordinal : result.controlPasses) {
            if (ordinal < cut) {
                ++outcome.controlPasses;
                ++outcome.controlPassesByCopy[size_t(ordinal % copies)];
            }
        }
        raiseBest(outcome.best.real, result.realRates, cut);
        raiseBest(outcome.best.shuffled, result.controlRates, cut);
    }

    const std::uint64_t copies;
    std::map<std::uint64_t, BlockResult> waiting;  // by block number
    std::uint64_t committedBlocks = 0;
    size_t reportedFound = 0;
};

// One worker's screening: each candidate on the real history, and on its control copy if any.
class BlockScreener {
public:
    BlockScreener(const CandidateEvaluator& evaluator, const CandidateGenerator& generator, const ScreeningBounds& bounds,
                  const std::vector<const CandidateEvaluator*>& controls)
        : evaluator_(evaluator), generator_(generator), bounds_(bounds), controls_(controls),
          kind_(generator.shape().kind), scratch_(evaluator.makeScratch()),
          controlScratch_(controls.empty() ? EvaluationScratch{} : controls.front()->makeScratch())
    {
    }

    // Candidates [begin, end) into `result`; false when told to stop midway.
    bool screen(std::uint64_t begin, std::uint64_t end, RunControl& control, const std::atomic<bool>& finished,
                BlockResult& result)
    {
        const std::uint64_t copies = controls_.size();
        for (std::uint64_t ordinal = begin; ordinal < end; ++ordinal) {
            if ((ordinal & 255) == 0 && (!control.proceed() || finished.load()))
                return false;
            const Candidate candidate = generator_.candidate(ordinal);
            // The rate comes first in a screening, so it is known whether the candidate passes or not.
            if (evaluator_.screen(candidate, kind_, bounds_, scratch_, stats_))
                result.found.push_back({ordinal, candidate, stats_});
            noteRate(result.realRates, ordinal, stats_.rate);
            if (copies) {
                if (controls_[size_t(ordinal % copies)]->screen(candidate, kind_, bounds_, controlScratch_, controlStats_))
                    result.controlPasses.push_back(ordinal);
                noteRate(result.controlRates, ordinal, controlStats_.rate);
            }
        }
        return true;
    }

private:
    const CandidateEvaluator& evaluator_;
    const CandidateGenerator& generator_;
    const ScreeningBounds& bounds_;
    const std::vector<const CandidateEvaluator*>& controls_;
    const Kind kind_;
    EvaluationScratch scratch_;
    EvaluationScratch controlScratch_;
    CandidateStatistics stats_;
    CandidateStatistics controlStats_;
};

// Reports about every `interval` until the last worker is done.
void reportWhileRunning(SharedProgress& shared, const CandidateSearchReport& report, std::chrono::milliseconds interval)
{
    std::unique_lock lock(shared.mutex);
    auto nextReport = std::chrono::steady_clock::now() + interval;
    while (shared.workersRunning > 0) {
        shared.changed.wait_until(lock, nextReport);
        if (std::chrono::steady_clock::now() < nextReport)
            continue;
        nextReport = std::chrono::steady_clock::now() + interval;
        if (report) {
            const CandidateSearchOutcome& out = shared.outcome;
            const std::uint64_t verified = out.verified;
            const long long found = (long long)out.found.size();
            const std::uint64_t controlPasses = out.controlPasses;
            const BestRates best = out.best;
            const std::vector<FoundCandidate> fresh = shared.newlyFound();
            lock.unlock();
            report(verified, found, controlPasses, best, fresh);
            lock.lock();
        }
    }
}

}  // namespace

CandidateSearch::CandidateSearch(const CandidateEvaluator& evaluator, const CandidateGenerator& generator,
                                 const SearchThresholds& thresholds, std::vector<const CandidateEvaluator*> controls)
    : evaluator_(evaluator), generator_(generator), bounds_(thresholds), controls_(std::move(controls))
{
}

int searchThreadCount(int requested)
{
    if (requested > 0)
        return requested;
    return std::max(1, int(std::thread::hardware_concurrency()));
}

CandidateSearchOutcome CandidateSearch::run(const CandidateSearchLimits& limitsIn, int threads, RunControl& control,
                                            const CandidateSearchReport& report,
                                            std::chrono::milliseconds interval) const
{
    CandidateSearchLimits limits = limitsIn;
    // A target already met still evaluates one candidate, as a search step always does.
    if (limits.target && *limits.target <= 0) {
        limits.maxCandidates = std::min<std::uint64_t>(limits.maxCandidates.value_or(1), 1);
        limits.target.reset();
    }
    SharedProgress shared(limits, controls_.size());
    if (shared.end == 0) {
        shared.outcome.limitReached = true;
        return std::move(shared.outcome);
    }
    std::atomic<std::uint64_t> nextBlock{0};
    auto work = [&] {
        BlockScreener screener(evaluator_, generator_, bounds_, controls_);
        for (;;) {
            const std::uint64_t begin = nextBlock.fetch_add(1) * kBlock;
            if (begin >= shared.end || shared.finished.load())
                break;
            BlockResult result;
            if (!screener.screen(begin, std::min(shared.end, begin + kBlock), control, shared.finished, result))
                break;
            std::lock_guard lock(shared.mutex);
            shared.commit(begin / kBlock, std::move(result));
        }
        std::lock_guard lock(shared.mutex);
        --shared.workersRunning;
        shared.changed.notify_all();
    };

    threads = std::max(1, threads);
    shared.workersRunning = threads;  // before any worker starts, so no lock yet
    std::vector<std::thread> workers;
    for (int i = 0; i < threads; ++i)
        workers.emplace_back(work);
    reportWhileRunning(shared, report, interval);
    for (std::thread& worker : workers)
        worker.join();
    const CandidateSearchOutcome& out = shared.outcome;
    if (report)
        report(out.verified, (long long)out.found.size(), out.controlPasses, out.best, shared.newlyFound());

    CandidateSearchOutcome outcome = std::move(shared.outcome);
    outcome.stopped = !outcome.targetReached && !outcome.limitReached && control.stopRequested();
    return outcome;
}

}  // namespace qeltaro
