#include "backtest/backtest_engine.h"
#include "domain/chance_statistics.h"
#include "history/draw_history.h"
#include "store/formula_table.h"
#include "store/history_table.h"
#include "store_snapshot.h"
#include "test_support.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

using namespace qeltaro;
using qeltaro::test::runCli;
using qeltaro::test::TempStore;

namespace {

const Category k2G{2, true};

// 300 sample draws; in 2G two kill formulas, one that does not compile, and a keep formula,
// with gaps in idx.
void fill(TempStore& temp)
{
    ASSERT_TRUE(DrawHistory(temp.store()).importText(test::sampleHistoryLines(300)));
    FormulaTable table(temp.store(), k2G);
    ASSERT_TRUE(table.append(Kind::Kill, QStringLiteral("L5A+L4A+3"), QStringLiteral("个位码+十位码+3"), 5));
    ASSERT_TRUE(table.append(Kind::Keep, QStringLiteral("LH"), QStringLiteral("和数"), 6));
    ASSERT_TRUE(table.append(Kind::Kill, QStringLiteral("L1A MOD"), QStringLiteral("坏"), 8));
    ASSERT_TRUE(table.append(Kind::Kill, QStringLiteral("L1A*L2A-LT"), QStringLiteral("万位码*千位码-跨度"), 11));
    temp.close();
}

QJsonArray jsonArray(const test::CliResult& r)
{
    return QJsonDocument::fromJson(r.out.toUtf8()).array();
}

}  // namespace

