#include "common/progress.h"
#include "history/draw_history.h"
#include "history/online_update.h"
#include "io/text_codec.h"
#include "results_site.h"
#include "store/history_table.h"
#include "test_support.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace qeltaro;
using namespace std::chrono_literals;
using qeltaro::test::HttpAnswer;
using qeltaro::test::ResultsSite;
using qeltaro::test::TempStore;

namespace {

const QDate kToday(2015, 2, 10);  // the sample's last day

// Sample lines with from <= period <= to.
QString sampleBetween(const QString& from, const QString& to)
{
    QString text;
    for (const QString& line : splitLines(decodeText(qeltaro::test::readFile(qeltaro::test::sampleHistoryPath())))) {
        const QString period = line.left(9);
        if (period >= from && period <= to)
            text += line + u'\n';
    }
    return text;
}

void importSample(Store& store, const QString& from, const QString& to)
{
    auto report = DrawHistory(store).importText(sampleBetween(from, to));
    ASSERT_TRUE(report) << report.error().message.toStdString();
}

std::vector<DrawRecord> rows(Store& store)
{
    auto all = HistoryTable(store).all();
    EXPECT_TRUE(all);
    return all ? *all : std::vector<DrawRecord>{};
}

// The history holds exactly the sample's draws from..to, every derived column as if imported.
void expectSampleRows(Store& store, const QString& from, const QString& to)
{
    TempStore expected;
    importSample(expected.store(), from, to);
    const auto want = rows(expected.store());
    const auto got = rows(store);
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
        ASSERT_EQ(got[i].period, want[i].period);
        EXPECT_EQ(got[i].values, want[i].values) << want[i].period.toStdString();
    }
}

OnlineUpdateOptions options(const ResultsSite& site, int days = 3, QDate today = kToday)
{
    OnlineUpdateOptions o;
    o.baseAddress = site.baseUrl();
    o.searchDays = days;
    o.today = today;
    o.pageTimeout = 5s;
    return o;
}

std::string message(const Error& e)
{
    return e.message.toStdString();
}

}  // namespace

TEST(OnlineUpdate, AnEmptyHistoryGetsTheWindowOldestDayFirst)
{
    TempStore temp;
    ResultsSite site;
    auto report = updateHistoryOnline(temp.store(), options(site));
    ASSERT_TRUE(report) << message(report.error());
    EXPECT_EQ(site.requestedDays(), QStringList({"2015-02-08", "2015-02-09", "2015-02-10"}));
    EXPECT_EQ(site.requests().value(0).toStdString(),
              "/zst/ssccq?lotId=255401&chartType=dww5&spanType=2&span=2015-02-08_2015-02-08&r=0.4097360474988818");
    EXPECT_EQ(report->pages, 3);
    EXPECT_EQ(report->pagesFailed, 0);
    EXPECT_EQ(report->stored, 360);
    EXPECT_TRUE(report->gaps.isEmpty());
    EXPECT_TRUE(report->unreadable.isEmpty());
    EXPECT_FALSE(report->replaced);
    EXPECT_EQ(report->lastStored.toStdString(), "150210120");
    expectSampleRows(temp.store(), "150208001", "150210120");
}

TEST(OnlineUpdate, ADrawOfTodayContinuesTodaysPageAndNothingIsStoredTwice)
{
    TempStore temp;
    importSample(temp.store(), "150209001", "150210037");
    ResultsSite site;
    auto plan = planUpdate(temp.store(), 3, kToday);
    ASSERT_TRUE(plan);
    ASSERT_EQ(plan->pages.size(), 1u);
    EXPECT_EQ(plan->pages[0].startIssue, 38);

    auto report = updateHistoryOnline(temp.store(), options(site));
    ASSERT_TRUE(report) << message(report.error());
    EXPECT_EQ(site.requestedDays(), QStringList({"2015-02-10"}));
    EXPECT_EQ(report->stored, 120 - 37);
    EXPECT_TRUE(report->gaps.isEmpty());
    // 038's repeat columns compare with the stored 037.
    expectSampleRows(temp.store(), "150209001", "150210120");

    // Today is complete now: nothing left to read, nothing added.
    report = updateHistoryOnline(temp.store(), options(site));
    ASSERT_TRUE(report);
    EXPECT_EQ(report->pages, 0);
    EXPECT_EQ(report->stored, 0);
    EXPECT_EQ(site.requests().size(), 1);
    EXPECT_EQ(rows(temp.store()).size(), 240u);
}

