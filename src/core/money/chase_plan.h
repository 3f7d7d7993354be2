#pragma once
// A chase plan (倍投计划): the same bets bought period after period until they win, each period
// at the smallest whole multiple whose win would leave the wanted profit over everything spent
// so far. The plan states what the tables of chase multiples leave out: the chance of losing
// the whole chase, and its expected result. At chance no choice of multiples changes the
// return rate: every yuan staked at any period comes back at the prize table's rate.

#include "common/result.h"
#include "domain/money.h"
#include "domain/prize_table.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstdint>
#include <optional>
#include <vector>

namespace qeltaro {

enum class PlanTarget {
    ProfitRate,  // a win leaves at least R × the spending as profit
    Profit,      // a win leaves at least F yuan of profit
};

struct ChasePlanRequest {
    static constexpr int kMaxPeriods = 100'000;
    static constexpr std::int64_t kRateScale = 1'000'000;  // R is kept in millionths
    static constexpr std::int64_t kMaxProfitRate = 1'000 * kRateScale;
    // A plan may spend up to 10^12 yuan.
    static constexpr Mills kMaxSpending = Mills(1'000'000'000'000) * kMillsPerYuan;

    int stars = 1;            // N, the positions of the direct bets
    std::int64_t bets = 1;    // B, bought each period
    int periods = 1;          // K
    PlanTarget target = PlanTarget::ProfitRate;
    std::int64_t profitRate = 0;  // R in millionths, with the rate target
    Mills profit = 0;             // F, with the profit target
    std::optional<double> hitRate;  // H, a chance per period assumed instead of B / 10^N
};

struct ChaseStep {
    int period = 0;
    std::int64_t multiple = 0;
    Mills cost = 0;    // multiple × bets × stake
    Mills spent = 0;   // the costs of periods 1 .. period
    Mills prize = 0;   // multiple × the prize of N positions
    Mills profit = 0;  // prize − spent: the result of a win at this period
    double chanceWonByNow = 0;
};

struct ChasePlan {
    ChasePlanRequest request;
    PrizeTable prizes;
    std::vector<ChaseStep> steps;
    double chance = 0;  // of a win in one period: H, or B / 10^N
    double ruin = 0;    // of no win in all K periods, which loses the whole spending
    double expectedNet = 0;    // yuan
    double expectedStake = 0;  // yuan
    double returnRate = 0;     // 1 + expected net / expected stake

    Mills lostOnRuin() const { return steps.empty() ? 0 : steps.back().spent; }
};

// The plan, or why it cannot be made: B outside 1..10^N, K outside 1..kMaxPeriods, R outside
// 0..1000, F not positive, H outside (0, 1], a target no multiple reaches, or spending that
// would pass 10^12 yuan (named by its period).
Result<ChasePlan> planChase(const ChasePlanRequest& request, const PrizeTable& prizes);

// The options as typed: R a fraction (0.1 for ten per cent) taken to six places, F in yuan,
// H a fraction of 1.
Result<std::int64_t> parseProfitRate(QStringView text);
Result<Mills> parseProfitTarget(QStringView text);
Result<double> parseHitRate(QStringView text);

// A chance as a percentage to four significant digits: "0.01%", "65.13%".
QString chancePercentText(double fraction);

// The plan as a table: 期, 倍数, 本期投入, 累计投入, 中奖奖金, 中奖盈利, 到本期已中机会; amounts in
// yuan.
QStringList chaseStepHeaders();
QStringList chaseStepTexts(const ChaseStep& step);

// What the numbers mean, in sentences: the chance per period, the return rate the prize table
// fixes, the chance of losing the whole chase and how much that is, the expected result.
QStringList chasePlanWords(const ChasePlan& plan);

}  // namespace qeltaro
