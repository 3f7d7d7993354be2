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

QJsonObject predictionSummaryJson(const PredictionSummary& summary, const MoneySummary& money)
{
    return QJsonObject{{QStringLiteral("slots"), summary.tested},
                       {QStringLiteral("successes"), summary.successes},
                       {QStringLiteral("expected"), summary.expected},
                       {QStringLiteral("p_value"), summary.pValue},
                       {QStringLiteral("money"), QJsonObject{{QStringLiteral("cost"), yuanOf(money.cost)},
                                                             {QStringLiteral("payout"), yuanOf(money.payout)},
                                                             {QStringLiteral("net"), yuanOf(money.net())},
                                                             {QStringLiteral("expectedNet"), money.expectedNet()}}}};
}

QJsonObject predictionMoneyJson(const PredictionMoney& money)
{
    return QJsonObject{{QStringLiteral("bets"), qint64(money.bets)},
                       {QStringLiteral("cost"), yuanOf(money.cost)},
                       {QStringLiteral("payout"), yuanOf(money.payout)},
                       {QStringLiteral("net"), yuanOf(money.net())},
                       {QStringLiteral("expectedNet"), money.expectedNet()}};
}

void writePredictionRows(TextOut& out, const std::vector<PredictionRow>& rows)
{
    out.line(QStringLiteral("期号\t种类\t方法\t位置\t保留号码\t开奖号码\t结果\t随机概率\t注数\t成本\t奖金\t盈亏"));
    for (const PredictionRow& row : rows) {
        QStringList fields{row.period, row.kind, row.method, row.position, row.kept, row.drawn,
                           predictionOutcomeWord(row.success), predictionChanceText(row.chance)};
        if (row.money)
            fields << QString::number(row.money->bets) << yuanText(row.money->cost) << yuanText(row.money->payout)
                   << yuanText(row.money->net());
        else
            fields << QString() << QString() << QString() << QString();
        out.line(fields.join(u'\t'));
    }
}

}  // namespace qeltaro::cli
