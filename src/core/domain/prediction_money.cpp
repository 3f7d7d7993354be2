#include "domain/prediction_money.h"

namespace qeltaro {

std::int64_t betsOf(const Category& category, const std::vector<std::vector<int>>& keptSets)
{
    std::int64_t bets = 1;
    if (category.group) {
        const std::int64_t kept = keptSets.empty() ? 0 : std::int64_t(keptSets.front().size());
        for (int i = 0; i < category.positions; ++i)
            bets *= kept;
        return bets;
    }
    for (const std::vector<int>& kept : keptSets)
        bets *= std::int64_t(kept.size());
    return keptSets.empty() ? 0 : bets;
}

PredictionMoney priceBets(int positions, std::int64_t bets, bool won, const PrizeTable& prizes)
{
    PredictionMoney money;
    money.bets = bets;
    money.cost = bets * prizes.stake;
    money.payout = won && bets > 0 ? prizes.prize(positions) : 0;
    // bets / 10^n of the prize comes back on average; bets × prize stays below 2^63.
    money.expectedNetMills =
        double((long double)(bets * prizes.prize(positions)) / combinationsOf(positions) - money.cost);
    return money;
}

void MoneySummary::add(const PredictionMoney& money)
{
    ++predictions;
    cost += money.cost;
    payout += money.payout;
    expectedNetMills += money.expectedNetMills;
}

}  // namespace qeltaro
