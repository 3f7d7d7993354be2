// What the checks beside a search say about the sample history: for each category with its
// built-in kill thresholds, the candidates verified, the pass rates on the real and on the
// shuffled history, and how many found formulas beat chance on the newest 120 periods held out
// of the search. Also what the shuffled control costs: one category with and without it.
//
//   search_checks_report [--candidates N] [--holdout K] [--threads T]

#include "sample_history.h"

#include "search/scheme_settings.h"
#include "search/search_category.h"
#include "search/search_run.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

using namespace qeltaro;

int main(int argc, char** argv)
{
    std::uint64_t candidates = 200000;
    int holdout = 120;
    int threads = 0;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--candidates"))
            candidates = std::strtoull(argv[i + 1], nullptr, 10);
        else if (!std::strcmp(argv[i], "--holdout"))
            holdout = std::atoi(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--threads"))
            threads = std::atoi(argv[i + 1]);
    }
    const HistoryColumns history(bench::sampleRecords());
    std::printf("sample history: %d draws, %s..%s; %llu candidates per category, 8 operands, random constant, "
                "window 300 weighted, newest %d periods held out\n\n",
                history.rowCount(), qPrintable(history.period(0)), qPrintable(history.period(history.rowCount() - 1)),
                (unsigned long long)candidates, holdout);
    std::printf("%-10s %10s %10s %14s %14s %10s %8s %18s\n", "category", "verified", "passed", "real rate",
                "shuffled rate", "p", "verdict", "beat chance (held)");
    for (int number : schemeOrder()) {
        SearchRequest request;
        request.shape = {*categoryOfSearchNumber(number), Kind::Kill, kDefaultOperandCount, TailConstant::randomDigit(),
                         FormulaForm::Prefix};
        request.thresholds = defaultThresholds(Kind::Kill, number);
        request.window = {300, true};
        request.maxCandidates = candidates;
        request.seed = 20261208 + std::uint64_t(number);
        request.threads = threads;
        request.holdoutPeriods = holdout;
        RunControl control;
        const SearchOutcome outcome = runSearch(history, request, control);
        const ShuffledControl& c = *outcome.control;
        const auto beating = std::count_if(outcome.found.begin(), outcome.found.end(),
                                           [](const FoundFormula& f) { return f.holdout && f.holdout->beatsChance; });
        std::printf("%-10s %10llu %10llu %13.4f%% %13.4f%% %10.3g %8s %11lld of %lld\n",
                    qPrintable(request.shape.category.suffix() + QStringLiteral(" kill")),
                    (unsigned long long)c.verified, (unsigned long long)c.realPasses, c.realRate() * 100,
                    c.shuffledRate() * 100, c.pValue, c.informative() ? "differs" : "alike", (long long)beating,
                    (long long)outcome.found.size());
    }

    // The control's cost: the same run with and without it.
    SearchRequest request;
    request.shape = {{3, false}, Kind::Kill, kDefaultOperandCount, TailConstant::randomDigit(), FormulaForm::Prefix};
    request.thresholds = defaultThresholds(Kind::Kill, 3);
    request.window = {300, true};
    request.maxCandidates = candidates;
    request.seed = 7;
    request.threads = threads;
    double seconds[2];
    for (int withControl = 0; withControl < 2; ++withControl) {
        request.shuffledControl = withControl == 1;
        RunControl control;
        seconds[withControl] = runSearch(history, request, control).seconds;
    }
    std::printf("\n3D kill, %llu candidates: %.0f/s without the control, %.0f/s with it (%.2fx the time)\n",
                (unsigned long long)candidates, double(candidates) / seconds[0], double(candidates) / seconds[1],
                seconds[1] / seconds[0]);
    return 0;
}
