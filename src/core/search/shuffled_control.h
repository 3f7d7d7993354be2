#pragma once
// The control beside every search: the same candidates screened on shuffled copies of the
// history (history_shuffle.h). On a shuffled history no draw follows from the one before, so
// whatever passes there passes by luck. When the real history does not pass clearly more often,
// the formulas found carry no information about the next draw, and the user is told so.
//
// Several copies, because the pass rate of one history swings far more than the count of
// candidates suggests: candidates share their columns, so they pass or fail together on a given
// history. Candidate k goes to copy k mod kControlCopies; the spread of the copies' rates is
// the yardstick for the real rate (a one-sided prediction-interval t-test).

#include "domain/history_columns.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace qeltaro {

inline constexpr int kControlCopies = 10;

struct ShuffledControl {
    std::uint64_t verified = 0;
    std::uint64_t realPasses = 0;
    std::uint64_t shuffledPasses = 0;  // over all copies
    std::vector<std::uint64_t> verifiedByCopy;
    std::vector<std::uint64_t> passesByCopy;
    // How likely the real history would pass at least this much more often than the copies if
    // the order of the draws meant nothing.
    double pValue = 1;

    double realRate() const { return verified ? double(realPasses) / double(verified) : 0; }
    double shuffledRate() const { return verified ? double(shuffledPasses) / double(verified) : 0; }
    // The real history passes significantly more often (at the 1% level).
    bool informative() const { return pValue < kInformativeLevel; }

    static constexpr double kInformativeLevel = 0.01;
};

// How many of the first `verified` candidates went to copy `copy` of `copies`.
std::uint64_t copyShare(std::uint64_t verified, size_t copy, size_t copies);

// From the passes of each copy, the candidates dealt round the copies in order.
ShuffledControl compareWithShuffled(std::uint64_t verified, std::uint64_t realPasses,
                                    const std::vector<std::uint64_t>& passesByCopy);
// The same with each copy's count of candidates given (a scheme adds up several searches).
ShuffledControl compareWithShuffled(std::uint64_t realPasses, const std::vector<std::uint64_t>& verifiedByCopy,
                                    const std::vector<std::uint64_t>& passesByCopy);

// Copy `copy` of the control history of a run: the draws from `fromRow` on (those the run
// scores, and the one before them) shuffled among themselves with a seed derived from the run's.
HistoryColumns controlHistory(const HistoryColumns& history, std::uint64_t runSeed, int copy, int fromRow);

// "真实历史通过率" and "打乱历史通过率" as the window and the command line show them.
QString realPassRateLabel();
QString shuffledPassRateLabel();
QString passRateText(double rate);  // e.g. "0.0312%"
// One plain sentence on what the two rates mean; empty while nothing has passed on either.
QString shuffledControlVerdict(const ShuffledControl& control);

}  // namespace qeltaro
