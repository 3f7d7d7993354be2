#include "money/chase_plan.h"

#include "domain/category.h"

#include <cmath>

namespace qeltaro {
namespace {

// Products of a multiple and an amount pass 64 bits before the spending limit refuses them.
__extension__ typedef __int128 Wide;

Wide ceilDivide(Wide numerator, Wide denominator)
{
    return numerator <= 0 ? 0 : (numerator + denominator - 1) / denominator;
}

std::optional<QString> requestProblem(const ChasePlanRequest& r)
{
    if (r.stars < 1 || r.stars > 5)
        return QStringLiteral("星数须为1到5，而不是%1").arg(r.stars);
    const std::int64_t combinations = combinationsOf(r.stars);
    if (r.bets < 1 || r.bets > combinations)
        return QStringLiteral("%1直选每期注数须为1到%2，而不是%3").arg(starWord(r.stars)).arg(combinations).arg(r.bets);
    if (r.periods < 1 || r.periods > ChasePlanRequest::kMaxPeriods)
        return QStringLiteral("追号期数须为1到%1，而不是%2").arg(ChasePlanRequest::kMaxPeriods).arg(r.periods);
    if (r.target == PlanTarget::ProfitRate && (r.profitRate < 0 || r.profitRate > ChasePlanRequest::kMaxProfitRate))
        return QStringLiteral("盈利率须为0到%1之间的小数，而不是%2")
            .arg(ChasePlanRequest::kMaxProfitRate / ChasePlanRequest::kRateScale)
            .arg(double(r.profitRate) / double(ChasePlanRequest::kRateScale));
    if (r.target == PlanTarget::Profit && (r.profit <= 0 || r.profit > ChasePlanRequest::kMaxSpending))
        return QStringLiteral("盈利金额须为正数，最多%1元，而不是%2元").arg(yuanText(ChasePlanRequest::kMaxSpending), yuanText(r.profit));
    if (r.hitRate && !(*r.hitRate > 0 && *r.hitRate <= 1))
        return QStringLiteral("命中率须大于0、不大于1（如0.15表示15%），而不是%1").arg(*r.hitRate);
    return std::nullopt;
}

}  // namespace

Result<ChasePlan> planChase(const ChasePlanRequest& request, const PrizeTable& prizes)
{
    if (auto problem = requestProblem(request))
        return badInput(*problem);
    if (auto problem = prizes.problem())
        return badInput(*problem);
    const Wide perMultiple = Wide(request.bets) * prizes.stake;  // C
    const Wide prize = prizes.prize(request.stars);              // P
    const Wide rateScale = ChasePlanRequest::kRateScale;
    const Wide rateFactor = rateScale + request.profitRate;      // (1 + R) in millionths
    // A multiple m wins m × (P − C(1 + R)) over (1 + R) × the earlier spending S with the rate
    // target, m × (P − C) over S + F with the profit target; it must reach the rest.
    const bool byRate = request.target == PlanTarget::ProfitRate;
    const Wide gainPerMultiple = byRate ? prize * rateScale - perMultiple * rateFactor : prize - perMultiple;
    if (gainPerMultiple <= 0) {
        const QString needed = byRate ? QStringLiteral("每倍投入%1元的(1+%2)倍")
                                            .arg(yuanText(Mills(perMultiple)))
                                            .arg(double(request.profitRate) / double(rateScale))
                                      : QStringLiteral("每倍投入%1元").arg(yuanText(Mills(perMultiple)));
        return badInput(QStringLiteral("一倍的奖金%1元不超过%2，任何倍数都达不到目标").arg(yuanText(Mills(prize)), needed));
    }

    ChasePlan plan;
    plan.request = request;
    plan.prizes = prizes;
    plan.chance = request.hitRate ? *request.hitRate : double(request.bets) / double(combinationsOf(request.stars));
    const double logMiss = std::log1p(-plan.chance);
    Wide spent = 0;
    long double expectedNet = 0, expectedStake = 0, stillChasing = 1;
    for (int period = 1; period <= request.periods; ++period) {
        const Wide wanted = byRate ? spent * rateFactor : spent + request.profit;
        const Wide multiple = std::max<Wide>(1, ceilDivide(wanted, gainPerMultiple));
        const Wide cost = multiple * perMultiple;
        if (spent + cost > ChasePlanRequest::kMaxSpending)
            return badInput(QStringLiteral("到第%1期投入将超过%2元，计划无法执行").arg(period).arg(yuanText(ChasePlanRequest::kMaxSpending)));
        spent += cost;
        ChaseStep step;
        step.period = period;
        step.multiple = std::int64_t(multiple);
        step.cost = Mills(cost);
        step.spent = Mills(spent);
        step.prize = Mills(multiple * prize);
        step.profit = step.prize - step.spent;
        step.chanceWonByNow = -std::expm1(period * logMiss);
        // This period is played when every earlier one lost.
        expectedStake += stillChasing * yuanOf(step.cost);
        expectedNet += stillChasing * plan.chance * yuanOf(step.profit);
        stillChasing *= 1 - plan.chance;
        plan.steps.push_back(step);
    }
    plan.ruin = double(stillChasing);
    expectedNet -= stillChasing * yuanOf(plan.lostOnRuin());
    plan.expectedNet = double(expectedNet);
    plan.expectedStake = double(expectedStake);
    plan.returnRate = double(1 + expectedNet / expectedStake);
    return plan;
}

QString chancePercentText(double fraction)
{
    return QString::number(fraction * 100.0, 'g', 4) + u'%';
}

QStringList chaseStepHeaders()
{
    return {QStringLiteral("期"), QStringLiteral("倍数"), QStringLiteral("本期投入"), QStringLiteral("累计投入"),
            QStringLiteral("中奖奖金"), QStringLiteral("中奖盈利"), QStringLiteral("到本期已中机会")};
}

QStringList chaseStepTexts(const ChaseStep& step)
{
    return {QString::number(step.period), QString::number(step.multiple), yuanText(step.cost), yuanText(step.spent),
            yuanText(step.prize), yuanText(step.profit), chancePercentText(step.chanceWonByNow)};
}

Result<std::int64_t> parseProfitRate(QStringView text)
{
    auto rate = parseScaledDecimal(text, 6, QStringLiteral("盈利率"));
    if (!rate)
        return rate.error();
    if (*rate < 0 || *rate > ChasePlanRequest::kMaxProfitRate)
        return badInput(QStringLiteral("盈利率须为0到%1之间的小数（0.1表示10%），而不是%2")
                            .arg(ChasePlanRequest::kMaxProfitRate / ChasePlanRequest::kRateScale)
                            .arg(text.trimmed().toString()));
    return *rate;
}

Result<Mills> parseProfitTarget(QStringView text)
{
    return parsePositiveYuan(text, QStringLiteral("盈利金额"), ChasePlanRequest::kMaxSpending);
}

Result<double> parseHitRate(QStringView text)
{
    bool ok = false;
    const double rate = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(rate))
        return badInput(QStringLiteral("命中率“%1”不是数字").arg(text.trimmed().toString()));
    if (!(rate > 0 && rate <= 1))
        return badInput(QStringLiteral("命中率须大于0、不大于1（是小数，如0.15表示15%），而不是%1").arg(text.trimmed().toString()));
    return rate;
}