TEST(BacktestCli, WritesBackAndPrintsWhatTheEngineComputes)
{
    TempStore temp;
    fill(temp);
    auto r = runCli(temp, {"--json", "backtest", "--category", "2G", "--kind", "kill"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonArray rows = jsonArray(r);
    ASSERT_EQ(rows.size(), 3);

    // The default settings: the newest 300 periods excluding none beyond them, weighted.
    temp.reopen();
    auto list = FormulaList::load(temp.store(), k2G, Kind::Kill);
    ASSERT_TRUE(list);
    EXPECT_EQ(list->idxs(), (std::vector<int>{1, 3, 4}));  // renumbered over the whole table
    const HistoryColumns history(*HistoryTable(temp.store()).all());
    const FormulaStatsTable expected = BacktestEngine(1).backtest(*list, history, {300, true, true});
    const char* const fields[] = {"idx", "code", "text", "rate", "hits", "total", "max_miss", "max_hit", "last_miss", "last_hit", "next"};
    for (int k = 0; k < 3; ++k) {
        const QJsonObject row = rows[k].toObject();
        for (const char* field : fields)
            EXPECT_TRUE(row.contains(QLatin1String(field))) << field;
        const FormulaStats& s = expected.at(k);
        EXPECT_EQ(row["idx"].toInt(), list->at(k).idx);
        EXPECT_EQ(row["code"].toString(), list->at(k).code);
        EXPECT_EQ(row["text"].toString(), list->at(k).text);
        EXPECT_DOUBLE_EQ(row["rate"].toDouble(), std::round(double(s.rate) * 10000) / 10000);
        EXPECT_EQ(row["hits"].toInteger(), s.hitSum);
        EXPECT_EQ(row["total"].toInteger(), s.totalSum);
        EXPECT_EQ(row["max_miss"].toInt(), s.maxMissRun);
        EXPECT_EQ(row["max_hit"].toInt(), s.maxHitRun);
        EXPECT_EQ(row["last_miss"].toInt(), s.lastMissRun);
        EXPECT_EQ(row["last_hit"].toInt(), s.lastHitRun);
        EXPECT_EQ(row["next"].toString(), s.next);
    }
    EXPECT_EQ(rows[0].toObject()["total"].toInteger(), 299LL * 300 * 599 / 6);  // rows 2..300, j squared
    EXPECT_TRUE(rows[1].toObject()["error"].toString().contains(QStringLiteral("MOD")));
    EXPECT_EQ(rows[1].toObject()["next"].toString(), QString());
    EXPECT_FALSE(rows[2].toObject().contains("error"));

    const auto stored = FormulaTable(temp.store(), k2G).all();
    ASSERT_TRUE(stored);
    ASSERT_EQ(stored->size(), 4u);
    ASSERT_TRUE((*stored)[0].statistics);
    EXPECT_EQ(float((*stored)[0].statistics->rate), expected.at(0).rate);
    EXPECT_EQ((*stored)[0].statistics->maxMissRun, expected.at(0).maxMissRun);
    EXPECT_FALSE((*stored)[1].statistics);  // the keep formula was not listed
    EXPECT_FALSE((*stored)[2].statistics);  // cannot be evaluated
    EXPECT_EQ((*stored)[3].idx, 4);
}

TEST(BacktestCli, WindowAndWeightingOptions)
{
    TempStore temp;
    fill(temp);
    struct Case {
        QStringList options;
        int total;
    };
    const Case cases[] = {
        {{"--window", "all", "--plain"}, 299},
        {{"--window", "100", "--plain"}, 100},
        {{"--window", "100", "--plain", "--include-current"}, 101},
        {{"--window", "1000", "--plain", "--exclude-current"}, 299},
        {{"--window", "2", "--weighted"}, 1 + 4},
    };
    for (const Case& c : cases) {
        auto r = runCli(temp, QStringList{"--json", "backtest", "--category", "2G", "--kind", "keep"} + c.options);
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_EQ(jsonArray(r)[0].toObject()["total"].toInt(), c.total) << c.options.join(u' ').toStdString();
    }

    // The settings store decides when no option is given.
    auto set = runCli(temp, {"settings", "set", "ZqlJq", "False"});
    ASSERT_EQ(set.exitCode, 0);
    auto r = runCli(temp, {"--json", "backtest", "--category", "2G", "--kind", "keep"});
    EXPECT_EQ(jsonArray(r)[0].toObject()["total"].toInt(), 299);

    r = runCli(temp, {"backtest", "--category", "2G", "--kind", "kill", "--window", "50"});
    ASSERT_EQ(r.exitCode, 0);
    const QStringList lines = r.out.trimmed().split(u'\n');
    ASSERT_EQ(lines.size(), 5);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("序号\t公式\t计算值\t正确率\t")));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("1\t个位码+十位码+3\t"))) << lines[1].toStdString();
    EXPECT_TRUE(lines[1].contains(QStringLiteral("/50)")));
    EXPECT_TRUE(lines[2].contains(QStringLiteral("无法计算")));
    EXPECT_TRUE(lines[4].startsWith(QStringLiteral("二星组选杀公式3条，第141101011期至第141101060期，共50期")))
        << lines[4].toStdString();
}

