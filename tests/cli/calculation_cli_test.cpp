#include "aggregate/err_counts.h"
#include "calculation_fixtures.h"
#include "test_support.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace qeltaro;
using qeltaro::test::runCli;

namespace {

class CalculationCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::storeDraws(temp.store(), test::drawsOf({"12345", "67890", "24680", "13579"}));
        test::storeFormulas(temp.store(), {1, false}, {{"L5A", StoredStatistics{50, 1, 1, 0, 1}}});
        test::storeFormulas(temp.store(), {2, false}, {{"L4A+1", StoredStatistics{50, 1, 1, 0, 1}}});
        test::storeFormulas(temp.store(), {3, false},
                            {{"L3A", StoredStatistics{40, 1, 1, 0, 1}},
                             {"L3A+L5A", StoredStatistics{90, 1, 1, 0, 1}},
                             {"(L5A MOD 3)+L2A+7", StoredStatistics{60, 1, 1, 0, 1}}});
        temp.close();
    }

    QJsonDocument json(const QStringList& arguments)
    {
        auto r = runCli(temp, QStringList{"--json"} + arguments);
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        return QJsonDocument::fromJson(r.out.toUtf8());
    }

    test::TempStore temp;
};

// -1 when the answer lacks the slot or digit (a refused command), so the test reports it.
int total(const QJsonObject& counts, const char* slot, int digit)
{
    return counts.value(QLatin1String(slot)).toArray().at(digit).toObject().value(QLatin1String("total")).toInt(-1);
}

}  // namespace

TEST_F(CalculationCli, CalcCountsEverySlotAndDescribesTheWindow)
{
    const QJsonObject doc = json({"calc", "--category", "3D", "--kind", "kill", "--method", "selected"}).object();
    EXPECT_EQ(doc["period"].toString(), "160121005");
    const QJsonObject counts = doc["slots"].toObject();
    EXPECT_EQ(counts.keys(), (QStringList{"1", "2", "3"}));
    // 13579: L5A 9; L4A+1 = 8; L3A 5, L3A+L5A 14, (9 MOD 3)+3+7 = 10.
    EXPECT_EQ(total(counts, "1", 9), 1);
    EXPECT_EQ(total(counts, "2", 8), 1);
    EXPECT_EQ(total(counts, "3", 5), 1);
    EXPECT_EQ(total(counts, "3", 4), 1);
    EXPECT_EQ(total(counts, "3", 0), 1);
    const QJsonObject digit0 = counts["3"].toArray()[0].toObject();
    EXPECT_EQ(digit0["kill"].toInt(), 1);
    EXPECT_EQ(digit0["keep"].toInt(), 0);
    EXPECT_EQ(digit0["digit"].toInt(), 0);

    const QJsonArray window = doc["window"].toArray();
    ASSERT_EQ(window.size(), 3);
    const QJsonObject tab3 = window[2].toObject();
    EXPECT_EQ(tab3["caption"].toString(), "3星");
    const QJsonArray rows = tab3["rows"].toArray();
    ASSERT_EQ(rows.size(), 10);
    EXPECT_EQ(rows[0].toObject()["verdict"].toString(), "保留");
    EXPECT_EQ(rows[0].toObject()["colour"].toString(), "#000000");
    EXPECT_EQ(rows[9].toObject()["digit"].toInt(), 5);
    EXPECT_EQ(rows[9].toObject()["verdict"].toString(), "滤杀");
    EXPECT_EQ(rows[9].toObject()["colour"].toString(), "#00ff00");
    const QJsonArray statistics = tab3["statistics"].toArray();
    ASSERT_EQ(statistics.size(), 2);
    EXPECT_EQ(statistics[0].toObject()["digits"].toInt(), 7);
    EXPECT_EQ(statistics[1].toObject()["list"].toString(), "0 4 5 ");

    // The staging table holds the slot shown last.
    temp.reopen();
    auto shown = readErrCounts(temp.store(), ErrCountTable::ShownCounts);
    ASSERT_TRUE(shown);
    EXPECT_EQ((*shown)[4].total, 1);
    EXPECT_EQ((*shown)[8].total, 0);
}

