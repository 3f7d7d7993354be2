#pragma once
// The control beside every search: the same candidates screened on a shuffled copy of the
// history (history_shuffle.h). On a shuffled history no draw follows from the one before, so
// whatever passes there passes by luck. When the real history does not pass clearly more often,
// the formulas found carry no information about the next draw, and the user is told so.

#include "history/history_columns.h"

#include <QString>

#include <cstdint>

namespace qeltaro {

struct ShuffledControl {
    std::uint64_t verified = 0;
    std::uint64_t realPasses = 0;
    std::uint64_t shuffledPasses = 0;
    // One-sided: how likely the real history would pass at least this much more often than the
    // shuffled one if both passed at the same rate. Conditional on the passes of both, the real
    // share is then binomial with p = 1/2 (both screened the same candidates).
    double pValue = 1;

    double realRate() const { return verified ? double(realPasses) / double(verified) : 0; }
    double shuffledRate() const { return verified ? double(shuffledPasses) / double(verified) : 0; }
    // The real history passes significantly more often (at the 1% level).
    bool informative() const { return pValue < kInformativeLevel; }

    static constexpr double kInformativeLevel = 0.01;
};

ShuffledControl compareWithShuffled(std::uint64_t verified, std::uint64_t realPasses, std::uint64_t shuffledPasses);

// The control history of a run: the draws from `fromRow` on (those the run scores, and the one
// before them) shuffled among themselves with a seed derived from the run's.
HistoryColumns controlHistory(const HistoryColumns& history, std::uint64_t runSeed, int fromRow);

// "真实历史通过率" and "打乱历史通过率" as the window and the command line show them.
QString realPassRateLabel();
QString shuffledPassRateLabel();
QString passRateText(double rate);  // e.g. "0.0312%"
// One plain sentence on what the two rates mean; empty while nothing has passed on either.
QString shuffledControlVerdict(const ShuffledControl& control);

}  // namespace qeltaro
