// The back-test two ways over the same formulas and history: the in-memory engine, and one
// formula at a time by SQL statements in SQLite (prepared statements, one transaction per
// formula, an in-memory database). Both must give the same statistics; the program prints each
// time, formula-rows per second and the ratio.
//
//   backtest_bench [--runs N] [--sql-formulas-large N]
//
// Sizes: 1,000 formulas over the first 1,200 sample draws, and 10,000 formulas over 10,000 draws
// made by repeating the sample with shifted digits and fresh periods. At the large size the SQL
// design runs on a share of the formulas only (it would take minutes), and its rate per formula-row
// stands for the whole.

#include "sample_history.h"

#include "../tests/support/sql_statement_backtest.h"

#include "backtest/backtest_engine.h"
#include "backtest/full_backtest.h"
#include "domain/draw_record.h"
#include "domain/parameter_catalogue.h"
#include "domain/period_number.h"
#include "io/text_codec.h"
#include "store/formula_table.h"
#include "store/store.h"

#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <thread>
#include <vector>

using namespace qeltaro;
using Clock = std::chrono::steady_clock;

namespace {

double millisecondsOf(const std::function<void()>& work)
{
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double medianOf(int runs, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i)
        times.push_back(millisecondsOf(work));
    return median(times);
}

std::vector<Digits> sampleDigits()
{
    std::vector<Digits> digits;
    for (const auto& draw : bench::sampleDraws())
        digits.push_back(draw.second);
    return digits;
}

// `count` draws: the sample again and again, each repetition with its digits shifted by one more
// and its positions turned by one, under consecutive periods from the sample's first day on.
std::vector<DrawRecord> history(const std::vector<Digits>& sample, int count)
{
    std::vector<DrawRecord> rows;
    PeriodNumber period = *PeriodNumber::parse(QStringLiteral("141030001"), Game{});
    std::optional<Digits> previous;
    for (int i = 0; i < count; ++i) {
        const int pass = i / int(sample.size());
        const Digits& source = sample[size_t(i) % sample.size()];
        Digits digits{};
        for (int p = 0; p < 5; ++p)
            digits[size_t(p)] = (source[size_t((p + pass) % 5)] + pass) % 10;
        rows.push_back(deriveDrawRecord(period, digits, previous, Game{}));
        previous = digits;
        period = period.next(Game{});
    }
    return rows;
}

// Random sums of eight parameters and a constant, as the search makes them.
QStringList randomSums(int count, std::uint32_t seed)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> column(1, kParameterCount);
    std::uniform_int_distribution<int> constant(0, 9);
    QStringList codes;
    for (int i = 0; i < count; ++i) {
        QString code;
        for (int t = 0; t < 8; ++t)
            code += parameterCode(column(random)) + u'+';
        codes << code + QString::number(constant(random));
    }
    return codes;
}

bool sameStatistics(const FormulaStats& a, const FormulaStats& b)
{
    return a.hitSum == b.hitSum && a.totalSum == b.totalSum && a.rate == b.rate && a.maxMissRun == b.maxMissRun
           && a.maxHitRun == b.maxHitRun && a.lastMissRun == b.lastMissRun && a.lastHitRun == b.lastHitRun
           && a.next == b.next;
}

struct Size {
    int formulas;
    int rows;
    int sqlFormulas;  // how many of them the SQL design runs
};

