#include "settings/settings.h"
#include "test_support.h"

#include <QSettings>

#include <gtest/gtest.h>

using namespace qeltaro;

TEST(Settings, DefaultsWhenNothingIsStored)
{
    qeltaro::test::TempStore temp;
    Settings settings(temp.settingsFile());
    const SettingsMirror m = settings.read();
    EXPECT_EQ(m.searchDays, 3);
    EXPECT_FALSE(m.calculateSelected);
    EXPECT_FALSE(m.showOnCurrentRow);
    EXPECT_EQ(m.valueColumnName.toStdString(), "PreCanshu");
    EXPECT_TRUE(m.windowExcludesCurrent);
    EXPECT_TRUE(m.weightedRate);
    EXPECT_EQ(m.periodWindowIndex, 3);
    EXPECT_EQ(m.periodWindow, 300);
    EXPECT_EQ(periodWindowCaption(3).toStdString(), "前300期");
    EXPECT_EQ(periodWindowCaption(0).toStdString(), "前所有期");
    EXPECT_EQ(periodWindowOfIndex(9), 3000);
    EXPECT_TRUE(settings.historyUrl().isEmpty());
}

TEST(Settings, ValuesAreStoredAsTextUnderIniSetting)
{
    qeltaro::test::TempStore temp;
    {
        Settings settings(temp.settingsFile());
        SettingsMirror m = settings.read();
        settings.toggleWeightedRate(m);
        settings.setPeriodWindowIndex(m, 7);
        settings.setShowOnCurrentRow(m, true);
        settings.setCalculateSelected(m, true);
        EXPECT_EQ(m.valueColumnName.toStdString(), "Canshu");
        EXPECT_EQ(m.periodWindow, 1000);
    }
    QSettings raw(temp.settingsFile(), QSettings::IniFormat);
    EXPECT_EQ(raw.value(QStringLiteral("IniSetting/ZqlJq")).toString().toStdString(), "False");
    EXPECT_EQ(raw.value(QStringLiteral("IniSetting/JSQS")).toString().toStdString(), "7");
    EXPECT_EQ(raw.value(QStringLiteral("IniSetting/LsXs")).toString().toStdString(), "True");
    EXPECT_EQ(raw.value(QStringLiteral("IniSetting/JSFF")).toString().toStdString(), "True");
    const SettingsMirror again = Settings(temp.settingsFile()).read();
    EXPECT_FALSE(again.weightedRate);
    EXPECT_EQ(again.periodWindow, 1000);
    EXPECT_TRUE(again.showOnCurrentRow);
}

TEST(Settings, RestoreDefaultsStoresSixDaysButKeepsTheMirrorAndTheMethod)
{
    qeltaro::test::TempStore temp;
    Settings settings(temp.settingsFile());
    SettingsMirror m = settings.read();
    settings.setSearchDays(m, 9);
    settings.setCalculateSelected(m, true);
    settings.toggleWindowExcludesCurrent(m);
    settings.toggleWeightedRate(m);
    settings.setPeriodWindowIndex(m, 0);
    settings.setShowOnCurrentRow(m, true);

    settings.restoreDefaults(m);
    EXPECT_EQ(m.searchDays, 9);
    EXPECT_TRUE(m.windowExcludesCurrent);
    EXPECT_TRUE(m.weightedRate);
    EXPECT_FALSE(m.showOnCurrentRow);
    EXPECT_EQ(m.valueColumnName.toStdString(), "PreCanshu");
    EXPECT_EQ(m.periodWindow, 300);
    EXPECT_TRUE(m.calculateSelected);

    const SettingsMirror restarted = Settings(temp.settingsFile()).read();
    EXPECT_EQ(restarted.searchDays, 6);
    EXPECT_EQ(restarted.periodWindowIndex, 3);
    EXPECT_TRUE(restarted.calculateSelected);
}

TEST(Settings, TheDaysDialogAcceptsOnlyTwoToTen)
{
    EXPECT_EQ(parseSearchDays(QStringLiteral("10")), 10);
    EXPECT_EQ(parseSearchDays(QStringLiteral("2")), 2);
    for (const char* bad : {"1", "11", "0", "-3", "abc", "", "2.5", "1e1"})
        EXPECT_FALSE(parseSearchDays(QString::fromLatin1(bad))) << bad;
}

TEST(Settings, SetValidatesEveryKey)
{
    qeltaro::test::TempStore temp;
    Settings settings(temp.settingsFile());
    EXPECT_TRUE(settings.set(QStringLiteral("JSFF"), QStringLiteral("true")));
    EXPECT_EQ(settings.value(QStringLiteral("JSFF")).toStdString(), "True");
    EXPECT_TRUE(settings.set(QStringLiteral("JSQS"), QStringLiteral("9")));
    EXPECT_TRUE(settings.set(QStringLiteral("HistoryUrl"), QStringLiteral("http://127.0.0.1:8080/")));
    EXPECT_TRUE(settings.set(QStringLiteral("HistoryUrl"), QStringLiteral("https://example.com/kj?day={date}")));
    EXPECT_EQ(settings.value(QStringLiteral("HistoryUrl")).toStdString(), "https://example.com/kj?day={date}");
    // Several addresses for the watch: kept a line each, every one checked.
    EXPECT_TRUE(settings.set(QStringLiteral("HistoryUrl"), QStringLiteral(" http://a.example \n\nhttps://b.example/{ymd} ")));
    EXPECT_EQ(settings.value(QStringLiteral("HistoryUrl")).toStdString(), "http://a.example\nhttps://b.example/{ymd}");
    EXPECT_TRUE(settings.set(QStringLiteral("WatchDelaySeconds"), QStringLiteral("0")));
    const std::pair<const char*, const char*> refused[] = {
        {"JSFF", "yes"}, {"JSQS", "10"}, {"JSQS", "-1"}, {"IniSerchDay", "11"}, {"IniSerchDay", "x"},
        {"HistoryUrl", "ftp://example"}, {"HistoryUrl", "not a url"}, {"HistoryUrl", "http://example.com/{day}"},
        {"FormulaUrl", "http://example.com/{date}"}, {"NoSuchKey", "1"}, {"HistoryUrl", "http://a.example\nftp://b"},
        {"WatchRetrySeconds", "0"}, {"WatchPollSeconds", "x"}, {"WatchGiveUpMinutes", "1441"}, {"AutoWatch", "on"}};
    for (const auto& [key, value] : refused) {
        auto s = settings.set(QString::fromLatin1(key), QString::fromLatin1(value));
        EXPECT_FALSE(s) << key << "=" << value;
    }
    EXPECT_EQ(settings.value(QStringLiteral("JSQS")).toStdString(), "9");

    // Unreadable stored values read as their defaults.
    QSettings raw(temp.settingsFile(), QSettings::IniFormat);
    raw.setValue(QStringLiteral("IniSetting/JSQS"), QStringLiteral("banana"));
    raw.setValue(QStringLiteral("IniSetting/SyBq"), QStringLiteral("maybe"));
    raw.sync();
    const SettingsMirror m = Settings(temp.settingsFile()).read();
    EXPECT_EQ(m.periodWindow, 300);
    EXPECT_TRUE(m.windowExcludesCurrent);
}
