// The spreadsheet exports of the main window and of the tool windows, read back from the
// workbooks they write and compared with what the windows show.

#include "gui_test_support.h"

#include "gui/common/background_task.h"
#include "history/draw_history.h"
#include "store/formula_table.h"
#include "workbook_reader.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>

using namespace qeltaro;
using qeltaro::test::WindowFixture;
using qeltaro::test::WorkbookContents;

namespace {

const QColor kBlue(0, 0, 255);
const QColor kGreen(0, 255, 0);

void addFormulas(Store& store, Category category, const QStringList& codes)
{
    FormulaTable table(store, category);
    int idx = 0;
    for (const QString& code : codes)
        QVERIFY(table.append(Kind::Kill, code, QStringLiteral("公式") + code, ++idx));
}

QString dataFile(WindowFixture& f, const char* name)
{
    return QDir(f.window->session().store().dataDir()).filePath(QLatin1String(name));
}

WorkbookContents readBack(WindowFixture& f, const char* name)
{
    auto book = WorkbookContents::read(dataFile(f, name));
    if (!book)
        qWarning("cannot read %s", name);
    return book.value_or(WorkbookContents());
}

// Header and cells of the workbook against the model: sheet (r + 2, c + 1) is grid (r, c).
bool matchesModel(const WorkbookContents& book, const QAbstractItemModel* model, int columns)
{
    bool same = book.rowCount() == model->rowCount() + 1;
    for (int c = 0; c < columns && same; ++c)
        same = book.shown(1, c + 1) == model->headerData(c, Qt::Horizontal).toString();
    for (int r = 0; r < model->rowCount() && same; ++r) {
        for (int c = 0; c < columns && same; ++c) {
            same = book.shown(r + 2, c + 1) == model->index(r, c).data().toString();
            if (!same)
                qWarning("row %d column %d: %s vs %s", r, c, qPrintable(book.shown(r + 2, c + 1)),
                         qPrintable(model->index(r, c).data().toString()));
        }
    }
    return same;
}

QWidget* openedWindow(WindowFixture& f, const char* name)
{
    auto* window = f.window->findChild<QWidget*>(QLatin1String(name));
    return window && window->isVisible() ? window : nullptr;
}

void doubleClick(QTableView* grid, int row, int column)
{
    const QPoint at = grid->visualRect(grid->model()->index(row, column)).center();
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
}

}  // namespace

class ListExportTest : public QObject {
    Q_OBJECT
private slots:
    void historyListWithoutVerificationAsksNothing()
    {
        WindowFixture f;
        QVERIFY(DrawHistory(f.temp.store()).importText(qeltaro::test::sampleHistoryLines(40)));
        addFormulas(f.temp.store(), {1, false}, {QStringLiteral("L1A")});
        f.open();
        gui::Dialogs::takeLog();
        f.find<QPushButton>("cmdDcexl")->click();
        f.window->task().wait();
        QCOMPARE(gui::Dialogs::takeLog(), QStringList());
        const WorkbookContents book = readBack(f, "lishi.xlsx");
        QCOMPARE(book.sheetNames(), QStringList{QStringLiteral("Sheet1")});
        auto* grid = f.find<QTableView>("MSFlexGrid1");
        QCOMPARE(grid->model()->columnCount(), 6);
        QVERIFY(matchesModel(book, grid->model(), 6));
        QCOMPARE(book.columnCount(2), 6);
    }

