#pragma once
// The Err count record: per digit 0-9 how many formulas named it in total (ETrrcount), as kill
// formulas (Errcount) and as keep formulas (Trrcount). The category calculation fills one
// record per slot for the Err value windows; the history replay fills one per period.

#include "common/result.h"

#include <array>

namespace qeltaro {

class Store;

struct ErrCount {
    int ETrrcount = 0;  // total, the 杀留Err值
    int Errcount = 0;   // from kill formulas, the 杀码Err值
    int Trrcount = 0;   // from keep formulas, the 留码Err值

    friend bool operator==(const ErrCount&, const ErrCount&) = default;
};

// Indexed by the digit (num).
using ErrCounts = std::array<ErrCount, 10>;

inline bool isCountableDigit(int digit) { return digit >= 0 && digit <= 9; }

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

// Errarr: the tallies of the last period the history replay processed, one row per digit,
// edited in place (a missing digit row is added back). One transaction.
Status storeReplayTallies(Store& store, const ErrCounts& counts);
// ErrarrLei: the counts of the slot an Err value window shows last, emptied and refilled with
// the ten rows. One transaction.
Status storeShownCounts(Store& store, const ErrCounts& counts);

// Reads back either table (digits without a row read as zero counts).
enum class ErrCountTable { Errarr, ErrarrLei };
Result<ErrCounts> readErrCounts(Store& store, ErrCountTable table);

}  // namespace qeltaro
