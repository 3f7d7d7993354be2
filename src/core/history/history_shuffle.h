#pragma once
// A control history for judging a search: the same draws in a random order. Each period keeps
// its place and its period columns; the draws move, each keeping the columns of its own digits,
// and the columns that compare a draw with the one before (LX, LY) are computed for the new
// order. Whatever a formula finds on such a history is luck, since no draw follows from the one
// before it.
//
// Only the rows from `fromRow` on are shuffled, among themselves: a search that scores the newest
// periods then sees the same draws in another order, so a formula that merely fits which digits
// came up often in those periods passes on both histories alike.

#include "domain/history_columns.h"

#include <cstdint>
#include <vector>

namespace qeltaro {

// The order of the draws: entry i is the original row whose draw stands at row i. Fisher-Yates
// over the program's own generator, so a seed gives the same order on every platform.
std::vector<int> shuffledOrder(int rows, std::uint64_t seed, int fromRow = 0);

HistoryColumns shuffledHistory(const HistoryColumns& history, std::uint64_t seed, int fromRow = 0);

}  // namespace qeltaro
