// qeltaro-cli trend and streaks as a user runs them: the JSON documents, the empty history and
// the refusals with their exit codes.

#include "calculation_fixtures.h"
#include "test_support.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <cmath>

using namespace qeltaro;
using qeltaro::test::runCli;

namespace {

QJsonDocument jsonOf(const test::TempStore& temp, const QStringList& arguments)
{
    const auto r = runCli(temp, QStringList{"--json"} + arguments);
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    return QJsonDocument::fromJson(r.out.toUtf8());
}

}  // namespace

TEST(TrendCli, ChartsAndStreaksAsDocumented)
{
    test::TempStore temp;
    test::storeDraws(temp.store(), test::drawsOf({"12345", "67890", "24686", "13577"}));
    temp.close();

    // 个位 012路 over the newest two: 6 (0路) then 7 (1路); 2路 was drawn at the first row (5).
    const QJsonObject chart = jsonOf(temp, {"trend", "--position", "个位", "--form", "012路", "--periods", "2"}).object();
    EXPECT_EQ(chart["values"].toArray(), (QJsonArray{"0路", "1路", "2路"}));
    EXPECT_EQ(chart["chances"].toArray(), (QJsonArray{0.4, 0.3, 0.3}));
    const QJsonArray rows = chart["rows"].toArray();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].toObject(), (QJsonObject{{"period", "160121003"}, {"value", "0路"}, {"omission", QJsonArray{0, 3, 2}}}));
    EXPECT_EQ(rows[1].toObject(), (QJsonObject{{"period", "160121004"}, {"value", "1路"}, {"omission", QJsonArray{1, 0, 3}}}));
    const QJsonObject stats = chart["stats"].toObject();
    EXPECT_EQ(stats["appearances"].toArray(), (QJsonArray{1, 1, 0}));
    EXPECT_EQ(stats["averageOmission"].toArray(), (QJsonArray{0.5, 0.5, 2}));
    EXPECT_EQ(stats["maxOmission"].toArray(), (QJsonArray{1, 3, 3}));
    EXPECT_EQ(stats["currentOmission"].toArray(), (QJsonArray{1, 0, 3}));
    EXPECT_EQ(stats["maxRun"].toArray(), (QJsonArray{1, 1, 0}));
    EXPECT_EQ(stats["currentOmissionChance"].toArray(), (QJsonArray{0.6, 1, std::pow(0.7, 3)}));

    EXPECT_EQ(jsonOf(temp, {"trend", "--last-three", "和值", "--periods", "all"})["rows"].toArray().size(), 4);
    // The document's members in the documented order.
    EXPECT_TRUE(runCli(temp, {"--json", "trend", "--last-three", "跨度"}).out.startsWith(QStringLiteral("{\"values\":")));

    // 百位 3 8 6 5 and 十位 4 9 8 7 end in three 大; 万位, 千位 and 个位 in two of a kind; every
    // 单双 run is one draw long.
    const QJsonArray streaks = jsonOf(temp, {"streaks"}).array();
    ASSERT_EQ(streaks.size(), 10);
    EXPECT_EQ(streaks[0].toObject(),
              (QJsonObject{{"position", "百位"}, {"form", "大小"}, {"value", "大"}, {"length", 3}, {"chance", 0.25}}));
    EXPECT_EQ(streaks[1].toObject()["position"].toString(), QStringLiteral("十位"));
    EXPECT_EQ(streaks[9].toObject()["length"].toInt(), 1);

    EXPECT_EQ(runCli(temp, {"formula", "translate", "个位冷码+千位热码"}).out.trimmed(), QStringLiteral("L5LA+L2RA"));
}

TEST(TrendCli, EmptyHistoryAndRefusals)
{
    test::TempStore temp;
    temp.close();
    const QJsonObject empty = jsonOf(temp, {"trend", "--position", "万位"}).object();
    EXPECT_TRUE(empty["rows"].toArray().isEmpty());
    EXPECT_EQ(empty["stats"].toObject()["maxOmission"].toArray().size(), 10);
    EXPECT_EQ(jsonOf(temp, {"streaks"}).array(), QJsonArray());

    const std::pair<QStringList, QString> bad[] = {
        {{"--periods", "0", "--position", "个位"}, "0"},
        {{"--position", "六位"}, "六位"},
        {{"--position", "个位", "--form", "大"}, "大"},
        {{"--last-three", "和"}, "和"},
    };
    for (const auto& [arguments, named] : bad) {
        const auto r = runCli(temp, QStringList{"trend"} + arguments);
        EXPECT_EQ(r.exitCode, 1) << arguments.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("“%1”").arg(named))) << r.err.toStdString();
    }
    for (const QStringList& usage : {QStringList{"trend"}, QStringList{"trend", "--position", "个位", "--last-three", "跨度"}})
        EXPECT_EQ(runCli(temp, usage).exitCode, 2) << usage.join(' ').toStdString();
}
