#include "gui_test_support.h"

#include "backtest/backtest_context.h"
#include "language/column_evaluator.h"
#include "language/expression.h"
#include "gui/search/best_rates_panel.h"
#include "gui/common/background_task.h"
#include "gui/search/formula_search_window.h"
#include "gui/search/search_progress_chart.h"
#include "gui/search/threshold_editor.h"
#include "history/draw_history.h"
#include "search/candidate_evaluator.h"
#include "search/scheme_settings.h"
#include "search/search_category.h"
#include "store/formula_table.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableView>

using namespace qeltaro;
using qeltaro::test::WindowFixture;

namespace {

constexpr int kTimeout = 60000;

// The main window on a store with the sample history and, when asked, formulas already held.
void openWithHistory(WindowFixture& f, int heldIn1D = 0)
{
    QVERIFY(DrawHistory(f.temp.store()).importText(qeltaro::test::sampleHistoryLines(300)));
    FormulaTable table(f.temp.store(), Category{1, false});
    for (int i = 1; i <= heldIn1D; ++i)
        QVERIFY(table.append(Kind::Kill, QStringLiteral("L1A+L2A+%1").arg(i), QStringLiteral("万位码+千位码+%1").arg(i), i));
    FormulaTable group(f.temp.store(), Category{3, true});
    QVERIFY(group.append(Kind::Keep, QStringLiteral("L3A+7"), QStringLiteral("百位码+7"), 1));
    f.open();
}

gui::FormulaSearchWindow* openSearch(WindowFixture& f)
{
    f.find<QPushButton>("Command22")->click();
    auto* search = f.window->findChild<gui::FormulaSearchWindow*>(QStringLiteral("frmGSGL"));
    if (search && !QTest::qWaitForWindowExposed(search))
        qWarning("the search window was not shown");
    return search;
}

template <typename T>
T* in(QWidget* window, const QString& name)
{
    T* widget = window->findChild<T*>(name);
    if (!widget)
        qWarning("no widget %s", qPrintable(name));
    return widget;
}

QString text(QWidget* window, const QString& name)
{
    if (auto* box = window->findChild<QLineEdit*>(name))
        return box->text();
    return in<QLabel>(window, name)->text();
}

void setBox(QWidget* window, const QString& name, const QString& value)
{
    in<QLineEdit>(window, name)->setText(value);
}

QStringList thresholdTexts(QWidget* window)
{
    QStringList texts;
    for (int i = 0; i < 10; ++i)
        texts << text(window, QStringLiteral("Text1_%1").arg(i));
    return texts;
}

void setThresholds(QWidget* window, const QStringList& values)
{
    for (int i = 0; i < 10; ++i)
        setBox(window, QStringLiteral("Text1_%1").arg(i), values[i]);
}

void click(QWidget* window, const QString& name)
{
    in<QAbstractButton>(window, name)->click();
}

QStringList listed(QWidget* window)
{
    QStringList texts;
    auto* list = in<QListWidget>(window, QStringLiteral("List1"));
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

QColor labelColour(QWidget* window, int number)
{
    return in<QLabel>(window, QStringLiteral("Label4_%1").arg(number))->palette().color(QPalette::WindowText);
}

const QStringList kFreshKill1D = {QStringLiteral("94.6"), QStringLiteral("100"), QStringLiteral("0"), QStringLiteral("2"),
                                  QStringLiteral("48"), QStringLiteral("32768"), QStringLiteral("0"), QStringLiteral("0"),
                                  QStringLiteral("32"), QStringLiteral("32768")};
// A kill formula of one position hits about nine times in ten by chance: these pass often.
const QStringList kLoose = {QStringLiteral("90.5"), QStringLiteral("100"), QStringLiteral("0"), QStringLiteral("3"),
                            QStringLiteral("0"), QStringLiteral("32768"), QStringLiteral("0"), QStringLiteral("32768"),
                            QStringLiteral("0"), QStringLiteral("32768")};
// Nothing reaches a rate above 100: a run that goes on until stopped.
const QStringList kImpossible = {QStringLiteral("101"), QStringLiteral("102"), QStringLiteral("0"), QStringLiteral("32768"),
                                 QStringLiteral("0"), QStringLiteral("32768"), QStringLiteral("0"), QStringLiteral("32768"),
                                 QStringLiteral("0"), QStringLiteral("32768")};

// A found formula's statistics by the general road: its code compiled and back-tested as the
// main window does, under the search's window.
FormulaStats recomputed(const HistoryColumns& history, const SearchWindow& window, const QString& code)
{
    auto compiled = compileFormula(code);
    if (!compiled) {
        qWarning("%s", qPrintable(compiled.error().message));
        return {};
    }
    std::vector<double> values;
    ColumnEvaluator().evaluate(*compiled, history, values);
    FormulaStats stats;
    BacktestContext(history, Category{1, false}, window.backtestSettings()).score(values.data(), Kind::Kill, stats);
    return stats;
}

void searchUntilStopCount(QWidget* search, int count)
{
    in<QCheckBox>(search, QStringLiteral("Check1"))->setChecked(true);
    setBox(search, QStringLiteral("Text1_15"), QString::number(count));
    click(search, QStringLiteral("Command1"));
    auto* window = static_cast<gui::FormulaSearchWindow*>(search);
    QTRY_VERIFY_WITH_TIMEOUT(!window->running(), kTimeout);
}

}  // namespace

class SearchWindowTest : public QObject {
    Q_OBJECT
private slots:
    void opensModalInItsFirstState()
    {
        WindowFixture f;
        openWithHistory(f, 2);
        auto* search = openSearch(f);
        QVERIFY(search);
        QCOMPARE(search->windowTitle(), QStringLiteral("公式搜索设置以及搜索结果"));
        QCOMPARE(search->windowModality(), Qt::ApplicationModal);
        QVERIFY(in<QRadioButton>(search, "optXing_1")->isChecked());
        QCOMPARE(in<QRadioButton>(search, "optXing_5")->text(), QStringLiteral("五星"));
        QVERIFY(in<QRadioButton>(search, "opTDG_0")->isChecked());
        QVERIFY(!in<QRadioButton>(search, "opTDG_1")->isEnabled());
        QVERIFY(in<QRadioButton>(search, "Option2_0")->isChecked());
        QVERIFY(in<QRadioButton>(search, "Option6_0")->isChecked());
        QVERIFY(in<QRadioButton>(search, "Option5_0")->isChecked());
        QCOMPARE(text(search, "Text6"), QStringLiteral("0"));
        QCOMPARE(thresholdTexts(search), kFreshKill1D);
        QCOMPARE(text(search, "Text1_15"), QStringLiteral("50"));
        QVERIFY(!in<QCheckBox>(search, "Check1")->isChecked());
        QVERIFY(in<QRadioButton>(search, "Option4_1")->isChecked());
        QVERIFY(!in<QCheckBox>(search, "chkAutApd_0")->isChecked());
        QVERIFY(in<QCheckBox>(search, "chkAutApd_1")->isChecked());
        QCOMPARE(text(search, "Text7"), QStringLiteral("20"));
        QCOMPARE(in<QScrollBar>(search, "HScroll2")->value(), 20);
        QCOMPARE(text(search, "Text2"), QStringLiteral("8"));
        for (int number = 1; number <= 10; ++number)
            QVERIFY(text(search, QStringLiteral("Text5_%1").arg(number)).isEmpty());
        QCOMPARE(text(search, "Label5_1"), QStringLiteral("2"));
        QCOMPARE(text(search, "Label5_8"), QStringLiteral("1"));
        QCOMPARE(text(search, "Label5_2"), QStringLiteral("0"));
        QCOMPARE(text(search, "Label6"), QStringLiteral("3"));
        QCOMPARE(in<QPushButton>(search, "Command3")->text(), QStringLiteral("公式追加到数据库(&A)"));
        QCOMPARE(in<QPushButton>(search, "Command12")->text(), QStringLiteral("所有公式类在指定范围内检索最优参数设置并保存"));
        QVERIFY(!in<QPushButton>(search, "Command2")->isEnabled());
        QVERIFY(!in<QPushButton>(search, "Command6")->isEnabled());
    }

