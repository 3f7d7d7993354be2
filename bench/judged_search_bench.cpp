// How long judging the search takes on the sample history:
//   (a) the whole method walked forward: the newest P periods (200), each searched with N
//       candidates (100,000) for 一星直选 kill (built-in thresholds, 8 operands, random constant,
//       window 300 weighted) and then calculated by the best-formula method; the time in all,
//       the candidates per second of its searches, and a plain search's rate beside it;
//   (b) the reality check of a search of M candidates (200,000) of 三星直选 kill on B shuffled
//       copies (19): its time against the search's own.
// Both with T threads (default: one per core).
//
//   judged_search_bench [--periods P] [--candidates N] [--check-candidates M] [--copies B] [--threads T]

#include "sample_history.h"

#include "method/searched_walk_forward.h"
#include "search/reality_check.h"
#include "search/scheme_settings.h"
#include "search/search_run.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

using namespace qeltaro;
using Clock = std::chrono::steady_clock;

namespace {

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv)
{
    int periods = 200, copies = kDefaultRealityCopies, threads = 0;
    std::uint64_t candidates = 100000, checkCandidates = 200000;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        const long long value = std::atoll(argv[i + 1]);
        if (name == "--periods")
            periods = int(value);
        else if (name == "--candidates")
            candidates = std::uint64_t(value);
        else if (name == "--check-candidates")
            checkCandidates = std::uint64_t(value);
        else if (name == "--copies")
            copies = int(value);
        else if (name == "--threads")
            threads = int(value);
    }
    const HistoryColumns history(bench::sampleRecords());
    threads = searchThreadCount(threads);
    std::printf("sample history: %d draws; %d thread%s\n\n", history.rowCount(), threads, threads == 1 ? "" : "s");

    // (a) The method walked forward.
    SearchedWalkPlan plan;
    SearchedWalkRequest& walk = plan.request;
    walk.walk.category = {1, false};
    walk.walk.kind = Kind::Kill;
    walk.walk.periods = periods;
    walk.walk.method = CalculationMethod::Best;
    walk.walk.window = {300, false, true};
    walk.walk.threads = threads;
    walk.candidates = candidates;
    walk.seed = 20261209;
    walk.constant = TailConstant::randomDigit();
    walk.thresholds[0] = defaultThresholds(Kind::Kill, 1);
    walk.operandCounts[0] = kDefaultOperandCount;
    auto start = Clock::now();
    const auto walked = walkForwardWithSearch(plan, history, nullptr);
    const double walkSeconds = secondsSince(start);
    if (!walked) {
        std::fprintf(stderr, "%s\n", qPrintable(walked.error().message));
        return 1;
    }
    long long found = 0;
    for (const WalkForwardPeriod& p : walked->periods)
        found += p.found.value_or(0);
    const double screened = double(periods) * double(candidates);

    SearchRequest plain;
    plain.shape = {{1, false}, Kind::Kill, kDefaultOperandCount, TailConstant::randomDigit(), FormulaForm::Prefix};
    plain.thresholds = defaultThresholds(Kind::Kill, 1);
    plain.window = {300, true};
    plain.maxCandidates = screened / 10;
    plain.seed = 7;
    plain.threads = threads;
    plain.shuffledControl = false;
    RunControl plainControl;
    const SearchOutcome plainOutcome = runSearch(history, plain, plainControl);
    std::printf("(a) walk with a search per period: %d periods x %llu candidates, 一星直选 kill, window 300 weighted\n",
                periods, (unsigned long long)candidates);
    std::printf("    %.1f s in all (target under 60 s: %s); %.0f candidates/s through the walk; %lld formulas found, "
                "%d periods without a prediction; %d of %d slots kept the drawn digit (expected %.1f, p %.3g)\n",
                walkSeconds, walkSeconds < 60 ? "met" : "NOT MET", screened / walkSeconds, found, walked->noPrediction,
                walked->summary.successes, walked->summary.tested, walked->summary.expected, walked->summary.pValue);
    std::printf("    a plain search of %llu candidates on the whole sample: %.0f candidates/s (walk/plain %.2f)\n\n",
                (unsigned long long)plainOutcome.verified, plainOutcome.candidatesPerSecond(),
                (screened / walkSeconds) / plainOutcome.candidatesPerSecond());

    // (b) The reality check.
    SearchRequest request;
    request.shape = {{3, false}, Kind::Kill, kDefaultOperandCount, TailConstant::randomDigit(), FormulaForm::Prefix};
    request.thresholds = defaultThresholds(Kind::Kill, 3);
    request.window = {300, true};
    request.maxCandidates = checkCandidates;
    request.seed = 11;
    request.threads = threads;
    RunControl control;
    start = Clock::now();
    const SearchOutcome outcome = runSearch(history, request, control);
    const double searchSeconds = secondsSince(start);
    start = Clock::now();
    const auto checked = runRealityCheck(history, realityCheckOf(request, outcome, copies));
    const double checkSeconds = secondsSince(start);
    if (!checked) {
        std::fprintf(stderr, "%s\n", qPrintable(checked.error().message));
        return 1;
    }
    std::printf("(b) reality check of a 三星直选 kill search of %llu candidates (with its shuffled control): %d copies\n",
                (unsigned long long)checkCandidates, copies);
    std::printf("    search %.2f s, check %.2f s (%.1f times the search, %.0f candidates/s); best %.4f%%, "
                "%d of %d copies at least as good, p %.3g\n",
                searchSeconds, checkSeconds, checkSeconds / searchSeconds,
                double(checkCandidates) * copies / checkSeconds, double(checked->front().realBest),
                checked->front().atLeastAsGood, copies, checked->front().pValue);
    return 0;
}