QStringList chasePlanWords(const ChasePlan& plan)
{
    const ChasePlanRequest& r = plan.request;
    const double chanceAtRandom = double(r.bets) / double(combinationsOf(r.stars));
    const QString chanceAtRandomText =
        QStringLiteral("%1注/%2种组合 = %3").arg(r.bets).arg(combinationsOf(r.stars)).arg(chancePercentText(chanceAtRandom));
    const QString tableRate = chancePercentText(plan.prizes.returnRate(r.stars));
    QStringList words;
    if (r.hitRate) {
        words << QStringLiteral("每期中奖机会假定为%1（如果这个命中率成立；号码随机开出时是%2）。")
                     .arg(chancePercentText(plan.chance), chanceAtRandomText);
        words << QStringLiteral("如果这个命中率成立，计划的返奖率为%1；号码随机开出时，无论各期倍数怎样安排，"
                                "返奖率都是奖金表的%2直选返奖率%3，倍投改变不了这一点。")
                     .arg(chancePercentText(plan.returnRate), starWord(r.stars), tableRate);
    } else {
        words << QStringLiteral("每期中奖机会：%1。").arg(chanceAtRandomText);
        words << QStringLiteral("号码随机开出时，计划投入的每1元平均返还%1元：无论各期倍数怎样安排，返奖率都是奖金表的"
                                "%2直选返奖率%3，倍投改变不了这一点。")
                     .arg(yuanText(plan.returnRate), starWord(r.stars), tableRate);
    }
    words << QStringLiteral("连续%1期都不中的机会为%2：那时全部投入%3元输光。")
                 .arg(r.periods)
                 .arg(chancePercentText(plan.ruin), yuanText(plan.lostOnRuin()));
    words << QStringLiteral("期望盈亏%1元，期望投入%2元%3。")
                 .arg(yuanText(plan.expectedNet), yuanText(plan.expectedStake),
                      r.hitRate ? QStringLiteral("（按假定的命中率）") : QString());
    return words;
}

}  // namespace qeltaro
