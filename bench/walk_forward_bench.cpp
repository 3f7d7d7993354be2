// The walk-forward test of the best-formula method at the size a user runs it: 1,000 formulas of
// one table, the newest 1,000 sample periods, a window of 300, on one core. Each step re-ranks
// the formulas from statistics moved along by one row; the program prints the time of the whole
// walk beside the time a fresh back-test of every cut would take (measured on a share of the
// periods), and their ratio.
//
//   walk_forward_bench [--formulas N] [--periods P] [--window W]

#include "sample_history.h"

#include "backtest/backtest_engine.h"
#include "backtest/formula_list.h"
#include "domain/parameter_catalogue.h"
#include "predictions/walk_forward.h"
#include "store/formula_table.h"
#include "store/store.h"

#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

using namespace qeltaro;
using Clock = std::chrono::steady_clock;

namespace {

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

QString randomCode(std::mt19937& random)
{
    std::uniform_int_distribution<int> column(1, kParameterCount);
    QStringList terms;
    const int count = 2 + int(random() % 5);
    for (int i = 0; i < count; ++i)
        terms << parameterCode(column(random));
    return terms.join(u'+') + QStringLiteral("+%1").arg(random() % 10);
}

}  // namespace

int main(int argc, char** argv)
{
    int formulas = 1000, periods = 1000, window = 300;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        const int value = std::atoi(argv[i + 1]);
        if (name == "--formulas")
            formulas = value;
        else if (name == "--periods")
            periods = value;
        else if (name == "--window")
            window = value;
    }
    const std::vector<DrawRecord> rows = bench::sampleRecords(0, window + periods + 1);
    const HistoryColumns history(rows);
    QTemporaryDir dir;
    auto store = Store::open(dir.path());
    if (!store) {
        std::fprintf(stderr, "%s\n", qPrintable(store.error().message));
        return 3;
    }
    WalkForwardRequest request;
    request.category = {3, true};  // group play: one slot, so one table of `formulas`
    request.kind = Kind::Kill;
    request.periods = periods;
    request.method = CalculationMethod::Best;
    request.window = {window, true, true};
    request.threads = 1;
    FormulaTable table(**store, request.category);
    std::mt19937 random(17);
    for (int i = 1; i <= formulas; ++i)
        (void)table.append(Kind::Kill, randomCode(random), QString(), i);

    const auto start = Clock::now();
    auto walked = walkForward(**store, history, request);
    const double walk = secondsSince(start);
    if (!walked) {
        std::fprintf(stderr, "%s\n", qPrintable(walked.error().message));
        return 3;
    }

    // A fresh back-test of each cut, on a share of the periods.
    auto list = FormulaList::load(**store, request.category, Kind::Kill);
    const int sampled = std::max(1, periods / 20);
    const auto freshStart = Clock::now();
    for (int k = 0; k < sampled; ++k) {
        const int t = history.rowCount() - periods + k * (periods / sampled);
        (void)BacktestEngine(1).backtest(*list, history.firstRows(t), request.window);
    }
    const double fresh = secondsSince(freshStart) / sampled * periods;

    std::printf("walk-forward, best method: %d formulas x %d periods, window %d, one core\n", formulas, periods, window);
    std::printf("  incremental walk:            %8.3f s  (%d evidence slots, %d successes, p=%.3g)\n", walk,
                walked->summary.tested, walked->summary.successes, walked->summary.pValue);
    std::printf("  fresh back-test of each cut: %8.3f s  (estimated from %d periods)\n", fresh, sampled);
    std::printf("  ratio: %.1fx\n", fresh / walk);
    return 0;
}
