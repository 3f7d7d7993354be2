#pragma once
// The search numbers categories 1..10: 1-5 直选一星..五星, 6-10 组选一星..五星. Number 6 (组选一星)
// has no formula table and is never searched, so the searchable numbers are 1-5 and 7-10.

#include "domain/category.h"
#include "domain/kind.h"

#include <QString>

#include <array>
#include <optional>

namespace qeltaro {

inline constexpr int kSearchCategoryCount = 10;

inline int searchNumberOf(const Category& category)
{
    return category.positions + (category.group ? 5 : 0);
}

// nullopt for 6 and for numbers outside 1..10.
inline std::optional<Category> categoryOfSearchNumber(int number)
{
    if (number < 1 || number > kSearchCategoryCount || number == 6)
        return std::nullopt;
    return Category{(number - 1) % 5 + 1, number > 5};
}

// The order a scheme visits them: 1..5, then 7..10.
inline const std::array<int, 9>& schemeOrder()
{
    static const std::array<int, 9> order = {1, 2, 3, 4, 5, 7, 8, 9, 10};
    return order;
}

inline QString killWord(Kind kind)
{
    return isKill(kind) ? QStringLiteral("杀") : QStringLiteral("生");
}

}  // namespace qeltaro
