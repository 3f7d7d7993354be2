#include "backtest/backtest_engine.h"
#include "domain/history_columns.h"
#include "domain/hit_rule.h"
#include "draw_builder.h"
#include "history/draw_history.h"
#include "language/column_evaluator.h"
#include "store/history_table.h"
#include "score_checks.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace qeltaro;
using qeltaro::test::drawsOf;

namespace {

const Category k1D{1, false};
const Category k3D{3, false};
const Category k3G{3, true};
const Category k5G{5, true};
const BacktestSettings kPlainAll{0, true, false};
const BacktestSettings kWeightedAll{0, true, true};

FormulaList listOf(Category category, bool kill, const QStringList& codes)
{
    FormulaList list(category, kindOfKillFlag(kill));
    int idx = 0;
    for (const QString& code : codes) {
        ++idx;
        list.append(idx, code, QStringLiteral("公式%1").arg(idx), kindOfKillFlag(kill));
    }
    return list;
}

FormulaStats only(const QString& code, bool kill, Category category, const HistoryColumns& history,
                  const BacktestSettings& settings)
{
    const FormulaStatsTable table = BacktestEngine(1).backtest(listOf(category, kill, {code}), history, settings);
    return table.at(0);
}

void expectSame(const FormulaStats& a, const FormulaStats& b, const std::string& what)
{
    test::expectSameScores(a, b, what);
    EXPECT_EQ(a.next, b.next) << what;
    EXPECT_EQ(a.error, b.error) << what;
}

std::vector<DrawRecord> sampleRows(int count)
{
    test::TempStore temp;
    EXPECT_TRUE(DrawHistory(temp.store()).importText(test::sampleHistoryLines(count)));
    return *HistoryTable(temp.store()).all();
}

// Sums and products of parameters spread over the catalogue, each formula different.
QStringList spreadFormulas(int count)
{
    QStringList codes;
    for (int i = 0; i < count; ++i)
        codes << QStringLiteral("%1+%2*%3+%4")
                     .arg(parameterCode(1 + i % kParameterCount), parameterCode(1 + (i * 37) % kParameterCount),
                          parameterCode(1 + (i * 53) % kParameterCount))
                     .arg(i % 10);
    return codes;
}

}  // namespace

TEST(BacktestEngine, RatesRunsAndNextDigit)
{
    // 个位 5, 5, 3, 3: "L5A" predicts the previous 个位, so a keep hits, misses, hits.
    const HistoryColumns history(drawsOf({"11115", "22225", "33333", "44443"}));
    struct Case {
        const char* code;
        bool kill;
        BacktestSettings settings;
        const char* rate;
        int maxMiss, maxHit, lastMiss, lastHit;
        const char* next;
    };
    const Case cases[] = {
        {"L5A", false, kPlainAll, "66.6667% (2/3)", 1, 1, 0, 1, "3"},
        // The newest row weighs most: (1 + 9) / (1 + 4 + 9).
        {"L5A", false, kWeightedAll, "71.4286% (10/14)", 1, 1, 0, 1, "3"},
        {"L5A", true, kPlainAll, "33.3333% (1/3)", 1, 1, 1, 0, "3"},
        {"L5A", true, kWeightedAll, "28.5714% (4/14)", 1, 1, 1, 0, "3"},
        // -13 predicts -3, which no draw holds: every kill hits, every keep misses.
        {"-13", true, kPlainAll, "100.0000% (3/3)", 0, 3, 0, 3, "-3"},
        {"-13", false, kPlainAll, "00.0000% (0/3)", 3, 0, 3, 0, "-3"},
        {"L5A*2+0.5", false, kPlainAll, "00.0000% (0/3)", 3, 0, 3, 0, "6"},  // 6.5 rounds to 6
        // Only the last two rows are scored with a window of 2.
        {"L5A", false, {2, true, false}, "50.0000% (1/2)", 1, 1, 0, 1, "3"},
        {"L5A", false, {2, false, false}, "66.6667% (2/3)", 1, 1, 0, 1, "3"},
    };
    for (const Case& c : cases) {
        const FormulaStats s = only(QString::fromUtf8(c.code), c.kill, k1D, history, c.settings);
        const std::string what = std::string(c.code) + (c.kill ? " kill" : " keep");
        EXPECT_EQ(rateText(s), QString::fromUtf8(c.rate)) << what;
        EXPECT_EQ(s.maxMissRun, c.maxMiss) << what;
        EXPECT_EQ(s.maxHitRun, c.maxHit) << what;
        EXPECT_EQ(s.lastMissRun, c.lastMiss) << what;
        EXPECT_EQ(s.lastHitRun, c.lastHit) << what;
        EXPECT_EQ(s.next, QString::fromUtf8(c.next)) << what;
        EXPECT_TRUE(s.evaluated()) << what;
    }
    EXPECT_FLOAT_EQ(only("L5A", false, k1D, history, kWeightedAll).rate, float(10.0 / 14.0 * 100.0));
}

