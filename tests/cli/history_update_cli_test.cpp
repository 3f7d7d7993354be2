#include "results_site.h"
#include "test_support.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using qeltaro::test::ResultsSite;
using qeltaro::test::runCli;
using qeltaro::test::TempStore;

namespace {

int storedDraws(const TempStore& temp)
{
    return int(QJsonDocument::fromJson(runCli(temp, {"--json", "history", "list"}).out.toUtf8()).array().size());
}

}  // namespace

TEST(HistoryUpdateCli, UpdatesFromTheConfiguredSource)
{
    TempStore temp;
    temp.close();
    ResultsSite site;
    auto r = runCli(temp, {"history", "update", "--today", "2015-02-10"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("HistoryUrl")) << r.err.toStdString();
    EXPECT_EQ(runCli(temp, {"history", "update", "--url", site.baseUrl(), "--days", "1"}).exitCode, 1);
    EXPECT_EQ(runCli(temp, {"history", "update", "--url", site.baseUrl(), "--today", "2015-02-30"}).exitCode, 1);
    EXPECT_TRUE(site.requests().isEmpty());

    ASSERT_EQ(runCli(temp, {"settings", "set", "HistoryUrl", site.baseUrl()}).exitCode, 0);
    r = runCli(temp, {"--json", "history", "update", "--today", "2015-02-10", "--days", "2"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject report = QJsonDocument::fromJson(r.out.toUtf8()).object();
    EXPECT_EQ(report["pages"].toInt(), 2);
    EXPECT_EQ(report["pagesFailed"].toInt(), 0);
    EXPECT_EQ(report["stored"].toInt(), 240);
    EXPECT_TRUE(report["gaps"].toArray().isEmpty());
    EXPECT_EQ(report["last"].toString().toStdString(), "150210120");
    EXPECT_EQ(storedDraws(temp), 240);

    // The last issue of today is stored: nothing to read.
    r = runCli(temp, {"history", "update", "--today", "2015-02-10"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("150210120")) << r.out.toStdString();
    EXPECT_EQ(site.requests().size(), 2);

    // The next day with a missing page: the text report names the failure and the gap.
    ASSERT_EQ(runCli(temp, {"history", "delete", "--after", "150209118"}).exitCode, 0);
    site.setAnswer(QDate(2015, 2, 10), {404, "<html><body>没有找到</body></html>"});
    r = runCli(temp, {"history", "update", "--today", "2015-02-11", "--url", site.baseUrl()});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("读取网页3个，失败2个，保存开奖号码2期")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("HTTP 404")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("2015-02-11")) << r.out.toStdString();
}

TEST(HistoryUpdateCli, ADeadServerLeavesTheHistoryUntouched)
{
    TempStore temp;
    temp.close();
    qeltaro::test::writeFile(temp.path("part.txt"), qeltaro::test::sampleHistoryLines(130).toUtf8());
    ASSERT_EQ(runCli(temp, {"history", "import", temp.path("part.txt")}).exitCode, 0);
    QString address;
    {
        ResultsSite site;
        address = site.baseUrl();
    }
    auto r = runCli(temp, {"history", "update", "--url", address, "--today", "2015-02-10"});
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_TRUE(r.err.contains("历史号码没有改变")) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_EQ(storedDraws(temp), 130);
}

TEST(HistoryMaintenanceCli, DeleteAndExportText)
{
    TempStore temp;
    temp.close();
    qeltaro::test::writeFile(temp.path("part.txt"), qeltaro::test::sampleHistoryLines(130).toUtf8());
    ASSERT_EQ(runCli(temp, {"history", "import", temp.path("part.txt")}).exitCode, 0);

    auto r = runCli(temp, {"history", "export-text"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QString path = r.out.trimmed();
    EXPECT_EQ(path, temp.dataDir() + QStringLiteral("/更新至141031010期历史号码.txt"));
    EXPECT_TRUE(qeltaro::test::readFile(path).startsWith("141030001 46033\r\n141030002 63757\r\n"));

    EXPECT_EQ(runCli(temp, {"history", "delete"}).exitCode, 2);
    EXPECT_EQ(runCli(temp, {"history", "delete", "--all", "--last", "1"}).exitCode, 2);
    EXPECT_EQ(runCli(temp, {"history", "delete", "--last", "0"}).exitCode, 1);
    r = runCli(temp, {"history", "delete", "--after", "141030000"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("没有删除任何号码")) << r.err.toStdString();
    EXPECT_EQ(storedDraws(temp), 130);

    r = runCli(temp, {"history", "delete", "--last", "3"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.trimmed().toStdString(), "已删除3期，剩余127期");
    r = runCli(temp, {"--json", "history", "delete", "--after", "141030100"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(r.out.toUtf8()).object()["removed"].toInt(), 27);
    r = runCli(temp, {"--json", "history", "delete", "--all"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject report = QJsonDocument::fromJson(r.out.toUtf8()).object();
    EXPECT_EQ(report["removed"].toInt(), 100);
    EXPECT_TRUE(QFile::exists(report["backup"].toString()));
    EXPECT_EQ(storedDraws(temp), 0);

    // The exported file brings the draws back.
    r = runCli(temp, {"history", "import", path});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(storedDraws(temp), 130);
}

TEST(HistoryUpdateCli, AYearNumberedGameImportsItsFileButIsNotUpdatedOnline)
{
    TempStore temp;
    temp.close();
    ASSERT_EQ(runCli(temp, {"game", "set", "--name", "日开", "--draws-per-day", "1", "--issue-digits", "3",
                            "--numbering", "year"})
                  .exitCode,
              0);
    qeltaro::test::writeFile(temp.path("draws.csv"),
                             QByteArray("期号,号码,开奖日期\r\n\"2024001\",\"12345\",\"2024-01-01\"\r\n24002,5,4,3,2,1,2024/1/2\r\n"));
    auto r = runCli(temp, {"--json", "history", "import", temp.path("draws.csv")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(r.out.toUtf8()).object()["stored"].toInt(), 2);

    ResultsSite site;
    r = runCli(temp, {"history", "update", "--url", site.baseUrl(), "--today", "2024-01-03"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("不适用")) << r.err.toStdString();
    EXPECT_TRUE(site.requests().isEmpty());
    EXPECT_EQ(storedDraws(temp), 2);
}
