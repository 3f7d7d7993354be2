#pragma once
// Out-of-sample checks: the newest periods are held out, a formula's record is taken on the
// history before them, and it is then scored on the held-out periods, which that record never
// saw. A formula that only fits its history by luck falls back to its chance rate there.

#include "common/result.h"
#include "domain/history_columns.h"

#include <vector>

namespace qeltaro {

inline constexpr int kDefaultHoldoutPeriods = 120;  // one day of draws

struct HoldoutResult {
    int hits = 0;
    int trials = 0;
    double chance = 0;         // the hit rate of a formula that knows nothing, 0..1
    double pValue = 1;         // two-sided binomial against the chance rate
    bool beatsChance = false;  // above chance with a Holm-adjusted p below 0.01 over the list

    double rate() const { return trials > 0 ? double(hits) / double(trials) : 0; }
};

// Refused with a message unless at least two periods stay before the held-out ones.
Status checkHoldoutPeriods(int periods, int historyRows);

// All but the newest `periods` rows.
HistoryColumns historyBeforeHoldout(const HistoryColumns& history, int periods);

// A result from hits in trials at a chance rate (not yet judged against the list).
HoldoutResult holdoutResult(int hits, int trials, double chance);

// Marks the results that beat chance, with Holm's correction over the whole list.
void judgeHoldout(std::vector<HoldoutResult>& results);

}  // namespace qeltaro