    void onePositionForcesTheDirectPlayAndEachChoiceLoadsItsThresholds()
    {
        WindowFixture f;
        openWithHistory(f);
        auto* search = openSearch(f);
        click(search, "optXing_2");
        QVERIFY(in<QRadioButton>(search, "opTDG_1")->isEnabled());
        QVERIFY(in<QRadioButton>(search, "opTDG_0")->isChecked());
        click(search, "opTDG_1");
        QCOMPARE(thresholdTexts(search).mid(0, 5),
                 (QStringList{QStringLiteral("86"), QStringLiteral("100"), QStringLiteral("0"), QStringLiteral("2"), QStringLiteral("32")}));
        click(search, "optXing_1");
        QVERIFY(in<QRadioButton>(search, "opTDG_0")->isChecked());
        QVERIFY(!in<QRadioButton>(search, "opTDG_1")->isEnabled());
        QCOMPARE(thresholdTexts(search), kFreshKill1D);
        click(search, "optXing_2");
        QVERIFY(in<QRadioButton>(search, "opTDG_1")->isEnabled());
        QVERIFY(!in<QRadioButton>(search, "opTDG_1")->isChecked());  // enabled, not chosen

        click(search, "Option2_1");
        QCOMPARE(thresholdTexts(search).mid(0, 5),
                 (QStringList{QStringLiteral("12"), QStringLiteral("100"), QStringLiteral("0"), QStringLiteral("28"), QStringLiteral("2")}));
    }

