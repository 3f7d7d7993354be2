#include "search/smart_setting.h"

#include "domain/random_stream.h"
#include "search/search_category.h"

#include <cmath>

namespace qeltaro {
namespace {

// Half way toward the sample, in single precision as the running values are held.
void moveToward(float& running, float sample)
{
    running = (sample + running) / 2.0f;
}

int roundHalfUp(float value)
{
    return int(std::floor(value + 0.5f));
}

}  // namespace

void RunningBest::add(const CandidateStatistics& s)
{
    const float maxMiss = float(s.maxMissRun);
    const float maxHit = float(s.maxHitRun);
    const float lastMiss = float(s.lastMissRun);
    const float lastHit = float(s.lastHitRun);
    if (samples_++ == 0) {
        rate_ = s.rate;
        maxMiss_ = maxMiss;
        maxHit_ = maxHit;
        lastMiss_ = lastMiss;
        lastHit_ = lastHit;
        return;
    }
    if (s.rate > rate_)
        moveToward(rate_, s.rate);
    if (maxMiss < maxMiss_)
        moveToward(maxMiss_, maxMiss);
    if (maxHit > maxHit_)
        moveToward(maxHit_, maxHit);
    if (lastMiss < lastMiss_)
        moveToward(lastMiss_, lastMiss);
    if (lastHit > lastHit_)
        moveToward(lastHit_, lastHit);
}

SearchThresholds RunningBest::applyTo(const SearchThresholds& base) const
{
    SearchThresholds t = base;
    t[0] = double(rate_);
    t[3] = roundHalfUp(maxMiss_);
    t[4] = roundHalfUp(maxHit_);
    t[7] = roundHalfUp(lastMiss_);
    t[8] = std::floor(lastHit_) > 0 ? roundHalfUp(lastHit_) : 1;
    return t;
}

const std::array<int, 9>& smartSettingAllOrder()
{
    static const std::array<int, 9> order = {10, 9, 8, 7, 5, 4, 3, 2, 1};
    return order;
}

SmartSettingOutcome runSmartSetting(const HistoryColumns& history, const SmartSettingRequest& request,
                                    RunControl& control, const std::function<void(const SmartSettingProgress&)>& report,
                                    std::chrono::milliseconds interval)
{
    SmartSettingOutcome outcome;
    auto nextReport = std::chrono::steady_clock::now();
    for (const SmartSettingCategory& c : request.categories) {
        const auto category = categoryOfSearchNumber(c.searchNumber);
        if (!category)
            continue;
        const CandidateShape shape{*category, request.kind, c.operandCount, request.constant, FormulaForm::Prefix};
        const CandidateEvaluator evaluator(history, *category, request.window);
        const CandidateGenerator generator(shape, deriveSeed(request.seed, std::uint64_t(c.searchNumber)));
        EvaluationScratch scratch = evaluator.makeScratch();
        SmartSettingResult result;
        result.searchNumber = c.searchNumber;
        for (int k = 0; k < request.samples; ++k) {
            if (!control.proceed()) {
                outcome.stopped = true;
                return outcome;
            }
            const CandidateStatistics stats = evaluator.evaluate(generator.candidate(std::uint64_t(k)), request.kind, scratch);
            result.best.add(stats);
            result.samples = k + 1;
            if (report && std::chrono::steady_clock::now() >= nextReport) {
                report({c.searchNumber, result.samples, stats});
                nextReport = std::chrono::steady_clock::now() + interval;
            }
        }
        result.thresholds = result.best.applyTo(c.base);
        outcome.results.push_back(result);
        if (report)
            report({c.searchNumber, result.samples, {}});
    }
    return outcome;
}

void SmartSettingRun::start()
{
    startWork([history = history_, request = request_, interval = interval()](
                  RunControl& control, const ProgressHandler& report) {
        return runSmartSetting(*history, request, control, report, interval);
    });
}

}  // namespace qeltaro
