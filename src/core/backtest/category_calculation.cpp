#include "backtest/category_calculation.h"

#include "domain/period_number.h"
#include "store/formula_table.h"
#include "store/store.h"

#include <QHash>

#include <numeric>

namespace qeltaro {

CalculationPlan planOfCode(int code, const Category& category)
{
    CalculationPlan plan;
    plan.code = code;
    plan.direct = (code & 1) != 0;
    plan.method = (code & 2) != 0 ? CalculationMethod::Selected : CalculationMethod::Best;
    plan.period = (code & 4) != 0 ? CalculationPeriod::Past : CalculationPeriod::Next;
    plan.detailListAvailable = plan.method == CalculationMethod::Selected;
    if (plan.direct) {
        for (int p = 1; p <= category.positions; ++p)
            plan.slotTables.emplace_back(p, Category{p, false});
    } else {
        plan.slotTables.emplace_back(0, category);
    }
    return plan;
}

int calculationCode(const Category& category, CalculationMethod method, CalculationPeriod period)
{
    return (category.group ? 0 : 1) + (method == CalculationMethod::Selected ? 2 : 0) +
           (period == CalculationPeriod::Past ? 4 : 0);
}

int quotaDistinctDigits(Kind kind, int keepLimit)
{
    return isKill(kind) ? 10 - keepLimit : keepLimit;
}

DigitWalk walkDigits(const std::vector<WalkedFormula>& formulas, Kind kind, std::optional<int> stopAtDistinct)
{
    std::vector<bool> selected;
    selected.reserve(formulas.size());
    for (const WalkedFormula& f : formulas)
        selected.push_back(f.selected);
    return walkDigits(
        int(formulas.size()), [&formulas](int i) { return formulas[size_t(i)].digit; }, selected, kind,
        stopAtDistinct);
}

QStringList CategoryCalculation::problems() const
{
    QStringList messages;
    for (const SlotCalculation& slot : slotResults) {
        for (const CalculatedFormula& f : slot.formulas) {
            if (!f.problem.isEmpty())
                messages << QStringLiteral("%1第%2号公式“%3”无法计算，未计入：%4")
                                .arg(slot.table.caption()).arg(f.idx).arg(f.code, f.problem);
        }
    }
    return messages;
}

void CategoryCalculation::storeInto(NextPeriodCounts& tables) const
{
    for (const SlotCalculation& slot : slotResults)
        tables.set(slot.slot, slot.counts);
}

namespace {

// The row whose values predict the calculated period.
struct PredictingRow {
    int row = -1;
    QString period;
    std::optional<Digits> drawn;
};

Result<PredictingRow> predictingRow(const HistoryColumns& history, const std::optional<QString>& pastPeriod,
                                   const Game& game)
{
    if (history.rowCount() == 0)
        return badInput(QStringLiteral("历史号码为空，无法计算：请先添加开奖号码"));
    if (!pastPeriod) {
        const int last = history.rowCount() - 1;
        const auto lastPeriod = PeriodNumber::parse(history.period(last), game);
        return PredictingRow{last, lastPeriod ? lastPeriod->next(game).text(game) : QString(), std::nullopt};
    }
    const QString period = pastPeriod->trimmed();
    QString why;
    if (!PeriodNumber::parse(period, game, &why))
        return badInput(QStringLiteral("验算期号无效：%1").arg(why));
    const int row = history.rowOf(period);
    if (row < 0)
        return badInput(QStringLiteral("历史号码中没有第%1期，无法验算该期结果").arg(period));
    if (row == 0)
        return badInput(QStringLiteral("第%1期是历史号码的第一期，之前没有号码，无法验算该期结果").arg(period));
    return PredictingRow{row - 1, period, history.digits(row)};
}

class FormulaDigits {
public:
    explicit FormulaDigits(const HistoryColumns& history) : history_(history) {}

    // The digit a formula's value on `row` predicts; kNoDigit and a message when its code text
    // cannot be compiled.
    int digit(const QString& code, int row, QString& problem)
    {
        auto it = compiled_.find(code);
        if (it == compiled_.end())
            it = compiled_.insert(code, compileFormula(code));
        if (!it->ok()) {
            problem = it->error().message;
            return kNoDigit;
        }
        return predictedDigit(it->value().evaluate(history_.rowValues(row)));
    }

private:
    const HistoryColumns& history_;
    QHash<QString, Result<CompiledFormula>> compiled_;
};

}  // namespace

Result<CategoryCalculation> calculateCategory(Store& store, const HistoryColumns& history,
                                              const CalculationRequest& request)
{
    const SortSettings& sort = request.sort;
    if (request.method == CalculationMethod::Best && (sort.keepLimit < 0 || sort.keepLimit > kMaxKeepLimit))
        return badInput(QStringLiteral("保留个数限额%1无效：须为0到%2之间的整数").arg(sort.keepLimit).arg(kMaxKeepLimit));
    auto target = predictingRow(history, request.pastPeriod, store.game());
    if (!target)
        return target.error();

    CategoryCalculation result;
    result.category = request.category;
    result.kind = request.kind;
    result.plan = planOfCode(calculationCode(request.category, request.method,
                                             request.pastPeriod ? CalculationPeriod::Past : CalculationPeriod::Next),
                             request.category);
    result.period = target->period;
    result.drawn = target->drawn;
    const int lastRow = history.rowCount() - 1;
    FormulaDigits digits(history);

    for (const auto& [slotNumber, table] : result.plan.slotTables) {
        auto listed = FormulaTable(store, table).list(request.kind);
        if (!listed)
            return listed.error();
        const bool ownTable = table == request.category;
        auto isSelected = [&](int idx) {
            return !ownTable || !request.selection || request.selection->isSelected(idx);
        };

        SlotCalculation slot;
        slot.slot = slotNumber;
        slot.table = table;
        for (const StoredFormula& f : *listed) {
            CalculatedFormula c;
            c.idx = f.idx;
            c.kind = f.kind;
            c.code = f.code;
            c.text = f.text;
            c.selected = isSelected(f.idx);
            if (c.selected)
                c.nextDigit = digits.digit(f.code, lastRow, c.problem);
            slot.formulas.push_back(std::move(c));
        }

        // The walk order: list order, or the order of the stored statistics.
        std::vector<size_t> order(slot.formulas.size());
        std::iota(order.begin(), order.end(), size_t(0));
        std::optional<int> stopAt;
        if (result.plan.method == CalculationMethod::Best) {
            order = statisticsOrder(*listed, sort.choices());
            stopAt = quotaDistinctDigits(request.kind, sort.keepLimit);
        }

        std::vector<bool> selected;
        for (size_t i : order)
            selected.push_back(slot.formulas[i].selected);
        DigitWalk walk = walkDigits(
            int(order.size()),
            [&](int i) {
                CalculatedFormula& f = slot.formulas[order[size_t(i)]];
                f.digit = digits.digit(f.code, target->row, f.problem);
                return f.digit;
            },
            selected, request.kind, stopAt);
        for (size_t i = 0; i < order.size(); ++i) {
            if (walk.counted[i]) {
                slot.formulas[order[i]].counted = true;
                ++slot.countedFormulas;
            }
        }
        slot.counts = walk.counts;
        result.slotResults.push_back(std::move(slot));
    }
    return result;
}

}  // namespace qeltaro
