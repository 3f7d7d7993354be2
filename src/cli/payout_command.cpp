// qeltaro-cli payout show | set: the prize table of the data folder.

#include "cli_context.h"

#include "domain/category.h"
#include "money/prize_settings.h"

#include <QJsonArray>
#include <QJsonObject>

#include <optional>

namespace qeltaro::cli {
namespace {

Outcome tableAnswer(const PrizeTable& table)
{
    QStringList lines{QStringLiteral("每注金额：%1元").arg(yuanText(table.stake))};
    QJsonArray prizes, rates;
    for (int n = 1; n <= 5; ++n) {
        lines << QStringLiteral("%1直选奖金：%2元（返奖率%3%）")
                     .arg(starWord(n), yuanText(table.prize(n)), QString::number(table.returnRate(n) * 100.0, 'g', 6));
        prizes.append(yuanOf(table.prize(n)));
        rates.append(table.returnRate(n));
    }
    return answer(lines, QJsonObject{{QStringLiteral("stake"), yuanOf(table.stake)},
                                     {QStringLiteral("prizes"), prizes},
                                     {QStringLiteral("returnRates"), rates}});
}

Outcome show(Context&, Store& store, const NoOptions&)
{
    auto table = loadPrizeTable(store);
    if (!table)
        return table.error();
    return tableAnswer(*table);
}

// Amounts stay text here: the core refuses what is no positive number with its own words.
struct SetOptions {
    std::optional<std::string> stake;
    std::optional<int> stars;
    std::optional<std::string> prize;

    void bind(CLI::App* command)
    {
        command->add_option("--stake", stake, "yuan staked on one bet (default 2)");
        command->add_option("--stars", stars, "the positions 1-5 whose direct-play prize --prize sets");
        command->add_option("--prize", prize, "yuan paid for one winning direct bet on --stars positions");
    }
    std::optional<QString> missing() const
    {
        if (stars.has_value() != prize.has_value())
            return QStringLiteral("--stars和--prize须一起给出");
        if (!stake && !stars)
            return QStringLiteral("请给出--stake，或--stars和--prize");
        return std::nullopt;
    }
};

Outcome set(Context&, Store& store, const SetOptions& o)
{
    PrizeChange change;
    if (o.stake)
        change.stake = fromStd(*o.stake);
    change.stars = o.stars;
    if (o.prize)
        change.prize = fromStd(*o.prize);
    auto table = changePrizeTable(store, change);
    if (!table)
        return table.error();
    return tableAnswer(*table);
}

}  // namespace

void addPayoutCommands(CLI::App& app, Context& context)
{
    addCommandGroup(app, context, "payout", "the prize table money is valued with (奖金设置)",
                    {{"show", "print the stake per bet, the direct-play prizes and their return rates", show},
                     {"set", "change the stake or one prize", set}});
}

}  // namespace qeltaro::cli
