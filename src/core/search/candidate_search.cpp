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
// committed so far.
struct SharedProgress {
    std::mutex mutex;
    std::condition_variable changed;
    std::map<std::uint64_t, BlockResult> waiting;  // by block number
    std::uint64_t committedBlocks = 0;
    CandidateSearchOutcome outcome;
    int workersRunning = 0;
    std::atomic<bool> finished{false};
};

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
    const std::uint64_t end = limits.maxCandidates.value_or(std::numeric_limits<std::uint64_t>::max());
    SharedProgress shared;
    if (end == 0) {
        shared.outcome.limitReached = true;
        return shared.outcome;
    }
    std::atomic<std::uint64_t> nextBlock{0};
    const Kind kind = generator_.shape().kind;
    const std::uint64_t copies = controls_.size();
    shared.outcome.controlPassesByCopy.assign(controls_.size(), 0);

    // Adds finished blocks to the prefix while they follow it; caller holds the mutex.
    auto commit = [&](std::uint64_t block, BlockResult&& result) {
        shared.waiting.emplace(block, std::move(result));
        CandidateSearchOutcome& out = shared.outcome;
        for (auto it = shared.waiting.find(shared.committedBlocks);
             it != shared.waiting.end() && !shared.finished.load();
             it = shared.waiting.find(shared.committedBlocks)) {
            for (FoundCandidate& f : it->second.found) {
                out.found.push_back(f);
                if (limits.target && (long long)out.found.size() >= *limits.target) {
                    out.verified = f.ordinal + 1;
                    out.targetReached = true;
                    shared.finished.store(true);
                    break;
                }
            }
            // Control passes and best rates count over the same candidates as the real passes:
            // up to the one that met the target when the block was cut short.
            const std::uint64_t cut = out.targetReached ? out.verified : std::numeric_limits<std::uint64_t>::max();
            for (std::uint64_t ordinal : it->second.controlPasses) {
                if (ordinal < cut) {
                    ++out.controlPasses;
                    ++out.controlPassesByCopy[size_t(ordinal % copies)];
                }
            }
            raiseBest(out.best.real, it->second.realRates, cut);
            raiseBest(out.best.shuffled, it->second.controlRates, cut);
            if (shared.finished.load())
                break;
            shared.waiting.erase(it);
            ++shared.committedBlocks;
            out.verified = std::min(end, shared.committedBlocks * kBlock);
            if (out.verified >= end) {
                out.limitReached = true;
                shared.finished.store(true);
            }
        }
    };

    auto work = [&] {
        EvaluationScratch scratch = evaluator_.makeScratch();
        EvaluationScratch controlScratch = copies ? controls_.front()->makeScratch() : EvaluationScratch{};
        CandidateStatistics stats;
        CandidateStatistics controlStats;
        for (;;) {
            const std::uint64_t block = nextBlock.fetch_add(1);
            const std::uint64_t begin = block * kBlock;
            if (begin >= end || shared.finished.load())
                break;
            const std::uint64_t blockEnd = std::min(end, begin + kBlock);
            BlockResult result;
            bool complete = true;
            for (std::uint64_t ordinal = begin; ordinal < blockEnd; ++ordinal) {
                if ((ordinal & 255) == 0 && (!control.proceed() || shared.finished.load())) {
                    complete = false;
                    break;
                }
                const Candidate candidate = generator_.candidate(ordinal);
                // The rate comes first in a screening, so it is known whether the candidate passes or not.
                if (evaluator_.screen(candidate, kind, bounds_, scratch, stats))
                    result.found.push_back({ordinal, candidate, stats});
                noteRate(result.realRates, ordinal, stats.rate);
                if (copies) {
                    if (controls_[size_t(ordinal % copies)]->screen(candidate, kind, bounds_, controlScratch, controlStats))
                        result.controlPasses.push_back(ordinal);
                    noteRate(result.controlRates, ordinal, controlStats.rate);
                }
            }
            if (!complete)
                break;
            std::lock_guard lock(shared.mutex);
            commit(block, std::move(result));
        }
        std::lock_guard lock(shared.mutex);
        --shared.workersRunning;
        shared.changed.notify_all();
    };

    threads = std::max(1, threads);
    std::vector<std::thread> workers;
    {
        std::lock_guard lock(shared.mutex);
        shared.workersRunning = threads;
    }
    for (int i = 0; i < threads; ++i)
        workers.emplace_back(work);

    // The found list only grows while the workers run; copies of its new part go to the report.
    size_t reportedFound = 0;
    auto newlyFound = [&] {
        const std::vector<FoundCandidate>& found = shared.outcome.found;
        std::vector<FoundCandidate> fresh(found.begin() + std::ptrdiff_t(reportedFound), found.end());
        reportedFound = found.size();
        return fresh;
    };
    {
        std::unique_lock lock(shared.mutex);
        auto nextReport = std::chrono::steady_clock::now() + interval;
        while (shared.workersRunning > 0) {
            shared.changed.wait_until(lock, nextReport);
            if (std::chrono::steady_clock::now() < nextReport)
                continue;
            nextReport = std::chrono::steady_clock::now() + interval;
            if (report) {
                const std::uint64_t verified = shared.outcome.verified;
                const long long found = (long long)shared.outcome.found.size();
                const std::uint64_t controlPasses = shared.outcome.controlPasses;
                const BestRates best = shared.outcome.best;
                const std::vector<FoundCandidate> fresh = newlyFound();
                lock.unlock();
                report(verified, found, controlPasses, best, fresh);
                lock.lock();
            }
        }
    }
    for (std::thread& worker : workers)
        worker.join();
    if (report)
        report(shared.outcome.verified, (long long)shared.outcome.found.size(), shared.outcome.controlPasses,
               shared.outcome.best, newlyFound());

    CandidateSearchOutcome outcome = std::move(shared.outcome);
    outcome.stopped = !outcome.targetReached && !outcome.limitReached && control.stopRequested();
    return outcome;
}

}  // namespace qeltaro
