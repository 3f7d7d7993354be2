#pragma once
// What a prediction would have cost and paid, bought as direct bets at a multiple of 1: one bet
// per combination of its kept digits. A direct-play prediction of n positions keeps a set per
// position and buys |K1| × … × |Kn| bets; a group-play one keeps one set K for all n positions
// and buys |K|^n bets (every direct combination of digits of K). Either wins, paying the prize
// of n positions once, when every drawn digit is in its kept set. At chance it wins with
// probability bets / 10^n, so its expected net is cost × (return rate − 1).

#include "domain/category.h"
#include "domain/money.h"
#include "domain/prediction_outcome.h"
#include "domain/prize_table.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace qeltaro {

// The bets bought on the kept sets: one set for group play, one per position for direct play.
// No bets when a set is empty.
std::int64_t betsOf(const Category& category, const std::vector<std::vector<int>>& keptSets);

struct PredictionMoney {
    std::int64_t bets = 0;
    Mills cost = 0;
    Mills payout = 0;
    // At chance, in 厘: a whole number whenever bets × prize divides by 10^n, so that sums of
    // them stay exact.
    double expectedNetMills = 0;

    Mills net() const { return payout - cost; }
    double expectedNet() const { return expectedNetMills / double(kMillsPerYuan); }  // yuan
};

// The money of a judged prediction of `positions` positions.
PredictionMoney priceBets(int positions, std::int64_t bets, bool won, const PrizeTable& prizes);

// The money of a prediction of `category` judged slot by slot (each slot with its `kept` digits
// and its `outcome`): it won when every slot succeeded. None while a slot waits for its draw.
template <typename Slot>
std::optional<PredictionMoney> judgedMoney(const Category& category, const std::vector<Slot>& judged, const PrizeTable& prizes)
{
    if (judged.size() != (category.group ? 1u : size_t(category.positions)))
        return std::nullopt;  // a slot of an unknown table was left out
    std::vector<std::vector<int>> keptSets;
    bool won = true;
    for (const Slot& slot : judged) {
        if (!slot.outcome.success)
            return std::nullopt;
        won = won && *slot.outcome.success;
        keptSets.push_back(slot.kept);
    }
    return priceBets(category.positions, betsOf(category, keptSets), won, prizes);
}

struct MoneySummary {
    int predictions = 0;
    Mills cost = 0;
    Mills payout = 0;
    double expectedNetMills = 0;

    Mills net() const { return payout - cost; }
    double expectedNet() const { return expectedNetMills / double(kMillsPerYuan); }  // yuan
    void add(const PredictionMoney& money);
};

}  // namespace qeltaro
