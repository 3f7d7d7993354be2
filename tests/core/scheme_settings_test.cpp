#include "search/scheme_settings.h"

#include "settings/settings.h"
#include "test_support.h"

#include <QSettings>

#include <gtest/gtest.h>

#include <cmath>

using namespace qeltaro;

TEST(SchemeSettings, BuiltInThresholdsOfEveryCategoryAndSense)
{
    struct Row {
        int number;
        bool kill;
        SearchThresholds t;
    };
    for (const Row& row : {
             Row{1, true, {94.6, 100, 0, 2, 48, 32768, 0, 0, 32, 32768}},
             Row{5, true, {94.6, 100, 0, 2, 48, 32768, 0, 0, 32, 32768}},
             Row{3, false, {12, 100, 0, 28, 2, 32768, 0, 0, 2, 32768}},
             Row{7, true, {86, 100, 0, 2, 32, 32768, 0, 0, 6, 32768}},
             Row{7, false, {26, 100, 0, 16, 3, 32768, 0, 0, 2, 32768}},
             Row{8, true, {80, 100, 0, 3, 16, 32768, 0, 0, 8, 32768}},
             Row{8, false, {34, 100, 0, 12, 4, 32768, 0, 0, 2, 32768}},
             Row{9, true, {72, 100, 0, 4, 12, 32768, 0, 0, 4, 32768}},
             Row{9, false, {40, 100, 0, 10, 4, 32768, 0, 0, 3, 32768}},
             Row{10, true, {66, 100, 0, 5, 10, 32768, 0, 0, 4, 32768}},
             Row{10, false, {50, 100, 0, 10, 6, 32768, 0, 0, 3, 32768}},
         }) {
        EXPECT_EQ(defaultThresholds(kindOfKillFlag(row.kill), row.number), row.t) << row.number << row.kill;
    }
}

TEST(SchemeSettings, StoredUnderTheSearchSectionsAndKeys)
{
    test::TempStore temp;
    {
        Settings settings(temp.settingsFile());
        SchemeSettings scheme(settings);
        // A fresh store reads the built-in values (single precision, as the table holds them).
        EXPECT_EQ(scheme.thresholds(Kind::Kill, 1)[0], double(94.6f));
        EXPECT_EQ(scheme.operandCount(4), 8);
        EXPECT_EQ(scheme.wantedCounts(Kind::Kill)[0], 60);

        SearchThresholds keep3G = defaultThresholds(Kind::Keep, 8);
        keep3G[0] = 35.5;
        ASSERT_TRUE(scheme.setThresholds(Kind::Keep, 8, keep3G));
        ASSERT_TRUE(scheme.setOperandCount(3, 12));
        WantedCounts wanted;
        wanted[0] = 10;
        wanted[9] = 25;
        scheme.setWantedCounts(Kind::Keep, wanted);
    }
    QSettings raw(temp.settingsFile(), QSettings::IniFormat);
    EXPECT_EQ(raw.value(QStringLiteral("7/10")).toString(), QStringLiteral("35.5"));   // section c-1, key 10k+i
    EXPECT_EQ(raw.value(QStringLiteral("7/19")).toString(), QStringLiteral("32768"));
    EXPECT_EQ(raw.value(QStringLiteral("3/text2")).toString(), QStringLiteral("12"));  // section c
    EXPECT_EQ(raw.value(QStringLiteral("SSSZ/11")).toString(), QStringLiteral("10"));  // 10k+j
    EXPECT_EQ(raw.value(QStringLiteral("SSSZ/20")).toString(), QStringLiteral("25"));
    EXPECT_EQ(raw.value(QStringLiteral("SSSZ/12")).toString(), QStringLiteral("0"));   // an empty box stores 0
    EXPECT_FALSE(raw.contains(QStringLiteral("7/0")));  // the kill sense untouched

    Settings settings(temp.settingsFile());
    SchemeSettings scheme(settings);
    EXPECT_EQ(scheme.thresholds(Kind::Keep, 8)[0], 35.5);
    EXPECT_EQ(scheme.thresholds(Kind::Kill, 8)[2], defaultThresholds(Kind::Kill, 8)[2]);
    EXPECT_EQ(scheme.operandCount(3), 12);
    EXPECT_EQ(scheme.operandCount(4), 8);
    EXPECT_EQ(scheme.wantedCounts(Kind::Keep)[9], 25);
    EXPECT_EQ(scheme.wantedCounts(Kind::Kill)[9], 60);

    scheme.reset();
    EXPECT_EQ(scheme.thresholds(Kind::Keep, 8)[0], 34.0);
    EXPECT_EQ(scheme.operandCount(3), 8);
    EXPECT_EQ(scheme.wantedCounts(Kind::Keep)[0], 60);
}

TEST(SchemeSettings, BadValuesAreRefusedOrReadSafely)
{
    test::TempStore temp;
    Settings settings(temp.settingsFile());
    SchemeSettings scheme(settings);
    SearchThresholds t = defaultThresholds(Kind::Kill, 2);
    t[4] = std::nan("");
    auto refused = scheme.setThresholds(Kind::Kill, 2, t);
    ASSERT_FALSE(refused);
    EXPECT_TRUE(refused.error().message.contains(QStringLiteral("最大连对下限")));
    EXPECT_FALSE(settings.searchValue(QStringLiteral("1/0")));  // nothing stored
    EXPECT_FALSE(scheme.setThresholds(Kind::Kill, 6, defaultThresholds(Kind::Kill, 2)));
    EXPECT_FALSE(scheme.setOperandCount(2, 25));
    EXPECT_FALSE(scheme.setOperandCount(2, 1));

    // Values edited by hand: a threshold that is not a number reads as NaN (its check fails),
    // an operand count out of range is held to 2..24, a wanted count that is not a number is none.
    settings.setSearchValue(QStringLiteral("0/3"), QStringLiteral("abc"));
    settings.setSearchValue(QStringLiteral("1/text2"), QStringLiteral("99"));
    settings.setSearchValue(QStringLiteral("2/text2"), QStringLiteral("x"));
    settings.setSearchValue(QStringLiteral("SSSZ/4"), QStringLiteral("viele"));
    settings.setSearchValue(QStringLiteral("SSSZ/5"), QStringLiteral("12.5"));
    EXPECT_TRUE(std::isnan(scheme.thresholds(Kind::Kill, 1)[3]));
    // A search must not start on it; the message names the category, the sense and the threshold.
    auto check = checkThresholdsAreNumbers(Kind::Kill, 1, scheme.thresholds(Kind::Kill, 1));
    ASSERT_FALSE(check);
    EXPECT_EQ(check.error().message, QStringLiteral("一星直选杀的最大连错上限不是数字"));
    EXPECT_TRUE(checkThresholdsAreNumbers(Kind::Keep, 1, scheme.thresholds(Kind::Keep, 1)));
    EXPECT_EQ(scheme.operandCount(1), 24);
    EXPECT_EQ(scheme.operandCount(2), 8);
    EXPECT_EQ(scheme.wantedCounts(Kind::Kill)[3], std::nullopt);
    EXPECT_EQ(scheme.wantedCounts(Kind::Kill)[4], 13);
}
