#include "prediction_output.h"

#include <QJsonArray>

namespace qeltaro::cli {

QJsonObject slotOutcomeJson(int slot, const std::vector<int>& kept, const SlotOutcome& outcome)
{
    QJsonArray digits;
    for (int digit : kept)
        digits.append(digit);
    return QJsonObject{{QStringLiteral("slot"), slot},
                       {QStringLiteral("kept"), digits},
                       {QStringLiteral("drawn"), outcome.success ? QJsonValue(outcome.drawn) : QJsonValue()},
                       {QStringLiteral("success"), outcome.success ? QJsonValue(*outcome.success) : QJsonValue()},
                       {QStringLiteral("chance"), outcome.chance}};
}

QJsonObject predictionSummaryJson(const PredictionSummary& summary)
{
    return QJsonObject{{QStringLiteral("slots"), summary.tested},
                       {QStringLiteral("successes"), summary.successes},
                       {QStringLiteral("expected"), summary.expected},
                       {QStringLiteral("p_value"), summary.pValue}};
}

void writePredictionRows(TextOut& out, const std::vector<PredictionRow>& rows)
{
    out.line(QStringLiteral("期号\t种类\t方法\t位置\t保留号码\t开奖号码\t结果\t随机概率"));
    for (const PredictionRow& row : rows) {
        out.line(QStringList{row.period, row.kind, row.method, row.position, row.kept, row.drawn,
                                  predictionOutcomeWord(row.success), predictionChanceText(row.chance)}
                          .join(u'\t'));
    }
}

}  // namespace qeltaro::cli
