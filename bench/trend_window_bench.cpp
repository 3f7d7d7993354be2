// Opening the trend chart (号码走势图), offscreen, on a store of 10,000 draws of seeded random
// digits: from the menu entry until the window is shown and its events are done, then each
// window size of the page it opens on, the widest page (后三) over every draw, and a draw added
// and followed (with the main window's own reload of its history grid). Medians of several runs.
//
//   trend_window_bench [--runs N] [--draws N]

#include "latency_support.h"

#include "gui/app/main_window.h"
#include "gui/common/dialogs.h"
#include "session/analysis_session.h"
#include "settings/settings.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QTabBar>
#include <QTemporaryDir>

#include <random>

using namespace qeltaro;
using namespace qeltaro::bench;

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const int runs = intOption(argc, argv, "--runs", 7);
    const int draws = intOption(argc, argv, "--draws", 10000);
    QApplication application(argc, argv);
    gui::Dialogs::setScripted(true);

    QTemporaryDir dir;
    failIf(!dir.isValid(), QStringLiteral("no temporary folder"));
    {
        auto store = Store::open(dir.path());
        failIf(!store, QStringLiteral("cannot open the store"));
        std::mt19937 random(29);
        std::uniform_int_distribution<int> digit(0, 9);
        std::vector<NewDraw> newDraws;
        PeriodNumber period = *PeriodNumber::parse(QStringLiteral("141030001"), Game{});
        for (int i = 0; i < draws; ++i) {
            newDraws.push_back({period, {digit(random), digit(random), digit(random), digit(random), digit(random)}});
            period = period.next(Game{});
        }
        failIf(!DrawHistory(**store).store(std::move(newDraws)), QStringLiteral("cannot store the draws"));
    }
    auto session = AnalysisSession::open(dir.path(), std::make_unique<Settings>(dir.filePath(QStringLiteral("settings.ini"))));
    failIf(!session, QStringLiteral("cannot open the session"));
    gui::MainWindow window(std::move(*session));
    window.show();
    QCoreApplication::processEvents();
    std::printf("== trend chart window: %d draws, offscreen\n", draws);

    auto settle = [] {
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    };
    StepTimes steps;
    for (int run = 0; run < runs; ++run) {
        QWidget* trend = nullptr;
        steps.time("opened from the menu, shown, events done (newest 100)", [&] {
            window.findChild<QAction*>(QStringLiteral("mnuZoushi"))->trigger();
            trend = window.findChild<QWidget*>(QStringLiteral("frmZoushi"));
            settle();
        });
        auto* periods = trend->findChild<QComboBox*>(QStringLiteral("cboPeriods"));
        for (int i = 0; i < periods->count(); ++i) {
            steps.time("  window size " + periods->itemText(i).toStdString(), [&] {
                periods->setCurrentIndex(i);
                settle();
            });
        }
        steps.time("  后三 page, every draw", [&] {
            trend->findChild<QTabBar*>(QStringLiteral("tabPositions"))->setCurrentIndex(5);
            settle();
        });
        steps.time("  a new draw followed (the main window's reload included)", [&] {
            (void)window.session().addDraw(window.session().proposedPeriod(), QStringLiteral("12345"));
            window.reloadHistoryGrid();
            settle();
        });
        trend->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // the next run opens anew
    }
    steps.print();
    return 0;
}
