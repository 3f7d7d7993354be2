#pragma once
// The scheme search: categories 直选一星..五星 and 组选二星..五星 in turn, each searched until its
// own target is found (its wanted count, or what is missing of it in the hold mode), each with
// its own thresholds and operand count. A category without a target is passed over without
// evaluating a candidate. Runs on worker threads; the found formulas come back category by
// category, each in candidate order. Saving them at the end is the caller's (found_formula_save.h).

#include "domain/history_columns.h"
#include "domain/kind.h"
#include "search/best_rates.h"
#include "search/candidate_evaluator.h"
#include "search/candidate_generator.h"
#include "search/feeding_run.h"
#include "search/found_feed.h"
#include "search/found_formula.h"
#include "search/scheme_counts.h"
#include "search/shuffled_control.h"

#include <QString>

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace qeltaro {

struct SchemeRequest {
    Kind kind = Kind::Kill;
    WantedCounts wanted;
    CountMode mode = CountMode::Add;
    HeldCounts held{};
    std::array<SearchThresholds, 10> thresholds{};  // per search number at index number - 1
    std::array<int, 10> operandCounts{};
    TailConstant constant;
    FormulaForm form = FormulaForm::Prefix;
    SearchWindow window;
    std::uint64_t seed = 0;
    int threads = 0;
    // At most this many candidates per category; the category then ends without its target.
    std::optional<std::uint64_t> maxCandidatesPerCategory;
    // For a replay: exactly these candidates per category, and no category after stopAfter
    // (0: none at all).
    std::map<int, std::uint64_t> replayCandidates;
    std::optional<int> stopAfter;
    bool shuffledControl = true;  // as for the manual search
    int holdoutPeriods = 0;
};

enum class SchemeCategoryEnd { Skipped, TargetReached, LimitReached, Stopped };

struct SchemeCategoryOutcome {
    int number = 0;  // search number
    SchemeCategoryEnd end = SchemeCategoryEnd::Skipped;
    std::optional<long long> target;
    int operandCount = 0;
    SearchThresholds thresholds{};
    std::uint64_t verified = 0;
    long long found = 0;
    std::uint64_t controlPasses = 0;
    BestRates best;
};

struct SchemeProgress {
    int category = 0;            // search number under way
    std::uint64_t verified = 0;  // all categories
    long long found = 0;         // all categories
    long long categoryFound = 0;
    QString currentText;
    CandidateStatistics currentStats;
    std::uint64_t controlPasses = 0;  // all categories
    BestRates best;                   // the category under way
};

struct SchemeOutcome {
    std::vector<SchemeCategoryOutcome> visited;  // in the order visited
    std::vector<FoundFormula> found;
    bool completed = false;  // every category was visited
    bool stopped = false;
    double seconds = 0;
    int threads = 1;
    std::optional<ShuffledControl> control;  // over all categories
    int holdoutPeriods = 0;

    std::uint64_t verified() const;
    double candidatesPerSecond() const { return seconds > 0 ? double(verified()) / seconds : 0; }
};

// The seed of one category's candidates within a scheme.
std::uint64_t schemeCategorySeed(std::uint64_t seed, int searchNumber);

// With a report, each formula found is also appended to `feed` (when given), as runSearch does.
SchemeOutcome runScheme(const HistoryColumns& history, const SchemeRequest& request, RunControl& control,
                        const std::function<void(const SchemeProgress&)>& report = {},
                        std::chrono::milliseconds interval = std::chrono::milliseconds(200), FoundFeed* feed = nullptr);

class SchemeRun : public FeedingRun<SchemeRequest, SchemeProgress, SchemeOutcome, &runScheme> {
public:
    using FeedingRun::FeedingRun;
};

}  // namespace qeltaro
