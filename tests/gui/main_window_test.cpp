#include "gui_test_support.h"

#include "gui/app/formula_list_model.h"
#include "gui/app/history_grid_model.h"
#include "history/draw_history.h"
#include "store/formula_table.h"
#include "store/sqlite_database.h"

#include <QAction>
#include <QProgressBar>
#include <QHeaderView>
#include <QDateEdit>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTableWidget>
#include <QWheelEvent>

#include <algorithm>
#include <map>

using namespace qeltaro;
using qeltaro::test::WindowFixture;

namespace {

// Types each key into whichever widget has the focus at that moment, as a person would.
void typeKeys(const QString& keys)
{
    for (QChar key : keys)
        QTest::keyClick(QApplication::focusWidget(), key.toLatin1());
}

// 一星直选 kill formulas (code as text) back-tested on the first 400 sample draws.
void openWithScoredFormulas(WindowFixture& f, std::initializer_list<const char*> codes)
{
    QVERIFY(DrawHistory(f.temp.store()).importText(qeltaro::test::sampleHistoryLines(400)));
    {
        FormulaTable table(f.temp.store(), Category{1, false});
        int idx = 0;
        for (const char* code : codes)
            QVERIFY(table.append(Kind::Kill, QString::fromLatin1(code), QString::fromLatin1(code), ++idx));
    }
    f.open();
}

// One wheel message over `over`: negative deltas turn the wheel toward the user.
void turnWheel(QWidget* over, int delta)
{
    const QPointF at = QRectF(over->rect()).center();
    QWheelEvent wheel(at, over->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(over, &wheel);
}

int topRow(QTableView* grid)
{
    return grid->rowAt(0);
}

// The display texts of one column, top to bottom.
QStringList columnTexts(QAbstractItemModel* model, int column)
{
    QStringList texts;
    for (int r = 0; r < model->rowCount(); ++r)
        texts << model->index(r, column).data().toString();
    return texts;
}

void doubleClick(QTableView* grid, int row, int column)
{
    const QPoint at = grid->visualRect(grid->model()->index(row, column)).center();
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
}

// Whether a cell's whole text fits its column (the item view pads the text by 3 pixels a side).
bool cellTextFits(QTableView* grid, int row, int column)
{
    const QString text = grid->model()->index(row, column).data().toString();
    return grid->fontMetrics().horizontalAdvance(text) + 6 <= grid->columnWidth(column);
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void freshStartShowsOneStarDirectKillWithDefaultSettings()
    {
        WindowFixture f;
        f.open();
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Qeltaro - 时时彩"));
        QCOMPARE(f.window->session().category().suffix(), QStringLiteral("1D"));
        QVERIFY(f.window->session().kind() == Kind::Kill);
        QVERIFY(f.find<QRadioButton>("optXing_1")->isChecked());
        QVERIFY(f.find<QRadioButton>("opTDG_0")->isChecked());
        QVERIFY(!f.find<QRadioButton>("opTDG_1")->isEnabled());
        QVERIFY(f.find<QRadioButton>("Option2_0")->isChecked());
        QVERIFY(f.find<QRadioButton>("Option6_0")->isChecked());
        QCOMPARE(f.find<QRadioButton>("Option6_0")->text(), QStringLiteral("最优公式法"));
        QVERIFY(f.find<QAction>("mnuQs_3")->isChecked());
        QCOMPARE(f.find<QAction>("mnuQs_3")->text(), QStringLiteral("前300期"));
        QVERIFY(f.find<QAction>("mnuBuhan")->isChecked());
        QVERIFY(f.find<QAction>("mnuZqlJq")->isChecked());
        QVERIFY(f.find<QAction>("mnuYsXs_0")->isChecked());
        QVERIFY(!f.find<QAction>("mnuYsXs_1")->isChecked());
        for (const char* name : {"Command1", "Command2", "Command3", "Command4", "Command5", "Command7", "Command8",
                                 "Command9", "Command10", "Command11", "Command12", "Command20", "Command21",
                                 "Command22", "Command23", "cmdGsgx", "cmdLsdcTxt", "cmdDcexl", "Command18",
                                 "Command6", "Command139"})
            QVERIFY2(f.find<QPushButton>(QLatin1String(name)), name);
        QCOMPARE(f.find<QPushButton>("Command2")->toolTip(), QStringLiteral("执行公式列表中序号为蓝色的公式"));
        QCOMPARE(f.find<QRadioButton>("Option5_0")->toolTip(), QStringLiteral("现存历史号码的下一期"));
        QCOMPARE(f.find<QRadioButton>("Option5_1")->toolTip(), QStringLiteral("验算指定期下期结果"));
        for (const char* name : {"MSFlexGrid1", "MSFlexGrid2"})
            QVERIFY(f.find<QTableView>(QLatin1String(name)));
        QVERIFY(f.find<QMenu>("mnuMang") && f.find<QMenu>("mnuLsgl") && f.find<QMenu>("mnuSetup"));
        // The whole window fits a 1366 x 768 screen.
        const QSize least = f.window->minimumSizeHint();
        QVERIFY2(least.width() <= 1366 && least.height() <= 740, qPrintable(QStringLiteral("%1x%2").arg(least.width()).arg(least.height())));
    }

    void oneStarForcesDirectPlayOthersKeepThePlay()
    {
        WindowFixture f;
        f.open();
        f.find<QRadioButton>("optXing_3")->click();
        QVERIFY(f.find<QRadioButton>("opTDG_1")->isEnabled());
        f.find<QRadioButton>("opTDG_1")->click();
        QCOMPARE(f.window->session().category().suffix(), QStringLiteral("3G"));
        f.find<QRadioButton>("optXing_4")->click();
        QCOMPARE(f.window->session().category().suffix(), QStringLiteral("4G"));
        f.find<QRadioButton>("optXing_1")->click();
        QCOMPARE(f.window->session().category().suffix(), QStringLiteral("1D"));
        QVERIFY(f.find<QRadioButton>("opTDG_0")->isChecked());
        QVERIFY(!f.find<QRadioButton>("opTDG_1")->isEnabled());
        f.find<QRadioButton>("optXing_2")->click();
        QVERIFY(f.find<QRadioButton>("opTDG_0")->isChecked());
        QCOMPARE(f.window->session().category().suffix(), QStringLiteral("2D"));
    }

    void typingFiveDigitsStoresTheDrawAndAdvancesThePeriod()
    {
        WindowFixture f;
        f.open();
        auto* period = f.find<QLineEdit>("Text1");
        period->setText(QStringLiteral("160121120"));
        f.find<QLineEdit>("txtIpt_1")->setFocus();
        typeKeys(QStringLiteral("38146"));
        QCOMPARE(f.window->session().history().rowCount(), 1);
        QCOMPARE(f.window->session().history().period(0), QStringLiteral("160121120"));
        QCOMPARE(period->text(), QStringLiteral("160122001"));
        QCOMPARE(f.find<QLineEdit>("Text3")->text(), QStringLiteral("160121120"));
        for (int i = 1; i <= 5; ++i)
            QVERIFY(f.find<QLineEdit>(QStringLiteral("txtIpt_%1").arg(i))->text().isEmpty());

        // A letter in a box, or the same period again, is refused with a message.
        f.find<QLineEdit>("txtIpt_1")->setFocus();
        typeKeys(QStringLiteral("1"));
        f.find<QLineEdit>("txtIpt_2")->setText(QStringLiteral("x"));
        f.find<QLineEdit>("txtIpt_5")->setFocus();
        typeKeys(QStringLiteral("5"));
        QCOMPARE(f.window->session().history().rowCount(), 1);
        QVERIFY(gui::Dialogs::takeLog().join(u'\n').contains(QStringLiteral("千位")));
        period->setText(QStringLiteral("160121120"));
        f.find<QLineEdit>("txtIpt_1")->setFocus();
        typeKeys(QStringLiteral("12345"));
        QCOMPARE(f.window->session().history().rowCount(), 1);
        QVERIFY(gui::Dialogs::takeLog().join(u'\n').contains(QStringLiteral("已经在历史号码中")));
    }

    void aTypedDrawChangesTheListsCellsInPlace()
    {
        WindowFixture f;
        openWithScoredFormulas(f, {"L1A", "L2A", "L3A", "L4A", "L5A"});
        auto* grid = f.find<QTableView>("MSFlexGrid2");
        auto* model = grid->model();
        grid->setCurrentIndex(model->index(2, 1));
        QSignalSpy resets(model, &QAbstractItemModel::modelReset);
        QSignalSpy changed(model, &QAbstractItemModel::dataChanged);
        f.find<QLineEdit>("txtIpt_1")->setFocus();
        typeKeys(QStringLiteral("12345"));
        QCOMPARE(f.window->session().history().rowCount(), 401);
        // Same formulas, new statistics: the cells change, the view keeps its current cell.
        QCOMPARE(resets.count(), 0);
        QVERIFY(changed.count() > 0);
        QCOMPARE(grid->currentIndex().row(), 2);
        const FormulaStatsTable& statistics = f.window->session().statistics();
        for (int r = 0; r < 5; ++r)
            QCOMPARE(model->index(r, 5).data().toString(), rateText(statistics.at(r)));

        // As many keep formulas, other codes: the list shows them, not the kill formulas' rows.
        FormulaTable table(f.window->session().store(), Category{1, false});
        for (const char* code : {"L1A+1", "L2A+1", "L3A+1", "L4A+1", "L5A+1"})
            QVERIFY(table.append(Kind::Keep, QString::fromLatin1(code), QString::fromLatin1(code), 10));
        f.find<QRadioButton>("Option2_1")->click();
        QCOMPARE(model->rowCount(), 5);
        for (int r = 0; r < 5; ++r)
            QVERIFY(model->index(r, 1).data().toString().endsWith(QStringLiteral("+1")));
        QVERIFY(resets.count() > 0);
    }

    void selectionColoursFollowSelectAllInvertAndToggle()
    {
        WindowFixture f;
        {
            FormulaTable table(f.temp.store(), Category{1, false});
            for (int i = 1; i <= 4; ++i)
                QVERIFY(table.append(Kind::Kill, QStringLiteral("L1A+%1").arg(i), QStringLiteral("万位码+%1").arg(i), i));
        }
        f.open();
        auto* grid = f.find<QTableView>("MSFlexGrid2");
        auto* model = grid->model();
        QCOMPARE(model->rowCount(), 4);
        auto colour = [&](int row) { return model->index(row, 0).data(Qt::BackgroundRole).value<QColor>(); };
        const QColor blue(0, 0, 255);
        for (int r = 0; r < 4; ++r)
            QCOMPARE(colour(r), blue);
        f.find<QPushButton>("Command5")->click();
        for (int r = 0; r < 4; ++r)
            QVERIFY(colour(r) != blue);
        // A click on the formula text toggles that row only.
        const QRect cell = grid->visualRect(model->index(2, 1));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(colour(2), blue);
        QVERIFY(colour(1) != blue);
        f.find<QPushButton>("Command8")->click();
        for (int r = 0; r < 4; ++r)
            QCOMPARE(colour(r), blue);
    }

    void testedPositionsAreBoldBlue()
    {
        WindowFixture f;
        QVERIFY(DrawHistory(f.temp.store()).add(QStringLiteral("160121001"), QStringLiteral("12345")));
        f.open();
        auto* model = f.find<QTableView>("MSFlexGrid1")->model();
        auto bold = [&](int column) { return model->index(0, column).data(Qt::FontRole).value<QFont>().bold(); };
        f.find<QRadioButton>("optXing_3")->click();
        QVERIFY(bold(3));
        QVERIFY(!bold(4) && !bold(5) && !bold(1));
        f.find<QRadioButton>("opTDG_1")->click();
        QVERIFY(bold(3) && bold(4) && bold(5));
        QVERIFY(!bold(1) && !bold(2));
    }

    void backtestFillsTheListAndAgreementAndRelistFollowTheStatistics()
    {
        WindowFixture f;
        openWithScoredFormulas(f, {"L1A", "L1A+1", "L2A", "LH", "L1A+10", "L5A*3"});
        auto* grid = f.find<QTableView>("MSFlexGrid2");
        auto* model = grid->model();
        QCOMPARE(model->rowCount(), 6);
        for (int r = 0; r < 6; ++r) {
            QVERIFY(model->index(r, 5).data().toString().contains(QStringLiteral("% (")));
            QVERIFY(!model->index(r, 4).data().toString().isEmpty());
        }
        // L1A and L1A+10 name the same digit: clicking one's 计算值 paints both green, no other.
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(model->index(0, 4)).center());
        const QColor green(0, 255, 0);
        QCOMPARE(model->index(0, 4).data(Qt::BackgroundRole).value<QColor>(), green);
        QCOMPARE(model->index(4, 4).data(Qt::BackgroundRole).value<QColor>(), green);
        for (int r : {1, 2, 3, 5}) {
            if (model->index(r, 4).data() != model->index(0, 4).data())
                QVERIFY(model->index(r, 4).data(Qt::BackgroundRole).value<QColor>() != green);
        }
        // Unselect formula 2, then double-click the rate column: ascending, colours travel along.
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(model->index(1, 1)).center());
        const QString unselected = model->index(1, 1).data().toString();
        const QPoint rateCell = grid->visualRect(model->index(0, 5)).center();
        QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, rateCell);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, rateCell);
        double previous = -1;
        for (int r = 0; r < 6; ++r) {
            const double rate = model->index(r, 5).data().toString().section(u'%', 0, 0).toDouble();
            QVERIFY(rate >= previous);
            previous = rate;
            const bool blue = model->index(r, 0).data(Qt::BackgroundRole).value<QColor>() == QColor(0, 0, 255);
            QCOMPARE(blue, model->index(r, 1).data().toString() != unselected);
        }
    }

    void verificationDisplayShowsOneColumnPerFormula()
    {
        WindowFixture f;
        QVERIFY(DrawHistory(f.temp.store()).importText(qeltaro::test::sampleHistoryLines(50)));
        {
            FormulaTable table(f.temp.store(), Category{1, false});
            for (int i = 1; i <= 120; ++i)
                QVERIFY(table.append(Kind::Kill, QStringLiteral("L1A+%1").arg(i), QString(), i));
        }
        f.open();
        auto* history = f.find<QTableView>("MSFlexGrid1");
        auto* model = history->model();
        QCOMPARE(model->columnCount(), 6);
        f.find<QCheckBox>("Check1")->click();
        QCOMPARE(model->columnCount(), 126);
        QCOMPARE(model->headerData(6, Qt::Horizontal).toString(), QStringLiteral("公式1"));
        QCOMPARE(model->headerData(104, Qt::Horizontal).toString(), QStringLiteral("公式99"));
        QCOMPARE(model->headerData(105, Qt::Horizontal).toString(), QStringLiteral("式100"));
        QCOMPARE(model->headerData(125, Qt::Horizontal).toString(), QStringLiteral("式120"));
        // "显示在下期": row 1 is blank and white; later rows carry a digit, blue for a hit, green for a miss.
        QVERIFY(model->index(0, 6).data().toString().isEmpty());
        QCOMPARE(model->index(0, 6).data(Qt::BackgroundRole).value<QColor>(), QColor(255, 255, 255));
        const Digits drawn = f.window->session().history().digits(5);
        const int predicted = model->index(5, 6).data().toInt();
        const QColor expected = predicted == drawn[4] ? QColor(0, 255, 0) : QColor(0, 0, 255);
        QCOMPARE(model->index(5, 6).data(Qt::BackgroundRole).value<QColor>(), expected);
        f.find<QCheckBox>("Check1")->click();
        QCOMPARE(model->columnCount(), 6);
    }

    void aFirstStartOffersTheSampleOnce()
    {
        WindowFixture declined;
        declined.open();
        declined.window->offerSampleOnFirstStart();  // no answer queued: cancelled
        QCOMPARE(declined.window->session().history().rowCount(), 0);
        gui::Dialogs::takeLog();
        declined.window->offerSampleOnFirstStart();
        QVERIFY(gui::Dialogs::takeLog().isEmpty());

        WindowFixture accepted;
        accepted.open();
        gui::Dialogs::queueAnswer(QStringLiteral("ok"));
        accepted.window->offerSampleOnFirstStart();
        QCOMPARE(accepted.window->session().history().rowCount(), 4080);
        QCOMPARE(accepted.find<QTableView>("MSFlexGrid2")->model()->rowCount(), 4);  // 一星直选 kill examples
        QCOMPARE(accepted.find<QLineEdit>("Text1")->text(), QStringLiteral("150211001"));
        // The history grid shows the newest draws, the formula list its first rows.
        auto* history = accepted.find<QTableView>("MSFlexGrid1");
        QTRY_COMPARE(history->rowAt(history->viewport()->height() - 1), 4079);
        QCOMPARE(topRow(accepted.find<QTableView>("MSFlexGrid2")), 0);
    }

    void theChanceColumnsSortByTheirOwnValues()
    {
        WindowFixture f;
        openWithScoredFormulas(f, {"L1A", "L1A+1", "L2A", "LH", "L1A+10", "L5A*3", "L3A+L4A", "LT+2"});
        auto* grid = f.find<QTableView>("MSFlexGrid2");
        auto* model = grid->model();
        using Column = gui::FormulaListModel::Column;
        auto ascending = [&](int column, auto number) {
            for (int r = 1; r < model->rowCount(); ++r) {
                if (number(model->index(r - 1, column).data().toString()) > number(model->index(r, column).data().toString()))
                    return false;
            }
            return true;
        };
        auto plain = [](const QString& text) { return text.toDouble(); };
        // Every formula of one category and kind has the same chance: the order stays.
        const QStringList listed = columnTexts(model, Column::Text);
        doubleClick(grid, 0, Column::Chance);
        QCOMPARE(columnTexts(model, Column::Text), listed);
        doubleClick(grid, 0, Column::Lift);
        QVERIFY2(ascending(Column::Lift, plain), qPrintable(columnTexts(model, Column::Lift).join(u' ')));
        doubleClick(grid, 0, Column::PValue);
        QVERIFY2(ascending(Column::PValue, plain), qPrintable(columnTexts(model, Column::PValue).join(u' ')));
        doubleClick(grid, 0, Column::BeatsChance);
        QVERIFY(ascending(Column::BeatsChance, [](const QString& text) { return text == QStringLiteral("是") ? 1 : 0; }));
    }

    void aHeaderClickSortsUpThenDownAndEveryNumberStaysReadable()
    {
        WindowFixture f;
        openWithScoredFormulas(f, {"L1A", "L1A+1", "L2A", "LH", "L1A+10", "L5A*3", "L3A+L4A", "LT+2", "L4A+7", "L2A+L5A"});
        auto* grid = f.find<QTableView>("MSFlexGrid2");
        auto* model = grid->model();
        QHeaderView* header = grid->horizontalHeader();
        using Column = gui::FormulaListModel::Column;
        // Each formula's 序号 goes with it through every sort.
        std::map<QString, QString> numberOfCode;
        for (int r = 0; r < model->rowCount(); ++r)
            numberOfCode[model->index(r, Column::Idx).data().toString()] = model->index(r, Column::Ordinal).data().toString();
        auto clickHeader = [&](int column) {
            const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2, header->height() / 2);
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
        };
        auto lifts = [&] {
            std::vector<double> values;
            for (int r = 0; r < model->rowCount(); ++r)
                values.push_back(model->index(r, Column::Lift).data().toString().toDouble());
            return values;
        };
        for (const Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
            clickHeader(Column::Lift);
            const std::vector<double> values = lifts();
            QVERIFY(order == Qt::AscendingOrder ? std::is_sorted(values.begin(), values.end())
                                                : std::is_sorted(values.rbegin(), values.rend()));
            QVERIFY(header->isSortIndicatorShown());
            QCOMPARE(header->sortIndicatorSection(), int(Column::Lift));
            QCOMPARE(header->sortIndicatorOrder(), order);
            for (int r = 0; r < model->rowCount(); ++r) {
                QVERIFY2(cellTextFits(grid, r, Column::Lift), qPrintable(model->index(r, Column::Lift).data().toString()));
                QCOMPARE(model->index(r, Column::Ordinal).data().toString(),
                         numberOfCode[model->index(r, Column::Idx).data().toString()]);
            }
        }
        // By 序号 back to the list's order; a refresh shows no sort.
        clickHeader(Column::Ordinal);
        QCOMPARE(model->index(0, Column::Ordinal).data().toInt(), 1);
        f.window->refresh();
        QVERIFY(!header->isSortIndicatorShown());
    }

    void aFormulaThatNamesNoDigitShowsNoChanceFiguresAndNoScoreOnAnEmptyHistory()
    {
        WindowFixture f;
        openWithScoredFormulas(f, {"L1A*0-1", "L1A"});
        auto* model = f.find<QTableView>("MSFlexGrid2")->model();
        using Column = gui::FormulaListModel::Column;
        // Never a digit that can be drawn: right "every time" by the rule, no evidence at all.
        QVERIFY(model->index(0, Column::Rate).data().toString().startsWith(QStringLiteral("100.0000%")));
        for (int column : {Column::Chance, Column::Lift, Column::PValue, Column::BeatsChance})
            QVERIFY(model->index(0, column).data().toString().isEmpty());
        QVERIFY(!model->index(1, Column::PValue).data().toString().isEmpty());

        gui::Dialogs::queueAnswer(QStringLiteral("ok"));
        f.find<QAction>("mnuDlAll")->trigger();
        for (int column : {Column::Rate, Column::MaxMiss, Column::LastHit, Column::PValue})
            QVERIFY(model->index(1, column).data().toString().isEmpty());
        QVERIFY(f.find<QProgressBar>("ProgressBar1")->text().isEmpty());
    }

    void enterStoresTheTypedDrawOrAddsTheTypedFormula()
    {
        WindowFixture f;
        f.open();
        auto* period = f.find<QLineEdit>("Text1");
        period->setText(QStringLiteral("160121121"));  // no 121st issue
        f.find<QLineEdit>("txtIpt_1")->setFocus();
        typeKeys(QStringLiteral("38146"));
        QCOMPARE(f.window->session().history().rowCount(), 0);
        QVERIFY(gui::Dialogs::takeLog().join(u'\n').contains(QStringLiteral("121")));
        // The period mended, Enter in its box stores the five digits still there.
        period->setText(QStringLiteral("160121120"));
        QTest::keyClick(period, Qt::Key_Return);
        QCOMPARE(f.window->session().history().rowCount(), 1);
        QCOMPARE(f.window->session().latestPeriod(), QStringLiteral("160121120"));
        // Enter with boxes still empty stores nothing.
        QTest::keyClick(f.find<QLineEdit>("txtIpt_3"), Qt::Key_Enter);
        QCOMPARE(f.window->session().history().rowCount(), 1);

        auto* formula = f.find<QLineEdit>("Text2");
        formula->setText(QStringLiteral("万位码+千位码=下期杀一星直选"));
        QTest::keyClick(formula, Qt::Key_Return);
        QCOMPARE(f.find<QTableView>("MSFlexGrid2")->model()->rowCount(), 1);
        QVERIFY(formula->text().isEmpty());
    }

    void aYearNumberedGameProposesADateAndAPeriodThatAgree()
    {
        WindowFixture f;
        QVERIFY(f.temp.store().setGame({QStringLiteral("每日一期"), 1, 3, Numbering::Year}));
        QVERIFY(DrawHistory(f.temp.store()).add(QStringLiteral("24064"), QStringLiteral("12345"), QDate(2024, 3, 5)));
        f.open();
        f.window->session().setToday(QDate(2026, 12, 9));
        f.window->refresh();
        auto* period = f.find<QLineEdit>("Text1");
        auto* date = f.find<QDateEdit>("dtpDrawDate");
        QCOMPARE(period->text(), QStringLiteral("24065"));
        QCOMPARE(date->date(), QDate(2024, 3, 6));
        f.find<QLineEdit>("txtIpt_1")->setFocus();
        typeKeys(QStringLiteral("54321"));
        QCOMPARE(f.window->session().latestPeriod(), QStringLiteral("24065"));
        QCOMPARE(period->text(), QStringLiteral("24066"));
        QCOMPARE(date->date(), QDate(2024, 3, 7));
        // A date in a later year: that year's first draw, and the draw is taken.
        date->setDate(QDate(2025, 1, 2));
        QCOMPARE(period->text(), QStringLiteral("25001"));
        f.find<QLineEdit>("txtIpt_1")->setFocus();
        typeKeys(QStringLiteral("11111"));
        QCOMPARE(f.window->session().latestPeriod(), QStringLiteral("25001"));
        QCOMPARE(f.window->session().latestDraw()->drawDate(), QDate(2025, 1, 2));
        QCOMPARE(date->date(), QDate(2025, 1, 3));
    }

    void theWheelScrollsTheFocusedGridOneRowPerStep()
    {
        WindowFixture f;
        QVERIFY(DrawHistory(f.temp.store()).importText(qeltaro::test::sampleHistoryLines(100)));
        {
            FormulaTable table(f.temp.store(), Category{1, false});
            for (int i = 1; i <= 60; ++i)
                QVERIFY(table.append(Kind::Kill, QStringLiteral("L1A+%1").arg(i), QStringLiteral("万位码+%1").arg(i), i));
        }
        f.open();
        auto* history = f.find<QTableView>("MSFlexGrid1");
        auto* formulas = f.find<QTableView>("MSFlexGrid2");
        QTRY_VERIFY(topRow(history) > 0);  // opened at the newest draws
        history->scrollToTop();
        formulas->scrollToTop();
        history->setFocus();
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(history));

        // The focused grid moves, not the one under the mouse.
        turnWheel(formulas->viewport(), -120);
        QCOMPARE(topRow(history), 1);
        QCOMPARE(topRow(formulas), 0);
        turnWheel(history->viewport(), -120);
        turnWheel(history->viewport(), -240);
        QCOMPARE(topRow(history), 4);
        for (int i = 0; i < 4; ++i)
            turnWheel(history->viewport(), -30);  // a fine-grained wheel: four parts make a step
        QCOMPARE(topRow(history), 5);
        turnWheel(history->viewport(), 120);
        QCOMPARE(topRow(history), 4);
        turnWheel(history->viewport(), 120 * 10);
        QCOMPARE(topRow(history), 0);  // never above the first row

        // With no grid focused, no grid scrolls.
        f.find<QLineEdit>("Text2")->setFocus();
        turnWheel(formulas->viewport(), -120);
        QCOMPARE(topRow(formulas), 0);
        QCOMPARE(topRow(history), 0);

        // The grids of the tool windows too.
        f.find<QPushButton>("Command4")->click();
        auto* reference = f.window->findChild<QDialog*>(QStringLiteral("frmShuoming"))->findChild<QTableWidget*>(QStringLiteral("MSFlexGrid1"));
        reference->window()->resize(660, 300);
        QVERIFY(QTest::qWaitForWindowExposed(reference->window()));
        reference->window()->activateWindow();
        reference->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(reference));
        QVERIFY(reference->verticalScrollBar()->maximum() > 0);
        const int first = topRow(reference);
        turnWheel(reference->viewport(), -120);
        QCOMPARE(topRow(reference), first + 1);
        turnWheel(formulas->viewport(), -120);
        QCOMPARE(topRow(reference), first + 2);
        QCOMPARE(topRow(formulas), 0);
    }

    void theFormulaTextGetsTheRoomAndNumbersAreNeverCut()
    {
        WindowFixture f;
        QVERIFY(DrawHistory(f.temp.store()).importText(qeltaro::test::sampleHistoryLines(40)));
        {
            FormulaTable table(f.temp.store(), Category{1, false});
            Transaction transaction(f.temp.store().database());
            for (int i = 1; i <= 10000; ++i)
                QVERIFY(table.append(Kind::Kill, QStringLiteral("L1A+L2A+%1").arg(i % 10), QStringLiteral("万位码+千位码+%1=下期杀一星直选").arg(i % 10), i));
            QVERIFY(transaction.commit());
        }
        f.open();
        f.window->resize(1366, 740);
        QApplication::processEvents();
        auto* grid = f.find<QTableView>("MSFlexGrid2");
        using Column = gui::FormulaListModel::Column;
        const int last = grid->model()->rowCount() - 1;
        QCOMPARE(last, 9999);
        // Every number, as the widest is picked without measuring every cell; the text's ends.
        auto everythingFits = [&] {
            for (int column = 0; column < Column::ColumnCount; ++column) {
                if (column == Column::Idx)
                    continue;
                for (int row = 0; row <= last; row = column == Column::Text && row < last ? last : row + 1) {
                    if (!cellTextFits(grid, row, column)) {
                        qWarning("column %d row %d: \"%s\" in %d pixels", column, row,
                                 qPrintable(grid->model()->index(row, column).data().toString()), grid->columnWidth(column));
                        return false;
                    }
                }
            }
            return true;
        };
        QVERIFY(everythingFits());
        QCOMPARE(grid->model()->index(last, Column::Text).data(Qt::ToolTipRole).toString().section(u'\n', 0, 0),
                 QStringLiteral("万位码+千位码+0=下期杀一星直选"));
        // Wider and back: the text keeps its room.
        f.window->resize(1800, 900);
        QApplication::processEvents();
        f.window->resize(1366, 740);
        QApplication::processEvents();
        QVERIFY(everythingFits());
    }

    void formulaColumnHeaders()
    {
        QCOMPARE(gui::HistoryGridModel::formulaHeader(1), QStringLiteral("公式1"));
        QCOMPARE(gui::HistoryGridModel::formulaHeader(99), QStringLiteral("公式99"));
        QCOMPARE(gui::HistoryGridModel::formulaHeader(100), QStringLiteral("式100"));
        QCOMPARE(gui::HistoryGridModel::formulaHeader(120), QStringLiteral("式120"));
    }

    void theDaysDialogAsksAgainUntilTheAnswerFits()
    {
        WindowFixture f;
        f.open();
        gui::Dialogs::takeLog();
        for (const char* answer : {"1", "ok", "11", "ok", "abc", "ok", "10"})
            gui::Dialogs::queueAnswer(QString::fromLatin1(answer));
        f.find<QAction>("mnuSetDay")->trigger();
        const QStringList log = gui::Dialogs::takeLog();
        QCOMPARE(log.count(QStringLiteral("输入有误: ") + searchDaysRefusal()), 3);
        QCOMPARE(f.window->session().mirror().searchDays, 10);
        QCOMPARE(Settings(f.temp.settingsFile()).read().searchDays, 10);
    }

    void parameterReferenceWindowCopiesACell()
    {
        WindowFixture f;
        QVERIFY(DrawHistory(f.temp.store()).add(QStringLiteral("160121001"), QStringLiteral("38146")));
        f.open();
        f.find<QPushButton>("Command4")->click();
        auto* window = f.window->findChild<QDialog*>(QStringLiteral("frmShuoming"));
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), QStringLiteral("参数对照"));
        auto* grid = window->findChild<QTableWidget*>(QStringLiteral("MSFlexGrid1"));
        QCOMPARE(grid->item(8, 0)->text(), QStringLiteral("互补数"));
        QStringList row9;
        for (int c = 1; c <= 5; ++c)
            row9 << grid->item(8, c)->text();
        QCOMPARE(row9.join(u','), QStringLiteral("6,1,8,5,3"));
        QApplication::clipboard()->setText(QStringLiteral("before"));
        emit grid->cellClicked(0, 2);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("8"));
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