    void historyListWithVerificationAsksFirstAndKeepsTheGridsColours()
    {
        WindowFixture f;
        QVERIFY(DrawHistory(f.temp.store()).importText(qeltaro::test::sampleHistoryLines(60)));
        addFormulas(f.temp.store(), {1, false}, {QStringLiteral("L1A"), QStringLiteral("L5A+3"), QStringLiteral("LH")});
        f.open();
        f.find<QCheckBox>("Check1")->click();
        auto* grid = f.find<QTableView>("MSFlexGrid1");
        QAbstractItemModel* model = grid->model();
        QCOMPARE(model->columnCount(), 9);

        // Cancel stops the export: nothing is written.
        gui::Dialogs::takeLog();
        gui::Dialogs::queueAnswer(QStringLiteral("cancel"));
        f.find<QPushButton>("cmdDcexl")->click();
        f.window->task().wait();
        QCOMPARE(gui::Dialogs::takeLog(),
                 QStringList{QStringLiteral("查询等待确认: 将本表导出到EXCEL，因为公式每一期验证数据较多可能需要数分钟，确认需要执行并等待吗？")});
        QVERIFY(!QFile::exists(dataFile(f, "lishi.xlsx")));

        gui::Dialogs::queueAnswer(QStringLiteral("ok"));
        f.find<QAction>("mnuDcls")->trigger();
        f.window->task().wait();
        const WorkbookContents book = readBack(f, "lishi.xlsx");
        QCOMPARE(book.rowCount(), model->rowCount() + 1);
        QCOMPARE(book.columnCount(1), 9);
        // The formula names above the first period, where the grid is blank.
        for (int k = 0; k < 3; ++k) {
            QCOMPARE(book.shown(1, 7 + k), model->headerData(6 + k, Qt::Horizontal).toString());
            QVERIFY(model->index(0, 6 + k).data().toString().isEmpty());
        }
        QCOMPARE(book.shown(2, 7), QStringLiteral("公式L1A"));
        QCOMPARE(book.shown(2, 9), QStringLiteral("公式LH"));
        // Every other cell as the grid shows it, blue and green fills included.
        int blue = 0, green = 0;
        for (int r = 1; r < model->rowCount(); ++r) {
            for (int c = 0; c < 9; ++c) {
                const QModelIndex cell = model->index(r, c);
                QCOMPARE(book.shown(r + 2, c + 1), cell.data().toString());
                const QColor background = cell.data(Qt::BackgroundRole).value<QColor>();
                const auto fill = book.fill(r + 2, c + 1);
                if (background == kBlue) {
                    QCOMPARE(fill, std::optional<std::uint32_t>(0x0000FF));
                    ++blue;
                } else if (background == kGreen) {
                    QCOMPARE(fill, std::optional<std::uint32_t>(0x00FF00));
                    ++green;
                } else {
                    QCOMPARE(fill, std::optional<std::uint32_t>());
                }
            }
        }
        QVERIFY(blue > 0 && green > 0);
        // The grid itself is not changed.
        QVERIFY(model->index(0, 6).data().toString().isEmpty());
    }

    void formulaListHasTenColumnsInTheOrderShown()
    {
        WindowFixture f;
        QVERIFY(DrawHistory(f.temp.store()).importText(qeltaro::test::sampleHistoryLines(80)));
        addFormulas(f.temp.store(), {1, false},
                    {QStringLiteral("L1A"), QStringLiteral("L5A+3"), QStringLiteral("LH"), QStringLiteral("LT+1")});
        f.open();
        auto* grid = f.find<QTableView>("MSFlexGrid2");
        f.find<QAction>("mnuExl")->trigger();
        WorkbookContents book = readBack(f, "gongshi.xlsx");
        QCOMPARE(book.columnCount(1), 10);
        QCOMPARE(book.columnCount(2), 10);
        QVERIFY(matchesModel(book, grid->model(), 10));
        QCOMPARE(book.shown(1, 11), QString());

        // Re-listed by the rate, then exported again: the file is replaced, in the new order.
        doubleClick(grid, 0, 5);
        const QString firstShown = grid->model()->index(0, 1).data().toString();
        f.find<QAction>("mnuExl")->trigger();
        book = readBack(f, "gongshi.xlsx");
        QVERIFY(matchesModel(book, grid->model(), 10));
        QCOMPARE(book.shown(2, 2), firstShown);
    }

    void aWorkbookThatCannotBeWrittenIsReported()
    {
        WindowFixture f;
        QVERIFY(DrawHistory(f.temp.store()).importText(qeltaro::test::sampleHistoryLines(20)));
        addFormulas(f.temp.store(), {1, false}, {QStringLiteral("L1A")});
        f.open();
        // Folders in the way of the workbooks.
        QVERIFY(QDir().mkpath(dataFile(f, "gongshi.xlsx") + QStringLiteral("/inside")));
        QVERIFY(QDir().mkpath(dataFile(f, "lishi.xlsx") + QStringLiteral("/inside")));
        gui::Dialogs::takeLog();
        f.find<QAction>("mnuExl")->trigger();
        f.find<QPushButton>("cmdDcexl")->click();
        f.window->task().wait();
        const QStringList log = gui::Dialogs::takeLog();
        QCOMPARE(log.size(), 2);
        for (const QString& line : log) {
            QVERIFY2(line.startsWith(QStringLiteral("列表显示错误: 无法写入表格文件 ")), qPrintable(line));
            QVERIFY2(line.contains(QStringLiteral("无法替换原有文件")), qPrintable(line));
        }
        QVERIFY(QFileInfo(dataFile(f, "gongshi.xlsx")).isDir());
        // The window goes on working.
        QCOMPARE(f.find<QTableView>("MSFlexGrid2")->model()->rowCount(), 1);
    }

