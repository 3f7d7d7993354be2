#include "backtest/full_backtest.h"
#include "export/backtest_hit_runs.h"
#include "history/draw_history.h"
#include "store/formula_table.h"
#include "store/history_table.h"
#include "test_support.h"

#include <gtest/gtest.h>

using namespace qeltaro;

TEST(BacktestHitRuns, TheExportPrintsTheRunOfTheCurrentHistoryNotAStaleStoredOne)
{
    qeltaro::test::TempStore temp;
    ASSERT_TRUE(DrawHistory(temp.store()).importText(qeltaro::test::sampleHistoryLines(300)));
    const Category category{2, true};
    FormulaTable table(temp.store(), category);
    ASSERT_TRUE(table.append(Kind::Kill, QStringLiteral("L1A+L2A"), QStringLiteral("万位码+千位码"), 1));
    ASSERT_TRUE(table.append(Kind::Kill, QStringLiteral("LH*3"), QStringLiteral("和数*3"), 2));
    ASSERT_TRUE(table.writeStatistics(1, {50, 9, 9, 9, 77}));  // stale

    const HistoryColumns history(*HistoryTable(temp.store()).all());
    const BacktestSettings settings{300, true, true};
    const BacktestEngine engine(1);
    auto runs = backtestHitRuns(temp.store(), history, settings, engine)({category, Kind::Kill});
    ASSERT_TRUE(runs);
    ASSERT_EQ(runs->size(), 2u);

    auto list = FormulaList::load(temp.store(), category, Kind::Kill);
    const FormulaStatsTable full = engine.backtest(*list, history, settings);
    EXPECT_EQ((*runs)[0].text.toStdString(), "万位码+千位码");
    EXPECT_EQ((*runs)[0].hitRun, full.at(0).lastHitRun);
    EXPECT_EQ((*runs)[1].hitRun, full.at(1).lastHitRun);
    EXPECT_NE((*runs)[0].hitRun, 77);
}
