#pragma once
// The prize table a player's game pays by: the stake of one bet and the prize of one winning
// direct bet on 1 to 5 positions. The official games pay back half of what is staked at chance:
// a bet of 2 yuan on n positions wins 1 time in 10^n and pays 10^n yuan.

#include "domain/money.h"

#include <QString>

#include <array>
#include <optional>

namespace qeltaro {

struct PrizeTable {
    // No stake or prize above a billion yuan: every sum of a plan then stays exact in 厘.
    static constexpr Mills kLargestAmount = Mills(1'000'000'000) * kMillsPerYuan;

    Mills stake = 2 * kMillsPerYuan;
    std::array<Mills, 5> prizes = {10 * kMillsPerYuan, 100 * kMillsPerYuan, 1'000 * kMillsPerYuan,
                                   10'000 * kMillsPerYuan, 100'000 * kMillsPerYuan};

    // The prize of one winning bet on `positions` (1..5) positions.
    Mills prize(int positions) const { return prizes[size_t(positions - 1)]; }
    // What comes back of every yuan staked at chance: prize / (10^n × stake).
    double returnRate(int positions) const;

    // Why the table cannot be used (a stake or prize not positive or above the largest amount);
    // nullopt when it can.
    std::optional<QString> problem() const;

    friend bool operator==(const PrizeTable&, const PrizeTable&) = default;
};

// 10^n.
constexpr std::int64_t combinationsOf(int positions)
{
    std::int64_t count = 1;
    for (int i = 0; i < positions; ++i)
        count *= 10;
    return count;
}

}  // namespace qeltaro
