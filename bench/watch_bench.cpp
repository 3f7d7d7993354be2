// The watch's latency with 10,000 kill formulas of 一星直选 stored and the sample history: a cycle
// that finds one new draw on a results page served on 127.0.0.1 (read, stored, the next period
// calculated and recorded, the event's JSON written), and the window's refresh after it (history
// grid and back-test, as after a typed draw), offscreen.
//
//   watch_bench [--runs N] [--formulas N]

#include "latency_support.h"

#include "gui/app/main_window.h"
#include "gui/common/dialogs.h"
#include "manual_clock.h"
#include "results_site.h"
#include "session/analysis_session.h"
#include "watch/draw_watcher.h"

#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

using namespace qeltaro;
using namespace qeltaro::bench;

namespace {

// What the command line writes for a calculation event, near enough in cost: every slot's counts.
QByteArray calculationLine(const CalculationRun& run)
{
    QJsonObject perSlot;
    for (const SlotCalculation& slot : run.calculation.slotResults) {
        QJsonArray digits;
        for (const ErrCount& count : slot.counts)
            digits.append(QJsonObject{{"total", count.total}, {"kill", count.kill}, {"keep", count.keep}});
        perSlot.insert(QString::number(slot.slot), digits);
    }
    return QJsonDocument(QJsonObject{{"event", "calculation"}, {"calc", QJsonObject{{"period", run.calculation.period}, {"slots", perSlot}}}})
        .toJson(QJsonDocument::Compact);
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const int runs = intOption(argc, argv, "--runs", 9);
    const int formulas = intOption(argc, argv, "--formulas", 10000);
    QApplication application(argc, argv);
    gui::Dialogs::setScripted(true);

    QTemporaryDir dir;
    failIf(!dir.isValid(), QStringLiteral("no temporary folder"));
    const FormulaListKey key{{1, false}, Kind::Kill};
    const int draws = int(sampleDraws().size()) - runs;
    fillDataFolder(dir.path(), draws, formulas, key, QStringLiteral("一星直选"));
    std::printf("== watch: %d formulas (一星直选 kill) x %d draws, a page on 127.0.0.1, offscreen\n", formulas, draws);

    auto session = AnalysisSession::open(dir.path(), std::make_unique<Settings>(dir.filePath(QStringLiteral("settings.ini"))));
    failIf(!session, QStringLiteral("cannot open the session"));
    gui::MainWindow window(std::move(*session));
    window.show();
    QCoreApplication::processEvents();

    // The sample's last day, its draws shown one more at a time.
    const QDate day(2015, 2, 10);
    test::ResultsSite site;
    test::ManualClock clock(QDateTime(day, QTime(23, 59)));
    WatchOptions options;
    options.addresses = {site.baseUrl()};
    CalculationRequest request;
    request.category = key.category;
    request.kind = Kind::Kill;
    request.method = CalculationMethod::Best;
    options.calculation = request;
    auto watcher = DrawWatcher::open(window.session().store(), options, clock);
    failIf(!watcher, watcher ? QString() : watcher.error().message);
    const auto& dayDraws = test::sampleDays().at(day);
    const int shownAtFirst = int(dayDraws.size()) - runs;

    StepTimes steps;
    for (int run = 0; run < runs; ++run) {
        site.setAnswer(day, {200, test::dayPageHtml(day, std::vector<test::SampleDraw>(dayDraws.begin(),
                                                                                        dayDraws.begin() + shownAtFirst + run + 1))});
        std::vector<WatchEvent> events;
        QByteArray line;
        const double cycle = steps.time("cycle: page read, draw stored, calculated, recorded", [&] {
            events = (*watcher)->runCycle();
            for (const WatchEvent& event : events) {
                if (event.kind == WatchEvent::Kind::Calculation)
                    line = calculationLine(*event.run);
            }
        });
        failIf(events.size() != 2 || line.isEmpty(), QStringLiteral("the cycle found no draw"));
        double refresh = steps.time("  refresh: history grid reloaded", [&] { window.reloadHistoryGrid(); });
        refresh += steps.time("  refresh: back-test and formula list", [&] { window.backtest(); });
        refresh += steps.time("  refresh: painted", [&] { QCoreApplication::processEvents(); });
        steps.add("window refresh after it (history grid, back-test)", refresh);
        steps.add("cycle and refresh", cycle + refresh);
    }
    steps.print();
    return 0;
}