TEST(BacktestCli, FilterKeepsTheFormulasInsideTheBoundsAndStoresNothing)
{
    TempStore temp;
    fill(temp);
    auto r = runCli(temp, {"filter", "--category", "2G", "--kind", "kill", "--bounds", "0,100,0,300,0,300,0,300,0,300"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.trimmed(), QStringLiteral("过滤后公式剩余2条"));

    r = runCli(temp, {"--json", "filter", "--category", "2G", "--kind", "kill", "--bounds", "0,100,0,300,0,300,0,300,0,0"});
    ASSERT_EQ(r.exitCode, 0);
    const QJsonObject answer = QJsonDocument::fromJson(r.out.toUtf8()).object();
    const int remaining = answer["remaining"].toInt();
    EXPECT_LE(remaining, 2);
    EXPECT_EQ(answer["selected"].toArray().size(), remaining);
    for (const auto& idx : answer["selected"].toArray())
        EXPECT_TRUE(idx.toInt() == 5 || idx.toInt() == 11) << idx.toInt();

    temp.reopen();
    const auto stored = FormulaTable(temp.store(), k2G).all();
    ASSERT_TRUE(stored);
    EXPECT_FALSE((*stored)[0].statistics);
    EXPECT_EQ((*stored)[0].idx, 5);
}

TEST(BacktestCli, BadInputIsRefusedWithAMessage)
{
    TempStore temp;
    fill(temp);
    struct Case {
        QStringList arguments;
        int exitCode;
        const char* message;
    };
    const Case cases[] = {
        {{"backtest", "--category", "1G", "--kind", "kill"}, 1, "未知类别"},
        {{"backtest", "--category", "2G", "--kind", "both"}, 1, "未知公式种类"},
        {{"backtest", "--category", "2G", "--kind", "kill", "--window", "0"}, 1, "--window"},
        {{"backtest", "--category", "2G", "--kind", "kill", "--window", "abc"}, 1, "--window"},
        {{"backtest", "--category", "2G", "--kind", "kill", "--plain", "--weighted"}, 2, ""},
        {{"backtest", "--category", "2G"}, 2, ""},
        {{"filter", "--category", "2G", "--kind", "kill", "--bounds", "0,100"}, 1, "10个数"},
        {{"filter", "--category", "2G", "--kind", "kill", "--bounds", "0,100,x,1,1,1,1,1,1,1"}, 1, "最大连错下限"},
    };
    for (const Case& c : cases) {
        auto r = runCli(temp, c.arguments);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.arguments.join(u' ').toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.message))) << r.err.toStdString();
    }
    temp.reopen();
    const auto stored = FormulaTable(temp.store(), k2G).all();
    EXPECT_EQ((*stored)[0].idx, 5);  // nothing was written
}

