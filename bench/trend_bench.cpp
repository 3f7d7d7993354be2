// The trend chart and the cold and hot digits, on draws of seeded random digits:
//   TrendPageOfOnePosition/N  one position's page (号码, 大小, 单双, 质合, 012路) and the streaks
//                             over 10,000 draws, for each window the window offers (0 = all);
//   LastThreePage/N           the last three's page (和值, 跨度, 形态), the widest;
//   ColdHotDigits             the ten cold and hot columns of 100,000 draws alone;
//   HistoryColumns100k        the whole column load of 100,000 draws, cold and hot included.

#include "domain/cold_hot_digits.h"
#include "domain/draw_record.h"
#include "domain/history_columns.h"
#include "domain/period_number.h"
#include "trend/streaks.h"
#include "trend/trend_page.h"

#include <benchmark/benchmark.h>

#include <random>

using namespace qeltaro;

namespace {

std::vector<DrawRecord> randomRecords(int count)
{
    std::mt19937 random(29);
    std::uniform_int_distribution<int> digit(0, 9);
    std::vector<DrawRecord> rows;
    rows.reserve(size_t(count));
    PeriodNumber period = *PeriodNumber::parse(QStringLiteral("141030001"), Game{});
    std::optional<Digits> previous;
    for (int i = 0; i < count; ++i) {
        const Digits digits{digit(random), digit(random), digit(random), digit(random), digit(random)};
        rows.push_back(deriveDrawRecord(period, digits, previous, Game{}));
        previous = digits;
        period = period.next(Game{});
    }
    return rows;
}

const std::vector<DrawRecord>& records(int count)
{
    static const std::vector<DrawRecord> small = randomRecords(10000);
    static const std::vector<DrawRecord> large = randomRecords(100000);
    return count == 10000 ? small : large;
}

const HistoryColumns& tenThousand()
{
    static const HistoryColumns history(records(10000));
    return history;
}

std::optional<int> window(const benchmark::State& state)
{
    return state.range(0) > 0 ? std::optional<int>(int(state.range(0))) : std::nullopt;
}

void TrendPageOfOnePosition(benchmark::State& state)
{
    const HistoryColumns& history = tenThousand();
    for (auto _ : state) {
        TrendPage page(history, 5, window(state));
        benchmark::DoNotOptimize(page.rowCount());
        benchmark::DoNotOptimize(currentStreaks(history));
    }
}

void LastThreePage(benchmark::State& state)
{
    const HistoryColumns& history = tenThousand();
    for (auto _ : state) {
        TrendPage page(history, 0, window(state));
        benchmark::DoNotOptimize(page.rowCount());
    }
}

void ColdHotDigitsOf100k(benchmark::State& state)
{
    const std::vector<DrawRecord>& rows = records(100000);
    std::vector<std::vector<int>> columns(10, std::vector<int>(rows.size()));
    for (auto _ : state) {
        for (int position = 0; position < 5; ++position) {
            ColdHotDigits digits;
            for (size_t r = 0; r < rows.size(); ++r) {
                digits.advance(rows[r].values[size_t(position)]);
                columns[size_t(position)][r] = digits.cold();
                columns[size_t(position) + 5][r] = digits.hot();
            }
        }
        benchmark::DoNotOptimize(columns.data());
    }
}

void HistoryColumns100k(benchmark::State& state)
{
    const std::vector<DrawRecord>& rows = records(100000);
    for (auto _ : state) {
        HistoryColumns history(rows);
        benchmark::DoNotOptimize(history.rowCount());
    }
}

}  // namespace

BENCHMARK(TrendPageOfOnePosition)->Arg(30)->Arg(50)->Arg(100)->Arg(200)->Arg(500)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(LastThreePage)->Arg(100)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(ColdHotDigitsOf100k)->Unit(benchmark::kMillisecond);
BENCHMARK(HistoryColumns100k)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
