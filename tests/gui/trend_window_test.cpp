// The trend chart window through the main window: its grid against the charts the core computes,
// the scroll to the newest draw, a typed draw followed, and the workbook read back.

#include "gui_test_support.h"

#include "export/trend_sheet.h"
#include "gui/trend/trend_grid_model.h"
#include "gui/trend/trend_window.h"
#include "history/draw_history.h"
#include "trend/streaks.h"
#include "workbook_reader.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTableWidget>

#include <span>

using namespace qeltaro;
using qeltaro::test::WindowFixture;

namespace {

// The main window on the first `draws` sample draws, and the trend window from its menu.
gui::TrendWindow* openTrend(WindowFixture& f, int draws)
{
    if (!DrawHistory(f.temp.store()).importText(qeltaro::test::sampleHistoryLines(draws)))
        return nullptr;
    f.open();
    f.find<QAction>(QStringLiteral("mnuZoushi"))->trigger();
    auto* window = f.window->findChild<gui::TrendWindow*>(QStringLiteral("frmZoushi"));
    return window && window->isVisible() ? window : nullptr;
}

template <typename T>
T* in(QWidget* window, const char* name)
{
    return window->findChild<T*>(QLatin1String(name));
}

// Every value cell of the grid against the charts computed apart, side by side in `forms` order:
// the drawn value's label on a filled cell, else the omission; then the statistic rows.
void expectGridShowsCharts(const QAbstractItemModel* grid, const HistoryColumns& history, int position,
                           std::span<const TrendForm> forms, std::optional<int> periods)
{
    int column = 2;
    for (TrendForm form : forms) {
        const TrendChart chart = trendChart(history, {form, position}, periods);
        QCOMPARE(grid->rowCount(), chart.rowCount() + 6);
        const QStringList& labels = trendValueLabels(form);
        for (int v = 0; v < chart.valueCount(); ++v, ++column) {
            for (int r = 0; r < chart.rowCount(); ++r) {
                const QModelIndex cell = grid->index(r, column);
                const bool drawn = chart.values[size_t(r)] == v;
                QCOMPARE(cell.data().toString(), drawn ? labels[v] : QString::number(chart.omission(r, v)));
                // Drawn: white on a strong colour; the omissions grey on white or a faint tint.
                QCOMPARE(cell.data(Qt::ForegroundRole).value<QColor>() == QColor(Qt::white), drawn);
                QCOMPARE(cell.data(Qt::BackgroundRole).value<QColor>().saturation() > 100, drawn);
            }
            const TrendStatistics& s = chart.statistics;
            const int n = chart.rowCount();
            QCOMPARE(grid->index(n, column).data().toString(), QString::number(s.appearances[size_t(v)]));
            QCOMPARE(grid->index(n + 1, column).data().toString(), QString::number(s.averageOmission[size_t(v)], 'f', 2));
            QCOMPARE(grid->index(n + 2, column).data().toString(), QString::number(s.maxOmission[size_t(v)]));
            QCOMPARE(grid->index(n + 3, column).data().toString(), QString::number(s.currentOmission[size_t(v)]));
            QCOMPARE(grid->index(n + 4, column).data().toString(), QString::number(s.maxRun[size_t(v)]));
            QCOMPARE(grid->index(n + 5, column).data().toString(), percentText(s.currentOmissionChance[size_t(v)]));
        }
    }
    QCOMPARE(grid->columnCount(), column);
}

}  // namespace