TEST(OnlineUpdate, YesterdaysLastIssueReadsYesterdayThenToday)
{
    TempStore temp;
    importSample(temp.store(), "150209001", "150209120");
    ResultsSite site;
    auto report = updateHistoryOnline(temp.store(), options(site));
    ASSERT_TRUE(report) << message(report.error());
    EXPECT_EQ(site.requestedDays(), QStringList({"2015-02-09", "2015-02-10"}));
    EXPECT_EQ(report->stored, 120);  // yesterday's page lists only stored draws
    EXPECT_TRUE(report->gaps.isEmpty());
    expectSampleRows(temp.store(), "150209001", "150210120");
}

TEST(OnlineUpdate, AHistoryOlderThanTheWindowIsReplacedOnlyWhenDrawsCame)
{
    TempStore temp;
    importSample(temp.store(), "141030001", "141030120");
    const auto before = rows(temp.store());
    {
        // A dead server: nothing could be fetched, so nothing is cleared.
        ResultsSite dead;
        const QString address = dead.baseUrl();
        dead.stop();
        OnlineUpdateOptions o = options(dead);
        o.baseAddress = address;
        auto report = updateHistoryOnline(temp.store(), o);
        ASSERT_FALSE(report);
        EXPECT_EQ(report.error().kind, ErrorKind::Storage);
        EXPECT_NE(message(report.error()).find("历史号码没有改变"), std::string::npos) << message(report.error());
        EXPECT_NE(message(report.error()).find("2015-02-08"), std::string::npos) << message(report.error());
        const auto after = rows(temp.store());
        ASSERT_EQ(after.size(), before.size());
        EXPECT_EQ(after.front().values, before.front().values);
    }
    {
        // Pages that load but hold no draw of their day are no reason to clear either.
        ResultsSite empty;
        for (int k = 0; k < 3; ++k)
            empty.setAnswer(kToday.addDays(-k), {200, "<html><body>暂无数据</body></html>"});
        auto report = updateHistoryOnline(temp.store(), options(empty));
        ASSERT_FALSE(report);
        EXPECT_EQ(rows(temp.store()).size(), 120u);
    }
    ResultsSite site;
    auto report = updateHistoryOnline(temp.store(), options(site));
    ASSERT_TRUE(report) << message(report.error());
    EXPECT_EQ(site.requestedDays(), QStringList({"2015-02-08", "2015-02-09", "2015-02-10"}));
    EXPECT_TRUE(report->replaced);
    EXPECT_EQ(report->removed, 120);
    EXPECT_EQ(report->stored, 360);
    EXPECT_TRUE(QFile::exists(report->backupPath)) << report->backupPath.toStdString();
    expectSampleRows(temp.store(), "150208001", "150210120");
}