    void theOperandCountAndThresholdsAreKeptPerCategory()
    {
        WindowFixture f;
        openWithHistory(f);
        auto* search = openSearch(f);
        click(search, "optXing_3");
        in<QScrollBar>(search, "HScroll1")->setValue(13);
        QCOMPARE(text(search, "Text2"), QStringLiteral("13"));
        click(search, "optXing_4");
        QCOMPARE(text(search, "Text2"), QStringLiteral("8"));
        click(search, "optXing_3");
        QCOMPARE(text(search, "Text2"), QStringLiteral("13"));
        QCOMPARE(in<QScrollBar>(search, "HScroll1")->value(), 13);

        // Saved thresholds come back for their category only; a box that is not a number is refused.
        setBox(search, "Text1_0", QStringLiteral("93.5"));
        click(search, "Command8");
        click(search, "optXing_4");
        QCOMPARE(text(search, "Text1_0"), QStringLiteral("94.6"));
        click(search, "optXing_3");
        QCOMPARE(text(search, "Text1_0"), QStringLiteral("93.5"));
        setBox(search, "Text1_5", QStringLiteral("很多"));
        gui::Dialogs::takeLog();
        click(search, "Command8");
        QVERIFY(gui::Dialogs::takeLog().join(u'\n').contains(QStringLiteral("最大连对上限")));
        click(search, "optXing_4");
        click(search, "optXing_3");
        QCOMPARE(text(search, "Text1_5"), QStringLiteral("32768"));

        // A new window shows the stored count again.
        QPointer<QWidget> first(search);
        search->close();
        QTRY_VERIFY_WITH_TIMEOUT(first.isNull(), kTimeout);
        search = openSearch(f);
        click(search, "optXing_3");
        QCOMPARE(text(search, "Text2"), QStringLiteral("13"));
    }

