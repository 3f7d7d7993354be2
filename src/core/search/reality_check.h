#pragma once
// The reality check of a search's best formula. The same search (the same candidate stream, as
// many candidates as the run verified, the same thresholds and window) runs again on B copies of
// the history whose scored draws, and the one before them, are shuffled as the control shuffles
// them. On a copy no draw follows from the one before, so its best rate is what luck alone
// reaches with that much searching. The run's best is better than luck when few copies reach it:
//     p = (1 + the copies whose best is at least the real best) / (B + 1).
// The copies are fixed by the run's seed, so a check can be repeated.

#include "common/progress.h"
#include "common/result.h"
#include "domain/history_columns.h"
#include "search/scheme_run.h"
#include "search/search_run.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace qeltaro {

inline constexpr int kDefaultRealityCopies = 19;
inline constexpr int kMaxRealityCopies = 999;

// One category's search as it ran.
struct RealityCheckPart {
    CandidateShape shape;
    std::uint64_t candidateSeed = 0;  // of its candidate stream
    SearchThresholds thresholds{};
    std::uint64_t verified = 0;
    float realBest = 0;
};

struct RealityCheckRequest {
    std::vector<RealityCheckPart> parts;  // categories that verified nothing have none
    SearchWindow window;
    int holdoutPeriods = 0;
    std::uint64_t seed = 0;  // the run's: it fixes the copies
    int copies = kDefaultRealityCopies;
    int threads = 0;
};

struct RealityCheck {
    Category category;
    float realBest = 0;
    std::vector<float> copyBests;  // per copy, in copy order
    int atLeastAsGood = 0;         // copies whose best reaches the real best
    double pValue = 1;

    int copies() const { return int(copyBests.size()); }
    // At the 5% level: with 19 copies, none may reach the real best.
    bool beatsLuck() const { return pValue <= kLevel; }

    static constexpr double kLevel = 0.05;
};

RealityCheckRequest realityCheckOf(const SearchRequest& request, const SearchOutcome& outcome, int copies);
RealityCheckRequest realityCheckOf(const SchemeRequest& request, const SchemeOutcome& outcome, int copies);

// Copy `copy` of a check: the draws from `fromRow` on shuffled among themselves, with a seed
// derived from the run's (other than the control's copies).
HistoryColumns realityCopy(const HistoryColumns& screened, std::uint64_t runSeed, int copy, int fromRow);

// The count and p of a real best against the copies' bests.
RealityCheck judgeReality(const Category& category, float realBest, std::vector<float> copyBests);

// One check per part, in order. Refused when the copies are not 1 to 999 or nothing was
// verified; a cancel ends it with ErrorKind::Cancelled. Uses the request's threads.
Result<std::vector<RealityCheck>> runRealityCheck(const HistoryColumns& history, const RealityCheckRequest& request,
                                                  Progress* progress = nullptr);

// "检验最优公式是否只是运气"
QString realityCheckCaption();
// One plain sentence: whether the best formula is better than the best of luck.
QString realityCheckVerdict(const RealityCheck& check);

}  // namespace qeltaro
