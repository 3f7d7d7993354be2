// qeltaro-cli watch against a results site on 127.0.0.1 that shows one more draw of today at each
// request (draws 001 to 005 stored first): JSON lines as calc prints them, the --on-draw command (its input, failure, time-out),
// SIGTERM, one watch per data folder; and the schedule through game and history next.

#include "calculation_fixtures.h"
#include "history/draw_history.h"
#include "local_http_server.h"
#include "results_site.h"
#include "test_support.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

#include <csignal>

using namespace qeltaro;
using qeltaro::test::runCli;
using qeltaro::test::TempStore;

namespace {

QString todays(int issue)
{
    return test::GrowingDaySite::period(QDate::currentDate(), issue);
}

// Today's first five draws stored, and three kill formulas of 一星直选.
void prepare(TempStore& temp)
{
    test::GrowingDaySite::startWellInsideTheDay();
    QString lines;
    for (const auto& [period, digits] : test::GrowingDaySite::draws(QDate::currentDate(), 5))
        lines += period + u' ' + digits + u'\n';
    auto imported = DrawHistory(temp.store()).importText(lines);
    ASSERT_TRUE(imported);
    test::storeFormulas(temp.store(), Category{1, false}, {{"L1A"}, {"L2A+L3A"}, {"L5A*3"}});
    temp.close();
}

QProcess* startWatch(const TempStore& temp, const QStringList& arguments, QObject* parent = nullptr)
{
    auto* process = new QProcess(parent);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QELTARO_DATA_DIR"), temp.dataDir());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), temp.configDir());
    process->setProcessEnvironment(env);
    process->start(test::cliPath(), QStringList{QStringLiteral("watch")} + arguments);
    process->closeWriteChannel();
    return process;
}

std::vector<QJsonObject> jsonLines(const QString& out)
{
    std::vector<QJsonObject> lines;
    for (const QString& line : out.split(u'\n', Qt::SkipEmptyParts)) {
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(line.toUtf8(), &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << line.toStdString();
        lines.push_back(document.object());
    }
    return lines;
}

}  // namespace

TEST(WatchCli, JsonLinesCarryWhatCalcPrintsAndEachResultGoesToTheHook)
{
    TempStore temp;
    prepare(temp);
    test::GrowingDaySite site;
    const QString hook = QStringLiteral("cat > '%1'/hook-$QELTARO_PERIOD.json; echo hook-said").arg(temp.path(QString()));
    auto r = runCli(temp, {"--json", "watch", "--url", site.baseUrl(), "--poll-seconds", "1", "--max-draws", "2",
                           "--category", "1D", "--kind", "kill", "--method", "selected", "--on-draw", hook});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const auto lines = jsonLines(r.out);
    QStringList kinds;
    for (const QJsonObject& line : lines)
        kinds << line["event"].toString();
    EXPECT_EQ(kinds, (QStringList{"calculation", "draws", "calculation", "draws", "calculation"}));
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0]["calc"].toObject()["period"].toString(), todays(6));
    EXPECT_EQ(lines[1]["periods"].toArray(), QJsonArray{todays(6)});
    EXPECT_EQ(lines[3]["newest"].toString(), todays(7));
    // The last calculation is calc's own answer for the same history and options.
    auto calc = runCli(temp, {"--json", "calc", "--category", "1D", "--kind", "kill", "--method", "selected", "--no-record"});
    ASSERT_EQ(calc.exitCode, 0) << calc.err.toStdString();
    EXPECT_EQ(lines[4]["calc"].toObject(), QJsonDocument::fromJson(calc.out.toUtf8()).object());
    // Each calculation's line reached the hook on its stdin, named by the newest drawn period.
    const QStringList outLines = r.out.split(u'\n', Qt::SkipEmptyParts);
    EXPECT_EQ(QString::fromUtf8(test::readFile(temp.path(QStringLiteral("hook-%1.json").arg(todays(5))))).trimmed(), outLines[0]);
    EXPECT_EQ(QString::fromUtf8(test::readFile(temp.path(QStringLiteral("hook-%1.json").arg(todays(7))))).trimmed(), outLines[4]);
    EXPECT_EQ(r.err.count(QStringLiteral("hook-said")), 3);
    EXPECT_FALSE(r.out.contains(QStringLiteral("hook-said")));
}

