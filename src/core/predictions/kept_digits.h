#pragma once
// The digits a calculation keeps for a slot: those the Err value window marks "保留". With kill
// formulas every digit no counted formula named; with keep formulas every digit one named.

#include "aggregate/err_counts.h"
#include "domain/kind.h"

#include <vector>

namespace qeltaro {

// Ascending.
std::vector<int> keptDigits(const ErrCounts& counts, Kind kind);

}  // namespace qeltaro
