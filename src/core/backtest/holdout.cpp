#include "backtest/holdout.h"

#include "domain/chance_statistics.h"

#include <algorithm>

namespace qeltaro {

Status checkHoldoutPeriods(int periods, int historyRows)
{
    if (periods < 0)
        return badInput(QStringLiteral("留出期数应为非负整数（如120即一天）"));
    if (periods > 0 && historyRows - periods < 2)
        return badInput(QStringLiteral("留出%1期后只剩%2期历史，无法检验；留出期数须比历史期数（%3期）至少少2期")
                            .arg(periods)
                            .arg(std::max(historyRows - periods, 0))
                            .arg(historyRows));
    return success();
}

HistoryColumns historyBeforeHoldout(const HistoryColumns& history, int periods)
{
    return history.firstRows(history.rowCount() - std::max(periods, 0));
}

HoldoutResult holdoutResult(int hits, int trials, double chance)
{
    HoldoutResult result;
    result.hits = hits;
    result.trials = trials;
    result.chance = chance;
    result.pValue = binomialTwoSidedPValue(hits, trials, chance);
    return result;
}

void judgeHoldout(std::vector<HoldoutResult>& results)
{
    std::vector<double> pValues;
    pValues.reserve(results.size());
    for (const HoldoutResult& r : results)
        pValues.push_back(r.pValue);
    const std::vector<double> adjusted = holmAdjusted(pValues);
    for (size_t i = 0; i < results.size(); ++i)
        results[i].beatsChance = results[i].trials > 0 && results[i].rate() > results[i].chance &&
                                 adjusted[i] < kBeatsChanceLevel;
}

}  // namespace qeltaro
