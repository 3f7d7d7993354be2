#include "gui_test_support.h"

#include "gui/app/data_folders.h"
#include "gui/app/game_dialog.h"
#include "history/draw_history.h"
#include "history/game_schedule.h"
#include "store/history_table.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

using namespace qeltaro;
using qeltaro::test::WindowFixture;

namespace {

gui::GameDialog* openGameDialog(WindowFixture& f)
{
    f.find<QAction>("mnuGame")->trigger();
    return f.window->findChild<gui::GameDialog*>(QStringLiteral("frmGame"));
}

template <typename T>
T* in(QWidget* parent, const char* name)
{
    return parent->findChild<T*>(QLatin1String(name));
}

void typeDigits(WindowFixture& f, const QString& digits)
{
    f.find<QLineEdit>("txtIpt_1")->setFocus();
    for (QChar key : digits)
        QTest::keyClick(QApplication::focusWidget(), key.toLatin1());
}

Game yearGame()
{
    Game game;
    game.name = QStringLiteral("日开彩");
    game.drawsPerDay = 1;
    game.numbering = Numbering::Year;
    return game;
}

// The entries of the recent-folder menu, as shown when it opens.
QStringList recentEntries(gui::MainWindow* window)
{
    auto* menu = window->findChild<QMenu*>(QStringLiteral("mnuRecentDataDirs"));
    emit menu->aboutToShow();
    QStringList entries;
    for (QAction* action : menu->actions())
        entries << action->text() + (action->isChecked() ? QStringLiteral(" *") : QString());
    return entries;
}

}  // namespace

class GameWindowTest : public QObject {
    Q_OBJECT
private slots:
    void theDialogChangesTheGameOfAnEmptyStoreAndTheWindowFollows()
    {
        WindowFixture f;
        f.open();
        gui::GameDialog* dialog = openGameDialog(f);
        QVERIFY(dialog && dialog->isVisible());
        QVERIFY(!in<QLabel>(dialog, "lblLocked")->isVisible());
        QCOMPARE(in<QLineEdit>(dialog, "txtGameName")->text(), QStringLiteral("时时彩"));
        QCOMPARE(in<QSpinBox>(dialog, "txtDrawsPerDay")->value(), 120);
        QVERIFY(in<QLabel>(dialog, "lblExample")->text().contains(QStringLiteral("160121001 ～ 160121120")));

        // A minute game needs four-digit issues: refused with the reason, the input kept.
        in<QLineEdit>(dialog, "txtGameName")->setText(QStringLiteral("分分彩"));
        in<QSpinBox>(dialog, "txtDrawsPerDay")->setValue(1440);
        QVERIFY(in<QLabel>(dialog, "lblExample")->text().contains(QStringLiteral("4位期数")));
        gui::Dialogs::takeLog();
        in<QPushButton>(dialog, "cmdSave")->click();
        QVERIFY(gui::Dialogs::takeLog().join(u'\n').contains(QStringLiteral("需要4位期数")));
        QVERIFY(dialog->isVisible());
        QCOMPARE(in<QSpinBox>(dialog, "txtDrawsPerDay")->value(), 1440);
        QCOMPARE(f.window->session().store().game(), Game());

        in<QComboBox>(dialog, "cboIssueDigits")->setCurrentIndex(1);
        QVERIFY(in<QLabel>(dialog, "lblExample")->text().contains(QStringLiteral("1601210001 ～ 1601211440")));
        in<QPushButton>(dialog, "cmdSave")->click();
        const Game minute{QStringLiteral("分分彩"), 1440, 4, Numbering::Date};
        QCOMPARE(f.window->session().store().game(), minute);
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Qeltaro - 分分彩"));
        // The next period is proposed in the new game's form, and the store keeps the game.
        QCOMPARE(f.find<QLineEdit>("Text1")->text(), f.window->session().today().toString(QStringLiteral("yyMMdd")) + QStringLiteral("0001"));
        f.window.reset();
        f.temp.reopen();
        QCOMPARE(f.temp.store().game(), minute);
    }