    void errValuesAndDetailListFromTheirWindows()
    {
        WindowFixture f;
        QVERIFY(DrawHistory(f.temp.store()).importText(qeltaro::test::sampleHistoryLines(100)));
        addFormulas(f.temp.store(), {1, false}, {QStringLiteral("L1A"), QStringLiteral("LH+1"), QStringLiteral("L5A*3")});
        addFormulas(f.temp.store(), {2, false}, {QStringLiteral("L2A+L4A"), QStringLiteral("LT"), QStringLiteral("L3A+2")});
        f.open();
        f.find<QRadioButton>("optXing_2")->click();
        f.find<QRadioButton>("Option6_1")->click();
        f.find<QPushButton>("Command23")->click();
        QWidget* window = openedWindow(f, "frmErrarrLei");
        QVERIFY(window);
        auto* exportButton = window->findChild<QPushButton*>(QStringLiteral("Command1"));
        QVERIFY(exportButton);
        QCOMPARE(exportButton->text(), QStringLiteral("导出列表(&E)"));
        auto* tabs = window->findChild<QTabWidget*>(QStringLiteral("TabStrip1"));
        for (int t : {1, 0}) {
            // The page in front is written: its rows by kill count, equal counts by digit, which
            // for kill formulas is the page's own order.
            tabs->setCurrentIndex(t);
            exportButton->click();
            const WorkbookContents book = readBack(f, "ErrarrLei.xlsx");
            QCOMPARE(book.rowTexts(1), (QStringList{QStringLiteral("排序序号"), QStringLiteral("号码"),
                                                    QStringLiteral("杀留Err值（公式错误值）")}));
            auto* grid = tabs->widget(t)->findChild<QTableWidget*>(QStringLiteral("MSFlexGrid1"));
            for (int r = 0; r < 10; ++r) {
                QCOMPARE(book.shown(r + 2, 1), QString::number(r + 1));
                QCOMPARE(book.shown(r + 2, 2), grid->item(r, 1)->text());
                QCOMPARE(book.shown(r + 2, 3), grid->item(r, 2)->text());
            }
        }

        window->findChild<QPushButton*>(QStringLiteral("Command2"))->click();
        auto* detail = window->findChild<QDialog*>(QStringLiteral("frmXxlb"));
        QVERIFY(detail);
        auto* detailExport = detail->findChild<QPushButton*>(QStringLiteral("Command1"));
        QCOMPARE(detailExport->text(), QStringLiteral("导出数据(&E)"));
        detailExport->click();
        auto* rows = detail->findChild<QTableView*>(QStringLiteral("MSFlexGrid1"))->model();
        QCOMPARE(rows->rowCount(), 3);
        QVERIFY(matchesModel(readBack(f, "gongshi.xlsx"), rows, 6));
        detail->close();
    }

    void rankingListAndCalculationHistory()
    {
        WindowFixture f;
        QVERIFY(DrawHistory(f.temp.store()).importText(qeltaro::test::sampleHistoryLines(50)));
        addFormulas(f.temp.store(), {1, false}, {QStringLiteral("L1A"), QStringLiteral("L2A+3"), QStringLiteral("LH")});
        f.open();
        gui::Dialogs::queueAnswer(QStringLiteral("ok"));
        f.find<QPushButton>("Command12")->click();
        f.window->task().wait();
        QWidget* ranking = openedWindow(f, "frmLslb");
        QVERIFY(ranking);
        auto* exportButton = ranking->findChild<QPushButton*>(QStringLiteral("Command1"));
        QCOMPARE(exportButton->text(), QStringLiteral("查询结果导出(&O)"));
        exportButton->click();
        auto* grid = ranking->findChild<QTableView*>(QStringLiteral("MSFlexGrid1"));
        QCOMPARE(grid->model()->rowCount(), 49);
        QVERIFY(matchesModel(readBack(f, "Print.xlsx"), grid->model(), grid->model()->columnCount()));
        QVERIFY(!QFile::exists(dataFile(f, "Jieguo.xlsx")));
        QTest::qWait(20);  // the window's deferred scroll to the newest rows
        doubleClick(grid, grid->rowAt(0), 0);
        QVERIFY(matchesModel(readBack(f, "Jieguo.xlsx"), grid->model(), grid->model()->columnCount()));

        // The calculation history: a double-click on its grid, as its tool tip says.
        auto* list = f.find<QTableView>("MSFlexGrid2");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(1, 2)).center());
        f.find<QAction>("mnuGsls")->trigger();
        QWidget* steps = openedWindow(f, "frmGsbz");
        QVERIFY(steps);
        auto* stepsGrid = steps->findChild<QTableView*>(QStringLiteral("MSFlexGrid1"));
        QCOMPARE(stepsGrid->toolTip(), QStringLiteral("双击该表可以导出到Excel"));
        QTest::qWait(20);
        QTest::mouseClick(stepsGrid->viewport(), Qt::LeftButton, {},
                          stepsGrid->visualRect(stepsGrid->model()->index(stepsGrid->rowAt(0), 0)).center());
        QVERIFY(!QFile::exists(dataFile(f, "LSJS.xlsx")));
        doubleClick(stepsGrid, stepsGrid->rowAt(0), 0);
        const WorkbookContents book = readBack(f, "LSJS.xlsx");
        QVERIFY(matchesModel(book, stepsGrid->model(), 4));
        QCOMPARE(book.shown(1, 3), QStringLiteral("公式L2A+3"));
    }
};

QTEST_MAIN(ListExportTest)
#include "list_export_test.moc"
