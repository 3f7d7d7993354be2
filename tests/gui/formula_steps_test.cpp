// The formula's calculation history (menu "查询该公式历史计算式(&U)").

#include "gui_test_support.h"

#include "history/draw_history.h"
#include "store/formula_table.h"

#include <QAction>
#include <QTableView>

using namespace qeltaro;
using qeltaro::test::WindowFixture;

class FormulaStepsTest : public QObject {
    Q_OBJECT
private slots:
    void showsTheTermsOfEveryRowAndRefillsForAnotherFormula()
    {
        WindowFixture f;
        QVERIFY(DrawHistory(f.temp.store()).importText(QStringLiteral("160121001 38146\n160121002 12345\n")));
        {
            FormulaTable table(f.temp.store(), Category{1, false});
            QVERIFY(table.append(Kind::Kill, QStringLiteral("L1A+L2A"), QStringLiteral("万位码+千位码=下期杀一星直选"), 1));
            QVERIFY(table.append(Kind::Kill, QStringLiteral("(L5A MOD 3)+L2A+7"), QStringLiteral("个位码模3+千位码+7"), 2));
        }
        f.open();
        gui::Dialogs::takeLog();
        f.find<QAction>("mnuGsls")->trigger();
        QCOMPARE(gui::Dialogs::takeLog(), QStringList{QStringLiteral("查询该公式历史计算式: 请先在公式列表中用鼠标点选一个公式。")});

        f.chooseFormula(0);
        f.find<QAction>("mnuGsls")->trigger();
        auto* window = f.window->findChild<QWidget*>(QStringLiteral("frmGsbz"));
        QVERIFY(window && window->isVisible());
        QCOMPARE(window->windowTitle(), QStringLiteral("公式计算步骤"));
        auto* model = window->findChild<QTableView*>(QStringLiteral("MSFlexGrid1"))->model();
        QCOMPARE(model->rowCount(), 2);  // one row per draw; the last carries the next period's value
        QStringList headers;
        for (int c = 0; c < 4; ++c)
            headers << model->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(headers, (QStringList{QStringLiteral("期号"), QStringLiteral("当期号码"),
                                       QStringLiteral("万位码+千位码=下期杀一星直选"), QStringLiteral("计算值(算下期)")}));
        auto rowText = [model](int r) {
            QStringList cells;
            for (int c = 0; c < 4; ++c)
                cells << model->index(r, c).data().toString();
            return cells.join(u'|');
        };
        QCOMPARE(rowText(0), QStringLiteral("160121001|38146|3+8|11"));
        QCOMPARE(rowText(1), QStringLiteral("160121002|12345|1+2|3"));

        // Asked for another formula while open: the same window shows the new one.
        f.chooseFormula(1);
        f.find<QAction>("mnuGsls")->trigger();
        QCOMPARE(f.window->findChild<QWidget*>(QStringLiteral("frmGsbz")), window);
        QCOMPARE(model->headerData(2, Qt::Horizontal).toString(), QStringLiteral("个位码模3+千位码+7"));
        QCOMPARE(rowText(0), QStringLiteral("160121001|38146|0+8+7|15"));
    }
};

QTEST_MAIN(FormulaStepsTest)
#include "formula_steps_test.moc"
