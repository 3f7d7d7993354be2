#pragma once
// The Err counts (domain/err_count.h) as the aggregation uses them: the category calculation
// fills one record per slot for the Err value windows; the history replay fills one per period
// and keeps them in the Err tables (store/err_table.h).

#include "common/result.h"
#include "domain/err_count.h"
#include "store/err_table.h"

#include <array>

namespace qeltaro {

// Keep formulas count into the kill column while they are walked; their counts belong in the
// keep column.
void moveKillCountsToKeep(ErrCounts& counts);

// The digits from the least to the most counted total. Equal totals are ordered by digit, so
// the order never depends on how a table happened to be stored.
std::array<int, 10> digitsByTotalAscending(const ErrCounts& counts);

// Slot 0 holds group play (the current category's table), slots 1..5 the direct-play tables
// of one to five positions. A calculation resets and fills only the slots it processes.
inline constexpr int kCountSlots = 6;

class NextPeriodCounts {
public:
    const ErrCounts& slot(int slot) const { return slots_[size_t(slot)]; }
    void set(int slot, const ErrCounts& counts) { slots_[size_t(slot)] = counts; }

private:
    std::array<ErrCounts, kCountSlots> slots_{};
};

}  // namespace qeltaro