TEST_F(CalculationCli, CalcByTheBestFormulasAndForAPastPeriod)
{
    // Quota 9 kills one digit: the best 三星 formula by rate is L3A+L5A.
    QJsonObject counts = json({"calc", "--category", "3D", "--kind", "kill", "--method", "best", "--quota", "9"})
                            .object()["slots"].toObject();
    EXPECT_EQ(total(counts, "3", 4), 1);
    EXPECT_EQ(total(counts, "3", 5), 0);
    counts = json({"calc", "--category", "3D", "--kind", "kill", "--method", "best", "--quota", "9", "--sort",
                  "sglGsRate:asc,intGsTrueCon,intGsTrueLst"})
                .object()["slots"].toObject();
    EXPECT_EQ(total(counts, "3", 5), 1);
    EXPECT_EQ(total(counts, "3", 4), 0);
    // The same order in the sort dialog's words, which the text output repeats.
    counts = json({"calc", "--category", "3D", "--kind", "kill", "--method", "best", "--quota", "9", "--sort",
                  "正确率 从小到大，最大连对，最后连对"})
                .object()["slots"].toObject();
    EXPECT_EQ(total(counts, "3", 5), 1);
    EXPECT_EQ(total(counts, "3", 4), 0);
    auto sorted = runCli(temp, {"calc", "--category", "3D", "--kind", "kill", "--method", "best", "--sort",
                                "sglGsRate:asc,intGsErrLst,intGsTrueLst"});
    EXPECT_TRUE(sorted.out.contains("（排序：正确率 从小到大，最后连错 从小到大，最后连对 从大到小；保留个数限额3）"))
        << sorted.out.toStdString();
    EXPECT_FALSE(sorted.out.contains("sglGsRate")) << sorted.out.toStdString();

    // 160121003 is predicted from 67890: L3A 8, L3A+L5A 8, (0 MOD 3)+7+7 = 14.
    const QJsonObject past = json({"calc", "--category", "3D", "--kind", "kill", "--method", "selected", "--period",
                                   "160121003", "--select", "1,3"}).object();
    EXPECT_EQ(past["period"].toString(), "160121003");
    EXPECT_EQ(total(past["slots"].toObject(), "3", 8), 1);
    EXPECT_EQ(total(past["slots"].toObject(), "3", 4), 1);

    // Without --method the JSFF setting decides: False is the best-formula method.
    auto text = runCli(temp, {"calc", "--category", "3D", "--kind", "kill"});
    EXPECT_TRUE(text.out.contains("最优公式法")) << text.out.toStdString();
    ASSERT_EQ(runCli(temp, {"settings", "set", "JSFF", "True"}).exitCode, 0);
    text = runCli(temp, {"calc", "--category", "3D", "--kind", "kill"});
    EXPECT_TRUE(text.out.contains("计算选中公式")) << text.out.toStdString();
    EXPECT_TRUE(text.out.contains("滤杀"));
}

TEST_F(CalculationCli, BadCalculationInputGetsAMessageAndChangesNothing)
{
    const struct {
        QStringList arguments;
        int exitCode;
        const char* message;
    } cases[] = {
        {{"--method", "random"}, 1, "未知计算方法"},
        {{"--period", "160121001"}, 1, "第一期"},
        {{"--period", "160121099"}, 1, "没有第160121099期"},
        {{"--quota", "12"}, 1, "保留个数限额"},
        {{"--sort", "sglGsRate,bogus,intGsTrueLst"}, 1, "未知排序键“bogus”"},
        {{"--select", "1,x"}, 1, "选中公式“x”无效"},
        {{"--select", "4"}, 1, "没有序号为4的公式"},
        {{"--kind", "maybe"}, 1, "未知公式种类"},
    };
    for (const auto& c : cases) {
        QStringList arguments = {"calc", "--category", "3D"};
        if (!c.arguments.contains("--kind"))
            arguments << "--kind" << "kill";
        auto r = runCli(temp, arguments + c.arguments);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.message))) << r.err.toStdString();
    }
    EXPECT_EQ(runCli(temp, {"calc", "--category", "3D"}).exitCode, 2);
    temp.reopen();
    EXPECT_EQ(*readErrCounts(temp.store(), ErrCountTable::ShownCounts), ErrCounts{});
}

