#include "method/searched_walk_forward.h"

#include "backtest/formula_list.h"
#include "domain/backtest_window.h"
#include "domain/random_stream.h"
#include "money/prize_settings.h"
#include "search/candidate_search.h"
#include "search/scheme_settings.h"
#include "search/search_category.h"

#include <QSet>

#include <atomic>
#include <chrono>
#include <thread>

namespace qeltaro {
namespace {

std::vector<std::pair<int, Category>> slotTablesOf(const WalkForwardRequest& walk)
{
    return planOfCode(calculationCode(walk.category, walk.method, CalculationPeriod::Next), walk.category).slotTables;
}

// The formulas one table's search finds for the period at `row`, as a fresh list; a code found
// twice is listed once, as saving them would leave it.
FormulaList searchTable(const HistoryColumns& history, const SearchedWalkRequest& request, const Category& table, int row,
                        RunControl& control)
{
    const SearchWindow window = searchWindowOf(request.walk.window);
    // The rows the search reads: the scored ones before the period and the one before them.
    const int first = firstScoredRow(row, window.backtestSettings()) - 1;
    const HistoryColumns searched = history.rowsBetween(first, row);
    const int number = searchNumberOf(table);
    const CandidateShape shape{table, request.walk.kind, request.operandCounts[size_t(number - 1)], request.constant,
                               request.form};
    const CandidateEvaluator evaluator(searched, table, window);
    const CandidateGenerator generator(shape, periodSearchSeed(request.seed, history.period(row), number));
    const CandidateSearch search(evaluator, generator, request.thresholds[size_t(number - 1)]);
    CandidateSearchLimits limits;
    limits.maxCandidates = request.candidates;
    // Periods are spread over the threads; each search keeps to one.
    const CandidateSearchOutcome outcome = search.run(limits, 1, control);

    FormulaList list(table, request.walk.kind);
    QSet<QString> listed;
    for (const FoundCandidate& found : outcome.found) {
        const QString code = generator.codeText(found.candidate);
        if (listed.contains(code))
            continue;
        listed.insert(code);
        list.append(list.size() + 1, code, generator.chineseText(found.candidate), request.walk.kind);
    }
    return list;
}

WalkForwardPeriod searchAndWalk(const SearchedWalkPlan& plan, const HistoryColumns& history, int row,
                                RunControl& control, QStringList& problems)
{
    const SearchedWalkRequest& request = plan.request;
    WalkForwardFormulas formulas;
    formulas.prizes = plan.prizes;
    int found = 0;
    for (const auto& [slot, table] : slotTablesOf(request.walk)) {
        formulas.tables.emplace_back(slot, searchTable(history, request, table, row, control));
        found += formulas.tables.back().second.size();
    }
    WalkForwardRequest walk = request.walk;
    walk.selection.reset();
    walk.threads = 1;
    // The rows the calculation reads: the back-test window before the period, the one before
    // it, and the period's own draw to judge by.
    const int first = firstScoredRow(row, walk.window) - 1;
    const HistoryColumns calculated = history.rowsBetween(first, row + 1);
    WalkForwardPeriod period = walkOnePeriod(formulas, calculated, walk, row - first, problems);
    period.found = found;
    return period;
}

}  // namespace

std::uint64_t periodSearchSeed(std::uint64_t seed, const QString& period, int searchNumber)
{
    // FNV-1a of the period's text: the same on every platform and in every run.
    std::uint64_t hash = 0xCBF29CE484222325ull;
    for (const char byte : period.toUtf8()) {
        hash ^= std::uint8_t(byte);
        hash *= 0x100000001B3ull;
    }
    return deriveSeed(deriveSeed(seed, hash), std::uint64_t(searchNumber));
}

SearchWindow searchWindowOf(const BacktestSettings& window)
{
    return {window.periodWindow, window.weightedRate};
}

Result<SearchedWalkPlan> planSearchedWalk(Store& store, const SchemeSettings& settings, const SearchedWalkOrder& order)
{
    SearchedWalkPlan plan;
    plan.request = order.request;
    SearchedWalkRequest& request = plan.request;
    if (request.candidates < 1)
        return badInput(QStringLiteral("每期搜索的公式数应为正整数"));
    for (const auto& [slot, table] : slotTablesOf(request.walk)) {
        const int number = searchNumberOf(table);
        const size_t i = size_t(number - 1);
        request.operandCounts[i] = order.operandCount.value_or(settings.operandCount(number));
        if (order.thresholds) {
            request.thresholds[i] = *order.thresholds;
        } else {
            request.thresholds[i] = settings.thresholds(request.walk.kind, number);
            if (Status s = checkThresholdsAreNumbers(request.walk.kind, number, request.thresholds[i]); !s)
                return s.error();
        }
    }
    auto prizes = loadPrizeTable(store);
    if (!prizes)
        return prizes.error();
    plan.prizes = *prizes;
    return plan;
}

Result<WalkForwardResult> walkForwardWithSearch(const SearchedWalkPlan& plan, const HistoryColumns& history,
                                                Progress* progress)
{
    const SearchedWalkRequest& request = plan.request;
    if (Status s = checkWalkForward(history, request.walk); !s)
        return s.error();
    const int rows = history.rowCount();
    // Every period but the first has a draw before it to search and predict from.
    const int periods = std::min(request.walk.periods, rows - 1);
    const int firstRow = rows - periods;

    std::vector<WalkForwardPeriod> walked(static_cast<size_t>(periods));
    std::vector<QStringList> problems(static_cast<size_t>(periods));
    std::atomic<int> next{0};
    std::atomic<int> done{0};
    RunControl control;
    auto work = [&] {
        for (int i = next.fetch_add(1); i < periods && !control.stopRequested(); i = next.fetch_add(1)) {
            walked[size_t(i)] = searchAndWalk(plan, history, firstRow + i, control, problems[size_t(i)]);
            done.fetch_add(1);
        }
    };
    std::vector<std::thread> workers;
    const int threads = std::min(searchThreadCount(request.walk.threads), periods);
    for (int i = 0; i < threads; ++i)
        workers.emplace_back(work);
    for (int reported = -1; done.load() < periods;) {
        if (progress && progress->cancelled())
            control.stop();
        if (control.stopRequested())
            break;
        if (progress && done.load() != reported) {
            reported = done.load();
            progress->report(reported, periods, history.period(firstRow + std::min(reported, periods - 1)));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    for (std::thread& worker : workers)
        worker.join();
    if (control.stopRequested())
        return Error{ErrorKind::Cancelled, QStringLiteral("已停止历史模拟检验")};

    WalkForwardResult result;
    result.prizes = plan.prizes;
    result.periods = std::move(walked);
    for (const QStringList& p : problems)
        result.problems << p;
    summarizeWalk(result, request.walk.category);
    return result;
}

}  // namespace qeltaro
