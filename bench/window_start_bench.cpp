// The desktop program's start, offscreen, on a store with 10,000 kill formulas in 一星直选 and
// the sample history: the session opened, the main window built (its first refresh inside) and
// shown until its events are done, split by step. The session's refresh steps are also timed
// apart, on a session of their own, to show where the first refresh spends its time.
//
//   window_start_bench [--runs N] [--formulas N]

#include "latency_support.h"

#include "backtest/formula_stats_table.h"
#include "export/list_sheets.h"
#include "gui/app/main_window.h"
#include "gui/common/dialogs.h"
#include "session/analysis_session.h"
#include "settings/settings.h"

#include <QApplication>
#include <QTemporaryDir>


using namespace qeltaro;
using namespace qeltaro::bench;

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const int runs = intOption(argc, argv, "--runs", 5);
    const int formulas = intOption(argc, argv, "--formulas", 10000);
    StepTimes steps;
    std::unique_ptr<QApplication> application;
    steps.time("application started (offscreen)", [&] { application = std::make_unique<QApplication>(argc, argv); });
    gui::Dialogs::setScripted(true);

    QTemporaryDir dir;
    failIf(!dir.isValid(), QStringLiteral("no temporary folder"));
    const FormulaListKey key{{1, false}, Kind::Kill};
    const int draws = int(sampleDraws().size());
    fillDataFolder(dir.path(), draws, formulas, key, QStringLiteral("一星直选"));
    std::printf("== desktop start: %d formulas (一星直选 kill) x %d draws, offscreen\n", formulas, draws);
    const QString settingsFile = dir.filePath(QStringLiteral("settings.ini"));

    for (int run = 0; run < runs; ++run) {
        {
            // The first refresh's steps, on a session of their own.
            auto session = AnalysisSession::open(dir.path(), std::make_unique<Settings>(settingsFile));
            failIf(!session, QStringLiteral("cannot open the session"));
            AnalysisSession& s = **session;
            steps.time("  refresh apart: formula list loaded", [&] { (void)s.reloadFormulas(); });
            steps.time("  refresh apart: history loaded", [&] { (void)s.reloadHistory(); });
            steps.time("  refresh apart: back-test and write-back", [&] { (void)s.backtest(); });
            steps.time("  refresh apart: list rows and chance columns", [&] {
                (void)formulaSheetRows(s.formulaList(), s.statistics());
                (void)assessStatistics(s.category(), s.kind(), s.statistics());
            });
        }
        double total = 0;
        std::unique_ptr<AnalysisSession> opened;
        total += steps.time("session opened", [&] {
            opened = std::move(*AnalysisSession::open(dir.path(), std::make_unique<Settings>(settingsFile)));
        });
        std::unique_ptr<gui::MainWindow> window;
        total += steps.time("main window built (first refresh inside)",
                            [&] { window = std::make_unique<gui::MainWindow>(std::move(opened)); });
        total += steps.time("shown, events done (first paint)", [&] {
            window->show();
            QCoreApplication::processEvents();
            QCoreApplication::processEvents();
        });
        steps.add("total until the window shows fresh statistics", total);
        steps.time("window closed", [&] { window.reset(); });
    }
    steps.print();
    return 0;
}
