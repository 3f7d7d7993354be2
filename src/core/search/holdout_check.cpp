#include "search/holdout_check.h"

#include "backtest/chance_statistics.h"
#include "search/candidate_evaluator.h"

namespace qeltaro {

HoldoutResult scoreOnHoldout(const HistoryColumns& history, int periods, const Category& category, bool kill,
                             const Candidate& candidate)
{
    const CandidateEvaluator evaluator = CandidateEvaluator::newestRows(history, category, periods);
    EvaluationScratch scratch = evaluator.makeScratch();
    const CandidateStatistics stats = evaluator.evaluate(candidate, kill, scratch);
    return holdoutResult(int(stats.hitSum), stats.scoredRows, chanceHitRate(category, kill));
}

}  // namespace qeltaro
