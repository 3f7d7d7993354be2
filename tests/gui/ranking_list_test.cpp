// The history replay (Command12) as the user starts it and the ranking list window it opens.

#include "gui_test_support.h"

#include "aggregate/err_counts.h"
#include "gui/common/background_task.h"
#include "history/draw_history.h"
#include "store/formula_table.h"

#include <QChartView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

using namespace qeltaro;
using qeltaro::test::WindowFixture;

namespace {

const QColor kBlue(0, 0, 255);

void fillStore(WindowFixture& f, int draws)
{
    QVERIFY(DrawHistory(f.temp.store()).importText(qeltaro::test::sampleHistoryLines(draws)));
    FormulaTable table(f.temp.store(), Category{1, false});
    const char* codes[] = {"L1A", "L2A+3", "LH", "L5A*7", "LT+1", "L3A+L4A"};
    int idx = 0;
    for (const char* code : codes)
        QVERIFY(table.append(Kind::Kill, QString::fromLatin1(code), QString::fromLatin1(code), ++idx));
}

QWidget* replay(WindowFixture& f)
{
    gui::Dialogs::queueAnswer(QStringLiteral("ok"));
    f.find<QPushButton>("Command12")->click();
    f.window->task().wait();
    return f.window->findChild<QWidget*>(QStringLiteral("frmLslb"));
}

bool isBlue(QAbstractItemModel* model, int row, int column)
{
    return model->index(row, column).data(Qt::BackgroundRole).value<QColor>() == kBlue;
}

}  // namespace

class RankingListTest : public QObject {
    Q_OBJECT
private slots:
    void cancellingTheQuestionChangesNothing()
    {
        WindowFixture f;
        fillStore(f, 50);
        f.open();
        const ErrCounts before = *readErrCounts(f.window->session().store(), ErrCountTable::ReplayTallies);
        gui::Dialogs::takeLog();
        gui::Dialogs::queueAnswer(QStringLiteral("cancel"));
        f.find<QPushButton>("Command12")->click();
        const QStringList log = gui::Dialogs::takeLog();
        QCOMPARE(log.size(), 1);
        QVERIFY(log[0].startsWith(QStringLiteral("查询等待确认: ")));
        QVERIFY(!log[0].contains(QStringLiteral("数十分钟")));
        QVERIFY(!f.window->task().busy());
        QVERIFY(!f.window->findChild<QWidget*>(QStringLiteral("frmLslb")));
        QCOMPARE(*readErrCounts(f.window->session().store(), ErrCountTable::ReplayTallies), before);
        QVERIFY(!QApplication::overrideCursor());
    }

    void directPlayMarksOneDigitAndOneCountInTheSameRank()
    {
        WindowFixture f;
        fillStore(f, 120);
        f.open();
        QWidget* window = replay(f);
        QVERIFY(window && window->isVisible());
        QCOMPARE(window->windowTitle(), QStringLiteral("历史开奖列表"));
        QVERIFY(window->findChild<QRadioButton*>(QStringLiteral("Option2_5"))->isChecked());  // 一星: 个位
        QVERIFY(window->findChild<QRadioButton*>(QStringLiteral("opTDG_0"))->isChecked());
        QCOMPARE(window->findChild<QRadioButton*>(QStringLiteral("Option2_1"))->text(), QStringLiteral("万位"));
        auto* model = window->findChild<QTableView*>(QStringLiteral("MSFlexGrid1"))->model();
        QCOMPARE(model->rowCount(), 119);  // the last ranking is a forecast: no row
        QCOMPARE(model->headerData(7, Qt::Horizontal).toString(), QStringLiteral("排列1"));
        QCOMPARE(model->headerData(26, Qt::Horizontal).toString(), QStringLiteral("Err值10"));
        QVERIFY(model->headerData(27, Qt::Horizontal).toString().endsWith(QStringLiteral("次")));
        const HistoryColumns& history = f.window->session().history();
        for (int r = 0; r < model->rowCount(); ++r) {
            QCOMPARE(model->index(r, 0).data().toString(), history.period(r + 1));
            QCOMPARE(model->index(r, 1).data().toString(), QString::number(history.digit(r + 1, 5)));
            QList<int> digitRanks, countRanks;
            for (int j = 0; j < 10; ++j) {
                if (isBlue(model, r, 7 + j))
                    digitRanks << j;
                if (isBlue(model, r, 17 + j))
                    countRanks << j;
            }
            QCOMPARE(digitRanks.size(), 1);
            QCOMPARE(countRanks, digitRanks);
            QCOMPARE(model->index(r, 7 + digitRanks[0]).data().toString(), model->index(r, 1).data().toString());
            QCOMPARE(model->index(r, 2).data().toString(), QString::number(digitRanks[0] + 1));
            QCOMPARE(model->index(r, 3).data().toString(), model->index(r, 17 + digitRanks[0]).data().toString());
        }
        // The summary counts every row once.
        const QString summary = window->findChild<QLabel*>(QStringLiteral("lblSummary"))->text();
        QVERIFY2(summary.startsWith(QStringLiteral("共119期")), qPrintable(summary));
        // Errarr keeps the tallies of the last period: six kill formulas named six digits in all.
        const auto tallies = readErrCounts(f.window->session().store(), ErrCountTable::ReplayTallies);
        QVERIFY(tallies);
        int total = 0;
        for (const ErrCount& c : *tallies)
            total += c.total;
        QCOMPARE(total, 6);
    }