class TrendWindowTest : public QObject {
    Q_OBJECT
private slots:
    void showsTheCoreChartsAndFollowsATypedDraw()
    {
        WindowFixture f;
        gui::TrendWindow* window = openTrend(f, 300);
        QVERIFY(window);
        const HistoryColumns& history = f.window->session().history();
        const QAbstractItemModel* grid = window->gridModel();

        // 万位 over the newest 100 draws, opened on the newest draw.
        expectGridShowsCharts(grid, history, 1, kPositionForms, 100);
        QCOMPARE(grid->index(99, 0).data().toString(), history.period(299));
        auto* view = in<QTableView>(window, "grdTrend");
        QTRY_VERIFY(view->viewport()->rect().contains(view->visualRect(grid->index(99, 0))));
        QVERIFY(!view->viewport()->rect().intersects(view->visualRect(grid->index(0, 0))));

        in<QTabBar>(window, "tabPositions")->setCurrentIndex(5);
        in<QComboBox>(window, "cboPeriods")->setCurrentText(QStringLiteral("全部"));
        expectGridShowsCharts(grid, history, 5, kLastThreeForms, std::nullopt);

        // The button under the history brings the same window to the front.
        f.find<QPushButton>(QStringLiteral("cmdZoushi"))->click();
        QCOMPARE(f.window->findChildren<gui::TrendWindow*>().size(), 1);

        // A typed draw reaches the chart and the streaks.
        in<QTabBar>(window, "tabPositions")->setCurrentIndex(4);
        const QString period = f.find<QLineEdit>(QStringLiteral("Text1"))->text();
        for (int i = 0; i < 5; ++i)
            QTest::keyClick(f.find<QLineEdit>(QStringLiteral("txtIpt_%1").arg(i + 1)), char('0' + i));
        QCOMPARE(history.rowCount(), 301);
        QCOMPARE(grid->index(300, 0).data().toString(), period);
        expectGridShowsCharts(grid, history, 5, kPositionForms, std::nullopt);
        const auto* streaks = in<QTableWidget>(window, "grdStreaks");
        const std::vector<Streak> expected = currentStreaks(history);
        QCOMPARE(streaks->rowCount(), int(expected.size()));
        for (int c = 0; c < streaks->columnCount(); ++c)
            QCOMPARE(streaks->item(0, c)->text(), streakCells(expected[0])[c]);
    }

    void exportsTheShownPageWithItsColours()
    {
        WindowFixture f;
        gui::TrendWindow* window = openTrend(f, 80);
        QVERIFY(window);
        in<QComboBox>(window, "cboPeriods")->setCurrentIndex(0);  // 30
        in<QPushButton>(window, "cmdExport")->click();
        const auto book = test::WorkbookContents::read(trendWorkbookPath(f.temp.dataDir()));
        QVERIFY(book);

        const QAbstractItemModel* grid = window->gridModel();
        QCOMPARE(book->shown(1, 3), QStringLiteral("万位号码分布"));
        QCOMPARE(book->shown(1, 13), QStringLiteral("大小"));
        for (int c = 0; c < grid->columnCount(); ++c)
            QCOMPARE(book->shown(2, c + 1), grid->headerData(c, Qt::Horizontal).toString());
        for (int r = 0; r < grid->rowCount(); ++r) {
            for (int c = 0; c < grid->columnCount(); ++c) {
                const QModelIndex cell = grid->index(r, c);
                // Value cells that are not drawn hold numbers ("3.00" is 3), but for "<0.01".
                const QString text = cell.data().toString();
                const bool number = c >= TrendPage::kLeadingColumns && !text.startsWith(u'<')
                                    && cell.data(Qt::ForegroundRole).value<QColor>() != QColor(Qt::white);
                const test::WorkbookCell* written = book->cell(r + 3, c + 1);
                QCOMPARE(written && written->number.has_value(), number);
                if (number)
                    QCOMPARE(*written->number, text.toDouble());
                else
                    QCOMPARE(book->shown(r + 3, c + 1), text);
                const bool drawn = cell.data(Qt::ForegroundRole).value<QColor>() == QColor(Qt::white);
                QCOMPARE(book->fill(r + 3, c + 1).has_value(), drawn);
                if (drawn)
                    QCOMPARE(QColor::fromRgb(*book->fill(r + 3, c + 1)), cell.data(Qt::BackgroundRole).value<QColor>());
            }
        }
        QCOMPARE(book->shown(grid->rowCount() + 4, 1), equalChanceNote());
    }
};

QTEST_MAIN(TrendWindowTest)
#include "trend_window_test.moc"
