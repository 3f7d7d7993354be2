// The history list's spreadsheet export over the whole sample history (4,080 draws): the period
// and digit columns only, and with the verification columns of 50 and 500 formulas (the export
// the desktop program runs off the window thread). Measures the verification and the writing;
// memory stays flat because rows are streamed to disk.

#include "sample_history.h"

#include "domain/draw_record.h"
#include "domain/parameter_catalogue.h"
#include "export/history_sheet.h"
#include "io/text_codec.h"

#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <random>

using namespace qeltaro;

namespace {

const HistoryColumns& sampleHistory()
{
    static const HistoryColumns history(bench::sampleRecords());
    return history;
}

FormulaList randomFormulas(int count)
{
    std::mt19937 random(777);
    std::uniform_int_distribution<int> column(1, kParameterCount);
    FormulaList list(Category{1, false}, Kind::Kill);
    for (int i = 1; i <= count; ++i) {
        QStringList terms;
        for (int t = 0; t < 6; ++t)
            terms << parameterCode(column(random));
        list.append(i, terms.join(u'+'), QStringLiteral("公式%1").arg(i), Kind::Kill);
    }
    return list;
}

void ExportHistory(benchmark::State& state)
{
    const HistoryColumns& history = sampleHistory();
    const int formulas = int(state.range(0));
    const FormulaList list = randomFormulas(formulas);
    const BacktestEngine engine;
    QTemporaryDir folder;
    for (auto _ : state) {
        auto written = exportHistoryWorkbook(folder.path(), history, formulas > 0 ? &list : nullptr, false, engine);
        if (!written) {
            state.SkipWithError(qPrintable(written.error().message));
            return;
        }
    }
    state.counters["cells_per_s"] = benchmark::Counter(double(history.rowCount() + 1) * (6 + formulas),
                                                       benchmark::Counter::kIsIterationInvariantRate);
}

}  // namespace

BENCHMARK(ExportHistory)->Arg(0)->Arg(50)->Arg(500)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK_MAIN();
