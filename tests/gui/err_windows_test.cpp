// The calculation (Command23) as the user starts it, the Err value windows it opens and the
// detail list they offer.

#include "gui_test_support.h"

#include "aggregate/err_window_rows.h"
#include "backtest/category_calculation.h"
#include "gui/app/tool_window_commands.h"
#include "history/draw_history.h"
#include "store/formula_table.h"

#include <QChartView>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedBarSeries>
#include <QBarSet>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>

using namespace qeltaro;
using qeltaro::test::WindowFixture;

namespace {

const QColor kSelectedBlue(0, 0, 255);
const QColor kGreenText(0, 255, 0);

void addFormulas(Store& store, Category category, bool kill, const QStringList& codes)
{
    FormulaTable table(store, category);
    int idx = 0;
    for (const QString& code : codes)
        QVERIFY(table.append(kindOfKillFlag(kill), code, QStringLiteral("公式") + code, ++idx));
}

// The worked example: kill counts 0, 0, 2, 0, 1, 0, 0, 3, 0, 0 for the digits 0 to 9.
const QStringList kExampleCodes = {QStringLiteral("L1A*0+2"), QStringLiteral("L1A*0+7"), QStringLiteral("L1A*0+4"),
                                   QStringLiteral("L1A*0+7"), QStringLiteral("L1A*0+2"), QStringLiteral("L1A*0+7")};

QStringList column(QTableWidget* grid, int c)
{
    QStringList out;
    for (int r = 0; r < grid->rowCount(); ++r)
        out << grid->item(r, c)->text();
    return out;
}

QStringList headers(QTableWidget* grid)
{
    QStringList out;
    for (int c = 0; c < grid->columnCount(); ++c)
        out << grid->horizontalHeaderItem(c)->text();
    return out;
}

QStringList statisticsRows(QWidget* page)
{
    auto* grid = page->findChild<QTableWidget*>(QStringLiteral("MSFlexGrid2"));
    QStringList rows;
    for (int r = 0; r < grid->rowCount(); ++r)
        rows << grid->item(r, 0)->text() + u'/' + grid->item(r, 1)->text() + u'/' + grid->item(r, 2)->text();
    return rows;
}

void doubleClickCell(QTableWidget* grid, int row, int c)
{
    const QPoint at = grid->visualItemRect(grid->item(row, c)).center();
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
}

QWidget* openedWindow(WindowFixture& f, const char* name)
{
    auto* window = f.window->findChild<QWidget*>(QLatin1String(name));
    return window && window->isVisible() ? window : nullptr;
}

void calculateSelected(WindowFixture& f)
{
    f.find<QRadioButton>("Option6_1")->click();
    f.find<QPushButton>("Command23")->click();
}

}  // namespace

class ErrWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void directThreeStarsOpensTabsOneToThreeWithTheCoresCounts()
    {
        WindowFixture f;
        QVERIFY(DrawHistory(f.temp.store()).importText(qeltaro::test::sampleHistoryLines(300)));
        addFormulas(f.temp.store(), {1, false}, true, {QStringLiteral("L1A"), QStringLiteral("LH+1"), QStringLiteral("L5A*3")});
        addFormulas(f.temp.store(), {2, false}, true, {QStringLiteral("L2A+L4A"), QStringLiteral("LT"), QStringLiteral("L3A+2"), QStringLiteral("LH")});
        addFormulas(f.temp.store(), {3, false}, true, {QStringLiteral("L1A+L2A"), QStringLiteral("L4A*2"), QStringLiteral("QH+L5A")});
        f.open();
        f.find<QRadioButton>("optXing_3")->click();
        calculateSelected(f);

        QWidget* window = openedWindow(f, "frmErrarrLei");
        QVERIFY(window);
        QVERIFY(!openedWindow(f, "frmErrarr"));
        QCOMPARE(window->windowTitle(), QStringLiteral("杀留值排序(鼠标双击列表反向排序)"));
        auto* tabs = window->findChild<QTabWidget*>(QStringLiteral("TabStrip1"));
        QCOMPARE(tabs->count(), 3);
        QCOMPARE(tabs->currentIndex(), 0);
        CalculationRequest request;
        request.category = {3, false};
        request.method = CalculationMethod::Selected;
        auto expected = calculateCategory(f.window->session().store(), f.window->session().history(), request);
        QVERIFY(expected);
        for (int t = 0; t < 3; ++t) {
            QCOMPARE(tabs->tabText(t), QStringLiteral("%1星").arg(t + 1));
            auto* grid = tabs->widget(t)->findChild<QTableWidget*>(QStringLiteral("MSFlexGrid1"));
            ErrWindowTable table;
            table.fill(expected->slotResults[size_t(t)].counts, Kind::Kill);
            QCOMPARE(grid->rowCount(), 10);
            for (int r = 0; r < 10; ++r) {
                for (int c = 0; c < 6; ++c)
                    QCOMPARE(grid->item(r, c)->text(), ErrWindowTable::cellText(table.rows()[size_t(r)], c));
            }
        }
        QVERIFY(window->findChild<QPushButton*>(QStringLiteral("Command2"))->isVisible());
        // The formula list shows 三星直选 with each selected formula's next-period digit.
        auto* model = f.find<QTableView>("MSFlexGrid2")->model();
        const SlotCalculation& own = expected->slotResults.back();
        QCOMPARE(model->rowCount(), 3);
        for (int r = 0; r < 3; ++r)
            QCOMPARE(model->index(r, 4).data().toString(), digitText(own.formulas[size_t(r)].nextDigit));
        // The staging table holds the last tab's counts.
        QCOMPARE(*readErrCounts(f.window->session().store(), ErrCountTable::ShownCounts), own.counts);
    }

    void theWorkedExampleInOrderWithVerdictsColoursAndDoubleClicks()
    {
        WindowFixture f;
        QVERIFY(DrawHistory(f.temp.store()).importText(qeltaro::test::sampleHistoryLines(20)));
        addFormulas(f.temp.store(), {1, false}, true, kExampleCodes);
        addFormulas(f.temp.store(), {1, false}, false, kExampleCodes);
        f.open();
        calculateSelected(f);
        QWidget* window = openedWindow(f, "frmErrarrLei");
        QVERIFY(window);
        QWidget* page = window->findChild<QTabWidget*>(QStringLiteral("TabStrip1"))->widget(0);
        auto* grid = page->findChild<QTableWidget*>(QStringLiteral("MSFlexGrid1"));
        QCOMPARE(headers(grid).join(u','), QStringLiteral("排序序号,号码,杀留Err值,杀码Err值,留码Err值,保留/滤杀"));
        QCOMPARE(column(grid, 1).join(u' '), QStringLiteral("0 1 3 5 6 8 9 4 2 7"));
        QCOMPARE(column(grid, 2).join(u' '), QStringLiteral("0 0 0 0 0 0 0 1 2 3"));
        QCOMPARE(column(grid, 3).join(u' '), QStringLiteral("0 0 0 0 0 0 0 1 2 3"));
        QCOMPARE(column(grid, 4).join(u' '), QStringLiteral("0 0 0 0 0 0 0 0 0 0"));
        for (int r = 0; r < 10; ++r) {
            const bool killed = r >= 7;
            QCOMPARE(grid->item(r, 5)->text(), killed ? QStringLiteral("滤杀") : QStringLiteral("保留"));
            for (int c = 0; c < 6; ++c)
                QCOMPARE(grid->item(r, c)->foreground().color(), killed ? kGreenText : QColor(Qt::black));
        }
        QCOMPARE(statisticsRows(page), (QStringList{QStringLiteral("0/7/0 1 3 5 6 8 9 "), QStringLiteral("1/1/4 "),
                                                    QStringLiteral("2/1/2 "), QStringLiteral("3/1/7 ")}));
        // The chart: each digit's count in the set of its verdict.
        auto* chart = page->findChild<QChartView*>(QStringLiteral("chtErr"))->chart();
        auto* series = qobject_cast<QStackedBarSeries*>(chart->series().value(0));
        QVERIFY(series);
        QCOMPARE(series->barSets()[0]->label(), QStringLiteral("保留"));
        QCOMPARE(series->barSets()[1]->label(), QStringLiteral("滤杀"));
        QCOMPARE(series->barSets()[1]->at(7), 3.0);
        QCOMPARE(series->barSets()[0]->at(7), 0.0);
        QCOMPARE(series->barSets()[1]->color(), kGreenText);

        // A double-click in the 杀留Err值 column reverses the order, a second one restores it;
        // the longer headers stay.
        doubleClickCell(grid, 0, 2);
        QCOMPARE(column(grid, 1).join(u' '), QStringLiteral("7 2 4 0 1 3 5 6 8 9"));
        QCOMPARE(headers(grid)[2], QStringLiteral("杀留Err值（公式错误值）"));
        doubleClickCell(grid, 0, 2);
        QCOMPARE(column(grid, 1).join(u' '), QStringLiteral("0 1 3 5 6 8 9 4 2 7"));
        QCOMPARE(headers(grid)[4], QStringLiteral("留码Err值（公式错误值）"));
        // On column 5 the order stays as it is.
        doubleClickCell(grid, 0, 5);
        QCOMPARE(column(grid, 1).join(u' '), QStringLiteral("0 1 3 5 6 8 9 4 2 7"));
        QCOMPARE(statisticsRows(page).size(), 4);

        // The same counts from keep formulas: descending, the named digits kept.
        f.find<QRadioButton>("Option2_1")->click();
        calculateSelected(f);
        QCOMPARE(column(grid, 1).join(u' '), QStringLiteral("7 2 4 0 1 3 5 6 8 9"));
        QCOMPARE(column(grid, 4).join(u' '), QStringLiteral("3 2 1 0 0 0 0 0 0 0"));
        for (int r = 0; r < 10; ++r) {
            const bool kept = r < 3;
            QCOMPARE(grid->item(r, 5)->text(), kept ? QStringLiteral("保留") : QStringLiteral("滤杀"));
            QCOMPARE(grid->item(r, 0)->foreground().color(), kept ? QColor(Qt::black) : kGreenText);
        }
        QCOMPARE(statisticsRows(page), (QStringList{QStringLiteral("3/1/7 "), QStringLiteral("2/1/2 "),
                                                    QStringLiteral("1/1/4 "), QStringLiteral("0/7/0 1 3 5 6 8 9 ")}));
        for (int i = 0; i < 2; ++i) {
            doubleClickCell(grid, 0, 2);
            QCOMPARE(column(grid, 1).join(u' '), QStringLiteral("7 2 4 0 1 3 5 6 8 9"));
        }
    }

    void groupPlayOpensTheSingleWindowAndBestMethodHidesTheDetailList()
    {
        WindowFixture f;
        QVERIFY(DrawHistory(f.temp.store()).importText(qeltaro::test::sampleHistoryLines(20)));
        addFormulas(f.temp.store(), {2, true}, true, kExampleCodes);
        f.open();
        f.find<QRadioButton>("optXing_2")->click();
        f.find<QRadioButton>("opTDG_1")->click();
        calculateSelected(f);
        QWidget* window = openedWindow(f, "frmErrarr");
        QVERIFY(window);
        QVERIFY(!openedWindow(f, "frmErrarrLei"));
        QCOMPARE(column(window->findChild<QTableWidget*>(QStringLiteral("MSFlexGrid1")), 1).join(u' '),
                 QStringLiteral("0 1 3 5 6 8 9 4 2 7"));
        QVERIFY(window->findChild<QPushButton*>(QStringLiteral("Command2"))->isVisible());

        // Best formulas, quota 8: the walk stops once two distinct digits are killed.
        f.find<QRadioButton>("Option6_0")->click();
        f.find<QPushButton>("Command23")->click();
        auto* dialog = f.window->findChild<QDialog*>(QStringLiteral("frmGsCsArr"));
        dialog->findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(QStringLiteral("8"));
        dialog->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
        QVERIFY(openedWindow(f, "frmErrarr") == window);
        QVERIFY(!window->findChild<QPushButton*>(QStringLiteral("Command2"))->isVisible());
        CalculationRequest request;
        request.category = {2, true};
        request.method = CalculationMethod::Best;
        request.sort.keepLimit = 8;
        auto expected = calculateCategory(f.window->session().store(), f.window->session().history(), request);
        QVERIFY(expected);
        const ErrCounts& shown = f.window->findChild<gui::ToolWindowCommands*>()->nextPeriodCounts().slot(0);
        QCOMPARE(shown, expected->slotResults[0].counts);
        int named = 0;
        for (const ErrCount& c : shown)
            named += c.total > 0;
        QCOMPARE(named, 2);
    }

    void theDetailListHoldsExactlyTheBlueFormulasInListOrder()
    {
        WindowFixture f;
        QVERIFY(DrawHistory(f.temp.store()).importText(qeltaro::test::sampleHistoryLines(200)));
        addFormulas(f.temp.store(), {1, false}, true,
                    {QStringLiteral("L1A"), QStringLiteral("L2A+3"), QStringLiteral("LH"), QStringLiteral("L5A*7"), QStringLiteral("LT+1")});
        f.open();
        auto* list = f.find<QTableView>("MSFlexGrid2");
        // Unselect the second and fourth formulas.
        for (int r : {1, 3})
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(r, 1)).center());
        calculateSelected(f);
        QWidget* window = openedWindow(f, "frmErrarrLei");
        QVERIFY(window);
        // Unselected formulas show no 计算值 after the calculation.
        QVERIFY(list->model()->index(1, 4).data().toString().isEmpty());
        QVERIFY(!list->model()->index(0, 4).data().toString().isEmpty());
        window->findChild<QPushButton*>(QStringLiteral("Command2"))->click();
        auto* detail = window->findChild<QDialog*>(QStringLiteral("frmXxlb"));
        QVERIFY(detail && detail->isVisible() && detail->isModal());
        QCOMPARE(detail->windowTitle(), QStringLiteral("详细结果列表"));
        auto* rows = detail->findChild<QTableView*>(QStringLiteral("MSFlexGrid1"))->model();
        QStringList blue;
        for (int r = 0; r < list->model()->rowCount(); ++r) {
            if (list->model()->index(r, 0).data(Qt::BackgroundRole).value<QColor>() != kSelectedBlue)
                continue;
            QStringList cells{QString::number(blue.size() + 1)};
            for (int c = 1; c <= 5; ++c)
                cells << list->model()->index(r, c).data().toString();
            blue << cells.join(u'|');
        }
        QCOMPARE(blue.size(), 3);
        QStringList shown;
        for (int r = 0; r < rows->rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < 6; ++c)
                cells << rows->index(r, c).data().toString();
            shown << cells.join(u'|');
        }
        QCOMPARE(shown, blue);
        QCOMPARE(rows->headerData(5, Qt::Horizontal).toString(), QStringLiteral("号码"));
        detail->close();
    }

    void pastPeriodsAreCheckedAndRefusedWithAMessage()
    {
        WindowFixture f;
        QVERIFY(DrawHistory(f.temp.store()).importText(qeltaro::test::sampleHistoryLines(30)));
        addFormulas(f.temp.store(), {1, false}, true, {QStringLiteral("L1A"), QStringLiteral("LH")});
        f.open();
        auto* period = f.find<QLineEdit>("Text3");
        period->setFocus();
        QVERIFY(f.find<QRadioButton>("Option5_1")->isChecked());  // entering the box means a past period
        const QString tenth = f.window->session().history().period(9);
        period->setText(tenth);
        calculateSelected(f);
        auto* commands = f.window->findChild<gui::ToolWindowCommands*>();
        QVERIFY(commands->lastCalculation());
        QCOMPARE(commands->lastCalculation()->period, tenth);
        QVERIFY(commands->lastCalculation()->drawn == f.window->session().history().digits(9));

        gui::Dialogs::takeLog();
        period->setText(QStringLiteral("990101001"));
        calculateSelected(f);
        QCOMPARE(gui::Dialogs::takeLog(), QStringList{QStringLiteral("计算公式: 历史号码中没有第990101001期，无法验算该期结果")});
        QCOMPARE(commands->lastCalculation()->period, tenth);
    }
};

QTEST_MAIN(ErrWindowsTest)
#include "err_windows_test.moc"
