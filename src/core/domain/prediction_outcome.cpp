#include "domain/prediction_outcome.h"

#include "domain/chance_statistics.h"
#include "domain/hit_rule.h"
#include "domain/poisson_binomial.h"

#include <algorithm>
#include <cmath>

namespace qeltaro {

double chanceOfKeeping(int keptCount, int positions)
{
    return std::pow(std::clamp(keptCount, 0, 10) / 10.0, positions);
}

SlotOutcome judgeSlot(const Category& table, const std::vector<int>& kept, const std::optional<Digits>& draw)
{
    const std::vector<int> positions = testedPositions(table);
    SlotOutcome outcome;
    outcome.chance = chanceOfKeeping(int(kept.size()), int(positions.size()));
    outcome.evidence = !kept.empty() && kept.size() < 10;
    if (!draw)
        return outcome;
    bool covered = true;
    for (int p : positions) {
        const int digit = (*draw)[size_t(p - 1)];
        outcome.drawn += QString::number(digit);
        covered = covered && std::find(kept.begin(), kept.end(), digit) != kept.end();
    }
    outcome.success = covered;
    return outcome;
}

bool PredictionSummary::beatsChance() const
{
    return tested > 0 && pValue < kBeatsChanceLevel;
}

PredictionSummary summarizeOutcomes(const std::vector<SlotOutcome>& outcomes)
{
    PredictionSummary summary;
    std::vector<double> chances;
    for (const SlotOutcome& outcome : outcomes) {
        if (!outcome.success) {
            ++summary.waiting;
        } else if (!outcome.evidence) {
            ++summary.withoutEvidence;
        } else {
            ++summary.tested;
            summary.successes += *outcome.success ? 1 : 0;
            chances.push_back(outcome.chance);
        }
    }
    summary.expected = expectedSuccesses(chances);
    summary.pValue = poissonBinomialAtLeast(chances, summary.successes);
    return summary;
}

QString predictionVerdict(const PredictionSummary& summary)
{
    if (summary.tested == 0)
        return QStringLiteral("还没有可检验的预测：需要已开奖、且保留1到9个号码的预测。");
    if (summary.beatsChance())
        return QStringLiteral("成功次数明显高于随机期望：保留的号码可能含有关于下期的信息。");
    return QStringLiteral("成功次数与随机期望相近：保留的号码并不比随机选出的号码更常开出。");
}

}  // namespace qeltaro
