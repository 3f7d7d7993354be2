#include "prediction_output.h"

#include <QJsonArray>
#include <QStringList>

namespace qeltaro::cli {
namespace {

QJsonArray keptJson(const std::vector<int>& kept)
{
    QJsonArray digits;
    for (int digit : kept)
        digits.append(digit);
    return digits;
}

}  // namespace

QJsonObject slotOutcomeJson(int slot, const std::vector<int>& kept, const SlotOutcome& outcome)
{
    return QJsonObject{{QStringLiteral("slot"), slot},
                       {QStringLiteral("kept"), keptJson(kept)},
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

QString predictionSummaryText(const PredictionSummary& summary)
{
    QString text = QStringLiteral("可检验%1个：成功%2次，随机期望%3次，p值%4")
                       .arg(summary.tested)
                       .arg(summary.successes)
                       .arg(summary.expected, 0, 'f', 2)
                       .arg(summary.pValue, 0, 'g', 4);
    if (summary.withoutEvidence > 0)
        text += QStringLiteral("；保留全部或零个号码的%1个不计").arg(summary.withoutEvidence);
    if (summary.waiting > 0)
        text += QStringLiteral("；待开奖%1个").arg(summary.waiting);
    return text;
}

QString outcomeWord(const SlotOutcome& outcome)
{
    if (!outcome.success)
        return QStringLiteral("待开奖");
    return *outcome.success ? QStringLiteral("对") : QStringLiteral("错");
}

QString chanceText(double chance)
{
    return QStringLiteral("%1%").arg(chance * 100.0, 0, 'f', 2);
}

QString keptDigitsText(const std::vector<int>& kept)
{
    QStringList digits;
    for (int digit : kept)
        digits << QString::number(digit);
    return digits.join(u' ');
}

}  // namespace qeltaro::cli
