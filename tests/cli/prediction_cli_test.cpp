// qeltaro-cli journal and walkforward as a user runs them.

#include "calculation_fixtures.h"
#include "test_support.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace qeltaro;
using qeltaro::test::runCli;

namespace {

class PredictionCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::storeDraws(temp.store(), test::drawsOf({"12345", "67890", "24680", "13579"}));
        test::storeFormulas(temp.store(), {1, false}, {{"L5A"}, {"L1A+3"}});  // on 13579: kill 9, 4
        temp.close();
    }

    QJsonObject json(const QStringList& arguments)
    {
        auto r = runCli(temp, QStringList{"--json"} + arguments);
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        return QJsonDocument::fromJson(r.out.toUtf8()).object();
    }

    test::TempStore temp;
};

}  // namespace

TEST_F(PredictionCli, CalcRecordsThePredictionAndTheJournalScoresItWhenTheDrawComes)
{
    const QStringList calc = {"calc", "--category", "1D", "--kind", "kill", "--method", "selected"};
    ASSERT_EQ(runCli(temp, calc).exitCode, 0);
    ASSERT_EQ(runCli(temp, calc).exitCode, 0);  // the same again: still one entry
    ASSERT_EQ(runCli(temp, calc + QStringList{"--no-record"}).exitCode, 0);
    ASSERT_EQ(runCli(temp, calc + QStringList{"--period", "160121004"}).exitCode, 0);  // a re-check records nothing

    QJsonObject journal = json({"journal", "list"});
    QJsonArray entries = journal["entries"].toArray();
    ASSERT_EQ(entries.size(), 1);
    QJsonObject entry = entries[0].toObject();
    EXPECT_EQ(entry["period"].toString(), "160121005");
    EXPECT_EQ(entry["category"].toString(), "1D");
    EXPECT_EQ(entry["kind"].toString(), "kill");
    EXPECT_EQ(entry["method"].toString(), "selected");
    QJsonObject slot = entry["slots"].toArray()[0].toObject();
    EXPECT_EQ(slot["slot"].toInt(), 1);
    EXPECT_EQ(slot["kept"].toArray(), (QJsonArray{0, 1, 2, 3, 5, 6, 7, 8}));
    EXPECT_TRUE(slot["drawn"].isNull());
    EXPECT_TRUE(slot["success"].isNull());
    EXPECT_FALSE(entry.contains("money"));  // still waiting for its draw
    EXPECT_DOUBLE_EQ(slot["chance"].toDouble(), 0.8);
    EXPECT_EQ(journal["summary"].toObject()["slots"].toInt(), 0);

    ASSERT_EQ(runCli(temp, {"history", "add", "160121005", "55559"}).exitCode, 0);  // 个位 9 was killed
    journal = json({"journal", "list", "--category", "1D", "--kind", "kill"});
    slot = journal["entries"].toArray()[0].toObject()["slots"].toArray()[0].toObject();
    EXPECT_EQ(slot["drawn"].toString(), "9");
    EXPECT_FALSE(slot["success"].toBool(true));
    const QJsonObject summary = journal["summary"].toObject();
    EXPECT_EQ(summary["slots"].toInt(), 1);
    EXPECT_EQ(summary["successes"].toInt(), 0);
    EXPECT_DOUBLE_EQ(summary["expected"].toDouble(), 0.8);
    EXPECT_DOUBLE_EQ(summary["p_value"].toDouble(), 1.0);
    // 8 bets at 2 yuan, lost; the summary's money over the judged entries.
    const QJsonObject money = journal["entries"].toArray()[0].toObject()["money"].toObject();
    EXPECT_EQ(money, (QJsonObject{{"bets", 8}, {"cost", 16}, {"payout", 0}, {"net", -16}, {"expectedNet", -8}}));
    EXPECT_EQ(summary["money"].toObject(), (QJsonObject{{"cost", 16}, {"payout", 0}, {"net", -16}, {"expectedNet", -8}}));

    const auto text = runCli(temp, {"journal", "list"});
    EXPECT_EQ(text.exitCode, 0);
    EXPECT_TRUE(text.out.contains(QStringLiteral("160121005\t一星直选杀码\t计算选中公式\t1星\t0 1 2 3 5 6 7 8\t9\t错\t80.00%")))
        << text.out.toStdString();
    EXPECT_TRUE(text.out.contains(QStringLiteral("相近")));
    EXPECT_EQ(json({"journal", "list", "--kind", "keep"})["entries"].toArray().size(), 0);

    EXPECT_EQ(json({"journal", "clear"})["cleared"].toInt(), 1);
    EXPECT_EQ(json({"journal", "list"})["entries"].toArray().size(), 0);
}

TEST_F(PredictionCli, WalkforwardScoresEachPeriodOnTheHistoryBeforeItAndStoresNothing)
{
    const QJsonObject walked = json({"walkforward", "--category", "1D", "--kind", "kill", "--periods", "2",
                                     "--method", "selected", "--window", "all"});
    const QJsonArray periods = walked["periods"].toArray();
    ASSERT_EQ(periods.size(), 2);
    // Before 160121004 the newest draw was 24680: L5A kills 0, L1A+3 kills 5; 个位 9 came.
    const QJsonObject first = periods[0].toObject();
    EXPECT_EQ(first["period"].toString(), "160121003");
    const QJsonObject last = periods[1].toObject();
    EXPECT_EQ(last["period"].toString(), "160121004");
    const QJsonObject slot = last["slots"].toArray()[0].toObject();
    EXPECT_EQ(slot["kept"].toArray(), (QJsonArray{1, 2, 3, 4, 6, 7, 8, 9}));
    EXPECT_EQ(slot["drawn"].toString(), "9");
    EXPECT_TRUE(slot["success"].toBool());
    EXPECT_EQ(walked["summary"].toObject()["slots"].toInt(), 2);
    EXPECT_EQ(last["money"].toObject(), (QJsonObject{{"bets", 8}, {"cost", 16}, {"payout", 10}, {"net", -6}, {"expectedNet", -8}}));
    EXPECT_DOUBLE_EQ(walked["summary"].toObject()["money"].toObject()["cost"].toDouble(), 32);
    EXPECT_EQ(json({"journal", "list"})["entries"].toArray().size(), 0);

    struct Refusal {
        QStringList arguments;
        int exitCode;
    };
    for (const Refusal& r : std::vector<Refusal>{{{"--periods", "0"}, 1},
                                                 {{"--periods", "2", "--window", "x"}, 1},
                                                 {{"--periods", "2", "--quota", "11"}, 1},
                                                 {{"--periods", "2", "--select", "7"}, 1},
                                                 {{"--periods", "2", "--weighted", "--plain"}, 2}}) {
        const auto result = runCli(temp, QStringList{"walkforward", "--category", "1D", "--kind", "kill"} + r.arguments);
        EXPECT_EQ(result.exitCode, r.exitCode) << r.arguments.join(u' ').toStdString() << ": " << result.err.toStdString();
    }
}
