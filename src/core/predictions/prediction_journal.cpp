#include "predictions/prediction_journal.h"

#include "money/prize_settings.h"
#include "predictions/kept_digits.h"
#include "store/prediction_journal_table.h"

#include <QStringList>

#include <algorithm>

namespace qeltaro {
namespace {

// "1-4,7,9-10": ascending idx written as ranges, so a selection of thousands stays short.
QString idxRanges(std::vector<int> idxs)
{
    std::sort(idxs.begin(), idxs.end());
    QStringList parts;
    for (size_t i = 0; i < idxs.size();) {
        size_t j = i;
        while (j + 1 < idxs.size() && idxs[j + 1] == idxs[j] + 1)
            ++j;
        parts << (j == i ? QString::number(idxs[i]) : QStringLiteral("%1-%2").arg(idxs[i]).arg(idxs[j]));
        i = j + 1;
    }
    return parts.join(u',');
}

}  // namespace

QString methodSettingsText(const CategoryCalculation& calculation, const SortSettings& sort)
{
    if (calculation.plan.method == CalculationMethod::Best)
        return QStringLiteral("quota=%1;sort=%2").arg(sort.keepLimit).arg(sortKeysText(sort.choices()));
    std::vector<int> selected;
    for (const SlotCalculation& slot : calculation.slotResults) {
        if (slot.table != calculation.category)
            continue;
        for (const CalculatedFormula& f : slot.formulas) {
            if (f.selected)
                selected.push_back(f.idx);
        }
    }
    return QStringLiteral("select=") + idxRanges(selected);
}

Status recordPrediction(Store& store, const CategoryCalculation& calculation, const SortSettings& sort,
                        const QDateTime& when)
{
    if (calculation.plan.period != CalculationPeriod::Next)
        return badInput(QStringLiteral("验算往期的结果不是预测，不记入预测记录"));
    JournalEntryRow entry;
    entry.recordedAt = when.toString(Qt::ISODate);
    entry.period = calculation.period;
    entry.category = calculation.category.suffix();
    entry.kind = calculation.kind;
    entry.method = calculation.plan.method == CalculationMethod::Best ? QStringLiteral("best") : QStringLiteral("selected");
    entry.settings = methodSettingsText(calculation, sort);
    for (const SlotCalculation& slot : calculation.slotResults) {
        JournalSlotRow row;
        row.slot = slot.slot;
        row.table = slot.table.suffix();
        row.kept = keptDigits(slot.counts, calculation.kind);
        for (int d = 0; d < 10; ++d)
            row.totals[size_t(d)] = slot.counts[size_t(d)].total;
        entry.formulaCount += slot.countedFormulas;
        entry.slotRows.push_back(std::move(row));
    }
    auto recorded = PredictionJournalTable(store).record(entry);
    if (!recorded)
        return recorded.error();
    return success();
}

Result<JournalReport> readJournal(Store& store, std::optional<Category> category, std::optional<Kind> kind)
{
    auto rows = PredictionJournalTable(store).list(category ? category->suffix() : QString(), kind);
    if (!rows)
        return rows.error();
    auto prizes = loadPrizeTable(store);
    if (!prizes)
        return prizes.error();
    JournalReport report;
    report.prizes = *prizes;
    std::vector<SlotOutcome> all;
    // Per category (table order) and kind (kill first).
    std::vector<std::vector<SlotOutcome>> grouped(Category::all().size() * 2);
    std::vector<int> groupEntries(grouped.size(), 0);
    for (const JournalEntryRow& row : *rows) {
        const auto entryCategory = Category::fromSuffix(row.category);
        if (!entryCategory)
            continue;  // not written by this program
        JournalEntry entry;
        entry.id = row.id;
        entry.recordedAt = row.recordedAt;
        entry.period = row.period;
        entry.category = *entryCategory;
        entry.kind = row.kind;
        entry.method = row.method == QLatin1String("selected") ? CalculationMethod::Selected : CalculationMethod::Best;
        entry.settings = row.settings;
        entry.formulaCount = row.formulaCount;
        const size_t group = size_t(std::find(Category::all().begin(), Category::all().end(), *entryCategory) -
                                    Category::all().begin()) * 2 + (isKill(row.kind) ? 0 : 1);
        ++groupEntries[group];
        for (const JournalSlotRow& slotRow : row.slotRows) {
            const auto table = Category::fromSuffix(slotRow.table);
            if (!table)
                continue;
            JournalSlot slot{slotRow.slot, *table, slotRow.kept, judgeSlot(*table, slotRow.kept, row.drawn)};
            all.push_back(slot.outcome);
            grouped[group].push_back(slot.outcome);
            entry.slotResults.push_back(std::move(slot));
        }
        entry.money = judgedMoney(entry.category, entry.slotResults, report.prizes);
        if (entry.money)
            report.money.add(*entry.money);
        report.entries.push_back(std::move(entry));
    }
    report.summary = summarizeOutcomes(all);
    for (size_t g = 0; g < grouped.size(); ++g) {
        if (groupEntries[g] == 0)
            continue;
        report.groups.push_back({Category::all()[g / 2], g % 2 == 0 ? Kind::Kill : Kind::Keep, groupEntries[g], summarizeOutcomes(grouped[g])});
    }
    return report;
}

Result<int> clearJournal(Store& store)
{
    return PredictionJournalTable(store).clear();
}

}  // namespace qeltaro
