#include "predictions/walk_forward.h"

#include "backtest/backtest_engine.h"
#include "backtest/formula_list.h"
#include "money/prize_settings.h"
#include "predictions/kept_digits.h"
#include "predictions/moving_window_statistics.h"

#include <memory>

namespace qeltaro {
namespace {

// One slot's formulas evaluated once over the whole history: each formula's digit on every row
// and its hit on every row, from which any cut of the history is read.
struct SlotWalker {
    int slot = 0;
    Category table;
    std::vector<bool> selected;              // in list order
    std::vector<std::vector<std::int8_t>> digits;  // per formula; empty when it does not compile
    std::vector<std::unique_ptr<MovingWindowStatistics>> moving;  // per formula; null when it does not compile
    std::vector<std::optional<StoredStatistics>> statistics;     // the ranking of the current step
};

SlotWalker prepareSlot(const FormulaList& list, const HistoryColumns& history, const WalkForwardRequest& request,
                       int slot, QStringList& problems)
{
    const Category& table = list.category();
    SlotWalker walker;
    walker.slot = slot;
    walker.table = table;
    const bool ownTable = table == request.category;
    const std::vector<FormulaVerification> columns =
        BacktestEngine(request.threads).verify(list, 0, list.size(), history);
    for (int k = 0; k < list.size(); ++k) {
        const ListedFormula& formula = list.at(k);
        walker.selected.push_back(!ownTable || !request.selection || request.selection->isSelected(formula.idx));
        const FormulaVerification& column = columns[size_t(k)];
        std::vector<std::int8_t> digits;
        std::vector<std::uint8_t> hits;
        if (formula.compiled) {
            digits.resize(size_t(column.rowCount()));
            hits.resize(size_t(column.rowCount()));
            for (int r = 0; r < column.rowCount(); ++r) {
                digits[size_t(r)] = std::int8_t(column.computedDigit(r));
                hits[size_t(r)] = r > 0 && column.hitAt(r) ? 1 : 0;
            }
        } else if (walker.selected.back()) {
            problems << QStringLiteral("%1第%2号公式“%3”无法计算，未计入：%4")
                            .arg(table.caption()).arg(formula.idx).arg(formula.code, formula.compileError);
        }
        walker.digits.push_back(std::move(digits));
        walker.moving.push_back(formula.compiled ? std::make_unique<MovingWindowStatistics>(
                                                       std::move(hits), request.window.weightedRate)
                                                 : nullptr);
    }
    walker.statistics.resize(walker.digits.size());
    return walker;
}

// The calculation of the period at row t from the rows before it.
WalkForwardSlot walkSlot(SlotWalker& walker, const WalkForwardRequest& request, const HistoryColumns& history, int t)
{
    const int count = int(walker.digits.size());
    std::vector<size_t> order;
    std::optional<int> stopAt;
    if (request.method == CalculationMethod::Best) {
        const int first = firstScoredRow(t, request.window);
        for (int k = 0; k < count; ++k) {
            if (walker.moving[size_t(k)]) {
                walker.moving[size_t(k)]->moveTo(first, t);
                walker.statistics[size_t(k)] = walker.moving[size_t(k)]->statistics();
            }
        }
        order = statisticsOrder(walker.statistics, request.sort.choices());
        stopAt = quotaDistinctDigits(request.kind, request.sort.keepLimit);
    } else {
        order.resize(size_t(count));
        for (int k = 0; k < count; ++k)
            order[size_t(k)] = size_t(k);
    }
    std::vector<bool> selected(order.size());
    for (size_t i = 0; i < order.size(); ++i)
        selected[i] = walker.selected[order[i]];
    const DigitWalk walk = walkDigits(
        count,
        [&](int i) {
            const std::vector<std::int8_t>& digits = walker.digits[order[size_t(i)]];
            return digits.empty() ? kNoDigit : int(digits[size_t(t - 1)]);
        },
        selected, request.kind, stopAt);

    WalkForwardSlot slot;
    slot.slot = walker.slot;
    slot.table = walker.table;
    slot.counts = walk.counts;
    slot.kept = keptDigits(walk.counts, request.kind);
    slot.outcome = judgeSlot(walker.table, slot.kept, history.digits(t));
    return slot;
}

}  // namespace

WalkForwardRequest walkForwardOf(const CalculationRequest& calculation)
{
    WalkForwardRequest request;
    request.category = calculation.category;
    request.kind = calculation.kind;
    request.method = calculation.method;
    request.sort = calculation.sort;
    request.selection = calculation.selection;
    return request;
}

Result<WalkForwardFormulas> loadWalkForwardFormulas(Store& store, const WalkForwardRequest& request)
{
    const CalculationPlan plan =
        planOfCode(calculationCode(request.category, request.method, CalculationPeriod::Next), request.category);
    WalkForwardFormulas formulas;
    auto prizes = loadPrizeTable(store);
    if (!prizes)
        return prizes.error();
    formulas.prizes = *prizes;
    for (const auto& [slot, table] : plan.slotTables) {
        auto loaded = FormulaList::load(store, table, request.kind);
        if (!loaded)
            return loaded.error();
        formulas.tables.emplace_back(slot, std::move(*loaded));
    }
    return formulas;
}

Result<WalkForwardResult> walkForward(Store& store, const HistoryColumns& history, const WalkForwardRequest& request,
                                      Progress* progress)
{
    auto formulas = loadWalkForwardFormulas(store, request);
    if (!formulas)
        return formulas.error();
    return walkForward(*formulas, history, request, progress);
}

Status checkWalkForward(const HistoryColumns& history, const WalkForwardRequest& request)
{
    if (request.periods < 1)
        return badInput(QStringLiteral("检验期数须为正整数，而不是%1").arg(request.periods));
    if (history.rowCount() < 2)
        return badInput(QStringLiteral("历史号码不足两期，无法做历史模拟检验"));
    if (request.method == CalculationMethod::Best &&
        (request.sort.keepLimit < 0 || request.sort.keepLimit > kMaxKeepLimit))
        return badInput(QStringLiteral("保留个数限额%1无效：须为0到%2之间的整数").arg(request.sort.keepLimit).arg(kMaxKeepLimit));
    return success();
}

WalkForwardPeriod walkOnePeriod(const WalkForwardFormulas& formulas, const HistoryColumns& history,
                                const WalkForwardRequest& request, int row, QStringList& problems)
{
    WalkForwardPeriod period;
    period.period = history.period(row);
    for (const auto& [slot, list] : formulas.tables) {
        if (list.empty())
            continue;
        SlotWalker walker = prepareSlot(list, history, request, slot, problems);
        period.slotResults.push_back(walkSlot(walker, request, history, row));
    }
    if (auto money = judgedMoney(request.category, period.slotResults, formulas.prizes))
        period.money = *money;
    return period;
}

void summarizeWalk(WalkForwardResult& result, const Category& category)
{
    std::vector<SlotOutcome> outcomes;
    result.money = {};
    result.noPrediction = 0;
    for (const WalkForwardPeriod& period : result.periods) {
        for (const WalkForwardSlot& slot : period.slotResults)
            outcomes.push_back(slot.outcome);
        if (period.slotResults.empty())
            ++result.noPrediction;
        // Every slot has its draw, so the money is known when no slot is missing.
        if (judgedMoney(category, period.slotResults, result.prizes))
            result.money.add(period.money);
    }
    result.summary = summarizeOutcomes(outcomes);
}

Result<WalkForwardResult> walkForward(const WalkForwardFormulas& formulas, const HistoryColumns& history,
                                      const WalkForwardRequest& request, Progress* progress)
{
    if (Status s = checkWalkForward(history, request); !s)
        return s.error();
    const int rows = history.rowCount();
    WalkForwardResult result;
    result.prizes = formulas.prizes;
    std::vector<SlotWalker> walkers;
    for (const auto& [slot, list] : formulas.tables)
        walkers.push_back(prepareSlot(list, history, request, slot, result.problems));

    // Every period but the first has a draw before it to predict from.
    const int periods = std::min(request.periods, rows - 1);
    for (int t = rows - periods; t < rows; ++t) {
        if (progress) {
            if (progress->cancelled())
                return Error{ErrorKind::Cancelled, QStringLiteral("已停止历史模拟检验")};
            progress->report(t - (rows - periods), periods, history.period(t));
        }
        WalkForwardPeriod period;
        period.period = history.period(t);
        for (SlotWalker& walker : walkers)
            period.slotResults.push_back(walkSlot(walker, request, history, t));
        if (auto money = judgedMoney(request.category, period.slotResults, result.prizes))
            period.money = *money;
        result.periods.push_back(std::move(period));
    }
    summarizeWalk(result, request.category);
    return result;
}

}  // namespace qeltaro
