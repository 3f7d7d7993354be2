#include "search/scheme_counts.h"

#include "search/search_category.h"
#include "store/formula_table.h"
#include "store/store.h"

namespace qeltaro {

Result<HeldCounts> heldFormulaCounts(Store& store)
{
    WantedCounts all;
    all.fill(0);
    return heldFormulaCounts(store, all);
}

Result<HeldCounts> heldFormulaCounts(Store& store, const WantedCounts& wanted)
{
    HeldCounts held{};
    for (int number : schemeOrder()) {
        if (!wanted[size_t(number - 1)])
            continue;
        auto count = FormulaTable(store, *categoryOfSearchNumber(number)).count();
        if (!count)
            return count.error();
        held[size_t(number - 1)] = *count;
    }
    return held;
}

std::optional<long long> schemeTarget(const WantedCounts& wanted, const HeldCounts& held, CountMode mode,
                                      int searchNumber)
{
    const auto& count = wanted[size_t(searchNumber - 1)];
    if (!count || !categoryOfSearchNumber(searchNumber))
        return std::nullopt;
    const long long target = mode == CountMode::Add ? *count : *count - held[size_t(searchNumber - 1)];
    if (target <= 0)
        return std::nullopt;
    return target;
}

long long expectedTotal(const WantedCounts& wanted, const HeldCounts& held, CountMode mode, bool appendAtEnd)
{
    long long total = 0;
    long long totalHeld = 0;
    for (int number : schemeOrder()) {
        const size_t i = size_t(number - 1);
        totalHeld += held[i];
        const long long want = wanted[i].value_or(0);
        if (mode == CountMode::Add)
            total += want;
        else if (want > held[i])
            total += want - held[i];
    }
    return appendAtEnd ? total + totalHeld : total;
}

}  // namespace qeltaro
