// 历史管理 → 自动更新开奖 on the real window against a results site on 127.0.0.1: a new draw
// refreshes the window as a typed one does, the player's last calculation is made again for the
// new next period and recorded, a notification tells it, faults stay in the status bar, and the
// choice is remembered.

#include "gui_test_support.h"

#include "calculation_fixtures.h"
#include "gui/history/draw_watch_commands.h"
#include "history/draw_history.h"
#include "local_http_server.h"
#include "predictions/prediction_journal.h"
#include "results_site.h"
#include "watch/watch_settings.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>

using namespace qeltaro;
using qeltaro::test::GrowingDaySite;
using qeltaro::test::WindowFixture;

class DrawWatchTest : public QObject {
    Q_OBJECT
private slots:
    void aNewDrawRefreshesRecalculatesAndNotifies()
    {
        GrowingDaySite::startWellInsideTheDay();
        WindowFixture f;
        GrowingDaySite site;
        const QDate today = QDate::currentDate();
        QString lines;
        for (const auto& [period, digits] : GrowingDaySite::draws(today, 5))
            lines += period + u' ' + digits + u'\n';
        QVERIFY(DrawHistory(f.temp.store()).importText(lines));
        test::storeFormulas(f.temp.store(), Category{1, false}, {{"L1A"}, {"L2A+L3A"}, {"L5A*3"}});
        {
            Settings settings(f.temp.settingsFile());
            QVERIFY(settings.set(QStringLiteral("HistoryUrl"), site.baseUrl()));
            QVERIFY(settings.set(QStringLiteral("WatchPollSeconds"), QStringLiteral("3600")));
        }
        f.open();
        // The player calculates the selected formulas of 一星直选 once.
        f.find<QRadioButton>("Option6_1")->setChecked(true);
        f.find<QPushButton>("Command23")->click();
        auto* watch = f.window->findChild<gui::DrawWatchCommands*>(QStringLiteral("drawWatchCommands"));
        QVERIFY(watch);
        QSignalSpy notified(watch, &gui::DrawWatchCommands::notified);

        f.find<QAction>("mnuAutoWatch")->trigger();
        QVERIFY(watch->watching());
        QTRY_COMPARE_WITH_TIMEOUT(f.window->session().history().rowCount(), 6, 20000);
        QTRY_VERIFY_WITH_TIMEOUT(!notified.isEmpty(), 5000);
        const QString text = notified.last().at(1).toString();
        QVERIFY2(text.contains(GrowingDaySite::period(today, 6)), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("第%1期").arg(GrowingDaySite::period(today, 7))), qPrintable(text));
        QCOMPARE(f.find<QTableView>("MSFlexGrid1")->model()->rowCount(), 6);
        const QString status = f.find<QLabel>("lblWatch")->text();
        QVERIFY2(status.contains(QStringLiteral("下次读取")) && status.contains(GrowingDaySite::period(today, 6)) &&
                     status.contains(QStringLiteral("第%1期").arg(GrowingDaySite::period(today, 7))),
                 qPrintable(status));
        // Recorded: the player's period 006, made again for 007.
        auto journal = readJournal(f.window->session().store());
        QVERIFY(journal);
        QCOMPARE(int(journal->entries.size()), 2);
        QCOMPARE(journal->entries.back().period, GrowingDaySite::period(today, 7));
        QVERIFY(journal->entries.front().slotResults[0].outcome.success.has_value());
        QVERIFY(autoWatchOn(f.window->session().settings()));

        f.find<QAction>("mnuAutoWatch")->trigger();
        QVERIFY(!watch->watching());
        QVERIFY(!autoWatchOn(f.window->session().settings()));
    }

    void aFaultStaysInTheStatusBar()
    {
        WindowFixture f;
        {
            Settings settings(f.temp.settingsFile());
            QVERIFY(settings.set(QStringLiteral("HistoryUrl"), test::LocalHttpServer::unreachableUrl()));
            QVERIFY(settings.set(QStringLiteral("AutoWatch"), QStringLiteral("True")));
        }
        f.open();
        auto* watch = f.window->findChild<gui::DrawWatchCommands*>(QStringLiteral("drawWatchCommands"));
        QVERIFY(watch->watching());  // remembered from the last start
        QTRY_VERIFY_WITH_TIMEOUT(f.find<QLabel>("lblWatch")->text().contains(QStringLiteral("读取失败")), 20000);
        QVERIFY(gui::Dialogs::takeLog().isEmpty());
    }
};

QTEST_MAIN(DrawWatchTest)
#include "draw_watch_test.moc"
