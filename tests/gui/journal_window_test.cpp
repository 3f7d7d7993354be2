// The prediction journal through the main window: what "计算公式(&C)" records, how an entry is
// judged once its draw is typed, the window's rows, summary, filters, export and clearing, and
// the walk-forward test it runs on the main window's settings.

#include "gui_test_support.h"

#include "export/journal_sheet.h"
#include "gui/common/grid_colours.h"
#include "gui/app/tool_window_commands.h"
#include "gui/common/background_task.h"
#include "gui/predictions/journal_window.h"
#include "gui/predictions/cumulative_chart.h"
#include "gui/predictions/prediction_table_model.h"
#include "history/draw_history.h"
#include "store/formula_table.h"

#include <QAction>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QGraphicsTextItem>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

using namespace qeltaro;
using qeltaro::test::WindowFixture;

namespace {

void addFormulas(Store& store, Category category, const QStringList& codes)
{
    FormulaTable table(store, category);
    int idx = 0;
    for (const QString& code : codes)
        QVERIFY(table.append(Kind::Kill, code, QStringLiteral("公式") + code, ++idx));
}

// 二星直选杀码 by the selected formulas: 1星 kills 4 and 9, 2星 kills 7.
void twoStarFormulas(WindowFixture& f, int draws)
{
    QVERIFY(DrawHistory(f.temp.store()).importText(qeltaro::test::sampleHistoryLines(draws)));
    addFormulas(f.temp.store(), {1, false}, {QStringLiteral("L1A*0+4"), QStringLiteral("L1A*0+9")});
    addFormulas(f.temp.store(), {2, false}, {QStringLiteral("L1A*0+7")});
}

void calculateTwoStarsSelected(WindowFixture& f)
{
    f.find<QRadioButton>("optXing_2")->click();
    f.find<QRadioButton>("Option6_1")->click();
    f.find<QPushButton>("Command23")->click();
}

gui::JournalWindow* openJournal(WindowFixture& f)
{
    f.find<QAction>("mnuJournal")->trigger();
    auto* journal = f.window->findChild<gui::JournalWindow*>(QStringLiteral("frmJournal"));
    return journal && journal->isVisible() ? journal : nullptr;
}

template <typename T>
T* in(QWidget* window, const char* name)
{
    return window->findChild<T*>(QLatin1String(name));
}

QStringList rowTexts(const QAbstractItemModel* model, int row)
{
    QStringList texts;
    for (int c = 0; c < model->columnCount(); ++c)
        texts << model->index(row, c).data().toString();
    return texts;
}

// Types the draw into the entry boxes as keys, the way a person does.
void typeDraw(WindowFixture& f, const QString& period, const QString& digits)
{
    f.find<QLineEdit>("Text1")->setText(period);
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(f.find<QLineEdit>(QStringLiteral("txtIpt_%1").arg(i + 1)), digits[i].toLatin1());
}

}  // namespace

class JournalWindowTest : public QObject {
    Q_OBJECT
private slots:
    void theChartsAxisTitlesAreWholeWithFewEntries()
    {
        WindowFixture f;
        twoStarFormulas(f, 300);
        f.open();
        calculateTwoStarsSelected(f);
        gui::JournalWindow* journal = openJournal(f);
        QVERIFY(journal);
        QApplication::processEvents();
        auto* chart = journal->findChild<QChartView*>(QStringLiteral("chtJournal"));
        QStringList texts;
        for (QGraphicsItem* item : chart->scene()->items()) {
            if (auto* text = dynamic_cast<QGraphicsTextItem*>(item))
                texts << text->toPlainText();
        }
        QVERIFY2(texts.contains(QStringLiteral("次数")), qPrintable(texts.join(u'|')));
        QVERIFY2(texts.contains(QStringLiteral("可检验的预测（按时间先后）")), qPrintable(texts.join(u'|')));
    }

