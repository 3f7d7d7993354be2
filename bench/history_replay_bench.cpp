// The history replay (公式往期位置值结果列表): 200 selected formulas over the last 1,200 periods
// of the sample history, kill and keep lists. Each formula is evaluated once over the history.

#include "sample_history.h"

#include "aggregate/history_replay.h"
#include "domain/draw_record.h"
#include "domain/parameter_catalogue.h"
#include "io/text_codec.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <random>

using namespace qeltaro;

namespace {

constexpr int kPeriods = 1200;
constexpr int kFormulas = 200;

const HistoryColumns& sampleHistory()
{
    static const HistoryColumns history(bench::sampleRecords(int(bench::sampleDraws().size()) - kPeriods, kPeriods));
    return history;
}

// Random sums of eight parameters, as the formula search produces them.
std::vector<StoredFormula> randomFormulas(Kind kind)
{
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> column(1, kParameterCount);
    std::vector<StoredFormula> formulas;
    for (int i = 1; i <= kFormulas; ++i) {
        QStringList terms;
        for (int t = 0; t < 8; ++t)
            terms << parameterCode(column(random));
        StoredFormula f;
        f.idx = i;
        f.kind = kind;
        f.code = terms.join(u'+');
        formulas.push_back(f);
    }
    return formulas;
}

void replay(benchmark::State& state, Kind kind)
{
    const HistoryColumns& history = sampleHistory();
    const std::vector<StoredFormula> formulas = randomFormulas(kind);
    for (auto _ : state) {
        auto result = replayHistory(history, formulas, std::nullopt);
        if (!result || int(result->periods.size()) != kPeriods) {
            state.SkipWithError("replay failed");
            return;
        }
        benchmark::DoNotOptimize(result->lastTallies);
    }
    state.counters["formula_rows_per_s"] =
        benchmark::Counter(double(kPeriods) * kFormulas, benchmark::Counter::kIsIterationInvariantRate);
}

void ReplayKillFormulas(benchmark::State& state) { replay(state, Kind::Kill); }
void ReplayKeepFormulas(benchmark::State& state) { replay(state, Kind::Keep); }

}  // namespace

BENCHMARK(ReplayKillFormulas)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(ReplayKeepFormulas)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK_MAIN();