TEST(BacktestEngine, DirectPlayTestsOnePositionGroupPlayTheLastThree)
{
    // Predicting 5 for a draw whose 百位 is 4 and 个位 5.
    const HistoryColumns history(drawsOf({"00000", "12495"}));
    struct Case {
        Category category;
        bool kill;
        long long hits;
    };
    const Case cases[] = {{k3D, true, 1}, {k3G, true, 0}, {k3D, false, 0}, {k3G, false, 1}};
    for (const Case& c : cases) {
        const FormulaStats s = only(QStringLiteral("5"), c.kill, c.category, history, kPlainAll);
        EXPECT_EQ(s.hitSum, c.hits) << c.category.suffix().toStdString() << (c.kill ? " kill" : " keep");
        EXPECT_EQ(s.totalSum, 1);
    }
}

TEST(BacktestEngine, RowsWithoutValueAreMissesAndBrokenFormulasAreReportedAlone)
{
    // 10 / L5A has no value on rows whose 个位 is 0: the next row is a miss for either kind.
    const HistoryColumns history(drawsOf({"11110", "22222", "33335", "44440"}));
    const FormulaList kill = listOf(k1D, true, {QStringLiteral("10/L5A"), QStringLiteral("L5A+"),
                                                QStringLiteral("L5A"), QStringLiteral("")});
    const FormulaStatsTable table = BacktestEngine(1).backtest(kill, history, kPlainAll);
    // Row 2 predicts from 0 (no value: miss); row 3 from 5 (10/2 = 5 vs 个位 5: miss);
    // row 4 from 2 (10/5 = 2 vs 0: hit). The newest row has no value: no next digit.
    EXPECT_EQ(rateText(table.at(0)), QStringLiteral("33.3333% (1/3)"));
    EXPECT_EQ(table.at(0).maxMissRun, 2);
    EXPECT_EQ(table.at(0).next, QString());
    for (int k : {1, 3}) {
        EXPECT_FALSE(table.at(k).evaluated()) << k;
        EXPECT_FALSE(table.at(k).error.isEmpty()) << k;
        EXPECT_EQ(table.at(k).totalSum, 0) << k;
        EXPECT_EQ(table.at(k).next, QString()) << k;
    }
    EXPECT_EQ(rateText(table.at(2)), QStringLiteral("100.0000% (3/3)"));

    const FormulaStatsTable keep = BacktestEngine(1).backtest(listOf(k1D, false, {QStringLiteral("10/L5A")}), history, kPlainAll);
    EXPECT_EQ(keep.at(0).hitSum, 1);  // only row 3 (5 vs 5)
}

TEST(BacktestEngine, ShortHistoriesScoreNothing)
{
    for (const auto& rows : {drawsOf({}), drawsOf({"12345"})}) {
        const HistoryColumns history(rows);
        const FormulaStats s = only(QStringLiteral("L1A"), true, k1D, history, kWeightedAll);
        EXPECT_EQ(rateText(s), QStringLiteral("00.0000% (0/0)"));
        EXPECT_EQ(s.scoredRows, 0);
        EXPECT_EQ(s.next, rows.empty() ? QString() : QStringLiteral("1"));
    }
}