int runSize(const Size& size, const std::vector<Digits>& sample, int runs)
{
    const Category category{3, true};
    const BacktestSettings settings{0, true, true};  // every period, weighted
    std::printf("== %d formulas x %d rows (三星组选 kill, every period, weighted rate)\n", size.formulas, size.rows);

    const std::vector<DrawRecord> rows = history(sample, size.rows);
    HistoryColumns columns;
    const double loadMs = millisecondsOf([&] { columns = HistoryColumns(rows); });
    const QStringList codes = randomSums(size.formulas, 20240101u + unsigned(size.formulas));
    FormulaList list(category, Kind::Kill);
    const double compileMs = millisecondsOf([&] {
        for (int i = 0; i < codes.size(); ++i)
            list.append(i + 1, codes[i], QString(), Kind::Kill);
    });
    std::printf("  history columns loaded once: %.2f ms; formulas compiled once: %.2f ms\n", loadMs, compileMs);

    const double formulaRows = double(size.formulas) * size.rows;
    FormulaStatsTable engineStats;
    const int cores = int(std::max(1u, std::thread::hardware_concurrency()));
    std::vector<int> threadCounts = {1};
    if (cores > 1)
        threadCounts.push_back(cores);
    double bestEngineMs = 0;
    for (int threads : threadCounts) {
        const BacktestEngine engine(threads);
        const double ms = medianOf(runs, [&] { engineStats = engine.backtest(list, columns, settings); });
        std::printf("  engine, %d thread%s: %9.2f ms (median of %d)  %7.1f M formula-rows/s\n", threads,
                    threads == 1 ? " " : "s", ms, runs, formulaRows / ms / 1000.0);
        if (bestEngineMs == 0 || ms < bestEngineMs)
            bestEngineMs = ms;
    }

    // The full back-test as the program runs it: scoring plus the write-back with renumbering
    // into a store file.
    QTemporaryDir dir;
    auto store = Store::open(dir.path());
    if (!store) {
        std::fprintf(stderr, "%s\n", qPrintable(store.error().message));
        return 3;
    }
    {
        Transaction transaction((*store)->database());
        FormulaTable table(**store, category);
        for (int i = 0; i < codes.size(); ++i)
            (void)table.append(Kind::Kill, codes[i], QString(), 2 * i + 1);  // gaps, so idx really changes
        (void)transaction.commit();
    }
    std::vector<double> fullTimes;
    const BacktestEngine engine;
    for (int i = 0; i < runs; ++i) {
        auto stored = FormulaList::load(**store, category, Kind::Kill);
        fullTimes.push_back(millisecondsOf([&] { (void)runFullBacktest(**store, *stored, columns, settings, engine); }));
    }
    std::printf("  full back-test with write-back of the statistics and renumbering (store file): %.2f ms\n",
                median(fullTimes));

    test::SqlStatementBacktest sql(rows);
    const int sqlFormulas = std::min(size.sqlFormulas, size.formulas);
    int differing = 0;
    const double sqlMs = millisecondsOf([&] {
        for (int k = 0; k < sqlFormulas; ++k) {
            // Sums of integer columns: SQLite's integer % is the program's MOD here.
            const FormulaStats theirs = sql.backtest(codes[k].toStdString(), true, category, settings, "PreCanshu % 10");
            if (!sameStatistics(theirs, engineStats.at(k))) {
                if (++differing <= 5)
                    std::printf("  DIFFERENT: %s\n", qPrintable(codes[k]));
            }
        }
    });
    const double sqlRows = double(sqlFormulas) * size.rows;
    const double sqlRate = sqlRows / sqlMs / 1000.0;
    const double sqlWholeMs = formulaRows / (sqlRate * 1000.0);
    std::printf("  SQL statements per formula: %9.2f ms for %d formulas  %7.3f M formula-rows/s%s\n", sqlMs,
                sqlFormulas, sqlRate,
                sqlFormulas < size.formulas ? QStringLiteral(" (all %1: about %2 s)").arg(size.formulas)
                                                  .arg(sqlWholeMs / 1000.0, 0, 'f', 1).toUtf8().constData()
                                            : "");
    std::printf("  same statistics: %s (%d formulas compared)\n", differing == 0 ? "yes" : "NO", sqlFormulas);
    std::printf("  engine is %.0f times faster than the SQL design\n\n", sqlWholeMs / bestEngineMs);
    return differing == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    int runs = 7;
    int sqlLarge = 100;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--runs") == 0)
            runs = std::max(1, std::atoi(argv[i + 1]));
        else if (std::strcmp(argv[i], "--sql-formulas-large") == 0)
            sqlLarge = std::max(1, std::atoi(argv[i + 1]));
    }
    const std::vector<Digits> sample = sampleDigits();
    int status = runSize({1000, 1200, 1000}, sample, runs);
    status |= runSize({10000, 10000, sqlLarge}, sample, std::max(1, runs / 2));
    return status;
}
