// The prediction journal: what a next-period calculation records, and how an entry follows the
// draw of its period.

#include "predictions/prediction_journal.h"

#include "predictions/calculation_run.h"

#include "backtest/category_calculation.h"
#include "calculation_fixtures.h"
#include "history/draw_history.h"
#include "history/history_maintenance.h"
#include "money/prize_settings.h"
#include "store/history_table.h"
#include "store/prediction_journal_table.h"
#include "test_support.h"

#include <gtest/gtest.h>

using namespace qeltaro;

namespace {

HistoryColumns historyOf(Store& store)
{
    auto rows = HistoryTable(store).all();
    EXPECT_TRUE(rows);
    return HistoryColumns(*rows);
}

CategoryCalculation calculate(Store& store, CalculationRequest request)
{
    auto calculation = calculateCategory(store, historyOf(store), request);
    EXPECT_TRUE(calculation) << calculation.error().message.toStdString();
    return *calculation;
}

CalculationRequest nextPeriodRequest(const Category& category, CalculationMethod method)
{
    CalculationRequest request;
    request.category = category;
    request.method = method;
    return request;
}

// Draws 160121001 .. 004 (the next period is 160121005) and kill formulas of 1D and 2D.
class PredictionJournal : public ::testing::Test {
protected:
    PredictionJournal()
    {
        test::storeDraws(store(), test::drawsOf({"12345", "67890", "24680", "13579"}));
        test::storeFormulas(store(), {1, false}, {{"L5A"}, {"L1A+3"}});  // on 13579: kill 9 and 4
        test::storeFormulas(store(), {2, false}, {{"L4A"}});             // kill 7
    }
    Store& store() { return temp_.store(); }

private:
    test::TempStore temp_;
};

}  // namespace