    void withDrawsStoredOnlyTheNameChanges()
    {
        WindowFixture f;
        QVERIFY(DrawHistory(f.temp.store()).importText(QStringLiteral("160121001 11111\n160121002 22222\n")));
        f.open();
        gui::GameDialog* dialog = openGameDialog(f);
        QVERIFY(in<QLabel>(dialog, "lblLocked")->isVisible());
        QVERIFY(in<QLabel>(dialog, "lblLocked")->text().contains(QStringLiteral("已有2期")));
        for (const char* name : {"txtDrawsPerDay", "cboIssueDigits", "optNumbering_0", "optNumbering_1"})
            QVERIFY2(!in<QWidget>(dialog, name)->isEnabled(), name);
        QVERIFY(in<QLineEdit>(dialog, "txtGameName")->isEnabled());

        // Should a change reach the store anyway, the store refuses it and says why.
        in<QSpinBox>(dialog, "txtDrawsPerDay")->setValue(60);
        gui::Dialogs::takeLog();
        in<QPushButton>(dialog, "cmdSave")->click();
        QVERIFY(gui::Dialogs::takeLog().join(u'\n').contains(QStringLiteral("不能更改彩种")));
        QCOMPARE(f.window->session().store().game(), Game());

        in<QSpinBox>(dialog, "txtDrawsPerDay")->setValue(120);
        // The schedule may change with draws stored; one of 119 draws is refused.
        QVERIFY(in<QLineEdit>(dialog, "txtSchedule")->isEnabled());
        in<QLineEdit>(dialog, "txtSchedule")->setText(QStringLiteral("00:05/5/23,10:00/10/72,22:05/5/24"));
        QVERIFY(in<QLabel>(dialog, "lblExample")->text().contains(QStringLiteral("共119期")));
        in<QPushButton>(dialog, "cmdSave")->click();
        QVERIFY(gui::Dialogs::takeLog().join(u'\n').contains(QStringLiteral("共119期")));
        in<QLineEdit>(dialog, "txtSchedule")->setText(QStringLiteral("00:05/5/23,10:00/10/73,22:05/5/24"));
        in<QLineEdit>(dialog, "txtGameName")->setText(QStringLiteral("重庆时时彩"));
        in<QPushButton>(dialog, "cmdSave")->click();
        QCOMPARE(readGameSchedule(f.window->session().store())->drawsPerDay(), 120);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(f.window->session().store().game().name, QStringLiteral("重庆时时彩"));
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Qeltaro - 重庆时时彩"));
        QCOMPARE(f.window->session().history().rowCount(), 2);
    }

    void theDateBoxShowsForYearGamesAndItsDateIsStored()
    {
        WindowFixture f;
        f.open();
        QVERIFY(!f.find<QDateEdit>("dtpDrawDate")->isVisible());
        f.window.reset();

        f.temp.reopen();
        QVERIFY(f.temp.store().setGame(yearGame()));
        f.open();
        auto* dateBox = f.find<QDateEdit>("dtpDrawDate");
        QVERIFY(dateBox->isVisible());
        QCOMPARE(dateBox->date(), f.window->session().today());
        const QDate today = f.window->session().today();
        const QString year = today.toString(QStringLiteral("yy"));
        f.find<QLineEdit>("Text1")->setText(year + QStringLiteral("002"));
        dateBox->setDate(QDate(today.year(), 1, 2));
        typeDigits(f, QStringLiteral("38146"));
        auto stored = HistoryTable(f.window->session().store()).find(year + QStringLiteral("002"));
        QVERIFY(stored && *stored);
        QCOMPARE((*stored)->drawDate(), QDate(today.year(), 1, 2));
        QCOMPARE(f.find<QLineEdit>("Text1")->text(), year + QStringLiteral("003"));

        // A date in another year than the period's is refused, nothing stored.
        dateBox->setDate(QDate(today.year() - 1, 12, 31));
        typeDigits(f, QStringLiteral("12345"));
        QCOMPARE(f.window->session().history().rowCount(), 1);
        QVERIFY(gui::Dialogs::takeLog().join(u'\n').contains(QStringLiteral("与期号") + year + QStringLiteral("003不符")));
    }