    void wantedCountsTheirModesAndTheExpectedTotal()
    {
        WindowFixture f;
        openWithHistory(f, 2);
        auto* search = openSearch(f);
        click(search, "Command10");  // nothing stored: 60 each
        for (int number : schemeOrder())
            QCOMPARE(text(search, QStringLiteral("Text5_%1").arg(number)), QStringLiteral("60"));
        QCOMPARE(text(search, "Label6"), QStringLiteral("540"));  // added, then replacing: 9 x 60
        click(search, "Option4_0");  // hold: append at the end, what is missing plus what is held
        QVERIFY(in<QCheckBox>(search, "chkAutApd_0")->isChecked());
        QVERIFY(!in<QCheckBox>(search, "chkAutApd_1")->isChecked());
        QCOMPARE(text(search, "Label6"), QString::number(58 + 59 + 7 * 60 + 3));
        click(search, "chkAutApd_1");
        QVERIFY(!in<QCheckBox>(search, "chkAutApd_0")->isChecked());
        QCOMPARE(text(search, "Label6"), QString::number(58 + 59 + 7 * 60));

        setBox(search, "Text5_3", QStringLiteral("5"));
        click(search, "Command9");
        setBox(search, "Text5_3", QString());
        click(search, "Command10");
        QCOMPARE(text(search, "Text5_3"), QStringLiteral("5"));
        QVERIFY(SchemeSettings(f.window->session().settings()).wantedCounts(Kind::Kill)[2] == 5);
    }

    void aManualSearchStopsAtItsCountWithFormulasThatPass()
    {
        WindowFixture f;
        openWithHistory(f);
        auto* search = openSearch(f);
        setThresholds(search, kLoose);
        searchUntilStopCount(search, 3);
        const QStringList found = listed(search);
        QCOMPARE(found.size(), 3);
        QCOMPARE(text(search, "Text4"), QStringLiteral("3"));
        QVERIFY(text(search, "Text3").toLongLong() >= 3);
        QVERIFY(!text(search, "Text11").isEmpty());
        QVERIFY(!text(search, "Text1_10").isEmpty());
        QVERIFY(in<gui::SearchProgressChart>(search, "chartProgress")->pointCount() >= 1);

        auto* window = static_cast<gui::FormulaSearchWindow*>(search);
        const auto& unsaved = window->found().unsaved();
        QCOMPARE(int(unsaved.size()), 3);
        const SearchWindow searchWindow = SearchWindow::fromMirror(f.window->session().mirror());
        for (size_t i = 0; i < unsaved.size(); ++i) {
            QCOMPARE(unsaved[i].text, found[int(i)]);
            QVERIFY(unsaved[i].text.startsWith(QStringLiteral("[一星直选杀]")));
            const FormulaStats stats = recomputed(f.window->session().history(), searchWindow, unsaved[i].code);
            QVERIFY2(stats.rate >= 90.5f - 0.0001f && stats.maxMissRun <= 3, qPrintable(unsaved[i].code));
            QCOMPARE(stats.rate, unsaved[i].stats.rate);
        }

        // A second run adds to the first until they are saved.
        searchUntilStopCount(search, 5);
        QCOMPARE(listed(search).size(), 5);
        QCOMPARE(listed(search).mid(0, 3), found);
        QCOMPARE(text(search, "Text4"), QStringLiteral("5"));
        QVERIFY(!QDir(f.temp.dataDir() + QStringLiteral("/search-runs")).entryList({QStringLiteral("*.json")}).isEmpty());
    }

    void theChecksAgainstLuckReportRatesAndHeldOutResults()
    {
        WindowFixture f;
        openWithHistory(f);
        auto* search = openSearch(f);
        setThresholds(search, kLoose);
        // Held out: more than the history allows is refused before anything runs.
        in<QCheckBox>(search, QStringLiteral("chkHoldout"))->setChecked(true);
        in<QSpinBox>(search, QStringLiteral("txtHoldout"))->setValue(299);
        gui::Dialogs::takeLog();
        click(search, QStringLiteral("Command1"));
        const QStringList refused = gui::Dialogs::takeLog();
        QCOMPARE(refused.size(), 1);
        QVERIFY2(refused[0].contains(QStringLiteral("留出299期后只剩1期历史")), qPrintable(refused[0]));
        QVERIFY(listed(search).isEmpty());

        in<QSpinBox>(search, QStringLiteral("txtHoldout"))->setValue(60);
        searchUntilStopCount(search, 3);
        QCOMPARE(listed(search).size(), 3);
        QVERIFY(text(search, "txtRealRate").endsWith(u'%'));
        QVERIFY(text(search, "txtShuffledRate").endsWith(u'%'));
        const QString verdict = text(search, "lblVerdict");
        QVERIFY2(verdict.contains(QStringLiteral("打乱历史")), qPrintable(verdict));
        QVERIFY2(verdict.contains(QStringLiteral("留出最新60期检验：本次搜到的3条公式中")), qPrintable(verdict));
        auto* list = in<QListWidget>(search, QStringLiteral("List1"));
        for (int i = 0; i < list->count(); ++i)
            QVERIFY2(list->item(i)->toolTip().startsWith(QStringLiteral("留出最新60期：命中")), qPrintable(list->item(i)->toolTip()));
    }