    void aNextPeriodCalculationIsRecordedAndJudgedWhenItsDrawIsTyped()
    {
        WindowFixture f;
        twoStarFormulas(f, 300);
        f.open();
        QCOMPARE(f.find<QAction>("mnuJournal")->text(), QStringLiteral("预测记录(&J)..."));
        QVERIFY(f.find<QMenu>("mnuMang")->actions().contains(f.find<QAction>("mnuJournal")));

        calculateTwoStarsSelected(f);
        const auto* commands = f.window->findChild<gui::ToolWindowCommands*>();
        const QString period = commands->lastCalculation()->period;
        // Re-checking a past period predicts nothing and is not recorded (nor is anything said).
        f.find<QRadioButton>("Option5_1")->click();
        f.find<QLineEdit>("Text3")->setText(f.window->session().history().period(200));
        gui::Dialogs::takeLog();
        f.find<QPushButton>("Command23")->click();
        QCOMPARE(commands->lastCalculation()->plan.period, CalculationPeriod::Past);
        QCOMPARE(gui::Dialogs::takeLog(), QStringList());
        f.find<QRadioButton>("Option5_0")->click();

        gui::JournalWindow* journal = openJournal(f);
        QVERIFY(journal);
        QCOMPARE(journal->windowTitle(), QStringLiteral("预测记录"));
        for (const QSize size : {journal->sizeHint(), journal->minimumSizeHint(), journal->size()})
            QVERIFY2(size.width() <= 1366 && size.height() <= 728, qPrintable(QStringLiteral("%1x%2").arg(size.width()).arg(size.height())));
        auto* grid = in<QTableView>(journal, "grdJournal");
        const QAbstractItemModel* rows = grid->model();
        QCOMPARE(rows->rowCount(), 2);
        QStringList headers;
        for (int c = 0; c < rows->columnCount(); ++c)
            headers << rows->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(headers, (QStringList{"期号", "种类", "方法", "位置", "保留号码", "开奖号码", "结果", "随机概率",
                                       "注数", "成本", "奖金", "盈亏"}));
        QCOMPARE(rowTexts(rows, 0), (QStringList{period, "二星直选杀码", "计算选中公式", "1星", "0 1 2 3 5 6 7 8", "", "待开奖", "80.00%", "", "", "", ""}));
        QCOMPARE(rowTexts(rows, 1), (QStringList{period, "二星直选杀码", "计算选中公式", "2星", "0 1 2 3 4 5 6 8 9", "", "待开奖", "90.00%", "", "", "", ""}));
        auto* summary = in<QLabel>(journal, "lblJournalSummary");
        QVERIFY2(summary->text().contains(QStringLiteral("待开奖2个")), qPrintable(summary->text()));

        // The draw typed in the main window judges the open window's rows: 个位 6 kept, 十位 7 killed.
        typeDraw(f, period, QStringLiteral("00076"));
        QCOMPARE(f.window->session().latestPeriod(), period);
        QTRY_COMPARE(rows->index(0, 6).data().toString(), QStringLiteral("对"));
        QCOMPARE(rows->index(0, 5).data().toString(), QStringLiteral("6"));
        QCOMPARE(rows->index(1, 6).data().toString(), QStringLiteral("错"));
        QCOMPARE(rows->index(1, 5).data().toString(), QStringLiteral("7"));
        QCOMPARE(rows->index(0, 6).data(Qt::BackgroundRole).value<QColor>(), gui::hitBlue());
        QCOMPARE(rows->index(1, 6).data(Qt::BackgroundRole).value<QColor>(), gui::missGreen());
        const QStringList lines = summary->text().split(u'\n');
        QCOMPARE(lines.value(0), QStringLiteral("[二星直选杀码] 1条记录，可检验2个：成功1次，随机期望1.70次，p值0.98"));
        QCOMPARE(lines.value(1), QStringLiteral("合计：可检验2个：成功1次，随机期望1.70次，p值0.98"));
        QCOMPARE(lines.value(2), QStringLiteral("成功次数与随机期望相近：保留的号码并不比随机选出的号码更常开出。"));
        QCOMPARE(journal->successChart().journalTotal()->points(), (QList<QPointF>{{0, 0}, {1, 1}, {2, 1}}));
        // The prediction bought 8 × 9 bets at 2 yuan and lost; its money stands on its first row.
        QCOMPARE(rowTexts(rows, 0).mid(8), (QStringList{"72", "144", "0", "-144"}));
        QCOMPARE(rowTexts(rows, 1).mid(8), (QStringList{"", "", "", ""}));
        QCOMPARE(lines.value(3), QStringLiteral("金额（按当前奖金表，每注2元）：已开奖1条预测，成本144元，奖金0元，盈亏-144元；随机期望盈亏-72.00元"));
        QCOMPARE(journal->moneyChart().journalTotal()->points(), (QList<QPointF>{{0, 0}, {1, -144}}));
        QCOMPARE(journal->moneyChart().journalExpected()->points(), (QList<QPointF>{{0, 0}, {1, -72}}));

        // The next calculation adds an entry for the period after, shown at once.
        calculateTwoStarsSelected(f);
        QCOMPARE(rows->rowCount(), 4);
        QCOMPARE(rows->index(3, 6).data().toString(), QStringLiteral("待开奖"));
        QVERIFY(rows->index(3, 0).data().toString() != period);

        // Filters by kind and category.
        in<QComboBox>(journal, "cboKind")->setCurrentIndex(2);  // 留码
        QCOMPARE(rows->rowCount(), 0);
        in<QComboBox>(journal, "cboKind")->setCurrentIndex(1);  // 杀码
        in<QComboBox>(journal, "cboCategory")->setCurrentText(QStringLiteral("二星直选"));
        QCOMPARE(rows->rowCount(), 4);
        in<QComboBox>(journal, "cboCategory")->setCurrentText(QStringLiteral("三星组选"));
        QCOMPARE(rows->rowCount(), 0);
        in<QComboBox>(journal, "cboCategory")->setCurrentIndex(0);

        // The workbook goes to the data folder.
        const QString workbook = journalWorkbookPath(f.window->session().store().dataDir());
        in<QPushButton>(journal, "cmdExport")->click();
        QVERIFY(QFile::exists(workbook));

        // Clearing asks first; cancelled, nothing goes.
        gui::Dialogs::takeLog();
        gui::Dialogs::queueAnswer(QStringLiteral("cancel"));
        in<QPushButton>(journal, "cmdClear")->click();
        QVERIFY(gui::Dialogs::takeLog().join(u'\n').contains(QStringLiteral("删除全部预测记录")));
        QCOMPARE(rows->rowCount(), 4);
        gui::Dialogs::queueAnswer(QStringLiteral("ok"));
        in<QPushButton>(journal, "cmdClear")->click();
        QCOMPARE(rows->rowCount(), 0);
        QVERIFY(summary->text().startsWith(QStringLiteral("预测记录为空")));
        auto report = readJournal(f.window->session().store());
        QVERIFY(report && report->entries.empty());
        in<QPushButton>(journal, "cmdClose")->click();
        QVERIFY(!journal->isVisible());
    }