TEST(OnlineUpdate, GarbageAfterAMarkerIsSkippedAndTheGapReported)
{
    TempStore temp;
    ResultsSite site;
    auto draws = qeltaro::test::sampleDays().at(kToday);
    draws[4].second = QStringLiteral("1a345");                  // 005
    draws[5].second = QStringLiteral("+1234");                  // 006
    draws[9].second = QStringLiteral("１２３４５");             // 010, full-width digits
    draws[20].second = QStringLiteral("123");                   // 021
    site.setAnswer(kToday, {200, qeltaro::test::dayPageHtml(kToday, draws)});
    auto report = updateHistoryOnline(temp.store(), options(site, 2));
    ASSERT_TRUE(report) << message(report.error());
    EXPECT_EQ(report->pagesFailed, 0);
    EXPECT_EQ(report->stored, 240 - 4);
    EXPECT_EQ(report->unreadable, QStringList({"150210005", "150210006", "150210010", "150210021"}));
    EXPECT_EQ(report->gaps, QStringList({"150210005-150210006", "150210010", "150210021"}));
    EXPECT_EQ(report->missing, 4);
    auto stored = HistoryTable(temp.store()).find(QStringLiteral("150210007"));
    ASSERT_TRUE(stored && *stored);
    EXPECT_EQ(digitsText((*stored)->digits()).toStdString(), draws[6].second.toStdString());
    EXPECT_FALSE(*HistoryTable(temp.store()).contains(QStringLiteral("150210005")));
}

TEST(OnlineUpdate, FailedPagesAreCountedAndTheOthersStored)
{
    TempStore temp;
    importSample(temp.store(), "150208001", "150208120");
    ResultsSite site;
    HttpAnswer slow{200, qeltaro::test::dayPageHtml(QDate(2015, 2, 8), qeltaro::test::sampleDays().at(QDate(2015, 2, 8)))};
    slow.delay = 1500ms;
    site.setAnswer(QDate(2015, 2, 8), slow);
    site.setAnswer(QDate(2015, 2, 9), {500, "<html><body>服务器错误</body></html>"});
    OnlineUpdateOptions o = options(site, 3, QDate(2015, 2, 11));  // the sample has no 2015-02-11
    o.pageTimeout = 300ms;
    auto report = updateHistoryOnline(temp.store(), o);
    ASSERT_TRUE(report) << message(report.error());
    EXPECT_EQ(site.requestedDays(), QStringList({"2015-02-08", "2015-02-09", "2015-02-10", "2015-02-11"}));
    EXPECT_EQ(report->pages, 4);
    EXPECT_EQ(report->pagesFailed, 3);
    ASSERT_EQ(report->failures.size(), 3);
    EXPECT_TRUE(report->failures[0].startsWith("2015-02-08")) << report->failures[0].toStdString();
    EXPECT_TRUE(report->failures[1].contains("HTTP 500")) << report->failures[1].toStdString();
    EXPECT_TRUE(report->failures[2].startsWith("2015-02-11")) << report->failures[2].toStdString();
    EXPECT_EQ(report->stored, 120);
    EXPECT_EQ(report->gaps, QStringList({"150209001-150209120"}));
    EXPECT_EQ(report->missing, 120);
    EXPECT_EQ(rows(temp.store()).size(), 240u);
}

TEST(OnlineUpdate, StoppingLeavesTheHistoryAsItWas)
{
    class StopAfterFirstPage : public Progress {
    public:
        void report(int done, int, const QString&) override { reported = done; }
        bool cancelled() const override { return reported >= 1; }
        int reported = -1;
    };
    TempStore temp;
    ResultsSite site;
    StopAfterFirstPage progress;
    auto report = updateHistoryOnline(temp.store(), options(site), &progress);
    ASSERT_FALSE(report);
    EXPECT_EQ(report.error().kind, ErrorKind::Cancelled);
    EXPECT_EQ(site.requests().size(), 1);
    EXPECT_TRUE(rows(temp.store()).empty());
}

TEST(OnlineUpdate, BadSettingsAreRefusedBeforeAnyRequest)
{
    TempStore temp;
    ResultsSite site;
    OnlineUpdateOptions o = options(site);
    o.searchDays = 11;
    EXPECT_EQ(updateHistoryOnline(temp.store(), o).error().kind, ErrorKind::BadInput);
    o = options(site);
    o.baseAddress = QStringLiteral("ftp://127.0.0.1");
    EXPECT_EQ(updateHistoryOnline(temp.store(), o).error().kind, ErrorKind::BadInput);
    EXPECT_TRUE(site.requests().isEmpty());
}

