#include "gui_test_support.h"

#include "library/formula_update.h"
#include "gui/common/background_task.h"
#include "results_site.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

using namespace qeltaro;
using qeltaro::test::WindowFixture;

namespace {

QString stored(const WindowFixture& f, const char* key)
{
    return Settings(f.temp.settingsFile()).value(QLatin1String(key));
}

void answer(std::initializer_list<const char*> answers)
{
    for (const char* text : answers)
        gui::Dialogs::queueAnswer(QString::fromUtf8(text));
}

}  // namespace

class SettingsMenuTest : public QObject {
    Q_OBJECT
private slots:
    void theAddressBoxesStoreOnlyHttpAddresses()
    {
        WindowFixture f;
        f.open();
        auto* history = f.find<QAction>(QStringLiteral("mnuHistoryUrl"));
        auto* formulas = f.find<QAction>(QStringLiteral("mnuFormulaUrl"));
        QVERIFY(history && formulas);
        QCOMPARE(history->text(), QStringLiteral("开奖网址设置..."));
        QCOMPARE(formulas->text(), QStringLiteral("公式网址设置..."));
        QVERIFY(f.find<QMenu>(QStringLiteral("mnuSetup"))->actions().contains(history));

        // The box shows the stored address; cancelling keeps it.
        QVERIFY(f.window->session().settings().set(QStringLiteral("HistoryUrl"), QStringLiteral("http://old.example/kj")));
        gui::Dialogs::takeLog();
        answer({"cancel"});
        history->trigger();
        QCOMPARE(gui::Dialogs::lastPrefill(), QStringLiteral("http://old.example/kj"));
        QCOMPARE(stored(f, "HistoryUrl"), QStringLiteral("http://old.example/kj"));

        // Anything but an http or https address is refused and asked again; nothing is stored
        // until an address fits. Each refusal is a message box, answered here by "ok".
        answer({"ftp://files.example/kj", "ok", "javascript:alert(1)", "ok", "old.example/kj", "ok", "  ", "ok",
                "https://new.example/kj/"});
        history->trigger();
        const QStringList log = gui::Dialogs::takeLog();
        QCOMPARE(log.filter(QStringLiteral("输入有误: ")).size(), 4);
        // The menu's words, not the settings key.
        QVERIFY(log.join(u'\n').contains(QStringLiteral("开奖网址必须是")));
        QVERIFY(!log.join(u'\n').contains(QStringLiteral("HistoryUrl")));
        QCOMPARE(stored(f, "HistoryUrl"), QStringLiteral("https://new.example/kj/"));

        // A refusal followed by Cancel stores nothing.
        answer({"mailto:a@b.example", "ok", "cancel"});
        formulas->trigger();
        QCOMPARE(gui::Dialogs::lastPrefill(), QStringLiteral("mailto:a@b.example"));
        QCOMPARE(stored(f, "FormulaUrl"), QString());
        answer({"http://files.example/qeltaro.txt"});
        formulas->trigger();
        QCOMPARE(stored(f, "FormulaUrl"), QStringLiteral("http://files.example/qeltaro.txt"));
        QCOMPARE(stored(f, "HistoryUrl"), QStringLiteral("https://new.example/kj/"));
    }

    void aHistoryUpdateWithoutAnAddressOffersTheBoxAndThenRuns()
    {
        qeltaro::test::ResultsSite site;
        WindowFixture f;
        f.open();
        f.window->session().setToday(QDate(2015, 2, 10));

        // Declining the offer fetches nothing and stores nothing.
        gui::Dialogs::takeLog();
        answer({"cancel"});
        f.find<QPushButton>("Command21")->click();
        QVERIFY(gui::Dialogs::takeLog().join(u'\n').contains(QStringLiteral("还没有设置历史号码网页地址")));
        QVERIFY(site.requests().isEmpty());
        QCOMPARE(stored(f, "HistoryUrl"), QString());

        // Accepting it: the address typed is stored and the update goes on from it.
        answer({"ok", qPrintable(site.baseUrl()), "ok"});
        f.find<QPushButton>("Command21")->click();
        f.window->task().wait();
        QCOMPARE(stored(f, "HistoryUrl"), site.baseUrl());
        QCOMPARE(f.window->session().history().rowCount(), 3 * 120);
    }

    void aFormulaUpdateWithoutAnAddressOffersTheBox()
    {
        WindowFixture f;
        f.open();
        gui::Dialogs::takeLog();
        // A refused address and then Cancel: no update is asked about.
        answer({"ok", "ftp://files.example/qeltaro.txt", "ok", "cancel"});
        f.find<QPushButton>("cmdGsgx")->click();
        QString log = gui::Dialogs::takeLog().join(u'\n');
        QVERIFY2(log.contains(formulaUrlMissingMessage()), qPrintable(log));
        QVERIFY(!log.contains(formulaUpdateQuestion()));
        QCOMPARE(stored(f, "FormulaUrl"), QString());

        // An address given: the update's own question follows.
        answer({"ok", "https://files.example/qeltaro.txt", "cancel"});
        f.find<QPushButton>("cmdGsgx")->click();
        log = gui::Dialogs::takeLog().join(u'\n');
        QVERIFY2(log.contains(formulaUpdateQuestion()), qPrintable(log));
        QCOMPARE(stored(f, "FormulaUrl"), QStringLiteral("https://files.example/qeltaro.txt"));
    }
};

QTEST_MAIN(SettingsMenuTest)
#include "settings_menu_test.moc"