TEST(BacktestCli, ReportsEachFormulaAgainstChance)
{
    // A planted history: 个位 alternates 3, 8, 3, 8 ... so "L5A" (kill the last 个位) always hits,
    // while the other digits are seeded noise.
    qeltaro::test::TempStore temp;
    temp.close();
    QString lines;
    std::mt19937 random(11);
    auto period = qeltaro::PeriodNumber::parse(QStringLiteral("160101001"), qeltaro::Game{});
    std::vector<int> tenThousands;
    for (int i = 0; i < 360; ++i) {
        tenThousands.push_back(int(random() % 10));
        lines += QStringLiteral("%1 %2%3%4%5%6\n").arg(period->text(qeltaro::Game{})).arg(tenThousands.back())
                     .arg(random() % 10).arg(random() % 10).arg(random() % 10).arg(i % 2 ? 8 : 3);
        period = period->next(qeltaro::Game{});
    }
    qeltaro::test::writeFile(temp.path(QStringLiteral("planted.txt")), lines.toUtf8());
    ASSERT_EQ(runCli(temp, {"history", "import", temp.path(QStringLiteral("planted.txt"))}).exitCode, 0);
    ASSERT_EQ(runCli(temp, {"formula", "add", "个位码=下期杀一星直选"}).exitCode, 0);
    ASSERT_EQ(runCli(temp, {"formula", "add", "千位码=下期杀一星直选"}).exitCode, 0);
    // Negative on every row (个位 is 3 or 8): it never names a digit that can be drawn, so it
    // "kills" on every row and carries no evidence at all.
    ASSERT_EQ(runCli(temp, {"formula", "add", "0-个位码-1=下期杀一星直选"}).exitCode, 0);
    // Names 0 only after a 万位 of 9 (-10 % 10 = 0); 个位 is never 0, so those rows all hit.
    ASSERT_EQ(runCli(temp, {"formula", "add", "0-万位码-1=下期杀一星直选"}).exitCode, 0);
    const auto r = runCli(temp, {"--json", "backtest", "--category", "1D", "--kind", "kill", "--window", "all", "--plain"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonArray rows = QJsonDocument::fromJson(r.out.toUtf8()).array();
    ASSERT_EQ(rows.size(), 4);
    const QJsonObject silent = rows[2].toObject();
    EXPECT_DOUBLE_EQ(silent["rate"].toDouble(), 100.0);
    EXPECT_FALSE(silent["beats_chance"].toBool());
    for (const char* figure : {"lift", "p_value", "p_max_hit", "p_max_miss"})
        EXPECT_FALSE(silent.contains(QLatin1String(figure))) << figure;
    // Its evidence, counted by hand: the rows after a 万位 of 9, every one a hit.
    const int nines = int(std::count(tenThousands.begin(), tenThousands.end() - 1, 9));
    const QJsonObject rare = rows[3].toObject();
    EXPECT_GT(rare["rate"].toDouble(), 99.0);
    EXPECT_NEAR(rare["lift"].toDouble(), 10.0, 1e-9);
    EXPECT_DOUBLE_EQ(rare["p_value"].toDouble(), binomialTwoSidedPValue(nines, nines, 0.9));
    EXPECT_FALSE(rare["beats_chance"].toBool());
    const QJsonObject planted = rows[0].toObject();
    EXPECT_DOUBLE_EQ(planted["chance"].toDouble(), 90.0);
    EXPECT_NEAR(planted["lift"].toDouble(), 10.0, 1e-9);
    EXPECT_TRUE(planted["beats_chance"].toBool());
    EXPECT_LT(planted["p_value"].toDouble(), 1e-10);
    EXPECT_LT(planted["p_max_hit"].toDouble(), 1e-6);
    const QJsonObject noise = rows[1].toObject();
    EXPECT_FALSE(noise["beats_chance"].toBool());
    EXPECT_GT(noise["p_value"].toDouble(), 0.001);

    // Held out: statistics on the 240 periods before, then the newest 120 scored on their own;
    // nothing is stored.
    temp.reopen();
    const QString before = test::storeSnapshot(temp.store());
    temp.close();
    const auto held = runCli(temp, {"--json", "backtest", "--category", "1D", "--kind", "kill", "--window", "all",
                                    "--plain", "--holdout", "120"});
    ASSERT_EQ(held.exitCode, 0) << held.err.toStdString();
    const QJsonObject answer = QJsonDocument::fromJson(held.out.toUtf8()).object();
    EXPECT_EQ(answer["holdout_periods"].toInt(), 120);
    const QJsonArray formulas = answer["formulas"].toArray();
    ASSERT_EQ(formulas.size(), 4);
    const QJsonObject silentOut = formulas[2].toObject()["holdout"].toObject();
    EXPECT_EQ(silentOut["trials"].toInt(), 0);
    EXPECT_FALSE(silentOut.contains(QStringLiteral("p_value")));
    EXPECT_EQ(formulas[0].toObject()["total"].toDouble(), 239.0);
    const QJsonObject plantedOut = formulas[0].toObject()["holdout"].toObject();
    EXPECT_EQ(plantedOut["hits"].toInt(), 120);
    EXPECT_EQ(plantedOut["trials"].toInt(), 120);
    EXPECT_TRUE(plantedOut["beats_chance"].toBool());
    EXPECT_FALSE(formulas[1].toObject()["holdout"].toObject()["beats_chance"].toBool());
    temp.reopen();
    EXPECT_EQ(test::storeSnapshot(temp.store()), before);
    temp.close();

    const auto text = runCli(temp, {"backtest", "--category", "1D", "--kind", "kill", "--holdout", "120"});
    EXPECT_TRUE(text.out.contains(QStringLiteral("4条公式中1条在留出期高于随机"))) << text.out.toStdString();
    const auto tooMany = runCli(temp, {"backtest", "--category", "1D", "--kind", "kill", "--holdout", "359"});
    EXPECT_EQ(tooMany.exitCode, 1);
    EXPECT_TRUE(tooMany.err.contains(QStringLiteral("留出359期后只剩1期历史"))) << tooMany.err.toStdString();
}