TEST(WatchCli, AFailingOrSlowHookIsAnErrorAndTheWatchGoesOn)
{
    TempStore temp;
    prepare(temp);
    test::GrowingDaySite site;
    const QString hook = QStringLiteral("if [ \"$QELTARO_PERIOD\" = %1 ]; then exit 3; else sleep 20; fi").arg(todays(6));
    auto r = runCli(temp, {"--json", "watch", "--url", site.baseUrl(), "--poll-seconds", "1", "--max-draws", "2",
                           "--on-draw", hook, "--on-draw-seconds", "1"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const auto lines = jsonLines(r.out);
    ASSERT_EQ(lines.size(), 4u) << r.out.toStdString();
    EXPECT_EQ(lines[0]["event"].toString(), QStringLiteral("draws"));
    EXPECT_EQ(lines[1]["event"].toString(), QStringLiteral("error"));
    EXPECT_TRUE(lines[1]["message"].toString().contains(QStringLiteral("退出码3")));
    EXPECT_EQ(lines[2]["newest"].toString(), todays(7));
    EXPECT_EQ(lines[3]["event"].toString(), QStringLiteral("error"));
    EXPECT_TRUE(lines[3]["message"].toString().contains(QStringLiteral("1秒")));
}

TEST(WatchCli, OneWatchPerFolderEndsCleanlyOnSigtermAndAKilledOneBlocksNothing)
{
    TempStore temp;
    prepare(temp);
    test::GrowingDaySite site;
    QObject owner;
    QProcess* first = startWatch(temp, {"--url", site.baseUrl(), "--poll-seconds", "1"}, &owner);
    ASSERT_TRUE(first->waitForReadyRead(20000)) << first->readAllStandardError().toStdString();
    auto second = runCli(temp, {"watch", "--url", site.baseUrl()});
    EXPECT_EQ(second.exitCode, 1);
    EXPECT_TRUE(second.err.contains(QString::number(first->processId()))) << second.err.toStdString();
    ::kill(pid_t(first->processId()), SIGTERM);
    ASSERT_TRUE(first->waitForFinished(5000));
    EXPECT_EQ(first->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(first->exitCode(), 0);

    QProcess* killed = startWatch(temp, {"--url", site.baseUrl(), "--poll-seconds", "1"}, &owner);
    ASSERT_TRUE(killed->waitForReadyRead(20000));
    ::kill(pid_t(killed->processId()), SIGKILL);
    ASSERT_TRUE(killed->waitForFinished(5000));
    auto after = runCli(temp, {"watch", "--url", site.baseUrl(), "--max-draws", "1"});
    EXPECT_EQ(after.exitCode, 0) << after.err.toStdString();
}

TEST(WatchCli, TheScheduleIsSetShownRefusedAndGivesTheNextDueTime)
{
    TempStore temp;
    temp.close();
    test::writeFile(temp.path("draws.txt"), test::sampleHistoryLines(119).toUtf8());
    ASSERT_EQ(runCli(temp, {"history", "import", temp.path("draws.txt")}).exitCode, 0);
    for (const char* bad : {"00:05/5/23,10:00/10/73", "00:05/5/23,00:05/10/73,22:05/5/24", "00:05/5/23,10:00/10/73,22:05/5/x"}) {
        auto r = runCli(temp, {"game", "set", "--schedule", bad});
        EXPECT_EQ(r.exitCode, 1) << bad;
        EXPECT_TRUE(r.err.contains(QStringLiteral("开奖时间表"))) << r.err.toStdString();
    }
    auto shown = runCli(temp, {"--json", "game", "show"});
    EXPECT_EQ(QJsonDocument::fromJson(shown.out.toUtf8())["schedule"].toArray(), QJsonArray());
    EXPECT_FALSE(QJsonDocument::fromJson(runCli(temp, {"--json", "history", "next"}).out.toUtf8()).object().contains("due"));

    // Draws are stored, and the schedule may still be set.
    ASSERT_EQ(runCli(temp, {"game", "set", "--schedule", "00:05/5/23,10:00/10/73,22:05/5/24"}).exitCode, 0);
    shown = runCli(temp, {"--json", "game", "show"});
    const QJsonArray schedule = QJsonDocument::fromJson(shown.out.toUtf8())["schedule"].toArray();
    ASSERT_EQ(schedule.size(), 3);
    EXPECT_EQ(schedule[1].toObject(), (QJsonObject{{"first", "10:00"}, {"every", 10}, {"draws", 73}}));
    // Issue 120 of 30 October, drawn at 24:00, is due at midnight of the 31st.
    const QJsonObject next = QJsonDocument::fromJson(runCli(temp, {"--json", "history", "next"}).out.toUtf8()).object();
    EXPECT_EQ(next["next"].toString(), QStringLiteral("141030120"));
    EXPECT_EQ(next["due"].toString(), QStringLiteral("2014-10-31T00:00:00"));

    ASSERT_EQ(runCli(temp, {"game", "set", "--schedule", ""}).exitCode, 0);
    EXPECT_EQ(QJsonDocument::fromJson(runCli(temp, {"--json", "game", "show"}).out.toUtf8())["schedule"].toArray(), QJsonArray());
}
