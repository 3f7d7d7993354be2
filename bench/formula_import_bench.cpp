// Parsing and importing formula text files: how long a large file takes to reach the store.

#include "language/formula_line.h"
#include "library/formula_entry.h"
#include "store/store.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using namespace qeltaro;

// `lines` formula lines spread over the nine categories, a few of them unrecognised.
QString formulaText(int lines)
{
    static const QStringList categories = {QStringLiteral("一星直选"), QStringLiteral("二星直选"), QStringLiteral("三星直选"),
                                           QStringLiteral("四星直选"), QStringLiteral("五星直选"), QStringLiteral("二星组选"),
                                           QStringLiteral("三星组选"), QStringLiteral("四星组选"), QStringLiteral("五星组选")};
    QString text;
    for (int i = 0; i < lines; ++i) {
        const QString category = categories[(i / 100) % categories.size()];
        if (i % 50 == 49)
            text += QStringLiteral("万位码+某某=下期杀%1\r\n").arg(category);
        else
            text += QStringLiteral("(和数+百位平方*%1) MOD 7+跨度-本期号合=下期杀%2 连准%3期\r\n").arg(i).arg(category).arg(i % 13);
    }
    return text;
}

void parseLines(benchmark::State& state)
{
    const QString text = formulaText(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(prepareFileLines(text, Kind::Kill));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(parseLines)->Arg(10000)->Unit(benchmark::kMillisecond);

void importText(benchmark::State& state)
{
    const QString text = formulaText(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dir;
        auto store = Store::open(dir.path());
        state.ResumeTiming();
        benchmark::DoNotOptimize(importFormulaText(**store, text, {{1, false}, Kind::Kill}));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(importText)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