TEST(OnlineUpdate, AGameOf42DrawsADayReadsTablePagesFromAWholeAddress)
{
    TempStore temp;
    ASSERT_TRUE(temp.store().setGame(Game{QStringLiteral("四十二"), 42, 3, Numbering::Date}));
    auto digitsOf = [](int issue) { return QString::number(issue % 10).repeated(5); };
    QString history;
    for (int issue = 1; issue <= 40; ++issue)
        history += QStringLiteral("150209%1 %2\n").arg(issue, 3, 10, QChar(u'0')).arg(digitsOf(issue));
    ASSERT_TRUE(DrawHistory(temp.store()).importText(history));

    // A table a row per draw, the periods in the forms such sites use; 2015-02-10 lacks 005 and
    // lists an issue 043 that this game does not have.
    auto page = [&](const QDate& day, int missing) {
        QString html = QStringLiteral("<html><body><table><tr><th>期号</th><th colspan=5>开奖号码</th></tr>");
        for (int issue = 43; issue >= 1; --issue) {
            if (issue == missing)
                continue;
            const QString number = issue % 2 ? day.toString(QStringLiteral("yyMMdd")) + QStringLiteral("%1").arg(issue, 3, 10, QChar(u'0'))
                                             : day.toString(QStringLiteral("yyyyMMdd-")) + QStringLiteral("%1").arg(issue, 3, 10, QChar(u'0'));
            QString cells;
            for (QChar d : digitsOf(issue))
                cells += QStringLiteral("<td>%1</td>").arg(d);
            html += QStringLiteral("<tr><td>%1</td>%2</tr>").arg(number, cells);
        }
        return (html + QStringLiteral("</table></body></html>")).toUtf8();
    };
    qeltaro::test::LocalHttpServer site;
    site.serve(QStringLiteral("/kj/20150209.html"), page(QDate(2015, 2, 9), 0), 200, "text/html; charset=utf-8");
    site.serve(QStringLiteral("/kj/20150210.html"), page(kToday, 5), 200, "text/html; charset=utf-8");

    OnlineUpdateOptions o;
    o.baseAddress = site.url(QStringLiteral("/kj/{ymd}.html"));
    o.today = kToday;
    o.pageTimeout = 5s;
    auto report = updateHistoryOnline(temp.store(), o);
    ASSERT_TRUE(report) << message(report.error());
    EXPECT_EQ(site.requests(), QStringList({"/kj/20150209.html", "/kj/20150210.html"}));
    EXPECT_EQ(report->pagesFailed, 0);
    EXPECT_EQ(report->stored, 2 + 41);
    EXPECT_EQ(report->gaps, QStringList({"150210005"}));
    EXPECT_EQ(report->missing, 1);
    EXPECT_EQ(report->lastStored.toStdString(), "150210042");
    auto stored = HistoryTable(temp.store()).find(QStringLiteral("150210006"));
    ASSERT_TRUE(stored && *stored);
    EXPECT_EQ(digitsText((*stored)->digits()).toStdString(), "66666");
}

TEST(OnlineUpdate, AYearNumberedGameIsNotUpdatedOnline)
{
    TempStore temp;
    ASSERT_TRUE(temp.store().setGame(Game{QStringLiteral("日开"), 1, 3, Numbering::Year}));
    ASSERT_TRUE(DrawHistory(temp.store()).importText(QStringLiteral("24001 12345 2024-01-01\n")));
    ResultsSite site;
    auto report = updateHistoryOnline(temp.store(), options(site, 3, QDate(2024, 1, 3)));
    ASSERT_FALSE(report);
    EXPECT_EQ(report.error().kind, ErrorKind::BadInput);
    EXPECT_NE(message(report.error()).find("不适用于彩种“日开”"), std::string::npos) << message(report.error());
    EXPECT_TRUE(site.requests().isEmpty());
    EXPECT_EQ(rows(temp.store()).size(), 1u);
}