TEST(BacktestEngine, WindowOfThousandRowsAgreesWithTheVerificationColumn)
{
    const HistoryColumns history(test::randomDraws(1000, 7));
    const FormulaList list = listOf(k3G, true, {QStringLiteral("L1A+L3B*2+QH")});
    const FormulaVerification column = BacktestEngine(1).verify(list, 0, 1, history).at(0);
    struct Case {
        BacktestSettings settings;
        int firstRow;  // 0-based
    };
    const Case cases[] = {{{300, true, false}, 700}, {{300, false, false}, 699}, {{0, true, false}, 1},
                          {{300, true, true}, 700}};
    for (const Case& c : cases) {
        const FormulaStats s = BacktestEngine(1).backtest(list, history, c.settings).at(0);
        long long hits = 0;
        long long total = 0;
        for (int r = c.firstRow, j = 1; r < 1000; ++r, ++j) {
            const long long weight = c.settings.weightedRate ? (long long)j * j : 1;
            total += weight;
            hits += column.hitAt(r) ? weight : 0;
        }
        EXPECT_EQ(s.scoredRows, 1000 - c.firstRow);
        EXPECT_EQ(s.totalSum, total);
        EXPECT_EQ(s.hitSum, hits);

        // The engine evaluates the window's rows only: the same runs and next digit as scoring
        // the values of every row.
        std::vector<double> every;
        ColumnEvaluator().evaluate(*list.at(0).compiled, history, every);
        FormulaStats full;
        BacktestContext(history, k3G, c.settings).score(every.data(), Kind::Kill, full);
        full.next = QString::number(predictedDigit(every.back()));
        expectSame(s, full, std::to_string(c.firstRow));
    }
}

TEST(BacktestEngine, ResultsDoNotDependOnTheNumberOfThreads)
{
    const HistoryColumns history(sampleRows(1200));
    FormulaList list = listOf(k5G, true, spreadFormulas(700));
    list.append(701, QStringLiteral("L1A MOD"), QString(), Kind::Kill);
    for (int idx = 1; idx <= 701; idx += 3)
        list.selection().set(idx, false);
    const FormulaStatsTable one = BacktestEngine(1).backtest(list, history, kWeightedAll);
    for (int threads : {2, 5}) {
        const FormulaStatsTable many = BacktestEngine(threads).backtest(list, history, kWeightedAll);
        ASSERT_EQ(many.size(), one.size());
        for (int k = 0; k < one.size(); ++k)
            expectSame(many.at(k), one.at(k), list.at(k).code.toStdString());
    }
    EXPECT_EQ(one.at(0).next, QString());  // idx 1 is not selected
    EXPECT_FALSE(one.at(1).next.isEmpty());
}

TEST(BacktestEngine, NextDigitOnlyForSelectedFormulas)
{
    const auto rows = drawsOf({"12345", "67890", "13579"});
    const HistoryColumns history(rows);
    FormulaList list = listOf(k1D, true, {QStringLiteral("L5A"), QStringLiteral("L4A"), QStringLiteral("L3A")});
    const FormulaStatsTable first = BacktestEngine(1).backtest(list, history, kPlainAll);
    EXPECT_EQ(first.find(2)->next, QStringLiteral("7"));

    list.selection().set(2, false);
    list.selection().set(3, false);
    // On the same newest row an unselected formula keeps the digit it had; without a previous
    // table, or after a new draw, it has none.
    const FormulaStatsTable again = BacktestEngine(1).backtest(list, history, kPlainAll, &first);
    EXPECT_EQ(again.find(1)->next, QStringLiteral("9"));
    EXPECT_EQ(again.find(2)->next, QStringLiteral("7"));
    EXPECT_EQ(BacktestEngine(1).backtest(list, history, kPlainAll).find(2)->next, QString());
    const HistoryColumns longer(drawsOf({"12345", "67890", "13579", "24680"}));
    EXPECT_EQ(BacktestEngine(1).backtest(list, longer, kPlainAll, &first).find(2)->next, QString());
    EXPECT_EQ(BacktestEngine(1).backtest(list, longer, kPlainAll, &first).find(1)->next, QStringLiteral("0"));
}

TEST(BacktestEngine, PageAndQuietBacktestsTouchOnlyTheirShare)
{
    const HistoryColumns history(drawsOf({"11115", "22225", "33333", "44443"}));
    const FormulaList list = listOf(k1D, false, {QStringLiteral("L5A"), QStringLiteral("L5A+1"), QStringLiteral("L5A+2")});
    const BacktestEngine engine(1);
    FormulaStatsTable table(list.idxs());
    table.at(0).maxMissRun = 77;
    table.at(2).maxMissRun = 88;
    engine.backtestPage(list, 1, 1, history, kPlainAll, table);
    EXPECT_EQ(table.at(0).maxMissRun, 77);
    EXPECT_EQ(table.at(2).maxMissRun, 88);
    EXPECT_EQ(table.at(1).totalSum, 3);
    engine.backtestPage(list, 2, 500, history, kPlainAll, table);  // clipped to the list
    EXPECT_EQ(table.at(2).totalSum, 3);

    FormulaStatsTable quiet(list.idxs());
    quiet.at(0).maxMissRun = 5;
    quiet.at(0).rate = 12.5f;
    engine.backtestQuiet(list, history, kPlainAll, quiet);
    EXPECT_EQ(quiet.at(0).maxMissRun, 5);
    EXPECT_EQ(quiet.at(0).rate, 12.5f);
    EXPECT_EQ(quiet.at(0).lastHitRun, 1);
    EXPECT_EQ(quiet.at(0).text, QStringLiteral("公式1"));
    EXPECT_EQ(quiet.at(0).next, QStringLiteral("3"));
    EXPECT_EQ(quiet.at(1).next, QStringLiteral("4"));
}

