#include "gui_test_support.h"

#include "gui/common/background_task.h"
#include "history/draw_history.h"
#include "results_site.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QDialog>

using namespace qeltaro;
using qeltaro::test::WindowFixture;

class HistoryCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void clipboardImportStoresDrawsAndReportsARefusedText()
    {
        WindowFixture f;
        f.open();
        QClipboard* clipboard = QGuiApplication::clipboard();
        clipboard->setText(QString());
        f.find<QAction>("mnuPasteHistory")->trigger();
        QVERIFY(gui::Dialogs::takeLog().join(u'\n').contains(QStringLiteral("剪贴板中没有文字")));

        clipboard->setText(QStringLiteral("160121001 38146\r\n160121002 12345\r\n"));
        f.find<QAction>("mnuPasteHistory")->trigger();
        QCOMPARE(f.window->session().history().rowCount(), 2);
        QCOMPARE(f.find<QTableView>("MSFlexGrid1")->model()->rowCount(), 2);
        QVERIFY(gui::Dialogs::takeLog().join(u'\n').contains(QStringLiteral("导入2期，跳过已有的0期")));

        // One unreadable line refuses the whole text, named by its line; the refusal speaks of
        // the clipboard, not of a file.
        clipboard->setText(QStringLiteral("160121003 11111\n160121004 1234x\n160121003 22222\n"));
        f.find<QAction>("mnuPasteHistory")->trigger();
        QCOMPARE(f.window->session().history().rowCount(), 2);
        const QString refusal = gui::Dialogs::takeLog().join(u'\n');
        QVERIFY(refusal.contains(QStringLiteral("剪贴板中的历史号码有2行无法识别")));
        QVERIFY(refusal.contains(QStringLiteral("第2行")));
        QVERIFY(refusal.contains(QStringLiteral("第160121003期在剪贴板中出现两次")));
    }

    void deletingTheLastNOnAShortHistoryEmptiesIt()
    {
        WindowFixture f;
        QVERIFY(DrawHistory(f.temp.store()).importText(QStringLiteral("160121001 11111\n160121002 22222\n")));
        f.open();
        gui::Dialogs::queueAnswer(QStringLiteral("3"));
        f.find<QAction>("mnuEszhzd")->trigger();
        QCOMPARE(f.window->session().history().rowCount(), 0);
        QCOMPARE(f.find<QTableView>("MSFlexGrid1")->model()->rowCount(), 0);
    }

    void deleteToASelectedPeriodProposesTheDrawBeforeIt()
    {
        WindowFixture f;
        QVERIFY(DrawHistory(f.temp.store()).importText(qeltaro::test::sampleHistoryLines(130)));
        f.open();
        auto* grid = f.find<QTableView>("MSFlexGrid1");
        // Row 121 is 141031001, the first issue of a day: the proposal is the day before's 120.
        grid->scrollTo(grid->model()->index(120, 0));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(120, 0)).center());
        QCOMPARE(f.window->selectedPeriod(), QStringLiteral("141031001"));
        gui::Dialogs::takeLog();
        gui::Dialogs::queueAnswer(QStringLiteral("141030120"));
        f.find<QAction>("mnuDlzd")->trigger();
        QCOMPARE(f.window->session().history().rowCount(), 120);
        QCOMPARE(f.window->session().latestPeriod(), QStringLiteral("141030120"));
        // An answer ending in 000 changes nothing.
        gui::Dialogs::queueAnswer(QStringLiteral("141030000"));
        f.find<QAction>("mnuDlzd")->trigger();
        QCOMPARE(f.window->session().history().rowCount(), 120);
    }

    void deleteAllAsksFirstAndTheBackupBringsTheHistoryBack()
    {
        WindowFixture f;
        QVERIFY(DrawHistory(f.temp.store()).importText(qeltaro::test::sampleHistoryLines(30)));
        f.open();
        // Cancelled: nothing goes. The question names the count and the copy kept.
        f.find<QAction>("mnuDlAll")->trigger();
        QCOMPARE(f.window->session().history().rowCount(), 30);
        const QString question = gui::Dialogs::takeLog().join(u'\n');
        QVERIFY2(question.contains(QStringLiteral("所有30期")) && question.contains(QStringLiteral("从备份恢复")),
                 qPrintable(question));

        gui::Dialogs::queueAnswer(QStringLiteral("ok"));
        f.find<QAction>("mnuDlAll")->trigger();
        QCOMPARE(f.window->session().history().rowCount(), 0);
        QCOMPARE(f.find<QTableView>("MSFlexGrid1")->model()->rowCount(), 0);
        f.window->session().addDraw(QStringLiteral("160121001"), QStringLiteral("12345"));

        // The copy kept before the delete is listed with its counts and restored after asking;
        // the store as it was just before is kept too.
        gui::Dialogs::takeLog();
        f.find<QAction>("mnuRestoreBackup")->trigger();
        auto* dialog = f.window->findChild<QDialog*>(QStringLiteral("frmBackups"));
        QVERIFY(dialog);
        auto* grid = dialog->findChild<QTableWidget*>(QStringLiteral("grdBackups"));
        QCOMPARE(grid->rowCount(), 1);
        QCOMPARE(grid->item(0, 1)->text(), QStringLiteral("删除所有历史前"));
        QCOMPARE(grid->item(0, 2)->text(), QStringLiteral("30期"));
        grid->selectRow(0);
        dialog->findChild<QPushButton*>(QStringLiteral("cmdRestore"))->click();  // cancelled
        QCOMPARE(f.window->session().store().backups()->size(), size_t(1));
        gui::Dialogs::queueAnswer(QStringLiteral("ok"));
        dialog->findChild<QPushButton*>(QStringLiteral("cmdRestore"))->click();
        QCOMPARE(f.window->session().history().rowCount(), 30);
        QCOMPARE(f.find<QTableView>("MSFlexGrid1")->model()->rowCount(), 30);
        const auto backups = f.window->session().store().backups();
        QCOMPARE(backups->size(), size_t(2));
        QCOMPARE(backups->front().reason, QStringLiteral("before-restore"));
        QCOMPARE(backups->front().draws, 1);
    }

    void deleteLastDrawButton()
    {
        WindowFixture f;
        QVERIFY(DrawHistory(f.temp.store()).importText(QStringLiteral("160121001 11111\n160121002 22222\n")));
        f.open();
        f.find<QPushButton>("Command3")->click();
        QCOMPARE(f.window->session().latestPeriod(), QStringLiteral("160121001"));
        QCOMPARE(f.find<QLineEdit>("Text1")->text(), QStringLiteral("160121002"));
    }

    void onlineUpdateRunsOffTheWindowThreadAndRefreshes()
    {
        qeltaro::test::ResultsSite site;
        WindowFixture f;
        f.open();
        f.window->session().setToday(QDate(2015, 2, 10));
        QVERIFY(f.window->session().settings().set(QStringLiteral("HistoryUrl"), site.baseUrl()));
        gui::Dialogs::takeLog();
        gui::Dialogs::queueAnswer(QStringLiteral("ok"));
        f.find<QPushButton>("Command21")->click();
        f.window->task().wait();
        QCOMPARE(f.window->session().history().rowCount(), 3 * 120);
        QCOMPARE(f.window->session().latestPeriod(), QStringLiteral("150210120"));
        QCOMPARE(f.find<QLineEdit>("Text1")->text(), QStringLiteral("150211001"));
        const QString log = gui::Dialogs::takeLog().join(u'\n');
        QVERIFY2(log.contains(QStringLiteral("保存开奖号码360期")), qPrintable(log));

        // Cancelling the question fetches nothing.
        const int requests = int(site.requests().size());
        f.find<QPushButton>("Command21")->click();
        QCOMPARE(int(site.requests().size()), requests);
    }
};

QTEST_MAIN(HistoryCommandsTest)
#include "history_commands_test.moc"
