#include "test_support.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using qeltaro::test::runCli;
using qeltaro::test::TempStore;

TEST(HistoryCli, AddListAndNext)
{
    TempStore temp;
    temp.close();
    auto r = runCli(temp, {"history", "add", "160121120", "38146"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    r = runCli(temp, {"history", "next"});
    EXPECT_EQ(r.out.trimmed().toStdString(), "160122001");

    r = runCli(temp, {"--json", "history", "list", "--derived"});
    ASSERT_EQ(r.exitCode, 0);
    const QJsonArray rows = QJsonDocument::fromJson(r.out.toUtf8()).array();
    ASSERT_EQ(rows.size(), 1);
    const QJsonObject row = rows[0].toObject();
    EXPECT_EQ(row["period"].toString().toStdString(), "160121120");
    EXPECT_EQ(row["digits"].toString().toStdString(), "38146");
    const QJsonObject columns = row["columns"].toObject();
    EXPECT_EQ(columns.size(), 101);
    EXPECT_EQ(columns["L1A"].toInt(), 3);
    EXPECT_EQ(columns["LH"].toInt(), 22);
    EXPECT_EQ(columns["QH"].toInt(), 1);
    EXPECT_EQ(columns["NF"].toInt(), 2016);

    r = runCli(temp, {"--json", "history", "list"});
    EXPECT_FALSE(QJsonDocument::fromJson(r.out.toUtf8()).array()[0].toObject().contains("columns"));
}

TEST(HistoryCli, ExitCodesSayWhatWentWrong)
{
    TempStore temp;
    temp.close();
    EXPECT_EQ(runCli(temp, {"history", "add", "160121001", "3814"}).exitCode, 1);
    EXPECT_EQ(runCli(temp, {"history", "add", "160121001"}).exitCode, 2);
    EXPECT_EQ(runCli(temp, {"nonsense"}).exitCode, 2);
    EXPECT_EQ(runCli(temp, {"history", "import", temp.path("missing.txt")}).exitCode, 3);
    qeltaro::test::writeFile(temp.path("bad.txt"), "160121001 12345\nhello\n");
    auto r = runCli(temp, {"history", "import", temp.path("bad.txt")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("第2行")) << r.err.toStdString();
    EXPECT_TRUE(runCli(temp, {"history", "list"}).out.trimmed().isEmpty());
}

TEST(HistoryCli, ImportReportsStoredAndSkipped)
{
    TempStore temp;
    temp.close();
    qeltaro::test::writeFile(temp.path("part.txt"), qeltaro::test::sampleHistoryLines(130).toUtf8());
    auto r = runCli(temp, {"--json", "history", "import", temp.path("part.txt")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    r = runCli(temp, {"--json", "history", "import", qeltaro::test::sampleHistoryPath()});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject report = QJsonDocument::fromJson(r.out.toUtf8()).object();
    EXPECT_EQ(report["stored"].toInt(), 4080 - 130);
    EXPECT_EQ(report["skipped"].toInt(), 130);
}

TEST(FormulaCli, TranslatePrintsTheCodeForm)
{
    TempStore temp;
    auto r = runCli(temp, {"formula", "translate", "和个位+个位码"});
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out.trimmed().toStdString(), "LI+L5A");
}

TEST(SettingsCli, ListSetAndReset)
{
    TempStore temp;
    auto r = runCli(temp, {"settings", "set", "JSQS", "5"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(runCli(temp, {"settings", "set", "JSQS", "12"}).exitCode, 1);
    EXPECT_EQ(runCli(temp, {"settings", "set", "IniSerchDay", "1"}).exitCode, 1);
    r = runCli(temp, {"--json", "settings", "list"});
    const QJsonArray list = QJsonDocument::fromJson(r.out.toUtf8()).array();
    QString jsqs;
    for (const auto& item : list) {
        if (item.toObject()["key"].toString() == "JSQS")
            jsqs = item.toObject()["value"].toString();
    }
    EXPECT_EQ(jsqs.toStdString(), "5");
    ASSERT_EQ(runCli(temp, {"settings", "reset"}).exitCode, 0);
    r = runCli(temp, {"settings", "list"});
    EXPECT_TRUE(r.out.contains("JSQS=3")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("IniSerchDay=6")) << r.out.toStdString();
}

TEST(GameCli, ShowSetAndTheRefusalOnceDrawsAreStored)
{
    TempStore temp;
    temp.close();
    auto r = runCli(temp, {"--json", "game", "show"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.trimmed().toStdString(),
              R"({"drawsPerDay":120,"issueDigits":3,"name":"时时彩","numbering":"date","schedule":[]})");

    EXPECT_EQ(runCli(temp, {"game", "set", "--numbering", "week"}).exitCode, 1);
    EXPECT_EQ(runCli(temp, {"game", "set", "--draws-per-day", "1441"}).exitCode, 1);
    r = runCli(temp, {"--json", "game", "set", "--name", "每日一期", "--draws-per-day", "1", "--numbering", "year"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(r.out.toUtf8()).object()["numbering"].toString().toStdString(), "year");

    EXPECT_EQ(runCli(temp, {"history", "add", "24001", "12345"}).exitCode, 1);  // no date
    r = runCli(temp, {"history", "add", "24001", "12345", "--date", "2024-01-02"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(runCli(temp, {"history", "next", "--today", "2024-01-03"}).out.trimmed().toStdString(), "24002");
    // The update reads day pages, which year-numbered games do not have: said before the missing
    // address, which would not help.
    r = runCli(temp, {"history", "update"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("每日一期")) << r.err.toStdString();

    r = runCli(temp, {"game", "set", "--numbering", "date", "--draws-per-day", "120"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("不能更改彩种")) << r.err.toStdString();
    r = runCli(temp, {"game", "show"});
    EXPECT_TRUE(r.out.contains("year")) << r.out.toStdString();
}

TEST(BackupCli, ListsTheCopiesWithTheirCountsAndRestoresOne)
{
    TempStore temp;
    temp.close();
    qeltaro::test::writeFile(temp.path("part.txt"), qeltaro::test::sampleHistoryLines(50).toUtf8());
    ASSERT_EQ(runCli(temp, {"history", "import", temp.path("part.txt")}).exitCode, 0);
    ASSERT_EQ(runCli(temp, {"formula", "add", "个位码=下期杀一星直选"}).exitCode, 0);
    ASSERT_EQ(runCli(temp, {"history", "delete", "--all"}).exitCode, 0);
    ASSERT_EQ(runCli(temp, {"history", "add", "160121001", "12345"}).exitCode, 0);

    auto r = runCli(temp, {"--json", "backup", "list"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QJsonArray copies = QJsonDocument::fromJson(r.out.toUtf8()).array();
    ASSERT_EQ(copies.size(), 1);
    const QJsonObject copy = copies[0].toObject();
    EXPECT_EQ(copy["reason"].toString().toStdString(), "delete-all-history");
    EXPECT_EQ(copy["draws"].toInt(), 50);
    EXPECT_EQ(copy["formulas"].toInt(), 1);

    // A file that is no store is refused and changes nothing.
    qeltaro::test::writeFile(temp.dataDir() + QStringLiteral("/backups/formula-20010101-000000-000-junk.db"), "not a database");
    r = runCli(temp, {"backup", "restore", "formula-20010101-000000-000-junk.db"});
    EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
    EXPECT_EQ(runCli(temp, {"history", "list"}).out.trimmed().count(u'\n'), 0);

    r = runCli(temp, {"--json", "backup", "restore", copy["file"].toString()});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(r.out.toUtf8()).object()["draws"].toInt(), 50);
    EXPECT_EQ(runCli(temp, {"--json", "history", "list"}).out.count(QStringLiteral("\"period\"")), 50);
    // The store as it was before the restore is a copy of its own, newest first.
    copies = QJsonDocument::fromJson(runCli(temp, {"--json", "backup", "list"}).out.toUtf8()).array();
    ASSERT_EQ(copies.size(), 3);
    EXPECT_EQ(copies[0].toObject()["reason"].toString().toStdString(), "before-restore");
    EXPECT_EQ(copies[0].toObject()["draws"].toInt(), 1);
}
