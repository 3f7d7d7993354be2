// The money windows through the main window: 设置 → 奖金设置... and 管理 → 倍投计划..., which takes
// its bets from the last calculation.

#include "gui_test_support.h"

#include "gui/money/chase_plan_window.h"
#include "history/draw_history.h"
#include "money/prize_settings.h"
#include "store/formula_table.h"

#include <QAction>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

using namespace qeltaro;
using qeltaro::test::WindowFixture;

namespace {

template <typename T>
T* in(QWidget* window, const char* name)
{
    return window->findChild<T*>(QLatin1String(name));
}

QWidget* openFromMenu(WindowFixture& f, const char* action, const char* window)
{
    f.find<QAction>(QLatin1String(action))->trigger();
    QApplication::processEvents();
    auto* opened = f.window->findChild<QWidget*>(QLatin1String(window));
    return opened && opened->isVisible() ? opened : nullptr;
}

}  // namespace

class MoneyWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void thePayoutDialogShowsRatesAndRefusesABadValueWhole()
    {
        WindowFixture f;
        f.open();
        const QList<QAction*> items = f.find<QMenu>("mnuSetup")->actions();
        QCOMPARE(items.indexOf(f.find<QAction>("mnuPayout")), items.indexOf(f.find<QAction>("mnuGame")) + 1);
        QWidget* dialog = openFromMenu(f, "mnuPayout", "frmPayout");
        QVERIFY(dialog);
        QCOMPARE(in<QLineEdit>(dialog, "txtStake")->text(), QStringLiteral("2"));
        QCOMPARE(in<QLineEdit>(dialog, "txtPrize_5")->text(), QStringLiteral("100000"));
        QCOMPARE(in<QLabel>(dialog, "lblReturnRate_3")->text(), QStringLiteral("返奖率 50%"));

        // A stake of 0.5 with a prize of 1700 pays back 3.4 of every yuan at chance.
        in<QLineEdit>(dialog, "txtStake")->setText(QStringLiteral("0.5"));
        in<QLineEdit>(dialog, "txtPrize_3")->setText(QStringLiteral("1700"));
        QCOMPARE(in<QLabel>(dialog, "lblReturnRate_3")->text(), QStringLiteral("返奖率 340%"));
        in<QLineEdit>(dialog, "txtPrize_1")->setText(QStringLiteral("zehn"));
        QCOMPARE(in<QLabel>(dialog, "lblReturnRate_1")->text(), QStringLiteral("返奖率 —"));
        gui::Dialogs::takeLog();
        in<QPushButton>(dialog, "cmdSave")->click();
        QVERIFY2(gui::Dialogs::takeLog().join(u'\n').contains(QStringLiteral("一星直选奖金“zehn”无效")), "no message");
        QVERIFY(dialog->isVisible());
        QCOMPARE(*loadPrizeTable(f.window->session().store()), PrizeTable{});

        in<QLineEdit>(dialog, "txtPrize_1")->setText(QStringLiteral("9.5"));
        in<QPushButton>(dialog, "cmdSave")->click();
        QVERIFY(!dialog->isVisible());
        const auto stored = loadPrizeTable(f.window->session().store());
        QCOMPARE(stored->stake, Mills(500));
        QCOMPARE(stored->prize(1), Mills(9'500));
        QCOMPARE(stored->prize(3), Mills(1'700'000));
    }

    void thePlanWindowTakesItsBetsFromTheLastCalculationAndSaysWhenNoPlanExists()
    {
        WindowFixture f;
        QVERIFY(DrawHistory(f.temp.store()).importText(qeltaro::test::sampleHistoryLines(300)));
        QVERIFY(FormulaTable(f.temp.store(), {1, false}).append(Kind::Kill, QStringLiteral("L1A*0+4"), QStringLiteral("四"), 1));
        QVERIFY(FormulaTable(f.temp.store(), {2, false}).append(Kind::Kill, QStringLiteral("L1A*0+7"), QStringLiteral("七"), 1));
        f.open();
        const QList<QAction*> items = f.find<QMenu>("mnuMang")->actions();
        QCOMPARE(items.indexOf(f.find<QAction>("mnuChasePlan")), items.indexOf(f.find<QAction>("mnuJournal")) + 1);
        QWidget* window = openFromMenu(f, "mnuChasePlan", "frmChasePlan");
        QVERIFY(window);
        auto* plan = qobject_cast<gui::ChasePlanWindow*>(window);
        auto* words = in<QLabel>(window, "lblPlanWords");
        const QAbstractItemModel* rows = in<QTableView>(window, "grdPlan")->model();
        QCOMPARE(rows->rowCount(), 10);
        QVERIFY2(words->text().contains(QStringLiteral("返奖率都是奖金表的三星直选返奖率50%")), qPrintable(words->text()));

        in<QPushButton>(window, "cmdFromCalculation")->click();
        QVERIFY(in<QLabel>(window, "lblFromCalculation")->text().contains(QStringLiteral("还没有计算")));

        // 二星直选 killing 4 at 个位 and 7 at 十位 keeps 9 × 9 combinations.
        f.find<QRadioButton>("optXing_2")->click();
        f.find<QRadioButton>("Option6_1")->click();
        f.find<QPushButton>("Command23")->click();
        in<QPushButton>(window, "cmdFromCalculation")->click();
        QCOMPARE(in<QComboBox>(window, "cboStars")->currentIndex(), 1);
        QCOMPARE(in<QSpinBox>(window, "txtBets")->value(), 81);
        // 162 yuan a multiple against a prize of 100: no multiple makes a profit.
        QCOMPARE(rows->rowCount(), 0);
        QVERIFY2(words->text().contains(QStringLiteral("任何倍数都达不到目标")), qPrintable(words->text()));
        QVERIFY(!plan->shownPlan());

        // A prize table that pays 300 for two positions makes the plan: m × 300 ≥ 1.1 × (S + 162 m).
        in<QDoubleSpinBox>(window, "txtProfitRate")->setValue(10);
        QVERIFY(changePrizeTable(f.window->session().store(), {std::nullopt, 2, QStringLiteral("300")}));
        in<QSpinBox>(window, "txtPeriods")->setValue(3);
        QCOMPARE(rows->rowCount(), 3);
        QCOMPARE(rows->index(1, 1).data().toString(), QStringLiteral("2"));  // 1.1 × 162 / 121.8 → 2
        QVERIFY2(words->text().contains(QStringLiteral("连续3期都不中的机会为0.6859%")), qPrintable(words->text()));
    }
};

QTEST_MAIN(MoneyWindowsTest)
#include "money_windows_test.moc"
