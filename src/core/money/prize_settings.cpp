#include "money/prize_settings.h"

#include "domain/category.h"
#include "store/prize_table_row.h"
#include "store/store.h"

namespace qeltaro {

Result<PrizeTable> loadPrizeTable(Store& store)
{
    return readStorePrizeTable(store.database());
}

namespace {

Result<Mills> parseStake(const QString& text)
{
    return parsePositiveYuan(text, QStringLiteral("每注金额"), PrizeTable::kLargestAmount);
}

Result<Mills> parsePrize(int stars, const QString& text)
{
    return parsePositiveYuan(text, starWord(stars) + QStringLiteral("直选奖金"), PrizeTable::kLargestAmount);
}

}  // namespace

Result<PrizeTable> changePrizeTable(Store& store, const PrizeChange& change)
{
    auto table = loadPrizeTable(store);
    if (!table)
        return table.error();
    PrizeTable changed = *table;
    if (change.stake) {
        auto stake = parseStake(*change.stake);
        if (!stake)
            return stake.error();
        changed.stake = *stake;
    }
    if (change.stars || change.prize) {
        if (!change.stars || !change.prize)
            return badInput(QStringLiteral("星数和奖金须一起给出"));
        if (*change.stars < 1 || *change.stars > 5)
            return badInput(QStringLiteral("星数须为1到5，而不是%1").arg(*change.stars));
        auto prize = parsePrize(*change.stars, *change.prize);
        if (!prize)
            return prize.error();
        changed.prizes[size_t(*change.stars - 1)] = *prize;
    }
    if (Status saved = savePrizeTable(store, changed); !saved)
        return saved.error();
    return changed;
}

Status savePrizeTable(Store& store, const PrizeTable& table)
{
    if (auto problem = table.problem())
        return badInput(*problem);
    return writeStorePrizeTable(store.database(), table);
}

}  // namespace qeltaro

namespace qeltaro {

Result<PrizeTable> prizeTableOfTexts(const QString& stake, const std::array<QString, 5>& prizes)
{
    PrizeTable table;
    auto parsedStake = parseStake(stake);
    if (!parsedStake)
        return parsedStake.error();
    table.stake = *parsedStake;
    for (int n = 1; n <= 5; ++n) {
        auto prize = parsePrize(n, prizes[size_t(n - 1)]);
        if (!prize)
            return prize.error();
        table.prizes[size_t(n - 1)] = *prize;
    }
    return table;
}

}  // namespace qeltaro