    void theBestRatesAreShownAndTheRealityCheckJudgesThem()
    {
        WindowFixture f;
        openWithHistory(f);
        auto* search = openSearch(f);
        auto* check = in<QPushButton>(search, QStringLiteral("cmdRealityCheck"));
        QVERIFY(!check->isEnabled());  // no run to judge yet
        setThresholds(search, kLoose);
        searchUntilStopCount(search, 3);
        QVERIFY(text(search, "txtBestRate").endsWith(u'%'));
        QVERIFY(text(search, "txtBestShuffledRate").endsWith(u'%'));
        QVERIFY(check->isEnabled());
        in<QSpinBox>(search, QStringLiteral("txtRealityCopies"))->setValue(2);
        check->click();
        QVERIFY(!in<QPushButton>(search, QStringLiteral("Command1"))->isEnabled());  // one run at a time
        search->findChild<gui::BestRatesPanel*>(QStringLiteral("fraBestRates"))->task().wait();
        const QString verdict = text(search, "lblRealityVerdict");
        QVERIFY2(verdict.contains(QStringLiteral("2份打乱历史中最优的")), qPrintable(verdict));
        QVERIFY(in<QPushButton>(search, QStringLiteral("Command1"))->isEnabled());
    }

    void savingAppendsToTheTablesAndRefreshesTheMainWindow()
    {
        WindowFixture f;
        openWithHistory(f, 1);
        auto* grid = f.find<QTableView>("MSFlexGrid2");
        QCOMPARE(grid->model()->rowCount(), 1);
        auto* search = openSearch(f);
        setThresholds(search, kLoose);
        searchUntilStopCount(search, 3);
        gui::Dialogs::takeLog();
        click(search, "Command3");
        QVERIFY(gui::Dialogs::takeLog().contains(QStringLiteral("追加公式: 公式追加完毕！")));
        QCOMPARE(int(*FormulaTable(f.window->session().store(), Category{1, false}).count()), 4);
        QCOMPARE(grid->model()->rowCount(), 4);  // the main window shows them at once
        // A manual append leaves the formulas that were there selected, not the new ones.
        const FormulaSelection& selection = f.window->session().selection();
        QVERIFY(selection.isSelected(1));
        for (int idx = 2; idx <= 4; ++idx)
            QVERIFY(!selection.isSelected(idx));
        QCOMPARE(text(search, "Label5_1"), QStringLiteral("4"));
        auto* window = static_cast<gui::FormulaSearchWindow*>(search);
        QCOMPARE(window->found().unsavedCount(), 0);
        QCOMPARE(listed(search).size(), 3);  // the list stays

        // Saved once: saving again writes nothing more.
        click(search, "Command3");
        QCOMPARE(int(*FormulaTable(f.window->session().store(), Category{1, false}).count()), 4);

        click(search, "Command20");
        const QString exported = f.temp.dataDir() + u'/' + f.window->session().proposedPeriod() + QStringLiteral("期时时彩公式.txt");
        const QString written = QString::fromUtf8(qeltaro::test::readFile(exported));
        QVERIFY(written.contains(listed(search).first()));
    }

