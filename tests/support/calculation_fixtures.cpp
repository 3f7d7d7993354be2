#include "calculation_fixtures.h"

#include "history/draw_history.h"
#include "store/history_table.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace qeltaro::test {

HistoryColumns sampleHistoryColumns(int rows)
{
    TempStore temp;
    EXPECT_TRUE(DrawHistory(temp.store()).importText(sampleHistoryLines(rows)));
    return HistoryColumns(*HistoryTable(temp.store()).all());
}

std::vector<DrawRecord> drawsOf(const std::vector<const char*>& digits, const char* firstPeriod)
{
    std::vector<DrawRecord> draws;
    auto period = PeriodNumber::parse(QString::fromLatin1(firstPeriod), Game{});
    EXPECT_TRUE(period) << firstPeriod;
    std::optional<Digits> previous;
    for (const char* text : digits) {
        const auto parsed = parseDigits(QString::fromLatin1(text));
        EXPECT_TRUE(parsed) << text;
        draws.push_back(deriveDrawRecord(*period, parsed.value_or(Digits{}), previous, Game{}));
        previous = parsed;
        period = period->next(Game{});
    }
    return draws;
}

HistoryColumns columnsOf(const std::vector<const char*>& digits, const char* firstPeriod)
{
    return HistoryColumns(drawsOf(digits, firstPeriod));
}

void storeDraws(Store& store, const std::vector<DrawRecord>& draws)
{
    Transaction transaction(store.database());
    HistoryTable table(store);
    for (const DrawRecord& draw : draws) {
        Status s = table.insert(draw);
        ASSERT_TRUE(s) << s.error().message.toStdString();
    }
    ASSERT_TRUE(transaction.commit());
    store.markHistoryChanged();
}

void storeFormulas(Store& store, const Category& category, const std::vector<FormulaRow>& formulas)
{
    FormulaTable table(store, category);
    auto existing = table.count();
    ASSERT_TRUE(existing);
    int idx = *existing;
    for (const FormulaRow& f : formulas) {
        ++idx;
        const QString code = QString::fromLatin1(f.code);
        ASSERT_TRUE(table.append(kindOfKillFlag(f.kill), code, QStringLiteral("公式") + code, idx));
        if (f.statistics) {
            ASSERT_TRUE(table.writeStatistics(idx, *f.statistics));
        }
    }
}

}  // namespace qeltaro::test
