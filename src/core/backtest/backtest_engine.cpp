#include "backtest/backtest_engine.h"

#include "language/column_evaluator.h"

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>

namespace qeltaro {
namespace {

// Below this much work a second thread costs more than it saves.
constexpr long long kRowsPerExtraThread = 400000;
constexpr int kBlock = 16;

template <typename Work>
void evaluateRange(const FormulaList& list, std::atomic<int>& nextBlock, int first, int end,
                   const HistoryColumns& history, int fromRow, const VectorKernels* kernels, const Work& work)
{
    ColumnEvaluator evaluator(kernels);
    std::vector<double> values;
    for (;;) {
        const int begin = first + nextBlock.fetch_add(1) * kBlock;
        if (begin >= end)
            return;
        for (int k = begin; k < std::min(end, begin + kBlock); ++k) {
            const ListedFormula& formula = list.at(k);
            if (!formula.compiled) {
                work(k, nullptr);
                continue;
            }
            evaluator.evaluate(*formula.compiled, history, values, fromRow);
            work(k, values.data());
        }
    }
}

// The digit the newest row names; `values` run from `fromRow` to the newest row.
QString nextDigitText(const double* values, int rowCount, int fromRow)
{
    if (!values || rowCount <= fromRow)
        return {};
    const int code = BacktestContext::digitCode(values[rowCount - 1 - fromRow]);
    if (code == BacktestContext::kNoValueCode)
        return {};
    // Literals: a digit per formula is no allocation.
    static const QString kDigits[19] = {
        QStringLiteral("-9"), QStringLiteral("-8"), QStringLiteral("-7"), QStringLiteral("-6"), QStringLiteral("-5"),
        QStringLiteral("-4"), QStringLiteral("-3"), QStringLiteral("-2"), QStringLiteral("-1"), QStringLiteral("0"),
        QStringLiteral("1"),  QStringLiteral("2"),  QStringLiteral("3"),  QStringLiteral("4"),  QStringLiteral("5"),
        QStringLiteral("6"),  QStringLiteral("7"),  QStringLiteral("8"),  QStringLiteral("9")};
    return kDigits[code];
}

}  // namespace

BacktestEngine::BacktestEngine(int threads, const VectorKernels* kernels) : kernels_(kernels)
{
    if (threads <= 0)
        threads = int(std::thread::hardware_concurrency());
    threads_ = std::max(1, threads);
}

template <typename Work>
void BacktestEngine::forEachEvaluated(const FormulaList& list, int first, int end, const HistoryColumns& history,
                                      int fromRow, const Work& work) const
{
    first = std::max(0, first);
    end = std::min(end, list.size());
    if (first >= end)
        return;
    const long long rows = (long long)(end - first) * std::max(1, history.rowCount() - fromRow);
    const int wanted = int(std::min<long long>({threads_, 1 + rows / kRowsPerExtraThread, (end - first + kBlock - 1) / kBlock}));
    std::atomic<int> nextBlock{0};
    std::vector<std::thread> helpers;
    for (int t = 1; t < wanted; ++t) {
        try {
            helpers.emplace_back([&] { evaluateRange(list, nextBlock, first, end, history, fromRow, kernels_, work); });
        } catch (const std::system_error&) {
            break;  // no more threads to be had: the rest is done here
        }
    }
    evaluateRange(list, nextBlock, first, end, history, fromRow, kernels_, work);
    for (std::thread& helper : helpers)
        helper.join();
}

FormulaStatsTable BacktestEngine::backtest(const FormulaList& list, const HistoryColumns& history,
                                           const BacktestSettings& settings, const FormulaStatsTable* previous) const
{
    FormulaStatsTable table(list.idxs());
    const QString newest = history.rowCount() > 0 ? history.period(history.rowCount() - 1) : QString();
    backtestPage(list, 0, list.size(), history, settings, table);
    if (previous && previous->nextBasePeriod() == newest) {
        for (int k = 0; k < list.size(); ++k) {
            if (list.isSelected(k))
                continue;
            if (const FormulaStats* old = previous->find(list.at(k).idx))
                table.at(k).next = old->next;
        }
    }
    table.setNextBasePeriod(newest);
    return table;
}

void BacktestEngine::backtestPage(const FormulaList& list, int first, int count, const HistoryColumns& history,
                                  const BacktestSettings& settings, FormulaStatsTable& table) const
{
    const BacktestContext context(history, list.category(), settings, kernels_);
    // Only the window's rows (and the one before it) are read: the rows before cost nothing.
    const int fromRow = context.firstNeededRow();
    forEachEvaluated(list, first, first + count, history, fromRow, [&](int k, const double* values) {
        const ListedFormula& formula = list.at(k);
        FormulaStats stats;
        stats.text = formula.text;
        if (!values) {
            stats.error = formula.compileError;
        } else {
            context.score(values, formula.kind, stats, fromRow);
            if (list.isSelected(k))
                stats.next = nextDigitText(values, history.rowCount(), fromRow);
            else
                stats.next = table.at(k).next;
        }
        table.at(k) = std::move(stats);
    });
}

void BacktestEngine::backtestQuiet(const FormulaList& list, const HistoryColumns& history,
                                   const BacktestSettings& settings, FormulaStatsTable& table) const
{
    const BacktestContext context(history, list.category(), settings, kernels_);
    const int fromRow = context.firstNeededRow();
    forEachEvaluated(list, 0, list.size(), history, fromRow, [&](int k, const double* values) {
        const ListedFormula& formula = list.at(k);
        FormulaStats& entry = table.at(k);
        entry.text = formula.text;
        if (!values) {
            entry.error = formula.compileError;
            entry.lastHitRun = 0;
            return;
        }
        FormulaStats scored;
        context.score(values, formula.kind, scored, fromRow);
        entry.lastHitRun = scored.lastHitRun;
        if (list.isSelected(k))
            entry.next = nextDigitText(values, history.rowCount(), fromRow);
    });
}

std::vector<FormulaVerification> BacktestEngine::verify(const FormulaList& list, int first, int count,
                                                        const HistoryColumns& history) const
{
    first = std::max(0, first);
    const int end = std::min(list.size(), first + std::max(0, count));
    std::vector<FormulaVerification> columns(size_t(std::max(0, end - first)));
    // The window does not matter here: every row is marked.
    const BacktestContext context(history, list.category(), BacktestSettings{}, kernels_);
    forEachEvaluated(list, first, end, history, 0, [&](int k, const double* values) {
        if (values)
            columns[size_t(k - first)] = context.verify(values, list.at(k).kind);
    });
    return columns;
}

}  // namespace qeltaro
