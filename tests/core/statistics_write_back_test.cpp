#include "backtest/full_backtest.h"
#include "backtest/statistics_write_back.h"
#include "draw_builder.h"
#include "store/formula_table.h"
#include "store/store.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <initializer_list>

using namespace qeltaro;

namespace {

const Category k1D{1, false};

struct Row {
    int idx;
    bool kill;
    QString code;
    std::optional<StoredStatistics> statistics;
};

std::vector<Row> tableRows(Store& store)
{
    std::vector<Row> rows;
    const auto all = FormulaTable(store, k1D).all();
    for (const StoredFormula& f : *all)
        rows.push_back({f.idx, isKill(f.kind), f.code, f.statistics});
    return rows;
}

struct Appended {
    Kind kind;
    const char* code;
    const char* text;  // null: no text
    int idx;
};

void append1D(Store& store, std::initializer_list<Appended> rows)
{
    FormulaTable table(store, k1D);
    for (const Appended& r : rows) {
        ASSERT_TRUE(table.append(r.kind, QString::fromUtf8(r.code), r.text ? QString::fromUtf8(r.text) : QString(), r.idx))
            << r.code;
    }
}

}  // namespace

TEST(StatisticsWriteBack, StoresTheListedKindAndRenumbersTheWholeTable)
{
    test::TempStore temp;
    // Kill and keep formulas interleaved, idx with gaps; one keep formula does not compile.
    append1D(temp.store(), {{Kind::Kill, "L5A", "个位", 3},
                            {Kind::Keep, "L5A", "个位", 7},
                            {Kind::Kill, "L4A", "十位", 10},
                            {Kind::Keep, "L5A MOD", "坏", 12},
                            {Kind::Keep, "L5A+1", "个位+1", 20}});
    ASSERT_TRUE(FormulaTable(temp.store(), k1D).writeStatistics(12, {50, 1, 1, 1, 0}));

    auto list = FormulaList::load(temp.store(), k1D, Kind::Keep);
    ASSERT_TRUE(list);
    ASSERT_EQ(list->size(), 3);
    list->selection().set(20, false);
    const HistoryColumns history(test::drawsOf({"11115", "22225", "33333", "44443"}));
    auto stats = runFullBacktest(temp.store(), *list, history, {0, true, false}, BacktestEngine(1));
    ASSERT_TRUE(stats) << stats.error().message.toStdString();

    const std::vector<Row> rows = tableRows(temp.store());
    ASSERT_EQ(rows.size(), 5u);
    for (int m = 0; m < 5; ++m)
        EXPECT_EQ(rows[size_t(m)].idx, m + 1);  // table order kept
    EXPECT_FALSE(rows[0].statistics);           // kill formulas untouched
    EXPECT_FALSE(rows[2].statistics);
    ASSERT_TRUE(rows[1].statistics);
    EXPECT_FLOAT_EQ(float(rows[1].statistics->rate), float(200.0 / 3.0));
    EXPECT_EQ(rows[1].statistics->maxMissRun, 1);
    EXPECT_EQ(rows[1].statistics->lastHitRun, 1);
    EXPECT_FALSE(rows[3].statistics);  // cannot be evaluated: its old statistics are gone
    ASSERT_TRUE(rows[4].statistics);
    EXPECT_EQ(rows[4].statistics->maxMissRun, 3);

    // The list, the selection and the statistics follow the new numbers.
    EXPECT_EQ(list->idxs(), (std::vector<int>{2, 4, 5}));
    EXPECT_TRUE(list->selection().isSelected(2));
    EXPECT_FALSE(list->selection().isSelected(5));
    EXPECT_EQ(stats->find(2)->next, QStringLiteral("3"));
    EXPECT_FALSE(stats->find(4)->evaluated());
    EXPECT_EQ(stats->find(5)->maxMissRun, 3);
    EXPECT_EQ(stats->find(20), nullptr);
}

