// What a user waits for after typing a draw: the analysis session's refresh with 10,000 kill
// formulas in 一星直选 over the sample history, split by step, each step the session's own.
//
//   session_refresh_bench [--runs N] [--formulas N]
//
// The store holds the sample less its newest N draws; each run adds the next of them and
// refreshes: the formula list reloaded, the history reloaded, the back-test (engine and
// write-back), and the list's rows as the main window builds them (sheet rows, chance columns).

#include "latency_support.h"

#include "backtest/formula_stats_table.h"
#include "export/list_sheets.h"
#include "session/analysis_session.h"
#include "settings/settings.h"

#include <QCoreApplication>
#include <QTemporaryDir>


using namespace qeltaro;
using namespace qeltaro::bench;

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const int runs = intOption(argc, argv, "--runs", 5);
    const int formulas = intOption(argc, argv, "--formulas", 10000);

    QTemporaryDir dir;
    failIf(!dir.isValid(), QStringLiteral("no temporary folder"));
    const auto sample = sampleDraws();
    const int stored = int(sample.size()) - runs;
    const FormulaListKey key{{1, false}, Kind::Kill};
    const double fillMs = millisecondsOf([&] { fillDataFolder(dir.path(), stored, formulas, key, QStringLiteral("一星直选")); });
    std::printf("== refresh after a typed draw: %d formulas (一星直选 kill) x %d draws; store filled in %.0f ms\n",
                formulas, stored + 1, fillMs);

    auto session = AnalysisSession::open(dir.path(), std::make_unique<Settings>(dir.filePath(QStringLiteral("settings.ini"))));
    failIf(!session, QStringLiteral("cannot open the session"));
    AnalysisSession& s = **session;
    s.showList(key);
    failIf(!s.refresh(), QStringLiteral("the first refresh failed"));
    failIf(s.formulaList().size() != formulas, QStringLiteral("the list does not hold every formula"));

    StepTimes steps;
    for (int run = 0; run < runs; ++run) {
        const auto& [period, digits] = sample[size_t(stored + run)];
        QString digitText;
        for (int d : digits)
            digitText += QString::number(d);
        double total = 0;
        total += steps.time("addDraw (the draw stored)", [&] {
            failIf(!s.addDraw(period.text(Game{}), digitText), QStringLiteral("addDraw failed"));
        });
        total += steps.time("formula list reloaded", [&] { failIf(!s.reloadFormulas(), QStringLiteral("reload failed")); });
        total += steps.time("history reloaded", [&] { failIf(!s.reloadHistory(), QStringLiteral("history failed")); });
        // The engine alone on the same inputs, outside the path, to split the back-test.
        const BacktestSettings settings = BacktestSettings::fromMirror(s.mirror());
        const FormulaStatsTable previous = s.statistics();
        const double engineMs =
            millisecondsOf([&] { (void)s.engine().backtest(s.formulaList(), s.history(), settings, &previous); });
        const double backtestMs = millisecondsOf([&] { failIf(!s.backtest(), QStringLiteral("back-test failed")); });
        total += backtestMs;
        steps.add("back-test: the engine (timed apart, same inputs)", engineMs);
        steps.add("back-test: the rest (statistics write-back)", backtestMs - engineMs);
        std::vector<FormulaSheetRow> rows;
        total += steps.time("list rows (formulaSheetRows)", [&] { rows = formulaSheetRows(s.formulaList(), s.statistics()); });
        total += steps.time("chance columns (assessStatistics)", [&] {
            (void)assessStatistics(s.category(), s.kind(), s.statistics());
        });
        steps.add("total", total);
    }
    steps.print();
    return 0;
}