    void aFailedRecordIsSaidAndTheResultStillShown()
    {
        WindowFixture f;
        twoStarFormulas(f, 60);
        f.open();
        calculateTwoStarsSelected(f);
        auto* errWindow = f.window->findChild<QWidget*>(QStringLiteral("frmErrarrLei"));
        QVERIFY(errWindow && errWindow->isVisible());
        errWindow->close();
        QVERIFY(f.window->session().store().database().exec(
            QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON PredictionJournal BEGIN SELECT RAISE(ABORT, 'disk full'); END")));
        gui::Dialogs::takeLog();
        calculateTwoStarsSelected(f);
        QVERIFY(errWindow->isVisible());
        const QString said = gui::Dialogs::takeLog().join(u'\n');
        QVERIFY2(said.contains(QStringLiteral("计算结果未能记入预测记录")), qPrintable(said));
        // The earlier entry stays: the failed replacement took nothing away.
        auto report = readJournal(f.window->session().store());
        QVERIFY(report);
        QCOMPARE(report->entries.size(), size_t(1));
    }

    void aWalkForwardRunTakesTheMainWindowsSettingsAndFillsItsTable()
    {
        WindowFixture f;
        QVERIFY(DrawHistory(f.temp.store()).importText(qeltaro::test::sampleHistoryLines(300)));
        addFormulas(f.temp.store(), {1, false}, {QStringLiteral("L1A"), QStringLiteral("LH+1"), QStringLiteral("L5A*3"),
                                                 QStringLiteral("L2A+L4A"), QStringLiteral("LT+2")});
        f.open();
        // Selected formulas: 1, 3 and 5 (a click on a formula's text toggles its selection).
        auto* list = f.find<QTableView>("MSFlexGrid2");
        for (int row : {1, 3})
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(row, 1)).center());
        QVERIFY(!f.window->session().selection().isSelected(2) && !f.window->session().selection().isSelected(4));
        QVERIFY(f.window->session().selection().isSelected(3));

        gui::JournalWindow* journal = openJournal(f);
        QVERIFY(journal);
        auto* periods = in<QSpinBox>(journal, "txtPeriods");
        QCOMPARE(periods->value(), 120);
        auto* summary = in<QLabel>(journal, "lblWalkSummary");
        const QAbstractItemModel* rows = in<QTableView>(journal, "grdWalk")->model();

        for (const char* method : {"Option6_1", "Option6_0"}) {
            f.find<QRadioButton>(QLatin1String(method))->click();
            periods->setValue(40);
            in<QPushButton>(journal, "cmdStart")->click();
            QVERIFY(journal->walkForwardRunning());
            journal->task().wait();

            WalkForwardRequest request;
            request.category = {1, false};
            request.kind = Kind::Kill;
            request.periods = 40;
            request.method = method == std::string("Option6_1") ? CalculationMethod::Selected : CalculationMethod::Best;
            request.sort = f.window->findChild<gui::ToolWindowCommands*>()->sortSettings();
            request.selection = f.window->session().selection();
            request.window = BacktestSettings::fromMirror(f.window->session().mirror());
            auto expected = walkForward(f.window->session().store(), f.window->session().history(), request);
            QVERIFY(expected);
            QCOMPARE(rows->rowCount(), 40);
            QCOMPARE(rows->columnCount(), 10);
            const std::vector<PredictionRow> wanted = walkForwardRows(*expected, request);
            for (int r : {0, 17, 39}) {
                const PredictionRow& w = wanted[size_t(r)];
                QCOMPARE(rowTexts(rows, r), (QStringList{w.period, w.position, w.kept, w.drawn,
                                                         predictionOutcomeWord(w.success), predictionChanceText(w.chance),
                                                         QString::number(w.money->bets), yuanText(w.money->cost),
                                                         yuanText(w.money->payout), yuanText(w.money->net())}));
            }
            QCOMPARE(summary->text(), QStringList({predictionSummaryLine(expected->summary), predictionVerdict(expected->summary),
                                                   moneySummaryLine(expected->money, expected->prizes)})
                                          .join(u'\n'));
            QCOMPARE(journal->moneyChart().walkTotal()->count(), 41);
            QCOMPARE(journal->moneyChart().walkTotal()->points().last().y(), yuanOf(expected->money.net()));
            QVERIFY(in<QLabel>(journal, "lblWalkTitle")->text().startsWith(
                QStringLiteral("一星直选杀码 最新40期 ") + calculationMethodWord(request.method)));
            QCOMPARE(journal->successChart().walkTotal()->count(), expected->summary.tested + 1);
        }
    }

