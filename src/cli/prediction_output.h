#pragma once
// How the prediction commands (journal, walkforward) print a judged slot and a summary.

#include "domain/prediction_outcome.h"

#include <QJsonObject>
#include <QString>

#include <vector>

namespace qeltaro::cli {

// {"slot":3,"kept":[0,2,5],"drawn":"7","success":false,"chance":0.3}; drawn and success are
// null while the draw has not come.
QJsonObject slotOutcomeJson(int slot, const std::vector<int>& kept, const SlotOutcome& outcome);
// {"slots":N,"successes":S,"expected":E,"p_value":P}
QJsonObject predictionSummaryJson(const PredictionSummary& summary);

QString predictionSummaryText(const PredictionSummary& summary);
QString outcomeWord(const SlotOutcome& outcome);  // 对, 错 or 待开奖
QString chanceText(double chance);                // "30.00%"
QString keptDigitsText(const std::vector<int>& kept);  // "0 2 5"

}  // namespace qeltaro::cli
