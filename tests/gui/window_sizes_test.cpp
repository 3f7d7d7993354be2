// Every window and dialog of the program, opened as the user opens it, fits a 1366x768 screen
// less the taskbar (1366x728) with its title bar: what it asks for, the least it can shrink to
// and the size it opens at. Each closes on Esc.

#include "gui_test_support.h"

#include "gui/common/background_task.h"
#include "gui/search/formula_search_window.h"
#include "history/draw_history.h"
#include "store/formula_table.h"

#include <QAction>
#include <QDialog>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>

using namespace qeltaro;
using qeltaro::test::WindowFixture;

namespace {

constexpr int kTitleBar = 30;
constexpr QSize kUsable(1366, 728 - kTitleBar);

QString sizeText(QSize size)
{
    return QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
}

bool fits(QSize size)
{
    return !size.isValid() || (size.width() <= kUsable.width() && size.height() <= kUsable.height());
}

// The sizes of a shown window that do not fit, each named.
QStringList misfits(QWidget* window)
{
    QApplication::processEvents();
    const QString name = window->objectName();
    QStringList out;
    const std::pair<const char*, QSize> sizes[] = {
        {"size hint", window->sizeHint()},
        {"minimum size", window->minimumSizeHint().expandedTo(window->minimumSize())},
        {"opened size", window->size()},
    };
    for (const auto& [what, size] : sizes) {
        if (!fits(size))
            out << QStringLiteral("%1 %2 %3").arg(name, QLatin1String(what), sizeText(size));
    }
    return out;
}

void addFormulas(Store& store, Category category)
{
    FormulaTable table(store, category);
    const char* codes[][2] = {{"L1A+L2A", "万位码+千位码"}, {"LH+QH", "和数+本期号"}, {"L5A*3+7", "个位码*3+7"},
                              {"L1L+L3M+2", "万位邻号和+百位邻号差+2"}, {"LT+LR+SQH", "跨度+数字个数+上期号"}};
    int idx = 0;
    for (const auto& code : codes)
        QVERIFY(table.append(Kind::Kill, QString::fromUtf8(code[0]), QString::fromUtf8(code[1]) + QStringLiteral("=下期杀号"), ++idx));
}

}  // namespace

class WindowSizesTest : public QObject {
    Q_OBJECT
private slots:
    void everyWindowFitsTheScreen()
    {
        WindowFixture f;
        QVERIFY(DrawHistory(f.temp.store()).importText(qeltaro::test::sampleHistoryLines(300)));
        for (Category category : {Category{1, false}, Category{5, false}, Category{5, true}})
            addFormulas(f.temp.store(), category);
        f.open();
        QStringList failures = misfits(f.window.get());
        QStringList seen{f.window->objectName()};
        const auto check = [&](const char* name) -> QWidget* {
            auto* window = f.window->findChild<QWidget*>(QLatin1String(name));
            if (!window || !window->isVisible()) {
                failures << QStringLiteral("%1 did not open").arg(QLatin1String(name));
                return nullptr;
            }
            failures << misfits(window);
            seen << QLatin1String(name);
            return window;
        };
        const auto click = [&](QWidget* in, const char* name) {
            in->findChild<QAbstractButton*>(QLatin1String(name))->click();
            QApplication::processEvents();
        };
        const auto escape = [&](QWidget* window) {
            const QString name = window->objectName();
            const QPointer<QWidget> guard(window);  // windows that close delete themselves
            window->activateWindow();
            QTest::keyClick(window, Qt::Key_Escape);
            QApplication::processEvents();
            if (guard && guard->isVisible()) {
                failures << QStringLiteral("%1 stayed open on Esc").arg(name);
                window->close();
            }
        };

        click(f.window.get(), "Command4");
        if (QWidget* reference = check("frmShuoming"))
            escape(reference);
        click(f.window.get(), "Command7");
        if (QWidget* filter = check("frmGSGuolv"))
            escape(filter);

        // Five positions: the most tabs and columns the calculation windows show.
        click(f.window.get(), "optXing_5");
        click(f.window.get(), "Option6_0");
        click(f.window.get(), "Command23");
        if (QWidget* sort = check("frmGsCsArr"))
            click(sort, "Command1");
        // The detail list needs the selected-formulas method.
        click(f.window.get(), "Option6_1");
        click(f.window.get(), "Command23");
        if (QWidget* direct = check("frmErrarrLei")) {
            click(direct, "Command2");
            auto* detail = direct->findChild<QDialog*>(QStringLiteral("frmXxlb"));
            if (detail && detail->isVisible()) {
                failures << misfits(detail);
                seen << detail->objectName();
                escape(detail);
            } else {
                failures << QStringLiteral("frmXxlb did not open");
            }
            escape(direct);
        }
        click(f.window.get(), "opTDG_1");
        click(f.window.get(), "Command23");
        if (QWidget* group = check("frmErrarr"))
            escape(group);

        gui::Dialogs::queueAnswer(QStringLiteral("ok"));
        click(f.window.get(), "Command12");
        f.window->task().wait();
        if (QWidget* ranking = check("frmLslb"))
            escape(ranking);

        click(f.window.get(), "opTDG_0");
        f.chooseFormula(0);
        f.find<QAction>(QStringLiteral("mnuGsls"))->trigger();
        if (QWidget* steps = check("frmGsbz"))
            escape(steps);
        f.find<QAction>(QStringLiteral("mnuHitRate"))->trigger();
        if (QWidget* hitRate = check("frmHitRate"))
            escape(hitRate);

        f.find<QAction>(QStringLiteral("mnuZoushi"))->trigger();
        if (QWidget* trend = check("frmZoushi"))
            escape(trend);

        click(f.window.get(), "Command22");
        if (QWidget* search = check("frmGSGL"))
            escape(search);
        f.find<QAction>(QStringLiteral("mnuGame"))->trigger();
        if (QWidget* game = check("frmGame"))
            escape(game);
        f.find<QAction>(QStringLiteral("mnuPayout"))->trigger();
        if (QWidget* payout = check("frmPayout"))
            escape(payout);
        f.find<QAction>(QStringLiteral("mnuChasePlan"))->trigger();
        if (QWidget* plan = check("frmChasePlan"))
            escape(plan);

        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QStringLiteral("; "))));
        seen.sort();
        QCOMPARE(seen, (QStringList{"frmChasePlan", "frmErrarr", "frmErrarrLei", "frmGSGL", "frmGSGuolv", "frmGame",
                                    "frmGsCsArr", "frmGsbz", "frmHitRate", "frmLslb", "frmMain", "frmPayout",
                                    "frmShuoming", "frmXxlb", "frmZoushi"}));
    }
};

QTEST_MAIN(WindowSizesTest)
#include "window_sizes_test.moc"
