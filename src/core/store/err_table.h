#pragma once
// Reads and writes of the Err tables: Errarr and ErrarrLei, one row per digit (num).

#include "common/result.h"
#include "domain/err_count.h"

namespace qeltaro {

class Store;

// Errarr: the tallies of the last period the history replay processed, one row per digit,
// edited in place (a missing digit row is added back). One transaction.
Status storeReplayTallies(Store& store, const ErrCounts& counts);
// ErrarrLei: the counts of the slot an Err value window shows last, emptied and refilled with
// the ten rows. One transaction.
Status storeShownCounts(Store& store, const ErrCounts& counts);

// Reads back either table (digits without a row read as zero counts).
enum class ErrCountTable { ReplayTallies, ShownCounts };  // Errarr, ErrarrLei
Result<ErrCounts> readErrCounts(Store& store, ErrCountTable table);

}  // namespace qeltaro
