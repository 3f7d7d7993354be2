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
    // A result without trials is no test, so it takes no share of the correction.
    std::vector<double> pValues;
    std::vector<size_t> tested;
    for (size_t i = 0; i < results.size(); ++i) {
        results[i].beatsChance = false;
        if (results[i].trials > 0) {
            pValues.push_back(results[i].pValue);
            tested.push_back(i);
        }
    }
    const std::vector<double> adjusted = holmAdjusted(pValues);
    for (size_t t = 0; t < tested.size(); ++t) {
        HoldoutResult& r = results[tested[t]];
        r.beatsChance = r.rate() > r.chance && adjusted[t] < kBeatsChanceLevel;
    }
}

}  // namespace qeltaro
