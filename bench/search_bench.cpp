// Candidates generated, evaluated and screened per second by the formula search, 8 operands, on
// the sample history:
//   (a) the default window of 300 periods over the whole sample (only the newest 301 rows and
//       the one before them are evaluated);
//   (b) the window "all" over the first 1,200 draws;
// each with one thread and with every core, as the median of several runs, on the vector units
// (the instruction set is named) and, on one thread, on the plain road. For comparison the
// same candidates are back-tested one by one by the statement sequence in SQLite (UPDATE the
// value into every row, carry it to the next row, mark the hits, scan the window), and their
// statistics are checked against the search's.
//
//   search_bench [--runs N] [--candidates N] [--sql-candidates N]

#include "../tests/support/sql_statement_backtest.h"

#include "sample_history.h"

#include "domain/draw_record.h"
#include "domain/period_number.h"
#include "search/candidate_search.h"
#include "search/scheme_settings.h"

#include <QFile>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <thread>
#include <vector>

using namespace qeltaro;
using Clock = std::chrono::steady_clock;

namespace {

double secondsOf(const std::function<void()>& work)
{
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}


struct Scenario {
    const char* name;
    int rows;
    SearchWindow window;
    double targetPerCore;
};

bool sameStatistics(const CandidateStatistics& a, const FormulaStats& b)
{
    return a.rate == b.rate && a.hitSum == b.hitSum && a.totalSum == b.totalSum && a.maxMissRun == b.maxMissRun &&
           a.maxHitRun == b.maxHitRun && a.lastMissRun == b.lastMissRun && a.lastHitRun == b.lastHitRun;
}

int runScenario(const Scenario& s, int runs, std::uint64_t candidates, int sqlCandidates)
{
    const Category category{3, false};
    const Kind kind = Kind::Kill;
    const std::vector<DrawRecord> rows = bench::sampleRecords(0, s.rows);
    const HistoryColumns history(rows);
    const CandidateEvaluator evaluator(history, category, s.window);
    const CandidateGenerator generator({category, kind, 8, TailConstant::randomDigit(), FormulaForm::Prefix}, 20240601);
    const SearchThresholds thresholds = defaultThresholds(kind, 3);
    const CandidateSearch search(evaluator, generator, thresholds);
    std::printf("== (%s) %d history rows, %d rows scored, 三星直选 kill, 8 operands, default thresholds\n", s.name,
                history.rowCount(), evaluator.scoredRows());

    const int cores = int(std::max(1u, std::thread::hardware_concurrency()));
    std::vector<int> threadCounts{1};
    if (cores > 1)
        threadCounts.push_back(cores);
    double bestRate = 0;
    double oneThreadRate = 0;
    for (int threads : threadCounts) {
        std::vector<double> rates;
        std::size_t found = 0;
        for (int run = 0; run < runs; ++run) {
            RunControl control;
            CandidateSearchOutcome outcome;
            const double seconds = secondsOf([&] { outcome = search.run({std::nullopt, candidates}, threads, control); });
            rates.push_back(double(outcome.verified) / seconds);
            found = outcome.found.size();
        }
        const double rate = median(rates);
        bestRate = std::max(bestRate, rate);
        std::printf("  search, %d thread%s: %10.0f candidates/s (median of %d runs of %llu; %.0f per thread; %zu found)\n",
                    threads, threads == 1 ? " " : "s", rate, runs, (unsigned long long)candidates, rate / threads, found);
        if (threads == 1)
            oneThreadRate = rate;
        if (threads == 1)
            std::printf("    target %.0f per core: %s\n", s.targetPerCore, rate >= s.targetPerCore ? "met" : "NOT MET");
    }

    {
        const CandidateEvaluator plain(history, category, s.window, nullptr);
        const CandidateSearch plainSearch(plain, generator, thresholds);
        std::vector<double> rates;
        for (int run = 0; run < runs; ++run) {
            RunControl control;
            CandidateSearchOutcome outcome;
            const double seconds =
                secondsOf([&] { outcome = plainSearch.run({std::nullopt, candidates}, 1, control); });
            rates.push_back(double(outcome.verified) / seconds);
        }
        std::printf("  plain road, 1 thread: %10.0f candidates/s; the vector units (%s) %.1f times that\n",
                    median(rates), bestVectorKernels() ? bestVectorKernels()->target : "none",
                    oneThreadRate / median(rates));
    }

    // The parts of one candidate on one thread: building it, its full statistics (no early exit).
    {
        EvaluationScratch scratch = evaluator.makeScratch();
        long long sink = 0;
        const std::uint64_t n = candidates / 2;
        const double build = secondsOf([&] {
            for (std::uint64_t k = 0; k < n; ++k)
                sink += generator.candidate(k).operands[3];
        });
        const double full = secondsOf([&] {
            for (std::uint64_t k = 0; k < n; ++k)
                sink += evaluator.evaluate(generator.candidate(k), kind, scratch).maxHitRun;
        });
        std::printf("  one thread: building only %.0f/s; building and full statistics without early exit %.0f/s (%lld)\n",
                    double(n) / build, double(n) / full, sink % 7);
    }

    test::SqlStatementBacktest sql(rows);
    const BacktestSettings settings = s.window.backtestSettings();
    EvaluationScratch scratch = evaluator.makeScratch();
    int differing = 0;
    const double sqlSeconds = secondsOf([&] {
        for (int k = 0; k < sqlCandidates; ++k) {
            const Candidate c = generator.candidate(std::uint64_t(k));
            const FormulaStats theirs =
                sql.backtest(generator.codeText(c).toStdString(), isKill(kind), category, settings, "PreCanshu % 10");
            if (!sameStatistics(evaluator.evaluate(c, kind, scratch), theirs) && ++differing <= 3)
                std::printf("  DIFFERENT: %s\n", qPrintable(generator.codeText(c)));
        }
    });
    const double sqlRate = sqlCandidates / sqlSeconds;
    std::printf("  SQL statement sequence: %.1f candidates/s (%d candidates); same statistics: %s\n", sqlRate,
                sqlCandidates, differing == 0 ? "yes" : "NO");
    std::printf("  search on one thread is %.0f times, on all threads %.0f times the SQL rate\n\n",
                oneThreadRate / sqlRate, bestRate / sqlRate);
    return differing == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    int runs = 5;
    std::uint64_t candidates = 200000;
    int sqlCandidates = 100;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--runs") == 0)
            runs = std::max(1, std::atoi(argv[i + 1]));
        else if (std::strcmp(argv[i], "--candidates") == 0)
            candidates = std::max(1000ull, std::strtoull(argv[i + 1], nullptr, 10));
        else if (std::strcmp(argv[i], "--sql-candidates") == 0)
            sqlCandidates = std::max(1, std::atoi(argv[i + 1]));
    }
    int status = runScenario({"a: window 300", 100000, {300, true}, 3000000}, runs, candidates, sqlCandidates);
    status |= runScenario({"b: window all", 1200, {0, true}, 1000000}, runs, candidates / 4, sqlCandidates);
    return status;
}
