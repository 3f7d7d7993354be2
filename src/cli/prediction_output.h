#pragma once
// How the prediction commands (journal, walkforward) print judged slots: JSON for programs, and
// the rows the journal window shows as tab-separated text.

#include "cli_context.h"

#include "domain/prediction_outcome.h"
#include "export/journal_sheet.h"

#include <QJsonArray>
#include <QJsonObject>

#include <vector>

namespace qeltaro::cli {

// {"slot":3,"kept":[0,2,5],"drawn":"7","success":false,"chance":0.3}; drawn and success are
// null while the draw has not come.
QJsonObject slotOutcomeJson(int slot, const std::vector<int>& kept, const SlotOutcome& outcome);
// {"slots":N,"successes":S,"expected":E,"p_value":P,"money":{…}}
QJsonObject predictionSummaryJson(const PredictionSummary& summary, const MoneySummary& money);
// {"bets":B,"cost":C,"payout":P,"net":N,"expectedNet":E}, amounts in yuan
QJsonObject predictionMoneyJson(const PredictionMoney& money);

// {"slot",...} of each slot, as an array.
template <typename Slot>
QJsonArray slotOutcomesJson(const std::vector<Slot>& judged)
{
    QJsonArray array;
    for (const Slot& slot : judged)
        array.append(slotOutcomeJson(slot.slot, slot.kept, slot.outcome));
    return array;
}

// A header (期号, 种类, 方法, 位置, 保留号码, 开奖号码, 结果, 随机概率, 注数, 成本, 奖金, 盈亏) and one
// line per row; the money fields are empty on all but a judged prediction's first row.
void writePredictionRows(TextOut& out, const std::vector<PredictionRow>& rows);

}  // namespace qeltaro::cli
