// qeltaro-cli payout and plan as a user runs them.

#include "test_support.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace qeltaro;
using qeltaro::test::runCli;

TEST(MoneyCli, PayoutShowsTheOfficialTableAndRefusesABadCallWhole)
{
    test::TempStore temp;
    temp.close();
    const QString official = QStringLiteral(
        "{\"prizes\":[10,100,1000,10000,100000],\"returnRates\":[0.5,0.5,0.5,0.5,0.5],\"stake\":2}\n");
    EXPECT_EQ(runCli(temp, {"--json", "payout", "show"}).out, official);

    struct Call {
        QStringList arguments;
        int exitCode;
    };
    for (const Call& c : std::vector<Call>{{{"--stake", "1", "--stars", "3", "--prize", "0"}, 1},
                                           {{"--stake", "zwei"}, 1},
                                           {{"--stars", "6", "--prize", "5"}, 1},
                                           {{"--stars", "2"}, 2},
                                           {{"--prize", "80"}, 2},
                                           {{}, 2}}) {
        const auto result = runCli(temp, QStringList{"payout", "set"} + c.arguments);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.arguments.join(u' ').toStdString() << ": " << result.err.toStdString();
        EXPECT_FALSE(result.err.isEmpty());
    }
    EXPECT_EQ(runCli(temp, {"--json", "payout", "show"}).out, official);

    const auto set = runCli(temp, {"--json", "payout", "set", "--stake", "0.5", "--stars", "2", "--prize", "42.5"});
    ASSERT_EQ(set.exitCode, 0) << set.err.toStdString();
    const QJsonObject table = QJsonDocument::fromJson(set.out.toUtf8()).object();
    EXPECT_DOUBLE_EQ(table["stake"].toDouble(), 0.5);
    EXPECT_DOUBLE_EQ(table["prizes"].toArray()[1].toDouble(), 42.5);
    EXPECT_DOUBLE_EQ(table["returnRates"].toArray()[1].toDouble(), 0.85);
    EXPECT_DOUBLE_EQ(table["returnRates"].toArray()[0].toDouble(), 2.0);
    EXPECT_TRUE(runCli(temp, {"payout", "show"}).out.contains(QStringLiteral("二星直选奖金：42.5元（返奖率85%）")));
}

TEST(MoneyCli, PlanPrintsItsStepsAndItsOddsAndRefusesWhatCannotBePlanned)
{
    test::TempStore temp;
    temp.close();
    const auto planned = runCli(temp, {"--json", "plan", "--stars", "2", "--bets", "10", "--periods", "4", "--profit", "50"});
    ASSERT_EQ(planned.exitCode, 0) << planned.err.toStdString();
    const QJsonObject plan = QJsonDocument::fromJson(planned.out.toUtf8()).object();
    const QJsonObject third = plan["steps"].toArray()[2].toObject();
    EXPECT_EQ(third, (QJsonObject{{"period", 3}, {"multiple", 2}, {"cost", 40}, {"spent", 80}, {"prize", 200},
                                  {"profit", 120}, {"chanceWonByNow", third["chanceWonByNow"]}}));
    EXPECT_NEAR(third["chanceWonByNow"].toDouble(), 0.271, 1e-12);
    EXPECT_DOUBLE_EQ(plan["chance"].toDouble(), 0.1);
    EXPECT_NEAR(plan["returnRate"].toDouble(), 0.5, 1e-12);
    for (const char* key : {"ruin", "expectedNet", "expectedStake"})
        EXPECT_TRUE(plan[QLatin1String(key)].isDouble()) << key;

    const auto text = runCli(temp, {"plan", "--stars", "2", "--bets", "10", "--periods", "4", "--profit-rate", "0.1", "--hit-rate", "0.2"});
    ASSERT_EQ(text.exitCode, 0);
    EXPECT_TRUE(text.out.startsWith(QStringLiteral("期\t倍数\t本期投入\t累计投入\t中奖奖金\t中奖盈利\t到本期已中机会\n1\t1\t20\t20\t100\t80\t20%\n")))
        << text.out.toStdString();
    EXPECT_TRUE(text.out.contains(QStringLiteral("如果这个命中率成立"))) << text.out.toStdString();

    struct Call {
        QStringList arguments;
        int exitCode;
    };
    for (const Call& c : std::vector<Call>{{{"--profit-rate", "-0.1"}, 1},
                                           {{"--profit", "0"}, 1},
                                           {{"--profit-rate", "0.1", "--hit-rate", "20"}, 1},
                                           {{"--profit-rate", "4"}, 1},  // 10 bets cost 20 a multiple, a win pays 100
                                           {{"--profit-rate", "0.1", "--profit", "5"}, 2},
                                           {{}, 2}}) {
        const auto result = runCli(temp, QStringList{"plan", "--stars", "2", "--bets", "10", "--periods", "4"} + c.arguments);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.arguments.join(u' ').toStdString() << ": " << result.err.toStdString();
        EXPECT_TRUE(result.out.isEmpty());
    }
}
