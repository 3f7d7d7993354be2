// What a prediction's bets cost and pay: the bets and wins of hand-made kept sets, and the
// counts checked against every draw of the tested positions.

#include "domain/prediction_money.h"

#include <gtest/gtest.h>

#include <random>

using namespace qeltaro;

namespace {

struct Judged {
    std::vector<int> kept;
    SlotOutcome outcome;
};

// Slots judged against the drawn digits of their positions, in slot order: for direct play the
// digit of each slot's position, for group play the n digits of the one slot.
std::vector<Judged> judge(const Category& category, const std::vector<std::vector<int>>& keptSets, const std::vector<int>& drawn)
{
    std::vector<Judged> judged;
    const auto in = [](const std::vector<int>& kept, int digit) { return std::find(kept.begin(), kept.end(), digit) != kept.end(); };
    for (size_t s = 0; s < keptSets.size(); ++s) {
        bool covered = true;
        if (category.group) {
            for (int digit : drawn)
                covered = covered && in(keptSets[s], digit);
        } else {
            covered = in(keptSets[s], drawn[s]);
        }
        judged.push_back({keptSets[s], SlotOutcome{0, true, QString(), covered}});
    }
    return judged;
}

}  // namespace

TEST(PredictionMoney, BetsAndWinsOfHandMadeKeptSets)
{
    const PrizeTable prizes;  // 2 yuan a bet; 10, 100, 1000 ... per winning bet
    struct Case {
        const char* name;
        Category category;
        std::vector<std::vector<int>> kept;
        std::vector<int> drawn;  // in slot order
        std::int64_t bets;
        Mills payout;
    };
    const Case cases[] = {
        {"2D, 8 x 9 kept, 十位 killed", {2, false}, {{0, 1, 2, 3, 5, 6, 7, 8}, {0, 1, 2, 3, 4, 5, 6, 8, 9}}, {6, 7}, 72, 0},
        {"2D, both kept", {2, false}, {{0, 1, 2, 3, 5, 6, 7, 8}, {0, 1, 2, 3, 4, 5, 6, 8, 9}}, {6, 8}, 72, 100'000},
        {"3G, 4 kept cubed", {3, true}, {{1, 4, 6, 8}}, {6, 1, 6}, 64, 1'000'000},
        {"3G, one digit not kept", {3, true}, {{1, 4, 6, 8}}, {6, 1, 2}, 64, 0},
        {"1D, nothing kept", {1, false}, {{}}, {5}, 0, 0},
        {"3D, an empty middle set", {3, false}, {{1, 2}, {}, {3}}, {1, 0, 3}, 0, 0},
        {"5G, all ten kept", {5, true}, {{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}}, {0, 1, 2, 3, 4}, 100'000, 100'000'000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(betsOf(c.category, c.kept), c.bets);
        const auto money = judgedMoney(c.category, judge(c.category, c.kept, c.drawn), prizes);
        ASSERT_TRUE(money);
        EXPECT_EQ(money->cost, c.bets * 2'000);
        EXPECT_EQ(money->payout, c.payout);
        EXPECT_EQ(money->net(), c.payout - c.bets * 2'000);
        // Half of the cost comes back at chance with the official table.
        EXPECT_DOUBLE_EQ(money->expectedNet(), -yuanOf(money->cost) / 2);
    }
    // A slot waiting for its draw: no money yet.
    std::vector<Judged> waiting = judge({2, false}, {{1}, {2}}, {1, 2});
    waiting[1].outcome.success.reset();
    EXPECT_FALSE(judgedMoney(Category{2, false}, waiting, prizes));
}

// The bets are the direct combinations that would win: enumerating every draw of the tested
// positions finds as many winning draws as bets, each paying the prize once.
TEST(PredictionMoney, BetsEqualTheWinningDrawsOfEveryCombination)
{
    std::mt19937 random(30);
    PrizeTable prizes;
    prizes.stake = 500;            // 0.5 yuan
    prizes.prizes[2] = 1'700'000;  // 1700 yuan for three positions
    for (int round = 0; round < 40; ++round) {
        const Category category{3, round % 2 == 1};
        std::vector<std::vector<int>> kept(category.group ? 1 : 3);
        for (std::vector<int>& set : kept) {
            for (int d = 0; d < 10; ++d) {
                if (random() % 2)
                    set.push_back(d);
            }
        }
        std::int64_t wins = 0;
        for (int draw = 0; draw < 1000; ++draw) {
            const std::vector<int> drawn = {draw / 100, draw / 10 % 10, draw % 10};
            const auto money = judgedMoney(category, judge(category, kept, drawn), prizes);
            ASSERT_TRUE(money);
            wins += money->payout > 0 ? 1 : 0;
            EXPECT_EQ(money->payout, money->payout > 0 ? 1'700'000 : 0);
        }
        EXPECT_EQ(betsOf(category, kept), wins);
        const PredictionMoney money = priceBets(3, wins, false, prizes);
        EXPECT_NEAR(money.expectedNet(), 1700.0 * double(wins) / 1000.0 - 0.5 * double(wins), 1e-9);
    }
}