    void groupQueryAndAReplayWhileOpenRefillsTheSameWindow()
    {
        WindowFixture f;
        fillStore(f, 60);
        f.open();
        QWidget* window = replay(f);
        auto* model = window->findChild<QTableView*>(QStringLiteral("MSFlexGrid1"))->model();
        // 百位 in group play: three drawn digits, every matching rank marked once.
        window->findChild<QRadioButton*>(QStringLiteral("Option2_3"))->click();
        window->findChild<QRadioButton*>(QStringLiteral("opTDG_1"))->click();
        window->findChild<QPushButton*>(QStringLiteral("Command2"))->click();
        const HistoryColumns& history = f.window->session().history();
        for (int r = 0; r < model->rowCount(); ++r) {
            const Digits draw = history.digits(r + 1);
            QCOMPARE(model->index(r, 1).data().toString(),
                     QStringLiteral("%1 %2 %3 ").arg(draw[2]).arg(draw[3]).arg(draw[4]));
            QSet<int> drawn{draw[2], draw[3], draw[4]};
            int marked = 0;
            for (int j = 0; j < 10; ++j)
                marked += isBlue(model, r, 7 + j);
            QCOMPARE(marked, drawn.size());
            QCOMPARE(model->index(r, 2).data().toString().split(u' ', Qt::SkipEmptyParts).size(), drawn.size());
        }

        // With no formula selected every count is 0; a new replay refills the open window at
        // once, keeping the chosen position and play.
        f.find<QPushButton>("Command5")->click();
        QCOMPARE(replay(f), window);
        QVERIFY(window->findChild<QRadioButton*>(QStringLiteral("Option2_3"))->isChecked());
        QVERIFY(window->findChild<QRadioButton*>(QStringLiteral("opTDG_1"))->isChecked());
        QCOMPARE(model->columnCount(), 28);
        QCOMPARE(model->headerData(27, Qt::Horizontal).toString(), QStringLiteral("0次"));
        QCOMPARE(model->index(0, 27).data().toString(), QStringLiteral("0 1 2 3 4 5 6 7 8 9 "));

        // Closed and opened again: back to the category's own position and play.
        window->close();
        QTRY_VERIFY(!f.window->findChild<QWidget*>(QStringLiteral("frmLslb")));
        window = replay(f);
        QVERIFY(window->findChild<QRadioButton*>(QStringLiteral("Option2_5"))->isChecked());
        QVERIFY(window->findChild<QRadioButton*>(QStringLiteral("opTDG_0"))->isChecked());
    }

    void anEmptyHistoryOpensAnEmptyList()
    {
        WindowFixture f;
        f.open();
        QWidget* window = replay(f);
        QVERIFY(window);
        QCOMPARE(window->findChild<QTableView*>(QStringLiteral("MSFlexGrid1"))->model()->rowCount(), 0);
        QCOMPARE(window->findChild<QLabel*>(QStringLiteral("lblSummary"))->text(),
                 QStringLiteral("没有可对照的期数：历史号码至少需要两期"));
    }
};

QTEST_MAIN(RankingListTest)
#include "ranking_list_test.moc"