TEST_F(CalculationCli, ReplayRanksEveryPeriodAndListsThePositions)
{
    const QJsonArray periods = json({"replay", "--category", "3D", "--kind", "kill"}).array();
    ASSERT_EQ(periods.size(), 4);
    const QJsonObject last = periods[3].toObject();
    EXPECT_EQ(last["period"].toString(), "160121004");
    EXPECT_EQ(last["digits"].toString(), "13579");
    const QJsonArray ranking = last["ranking"].toArray();
    ASSERT_EQ(ranking.size(), 10);
    EXPECT_EQ(ranking[0].toObject()["digit"].toInt(), 1);
    EXPECT_EQ(ranking[0].toObject()["count"].toInt(), 0);
    EXPECT_EQ(ranking[9].toObject()["count"].toInt(), 1);

    // Errarr keeps the last period's tallies: 5, 4 and 0 named once.
    temp.reopen();
    auto tallies = readErrCounts(temp.store(), ErrCountTable::ReplayTallies);
    ASSERT_TRUE(tallies);
    EXPECT_EQ((*tallies)[5], (ErrCount{1, 1, 0}));
    EXPECT_EQ((*tallies)[0], (ErrCount{1, 1, 0}));
    temp.close();

    auto list = runCli(temp, {"replay", "--category", "3D", "--kind", "kill", "--position", "3", "--select", "1"});
    ASSERT_EQ(list.exitCode, 0) << list.err.toStdString();
    const QStringList lines = list.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 5);  // header, three periods and the rank summary
    EXPECT_TRUE(lines[4].contains(QStringLiteral("卡方检验"))) << lines[4].toStdString();
    EXPECT_TRUE(lines[0].startsWith("期号\t开奖结果\t排位名次\tErr值\t总位次\t位次\t位码数\t排列1"));
    // 12345 names 3 (L3A); 160121002 draws 百位 8: nine digits at 0, 8 at rank 8.
    EXPECT_TRUE(lines[1].startsWith("160121002\t8\t8\t0\t2\t1\t9\t")) << lines[1].toStdString();

    const QJsonObject answer = json({"replay", "--category", "3D", "--kind", "kill", "--position", "3"}).object();
    const QJsonArray rows = answer["rows"].toArray();
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0].toObject()["levels"].toInt(), 2);
    // The drawn digit's ranks over the list, one per period, and their test against 10% each.
    const QJsonArray histogram = answer["rank_histogram"].toArray();
    ASSERT_EQ(histogram.size(), 10);
    int counted = 0;
    for (const QJsonValue& v : histogram)
        counted += v.toInt();
    EXPECT_EQ(counted, 3);
    EXPECT_GT(answer["p_value"].toDouble(), 0);
    EXPECT_LE(answer["p_value"].toDouble(), 1);

    auto bad = runCli(temp, {"replay", "--category", "3D", "--kind", "kill", "--position", "6"});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_TRUE(bad.err.contains("码位6无效"));
}

TEST_F(CalculationCli, BreakdownPrintsTheCalculationHistory)
{
    auto r = runCli(temp, {"breakdown", "--category", "3D", "--kind", "kill", "--idx", "3"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList lines = r.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[0], "期号\t当期号码\t公式(L5A MOD 3)+L2A+7\t计算值(算下期)");
    EXPECT_EQ(lines[1], "160121001\t12345\t2+2+7\t11");
    EXPECT_EQ(lines[4], "160121004\t13579\t0+3+7\t10");

    const QJsonObject doc = json({"breakdown", "--category", "3D", "--kind", "kill", "--idx", "1"}).object();
    EXPECT_TRUE(doc["termwise"].toBool());
    EXPECT_EQ(doc["rows"].toArray()[1].toObject()["value"].toString(), "8");

    auto missing = runCli(temp, {"breakdown", "--category", "3D", "--kind", "keep", "--idx", "1"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains("三星直选留码公式中没有idx为1的公式")) << missing.err.toStdString();
}
