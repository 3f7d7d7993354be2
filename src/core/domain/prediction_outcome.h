#pragma once
// How a prediction for one slot fared against the draw that came. A calculation keeps some
// digits for each slot it fills; the slot succeeds when every drawn digit at the slot's tested
// positions is among them: the one position of a direct-play slot, the last n positions of a
// group-play slot. If the draws are fair and independent, a slot keeping k digits over n
// positions succeeds with chance (k/10)^n.

#include "domain/category.h"
#include "domain/draw_record.h"

#include <QString>

#include <optional>
#include <vector>

namespace qeltaro {

struct SlotOutcome {
    double chance = 0;            // of success if the draws are fair and independent
    bool evidence = false;        // kept between one and nine digits: a slot keeping all ten (or
                                  // none) cannot fail (or succeed) and says nothing
    QString drawn;                // the drawn digits at the tested positions; empty while waiting
    std::optional<bool> success;  // none while the draw has not come
};

// `kept`: the kept digits 0..9 of a slot filled from the formula table `table`; `draw`: the draw
// of the predicted period, none while it has not come.
SlotOutcome judgeSlot(const Category& table, const std::vector<int>& kept, const std::optional<Digits>& draw);

// (k/10)^n for k kept digits over n tested positions.
double chanceOfKeeping(int keptCount, int positions);

struct PredictionSummary {
    int tested = 0;           // slots with a draw that are evidence
    int successes = 0;        // of those
    double expected = 0;      // the sum of their chances
    double pValue = 1;        // P(at least `successes`) by chance, exact
    int withoutEvidence = 0;  // slots with a draw that kept all ten digits or none
    int waiting = 0;          // slots whose draw has not come

    bool beatsChance() const;
};

PredictionSummary summarizeOutcomes(const std::vector<SlotOutcome>& outcomes);

// One plain sentence on the summary, in the manner of the search's checks against luck.
QString predictionVerdict(const PredictionSummary& summary);

}  // namespace qeltaro
