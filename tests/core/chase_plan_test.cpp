// Chase plans: multiples against hand calculations, the refusals, and the expected values
// against the prize table's return rate and a simulation of many chases.

#include "money/chase_plan.h"

#include <gtest/gtest.h>

#include <random>

using namespace qeltaro;

namespace {

ChasePlanRequest rateRequest(int stars, std::int64_t bets, int periods, std::int64_t rateMillionths)
{
    ChasePlanRequest request;
    request.stars = stars;
    request.bets = bets;
    request.periods = periods;
    request.profitRate = rateMillionths;
    return request;
}

struct Row {
    std::int64_t multiple;
    Mills spent;
    Mills profit;
};

void expectSteps(const ChasePlan& plan, const std::vector<Row>& rows, Mills prizePerMultiple)
{
    ASSERT_EQ(plan.steps.size(), rows.size());
    Mills spent = 0;
    for (size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i + 1);
        const ChaseStep& step = plan.steps[i];
        EXPECT_EQ(step.period, int(i + 1));
        EXPECT_EQ(step.multiple, rows[i].multiple);
        EXPECT_EQ(step.cost, rows[i].spent - spent);
        EXPECT_EQ(step.spent, rows[i].spent);
        EXPECT_EQ(step.prize, rows[i].multiple * prizePerMultiple);
        EXPECT_EQ(step.profit, rows[i].profit);
        spent = rows[i].spent;
    }
}

}  // namespace