TEST(StatisticsWriteBack, AnEmptyListStillRenumbersAndRepeatedIdxAreParted)
{
    test::TempStore temp;
    append1D(temp.store(), {{Kind::Kill, "L1A", nullptr, 4}, {Kind::Kill, "L2A", nullptr, 4}, {Kind::Kill, "L3A", nullptr, 9}});

    auto keep = FormulaList::load(temp.store(), k1D, Kind::Keep);
    ASSERT_TRUE(keep);
    EXPECT_TRUE(keep->empty());
    FormulaStatsTable none;
    ASSERT_TRUE(writeBackStatistics(temp.store(), *keep, none));
    std::vector<int> idxs;
    for (const Row& row : tableRows(temp.store()))
        idxs.push_back(row.idx);
    EXPECT_EQ(idxs, (std::vector<int>{1, 2, 3}));

    // Two formulas sharing an idx each get their own statistics once renumbered.
    ASSERT_TRUE(temp.store().database().exec(QStringLiteral("UPDATE Gongshi1D SET idx = 6")));
    auto kill = FormulaList::load(temp.store(), k1D, Kind::Kill);
    ASSERT_TRUE(kill);
    const HistoryColumns history(test::drawsOf({"12345", "54321"}));
    auto stats = runFullBacktest(temp.store(), *kill, history, {0, true, false}, BacktestEngine(1));
    ASSERT_TRUE(stats);
    EXPECT_EQ(kill->idxs(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(stats->find(1)->next, QStringLiteral("5"));
    EXPECT_EQ(stats->find(2)->next, QStringLiteral("4"));
    EXPECT_EQ(stats->find(3)->next, QStringLiteral("3"));
}

TEST(StatisticsWriteBack, RowsThatAlreadyHoldTheirValuesAreNotWritten)
{
    test::TempStore temp;
    append1D(temp.store(), {{Kind::Kill, "L5A", "个位", 5},
                            {Kind::Kill, "L5A MOD", "坏", 8},
                            {Kind::Keep, "L4A", "十位", 9},
                            {Kind::Kill, "L4A+1", "十位+1", 11}});
    Database& db = temp.store().database();
    ASSERT_TRUE(db.exec(QStringLiteral(
        "CREATE TEMP TABLE touched(n INTEGER); INSERT INTO touched VALUES (0); "
        "CREATE TEMP TRIGGER count_touched AFTER UPDATE ON main.Gongshi1D BEGIN UPDATE touched SET n = n + 1; END")));
    auto touched = [&] {
        const auto n = db.scalar(QStringLiteral("SELECT n FROM touched"));
        EXPECT_TRUE(n && *n);
        EXPECT_TRUE(db.exec(QStringLiteral("UPDATE touched SET n = 0")));
        return n && *n ? int(**n) : -1;
    };
    const HistoryColumns history(test::drawsOf({"11115", "22225", "33333", "44443"}));
    auto backtest = [&] {
        auto list = FormulaList::load(temp.store(), k1D, Kind::Kill);
        ASSERT_TRUE(list);
        ASSERT_TRUE(runFullBacktest(temp.store(), *list, history, {0, true, false}, BacktestEngine(1)));
    };

    backtest();
    EXPECT_EQ(touched(), 4);  // every idx renumbered, statistics of the kill formulas stored
    const std::vector<Row> first = tableRows(temp.store());
    backtest();
    EXPECT_EQ(touched(), 0);  // the same history gives the same values
    EXPECT_EQ(tableRows(temp.store()).size(), first.size());

    // A row whose values differ from the back-test's is written again, whatever field differs.
    ASSERT_TRUE(db.exec(QStringLiteral("UPDATE Gongshi1D SET intGsTrueLst = 7 WHERE idx = 1")));
    ASSERT_TRUE(db.exec(QStringLiteral("UPDATE Gongshi1D SET sglGsRate = 12.5 WHERE idx = 2")));
    ASSERT_TRUE(db.exec(QStringLiteral("UPDATE Gongshi1D SET idx = 4 WHERE idx = 3")));  // same order, other idx
    touched();
    backtest();
    EXPECT_EQ(touched(), 3);
    const std::vector<Row> restored = tableRows(temp.store());
    ASSERT_EQ(restored.size(), first.size());
    for (size_t m = 0; m < first.size(); ++m) {
        EXPECT_EQ(restored[m].idx, first[m].idx);
        EXPECT_EQ(restored[m].statistics.has_value(), first[m].statistics.has_value());
        if (restored[m].statistics && first[m].statistics) {
            EXPECT_EQ(restored[m].statistics->rate, first[m].statistics->rate);
            EXPECT_EQ(restored[m].statistics->lastHitRun, first[m].statistics->lastHitRun);
        }
    }
    EXPECT_FALSE(restored[1].statistics);  // the formula that cannot be evaluated stays empty
}