    void aWalkForwardWithASearchPerPeriodUsesNoStoredFormula()
    {
        WindowFixture f;
        QVERIFY(DrawHistory(f.temp.store()).importText(qeltaro::test::sampleHistoryLines(300)));
        f.open();
        gui::JournalWindow* journal = openJournal(f);
        QVERIFY(journal);
        auto* candidates = in<QSpinBox>(journal, "txtWalkCandidates");
        QVERIFY(!candidates->isEnabled());
        in<QCheckBox>(journal, "chkWalkSearch")->setChecked(true);
        QVERIFY(candidates->isEnabled());
        candidates->setValue(500);
        in<QSpinBox>(journal, "txtPeriods")->setValue(3);
        in<QPushButton>(journal, "cmdStart")->click();
        journal->task().wait();
        const QString title = in<QLabel>(journal, "lblWalkTitle")->text();
        QVERIFY2(title.contains(QStringLiteral("最新3期")) && title.contains(QStringLiteral("含公式搜索，每期每表500条")),
                 qPrintable(title));
        const QString summary = in<QLabel>(journal, "lblWalkSummary")->text();
        QVERIFY2(summary.startsWith(QStringLiteral("各期搜索共找到公式")), qPrintable(summary));
    }

    void stoppingAWalkForwardRunEndsItWithoutRows()
    {
        WindowFixture f;
        QVERIFY(DrawHistory(f.temp.store()).importText(qeltaro::test::sampleHistoryLines(4080)));
        addFormulas(f.temp.store(), {1, false}, {QStringLiteral("L1A"), QStringLiteral("LH+1"), QStringLiteral("L5A*3")});
        f.open();
        gui::JournalWindow* journal = openJournal(f);
        QVERIFY(journal);
        in<QSpinBox>(journal, "txtPeriods")->setValue(4000);
        in<QPushButton>(journal, "cmdStart")->click();
        QVERIFY(!in<QPushButton>(journal, "cmdStart")->isEnabled());
        QVERIFY(in<QPushButton>(journal, "cmdStop")->isVisible());
        in<QPushButton>(journal, "cmdStop")->click();
        journal->task().wait();
        QVERIFY(!journal->walkForwardRunning());
        QCOMPARE(in<QTableView>(journal, "grdWalk")->model()->rowCount(), 0);
        QCOMPARE(in<QLabel>(journal, "lblWalkTitle")->text(), QStringLiteral("已停止检验。"));
        QVERIFY(in<QPushButton>(journal, "cmdStart")->isEnabled());
        QVERIFY(!in<QPushButton>(journal, "cmdStop")->isVisible());
    }
};

QTEST_MAIN(JournalWindowTest)
#include "journal_window_test.moc"