TEST(ChasePlan, MultiplesMatchAHandCalculationForBothTargets)
{
    const PrizeTable prizes;
    // 一星, 4 bets (8 yuan a multiple, 10 yuan a win), 10% profit: m × 10 ≥ 1.1 × (S + 8m). At
    // period 3, S = 72 needs m ≥ 79.2 / 1.2 = 66 exactly, where floating point says 66.00000000000004.
    auto plan = planChase(rateRequest(1, 4, 3, 100'000), prizes);
    ASSERT_TRUE(plan) << plan.error().message.toStdString();
    expectSteps(*plan, {{1, 8'000, 2'000}, {8, 72'000, 8'000}, {66, 600'000, 60'000}}, 10'000);

    // 二星, 10 bets (20 yuan a multiple, 100 a win), at least 50 yuan: m × 80 ≥ S + 50.
    ChasePlanRequest byProfit = rateRequest(2, 10, 4, 0);
    byProfit.target = PlanTarget::Profit;
    byProfit.profit = 50'000;
    plan = planChase(byProfit, prizes);
    ASSERT_TRUE(plan);
    expectSteps(*plan, {{1, 20'000, 80'000}, {1, 40'000, 60'000}, {2, 80'000, 120'000}, {2, 120'000, 80'000}}, 100'000);
    // c = 0.1: ruin 0.9^4, expected net 0.1 × (80 + 0.9 × 60 + 0.81 × 120 + 0.729 × 80) − 0.6561 × 120.
    EXPECT_DOUBLE_EQ(plan->chance, 0.1);
    EXPECT_NEAR(plan->ruin, 0.6561, 1e-12);
    EXPECT_NEAR(plan->expectedNet, -49.78, 1e-9);
    EXPECT_NEAR(plan->expectedStake, 99.56, 1e-9);
    EXPECT_NEAR(plan->steps[2].chanceWonByNow, 0.271, 1e-12);
}

TEST(ChasePlan, RefusalsSayWhy)
{
    const PrizeTable prizes;
    ChasePlanRequest noTarget = rateRequest(1, 5, 3, 0);  // 5 bets cost 10 yuan, a win pays 10
    ChasePlanRequest tooMany = rateRequest(2, 101, 3, 0);
    ChasePlanRequest hitRate = rateRequest(1, 1, 3, 0);
    hitRate.hitRate = 1.5;
    ChasePlanRequest noPeriods = rateRequest(1, 1, 0, 0);
    ChasePlanRequest negative = rateRequest(1, 1, 3, -1);
    // 一星 with 4 bets and 10%: the multiples grow by about 7.3 times a period.
    ChasePlanRequest endless = rateRequest(1, 4, 30, 100'000);
    const std::pair<ChasePlanRequest, const char*> cases[] = {
        {noTarget, "任何倍数都达不到目标"}, {tooMany, "1到100"},    {hitRate, "不大于1"},
        {noPeriods, "追号期数"},           {negative, "盈利率"}, {endless, "到第14期投入将超过"},
    };
    for (const auto& [request, said] : cases) {
        auto plan = planChase(request, prizes);
        ASSERT_FALSE(plan) << said;
        EXPECT_TRUE(plan.error().message.contains(QString::fromUtf8(said))) << plan.error().message.toStdString();
    }
    EXPECT_FALSE(parseProfitRate(u"0.1234567"));
    EXPECT_EQ(*parseProfitRate(u"0.15"), 150'000);
    EXPECT_FALSE(parseHitRate(u"15"));  // a fraction, not a percentage
    EXPECT_FALSE(parseProfitTarget(u"0"));
}

// At chance every yuan staked comes back at the table's rate, whatever the multiples.
TEST(ChasePlan, ReturnRateAtChanceIsTheTablesOverManyRandomPlans)
{
    std::mt19937 random(30);
    int made = 0;
    for (int round = 0; round < 300; ++round) {
        PrizeTable prizes;
        prizes.stake = 1 + std::int64_t(random() % 5'000);
        for (int n = 1; n <= 5; ++n)
            prizes.prizes[size_t(n - 1)] = combinationsOf(n) * prizes.stake * (20 + std::int64_t(random() % 100)) / 100;
        const int stars = 1 + int(random() % 3);
        ChasePlanRequest request = rateRequest(stars, 1 + std::int64_t(random() % (combinationsOf(stars) / 4)),
                                               1 + int(random() % 40), std::int64_t(random() % 300'000));
        if (round % 2) {
            request.target = PlanTarget::Profit;
            request.profit = 1 + std::int64_t(random() % 100'000);
        }
        auto plan = planChase(request, prizes);
        if (!plan)
            continue;  // no multiple reaches the target, or the spending passes the limit
        ++made;
        const double tableRate = double(prizes.prize(stars)) / (double(combinationsOf(stars)) * double(prizes.stake));
        EXPECT_NEAR(plan->returnRate, tableRate, 1e-9 * tableRate) << round;
    }
    EXPECT_GT(made, 100);
}

// Many chases played out with a seeded random stream: their ruins and mean net agree with the
// plan's within a few standard errors.
TEST(ChasePlan, ExpectedValuesAgreeWithSimulatedChases)
{
    ChasePlanRequest request = rateRequest(2, 30, 6, 200'000);
    request.hitRate = 0.2;  // as if that rate held
    auto plan = planChase(request, PrizeTable{});
    ASSERT_TRUE(plan);
    std::mt19937_64 random(30);
    std::bernoulli_distribution win(0.2);
    constexpr int kChases = 200'000;
    int ruined = 0;
    double netSum = 0, netSquares = 0;
    for (int chase = 0; chase < kChases; ++chase) {
        double net = -yuanOf(plan->lostOnRuin());
        bool lost = true;
        for (const ChaseStep& step : plan->steps) {
            if (win(random)) {
                net = yuanOf(step.profit);
                lost = false;
                break;
            }
        }
        ruined += lost ? 1 : 0;
        netSum += net;
        netSquares += net * net;
    }
    const double mean = netSum / kChases;
    const double standardError = std::sqrt((netSquares / kChases - mean * mean) / kChases);
    EXPECT_NEAR(mean, plan->expectedNet, 4 * standardError);
    EXPECT_NEAR(double(ruined) / kChases, plan->ruin, 4 * std::sqrt(plan->ruin * (1 - plan->ruin) / kChases));
    EXPECT_NEAR(plan->ruin, std::pow(0.8, 6), 1e-12);
}