    void aSchemeWithoutWantedCountsWalksTheNineCategoriesAndSavesNothing()
    {
        WindowFixture f;
        openWithHistory(f, 2);
        auto* search = openSearch(f);
        gui::Dialogs::takeLog();
        click(search, "Command5");
        auto* window = static_cast<gui::FormulaSearchWindow*>(search);
        QTRY_VERIFY_WITH_TIMEOUT(!window->running(), kTimeout);
        for (int number : schemeOrder())
            QCOMPARE(labelColour(search, number), QColor(0, 0, 255));
        // The chosen save (replace) ran with nothing: the tables are as they were.
        QVERIFY(gui::Dialogs::takeLog().contains(QStringLiteral("追加公式: 公式追加完毕！")));
        QCOMPARE(int(*FormulaTable(f.window->session().store(), Category{1, false}).count()), 2);
        QCOMPARE(int(*FormulaTable(f.window->session().store(), Category{3, true}).count()), 1);
        QVERIFY(listed(search).isEmpty());
    }

    void aSchemeSearchesWhatIsWantedAndCanBePausedAndContinued()
    {
        WindowFixture f;
        openWithHistory(f);
        auto* search = openSearch(f);
        // 二星直选 wants 2 formulas under loose thresholds; 四星直选 wants one it can never find.
        click(search, "optXing_2");
        setThresholds(search, kLoose);
        click(search, "Command8");
        click(search, "optXing_4");
        setThresholds(search, kImpossible);
        click(search, "Command8");
        setBox(search, "Text5_2", QStringLiteral("2"));
        setBox(search, "Text5_4", QStringLiteral("1"));
        click(search, "optXing_1");
        click(search, "Command5");
        auto* window = static_cast<gui::FormulaSearchWindow*>(search);
        QTRY_VERIFY_WITH_TIMEOUT(in<QRadioButton>(search, "optXing_4")->isChecked(), kTimeout);
        QCOMPARE(labelColour(search, 4), QColor(255, 0, 0));
        QCOMPARE(labelColour(search, 2), QColor(0, 0, 255));
        QCOMPARE(text(search, "Text1_15"), QStringLiteral("1"));
        QCOMPARE(listed(search).size(), 2);
        QVERIFY(listed(search).first().startsWith(QStringLiteral("[二星直选杀]")));
        QVERIFY(!in<QWidget>(search, "optXing_1")->isEnabled());

        click(search, "Command7");
        QVERIFY(in<QPushButton>(search, "Command6")->isEnabled());
        QTest::qWait(400);
        const QString paused = text(search, "Text3");
        QTest::qWait(400);
        QCOMPARE(text(search, "Text3"), paused);
        click(search, "Command6");
        QTRY_VERIFY_WITH_TIMEOUT(text(search, "Text3") != paused, kTimeout);
        QVERIFY(window->running());

        // Closing, paused again, stops it; what it found is let go only when the user says so.
        click(search, "Command7");
        QPointer<gui::FormulaSearchWindow> guard(window);
        gui::Dialogs::queueAnswer(QStringLiteral("discard"));
        search->close();
        QTRY_VERIFY_WITH_TIMEOUT(guard.isNull(), kTimeout);
        QCOMPARE(int(*FormulaTable(f.window->session().store(), Category{2, false}).count()), 0);
    }

