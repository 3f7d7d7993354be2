// The formula's hit rate chart (menu "命中率走势图(&R)") and saving charts as pictures.

#include "gui_test_support.h"

#include "gui/backtest/hit_rate_chart_window.h"
#include "gui/search/search_progress_chart.h"
#include "history/draw_history.h"
#include "store/formula_table.h"

#include <QAction>
#include <QAbstractButton>
#include <QGraphicsTextItem>
#include <QImage>
#include <QLabel>
#include <QLineSeries>
#include <QSpinBox>
#include <QTableView>

using namespace qeltaro;
using qeltaro::test::WindowFixture;

namespace {

// Draws whose 个位 counts 0..9 round, so the next 个位 is always this one + 1.
QString cyclingDraws(int count)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += QStringLiteral("1601%1%2 1234%3\n")
                    .arg(21 + i / 120)
                    .arg(i % 120 + 1, 3, 10, QLatin1Char('0'))
                    .arg(i % 10);
    return text;
}

// The texts the chart shows: titles, legend and axis labels.
QStringList shownTexts(QGraphicsView* view)
{
    QStringList texts;
    for (QGraphicsItem* item : view->scene()->items()) {
        if (auto* text = dynamic_cast<QGraphicsTextItem*>(item); text && text->isVisible())
            texts << text->toPlainText();
    }
    return texts;
}

}  // namespace

class ChartsTest : public QObject {
    Q_OBJECT
private slots:
    void drawsTheRollingHitRateBesideTheChanceLineAndSavesIt()
    {
        WindowFixture f;
        QVERIFY(DrawHistory(f.temp.store()).importText(cyclingDraws(300)));
        QVERIFY(FormulaTable(f.temp.store(), Category{1, false})
                    .append(Kind::Kill, QStringLiteral("L5A+5"), QStringLiteral("个位码+5=下期杀一星直选"), 1));
        f.open();
        gui::Dialogs::takeLog();
        f.find<QAction>("mnuHitRate")->trigger();
        QCOMPARE(gui::Dialogs::takeLog(),
                 QStringList{QStringLiteral("公式命中率走势: 请先在公式列表中用鼠标点选一个公式。")});

        f.chooseFormula(0);
        f.find<QAction>("mnuHitRate")->trigger();
        auto* window = f.window->findChild<gui::HitRateChartWindow*>(QStringLiteral("frmHitRate"));
        QVERIFY(window && window->isVisible());
        // 299 predictions, windows of 120: 180 points. "+5" always kills a digit that is not
        // drawn next: every window hits 100%, against 90% by chance.
        const QLineSeries* rolling = window->rateSeries();
        const QLineSeries* chance = window->chanceSeries();
        QCOMPARE(rolling->count(), 180);
        QCOMPARE(rolling->at(0).y(), 100.0);
        QCOMPARE(chance->at(0).y(), 90.0);
        QVERIFY(window->findChild<QLabel*>(QStringLiteral("lblSummary"))->text().contains(QStringLiteral("命中299期")));

        // A shorter window gives more points.
        window->findChild<QSpinBox*>(QStringLiteral("txtWindow"))->setValue(50);
        QCOMPARE(rolling->count(), 250);

        // Saved as a picture from the button, then from the chart's context menu into a folder
        // that does not exist, which is said.
        const QString path = f.temp.dataDir() + QStringLiteral("/走势");
        gui::Dialogs::takeLog();
        gui::Dialogs::queueAnswer(path);
        window->findChild<QAbstractButton*>(QStringLiteral("cmdSaveImage"))->click();
        const QImage image(path + QStringLiteral(".png"));
        QVERIFY(!image.isNull());
        QVERIFY(image.width() >= 640);
        gui::Dialogs::queueAnswer(f.temp.dataDir() + QStringLiteral("/missing/图.png"));
        window->findChild<QWidget*>(QStringLiteral("chtHitRate"))->findChild<QAction*>(QStringLiteral("actSaveImage"))->trigger();
        const QStringList log = gui::Dialogs::takeLog();
        QCOMPARE(log.size(), 3);  // two save dialogs and the warning
        QVERIFY(log[2].startsWith(QStringLiteral("保存图片: 无法保存图片")));
    }

    void chartsTheFormulaOfTheRowEvenAfterTheListIsResorted()
    {
        WindowFixture f;
        QVERIFY(DrawHistory(f.temp.store()).importText(cyclingDraws(200)));
        FormulaTable table(f.temp.store(), Category{1, false});
        QVERIFY(table.append(Kind::Kill, QStringLiteral("L5A+5"), QStringLiteral("个位码+5"), 1));  // always right
        QVERIFY(table.append(Kind::Kill, QStringLiteral("L5A+1"), QStringLiteral("个位码+1"), 2));  // always wrong
        f.open();
        // Double-click the rate column: ascending, so the formula that is always wrong comes first.
        auto* grid = f.find<QTableView>("MSFlexGrid2");
        const QPoint rateCell = grid->visualRect(grid->model()->index(0, 5)).center();
        QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, rateCell);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, rateCell);
        QVERIFY(grid->model()->index(0, 1).data().toString().contains(QStringLiteral("个位码+1")));

        f.chooseFormula(0);
        f.find<QAction>("mnuHitRate")->trigger();
        auto* window = f.window->findChild<gui::HitRateChartWindow*>(QStringLiteral("frmHitRate"));
        QVERIFY(window);
        QVERIFY(window->findChild<QLabel*>(QStringLiteral("lblFormula"))->text().contains(QStringLiteral("个位码+1")));
        QCOMPARE(window->rateSeries()->at(0).y(), 0.0);
    }

    void searchPlotAxesShowPlainNumbers()
    {
        gui::SearchProgressChart chart;
        chart.resize(700, 320);
        chart.show();
        QVERIFY(QTest::qWaitForWindowExposed(&chart));
        chart.add(40, 1234567, 20000, 15000);
        QTRY_VERIFY(shownTexts(&chart).contains(QStringLiteral("20000")));
        const QStringList texts = shownTexts(&chart);
        QVERIFY2(texts.contains(QStringLiteral("1250000")), qPrintable(texts.join(u' ')));
        for (const QString& text : texts)
            QVERIFY2(!text.contains(u'e'), qPrintable(text));
    }
};

QTEST_MAIN(ChartsTest)
#include "charts_test.moc"
