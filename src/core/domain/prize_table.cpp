#include "domain/prize_table.h"

#include "domain/category.h"

namespace qeltaro {

double PrizeTable::returnRate(int positions) const
{
    return double(prize(positions)) / (double(combinationsOf(positions)) * double(stake));
}

std::optional<QString> PrizeTable::problem() const
{
    const auto wrong = [](Mills amount) { return amount <= 0 || amount > kLargestAmount; };
    if (wrong(stake))
        return QStringLiteral("每注金额%1元无效：须为正数，最多%2元").arg(yuanText(stake), yuanText(kLargestAmount));
    for (int n = 1; n <= 5; ++n) {
        if (wrong(prize(n)))
            return QStringLiteral("%1直选奖金%2元无效：须为正数，最多%3元").arg(starWord(n), yuanText(prize(n)), yuanText(kLargestAmount));
    }
    return std::nullopt;
}

}  // namespace qeltaro