TEST_F(PredictionJournal, AnEntryWaitsIsScoredWhenItsDrawComesAndWaitsAgainWhenItIsDeleted)
{
    const CalculationRequest request = nextPeriodRequest({2, false}, CalculationMethod::Selected);
    ASSERT_TRUE(recordPrediction(store(), calculate(store(), request), request.sort,
                                 QDateTime(QDate(2026, 1, 1), QTime(9, 0))));

    auto journal = readJournal(store());
    ASSERT_TRUE(journal);
    ASSERT_EQ(journal->entries.size(), 1u);
    const JournalEntry& entry = journal->entries[0];
    EXPECT_EQ(entry.period, "160121005");
    EXPECT_EQ(entry.formulaCount, 3);
    EXPECT_EQ(entry.settings, "select=1");
    ASSERT_EQ(entry.slotResults.size(), 2u);
    EXPECT_EQ(entry.slotResults[0].kept, (std::vector<int>{0, 1, 2, 3, 5, 6, 7, 8}));  // 个位: 4 and 9 killed
    EXPECT_EQ(entry.slotResults[1].kept, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 8, 9}));  // 十位: 7 killed
    EXPECT_FALSE(entry.slotResults[0].outcome.success.has_value());
    EXPECT_EQ(journal->summary.waiting, 2);

    // Typed: 十位 7 (the killed digit) fails, 个位 6 succeeds.
    ASSERT_TRUE(DrawHistory(store()).add(QStringLiteral("160121005"), QStringLiteral("00076")));
    journal = readJournal(store());
    ASSERT_TRUE(journal);
    EXPECT_EQ(journal->entries[0].slotResults[0].outcome.success, std::optional<bool>(true));
    EXPECT_EQ(journal->entries[0].slotResults[0].outcome.drawn, "6");
    EXPECT_EQ(journal->entries[0].slotResults[1].outcome.success, std::optional<bool>(false));
    EXPECT_EQ(journal->summary.tested, 2);
    EXPECT_EQ(journal->summary.successes, 1);
    EXPECT_NEAR(journal->summary.expected, 0.8 + 0.9, 1e-12);
    ASSERT_EQ(journal->groups.size(), 1u);
    EXPECT_EQ(journal->groups[0].entries, 1);
    // Bought as 8 × 9 direct bets at 2 yuan; the 十位 was lost, so nothing came back. At chance
    // 72 of 100 combinations pay 100 yuan: 72 − 144.
    ASSERT_TRUE(journal->entries[0].money);
    EXPECT_EQ(journal->entries[0].money->bets, 72);
    EXPECT_EQ(journal->entries[0].money->cost, 144'000);
    EXPECT_EQ(journal->entries[0].money->payout, 0);
    EXPECT_DOUBLE_EQ(journal->entries[0].money->expectedNet(), -72.0);
    EXPECT_EQ(journal->money.cost, 144'000);
    EXPECT_DOUBLE_EQ(journal->money.expectedNet(), -72.0);
    // Valued with the table as it is now.
    ASSERT_TRUE(changePrizeTable(store(), {QStringLiteral("1"), std::nullopt, std::nullopt}));
    journal = readJournal(store());
    ASSERT_TRUE(journal);
    EXPECT_EQ(journal->entries[0].money->cost, 72'000);
    EXPECT_EQ(journal->money.net(), -72'000);

    ASSERT_TRUE(deleteLastDraw(store()));
    journal = readJournal(store());
    ASSERT_TRUE(journal);
    ASSERT_EQ(journal->entries.size(), 1u);
    EXPECT_FALSE(journal->entries[0].slotResults[0].outcome.success.has_value());
    EXPECT_EQ(journal->summary.waiting, 2);
}

TEST_F(PredictionJournal, TheSameCalculationAgainReplacesItsEntryAndOthersAreAdded)
{
    CalculationRequest best = nextPeriodRequest({1, false}, CalculationMethod::Best);
    best.sort.keepLimit = 9;  // one digit killed: the first formula's
    const auto record = [&](const CalculationRequest& request) {
        ASSERT_TRUE(recordPrediction(store(), calculate(store(), request), request.sort));
    };
    record(best);
    record(best);
    auto entries = PredictionJournalTable(store()).list();
    ASSERT_TRUE(entries);
    ASSERT_EQ(entries->size(), 1u);
    EXPECT_EQ(entries->at(0).settings, QStringLiteral("quota=9;sort=正确率 从大到小，最大连对 从大到小，最后连对 从大到小"));

    CalculationRequest other = best;
    other.sort.keepLimit = 8;  // other settings: a second entry
    record(other);
    CalculationRequest selected = best;
    selected.method = CalculationMethod::Selected;
    FormulaSelection second;
    second.set(2, true);
    selected.selection = second;
    record(selected);
    entries = PredictionJournalTable(store()).list();
    ASSERT_TRUE(entries);
    EXPECT_EQ(entries->size(), 3u);
    EXPECT_EQ(entries->back().settings, "select=2");
    auto onlyKeep = readJournal(store(), std::nullopt, Kind::Keep);
    ASSERT_TRUE(onlyKeep);
    EXPECT_TRUE(onlyKeep->entries.empty());

    // A re-check of a past period is no prediction.
    CalculationRequest past = best;
    past.pastPeriod = QStringLiteral("160121004");
    EXPECT_FALSE(recordPrediction(store(), calculate(store(), past), past.sort));

    auto cleared = clearJournal(store());
    ASSERT_TRUE(cleared);
    EXPECT_EQ(*cleared, 3);
    auto empty = readJournal(store());
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->entries.empty());
}

TEST_F(PredictionJournal, AStoreThatNeverRecordedReadsEmptyAndIsLeftUnchanged)
{
    auto tables = [&] {
        return store().database().scalar(QStringLiteral("SELECT count(*) FROM sqlite_master")).value().value_or(0);
    };
    const auto before = tables();
    auto journal = readJournal(store());
    ASSERT_TRUE(journal);
    EXPECT_TRUE(journal->entries.empty());
    auto cleared = clearJournal(store());
    ASSERT_TRUE(cleared);
    EXPECT_EQ(*cleared, 0);
    EXPECT_EQ(tables(), before);
}

TEST_F(PredictionJournal, TheCalculationRunRecordsANextPeriodOnlyAndKeepsItsResultWhenTheRecordFails)
{
    const CalculationRequest next = nextPeriodRequest({2, false}, CalculationMethod::Selected);
    auto skipped = runCalculation(store(), historyOf(store()), next, /*record=*/false);
    ASSERT_TRUE(skipped);
    EXPECT_EQ(skipped->recording, Recording::Skipped);
    EXPECT_TRUE(readJournal(store())->entries.empty());

    CalculationRequest past = next;
    past.pastPeriod = QStringLiteral("160121003");
    EXPECT_EQ(runCalculation(store(), historyOf(store()), past)->recording, Recording::NotAPrediction);
    EXPECT_TRUE(readJournal(store())->entries.empty());

    auto recorded = runCalculation(store(), historyOf(store()), next);
    ASSERT_TRUE(recorded);
    EXPECT_EQ(recorded->recording, Recording::Recorded);
    ASSERT_EQ(readJournal(store())->entries.size(), 1u);

    // The journal refuses the next entry: the calculation stands, and says why it was not kept.
    ASSERT_TRUE(store().database().exec(
        QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON PredictionJournal BEGIN SELECT RAISE(ABORT, 'disk full'); END")));
    auto failed = runCalculation(store(), historyOf(store()), next);
    ASSERT_TRUE(failed);
    EXPECT_EQ(failed->recording, Recording::Failed);
    ASSERT_TRUE(failed->recordFailure);
    EXPECT_TRUE(failed->recordFailure->message.contains(QStringLiteral("disk full")));
    EXPECT_EQ(failed->calculation.slotResults.size(), recorded->calculation.slotResults.size());
    EXPECT_EQ(failed->calculation.slotResults[0].counts, recorded->calculation.slotResults[0].counts);
    EXPECT_FALSE(failed->stagingFailure);
}
