#pragma once
// The scheme's counts: the wanted count per category, how many formulas each category's table
// holds, the two count modes, and the expected total shown beside them ("公式总保有量").

#include "common/result.h"
#include "search/scheme_settings.h"

#include <array>
#include <optional>

namespace qeltaro {

class Store;

enum class CountMode {
    Hold,  // "公式保有数量": the wanted count is what the table should hold
    Add,   // "公式新增数量": the wanted count is how many new formulas to find
};

// Rows of each category's table (both kinds), per search number at index number - 1; 0 for 6.
using HeldCounts = std::array<long long, 10>;

// Every category's row count, as the window shows beside the wanted counts.
Result<HeldCounts> heldFormulaCounts(Store& store);
// The recount at the start of a scheme: a category without a wanted count counts 0.
Result<HeldCounts> heldFormulaCounts(Store& store, const WantedCounts& wanted);

// How many formulas the scheme should find for a category; nullopt when it is skipped (no
// wanted count, or nothing left to find). A wanted count of 0 or less finds nothing in either
// mode.
std::optional<long long> schemeTarget(const WantedCounts& wanted, const HeldCounts& held, CountMode mode,
                                      int searchNumber);

// The expected total: the wanted counts (add mode) or what is missing of them (hold mode), plus
// the formulas held when the found ones are to be appended at the end.
long long expectedTotal(const WantedCounts& wanted, const HeldCounts& held, CountMode mode, bool appendAtEnd);

}  // namespace qeltaro