TEST(BacktestEngine, VerificationCellsOnTheNextOrTheCurrentRow)
{
    const HistoryColumns history(drawsOf({"11115", "22225", "33333", "44443"}));
    const FormulaList list = listOf(k1D, false, {QStringLiteral("L5A"), QStringLiteral("L5A/(L5A-5)"), QStringLiteral("+")});
    const auto columns = BacktestEngine(1).verify(list, 0, 3, history);
    ASSERT_EQ(columns.size(), 3u);
    using M = VerificationMark;
    struct Case {
        int formula;
        int row;
        bool onCurrentRow;
        const char* text;
        M mark;
    };
    const Case cases[] = {
        {0, 0, false, "", M::None}, {0, 1, false, "5", M::Hit}, {0, 2, false, "5", M::Miss},
        {0, 3, false, "3", M::Hit}, {0, 0, true, "5", M::Hit},  {0, 1, true, "5", M::Miss},
        {0, 2, true, "3", M::Hit},  {0, 3, true, "3", M::None},
        // No value on rows whose 个位 is 5: blank, and the row after it a miss.
        {1, 1, false, "", M::Miss}, {1, 3, false, "-2", M::Miss}, {1, 2, true, "-2", M::Miss},
        // A formula that does not compile has an empty column.
        {2, 1, false, "", M::None}, {2, 1, true, "", M::None},
    };
    for (const Case& c : cases) {
        const VerificationCell cell = columns[size_t(c.formula)].cell(c.row, c.onCurrentRow);
        EXPECT_EQ(cell.text, QString::fromUtf8(c.text)) << c.formula << "/" << c.row << "/" << c.onCurrentRow;
        EXPECT_EQ(cell.mark, c.mark) << c.formula << "/" << c.row << "/" << c.onCurrentRow;
    }
}

TEST(BacktestEngine, FastDigitAgreesWithThePredictedDigit)
{
    std::vector<double> values = {0, -0.0, 0.5, 1.5, 2.5, -2.5, 12.5, 13.5, -13, 17, 9.4999999, -0.5, 1e9 + 0.5,
                                  2147483646.5, -2147483646.5, 2147483647.0, 4e9 + 7, 1e17 + 3, -1e300, NAN, INFINITY};
    std::mt19937 random(3);
    std::uniform_real_distribution<double> any(-1e6, 1e6);
    for (int i = 0; i < 10000; ++i) {
        values.push_back(any(random));
        values.push_back(std::round(any(random)) + 0.5);
    }
    for (double v : values) {
        const int expected = predictedDigit(v);
        EXPECT_EQ(BacktestContext::digitCode(v), expected == kNoDigit ? BacktestContext::kNoValueCode : expected + 9) << v;
    }
}

TEST(BacktestEngine, HitFlagsFollowTheSharedHitRule)
{
    // Values that predict every digit -9..9 and none, against every category.
    const auto rows = test::randomDraws(300, 5);
    const HistoryColumns history(rows);
    const QString code = QStringLiteral("L1A*3-L2A*2-L3A+L4A/(L5A-4)");
    ColumnEvaluator evaluator;
    std::vector<double> values;
    evaluator.evaluate(*compileFormula(code), history, values);
    for (const Category& category : Category::all()) {
        for (bool kill : {true, false}) {
            FormulaList list(category, kindOfKillFlag(kill));
            list.append(1, code, QString(), kindOfKillFlag(kill));
            const FormulaVerification column = BacktestEngine(1).verify(list, 0, 1, history).at(0);
            const auto positions = testedPositions(category);
            for (int r = 1; r < history.rowCount(); ++r) {
                EXPECT_EQ(column.hitAt(r), isHit(kindOfKillFlag(kill), predictedDigit(values[size_t(r) - 1]), history.digits(r), positions))
                    << category.suffix().toStdString() << " row " << r;
            }
        }
    }
}