    void closingDuringASearchStopsItCleanly()
    {
        WindowFixture f;
        openWithHistory(f);
        auto* search = openSearch(f);
        setThresholds(search, kImpossible);
        click(search, "Command1");
        auto* window = static_cast<gui::FormulaSearchWindow*>(search);
        QVERIFY(window->running());
        QVERIFY(!in<QPushButton>(search, "Command1")->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(text(search, "Text3").toLongLong() > 0, kTimeout);
        QPointer<gui::FormulaSearchWindow> guard(window);
        search->close();
        QTRY_VERIFY_WITH_TIMEOUT(guard.isNull(), kTimeout);

        // Once more, with the main window going away while the search runs.
        search = openSearch(f);
        setThresholds(search, kImpossible);
        click(search, "Command1");
        QTRY_VERIFY_WITH_TIMEOUT(text(search, "Text3").toLongLong() > 0, kTimeout);
        f.window.reset();
    }

    void closingWithFoundFormulasNeitherSavedNorExportedAsksFirst()
    {
        WindowFixture f;
        openWithHistory(f);
        const auto held = [&] { return int(*FormulaTable(f.window->session().store(), Category{1, false}).count()); };
        auto* search = openSearch(f);
        setThresholds(search, kLoose);
        searchUntilStopCount(search, 3);
        QPointer<QWidget> guard(search);
        // Esc, then "stay": nothing lost, the window stays.
        gui::Dialogs::takeLog();
        QTest::keyClick(search, Qt::Key_Escape);
        QVERIFY(guard && search->isVisible());
        QVERIFY(gui::Dialogs::takeLog().join(u'\n').contains(QStringLiteral("3条公式还没有保存")));
        // The close button, then "save": the formulas are appended before the window goes.
        gui::Dialogs::queueAnswer(QStringLiteral("save"));
        search->close();
        QTRY_VERIFY(guard.isNull());
        QCOMPARE(held(), 3);

        // Exported formulas are kept in their file: closing asks nothing.
        search = openSearch(f);
        guard = search;
        setThresholds(search, kLoose);
        searchUntilStopCount(search, 2);
        click(search, "Command20");
        gui::Dialogs::takeLog();
        QTest::keyClick(search, Qt::Key_Escape);
        QTRY_VERIFY(guard.isNull());
        QVERIFY(!gui::Dialogs::takeLog().join(u'\n').contains(QStringLiteral("还没有保存")));
        QCOMPARE(held(), 3);
    }

    void badInputIsRefusedWithAMessage()
    {
        WindowFixture f;
        openWithHistory(f);
        auto* search = openSearch(f);
        auto* window = static_cast<gui::FormulaSearchWindow*>(search);
        gui::Dialogs::takeLog();
        setBox(search, "Text1_3", QStringLiteral("abc"));
        click(search, "Command1");
        QVERIFY(!window->running());
        QVERIFY(gui::Dialogs::takeLog().join(u'\n').contains(QStringLiteral("最大连错上限")));

        setThresholds(search, kLoose);
        setBox(search, "Text6", QStringLiteral("99999"));
        click(search, "Command1");
        QVERIFY(!window->running());
        QVERIFY(gui::Dialogs::takeLog().join(u'\n').contains(QStringLiteral("超出范围")));

        setBox(search, "Text6", QStringLiteral("0"));
        in<QCheckBox>(search, "Check1")->setChecked(true);
        setBox(search, "Text1_15", QStringLiteral("x"));
        click(search, "Command1");
        QVERIFY(!window->running());
        QVERIFY(gui::Dialogs::takeLog().join(u'\n').contains(QStringLiteral("自动中止")));

        setBox(search, "Text7", QStringLiteral("0"));
        click(search, "Command11");
        QVERIFY(!window->running());
        QVERIFY(gui::Dialogs::takeLog().join(u'\n').contains(QStringLiteral("检索公式数")));
    }

    void aSchemeOnAStoredThresholdThatIsNoNumberOrAManualSearchWithoutHistoryIsRefused()
    {
        // Edited by hand: the lowest rate of 一星直选杀 is no number; the scheme would search it for ever.
        WindowFixture f;
        openWithHistory(f);
        auto* search = openSearch(f);
        f.window->session().settings().setSearchValue(QStringLiteral("0/0"), QStringLiteral("abc"));
        setBox(search, "Text5_1", QStringLiteral("2"));
        gui::Dialogs::takeLog();
        click(search, "Command5");
        QVERIFY(!static_cast<gui::FormulaSearchWindow*>(search)->running());
        const QString refused = gui::Dialogs::takeLog().join(u'\n');
        QVERIFY2(refused.contains(QStringLiteral("一星直选杀的正确率下限不是数字，请先改正并保存该类参数设置。")), qPrintable(refused));
        QVERIFY(!QFile::exists(f.temp.dataDir() + QStringLiteral("/search-runs")));

        WindowFixture empty;
        empty.open();
        auto* bare = openSearch(empty);
        gui::Dialogs::takeLog();
        click(bare, "Command1");
        QVERIFY(!static_cast<gui::FormulaSearchWindow*>(bare)->running());
        const QString noHistory = gui::Dialogs::takeLog().join(u'\n');
        QVERIFY2(noHistory.contains(QStringLiteral("历史号码不足两期，无法验证公式；请先输入或导入历史号码。")), qPrintable(noHistory));
    }

    void theThresholdEditorShowsEachBoundInTheBoxOfItsNumber()
    {
        // The boxes' numbers are the thresholds' places, as the settings and the tests know them.
        gui::ThresholdEditor editor;
        const SearchThresholds shown = {90.5, 100, 1, 2, 3, 4, 5, 6, 7, 8};
        editor.showThresholds(shown);
        for (int i = 0; i < 10; ++i)
            QCOMPARE(text(&editor, QStringLiteral("Text1_%1").arg(i)), thresholdText(shown[size_t(i)]));
        QVERIFY(*editor.read() == shown);

        // A proposal moves the lowest rate, the highest longest and final miss runs and the
        // lowest longest and final hit runs; the other five stay.
        editor.showProposal({91, 99, 11, 12, 13, 14, 15, 16, 17, 18});
        const QStringList after = thresholdTexts(&editor);
        QCOMPARE(after, (QStringList{"91", "100", "1", "12", "13", "4", "5", "16", "17", "8"}));

        editor.showStatistics(CandidateStatistics{92.25f, 3, 9, 1, 4});
        QCOMPARE((QStringList{text(&editor, "Text1_10"), text(&editor, "Text1_11"), text(&editor, "Text1_12"),
                              text(&editor, "Text1_13"), text(&editor, "Text1_14")}),
                 (QStringList{"92.25", "3", "9", "1", "4"}));

        setBox(&editor, QStringLiteral("Text1_7"), QStringLiteral("x"));
        QVERIFY(!editor.read());
        QVERIFY(editor.read().error().message.contains(QStringLiteral("最后连错上限")));
        QVERIFY(std::isnan(editor.readLoose()[7]));
    }

    void smartSettingProposesFiveThresholds()
    {
        WindowFixture f;
        openWithHistory(f);
        auto* search = openSearch(f);
        auto* window = static_cast<gui::FormulaSearchWindow*>(search);
        const QStringList before = thresholdTexts(search);
        click(search, "Command11");
        QTRY_VERIFY_WITH_TIMEOUT(!window->running(), kTimeout);
        QCOMPARE(text(search, "Text3"), QStringLiteral("20"));
        const QStringList after = thresholdTexts(search);
        for (int i : {1, 2, 5, 6, 9})
            QCOMPARE(after[i], before[i]);
        QVERIFY(after[8].toInt() >= 1);
        QVERIFY(after[0].toDouble() > 50);

        // All categories: asked first; cancelled, nothing is stored.
        click(search, "Command12");
        QVERIFY(!window->running());
        QVERIFY(!f.window->session().settings().searchValue(QStringLiteral("9/0")));
        gui::Dialogs::takeLog();
        gui::Dialogs::queueAnswer(QStringLiteral("ok"));
        click(search, "optXing_3");
        click(search, "Command12");
        QVERIFY(gui::Dialogs::takeLog().join(u'\n').contains(QStringLiteral("是否确认更改搜索默认值")));
        QTRY_VERIFY_WITH_TIMEOUT(!window->running(), kTimeout);
        QVERIFY(f.window->session().settings().searchValue(QStringLiteral("9/0")));
        QVERIFY(f.window->session().settings().searchValue(QStringLiteral("0/8")));
        QVERIFY(in<QRadioButton>(search, "optXing_1")->isChecked());  // it ends on 一星直选
        const SearchThresholds stored = SchemeSettings(f.window->session().settings()).thresholds(Kind::Kill, 1);
        QCOMPARE(thresholdTexts(search)[0], thresholdText(stored[0]));
        QCOMPARE(stored[5], 32768.0);
    }
};

QTEST_MAIN(SearchWindowTest)
#include "search_window_test.moc"
