// The filter dialog (Command7) and the sort dialog the best-formula calculation shows first.

#include "gui_test_support.h"

#include "backtest/formula_filter.h"
#include "gui/app/tool_window_commands.h"
#include "history/draw_history.h"
#include "store/formula_table.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

#include <algorithm>

using namespace qeltaro;
using qeltaro::test::WindowFixture;

namespace {

const QColor kSelectedBlue(0, 0, 255);

// Eight 一星直选 kill formulas over 400 draws, so the statistics differ from formula to formula.
void fillStore(WindowFixture& f)
{
    QVERIFY(DrawHistory(f.temp.store()).importText(qeltaro::test::sampleHistoryLines(400)));
    FormulaTable table(f.temp.store(), Category{1, false});
    const char* codes[] = {"L1A", "L1A+1", "L2A", "LH", "L1A+10", "L5A*3", "LT+3", "L3A+L4A"};
    int idx = 0;
    for (const char* code : codes)
        QVERIFY(table.append(Kind::Kill, QString::fromLatin1(code), QString::fromLatin1(code), ++idx));
}

QLineEdit* boundBox(QDialog* dialog, int item)
{
    return dialog->findChild<QLineEdit*>(QStringLiteral("Text1_%1").arg(item));
}

QStringList boundTexts(QDialog* dialog)
{
    QStringList texts;
    for (int item = 0; item < kFilterBoundCount; ++item)
        texts << boundBox(dialog, item)->text();
    return texts;
}

QList<bool> selectionColours(QTableView* grid)
{
    QList<bool> blue;
    for (int r = 0; r < grid->model()->rowCount(); ++r)
        blue << (grid->model()->index(r, 0).data(Qt::BackgroundRole).value<QColor>() == kSelectedBlue);
    return blue;
}

}  // namespace

class FilterSortDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void filterOpensWithTheSelectionsExtremesAndConfirmingKeepsThemAll()
    {
        WindowFixture f;
        fillStore(f);
        f.open();
        auto* grid = f.find<QTableView>("MSFlexGrid2");
        // Formula 3 (row 2) is not selected: its statistics take no part in the bounds.
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(2, 1)).center());
        const QList<bool> before = selectionColours(grid);
        QCOMPARE(before.count(true), 7);

        f.find<QPushButton>("Command7")->click();
        auto* dialog = f.window->findChild<QDialog*>(QStringLiteral("frmGSGuolv"));
        QVERIFY(dialog && dialog->isVisible() && dialog->isModal());
        QCOMPARE(dialog->windowTitle(), QStringLiteral("公式过滤设置窗口"));
        // The least and greatest rate and runs over the seven selected formulas.
        const AnalysisSession& session = f.window->session();
        double lowRate = 100, highRate = 0;
        int lowMaxMiss = 32767, highMaxMiss = 0;
        for (int k = 0; k < session.formulaList().size(); ++k) {
            if (k == 2)
                continue;
            const FormulaStats& s = session.statistics().at(k);
            lowRate = std::min(lowRate, double(s.rate));
            highRate = std::max(highRate, double(s.rate));
            lowMaxMiss = std::min(lowMaxMiss, s.maxMissRun);
            highMaxMiss = std::max(highMaxMiss, s.maxMissRun);
        }
        QCOMPARE(boundBox(dialog, 0)->text().toFloat(), float(lowRate));
        QCOMPARE(boundBox(dialog, 1)->text().toFloat(), float(highRate));
        QCOMPARE(boundBox(dialog, 2)->text(), QString::number(lowMaxMiss));
        QCOMPARE(boundBox(dialog, 3)->text(), QString::number(highMaxMiss));

        gui::Dialogs::takeLog();
        dialog->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
        QVERIFY(!dialog->isVisible());
        QCOMPARE(gui::Dialogs::takeLog(), QStringList{QStringLiteral("公式过滤结果: 过滤后公式剩余7条")});
        QCOMPARE(selectionColours(grid), before);

        // Opening again prefills afresh; a narrower rate range drops formulas and repaints them.
        boundBox(dialog, 0)->setText(QStringLiteral("99"));
        f.find<QPushButton>("Command7")->click();
        QCOMPARE(boundBox(dialog, 0)->text().toFloat(), float(lowRate));
        boundBox(dialog, 1)->setText(boundBox(dialog, 0)->text());
        dialog->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
        int atLowest = 0;
        for (int k = 0; k < session.formulaList().size(); ++k)
            atLowest += k != 2 && float(session.statistics().at(k).rate) == float(lowRate);
        QCOMPARE(gui::Dialogs::takeLog(), QStringList{QStringLiteral("公式过滤结果: 过滤后公式剩余%1条").arg(atLowest)});
        QCOMPARE(selectionColours(grid).count(true), atLowest);
        QVERIFY(atLowest < 7);
    }

    void withNothingSelectedTheFilterReportsZero()
    {
        WindowFixture f;
        fillStore(f);
        f.open();
        f.find<QPushButton>("Command5")->click();  // invert: nothing selected
        f.find<QPushButton>("Command7")->click();
        auto* dialog = f.window->findChild<QDialog*>(QStringLiteral("frmGSGuolv"));
        QCOMPARE(boundTexts(dialog).join(u','), QStringLiteral("100,0,32767,0,32767,0,32767,0,32767,0"));
        gui::Dialogs::takeLog();
        dialog->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
        QCOMPARE(gui::Dialogs::takeLog(), QStringList{QStringLiteral("公式过滤结果: 过滤后公式剩余0条")});
        QCOMPARE(selectionColours(f.find<QTableView>("MSFlexGrid2")).count(true), 0);
    }

    void aBoundThatIsNotANumberIsRefusedAndTheDialogStays()
    {
        WindowFixture f;
        fillStore(f);
        f.open();
        f.find<QPushButton>("Command7")->click();
        auto* dialog = f.window->findChild<QDialog*>(QStringLiteral("frmGSGuolv"));
        // Entering a box selects its text, so typing replaces the bound.
        boundBox(dialog, 3)->setFocus();
        QTRY_COMPARE(boundBox(dialog, 3)->selectedText(), boundBox(dialog, 3)->text());
        QTest::keyClicks(boundBox(dialog, 3), QStringLiteral("abc"));
        QCOMPARE(boundBox(dialog, 3)->text(), QStringLiteral("abc"));
        gui::Dialogs::takeLog();
        dialog->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
        QCOMPARE(gui::Dialogs::takeLog(), QStringList{QStringLiteral("过滤条件有误: 最大连错上限“abc”不是数字")});
        QVERIFY(dialog->isVisible());
        QCOMPARE(selectionColours(f.find<QTableView>("MSFlexGrid2")).count(true), 8);
        dialog->reject();
    }

    void sortDialogOpensWithItsDefaultsAndKeepsTheChoiceForTheRun()
    {
        WindowFixture f;
        fillStore(f);
        f.open();
        QVERIFY(f.find<QRadioButton>("Option6_0")->isChecked());  // 最优公式法
        f.find<QPushButton>("Command23")->click();
        auto* dialog = f.window->findChild<QDialog*>(QStringLiteral("frmGsCsArr"));
        QVERIFY(dialog && dialog->isVisible() && dialog->isModal());
        QCOMPARE(dialog->windowTitle(), QStringLiteral("公式排序设置"));
        const QStringList captions = {QStringLiteral("正确率"), QStringLiteral("最大连错"), QStringLiteral("最大连对"),
                                      QStringLiteral("最后连错"), QStringLiteral("最后连对")};
        const QStringList tags = {QStringLiteral("sglGsRate"), QStringLiteral("intGsErrCon"), QStringLiteral("intGsTrueCon"),
                                  QStringLiteral("intGsErrLst"), QStringLiteral("intGsTrueLst")};
        const int initial[3] = {0, 2, 4};
        auto option = [dialog](int key, int item) {
            return dialog->findChild<QRadioButton*>(QStringLiteral("Option%1_%2").arg(key).arg(item));
        };
        auto direction = [dialog](int key) { return dialog->findChild<QComboBox*>(QStringLiteral("cboDirection_%1").arg(key)); };
        for (int key = 1; key <= 3; ++key) {
            for (int item = 0; item < 5; ++item) {
                QCOMPARE(option(key, item)->text(), captions[item]);
                QCOMPARE(option(key, item)->property("Tag").toString(), tags[item]);
                QCOMPARE(option(key, item)->isChecked(), item == initial[key - 1]);
            }
            QCOMPARE(direction(key)->currentIndex(), 0);  // best first: descending
        }
        auto* limit = dialog->findChild<QLineEdit*>(QStringLiteral("Text1"));
        QCOMPARE(limit->text(), QStringLiteral("3"));

        // A limit outside 0..10 is refused; the dialog stays and nothing is calculated.
        limit->setText(QStringLiteral("11"));
        gui::Dialogs::takeLog();
        dialog->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
        QVERIFY(dialog->isVisible());
        QVERIFY(gui::Dialogs::takeLog().join(u'\n').startsWith(QStringLiteral("保留个数限额有误")));

        // Choosing 最大连错 turns its direction to ascending (fewer misses first).
        option(2, 1)->click();
        QCOMPARE(direction(2)->currentIndex(), 1);
        direction(3)->setCurrentIndex(1);
        limit->setText(QStringLiteral("5"));
        dialog->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
        QVERIFY(!dialog->isVisible());
        auto* commands = f.window->findChild<gui::ToolWindowCommands*>();
        const SortSettings& chosen = commands->sortSettings();
        QCOMPARE(chosen.keepLimit, 5);
        QVERIFY(chosen.sortKeys == (std::array<SortKey, 3>{SortKey::Rate, SortKey::MaxMissRun, SortKey::LastHitRun}));
        QVERIFY(chosen.sortDescending == (std::array<bool, 3>{true, false, false}));
        QVERIFY(commands->lastCalculation().has_value());
        QCOMPARE(commands->lastCalculation()->plan.method, CalculationMethod::Best);

        // Next time the keys stay as chosen and the limit starts at 3 again; closing cancels.
        f.find<QPushButton>("Command23")->click();
        QVERIFY(option(2, 1)->isChecked());
        QCOMPARE(direction(3)->currentIndex(), 1);
        QCOMPARE(limit->text(), QStringLiteral("3"));
        f.window->findChild<QWidget*>(QStringLiteral("frmErrarrLei"))->close();
        dialog->reject();
        QVERIFY(!f.window->findChild<QWidget*>(QStringLiteral("frmErrarrLei"))->isVisible());
        QCOMPARE(commands->sortSettings().keepLimit, 5);
    }
};

QTEST_MAIN(FilterSortDialogsTest)
#include "filter_sort_dialogs_test.moc"
