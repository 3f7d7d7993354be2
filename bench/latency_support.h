#pragma once
// What the latency benchmarks share: a data folder holding sample draws and a formula library,
// filled through the same import paths a user takes, and timing of named steps.

#include "sample_history.h"

#include "history/draw_history.h"
#include "library/formula_entry.h"
#include "store/store.h"

#include <QString>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace qeltaro::bench {

using Clock = std::chrono::steady_clock;

inline double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

inline double millisecondsOf(const std::function<void()>& work)
{
    const auto start = Clock::now();
    work();
    return millisecondsSince(start);
}

inline double median(std::vector<double> times)
{
    if (times.empty())
        return 0;
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Times of named steps over several runs, printed as medians in the order first seen.
class StepTimes {
public:
    void add(const std::string& step, double ms)
    {
        auto found = std::find_if(steps_.begin(), steps_.end(), [&](const auto& s) { return s.first == step; });
        if (found == steps_.end())
            steps_.emplace_back(step, std::vector<double>{ms});
        else
            found->second.push_back(ms);
    }
    double time(const std::string& step, const std::function<void()>& work)
    {
        const double ms = millisecondsOf(work);
        add(step, ms);
        return ms;
    }
    void print() const
    {
        for (const auto& [step, times] : steps_)
            std::printf("  %-58s %9.2f ms (median of %zu)\n", step.c_str(), median(times), times.size());
    }

private:
    std::vector<std::pair<std::string, std::vector<double>>> steps_;
};

// The number after `name` on the command line (at least `least`), or `fallback`.
inline int intOption(int argc, char** argv, const char* name, int fallback, int least = 1)
{
    for (int i = 1; i + 1 < argc; ++i) {
        if (!std::strcmp(argv[i], name))
            return std::max(least, std::atoi(argv[i + 1]));
    }
    return fallback;
}

inline void failIf(bool failed, const QString& what)
{
    if (failed) {
        std::fprintf(stderr, "%s\n", qPrintable(what));
        std::exit(3);
    }
}

// `count` different kill formula lines of the category named in Chinese (e.g. "三星直选").
inline QString killFormulaLines(int count, const QString& categoryName)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += QStringLiteral("(和数+百位平方*%1) MOD %2+跨度-本期号合=下期杀%3\n").arg(i / 7 + 1).arg(i % 7 + 3).arg(categoryName);
    return text;
}

// Stores the first `draws` sample draws and `formulas` kill formulas of the category in the data
// folder `dir`.
inline void fillDataFolder(const QString& dir, int draws, int formulas, const FormulaListKey& key,
                           const QString& categoryName)
{
    auto store = Store::open(dir);
    failIf(!store, QStringLiteral("cannot open the store in ") + dir);
    std::vector<NewDraw> newDraws;
    const auto sample = sampleDraws();
    for (int i = 0; i < draws && i < int(sample.size()); ++i)
        newDraws.push_back({sample[size_t(i)].first, sample[size_t(i)].second});
    auto stored = DrawHistory(**store).store(std::move(newDraws));
    failIf(!stored, QStringLiteral("cannot store the draws"));
    auto imported = importFormulaText(**store, killFormulaLines(formulas, categoryName), key);
    failIf(!imported, QStringLiteral("cannot import the formulas"));
}

}  // namespace qeltaro::bench
