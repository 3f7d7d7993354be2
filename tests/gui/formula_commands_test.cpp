#include "gui_test_support.h"

#include "history/draw_history.h"
#include "store/formula_table.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

using namespace qeltaro;
using qeltaro::test::WindowFixture;

namespace {

QVector<bool> blueColumn(QAbstractItemModel* model)
{
    QVector<bool> flags;
    for (int r = 0; r < model->rowCount(); ++r)
        flags << (model->index(r, 0).data(Qt::BackgroundRole).value<QColor>() == QColor(0, 0, 255));
    return flags;
}

// Five formulas of 一星直选 kill, selected / unselected / selected / unselected / selected.
void openWithFiveFormulas(WindowFixture& f)
{
    FormulaTable table(f.temp.store(), Category{1, false});
    for (int i = 1; i <= 5; ++i)
        QVERIFY(table.append(Kind::Kill, QStringLiteral("L1A+%1").arg(i), QStringLiteral("万位码+%1").arg(i), i));
    f.open();
    auto* grid = f.find<QTableView>("MSFlexGrid2");
    for (int r : {1, 3})
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(r, 1)).center());
    QCOMPARE(blueColumn(grid->model()), (QVector<bool>{true, false, true, false, true}));
}

void rightClickRow(WindowFixture& f, int row)
{
    auto* grid = f.find<QTableView>("MSFlexGrid2");
    emit grid->customContextMenuRequested(grid->visualRect(grid->model()->index(row, 1)).center());
    f.find<QMenu>("mnuMang")->hide();
}

QStringList storedCodes(Store& store, const Category& category)
{
    QStringList codes;
    auto formulas = FormulaTable(store, category).all();
    if (!formulas) {
        qWarning("cannot read the formulas");
        return codes;
    }
    for (const StoredFormula& formula : *formulas)
        codes << formula.code;
    return codes;
}

}  // namespace

class FormulaCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void aTypedFormulaGoesToItsCategoryAndTheWindowFollows()
    {
        WindowFixture f;
        f.open();
        f.find<QLineEdit>("Text2")->setText(QStringLiteral("万位码+3=下期留 二星组选"));
        f.find<QPushButton>("Command1")->click();
        QCOMPARE(f.window->session().category().tableName(), QStringLiteral("Gongshi2G"));
        QVERIFY(f.window->session().kind() == Kind::Keep);
        QVERIFY(f.find<QRadioButton>("optXing_2")->isChecked());
        QVERIFY(f.find<QRadioButton>("opTDG_1")->isChecked());
        QVERIFY(f.find<QRadioButton>("Option2_1")->isChecked());
        auto* model = f.find<QTableView>("MSFlexGrid2")->model();
        QCOMPARE(model->rowCount(), 1);
        QCOMPARE(model->index(0, 3).data().toString(), QStringLiteral("生"));
        QVERIFY(f.find<QLineEdit>("Text2")->text().isEmpty());

        gui::Dialogs::takeLog();
        f.find<QPushButton>("Command1")->click();
        QVERIFY(gui::Dialogs::takeLog().join(u'\n').contains(QStringLiteral("请在左边文本框输入需要添加的公式")));
        f.find<QLineEdit>("Text2")->setText(QStringLiteral("L1A); DROP TABLE Lishi; --=下期杀一星直选"));
        f.find<QPushButton>("Command1")->click();
        QVERIFY(gui::Dialogs::takeLog().join(u'\n').contains(QStringLiteral("无法识别公式")));
        QCOMPARE(f.find<QTableView>("MSFlexGrid2")->model()->rowCount(), 1);
    }

    void importingAFileWithAnUnrecognisedLineOffersToShowIt()
    {
        WindowFixture f;
        f.open();
        const QString file = f.temp.path(QStringLiteral("formulas.txt"));
        qeltaro::test::writeFile(file, QStringLiteral("万位码+千位码=下期杀一星直选\r\n万位码+某某=下期杀一星直选\r\n"
                                                      "个位码*2=下期杀一星直选 连准8期\r\n").toUtf8());
        gui::Dialogs::takeLog();
        gui::Dialogs::queueAnswer(file);
        gui::Dialogs::queueAnswer(QStringLiteral("ok"));
        f.find<QPushButton>("Command10")->click();
        const QString told = gui::Dialogs::takeLog().join(u'\n');
        QVERIFY(told.contains(QStringLiteral("是否查看这些公式")));
        QVERIFY2(told.contains(QStringLiteral("读入2条公式")), qPrintable(told));
        auto* model = f.find<QTableView>("MSFlexGrid2")->model();
        QCOMPARE(model->rowCount(), 2);
        QCOMPARE(model->index(1, 1).data().toString(), QStringLiteral("个位码*2=下期杀一星直选"));
        const QString unrecognised = QString::fromUtf8(qeltaro::test::readFile(f.temp.dataDir() + QStringLiteral("/无法识别公式.txt")));
        QVERIFY(unrecognised.contains(QStringLiteral("L1A+某某")));
    }

    void deletingOneFormulaMovesOrKeepsTheFlags()
    {
        {
            WindowFixture f;
            openWithFiveFormulas(f);
            rightClickRow(f, 2);
            f.find<QAction>("mnuDelGS")->trigger();
            auto* model = f.find<QTableView>("MSFlexGrid2")->model();
            QCOMPARE(model->rowCount(), 4);
            QCOMPARE(blueColumn(model), (QVector<bool>{true, false, false, true}));
            QCOMPARE(model->index(2, 1).data().toString(), QStringLiteral("万位码+4"));
        }
        {
            WindowFixture f;
            openWithFiveFormulas(f);
            rightClickRow(f, 2);
            f.find<QAction>("mnuDelLst")->trigger();
            auto* model = f.find<QTableView>("MSFlexGrid2")->model();
            QCOMPARE(model->rowCount(), 4);
            QCOMPARE(blueColumn(model), (QVector<bool>{true, false, true, false}));
        }
    }

    void deletingOneFormulaDeletesTheClickedFormulaOrNothing()
    {
        WindowFixture f;
        QVERIFY(DrawHistory(f.temp.store()).importText(qeltaro::test::sampleHistoryLines(400)));
        const QStringList codes = {QStringLiteral("L1A"), QStringLiteral("L1A+1"), QStringLiteral("L2A"), QStringLiteral("LH"),
                                   QStringLiteral("L1A+10"), QStringLiteral("L5A*3")};
        {
            FormulaTable table(f.temp.store(), Category{1, false});
            for (int i = 0; i < codes.size(); ++i)
                QVERIFY(table.append(Kind::Kill, codes[i], codes[i], i + 1));
            FormulaTable twoStars(f.temp.store(), Category{2, false});
            QVERIFY(twoStars.append(Kind::Kill, QStringLiteral("L2A+3"), QStringLiteral("千位码+3"), 1));
            QVERIFY(twoStars.append(Kind::Kill, QStringLiteral("L2A+4"), QStringLiteral("千位码+4"), 2));
        }
        f.open();
        auto* grid = f.find<QTableView>("MSFlexGrid2");
        auto* model = grid->model();
        // The first formula chosen, then the list re-listed by the rate: it moves.
        const QString clicked = model->index(0, 1).data().toString();
        f.chooseFormula(0);
        const QPoint rateCell = grid->visualRect(model->index(0, 5)).center();
        QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, rateCell);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, rateCell);
        QVERIFY(model->index(0, 1).data().toString() != clicked);
        f.find<QAction>("mnuDelGS")->trigger();
        QStringList left = codes;
        left.removeOne(clicked);
        QCOMPARE(storedCodes(f.window->session().store(), Category{1, false}), left);

        // Chosen, then another category shown: the delete says so and changes nothing.
        f.chooseFormula(1);
        f.find<QRadioButton>("optXing_2")->click();
        gui::Dialogs::takeLog();
        f.find<QAction>("mnuDelGS")->trigger();
        f.find<QAction>("mnuDelLst")->trigger();
        const QStringList log = gui::Dialogs::takeLog();
        QCOMPARE(log.size(), 2);
        QVERIFY2(log[0].contains(QStringLiteral("请先在公式列表中用鼠标点选一个公式")), qPrintable(log[0]));
        QCOMPARE(storedCodes(f.window->session().store(), Category{2, false}), (QStringList{QStringLiteral("L2A+3"), QStringLiteral("L2A+4")}));
        QCOMPARE(storedCodes(f.window->session().store(), Category{1, false}), left);
    }

    void deleteSelectedAndClearAllAskFirst()
    {
        WindowFixture f;
        openWithFiveFormulas(f);
        f.find<QAction>("mnuDelXzGS")->trigger();  // cancelled: no answer queued
        QCOMPARE(f.find<QTableView>("MSFlexGrid2")->model()->rowCount(), 5);
        gui::Dialogs::queueAnswer(QStringLiteral("ok"));
        f.find<QAction>("mnuDelXzGS")->trigger();
        auto* model = f.find<QTableView>("MSFlexGrid2")->model();
        QCOMPARE(model->rowCount(), 2);
        QCOMPARE(blueColumn(model), (QVector<bool>{true, true}));

        f.find<QPushButton>("Command2")->click();  // cancelled
        QCOMPARE(model->rowCount(), 2);
        gui::Dialogs::queueAnswer(QStringLiteral("ok"));
        f.find<QPushButton>("Command2")->click();
        QCOMPARE(model->rowCount(), 0);
        QCOMPARE(f.window->session().category().tableName(), QStringLiteral("Gongshi1D"));
    }

    void theSelectedCategoryExportWritesItsFile()
    {
        WindowFixture f;
        QVERIFY(DrawHistory(f.temp.store()).importText(qeltaro::test::sampleHistoryLines(130)));
        openWithFiveFormulas(f);
        f.find<QPushButton>("Command20")->click();
        const QStringList files = QDir(f.temp.dataDir()).entryList({QStringLiteral("*.txt")});
        QCOMPARE(files, QStringList{QStringLiteral("141031011期时时彩一星直选杀公式.txt")});
        const QString text = QString::fromUtf8(qeltaro::test::readFile(f.temp.dataDir() + u'/' + files[0]));
        QVERIFY(text.contains(QStringLiteral("万位码+5")));
        QVERIFY(text.contains(QStringLiteral("连准：")));

        // A period typed into the box names the exports of the window and of the search window.
        auto* period = f.find<QLineEdit>("Text1");
        period->selectAll();
        QTest::keyClicks(period, QStringLiteral("150101099"));
        f.find<QPushButton>("Command20")->click();
        f.find<QPushButton>("Command11")->click();
        const QString all = f.temp.dataDir() + QStringLiteral("/150101099期时时彩公式.txt");
        QVERIFY(QFile::exists(f.temp.dataDir() + QStringLiteral("/150101099期时时彩一星直选杀公式.txt")));
        QVERIFY(QFile::remove(all));
        f.find<QPushButton>("Command22")->click();
        auto* search = f.window->findChild<QWidget*>(QStringLiteral("frmGSGL"));
        QVERIFY(search);
        search->findChild<QPushButton*>(QStringLiteral("Command20"))->click();
        QVERIFY(QFile::exists(all));
        search->close();
    }
};

QTEST_MAIN(FormulaCommandsTest)
#include "formula_commands_test.moc"
