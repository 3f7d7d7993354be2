#pragma once
// The out-of-sample check of a search (backtest/holdout.h): the search screens on the history
// before the held-out periods, and each formula found is then scored on them.

#include "backtest/holdout.h"
#include "formula/category.h"
#include "search/candidate_generator.h"

namespace qeltaro {

// One candidate on the newest `periods` rows of the full history, unweighted.
HoldoutResult scoreOnHoldout(const HistoryColumns& history, int periods, const Category& category, bool kill,
                             const Candidate& candidate);

}  // namespace qeltaro
