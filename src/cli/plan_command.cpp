// qeltaro-cli plan: a chase plan's multiples with its chance of ruin and expected result.

#include "cli_context.h"

#include "money/chase_plan.h"
#include "money/prize_settings.h"

#include <QJsonArray>
#include <QJsonObject>

#include <optional>

namespace qeltaro::cli {
namespace {

// The rates and amounts stay text until read, so a wrong one is refused in the program's words.
struct PlanOptions {
    int stars = 0;
    long long bets = 0;
    int periods = 0;
    std::optional<std::string> profitRateText;
    std::optional<std::string> profitText;
    std::optional<std::string> hitRateText;
    ChasePlanRequest request;

    void bind(CLI::App* command)
    {
        command->add_option("--stars", stars, "positions of the direct bets, 1-5")->required();
        command->add_option("--bets", bets, "bets bought each period, 1 to 10^stars")->required();
        command->add_option("--periods", periods, "periods the chase lasts at most")->required();
        command->add_option("--profit-rate", profitRateText, "a win leaves at least this fraction of the spending as profit (0.1 = 10%)");
        command->add_option("--profit", profitText, "a win leaves at least this many yuan of profit");
        command->add_option("--hit-rate", hitRateText, "a chance per period to assume instead of bets / 10^stars, a fraction (0.15)");
    }
    std::optional<QString> missing() const
    {
        if (profitRateText.has_value() == profitText.has_value())
            return QStringLiteral("请给出--profit-rate或--profit中的一个");
        return std::nullopt;
    }
    Status read()
    {
        request.stars = stars;
        request.bets = bets;
        request.periods = periods;
        if (profitRateText) {
            auto rate = parseProfitRate(fromStd(*profitRateText));
            if (!rate)
                return rate.error();
            request.target = PlanTarget::ProfitRate;
            request.profitRate = *rate;
        } else {
            auto profit = parseProfitTarget(fromStd(*profitText));
            if (!profit)
                return profit.error();
            request.target = PlanTarget::Profit;
            request.profit = *profit;
        }
        if (hitRateText) {
            auto hitRate = parseHitRate(fromStd(*hitRateText));
            if (!hitRate)
                return hitRate.error();
            request.hitRate = *hitRate;
        }
        return success();
    }
};

class PlanReport : public Report {
public:
    explicit PlanReport(ChasePlan plan) : plan_(std::move(plan)) {}

    void writeText(TextOut& out) const override
    {
        out.line(chaseStepHeaders().join(u'\t'));
        for (const ChaseStep& s : plan_.steps)
            out.line(chaseStepTexts(s).join(u'\t'));
        out.lines(chasePlanWords(plan_));
    }

    void writeJson(JsonOut& out) const override
    {
        out.beginObject();
        out.member(QStringLiteral("chance"), plan_.chance);
        out.member(QStringLiteral("expectedNet"), plan_.expectedNet);
        out.member(QStringLiteral("expectedStake"), plan_.expectedStake);
        out.member(QStringLiteral("returnRate"), plan_.returnRate);
        out.member(QStringLiteral("ruin"), plan_.ruin);
        out.key(QStringLiteral("steps")).beginArray();
        for (const ChaseStep& s : plan_.steps) {
            out.value(QJsonObject{{QStringLiteral("period"), s.period},
                                  {QStringLiteral("multiple"), qint64(s.multiple)},
                                  {QStringLiteral("cost"), yuanOf(s.cost)},
                                  {QStringLiteral("spent"), yuanOf(s.spent)},
                                  {QStringLiteral("prize"), yuanOf(s.prize)},
                                  {QStringLiteral("profit"), yuanOf(s.profit)},
                                  {QStringLiteral("chanceWonByNow"), s.chanceWonByNow}});
        }
        out.endArray();
        out.endObject();
    }

private:
    ChasePlan plan_;
};

Outcome planCommand(Context&, Store& store, const PlanOptions& o)
{
    auto prizes = loadPrizeTable(store);
    if (!prizes)
        return prizes.error();
    auto plan = planChase(o.request, *prizes);
    if (!plan)
        return plan.error();
    return makeReport<PlanReport>(std::move(*plan));
}

}  // namespace

void addPlanCommand(CLI::App& app, Context& context)
{
    addStoreCommand(app.add_subcommand("plan", "a chase plan's multiples, its chance of ruin and its expected result (倍投计划)"),
                    context, planCommand);
}

}  // namespace qeltaro::cli