    void theRecentFolderListKeepsTheLastFiveNewestFirst()
    {
        qeltaro::test::TempStore temp;
        Settings settings(temp.settingsFile());
        for (const char* name : {"a", "b", "c", "d", "e", "f"})
            QDir().mkpath(temp.path(QLatin1String(name)));
        auto folders = [&temp](std::initializer_list<const char*> names) {
            QStringList paths;
            for (const char* name : names)
                paths << QFileInfo(temp.path(QLatin1String(name))).canonicalFilePath();
            return paths;
        };
        for (const char* name : {"a", "b", "c", "d"})
            gui::rememberDataFolder(settings, temp.path(QLatin1String(name)));
        // Another spelling of a known folder moves it to the front instead of adding it.
        gui::rememberDataFolder(settings, temp.path(QStringLiteral("a/../b/")));
        QCOMPARE(gui::recentDataFolders(settings), folders({"b", "d", "c", "a"}));
        for (const char* name : {"e", "f"})
            gui::rememberDataFolder(settings, temp.path(QLatin1String(name)));
        QCOMPARE(gui::recentDataFolders(settings), folders({"f", "e", "b", "d", "c"}));

        // A folder whose name holds a list separator comes back whole.
        const QString odd = temp.path(QStringLiteral("g, \"h\""));
        QDir().mkpath(odd);
        gui::rememberDataFolder(settings, odd);
        QCOMPARE(gui::recentDataFolders(settings).first(), QFileInfo(odd).canonicalFilePath());
    }

    void switchingFoldersOpensTheOtherStoreInANewWindow()
    {
        qeltaro::test::TempStore temp;
        temp.close();
        gui::Dialogs::setScripted(true);
        const QString other = temp.path(QStringLiteral("other"));
        {
            auto store = Store::open(other);
            QVERIFY(store && (*store)->setGame(yearGame()));
        }
        gui::MainWindowLauncher launcher(temp.settingsFile());
        QVERIFY(launcher.open(temp.dataDir()));
        QPointer<gui::MainWindow> first = launcher.window();
        QCOMPARE(first->windowTitle(), QStringLiteral("Qeltaro - 时时彩"));

        gui::Dialogs::queueAnswer(other);
        first->findChild<QAction*>(QStringLiteral("mnuDataDir"))->trigger();
        gui::MainWindow* second = launcher.window();
        QVERIFY(second != first.data());
        QCOMPARE(second->session().store().dataDir(), QDir(other).absolutePath());
        QCOMPARE(second->windowTitle(), QStringLiteral("Qeltaro - 日开彩"));
        QVERIFY(second->findChild<QDateEdit*>(QStringLiteral("dtpDrawDate"))->isVisible());
        QTRY_VERIFY(first.isNull());
        const QStringList entries = recentEntries(second);
        QCOMPARE(entries.size(), 2);
        QVERIFY(entries[0].contains(QStringLiteral("other")) && entries[0].endsWith(QStringLiteral(" *")));
        QVERIFY(entries[1].contains(QStringLiteral("data")) && !entries[1].endsWith(QStringLiteral(" *")));

        // A vanished folder is refused with a message; the window stays on its store.
        gui::Dialogs::takeLog();
        gui::Dialogs::queueAnswer(temp.path(QStringLiteral("gone")));
        second->findChild<QAction*>(QStringLiteral("mnuDataDir"))->trigger();
        QCOMPARE(launcher.window(), second);
        QVERIFY(gui::Dialogs::takeLog().join(u'\n').contains(QStringLiteral("不存在")));

        // The recent entry goes back to the first folder.
        QPointer<gui::MainWindow> left = second;
        second->findChild<QMenu*>(QStringLiteral("mnuRecentDataDirs"))->actions().at(1)->trigger();
        QCOMPARE(launcher.window()->session().store().dataDir(), QDir(temp.dataDir()).absolutePath());
        QCOMPARE(launcher.window()->windowTitle(), QStringLiteral("Qeltaro - 时时彩"));
        QTRY_VERIFY(left.isNull());
    }
};

QTEST_MAIN(GameWindowTest)
#include "game_window_test.moc"
